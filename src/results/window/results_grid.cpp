// Drawing of the results grid: one function per part, shared by the window and the tests.
#include "results_grid.h"

#include "number_format.h"
#include "picture_box.h"
#include "results_addition.h"

namespace ordevo {
namespace {

using ui::PrintFitted;

constexpr QColor kGrey{0x80, 0x80, 0x80};
constexpr QColor kSilver{0xC0, 0xC0, 0xC0};
constexpr QColor kDarkGrey{0x40, 0x40, 0x40};
constexpr QColor kBlack{0, 0, 0};

// One ruling line, in twips inside the picture.
struct GridLine {
    const char* name;
    double x1, y1, x2, y2;
    QColor colour;
    int widthPx;
};

constexpr double kRuleRight = 15240;   // right end of the horizontal rules
constexpr double kTableBottom = 6503;  // y 850 units

constexpr GridLine kGridLines[] = {
    {"HeadingRule", -120, 765, kRuleRight, 765, kGrey, 2},
    {"RowRule150", 0, 1148, kRuleRight, 1148, kSilver, 1},
    {"RowRule200", 0, 1530, kRuleRight, 1530, kSilver, 1},
    {"RowRule250", 0, 1905, kRuleRight, 1905, kSilver, 1},
    {"RowRule300", 0, 2295, kRuleRight, 2295, kSilver, 1},
    {"RowRule350", 0, 2678, kRuleRight, 2678, kSilver, 1},
    {"RowRule400", 0, 3060, kRuleRight, 3060, kSilver, 1},
    {"RowRule450", 0, 3442, kRuleRight, 3442, kSilver, 1},
    {"RowRule500", 0, 3825, kRuleRight, 3825, kSilver, 1},
    {"RowRule550", 0, 4208, kRuleRight, 4208, kSilver, 1},
    {"RowRule600", 0, 4590, kRuleRight, 4590, kSilver, 1},
    {"RowRule650", 0, 4972, kRuleRight, 4972, kSilver, 1},
    {"RowRule700", 0, 5355, kRuleRight, 5355, kSilver, 1},
    {"RowRule750", 0, 5738, kRuleRight, 5738, kSilver, 1},
    {"RowRule800", 0, 6120, kRuleRight, 6120, kSilver, 1},
    {"TableBottom", 0, kTableBottom, kRuleRight, kTableBottom, kBlack, 1},
    {"AfterBodyPart", 1185, 0, 1185, kTableBottom, kGrey, 2},
    {"AfterTubeVoltage", 2040, 0, 2040, kTableBottom, kSilver, 1},
    {"AfterInherentFilter", 2760, 291, 2760, kTableBottom, kSilver, 1},
    {"AfterAluminium", 3480, 298, 3480, kTableBottom, kSilver, 1},
    {"AfterCopper", 4200, 291, 4200, kTableBottom, kSilver, 1},
    {"AfterOtherFilter", 5160, 0, 5160, kTableBottom, kSilver, 1},
    {"AfterFocusSkinDistance", 6000, 0, 6000, kTableBottom, kSilver, 1},
    {"AfterFieldSize", 7200, 0, 7200, kTableBottom, kGrey, 2},
    {"AfterReferenceAirKerma", 8400, 306, 8400, kTableBottom, kSilver, 1},
    {"AfterKermaAreaProduct", 9600, 0, 9600, kTableBottom, kGrey, 2},
    {"AfterCorrectedReferenceAirKerma", 10560, 298, 10560, 6623, kSilver, 1},
    {"AfterCorrectedKermaAreaProduct", 11520, 0, 11520, 6510, kDarkGrey, 1},
    {"AfterTissueToAirDoseRatio", 12600, 0, 12600, kTableBottom, kSilver, 1},
    // Down to the picture's bottom edge: it encloses the cell of the total.
    {"AfterScatterFactor", 13680, 0, 13680, 6960, kGrey, 2},
    {"FiltrationGroupRule", 2040, 300, 5160, 300, kSilver, 1},
    {"DisplayedCorrectedGroupRule", 7200, 298, 11520, 300, kSilver, 1},
};

struct PlacedText {
    double x, y;
    const char* text;  // UTF-8
};

// Column by column, top to bottom and left to right within a column.
constexpr PlacedText kHeadings[] = {
    {10, 40, "対象部位"},
    {100, 30, "管電圧"},
    {110, 65, "kV"},
    {250, 2, "総濾過"},
    {170, 40, "固有"},
    {160, 70, "mmAl"},
    {220, 40, "アルミ"},
    {230, 70, "mm"},
    {290, 40, "銅"},
    {280, 70, "mm"},
    {340, 40, "材質"},
    {340, 70, "mm"},
    {410, 30, "FSD"},
    {410, 65, "cm"},
    {480, 30, "照射野"},
    {470, 65, "at 基準点"},
    {580, 2, "装置に表示された"},
    {580, 40, "Ka,r"},
    {580, 70, "mGy"},
    {660, 40, "P_KA"},
    {650, 70, "Gy･cm2"},
    {770, 2, "補正後の"},
    {750, 40, "Ka,r"},
    {750, 70, "mGy"},
    {815, 40, "P_KA"},
    {810, 70, "Gy･cm2"},
    {880, 2, "一次線の"},
    {880, 30, "皮膚線量／"},
    {876, 65, "空気カーマ比"},
    {970, 30, "前方･後方"},
    {970, 65, "散乱係数"},
    {1060, 2, "入射表面"},
    {1050, 30, "皮膚吸収線量"},
    {1080, 65, "mGy"},
};

// Right-hand rules of the columns whose texts have no fixed length, and the room kept free
// before them, in units.
constexpr double kBodyPartRight = 90;
constexpr double kTubeVoltageRight = 155;
constexpr double kOtherFilterRight = 392;
constexpr double kFieldSizeRight = 547;
constexpr double kCellMargin = 4;
constexpr double kSmallestGridFontPt = 6;
constexpr double kTwoLineCellFontPt = 7;  // the other filter's name over its thickness

// The banner's name may not run past the picture's right edge.
constexpr double kPictureRight = 1157;
constexpr double kSmallestBannerFontPt = 12;

constexpr double kBannerX = 500;
constexpr double kBannerFontPt = 28;
constexpr double kGridFontPt = 9;

// The total's cell, erased before each total.
constexpr double kTotalCellLeft = 1045, kTotalCellTop = 860;
constexpr double kTotalCellRight = 1150, kTotalCellBottom = 900;
constexpr double kTotalX = 1080, kTotalY = 860;

void PrintAt(ui::Surface& surface, double x, double y, const QString& text) {
    surface.SetCurrentPosition(x, y);
    surface.Print(text);
}

QString Formatted(double value, std::string_view picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

}  // namespace

void AddResultsGridLines(ui::PictureBox& picture) {
    for (const GridLine& line : kGridLines) {
        picture.AddLineElement({QString::fromLatin1(line.name), QPointF(line.x1, line.y1),
                                QPointF(line.x2, line.y2), line.colour, line.widthPx, false});
    }
}

void DrawResultsHeader(ui::Surface& surface) {
    surface.SetFontName(ui::FontFamilyName(ui::Font::Meiryo));
    for (const PlacedText& heading : kHeadings) {
        PrintAt(surface, heading.x, heading.y, QString::fromUtf8(heading.text));
    }
}

void DrawResultsRow(ui::Surface& surface, const ResultsRow& row, int r) {
    namespace C = ResultsColumn;
    const double y = 50.0 * r + 70;
    const auto text = [&](int column) { return QString::fromStdString(CellText(row[column])); };
    const auto number = [&](int column, std::string_view picture) {
        return Formatted(CellNumber(row[column]), picture);
    };
    // Texts of free length shrink (then are cut) to stay clear of the next column's rule.
    PrintFitted(surface, 10, y, text(C::BodyPart), kBodyPartRight - 10 - kCellMargin,
                kSmallestGridFontPt);
    PrintFitted(surface, 100, y, text(C::TubeVoltageText), kTubeVoltageRight - 100 - kCellMargin,
                kSmallestGridFontPt);
    PrintAt(surface, 165, y, number(C::InherentFilterMm, kFilterPicture));
    PrintAt(surface, 225, y, number(C::AluminiumFilterMm, kFilterPicture));
    PrintAt(surface, 280, y, number(C::CopperFilterMm, kFilterPicture));
    if (HasOtherFilter(row)) {
        // Name and thickness share the cell as two lines, in a smaller font so that both fit
        // between the row rules.
        const double sizePt = surface.FontSize();
        surface.SetFontSize(kTwoLineCellFontPt);
        PrintFitted(surface, 330, y - 14, text(C::OtherFilterName),
                    kOtherFilterRight - 330 - kCellMargin, kSmallestGridFontPt);
        PrintAt(surface, 340, y + 10, number(C::OtherFilterMm, kFilterPicture));
        surface.SetFontSize(sizePt);
    } else {
        PrintAt(surface, 350, y, QStringLiteral("---"));
    }
    PrintAt(surface, 410, y, number(C::FocusSkinDistance, kDistancePicture));
    PrintFitted(surface, 460, y, text(C::FieldSizeText), kFieldSizeRight - 460 - kCellMargin,
                kSmallestGridFontPt);
    PrintAt(surface, 570, y, number(C::ReferenceAirKerma, kDosePicture));
    PrintAt(surface, 660, y, number(C::KermaAreaProduct, kDosePicture));
    PrintAt(surface, 750, y, number(C::CorrectedReferenceAirKerma, kDosePicture));
    PrintAt(surface, 825, y, number(C::CorrectedKermaAreaProduct, kDosePicture));
    PrintAt(surface, 890, y, number(C::TissueToAirDoseRatio, kRatioPicture));
    PrintAt(surface, 970, y, number(C::ScatterFactor, kRatioPicture));
    PrintAt(surface, 1080, y, number(C::SkinDose, kSkinDosePicture));
}

// Row r's texts stand at y = 50·r + 70, between the rules at 50·r + 50 and 50·r + 100.
constexpr double kRowPitch = 50;
constexpr double kFirstRowTop = 100;
constexpr QColor kSelectionColour{0xCC, 0xE8, 0xFF};

int ResultsRowAt(const ResultsTable& table, double y) {
    if (y < kFirstRowTop) return 0;
    const int r = static_cast<int>((y - kFirstRowTop) / kRowPitch) + 1;
    return r < table.NextRowIndex && r <= kResultsRowCount ? r : 0;
}

void DrawRowSelection(ui::Surface& surface, int r) {
    const double top = kFirstRowTop + kRowPitch * (r - 1);
    surface.FilledBox(0, top, kRuleRight / kPicture2TwipsPerUnitX, top + kRowPitch,
                      kSelectionColour);
}

void DrawResultsTotal(ui::Surface& surface, const ResultsTable& table) {
    surface.FilledBox(kTotalCellLeft, kTotalCellTop, kTotalCellRight, kTotalCellBottom, Qt::white);
    PrintAt(surface, kTotalX, kTotalY, QString::fromStdString(ResultsTotalText(table)));
}

void DrawBannerTitle(ui::Surface& surface, BannerPlace place) {
    surface.SetForeColor(kBannerColour);
    surface.SetFont(ui::Font::TimesNewRoman, kBannerFontPt);
    PrintAt(surface, kBannerX, place.titleY, QStringLiteral("Ordevo-V3"));
    surface.SetFontName(ui::FontFamilyName(ui::Font::Meiryo));
    surface.SetCurrentPosition(kBannerX, place.nameY);
}

void DrawBannerName(ui::Surface& surface, const QString& userName, BannerPlace place) {
    PrintFitted(surface, kBannerX, place.nameY, userName, kPictureRight - kBannerX - 10,
                kSmallestBannerFontPt);
}

void EndBanner(ui::Surface& surface, const QColor& colourAfter) {
    surface.SetForeColor(colourAfter);
    surface.SetFontSize(kGridFontPt);
}

void DrawEmptyTableBanner(ui::Surface& surface, const QString& userName,
                          const QColor& colourAfter) {
    DrawBannerTitle(surface, kEmptyTableBanner);
    DrawBannerName(surface, userName, kEmptyTableBanner);
    EndBanner(surface, colourAfter);
}

}  // namespace ordevo
