// Where each event's beam stands in the patient frame: the focus, the central axis and the
// collimated field, placed from the report's angles and table positions through the room
// profile; rotational runs split into steps of at most 1°.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "dose_report.h"
#include "patient_model.h"
#include "room_profile.h"

namespace ordevo::map {

struct Vec3 {
    double x = 0, y = 0, z = 0;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    double Dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 Cross(const Vec3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    double Length() const { return std::sqrt(Dot(*this)); }
};

// The distances and field of one event as its dose case has them, cm.
struct EventDistances {
    double SourceToIsocentreCm = 0;
    double SourceToDetectorCm = 0;
    double ReferenceDistanceCm = 0;  // d_ref
    double FieldSizeCm = 0;          // square side at d_ref, from P_KA/Ka,r
};

// One direction of the beam and its share of the event's Ka,r.
struct BeamStep {
    Vec3 Focus;
    Vec3 Axis;  // unit, from the focus towards the detector
    Vec3 U, V;  // unit, across the field: U along its width, V along its height
    double HalfWidthAtReferenceCm = 0, HalfHeightAtReferenceCm = 0;
    double Share = 1.0;
};

struct EventPlacement {
    std::vector<BeamStep> Steps;  // empty: not mapped, Refusal says why
    std::string Refusal;
    bool Prone = false;              // the table lies in front of the patient
    std::vector<std::string> Notes;  // what was assumed
};

// How the patient lay and where the model sits, for all events of a report.
struct PlacementSetup {
    RoomProfile Profile;
    TorsoShape Shape;
    double LandmarkCm = 20.0;  // the first event's isocentre, from the top of the trunk
};

// Places every event of the report (distances[i] for report.Events[i]; nullopt: no dose case,
// not placed). Report-wide assumptions go to `notes`.
std::vector<EventPlacement> PlaceEvents(const rdsr::DoseReport& report,
                                        const std::vector<std::optional<EventDistances>>& distances,
                                        const PlacementSetup& setup,
                                        std::vector<std::string>& notes);

// The upper surface of the table top and the mattress's top in the patient frame, by the side
// the table lies on: z of the table plane, and the sign of the table's side (−1: behind).
struct TableSlab {
    double NearZ = 0;  // the mattress's surface against the patient
    double FarZ = 0;   // the table top's far surface
    double HalfWidthCm = 0;
    double Thickness() const { return std::abs(FarZ - NearZ); }
};
TableSlab TableSlabOf(const PlacementSetup& setup, bool prone);

// Length of the segment from → to inside the slab (|x| ≤ half width, z between its faces).
double PathThroughSlab(const TableSlab& slab, const Vec3& from, const Vec3& to);

}  // namespace ordevo::map
