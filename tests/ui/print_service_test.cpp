// Printing a landscape page: the millimetre surface lands where it should, and without a
// printer the page becomes a PDF file the user named.
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "print_service.h"
#include "printer_surface.h"
#include "tiny_disk.h"

using namespace ordevo::ui;

namespace {

QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != QColor(Qt::white)) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A 254-dpi sheet: exactly 10 dots per millimetre.
QImage Sheet() {
    QImage sheet(600, 400, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(10000);
    sheet.setDotsPerMeterY(10000);
    sheet.fill(Qt::white);
    return sheet;
}

void DrawFrameAndTitle(Surface& page) {
    page.SetFont(Font::MsMincho, 9);
    page.SetLineWidth(5);
    page.Line(0, 20, 285, 20);
    page.LineTo(285, 190);
    page.SetLineWidth(1);
    page.SetFontSize(12);
    page.SetCurrentPosition(50, 12);
    page.Print(QStringLiteral("IVR 時の入射表面皮膚組織吸収線量"));
}

}  // namespace

TEST(PrinterSurface, MillimetresMapThroughTheDeviceResolution) {
    QImage sheet = Sheet();
    {
        PrinterSurface page(sheet);
        ASSERT_TRUE(page.IsActive());
        page.FilledBox(10, 20, 20, 25, Qt::black);
        ASSERT_TRUE(page.EndDocument());
    }
    EXPECT_EQ(InkBounds(sheet), QRect(QPoint(100, 200), QPoint(200, 250)));
}

TEST(PrinterSurface, LineWidthIsInDeviceDotsAndTheOriginCanMove) {
    QImage sheet = Sheet();
    {
        PrinterSurface page(sheet, QPointF(-3.0, -3.0));  // origin 3 mm up and left
        page.SetLineWidth(5);
        page.Line(13, 13, 33, 13);  // 10..30 mm on the sheet, y 10 mm
        page.EndDocument();
    }
    const QRect ink = InkBounds(sheet);
    EXPECT_EQ(ink.height(), 5);
    EXPECT_NEAR(ink.center().y(), 100, 1);
    EXPECT_NEAR(ink.left(), 100, 3);  // round ends reach 2.5 dots past the end points
    EXPECT_NEAR(ink.right(), 300, 3);
}

TEST(PrinterSurface, TextTopLeftIsAtTheCurrentPosition) {
    QImage sheet = Sheet();
    {
        PrinterSurface page(sheet);
        page.SetFont(Font::MsMincho, 12);
        page.SetCurrentPosition(20, 12);
        page.Print(QStringLiteral("線量"));
        page.EndDocument();
    }
    const QRect ink = InkBounds(sheet);
    ASSERT_FALSE(ink.isNull());
    // 12 pt = 4.23 mm: the glyphs sit in the band from 12 mm down, starting at 20 mm.
    EXPECT_GE(ink.left(), 200);
    EXPECT_LE(ink.left(), 210);
    EXPECT_GE(ink.top(), 120);
    EXPECT_LE(ink.bottom(), 120 + 55);
}

TEST(PrintService, WithoutAPrinterThePageIsWrittenToThePdfTheUserNames) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SystemPrintService service(std::make_unique<FixedPdfFileChooser>(dir.filePath("results")),
                               PrinterUse::PdfOnly);
    bool drew = false;
    const PrintReport report =
        service.PrintLandscapePage(QStringLiteral("Ordevo-V3"), [&](Surface& page) {
            DrawFrameAndTitle(page);
            drew = true;
        });
    EXPECT_TRUE(drew);
    EXPECT_EQ(report.outcome, PrintOutcome::SavedAsPdf);
    EXPECT_EQ(report.where, dir.filePath("results.pdf"));
    QFile pdf(report.where);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 842"));  // A4 landscape: 842 × 595 points
}

TEST(PrintService, CancellingTheFileChoiceWritesNothing) {
    SystemPrintService service(std::make_unique<FixedPdfFileChooser>(QString()),
                               PrinterUse::PdfOnly);
    bool drew = false;
    const PrintReport report =
        service.PrintLandscapePage(QStringLiteral("Ordevo-V3"), [&](Surface&) { drew = true; });
    EXPECT_EQ(report.outcome, PrintOutcome::Cancelled);
    EXPECT_FALSE(drew);
}

TEST(PrintService, AFolderThatRefusesTheFileIsReportedAndLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("missing folder/results.pdf");
    const PrintReport report =
        SystemPrintService::WritePdf(path, QStringLiteral("Ordevo-V3"), DrawFrameAndTitle);
    EXPECT_EQ(report.outcome, PrintOutcome::Failed);
    EXPECT_FALSE(report.error.isEmpty());
    EXPECT_FALSE(report.previousKept);  // there was none
    EXPECT_FALSE(QFileInfo::exists(path));
}

// The PDF's last buffered bytes meet the full disk at the flush: reported, the old PDF kept.
TEST(PrintService, AFullDiskIsReportedAndKeepsTheOldPdf) {
    ordevo::testing::TinyDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
    const QString path = disk.FilePath(QStringLiteral("results.pdf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("%PDF-old");
    old.close();
    disk.Fill();
    const PrintReport report =
        SystemPrintService::WritePdf(path, QStringLiteral("Ordevo-V3"), DrawFrameAndTitle);
    EXPECT_EQ(report.outcome, PrintOutcome::Failed);
    EXPECT_FALSE(report.error.isEmpty());
    EXPECT_TRUE(report.previousKept);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("%PDF-old"));
}

TEST(PrintService, RecordingServiceKeepsEachPageInMillimetres) {
    RecordingPrintService service;
    service.PrintLandscapePage(QStringLiteral("Ordevo-V3"), DrawFrameAndTitle);
    service.PrintLandscapePage(QStringLiteral("Ordevo-V3"), DrawFrameAndTitle);
    ASSERT_EQ(service.Pages().size(), 2u);
    const RecordingSurface& page = service.LastPage();
    EXPECT_TRUE(page.HasTextAt(QStringLiteral("IVR 時の入射表面皮膚組織吸収線量"), 50, 12));
    const auto title = page.FindText(QStringLiteral("IVR 時の入射表面皮膚組織吸収線量"));
    EXPECT_EQ(title->fontName, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(title->fontSizePt, 12.0);
    ASSERT_EQ(page.Lines().size(), 2u);
    EXPECT_EQ(page.Lines()[0].lineWidth, 5);
    EXPECT_EQ(page.Lines()[1].x1, 285.0);  // the right side continues from the top rule
    EXPECT_EQ(page.Lines()[1].y2, 190.0);
}
