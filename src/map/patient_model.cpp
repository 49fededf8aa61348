#include "patient_model.h"

#include <cmath>
#include <algorithm>
#include <numbers>

namespace ordevo::map {
namespace {

constexpr double kReferenceWeightKg = 70.0;
constexpr double kPlaneWidthCm = 60.0;
constexpr double kChestShareOfTrunk = 0.45;
constexpr int kPerimeterSteps = 3600;  // fine enough for arc lengths to 1e-4 of the perimeter

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

}  // namespace

const char* PhantomName(PhantomKind kind) { return kind == PhantomKind::Torso ? "torso" : "plane"; }

TorsoShape ScaleTorso(std::optional<double> heightCm, std::optional<double> weightKg,
                      std::vector<std::string>& notes) {
    TorsoShape shape;
    if (!heightCm) notes.push_back("身長の記載がなく標準体格 (170 cm) の胴体を使用");
    if (!weightKg) notes.push_back("体重の記載がなく標準体格 (70 kg) の胴体を使用");
    const double height = heightCm.value_or(kReferenceHeightCm);
    const double weight = weightKg.value_or(kReferenceWeightKg);
    const double lengthScale = height / kReferenceHeightCm;
    const double crossScale = std::sqrt((weight / kReferenceWeightKg) / lengthScale);
    shape.LengthCm *= lengthScale;
    shape.HalfWidthCm *= crossScale;
    shape.HalfThicknessCm *= crossScale;
    return shape;
}

PatientModel MakePatientModel(PhantomKind kind, const TorsoShape& shape, double cellCm) {
    PatientModel m;
    m.Kind = kind;
    m.Shape = shape;
    m.CellCm = cellCm;
    m.Rows = std::max(1, static_cast<int>(std::ceil(shape.LengthCm / cellCm - 1e-9)));
    const double a = shape.HalfWidthCm, b = shape.HalfThicknessCm;
    if (kind == PhantomKind::Plane) {
        m.Columns = static_cast<int>(std::lround(kPlaneWidthCm / cellCm));
        m.MiddleColumn = m.Columns / 2;
        for (int row = 0; row < m.Rows; ++row)
            for (int column = 0; column < m.Columns; ++column) {
                SkinCell c;
                // A cell centre lies on x = 0, so a beam's centre can hit one exactly.
                c.X = (column - m.MiddleColumn) * cellCm;
                c.Y = (row + 0.5) * cellCm;
                c.Z = -b;
                c.Nz = -1.0;
                c.AreaCm2 = cellCm * cellCm;
                c.FromTopCm = c.Y;
                m.Cells.push_back(c);
            }
        return m;
    }
    // Arc length along the ellipse x = a sin φ, z = −b cos φ from the back's midline (φ = 0).
    std::vector<double> arc(kPerimeterSteps + 1, 0.0);
    const double dPhi = 2.0 * std::numbers::pi / kPerimeterSteps;
    for (int i = 1; i <= kPerimeterSteps; ++i) {
        const double phi = (i - 0.5) * dPhi;
        arc[i] = arc[i - 1] + std::hypot(a * std::cos(phi), b * std::sin(phi)) * dPhi;
    }
    const double perimeter = arc[kPerimeterSteps];
    m.Columns = std::max(4, 2 * static_cast<int>(std::lround(perimeter / cellCm / 2.0)));
    m.MiddleColumn = m.Columns / 2;
    const double width = perimeter / m.Columns;
    std::vector<SkinCell> ring(m.Columns);
    for (int column = 0; column < m.Columns; ++column) {
        // Column MiddleColumn is centred on the back's midline; columns to its right go left.
        double s = (column - m.MiddleColumn) * width;
        if (s < 0) s += perimeter;
        int i = 0;
        while (i < kPerimeterSteps && arc[i + 1] < s) ++i;
        const double phi = (i + (s - arc[i]) / (arc[i + 1] - arc[i])) * dPhi;
        SkinCell& c = ring[column];
        c.X = a * std::sin(phi);
        c.Z = -b * std::cos(phi);
        const double nx = c.X / (a * a), nz = c.Z / (b * b), n = std::hypot(nx, nz);
        c.Nx = nx / n;
        c.Nz = nz / n;
        c.AreaCm2 = width * cellCm;
        c.AngleDeg = Degrees(std::atan2(c.X, -c.Z));
    }
    for (int row = 0; row < m.Rows; ++row)
        for (int column = 0; column < m.Columns; ++column) {
            SkinCell c = ring[column];
            c.Y = (row + 0.5) * cellCm;
            c.FromTopCm = c.Y;
            m.Cells.push_back(c);
        }
    return m;
}

std::string RegionName(const PatientModel& model, const SkinCell& cell) {
    if (model.Kind == PhantomKind::Plane) return "背部";
    const double angle = cell.AngleDeg;
    if (std::abs(angle) <= 45.0) return "背部";
    if (angle > 45.0 && angle < 135.0) return "左側";
    if (angle < -45.0 && angle > -135.0) return "右側";
    return cell.FromTopCm < kChestShareOfTrunk * model.Shape.LengthCm ? "胸部" : "腹部";
}

}  // namespace ordevo::map
