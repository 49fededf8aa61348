#include "dose_report_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>

#include "cp932_text.h"
#include "dose_report_reader.h"
#include "equipment_file.h"
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
const QString kNoEquipment = QStringLiteral("（なし）");

constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, "線量レポート", 240, 240, 0, 0, Font::Meiryo, kText},
    {"Label2", Kind::Label, "", 1800, 240, 8160, 330, Font::Meiryo, kText},
    {"Label3", Kind::Label, "装置", 240, 600, 0, 0, Font::Meiryo, kText},
    {"Label4", Kind::Label, "", 1800, 600, 8160, 330, Font::Meiryo, kText},
    {"Label5", Kind::Label, "検査日", 240, 960, 0, 0, Font::Meiryo, kText},
    {"Label6", Kind::Label, "", 1800, 960, 8160, 330, Font::Meiryo, kText},
    {"Command1", Kind::Button, "開く…", 10200, 240, 1560, 420, Font::Meiryo, kText,
     " DICOM 線量レポート (RDSR) のファイルを選ぶ "},
    {"Label7", Kind::Label, "平面 A / 単一平面の装置", 240, 1440, 0, 0, Font::Meiryo, kText},
    {"Combo1", Kind::ComboBox, "", 3000, 1380, 3000, 390, Font::Meiryo, kText},
    {"Label8", Kind::Label, "FSD", 6240, 1440, 0, 0, Font::Meiryo, kText},
    {"Text1", Kind::TextBox, "", 6960, 1380, 1080, 390, Font::Meiryo, kText,
     " 空欄: 照射ごとの基準点距離 "},
    {"Label9", Kind::Label, "cm", 8160, 1440, 0, 0, Font::Meiryo, kText},
    {"Label10", Kind::Label, "平面 B の装置", 240, 1920, 0, 0, Font::Meiryo, kText},
    {"Combo2", Kind::ComboBox, "", 3000, 1860, 3000, 390, Font::Meiryo, kText},
    {"Label11", Kind::Label, "FSD", 6240, 1920, 0, 0, Font::Meiryo, kText},
    {"Text2", Kind::TextBox, "", 6960, 1860, 1080, 390, Font::Meiryo, kText,
     " 空欄: 照射ごとの基準点距離 "},
    {"Label12", Kind::Label, "cm", 8160, 1920, 0, 0, Font::Meiryo, kText},
    {"Command2", Kind::Button, "計算する", 10200, 1380, 1560, 870, Font::Meiryo, kText,
     " 選んだ装置と FSD で全照射を計算し直す "},
    {"Label13", Kind::Label, "照射ごとの皮膚線量", 240, 2400, 0, 0, Font::Meiryo, kText},
    {"Command5", Kind::Button, "皮膚線量分布", 9960, 2310, 1800, 360, Font::Meiryo, kText,
     " 照射を患者モデルの皮膚に置いた線量分布と皮膚線量報告書 "},
    {"Label14", Kind::Label, "平面ごとの合計 (計算できた照射のみ)", 240, 6480, 0, 0, Font::Meiryo,
     kText},
    {"Label15", Kind::Label, "入力欄へ送る平面", 240, 8100, 0, 0, Font::Meiryo, kText},
    {"Combo3", Kind::ComboBox, "", 2400, 8040, 1560, 390, Font::Meiryo, kText},
    {"Command3", Kind::Button, "入力欄へ", 4080, 8040, 1800, 420, Font::Meiryo, kText,
     " この平面の Ka,r・P_KA の合計と平均管電圧 (固定) "
     "を、レポートの基準点距離とフィルタとともに主画面の入力欄に入れる "},
    {"Command4", Kind::Button, "中止", 10200, 8040, 1560, 420, Font::Meiryo, kText},
    {"Label16", Kind::Label, "", 240, 8580, 11520, 330, Font::Meiryo, kText},
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

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
}

}  // namespace

// The controls the window works with, bound once from the layout table (whose names stay their
// objectNames).
struct DoseReportWindow::Ui {
    explicit Ui(const ui::Controls& c)
        : openButton(c.Get<QPushButton>("Command1")),
          fileLabel(c.Get<QLabel>("Label2")),
          deviceLabel(c.Get<QLabel>("Label4")),
          dateLabel(c.Get<QLabel>("Label6")),
          notesLabel(c.Get<QLabel>("Label16")),
          equipmentA(c.Get<QComboBox>("Combo1")),
          equipmentB(c.Get<QComboBox>("Combo2")),
          planeChoice(c.Get<QComboBox>("Combo3")),
          fsdA(c.Get<QLineEdit>("Text1")),
          fsdB(c.Get<QLineEdit>("Text2")),
          evaluateButton(c.Get<QPushButton>("Command2")),
          transferButton(c.Get<QPushButton>("Command3")),
          cancelButton(c.Get<QPushButton>("Command4")),
          mapButton(c.Get<QPushButton>("Command5")) {}

    QPushButton* openButton;      // Command1 "開く…"
    QLabel* fileLabel;            // Label2, the report's file
    QLabel* deviceLabel;          // Label4, the equipment that wrote the report
    QLabel* dateLabel;            // Label6, the study date
    QLabel* notesLabel;           // Label16, notes on the last evaluation
    QComboBox* equipmentA;        // Combo1, equipment file of plane A (or the single plane)
    QComboBox* equipmentB;        // Combo2, equipment file of plane B
    QComboBox* planeChoice;       // Combo3, the plane "入力欄へ" hands over
    QLineEdit* fsdA;              // Text1, focus-skin distance of plane A, cm
    QLineEdit* fsdB;              // Text2, focus-skin distance of plane B, cm
    QPushButton* evaluateButton;  // Command2 "計算する"
    QPushButton* transferButton;  // Command3 "入力欄へ"
    QPushButton* cancelButton;    // Command4 "中止"
    QPushButton* mapButton;       // Command5 "皮膚線量分布"
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
          this, "Grid1",
          {QStringLiteral("平面"), QStringLiteral("種類"), QStringLiteral("管電圧 kV"),
           QStringLiteral("Cu mm"), QStringLiteral("Al mm"), QStringLiteral("Ka,r mGy"),
           QStringLiteral("P_KA Gy･cm²"), QStringLiteral("基準点距離 cm"), QStringLiteral("FSD cm"),
           QStringLiteral("皮膚線量 mGy"), QStringLiteral("状態"), QStringLiteral("備考")},
          kEventsTwips)),
      planes_(MakeTable(this, "Grid2",
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
    progress_->setObjectName(QStringLiteral("Progress1"));
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
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("線量レポート (RDSR) を開く"), folder_,
                                     QStringLiteral("DICOM (*.dcm *.DCM);;すべてのファイル (*)"));
    if (!path.isEmpty()) OpenReport(path);
}

void DoseReportWindow::OpenReport(const QString& path) {
    if (busy_) return;
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

void DoseReportWindow::ShowSkinDoseMap() {
    if (busy_ || !shown_) return;
    if (!mapWindow_) mapWindow_ = new SkinDoseMapWindow(ref_, folder_, this);
    mapWindow_->ShowReport(ui_->fileLabel->text(), *shown_->Report, shown_->Evaluation);
}

void DoseReportWindow::Show(const Outcome& outcome) {
    if (!outcome.Report) {
        shown_.reset();
        events_->setRowCount(0);
        planes_->setRowCount(0);
        ui_->planeChoice->clear();
        ui_->deviceLabel->clear();
        ui_->dateLabel->clear();
        ui_->notesLabel->clear();
        ui_->transferButton->setEnabled(false);
        ui_->mapButton->setEnabled(false);
        AppMessages().Warning(
            QStringLiteral(" %1 を線量レポートとして読めませんでした \n%2")
                .arg(ui_->fileLabel->text(), QString::fromStdString(outcome.Error)));
        return;
    }
    shown_ = std::make_shared<const Outcome>(outcome);
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

    const std::vector<QStringList> rows =
        rdsr::ReportRows(ui_->fileLabel->text(), report, evaluation);
    events_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const QStringList& row = rows[r];
        const QString kv = row[6] + (row[7].isEmpty() ? QString() : QStringLiteral(" (推定)"));
        const QString status =
            row[16] == QLatin1String("evaluated") ? StatusText(rdsr::EventStatus::Evaluated)
            : row[16] == QLatin1String("skipped") ? StatusText(rdsr::EventStatus::Skipped)
                                                  : StatusText(rdsr::EventStatus::Failed);
        // The distances and filters each event was evaluated with, beside its doses.
        SetRow(events_, r,
               {row[1], row[4], kv, row[8], row[9], row[10], row[11], row[12], row[14], row[15],
                status, row[17]});
    }
    events_->resizeColumnsToContents();

    planes_->setRowCount(static_cast<int>(evaluation.Planes.size()));
    ui_->planeChoice->clear();
    for (int p = 0; p < static_cast<int>(evaluation.Planes.size()); ++p) {
        const rdsr::PlaneEvaluation& plane = evaluation.Planes[p];
        const rdsr::PlaneTotals& t = plane.Totals;
        const bool any = t.Evaluated > 0;
        SetRow(
            planes_, p,
            {QString::fromUtf8(rdsr::PlaneName(plane.Plane)),
             QString::fromStdString(plane.EquipmentName),
             QStringLiteral("%1 / %2 / %3").arg(t.Evaluated).arg(t.Skipped).arg(t.Failed),
             // The totals to the rows' precision, so that the rows visibly add up.
             Number(t.ReferenceAirKermaMGy, "###0.000"),
             Number(t.KermaAreaProductGyCm2, "###0.0000"),
             any ? Number(t.MeanKv, "##0.0") +
                       (t.SingleCase.TubeVoltageAssumed ? QStringLiteral(" (推定)") : QString())
                 : QString(),
             Number(t.SkinDoseSumMGy, "####0.00"),
             t.SingleCaseSkinDoseMGy ? Number(*t.SingleCaseSkinDoseMGy, "####0.00") : QString()});
        if (any) ui_->planeChoice->addItem(QString::fromUtf8(rdsr::PlaneName(plane.Plane)), p);
    }
    planes_->resizeColumnsToContents();
    ui_->transferButton->setEnabled(ui_->planeChoice->count() > 0);

    QStringList notes;
    for (const std::string& note : report.Notes) notes << QString::fromStdString(note);
    if (evaluation.Cancelled) notes.prepend(QStringLiteral("中止しました: 途中までの照射のみ"));
    ui_->notesLabel->setText(
        notes.isEmpty() ? QString()
                        : QStringLiteral("注記 %1 件: %2").arg(notes.size()).arg(notes.first()));
    ui_->notesLabel->setToolTip(notes.join(u'\n'));
}

void DoseReportWindow::SendTotalsToInputs() {
    if (!shown_ || ui_->planeChoice->currentIndex() < 0) return;
    const int index = ui_->planeChoice->currentData().toInt();
    const rdsr::PlaneEvaluation& plane = shown_->Evaluation.Planes.at(index);
    emit totalsForInputs(QString::fromStdString(plane.EquipmentName), plane.Totals.SingleCase);
}

}  // namespace ordevo
