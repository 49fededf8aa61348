#include "map_drawing.h"

#include <algorithm>
#include <cmath>

#include "number_format.h"

namespace ordevo::map {
namespace {

constexpr int kScaleSteps = 64;  // colours of the scale; cells take the nearest
const QColor kUnreached(225, 225, 225);
const QColor kContourColours[] = {QColor(255, 255, 255), QColor(255, 0, 255), QColor(0, 0, 0)};
const QColor kOutline(0, 160, 0);

QString Mgy(double value) { return QString::fromStdString(FormatNumber(value, "0")); }

// The colour of a dose, in steps, so that neighbouring cells of one colour merge into one box.
QColor CellColour(double dose, double top) {
    if (!(dose > 0)) return kUnreached;
    const double step = std::round(std::clamp(dose / top, 0.0, 1.0) * (kScaleSteps - 1));
    return ScaleColour(step / (kScaleSteps - 1));
}

}  // namespace

QColor ScaleColour(double f) {
    f = std::clamp(f, 0.0, 1.0);
    const double r = std::clamp(1.5 - std::abs(4.0 * f - 3.0), 0.0, 1.0);
    const double g = std::clamp(1.5 - std::abs(4.0 * f - 2.0), 0.0, 1.0);
    const double b = std::clamp(1.5 - std::abs(4.0 * f - 1.0), 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
}

std::optional<std::size_t> MapLayout::CellAt(double x, double y) const {
    if (CellWidth <= 0 || CellHeight <= 0) return std::nullopt;
    const double column = std::floor((x - Left) / CellWidth);
    const double row = std::floor((y - Top) / CellHeight);
    if (column < 0 || row < 0 || column >= Columns || row >= Rows) return std::nullopt;
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(Columns) +
           static_cast<std::size_t>(column);
}

MapLayout LayoutMap(const PatientModel& model, const QRectF& area, double textHeight) {
    MapLayout l;
    l.Columns = std::max(model.Columns, 1);
    l.Rows = std::max(model.Rows, 1);
    // Room for: the head label above, the region labels below, the scale and its numbers right.
    const double scaleRoom = 9.0 * textHeight;
    const double width = std::max(area.width() - scaleRoom, 1.0);
    const double height = std::max(area.height() - 3.5 * textHeight, 1.0);
    const double cell = std::min(width / l.Columns, height / l.Rows);
    l.CellWidth = l.CellHeight = cell;
    l.Left = area.left();
    l.Top = area.top() + 1.5 * textHeight;
    l.ScaleWidth = 1.5 * textHeight;
    l.ScaleLeft = l.Right() + 1.5 * textHeight;
    return l;
}

void DrawSkinDoseMapOn(ui::Surface& s, const SkinDoseMap& map, const MapLayout& l,
                       const std::vector<std::size_t>& outline) {
    const PatientModel& m = map.Model;
    if (m.Columns <= 0 || m.Rows <= 0 || map.DoseMGy.size() != m.Cells.size()) return;
    const double top = std::max(map.PsdMGy, 1.0);
    auto dose = [&](int row, int column) {
        return map.DoseMGy[static_cast<std::size_t>(row * m.Columns + column)];
    };
    auto x = [&](int column) { return l.Left + column * l.CellWidth; };
    auto y = [&](int row) { return l.Top + row * l.CellHeight; };

    // Cells, a run of equal colours as one box.
    for (int row = 0; row < m.Rows; ++row) {
        int start = 0;
        QColor colour = CellColour(dose(row, 0), top);
        for (int column = 1; column <= m.Columns; ++column) {
            const QColor next = column < m.Columns ? CellColour(dose(row, column), top) : QColor();
            if (next == colour) continue;
            s.FilledBox(x(start), y(row), x(column), y(row + 1), colour);
            start = column;
            colour = next;
        }
    }
    // Contours: the edges between a cell at or above a level and one below it.
    s.SetLineWidth(2);
    auto edges = [&](const auto& inside, const QColor& colour) {
        for (int row = 0; row < m.Rows; ++row)
            for (int column = 0; column < m.Columns; ++column) {
                if (!inside(row, column)) continue;
                if (column + 1 >= m.Columns || !inside(row, column + 1))
                    s.Line(x(column + 1), y(row), x(column + 1), y(row + 1), colour);
                if (column == 0 || !inside(row, column - 1))
                    s.Line(x(column), y(row), x(column), y(row + 1), colour);
                if (row + 1 >= m.Rows || !inside(row + 1, column))
                    s.Line(x(column), y(row + 1), x(column + 1), y(row + 1), colour);
                if (row == 0 || !inside(row - 1, column))
                    s.Line(x(column), y(row), x(column + 1), y(row), colour);
            }
    };
    for (int level = 0; level < 3; ++level) {
        const double c = kContourLevelsMGy[level];
        edges([&](int row, int column) { return dose(row, column) >= c; }, kContourColours[level]);
    }
    if (!outline.empty()) {
        std::vector<char> in(m.Cells.size(), 0);
        for (std::size_t c : outline)
            if (c < in.size()) in[c] = 1;
        edges([&](int row, int column) { return in[row * m.Columns + column] != 0; }, kOutline);
    }
    s.SetLineWidth(1);
    s.Box(x(0), y(0), x(m.Columns), y(m.Rows), Qt::black);

    // The PSD: a square of three cells around its cell and its value beside it.
    const double text = s.TextHeight(QStringLiteral("0"));
    if (map.PsdCell) {
        const int row = static_cast<int>(*map.PsdCell) / m.Columns;
        const int column = static_cast<int>(*map.PsdCell) % m.Columns;
        s.SetLineWidth(2);
        s.Box(x(column) - 1.5 * l.CellWidth, y(row) - 1.5 * l.CellHeight,
              x(column + 1) + 1.5 * l.CellWidth, y(row + 1) + 1.5 * l.CellHeight, Qt::black);
        s.SetLineWidth(1);
        const QString label = QStringLiteral("PSD %1 mGy").arg(Mgy(map.PsdMGy));
        const double labelX =
            std::min(x(column + 1) + 2 * l.CellWidth, l.Right() - s.TextWidth(label));
        s.FilledBox(labelX, y(row) - text / 2, labelX + s.TextWidth(label), y(row) + text / 2,
                    Qt::white);
        s.SetForeColor(Qt::black);
        s.SetCurrentPosition(labelX, y(row) - text / 2);
        s.Print(label);
    }

    // Labels: the head at the top, the regions under the unwrapped trunk.
    s.SetForeColor(Qt::black);
    s.SetCurrentPosition(l.Left, l.Top - 1.3 * text);
    s.Print(QStringLiteral("頭側 ↑"));
    auto under = [&](double centre, const QString& label) {
        s.SetCurrentPosition(centre - s.TextWidth(label) / 2, l.Bottom() + 0.2 * text);
        s.Print(label);
    };
    const double middle = x(m.MiddleColumn) + l.CellWidth / 2;
    under(middle, QStringLiteral("背部"));
    if (m.Kind == PhantomKind::Torso) {
        under(middle - m.Columns * l.CellWidth / 4, QStringLiteral("右側"));
        under(middle + m.Columns * l.CellWidth / 4, QStringLiteral("左側"));
        under(l.Left + s.TextWidth(QStringLiteral("腹側")) / 2, QStringLiteral("腹側"));
        under(l.Right() - s.TextWidth(QStringLiteral("腹側")) / 2, QStringLiteral("腹側"));
    } else {
        under(l.Left + s.TextWidth(QStringLiteral("右")) / 2, QStringLiteral("右"));
        under(l.Right() - s.TextWidth(QStringLiteral("左")) / 2, QStringLiteral("左"));
    }
    s.SetCurrentPosition(l.Left, l.Bottom() + 1.3 * text);
    s.Print(QStringLiteral("等線量線: 2 Gy (白)  3 Gy (紫)  5 Gy (黒)"));

    // The colour scale: 0 at the bottom, the PSD at the top, the contour levels marked.
    const double height = l.Rows * l.CellHeight;
    for (int i = 0; i < kScaleSteps; ++i) {
        const double y0 = l.Top + height * (kScaleSteps - 1 - i) / kScaleSteps;
        s.FilledBox(l.ScaleLeft, y0, l.ScaleLeft + l.ScaleWidth, y0 + height / kScaleSteps,
                    ScaleColour(static_cast<double>(i) / (kScaleSteps - 1)));
    }
    s.Box(l.ScaleLeft, l.Top, l.ScaleLeft + l.ScaleWidth, l.Bottom(), Qt::black);
    const double numbersX = l.ScaleLeft + l.ScaleWidth + 0.3 * text;
    auto tick = [&](double value) {
        const double ty = l.Bottom() - height * value / top;
        s.Line(l.ScaleLeft + l.ScaleWidth, ty, numbersX, ty, Qt::black);
        s.SetCurrentPosition(numbersX, ty - text / 2);
        s.Print(Mgy(value));
    };
    tick(0);
    tick(top);
    for (double level : kContourLevelsMGy)
        if (level < 0.9 * top && level > 0.1 * top) tick(level);
    s.SetCurrentPosition(l.ScaleLeft, l.Top - 1.3 * text);
    s.Print(QStringLiteral("mGy"));
}

QString CellPlaceText(const PatientModel& model, std::size_t cell) {
    const SkinCell& c = model.Cells.at(cell);
    const QString region = QString::fromStdString(RegionName(model, c));
    const QString fromTop = QString::fromStdString(FormatNumber(c.FromTopCm, "0"));
    if (model.Kind == PhantomKind::Plane)
        return QStringLiteral("%1 上から %2 cm, 正中から%3へ %4 cm")
            .arg(region, fromTop, c.X < 0 ? QStringLiteral("右") : QStringLiteral("左"),
                 QString::fromStdString(FormatNumber(std::abs(c.X), "0")));
    return QStringLiteral("%1 上から %2 cm, 背部正中から%3へ %4°")
        .arg(region, fromTop, c.AngleDeg < 0 ? QStringLiteral("右") : QStringLiteral("左"),
             QString::fromStdString(FormatNumber(std::abs(c.AngleDeg), "0")));
}

std::vector<CellShare> LargestShares(const SkinDoseMap& map, std::size_t cell, int count) {
    std::vector<CellShare> shares;
    for (const SkinDoseMap::EventField& field : map.EventFields) {
        const auto at = std::find(field.Cells.begin(), field.Cells.end(), cell);
        if (at == field.Cells.end()) continue;
        shares.push_back({field.EventIndex, field.DoseMGy[at - field.Cells.begin()]});
    }
    std::sort(shares.begin(), shares.end(),
              [](const CellShare& a, const CellShare& b) { return a.DoseMGy > b.DoseMGy; });
    if (shares.size() > static_cast<std::size_t>(std::max(count, 0))) shares.resize(count);
    return shares;
}

std::vector<std::size_t> EventFieldCells(const SkinDoseMap& map, std::size_t eventIndex) {
    for (const SkinDoseMap::EventField& field : map.EventFields)
        if (field.EventIndex == eventIndex) return field.Cells;
    return {};
}

void DrawBeamsEyeView(ui::Surface& s, const SkinDoseMap& map, std::size_t eventIndex,
                      const QRectF& area) {
    const PatientModel& m = map.Model;
    if (eventIndex >= map.Placements.size() || map.Placements[eventIndex].Steps.empty()) return;
    const std::vector<BeamStep>& steps = map.Placements[eventIndex].Steps;
    const BeamStep& step = steps[steps.size() / 2];
    // Each facing cell as the tube sees it: its direction across the beam (tangents along U and
    // V) and its distance along the beam, nearest drawn last.
    struct Seen {
        double p, q, along;
        std::size_t cell;
    };
    std::vector<Seen> seen;
    for (std::size_t c = 0; c < m.Cells.size(); ++c) {
        const SkinCell& cell = m.Cells[c];
        const Vec3 r = Vec3{cell.X, cell.Y, cell.Z} - step.Focus;
        const double along = r.Dot(step.Axis);
        if (!(along > 0.0)) continue;
        if (r.x * cell.Nx + r.y * cell.Ny + r.z * cell.Nz >= 0.0) continue;
        seen.push_back({r.Dot(step.U) / along, r.Dot(step.V) / along, along, c});
    }
    if (seen.empty()) return;
    double minP = seen[0].p, maxP = minP, minQ = seen[0].q, maxQ = minQ;
    for (const Seen& v : seen) {
        minP = std::min(minP, v.p), maxP = std::max(maxP, v.p);
        minQ = std::min(minQ, v.q), maxQ = std::max(maxQ, v.q);
    }
    const double scale = std::min(area.width() / std::max(maxP - minP, 1e-6),
                                  area.height() / std::max(maxQ - minQ, 1e-6));
    const double left = area.left() + (area.width() - (maxP - minP) * scale) / 2;
    const double top = area.top() + (area.height() - (maxQ - minQ) * scale) / 2;
    std::sort(seen.begin(), seen.end(),
              [](const Seen& a, const Seen& b) { return a.along > b.along; });
    const double peak = std::max(map.PsdMGy, 1.0);
    const std::vector<std::size_t> field = EventFieldCells(map, eventIndex);
    std::vector<char> inField(m.Cells.size(), 0);
    for (std::size_t c : field) inField[c] = 1;
    for (const Seen& v : seen) {
        const double half = 0.6 * m.CellCm / v.along * scale;
        const double x = left + (v.p - minP) * scale, y = top + (v.q - minQ) * scale;
        s.FilledBox(x - half, y - half, x + half, y + half, CellColour(map.DoseMGy[v.cell], peak));
    }
    // The field: the cells it reached, each framed.
    for (const Seen& v : seen) {
        if (!inField[v.cell]) continue;
        const double half = 0.5 * m.CellCm / v.along * scale;
        const double x = left + (v.p - minP) * scale, y = top + (v.q - minQ) * scale;
        s.Box(x - half, y - half, x + half, y + half, kOutline);
    }
}

}  // namespace ordevo::map
