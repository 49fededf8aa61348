// The map on a recording surface: a contour is drawn exactly where the dose crosses its level,
// an event's field is outlined, and a point finds its cell.
#include <gtest/gtest.h>

#include "map_drawing.h"
#include "recording_surface.h"

namespace ordevo::map {
namespace {

// A flat 10 × 6 map of 1 cm cells, every dose 1000 mGy but the given ones.
SkinDoseMap FlatMap(std::vector<std::pair<std::size_t, double>> doses) {
    SkinDoseMap m;
    m.Model = MakePatientModel(PhantomKind::Plane, TorsoShape{}, 1.0);
    m.DoseMGy.assign(m.Model.Cells.size(), 1000.0);
    for (auto [cell, dose] : doses) m.DoseMGy[cell] = dose;
    for (std::size_t c = 0; c < m.DoseMGy.size(); ++c)
        if (m.DoseMGy[c] > m.PsdMGy) m.PsdMGy = m.DoseMGy[c], m.PsdCell = c;
    return m;
}

int LinesOf(const ui::RecordingSurface& s, const QColor& colour) {
    int n = 0;
    for (const ui::DrawOp& op : s.Lines()) n += op.colour == colour && op.lineWidth == 2;
    return n;
}

TEST(MapDrawing, EachContourBordersTheCellsAtOrAboveItsLevel) {
    const QColor white(255, 255, 255), magenta(255, 0, 255), black(0, 0, 0);
    struct Case {
        std::vector<std::pair<std::size_t, double>> doses;
        int white, magenta, black;
    };
    // Cells 500 and 501 are neighbours in one row: two cells share an edge, so 6 edges, not 8.
    const Case cases[] = {
        {{{500, 1999.0}}, 0, 0, 0},
        {{{500, 2000.0}}, 4, 0, 0},
        {{{500, 3500.0}, {501, 2500.0}}, 6, 4, 0},
        {{{500, 6000.0}}, 4, 4, 4},
    };
    for (const Case& c : cases) {
        const SkinDoseMap m = FlatMap(c.doses);
        ui::RecordingSurface s;
        DrawSkinDoseMapOn(s, m, LayoutMap(m.Model, QRectF(0, 0, 9000, 6000), 200));
        EXPECT_EQ(LinesOf(s, white), c.white) << c.doses.front().second;
        EXPECT_EQ(LinesOf(s, magenta), c.magenta) << c.doses.front().second;
        EXPECT_EQ(LinesOf(s, black), c.black) << c.doses.front().second;
    }
}

TEST(MapDrawing, ChosenFieldIsOutlinedAndPointsFindTheirCells) {
    SkinDoseMap m = FlatMap({});
    ui::RecordingSurface s;
    const MapLayout layout = LayoutMap(m.Model, QRectF(0, 0, 9000, 6000), 200);
    DrawSkinDoseMapOn(s, m, layout, {0, 1, 2});
    EXPECT_EQ(LinesOf(s, QColor(0, 160, 0)), 8);  // a row of three cells
    EXPECT_EQ(
        layout.CellAt(layout.Left + 0.5 * layout.CellWidth, layout.Top + 1.5 * layout.CellHeight),
        std::optional<std::size_t>(static_cast<std::size_t>(m.Model.Columns)));
    EXPECT_EQ(layout.CellAt(layout.Left - 1, layout.Top), std::nullopt);
    EXPECT_EQ(layout.CellAt(layout.Right() + 1, layout.Top), std::nullopt);
}

TEST(MapDrawing, LargestSharesComeFromTheEventFields) {
    SkinDoseMap m = FlatMap({});
    m.EventFields = {{0, {5, 6}, {10.0, 20.0}}, {3, {6}, {50.0}}, {4, {7}, {5.0}}};
    const std::vector<CellShare> shares = LargestShares(m, 6, 3);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0].EventIndex, 3u);
    EXPECT_EQ(shares[1].DoseMGy, 20.0);
    EXPECT_EQ(EventFieldCells(m, 4), std::vector<std::size_t>{7});
    EXPECT_TRUE(EventFieldCells(m, 2).empty());
}

}  // namespace
}  // namespace ordevo::map
