// The results window: wires its buttons to the grid drawing, the total, printing, the CSV
// windows and the clear.
#include "form10.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <array>

#include "control_table.h"
#include "form2.h"
#include "form3.h"
#include "messages.h"
#include "picture_box.h"
#include "results_addition.h"
#include "results_grid.h"
#include "results_print.h"
#include "twips.h"

namespace ordevo {
namespace {

constexpr ui::ControlSpec kForm10Controls[] = {
    {"Picture2", ui::Kind::PictureBox, "", 120, 120, 15285, 6975, ui::Font::Meiryo, 9},
    // Over the picture's lower right, just left of the cell of the total.
    {"Command1",
     ui::Kind::Button,
     "合 計 ⇒",
     12600,
     6680,
     1215,
     420,
     ui::Font::Meiryo,
     9,
     {},
     {},
     ui::Overlap::Allowed},
    {"Command5", ui::Kind::Button, "データ保存", 7560, 7200, 1575, 495},
    {"Command6", ui::Kind::Button, "データ読込", 9360, 7200, 1575, 495},
    {"Command4", ui::Kind::Button, "印 刷", 11160, 7200, 1095, 495},
    {"Command7", ui::Kind::Button, "データ消去", 12480, 7200, 1575, 495},
    {"Command2", ui::Kind::Button, "背面へ", 14280, 7200, 1095, 495},
    {"Label52", ui::Kind::Label, "Calculated by Ordevo-V3", 240, 7320, 3255, 345,
     ui::Font::TimesNewRoman, 12},
    {"Label1", ui::Kind::Label, "User name", 4080, 7320, 1500, 420, ui::Font::Meiryo, 9},
};

// The black frame of the client area, (0, 0) to (15480, 7920) twips; the client area is one
// pixel larger so that its right and bottom sides are inside.
constexpr int kFrameRightTwips = 15480;
constexpr int kFrameBottomTwips = 7920;
constexpr int kClientWidthTwips = kFrameRightTwips + ui::kTwipsPerPixel;
constexpr int kClientHeightTwips = kFrameBottomTwips + ui::kTwipsPerPixel;

constexpr const char* kTableFullMessage =
    "　これ以上の計算結果は保存できません。現在の結果表を一旦保存し、データ消去後、"
    "新たな結果表に保存して下さい。";

}  // namespace

struct Form10::Impl {
    Form10& window;
    ResultsTable table;
    QString userName;
    ui::Controls controls;
    // The controls, bound once from the layout table (whose names stay their objectNames).
    ui::PictureBox* picture;   // Picture2, the grid of the results table
    QPushButton* totalButton;  // Command1 "合 計 ⇒"
    QPushButton* backButton;   // Command2 "背面へ"
    QPushButton* printButton;  // Command4 "印 刷"
    QPushButton* saveButton;   // Command5 "データ保存"
    QPushButton* loadButton;   // Command6 "データ読込"
    QPushButton* clearButton;  // Command7 "データ消去"
    QLabel* userNameLabel;     // Label1
    Form2* form2 = nullptr;
    Form3* form3 = nullptr;
    bool unsavedRows = false;  // rows added since the last save, load or clear
    bool totalShown = false;   // "合 計 ⇒" wrote the total, which must follow the rows
    // Where a row came from, for the printed page: the equipment file a row computed in this
    // session was evaluated with, and its uncertainty; or that it was loaded from `loadedFrom`.
    // Kept by row beside the table, so a deletion moves it with its row.
    struct RowSource {
        QString equipmentFileName;
        std::optional<double> relativeUncertainty;  // k = 2
        bool loaded = false;
    };
    std::array<RowSource, kResultsRowCount + 1> rowSources;
    QString loadedFrom;
    int selectedRow = 0;  // clicked in the grid: データ消去 may delete it alone; 0: none

    explicit Impl(Form10& w)
        : window(w),
          controls(ui::CreateControls(w, kForm10Controls)),
          picture(controls.Get<ui::PictureBox>("Picture2")),
          totalButton(controls.Get<QPushButton>("Command1")),
          backButton(controls.Get<QPushButton>("Command2")),
          printButton(controls.Get<QPushButton>("Command4")),
          saveButton(controls.Get<QPushButton>("Command5")),
          loadButton(controls.Get<QPushButton>("Command6")),
          clearButton(controls.Get<QPushButton>("Command7")),
          userNameLabel(controls.Get<QLabel>("Label1")) {}

    QColor ButtonTextColour() const { return window.palette().color(QPalette::ButtonText); }

    // A name longer than its label ends in "…"; the whole name is in the tool tip.
    void ShowNameInLabel(const QString& name) {
        QLabel* label = userNameLabel;
        label->setText(
            label->fontMetrics().elidedText(name, Qt::ElideRight, label->contentsRect().width()));
        label->setToolTip(label->text() == name ? QString() : name);
    }

    void ShowResultsGrid() {
        picture->SetAllLineElementsVisible(true);
        totalButton->setVisible(true);
    }
    void HideResultsGrid() {
        picture->SetAllLineElementsVisible(false);
        totalButton->setVisible(false);
    }

    void ShowResultsTotal() {
        DrawResultsTotal(*picture, table);
        totalShown = true;
    }

    // The table holds no rows of any origin now.
    void ForgetRowSources() {
        rowSources.fill(RowSource{});
        loadedFrom.clear();
        totalShown = false;
        selectedRow = 0;
    }

    void Print() {
        PrintNotes notes;
        notes.rowUncertainties.resize(rowSources.size());
        notes.rowEquipmentFileNames.resize(rowSources.size());
        for (int r = 1; r < table.NextRowIndex && r <= kResultsRowCount; ++r) {
            const RowSource& source = rowSources[r];
            if (!source.equipmentFileName.isEmpty() &&
                !notes.equipmentFileNames.contains(source.equipmentFileName))
                notes.equipmentFileNames << source.equipmentFileName;
            if (source.loaded) ++notes.loadedRows;  // loaded rows come first: rows 1..n
            notes.rowUncertainties[r] = source.relativeUncertainty;
            notes.rowEquipmentFileNames[r] = source.equipmentFileName;
        }
        notes.loadedFrom = notes.loadedRows > 0 ? loadedFrom : QString();
        PrintResultsTable(table, userName, ui::AppPrintService(), notes);
    }

    void OpenSaveWindow() {
        if (table.NextRowIndex == 1) {
            ui::AppMessages().Warning(QStringLiteral("保存するデータがありません"));
            return;
        }
        form2->Open();
    }

    void OpenReadWindow() {
        if (table.NextRowIndex > 1 &&
            ui::AppMessages().AskOkCancel(
                QStringLiteral(
                    "　ファイル読出を行うと、現在表示されている計算結果は削除されます。"),
                ui::MessageIcon::None, ui::WithBeep::Yes) != ui::Answer::Ok) {
            return;
        }
        form3->Open();
    }

    // "データ消去": with a row selected, that row alone ("いいえ" deletes nothing); else, after
    // a question that Enter answers with Cancel, the whole table. Two Enter presses never
    // empty the table: all rows go only when no row is selected and OK is chosen.
    void ClearTable() {
        if (selectedRow > 0) {
            if (ui::AppMessages().AskYesNo(
                    QStringLiteral("　選択した %1 行目を削除しますか？　\n"
                                   "（すべての行を削除するには、その行をもう一度クリックして"
                                   "選択を外してから「データ消去」を押して下さい）")
                        .arg(selectedRow),
                    ui::MessageIcon::Question, ui::WithBeep::Yes) == ui::Answer::Yes)
                DeleteSelectedRow();
            return;
        }
        if (ui::AppMessages().AskOkCancel(
                QStringLiteral("　現在表示されている計算結果は削除されます　"),
                ui::MessageIcon::None, ui::WithBeep::Yes,
                ui::DefaultAnswer::Cancel) != ui::Answer::Ok) {
            return;
        }
        ResetResultsTable(table);
        ShowEmptyTable();
        emit window.ResultsCleared();
    }

    void ShowEmptyTable() {
        picture->Clear();
        HideResultsGrid();
        DrawEmptyTableBanner(*picture, userName, ButtonTextColour());
        unsavedRows = false;
        ForgetRowSources();
    }

    void DeleteSelectedRow() {
        const int row = selectedRow;
        selectedRow = 0;
        DeleteResultsRow(table, row);
        std::move(rowSources.begin() + row + 1, rowSources.end(), rowSources.begin() + row);
        rowSources.back() = RowSource{};
        if (table.NextRowIndex == 1) {
            ShowEmptyTable();
            return;
        }
        unsavedRows = true;
        RedrawTable();
    }

    // A click in the grid selects the row under it; a second click, or one outside the rows,
    // releases the selection.
    void SelectRowAt(double y) {
        const int row = ResultsRowAt(table, y);
        const int chosen = row == selectedRow ? 0 : row;
        if (chosen == selectedRow) return;
        selectedRow = chosen;
        RedrawTable();
    }

    // The grid afresh from the stored rows: the selection's band under its row, and a total
    // that was asked for written again for the rows held now.
    void RedrawTable() {
        picture->Clear();
        ShowResultsGrid();
        if (selectedRow > 0) DrawRowSelection(*picture, selectedRow);
        DrawResultsHeader(*picture);
        for (int r = 1; r < table.NextRowIndex && r <= kResultsRowCount; ++r)
            DrawResultsRow(*picture, table.Rows[r], r);
        if (totalShown) DrawResultsTotal(*picture, table);
    }

    // After a load: every row is the file's.
    void RedrawLoadedTable(const QString& fileName) {
        unsavedRows = false;
        ForgetRowSources();
        loadedFrom = fileName;
        for (int r = 1; r < table.NextRowIndex && r <= kResultsRowCount; ++r)
            rowSources[r].loaded = true;
        RedrawTable();
    }
};

Form10::Form10(const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), impl_(std::make_unique<Impl>(*this)) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("    Calculation Results by Ordevo-V3"));
    SetClientSizeTwips(kClientWidthTwips, kClientHeightTwips);
    impl_->picture->SetUnitTwips(kPicture2TwipsPerUnitX, kPicture2TwipsPerUnitY);
    impl_->picture->SetBackColor(Qt::white);
    impl_->picture->Clear();
    AddResultsGridLines(*impl_->picture);
    impl_->totalButton->setVisible(false);

    impl_->form2 = new Form2(impl_->table, workingFolder, this);
    impl_->form3 = new Form3(workingFolder, this);
    connect(impl_->form2, &Form2::saved, this, [this] { impl_->unsavedRows = false; });
    connect(impl_->form3, &Form3::loaded, this,
            [this](const ResultsTable& loaded, const QString& fileName) {
                impl_->table = loaded;
                impl_->RedrawLoadedTable(fileName);
            });

    Impl& d = *impl_;
    connect(d.totalButton, &QPushButton::clicked, this, [&d] { d.ShowResultsTotal(); });
    connect(d.backButton, &QPushButton::clicked, this, &Form10::mainWindowRequested);
    connect(d.printButton, &QPushButton::clicked, this, [&d] { d.Print(); });
    connect(d.saveButton, &QPushButton::clicked, this, [&d] { d.OpenSaveWindow(); });
    connect(d.loadButton, &QPushButton::clicked, this, [&d] { d.OpenReadWindow(); });
    connect(d.clearButton, &QPushButton::clicked, this, [&d] { d.ClearTable(); });
    connect(d.picture, &ui::PictureBox::clicked, this,
            [&d](QPointF point) { d.SelectRowAt(point.y()); });
}

Form10::~Form10() = default;

ui::WindowLayout Form10::Layout() {
    return {kForm10Controls, kClientWidthTwips, kClientHeightTwips};
}

const ui::Controls& Form10::Controls() const { return impl_->controls; }

void Form10::BeginStartUp() {
    ResetResultsTable(impl_->table);
    impl_->unsavedRows = false;
    impl_->ForgetRowSources();
    // A second load of the main window finds rows drawn on the picture; the banner needs it clean.
    impl_->picture->Clear();
    impl_->HideResultsGrid();
    DrawBannerTitle(*impl_->picture, kEmptyTableBanner);
    show();
}

void Form10::FinishStartUp(const std::optional<QString>& userName) {
    if (userName) {
        impl_->userName = *userName;
        DrawBannerName(*impl_->picture, *userName, kEmptyTableBanner);
        EndBanner(*impl_->picture, Qt::black);
        impl_->ShowNameInLabel(*userName);
    } else {
        EndBanner(*impl_->picture, impl_->ButtonTextColour());
    }
}

void Form10::ShowUserName(const QString& userName) {
    impl_->userName = userName;
    impl_->ShowNameInLabel(userName);
    // With rows on the grid the panel is not shown: clearing the picture would wipe rows that
    // are drawn only once. The new name appears at the next clear and on the printout.
    if (impl_->table.NextRowIndex > 1) return;
    ui::PictureBox& picture = *impl_->picture;
    picture.Clear();
    DrawBannerTitle(picture, kNamePanel);
    DrawBannerName(picture, userName, kNamePanel);
    EndBanner(picture, impl_->ButtonTextColour());
}

bool Form10::AddCurrentResult(const EvaluatedCase& evaluated, const QString& equipmentFileName) {
    ResultsTable& table = impl_->table;
    const int row = table.NextRowIndex;
    const bool selectionShown = impl_->selectedRow > 0;
    const AdditionOutcome outcome = AppendResultsRow(table, MakeResultsRow(evaluated));
    if (outcome == AdditionOutcome::RefusedFull) {
        // No place for the row: the warning of the 15th addition again, nothing changed.
        ui::AppMessages().Warning(QString::fromUtf8(kTableFullMessage), ui::WithBeep::Yes);
        ShowInFront();
        return false;
    }
    impl_->rowSources[row] = Impl::RowSource{
        equipmentFileName,
        evaluated.Uncertainty
            ? std::optional<double>(evaluated.Uncertainty->RelativeExpandedUncertainty())
            : std::nullopt,
        false};
    ui::PictureBox& picture = *impl_->picture;
    if (selectionShown) {  // the new row ends the selection
        impl_->selectedRow = 0;
        impl_->RedrawTable();
    } else {
        if (row == 1) {
            picture.Clear();
            impl_->ShowResultsGrid();
            DrawResultsHeader(picture);
        }
        DrawResultsRow(picture, table.Rows[row], row);
        // A total written earlier would no longer be the sum of the rows.
        if (impl_->totalShown) DrawResultsTotal(picture, table);
    }
    impl_->unsavedRows = true;
    if (outcome == AdditionOutcome::AddedNowFull) {
        ui::AppMessages().Warning(QString::fromUtf8(kTableFullMessage), ui::WithBeep::Yes);
    }
    ShowInFront();
    emit resultAdded();
    return true;
}

bool Form10::HasUnsavedRows() const { return impl_->unsavedRows; }

const ResultsTable& Form10::Table() const { return impl_->table; }

ui::PictureBox* Form10::Picture2() const { return impl_->picture; }

const QString& Form10::UserName() const { return impl_->userName; }

void Form10::PaintClient(QPainter& painter) {
    painter.setPen(QPen(Qt::black, 1));
    const int right = ui::TwipsToPixels(kFrameRightTwips);
    const int bottom = ui::TwipsToPixels(kFrameBottomTwips);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(right, bottom, 0, bottom);
    painter.drawLine(0, bottom, 0, 0);
}

}  // namespace ordevo
