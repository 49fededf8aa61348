#include "dose_report_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>

#include "cp932_text.h"
#include "dose_report_reader.h"
#include "equipment_file.h"
#include "measurement_record_file.h"
#include "number_box.h"
#include "messages.h"
#include "number_format.h"
#include "report_table.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map_window.h"
#include "twips.h"

namespace ordevo {

using ui::AppMessages;

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr double kText = 9;
constexpr int kStatusColumn = 10;  // the events table's status and note, after the numbers
constexpr int kNoteColumn = 11;
const QString kNoEquipment = QStringLiteral("（なし）");

// The window's own controls, named for what they hold.
constexpr ControlSpec kControls[] = {
    {"FileCaption", Kind::Label, "線量レポート", 240, 240, 0, 0, Font::Meiryo, kText},
    {"FileLabel", Kind::Label, "", 1800, 240, 8160, 330, Font::Meiryo, kText},
    {"DeviceCaption", Kind::Label, "装置", 240, 600, 0, 0, Font::Meiryo, kText},
    {"DeviceLabel", Kind::Label, "", 1800, 600, 8160, 330, Font::Meiryo, kText},
    {"DateCaption", Kind::Label, "検査日", 240, 960, 0, 0, Font::Meiryo, kText},
    {"DateLabel", Kind::Label, "", 1800, 960, 8160, 330, Font::Meiryo, kText},
    {"OpenButton", Kind::Button, "開く…", 10200, 240, 1560, 420, Font::Meiryo, kText,
     " DICOM 線量レポート (RDSR) のファイルを選ぶ "},
    {"EquipmentACaption", Kind::Label, "平面 A / 単一平面の装置", 240, 1440, 0, 0, Font::Meiryo,
     kText},
    {"EquipmentABox", Kind::ComboBox, "", 3000, 1380, 3000, 390, Font::Meiryo, kText},
    {"FsdACaption", Kind::Label, "FSD", 6240, 1440, 0, 0, Font::Meiryo, kText},
    {"FsdABox", Kind::TextBox, "", 6960, 1380, 1080, 390, Font::Meiryo, kText,
     " 空欄: 照射ごとの基準点距離 "},
    {"FsdAUnit", Kind::Label, "cm", 8160, 1440, 0, 0, Font::Meiryo, kText},
    {"EquipmentBCaption", Kind::Label, "平面 B の装置", 240, 1920, 0, 0, Font::Meiryo, kText},
    {"EquipmentBBox", Kind::ComboBox, "", 3000, 1860, 3000, 390, Font::Meiryo, kText},
    {"FsdBCaption", Kind::Label, "FSD", 6240, 1920, 0, 0, Font::Meiryo, kText},
    {"FsdBBox", Kind::TextBox, "", 6960, 1860, 1080, 390, Font::Meiryo, kText,
     " 空欄: 照射ごとの基準点距離 "},
    {"FsdBUnit", Kind::Label, "cm", 8160, 1920, 0, 0, Font::Meiryo, kText},
    {"EvaluateButton", Kind::Button, "計算する", 10200, 1380, 1560, 870, Font::Meiryo, kText,
     " 選んだ装置と FSD で全照射を計算し直す "},
    {"EventsCaption", Kind::Label, "照射ごとの皮膚線量", 240, 2400, 0, 0, Font::Meiryo, kText},
    {"MapButton", Kind::Button, "皮膚線量分布", 9960, 2310, 1800, 360, Font::Meiryo, kText,
     " 照射を患者モデルの皮膚に置いた線量分布と皮膚線量報告書 "},
    {"PlanesCaption", Kind::Label, "平面ごとの合計 (計算できた照射のみ)", 240, 6480, 0, 0,
     Font::Meiryo, kText},
    {"TransferPlaneCaption", Kind::Label, "入力欄へ送る平面", 240, 8100, 0, 0, Font::Meiryo, kText},
    {"TransferPlaneBox", Kind::ComboBox, "", 2400, 8040, 1560, 390, Font::Meiryo, kText},
    {"TransferButton", Kind::Button, "入力欄へ", 4080, 8040, 1800, 420, Font::Meiryo, kText,
     " この平面の Ka,r・P_KA の合計と平均管電圧 (固定) を、レポートの基準点距離とフィルタとともに"
     "主画面の入力欄に入れる "},
    {"CancelButton", Kind::Button, "中止", 10200, 8040, 1560, 420, Font::Meiryo, kText},
    {"NotesCaption", Kind::Label, "注記", 240, 8580, 0, 0, Font::Meiryo, kText},
    {"NotesList", Kind::ListBox, "", 240, 8880, 11520, 1320, Font::Meiryo, kText},
};

constexpr QRect kEventsTwips{240, 2700, 11520, 3660};
constexpr QRect kPlanesTwips{240, 6780, 11520, 1140};
constexpr QRect kProgressTwips{6120, 8100, 3840, 300};

QString Number(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

QString StatusText(rdsr::EventStatus status) {
    switch (status) {
    case rdsr::EventStatus::Evaluated: return QStringLiteral("計算");
    case rdsr::EventStatus::Skipped: return QStringLiteral("除外");
    case rdsr::EventStatus::Failed: return QStringLiteral("失敗");
    }
    return {};
}

void Place(QWidget* widget, const QRect& twips) {
    widget->setGeometry(ui::TwipsRectToPixels(twips.x(), twips.y(), twips.width(), twips.height()));
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headers,
                        const QRect& twips) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(true);
    Place(table, twips);
    return table;
}

// Numbers from `firstNumber` up to (not including) `endOfNumbers` stand right-aligned; names and
// notes left.
void SetRow(QTableWidget* table, int row, const QStringList& cells, int firstNumber,
            int endOfNumbers) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (column >= firstNumber && column < endOfNumbers)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
}

}  // namespace

// The controls the window works with, bound once from the layout table (whose names stay their
// objectNames).
struct DoseReportWindow::Ui {
    explicit Ui(const ui::Controls& c)
        : openButton(c.Get<QPushButton>("OpenButton")),
          fileLabel(c.Get<QLabel>("FileLabel")),
          deviceLabel(c.Get<QLabel>("DeviceLabel")),
          dateLabel(c.Get<QLabel>("DateLabel")),
          notesList(c.Get<QListWidget>("NotesList")),
          equipmentA(c.Get<QComboBox>("EquipmentABox")),
          equipmentB(c.Get<QComboBox>("EquipmentBBox")),
          planeChoice(c.Get<QComboBox>("TransferPlaneBox")),
          fsdA(c.Get<QLineEdit>("FsdABox")),
          fsdB(c.Get<QLineEdit>("FsdBBox")),
          evaluateButton(c.Get<QPushButton>("EvaluateButton")),
          transferButton(c.Get<QPushButton>("TransferButton")),
          cancelButton(c.Get<QPushButton>("CancelButton")),
          mapButton(c.Get<QPushButton>("MapButton")) {}

    QPushButton* openButton;      // "開く…"
    QLabel* fileLabel;            // the report's file
    QLabel* deviceLabel;          // the equipment that wrote the report
    QLabel* dateLabel;            // the study date
    QListWidget* notesList;       // every note of the last evaluation, one a line
    QComboBox* equipmentA;        // equipment file of plane A (or the single plane)
    QComboBox* equipmentB;        // equipment file of plane B
    QComboBox* planeChoice;       // the plane "入力欄へ" hands over
    QLineEdit* fsdA;              // focus-skin distance of plane A, cm
    QLineEdit* fsdB;              // focus-skin distance of plane B, cm
    QPushButton* evaluateButton;  // "計算する"
    QPushButton* transferButton;  // "入力欄へ"
    QPushButton* cancelButton;    // "中止"
    QPushButton* mapButton;       // "皮膚線量分布"
};

ui::WindowLayout DoseReportWindow::Layout() {
    return {kControls, kDoseReportWindowWidthTwips, kDoseReportWindowHeightTwips};
}

struct DoseReportWindow::Outcome {
    std::optional<rdsr::DoseReport> Report;
    std::string Error;
    rdsr::ReportEvaluation Evaluation;
};

DoseReportWindow::DoseReportWindow(const ReferenceData& ref, QString workingFolder, QWidget* parent)
    : ModelessWindow(parent),
      ref_(ref),
      folder_(std::move(workingFolder)),
      controls_(ui::CreateControls(*this, kControls)),
      ui_(std::make_unique<const Ui>(controls_)),
      progress_(new QProgressBar(this)),
      events_(MakeTable(
          this, "EventsTable",
          {QStringLiteral("平面"), QStringLiteral("種類"), QStringLiteral("管電圧 kV"),
           QStringLiteral("Cu mm"), QStringLiteral("Al mm"), QStringLiteral("Ka,r mGy"),
           QStringLiteral("P_KA Gy･cm²"), QStringLiteral("基準点距離 cm"), QStringLiteral("FSD cm"),
           QStringLiteral("皮膚線量 mGy"), QStringLiteral("状態"), QStringLiteral("備考")},
          kEventsTwips)),
      planes_(MakeTable(this, "PlanesTable",
                        {QStringLiteral("平面"), QStringLiteral("装置"),
                         QStringLiteral("計算/除外/失敗"), QStringLiteral("Ka,r 合計 mGy"),
                         QStringLiteral("P_KA 合計 Gy･cm²"), QStringLiteral("平均管電圧 kV"),
                         QStringLiteral("皮膚線量の和 mGy"), QStringLiteral("合計で一括 mGy")},
                        kPlanesTwips)),
      cancel_(std::make_shared<std::atomic<bool>>(false)),
      watcher_(new QFutureWatcher<std::shared_ptr<Outcome>>(this)) {
    setObjectName(QStringLiteral("DoseReportWindow"));
    setWindowTitle(QStringLiteral("  線量レポート (RDSR) の読込"));
    SetClientSizeTwips(kDoseReportWindowWidthTwips, kDoseReportWindowHeightTwips);
    progress_->setObjectName(QStringLiteral("Progress"));
    Place(progress_, kProgressTwips);
    progress_->setTextVisible(true);
    RefreshEquipmentLists();
    SetBusy(false);
    ui_->transferButton->setEnabled(false);

    connect(ui_->openButton, &QPushButton::clicked, this, &DoseReportWindow::ChooseReport);
    connect(ui_->evaluateButton, &QPushButton::clicked, this, &DoseReportWindow::Evaluate);
    connect(ui_->transferButton, &QPushButton::clicked, this,
            &DoseReportWindow::SendTotalsToInputs);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &DoseReportWindow::Cancel);
    connect(ui_->mapButton, &QPushButton::clicked, this, &DoseReportWindow::ShowSkinDoseMap);
    connect(watcher_, &QFutureWatcher<std::shared_ptr<Outcome>>::finished, this, [this] {
        const std::shared_ptr<Outcome> outcome = watcher_->result();
        SetBusy(false);
        Show(*outcome);
        emit evaluationFinished();
    });
}

DoseReportWindow::~DoseReportWindow() {
    cancel_->store(true);
    watcher_->waitForFinished();
}

void DoseReportWindow::RefreshEquipmentLists() {
    const QString chosenA = ui_->equipmentA->currentText();
    const QString chosenB = ui_->equipmentB->currentText();
    const QStringList files = QDir(folder_).entryList(
        {QStringLiteral("*.odv"), QStringLiteral("*.odv2"), QStringLiteral("*.odv3")}, QDir::Files,
        QDir::Name | QDir::IgnoreCase);
    ui_->equipmentA->clear();
    ui_->equipmentA->addItems(files);
    ui_->equipmentB->clear();
    ui_->equipmentB->addItem(kNoEquipment);
    ui_->equipmentB->addItems(files);
    if (files.contains(chosenA)) ui_->equipmentA->setCurrentText(chosenA);
    if (files.contains(chosenB)) ui_->equipmentB->setCurrentText(chosenB);
}

void DoseReportWindow::SetEquipmentFile(const QString& fileName) {
    RefreshEquipmentLists();
    if (!fileName.isEmpty() && ui_->equipmentA->findText(fileName) >= 0)
        ui_->equipmentA->setCurrentText(fileName);
}

void DoseReportWindow::SetBusy(bool busy) {
    busy_ = busy;
    for (QWidget* input :
         std::initializer_list<QWidget*>{ui_->openButton, ui_->evaluateButton, ui_->equipmentA,
                                         ui_->equipmentB, ui_->fsdA, ui_->fsdB, ui_->planeChoice}) {
        input->setEnabled(!busy);
    }
    ui_->transferButton->setEnabled(!busy && ui_->planeChoice->count() > 0);
    ui_->cancelButton->setEnabled(busy);
    ui_->mapButton->setEnabled(!busy && shown_ != nullptr);
    progress_->setVisible(busy);
}

void DoseReportWindow::ChooseReport() {
    if (busy_) return;
    const QStringList paths =
        chooser_ ? chooser_(this, folder_)
                 : QFileDialog::getOpenFileNames(
                       this, QStringLiteral("線量レポート (RDSR) を開く"), folder_,
                       QStringLiteral("DICOM (*.dcm *.DCM);;すべてのファイル (*)"));
    OpenReports(paths);
}

void DoseReportWindow::OpenReports(const QStringList& paths) {
    if (paths.isEmpty() || busy_) return;
    if (paths.size() > kDoseReportWindowLimit) {
        QStringList left;
        for (qsizetype i = kDoseReportWindowLimit; i < paths.size(); ++i)
            left << FileNameOf(paths[i]);
        AppMessages().Warning(QStringLiteral(" 線量レポートは同時に %1 件まで計算できます \n"
                                             "%2 は開いていません。計算が終わってから開いて下さい ")
                                  .arg(kDoseReportWindowLimit)
                                  .arg(left.join(QStringLiteral("、"))));
    }
    OpenReport(paths.first());
    for (qsizetype i = 1; i < std::min<qsizetype>(paths.size(), kDoseReportWindowLimit); ++i)
        emit reportRequested(paths[i]);
}

bool DoseReportWindow::RefuseResultsCsv(const QString& path) {
    // A results table saved as CSV is the likely wrong file: say where it belongs rather than
    // that it is no DICOM file.
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) != 0)
        return false;
    AppMessages().Warning(
        QStringLiteral(" %1 は CSV ファイルで、線量レポート (DICOM RDSR) ではありません \n"
                       "結果の表の CSV ファイルは結果一覧の「データ読込」で開いて下さい ")
            .arg(FileNameOf(path)));
    return true;
}

void DoseReportWindow::OpenReport(const QString& path) {
    if (busy_) return;
    if (RefuseResultsCsv(path)) return;
    ShowInFront();
    path_ = path;
    ui_->fileLabel->setText(FileNameOf(path));
    Evaluate();
}

std::optional<rdsr::PlaneSetup> DoseReportWindow::ReadPlane(QComboBox* equipment, QLineEdit* fsd,
                                                            const char* planeName) {
    rdsr::PlaneSetup plane;
    const QString name = equipment->currentText();
    const auto loaded = LoadEquipmentFile(QDir(folder_).filePath(name), folder_);
    if (!loaded) {
        AppMessages().Warning(
            QStringLiteral(" %1 の装置データ %2 を読み込めませんでした \n%3")
                .arg(QString::fromUtf8(planeName), name, loaded.error().message()));
        return std::nullopt;
    }
    plane.Equipment = *loaded;
    plane.EquipmentName = name.toStdString();
    // The uncertainty as every other path gives it for the same room (the map window's too).
    plane.Knowledge = KnowledgeBeside(QDir(folder_).filePath(name));
    if (!fsd->text().trimmed().isEmpty()) {
        // One number (full-width digits taken as ASCII): "5O" is refused, never read as 5 cm.
        const NumberBoxText read = ReadNumberBox(fsd->text());
        if (read.Text != fsd->text()) fsd->setText(read.Text);
        const double cm = read.Value.value_or(0);
        if (!(cm > 0)) {
            AppMessages().Warning(
                QStringLiteral(" %1 の FSD を正しく入力して下さい (空欄なら基準点距離) ")
                    .arg(QString::fromUtf8(planeName)));
            return std::nullopt;
        }
        plane.FocusSkinDistanceCm = cm;
    }
    return plane;
}

void DoseReportWindow::Evaluate() {
    if (busy_ || path_.isEmpty()) return;
    if (ui_->equipmentA->currentText().isEmpty()) {
        AppMessages().Warning(QStringLiteral(" 平面 A / 単一平面の装置データを選んで下さい "));
        return;
    }
    const std::optional<rdsr::PlaneSetup> planeA = ReadPlane(ui_->equipmentA, ui_->fsdA, "平面 A");
    if (!planeA) return;
    std::optional<rdsr::PlaneSetup> planeB;
    if (ui_->equipmentB->currentText() != kNoEquipment &&
        !ui_->equipmentB->currentText().isEmpty()) {
        planeB = ReadPlane(ui_->equipmentB, ui_->fsdB, "平面 B");
        if (!planeB) return;
    }
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    progress_->setRange(0, 0);  // reading: no count yet
    SetBusy(true);

    const std::string path = path_.toStdString();
    const QString folder = folder_;
    const ReferenceData* ref = &ref_;
    QPointer<QProgressBar> bar = progress_;
    auto cancel = cancel_;
    watcher_->setFuture(QtConcurrent::run([=]() {
        auto outcome = std::make_shared<Outcome>();
        rdsr::ReportReading reading = rdsr::ReadDoseReport(path);
        if (!reading.Report) {
            outcome->Error = reading.Error;
            return outcome;
        }
        outcome->Report = std::move(reading.Report);
        const auto progress = [bar, cancel](std::size_t done, std::size_t total) {
            if (done % 10 == 0 || done == total) {
                QMetaObject::invokeMethod(
                    bar,
                    [bar, done, total] {
                        if (!bar) return;
                        bar->setRange(0, static_cast<int>(total));
                        bar->setValue(static_cast<int>(done));
                    },
                    Qt::QueuedConnection);
            }
            return !cancel->load();
        };
        outcome->Evaluation = rdsr::EvaluateReport(
            *ref, *outcome->Report, *planeA, planeB ? &*planeB : nullptr,
            rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(folder)), progress);
        return outcome;
    }));
}

void DoseReportWindow::Cancel() { cancel_->store(true); }

void DoseReportWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        ModelessWindow::keyPressEvent(event);
        return;
    }
    if (busy_)
        Cancel();
    else
        close();
}

void DoseReportWindow::ShowSkinDoseMap() {
    if (busy_ || !shown_) return;
    if (!mapWindow_) mapWindow_ = new SkinDoseMapWindow(ref_, folder_, this);
    mapWindow_->ShowReport(ui_->fileLabel->text(), *shown_->Report, shown_->Evaluation);
}

void DoseReportWindow::Show(const Outcome& outcome) {
    if (!outcome.Report) {
        // A file that is no report costs the user nothing: the last report read stays shown,
        // with its own file name, and is what "計算する" evaluates again.
        const QString refused = ui_->fileLabel->text();
        path_ = shownPath_;
        ui_->fileLabel->setText(shownPath_.isEmpty() ? QString() : FileNameOf(shownPath_));
        AppMessages().Warning(QStringLiteral(" %1 を線量レポートとして読めませんでした \n%2%3")
                                  .arg(refused, QString::fromStdString(outcome.Error),
                                       shown_ ? QStringLiteral("\n表示中の %1 はそのままです ")
                                                    .arg(ui_->fileLabel->text())
                                              : QString()));
        return;
    }
    shown_ = std::make_shared<const Outcome>(outcome);
    shownPath_ = path_;
    ui_->mapButton->setEnabled(true);
    ShowTables();
}

void DoseReportWindow::ShowTables() {
    const rdsr::DoseReport& report = *shown_->Report;
    const rdsr::ReportEvaluation& evaluation = shown_->Evaluation;
    ui_->deviceLabel->setText(QString::fromStdString(
        report.Manufacturer + "  " + report.Model +
        (report.SerialNumber.empty() ? "" : "  (" + report.SerialNumber + ")")));
    ui_->dateLabel->setText(QString::fromStdString(rdsr::IsoDate(report.StudyDate)));

    const std::vector<rdsr::EventRow> rows = rdsr::ReportRows(report, evaluation);
    events_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const rdsr::EventRow& row = rows[r];
        const rdsr::EventRowTexts t = rdsr::FormatEventRow(row);
        // The distances and filters each event was evaluated with, beside its doses.
        SetRow(events_, r,
               {rdsr::ShownPlaneName(row.Plane), rdsr::ShownEventTypeName(row.Type),
                t.TubeVoltage + (row.TubeVoltageAssumed ? QStringLiteral(" (推定)") : QString()),
                t.Copper, t.Aluminium, t.ReferenceAirKerma, t.KermaAreaProduct, t.ReferenceDistance,
                t.FocusSkinDistance, t.SkinDose, StatusText(row.Status),
                QString::fromStdString(row.Note)},
               2, kStatusColumn);
        // A long note stays readable in full where the column cuts it.
        events_->item(r, kNoteColumn)->setToolTip(QString::fromStdString(row.Note));
    }
    events_->resizeColumnsToContents();

    planes_->setRowCount(static_cast<int>(evaluation.Planes.size()));
    ui_->planeChoice->clear();
    for (int p = 0; p < static_cast<int>(evaluation.Planes.size()); ++p) {
        const rdsr::PlaneEvaluation& plane = evaluation.Planes[p];
        const rdsr::PlaneTotals& t = plane.Totals;
        const bool any = t.Evaluated > 0;
        SetRow(planes_, p,
               {rdsr::ShownPlaneName(plane.Plane), QString::fromStdString(plane.EquipmentName),
                QStringLiteral("%1 / %2 / %3").arg(t.Evaluated).arg(t.Skipped).arg(t.Failed),
                // The totals to the rows' precision, so that the rows visibly add up.
                Number(t.ReferenceAirKermaMGy, "###0.000"),
                Number(t.KermaAreaProductGyCm2, "###0.0000"),
                any ? Number(t.MeanKv, "##0.0") +
                          (t.SingleCase.TubeVoltageAssumed ? QStringLiteral(" (推定)") : QString())
                    : QString(),
                Number(t.SkinDoseSumMGy, "####0.00"),
                t.SingleCaseSkinDoseMGy ? Number(*t.SingleCaseSkinDoseMGy, "####0.00") : QString()},
               2, 8);
        if (any) ui_->planeChoice->addItem(rdsr::ShownPlaneName(plane.Plane), p);
    }
    planes_->resizeColumnsToContents();
    ui_->transferButton->setEnabled(ui_->planeChoice->count() > 0);

    ui_->notesList->clear();
    for (const std::string& note : rdsr::ReportNotes(report, evaluation))
        ui_->notesList->addItem(QString::fromStdString(note));
}

void DoseReportWindow::SendTotalsToInputs() {
    if (!shown_ || ui_->planeChoice->currentIndex() < 0) return;
    const int index = ui_->planeChoice->currentData().toInt();
    const rdsr::PlaneEvaluation& plane = shown_->Evaluation.Planes.at(index);
    emit totalsForInputs(QString::fromStdString(plane.EquipmentName), plane.Totals.SingleCase);
}

}  // namespace ordevo
