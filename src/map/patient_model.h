// The patient as the skin-dose map sees it: an elliptic cylinder of soft tissue (the trunk)
// lying on the mattress, or a flat phantom (a plane where the back would lie) for comparisons
// with film; its skin divided into cells.
//
// Patient frame, cm: x towards the patient's left, y from the top of the trunk towards the
// feet, z towards the front (anterior); the trunk's axis is x = z = 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ordevo::map {

enum class PhantomKind : int { Torso, Plane };
const char* PhantomName(PhantomKind kind);  // "torso", "plane"

// ICRP Publication 23's Reference Man, whose trunk a missing height or weight keeps.
inline constexpr double kReferenceHeightCm = 170.0;

struct TorsoShape {
    double HalfWidthCm = 20.0;      // lateral semi-axis
    double HalfThicknessCm = 10.0;  // antero-posterior semi-axis
    double LengthCm = 70.0;
};

// The adult trunk of the MIRD phantom (Snyder et al., MIRD Pamphlet 5, 1969; Cristy and
// Eckerman, ORNL/TM-8381, 1987): semi-axes 20 and 10 cm, 70 cm long, for ICRP Publication 23's
// Reference Man (170 cm, 70 kg). Scaled: the length with the height, both semi-axes with
// √((weight/70 kg)/(height/170 cm)), so the trunk's mass follows the weight at fixed density.
// A missing value keeps the reference's and says so in `notes`.
TorsoShape ScaleTorso(std::optional<double> heightCm, std::optional<double> weightKg,
                      std::vector<std::string>& notes);

struct SkinCell {
    double X = 0, Y = 0, Z = 0;     // centre on the skin
    double Nx = 0, Ny = 0, Nz = 0;  // outward normal
    double AreaCm2 = 0;
    double AngleDeg = 0;   // around the trunk from the back's midline, + towards the left
    double FromTopCm = 0;  // from the top of the trunk
};

struct PatientModel {
    PhantomKind Kind = PhantomKind::Torso;
    TorsoShape Shape;
    double CellCm = 1.0;
    int Columns = 0, Rows = 0;    // cells around (or across) and along; row-major
    std::vector<SkinCell> Cells;  // Cells[row * Columns + column]
    // Column of the back's midline (torso) or of x = 0 (plane); the picture centres on it.
    int MiddleColumn = 0;
};

// Cells of about `cellCm` × `cellCm`: around the trunk in equal arcs with the back's midline
// in the middle, along it from the top. The plane lies at z = −HalfThicknessCm, 60 cm wide.
PatientModel MakePatientModel(PhantomKind kind, const TorsoShape& shape, double cellCm);

// The region of a cell's place in Japanese: 背部, 右側, 左側, 胸部 or 腹部 (the front's upper
// 45 % is the chest).
std::string RegionName(const PatientModel& model, const SkinCell& cell);

}  // namespace ordevo::map
