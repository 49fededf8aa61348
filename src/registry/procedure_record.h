// What the registry keeps of one received dose report: who and what it is, its evaluation per
// plane and per event, and its skin-dose map, in plain values ready to be stored.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "procedure_texts.h"
#include "report_evaluation.h"
#include "skin_dose_map.h"

namespace ordevo::registry {

struct PlaneRecord {
    std::string Plane;  // "single", "A", "B"
    std::string Equipment;
    double ReferenceAirKermaMGy = 0;
    double KermaAreaProductGyCm2 = 0;
    double SkinDoseSumMGy = 0;
    std::optional<double> SkinDoseSumExpandedMGy;  // the sum's expanded uncertainty
    int Evaluated = 0, Skipped = 0, Failed = 0;
};

struct EventRecord {
    std::string Uid;  // Irradiation Event UID: an event is counted once across reports
    std::string Plane, Type, DateTime;
    std::optional<double> ReferenceAirKermaMGy, KermaAreaProductGyCm2, TubeVoltageKv;
    std::optional<double> SkinDoseMGy;  // evaluated events only
    std::string Status, Note;
};

struct MapRecord {
    double PsdMGy = 0;
    std::string PsdRegion;  // "" when no dose was mapped
    std::optional<double> PsdFromTopCm, PsdAngleDeg;
    std::string Phantom;
    double CellCm = 1;
    int Rows = 0, Columns = 0;
    std::vector<double> CellDoseMGy;  // row by row
    std::string Lying;  // "HFS", "FFP" …: how every placed event lay; "" when not reported
};

struct ProcedureRecord {
    std::string SopInstanceUid;  // the report's identity: registered once
    std::string StudyInstanceUid;
    std::string PatientId, PatientName, PatientBirthDate;  // as the report gives them
    std::string StudyDate;
    std::string Manufacturer, Model;
    std::string Source;            // the spooled file
    std::string CallingAe;         // who sent it; "" when not received over the network
    std::optional<double> PsdMGy;  // from the map; none without one
    std::optional<double> PsdLowMGy, PsdHighMGy;
    double UpperBoundMGy = 0;  // every event on one spot: the map's, else the largest plane sum
    // The map's placed share of the Ka,r (0–1) and its unplaced events' whole skin dose, none
    // without a map (or registered before they were kept); unbounded: some dose could not be
    // computed, so no bound holds it. Without any placed dose the PSD has no interval.
    std::optional<double> MappedKarShare, UnplacedBoundMGy;
    bool UnplacedUnbounded = false;
    std::vector<PlaneRecord> Planes;
    std::vector<EventRecord> Events;
    std::optional<MapRecord> Map;
    std::vector<std::string> Notes;
    rdsr::ProcedureTexts Texts;  // what the procedure was called, its room and facility
};

// The record of an evaluated report; `map` may be null when no map could be computed. The PSD's
// interval is the PSD ± the map's expanded uncertainty of it; where the map has no budget, the
// PSD moved by the largest relative expanded uncertainty of the plane sums.
ProcedureRecord MakeProcedureRecord(const std::string& sopInstanceUid,
                                    const std::string& studyInstanceUid,
                                    const rdsr::DoseReport& report,
                                    const rdsr::ReportEvaluation& evaluation,
                                    const map::SkinDoseMap* map);

}  // namespace ordevo::registry
