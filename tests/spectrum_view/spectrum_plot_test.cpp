// The spectrum plot: grid, texts and frame at the plot's coordinates, the step curve scaled to
// its largest bin, and the files that cannot be drawn.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "recording_surface.h"
#include "spectrum_file.h"
#include "spectrum_plot.h"

using namespace ordevo;
using ui::DrawOp;
using ui::RecordingSurface;

namespace {

// A triangle peaking at bin 100 (50 keV) with F = 100, zero from bin 200 (100 keV) on.
BinArray Triangle(double scale = 1) {
    BinArray f{};
    for (int j = 1; j <= kBinCount; ++j) f[j] = scale * std::max(0, 100 - std::abs(j - 100));
    return f;
}

class SpectrumPlot : public ::testing::Test {
protected:
    QString WriteSpectrum(const BinArray& fluence) {
        const QString path = folder.filePath(QStringLiteral("B_SPCTL.dat"));
        EXPECT_TRUE(WriteSpectrumFile(path, fluence).has_value());
        return path;
    }
    QString WriteText(const QByteArray& bytes) {
        const QString path = folder.filePath(QStringLiteral("B_SPCTL.dat"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static std::vector<DrawOp> Of(const std::vector<DrawOp>& ops, DrawOp::Type type,
                                  const QColor& colour) {
        std::vector<DrawOp> found;
        for (const DrawOp& op : ops)
            if (op.type == type && op.colour == colour) found.push_back(op);
        return found;
    }

    QTemporaryDir folder;
    RecordingSurface surface;
};

TEST_F(SpectrumPlot, GridTextsAndFrameStandAtThePlotCoordinates) {
    ASSERT_TRUE(DrawSpectrumPlot(surface, WriteSpectrum(Triangle())).has_value());
    const auto ops = surface.SinceLastClear();

    // Every 10 keV from 10 to 140 keV, every tenth of full scale from 0.1 to 0.9, thin grey.
    const auto grid = Of(ops, DrawOp::Type::Line, QColor(128, 128, 128));
    ASSERT_EQ(grid.size(), 14u + 9u);
    for (int k = 0; k < 14; ++k) {
        const DrawOp& line = grid[static_cast<std::size_t>(k)];
        EXPECT_EQ(line.x1, 1300 + 300 * k);
        EXPECT_EQ(line.x2, line.x1);
        EXPECT_EQ(line.y1, 100);
        EXPECT_EQ(line.y2, 2100);
        EXPECT_EQ(line.lineWidth, 1);
    }
    for (int k = 0; k < 9; ++k) {
        const DrawOp& line = grid[static_cast<std::size_t>(14 + k)];
        EXPECT_EQ(line.y1, 300 + 200 * k);
        EXPECT_EQ(line.y2, line.y1);
        EXPECT_EQ(line.x1, 1000);
        EXPECT_EQ(line.x2, 5500);
    }

    const struct {
        const char* text;
        double x, y;
    } texts[] = {{"0", 1000, 2120},
                 {"50", 2450, 2120},
                 {"100", 3900, 2120},
                 {"150", 5400, 2120},
                 {"Photon energy in keV", 3750, 2250},
                 {"Relative", 200, 500},
                 {"Photon", 230, 700},
                 {"fluence", 260, 900}};
    EXPECT_EQ(surface.Texts().size(), std::size(texts));
    for (const auto& t : texts) {
        EXPECT_TRUE(surface.HasTextAt(QString::fromUtf8(t.text), t.x, t.y)) << t.text;
        EXPECT_EQ(surface.FindText(QString::fromUtf8(t.text))->colour, QColor(Qt::black));
    }

    // The frame before the curve and again over its ends, black and 2 wide.
    const auto frames = Of(ops, DrawOp::Type::Box, Qt::black);
    ASSERT_EQ(frames.size(), 2u);
    for (const DrawOp& frame : frames) {
        EXPECT_EQ(QRectF(QPointF(frame.x1, frame.y1), QPointF(frame.x2, frame.y2)),
                  QRectF(QPointF(1000, 100), QPointF(5500, 2100)));
        EXPECT_EQ(frame.lineWidth, 2);
    }
    EXPECT_EQ(ops.back().type, DrawOp::Type::Box);
}

TEST_F(SpectrumPlot, EachBinFromTheSecondIsAStepCentredOnItsEnergy) {
    const auto plotted = DrawSpectrumPlot(surface, WriteSpectrum(Triangle()));
    ASSERT_TRUE(plotted.has_value());
    EXPECT_EQ(plotted->MaxFluence, 100);

    const auto curve = Of(surface.SinceLastClear(), DrawOp::Type::Line, QColor(255, 0, 0));
    ASSERT_EQ(curve.size(), 2u * 299u);  // bins 2..300, a riser and a tread each
    // Bin 2 (F = 2, y = 2100 − 2000·2/100 = 2060) is reached by a slanted line from the origin.
    EXPECT_EQ(curve[0].x1, 1000);
    EXPECT_EQ(curve[0].y1, 2100);
    EXPECT_EQ(curve[0].x2, 1022.5);
    EXPECT_EQ(curve[0].y2, 2060);
    for (int j = 2; j <= kBinCount; ++j) {
        const DrawOp& riser = curve[static_cast<std::size_t>(2 * (j - 2))];
        const DrawOp& tread = curve[static_cast<std::size_t>(2 * (j - 2) + 1)];
        // The tread spans 15 units centred on x = 1000 + 30·(0.5·j keV).
        const double centre = 1000 + 30 * 0.5 * j;
        ASSERT_EQ(tread.x1, centre - 7.5) << j;
        ASSERT_EQ(tread.x2, centre + 7.5) << j;
        ASSERT_EQ(tread.y1, tread.y2) << j;
        ASSERT_EQ(riser.x2, tread.x1) << j;
        ASSERT_EQ(riser.y2, tread.y1) << j;
        ASSERT_EQ(tread.lineWidth, 2);
    }
    // The peak touches the top of the frame, half the peak is half-way, empty bins lie on the
    // bottom right up to 150 keV.
    EXPECT_EQ(curve[2 * (100 - 2) + 1].y1, 100);
    EXPECT_EQ(curve[2 * (50 - 2) + 1].y1, 1100);
    EXPECT_EQ(curve[2 * (200 - 2) + 1].y1, 2100);
    EXPECT_EQ(curve.back().y1, 2100);
    EXPECT_EQ(curve.back().x2, 5507.5);
}

TEST_F(SpectrumPlot, TheCurveDoesNotDependOnTheNormalisationOfTheFile) {
    ASSERT_TRUE(DrawSpectrumPlot(surface, WriteSpectrum(Triangle())).has_value());
    const auto unit = Of(surface.SinceLastClear(), DrawOp::Type::Line, QColor(255, 0, 0));
    RecordingSurface other;
    ASSERT_TRUE(DrawSpectrumPlot(other, WriteSpectrum(Triangle(0.001))).has_value());
    const auto scaled = Of(other.SinceLastClear(), DrawOp::Type::Line, QColor(255, 0, 0));
    ASSERT_EQ(unit.size(), scaled.size());
    for (std::size_t k = 0; k < unit.size(); ++k) {
        // Written as "0.000E+00", F/F_max is the same ratio of small integers either way;
        // the division may differ in the last bit.
        EXPECT_NEAR(unit[k].y2, scaled[k].y2, 1e-9) << k;
    }
}

TEST_F(SpectrumPlot, DrawingAgainStartsFromAClearedPictureWithTheSameOutput) {
    const QString path = WriteSpectrum(Triangle());
    ASSERT_TRUE(DrawSpectrumPlot(surface, path).has_value());
    const auto first = surface.SinceLastClear();
    ASSERT_TRUE(DrawSpectrumPlot(surface, path).has_value());
    EXPECT_EQ(surface.ClearCount(), 2);
    const auto second = surface.SinceLastClear();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t k = 0; k < first.size(); ++k) {
        EXPECT_EQ(first[k].type, second[k].type);
        EXPECT_EQ(first[k].text, second[k].text);
        EXPECT_EQ(QLineF(first[k].x1, first[k].y1, first[k].x2, first[k].y2),
                  QLineF(second[k].x1, second[k].y1, second[k].x2, second[k].y2));
    }
}

TEST_F(SpectrumPlot, TheFrameIsDrawnBeforeTheFileIsRead) {
    const QString path = WriteSpectrum(Triangle());
    std::size_t opsAtPause = 0;
    bool fileThere = false;
    ASSERT_TRUE(DrawSpectrumPlot(surface, path, [&] {
                    opsAtPause = surface.SinceLastClear().size();
                    fileThere = QFile::exists(path);
                }).has_value());
    EXPECT_TRUE(fileThere);
    // Grid (23 lines), 8 texts and the frame, nothing of the curve yet.
    EXPECT_EQ(opsAtPause, 23u + 8u + 1u);
}

// Files that cannot be drawn: the error names the file and why; only the empty frame is left.
TEST_F(SpectrumPlot, UnusableFilesAreRefusedWithTheirReason) {
    BinArray zeros{};
    BinArray negative = Triangle();
    negative[150] = -1;
    QByteArray shortFile;
    for (int j = 1; j <= 299; ++j)
        shortFile += QByteArray::fromStdString(SpectrumFileLine(j, 1)) + "\r\n";

    const struct {
        const char* name;
        std::function<QString()> write;
        const char* why;
    } cases[] = {
        {"missing", [&] { return folder.filePath(QStringLiteral("B_SPCTL.dat")); }, "B_SPCTL.dat"},
        {"299 lines", [&] { return WriteText(shortFile); }, "300 行目"},
        {"only zeros", [&] { return WriteSpectrum(zeros); }, "すべて 0"},
        {"negative bin", [&] { return WriteSpectrum(negative); }, "150 行目"},
        {"text", [&] { return WriteText("0.5 abc\r\n"); }, "1 行目"},
    };
    for (const auto& c : cases) {
        QFile::remove(folder.filePath(QStringLiteral("B_SPCTL.dat")));
        RecordingSurface s;
        const auto plotted = DrawSpectrumPlot(s, c.write());
        ASSERT_FALSE(plotted.has_value()) << c.name;
        EXPECT_TRUE(plotted.error().message().startsWith(QStringLiteral("B_SPCTL.dat"))) << c.name;
        EXPECT_TRUE(plotted.error().message().contains(QString::fromUtf8(c.why)))
            << c.name << ": " << plotted.error().message().toStdString();
        EXPECT_TRUE(Of(s.SinceLastClear(), DrawOp::Type::Line, QColor(255, 0, 0)).empty())
            << c.name;
        EXPECT_EQ(Of(s.SinceLastClear(), DrawOp::Type::Box, Qt::black).size(), 1u) << c.name;
    }
}

}  // namespace
