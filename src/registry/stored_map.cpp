#include "stored_map.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ordevo::registry {

namespace {

// Ramanujan's second approximation of an ellipse's perimeter: relative error below 1e-9 at the
// torso's 2:1, far below the half cell that the column count rounds to.
double EllipsePerimeterCm(double a, double b) {
    const double h = (a - b) * (a - b) / ((a + b) * (a + b));
    return std::numbers::pi * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h)));
}

}  // namespace

std::optional<map::PatientModel> ModelOfGrid(const std::string& phantom, double cellCm, int rows,
                                             int columns) {
    if (!(cellCm > 0) || rows < 1 || columns < 1 || rows > 10000 || columns > 10000)
        return std::nullopt;
    const bool torso = phantom == map::PhantomName(map::PhantomKind::Torso);
    if (!torso && phantom != map::PhantomName(map::PhantomKind::Plane)) return std::nullopt;
    map::TorsoShape shape;
    shape.LengthCm = rows * cellCm;
    if (torso) {
        const double scale =
            columns * cellCm / EllipsePerimeterCm(shape.HalfWidthCm, shape.HalfThicknessCm);
        shape.HalfWidthCm *= scale;
        shape.HalfThicknessCm *= scale;
    }
    map::PatientModel model = map::MakePatientModel(
        torso ? map::PhantomKind::Torso : map::PhantomKind::Plane, shape, cellCm);
    if (model.Rows != rows || model.Columns != columns) return std::nullopt;
    return model;
}

std::optional<map::SkinDoseMap> SkinDoseMapOf(const MapRecord& record) {
    auto model = ModelOfGrid(record.Phantom, record.CellCm, record.Rows, record.Columns);
    if (!model || record.CellDoseMGy.size() != model->Cells.size()) return std::nullopt;
    map::SkinDoseMap m;
    m.Model = std::move(*model);
    m.DoseMGy = record.CellDoseMGy;
    const auto peak = std::max_element(m.DoseMGy.begin(), m.DoseMGy.end());
    if (peak != m.DoseMGy.end() && *peak > 0) {
        m.PsdCell = static_cast<std::size_t>(peak - m.DoseMGy.begin());
        m.PsdMGy = *peak;
    }
    return m;
}

}  // namespace ordevo::registry
