#include "skin_dose_map_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolTip>
#include <QtConcurrent/QtConcurrentRun>

#include "cp932_text.h"
#include "file_name_check.h"
#include "follow_up_judgement.h"
#include "follow_up_levels.h"
#include "number_box.h"
#include "messages.h"
#include "number_format.h"
#include "patient_lying_name.h"
#include "picture_box.h"
#include "report_output.h"
#include "report_table.h"
#include "room_profile.h"
#include "room_commissioning.h"
#include "room_fit_dialog.h"
#include "room_profile_file.h"
#include "dose_report_reader.h"
#include "scatter_kernel_file.h"
#include "skin_dose_report_page.h"
#include "twips.h"

namespace ordevo {

using ui::AppMessages;

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr double kText = 9;
const QString kDicomProfile = QStringLiteral("DICOM の定義");
const QString kMeasureRoom = QStringLiteral("測定から作る…");
constexpr double kProtocolMoveCm = 10.0;  // the printed protocol's move

constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, "身長", 120, 180, 0, 0, Font::Meiryo, kText},
    {"Text1", Kind::TextBox, "", 600, 120, 780, 390, Font::Meiryo, kText,
     " 患者の身長 cm (空欄: レポートの値、なければ 170 cm) "},
    {"Label2", Kind::Label, "cm", 1440, 180, 0, 0, Font::Meiryo, kText},
    {"Label3", Kind::Label, "体重", 1920, 180, 0, 0, Font::Meiryo, kText},
    {"Text2", Kind::TextBox, "", 2400, 120, 780, 390, Font::Meiryo, kText,
     " 患者の体重 kg (空欄: レポートの値、なければ 70 kg) "},
    {"Label4", Kind::Label, "kg", 3240, 180, 0, 0, Font::Meiryo, kText},
    {"Label5", Kind::Label, "第 1 アイソセンタ", 3720, 180, 0, 0, Font::Meiryo, kText},
    {"Text3", Kind::TextBox, "20", 5280, 120, 720, 390, Font::Meiryo, kText,
     " 最初の照射のアイソセンタの位置: 体幹の上端からの距離 cm "},
    {"Label6", Kind::Label, "cm", 6060, 180, 0, 0, Font::Meiryo, kText},
    {"Label7", Kind::Label, "体位", 6540, 180, 0, 0, Font::Meiryo, kText},
    {"Combo1", Kind::ComboBox, "", 7020, 120, 2280, 390, Font::Meiryo, kText},
    {"Label8", Kind::Label, "ファントム", 9420, 180, 0, 0, Font::Meiryo, kText},
    {"Combo2", Kind::ComboBox, "", 10380, 120, 1320, 390, Font::Meiryo, kText},
    {"Label9", Kind::Label, "セル", 11820, 180, 0, 0, Font::Meiryo, kText},
    {"Combo3", Kind::ComboBox, "", 12300, 120, 1020, 390, Font::Meiryo, kText},
    {"Label10", Kind::Label, "部屋", 13440, 180, 0, 0, Font::Meiryo, kText},
    {"Combo4", Kind::ComboBox, "", 13920, 120, 2040, 390, Font::Meiryo, kText,
     " 部屋プロファイル (装置データと同じフォルダの *.room)。「測定から作る…」: "
     "部屋の線量レポートから作る "},
    {"Command1", Kind::Button, "印刷…", 16080, 120, 1260, 420, Font::Meiryo, kText,
     " 皮膚線量報告書 (A4 1 ページ) を印刷する "},
    {"Command2", Kind::Button, "PDF 保存…", 17460, 120, 1320, 420, Font::Meiryo, kText,
     " 皮膚線量報告書を PDF ファイルに保存する "},
    {"Label11", Kind::Label, "", 120, 660, 11280, 330, Font::Meiryo, kText},
    {"Label15", Kind::Label, "表示", 11520, 660, 0, 0, Font::Meiryo, kText},
    {"Combo5", Kind::ComboBox, "", 12000, 600, 2880, 390, Font::Meiryo, kText,
     " 展開図、または選んだ照射の管球側から見た体幹 "},
    {"Check1", Kind::CheckBox, "患者名・ID を印刷", 16080, 660, 2700, 330, Font::Meiryo, kText},
    {"Label12", Kind::Label, "", 12900, 1080, 5880, 2100, Font::Meiryo, kText},
    {"Label13", Kind::Label, "照射 (選ぶと照射野を緑の線で囲みます)", 12900, 3240, 0, 0,
     Font::Meiryo, kText},
    {"Label14", Kind::Label, "皮膚に割り付けられない照射", 12900, 7200, 0, 0, Font::Meiryo, kText},
    {"Label16", Kind::Label, "注記", 120, 9900, 0, 0, Font::Meiryo, kText},
    {"List2", Kind::ListBox, "", 720, 9840, 18060, 1080, Font::Meiryo, kText},
};

constexpr char kDefaultLandmark[] = "20";

constexpr QRect kPictureTwips{120, 1080, 12600, 8700};
constexpr QRect kEventsTwips{12900, 3540, 5880, 3540};
constexpr QRect kUnmappedTwips{12900, 7500, 5880, 2280};

void Place(QWidget* widget, const QRect& twips) {
    widget->setGeometry(ui::TwipsRectToPixels(twips.x(), twips.y(), twips.width(), twips.height()));
}

QString Num(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

}  // namespace

// What every map of the shown report is made from, shared read-only with the worker.
struct SkinDoseMapWindow::Inputs {
    QString ReportFile;
    rdsr::DoseReport Report;
    rdsr::ReportEvaluation Evaluation;
    ScatterKernelLoader LoadKernel;  // caching; used by one worker at a time
};

// One request: the placement in the boxes when it was made.
struct SkinDoseMapWindow::Job {
    int Generation = 0;
    map::MapSettings Settings;
    map::PatientLying Lying = map::PatientLying::AsReported;
    std::shared_ptr<const Inputs> From;
};

struct SkinDoseMapWindow::Result {
    int Generation = 0;
    // The patient placement's share of the PSD's uncertainty (four maps more) is added in a
    // second pass after the map is shown, so the map itself appears at once.
    bool PlacementDone = false;
    map::MapSettings Settings;
    map::PatientLying Lying = map::PatientLying::AsReported;
    std::shared_ptr<const Inputs> From;
    map::SkinDoseMap Map;
    QString Error;
};

struct SkinDoseMapWindow::Ui {
    explicit Ui(const ui::Controls& c)
        : height(c.Get<QLineEdit>("Text1")),
          weight(c.Get<QLineEdit>("Text2")),
          landmark(c.Get<QLineEdit>("Text3")),
          lying(c.Get<QComboBox>("Combo1")),
          phantom(c.Get<QComboBox>("Combo2")),
          cell(c.Get<QComboBox>("Combo3")),
          room(c.Get<QComboBox>("Combo4")),
          printButton(c.Get<QPushButton>("Command1")),
          pdfButton(c.Get<QPushButton>("Command2")),
          status(c.Get<QLabel>("Label11")),
          withPatient(c.Get<QCheckBox>("Check1")),
          findings(c.Get<QLabel>("Label12")),
          view(c.Get<QComboBox>("Combo5")) {}

    QLineEdit* height;         // Text1, cm; blank: the report's
    QLineEdit* weight;         // Text2, kg; blank: the report's
    QLineEdit* landmark;       // Text3, the first isocentre from the top of the trunk, cm
    QComboBox* lying;          // Combo1, as reported or head/feet first, supine/prone
    QComboBox* phantom;        // Combo2, trunk or plane
    QComboBox* cell;           // Combo3, 1 or 0.5 cm
    QComboBox* room;           // Combo4, the room profile
    QPushButton* printButton;  // Command1 "印刷…"
    QPushButton* pdfButton;    // Command2 "PDF 保存…"
    QLabel* status;            // Label11, mapping or the map's notes
    QCheckBox* withPatient;    // Check1, the patient's name and ID on the page
    QLabel* findings;          // Label12, PSD, its place, the upper bound
    QComboBox* view;           // Combo5, unwrapped or from the chosen event's tube
};

ui::WindowLayout SkinDoseMapWindow::Layout() {
    return {kControls, kSkinDoseMapWindowWidthTwips, kSkinDoseMapWindowHeightTwips};
}

SkinDoseMapWindow::SkinDoseMapWindow(const ReferenceData& ref, QString workingFolder,
                                     QWidget* parent)
    : ModelessWindow(parent),
      ref_(ref),
      folder_(std::move(workingFolder)),
      controls_(ui::CreateControls(*this, kControls)),
      ui_(std::make_unique<const Ui>(controls_)),
      picture_(new ui::PictureBox(this)),
      events_(new QTableWidget(0, 6, this)),
      unmapped_(new QListWidget(this)),
      notes_(controls_.Get<QListWidget>("List2")),
      watcher_(new QFutureWatcher<std::shared_ptr<const Result>>(this)) {
    setObjectName(QStringLiteral("SkinDoseMapWindow"));
    setWindowTitle(QStringLiteral("  皮膚線量分布"));
    SetClientSizeTwips(kSkinDoseMapWindowWidthTwips, kSkinDoseMapWindowHeightTwips);
    picture_->setObjectName(QStringLiteral("Picture1"));
    Place(picture_, kPictureTwips);
    picture_->setMouseTracking(true);
    picture_->installEventFilter(this);
    picture_->SetFont(Font::Meiryo, 8);
    events_->setObjectName(QStringLiteral("Grid1"));
    events_->setHorizontalHeaderLabels({QStringLiteral("平面"), QStringLiteral("種類"),
                                        QStringLiteral("角度 °"), QStringLiteral("皮膚線量 mGy"),
                                        QStringLiteral("割付"), QStringLiteral("UID")});
    events_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    events_->setSelectionBehavior(QAbstractItemView::SelectRows);
    events_->setSelectionMode(QAbstractItemView::SingleSelection);
    events_->verticalHeader()->setDefaultSectionSize(20);
    events_->horizontalHeader()->setStretchLastSection(true);
    Place(events_, kEventsTwips);
    unmapped_->setObjectName(QStringLiteral("List1"));
    Place(unmapped_, kUnmappedTwips);
    // A note is read whole, however long: wrapped, never cut at the list's edge.
    for (QListWidget* list : {unmapped_, notes_}) {
        list->setWordWrap(true);
        list->setTextElideMode(Qt::ElideNone);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    ui_->findings->setWordWrap(true);
    ui_->findings->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui_->status->setTextInteractionFlags(Qt::NoTextInteraction);

    for (map::PatientLying lying : map::PatientLyingChoices())
        ui_->lying->addItem(map::PatientLyingName(lying), static_cast<int>(lying));
    ui_->phantom->addItem(QStringLiteral("体幹"), static_cast<int>(map::PhantomKind::Torso));
    ui_->phantom->addItem(QStringLiteral("平板"), static_cast<int>(map::PhantomKind::Plane));
    ui_->cell->addItem(QStringLiteral("1 cm"), 1.0);
    ui_->cell->addItem(QStringLiteral("0.5 cm"), 0.5);
    ui_->view->addItem(QStringLiteral("展開図"));
    ui_->view->addItem(QStringLiteral("管球側から (選んだ照射)"));
    ui_->printButton->setEnabled(false);
    ui_->pdfButton->setEnabled(false);
    connect(ui_->view, &QComboBox::currentIndexChanged, this, [this] { DrawMap(); });

    // Every placement control maps again at once: the boxes when their text is confirmed (Enter
    // or leaving the box), the lists when their choice changes.
    for (QLineEdit* box : {ui_->height, ui_->weight, ui_->landmark})
        connect(box, &QLineEdit::editingFinished, this, [this, box] {
            if (box->isModified()) {
                box->setModified(false);
                Remap();
            }
        });
    for (QComboBox* list : {ui_->lying, ui_->phantom, ui_->cell})
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            if (inputs_) Remap();
        });
    // The last entry of the room list is an action, never a profile: choosing it keeps the
    // profile chosen before and opens the measurement.
    connect(ui_->room, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (ui_->room->itemText(index) == kMeasureRoom) {
            {
                const QSignalBlocker quiet(ui_->room);
                ui_->room->setCurrentIndex(roomIndex_);
            }
            QMetaObject::invokeMethod(
                this, [this] { MeasureRoom(); }, Qt::QueuedConnection);
            return;
        }
        roomIndex_ = index;
        if (inputs_) Remap();
    });
    connect(events_, &QTableWidget::itemSelectionChanged, this, [this] {
        outline_.clear();
        const int row = events_->currentRow();
        if (shown_ && row >= 0 && events_->item(row, 0) && events_->item(row, 0)->isSelected())
            outline_ = map::EventFieldCells(shown_->Map, static_cast<std::size_t>(row));
        DrawMap();
    });
    connect(ui_->printButton, &QPushButton::clicked, this, &SkinDoseMapWindow::PrintReport);
    connect(ui_->pdfButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("皮膚線量報告書を PDF に保存"),
            map::SuggestedReportPdfPath(
                folder_, inputs_ ? QFileInfo(inputs_->ReportFile).completeBaseName() : QString()),
            QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty()) SavePdf(path);
    });
    connect(watcher_, &QFutureWatcher<std::shared_ptr<const Result>>::finished, this, [this] {
        running_ = false;
        Show(watcher_->result());
        if (pending_)
            StartPending();
        else if (shown_ && !shown_->PlacementDone)
            StartPlacement();
    });
}

SkinDoseMapWindow::~SkinDoseMapWindow() { watcher_->waitForFinished(); }

const map::SkinDoseMap* SkinDoseMapWindow::ShownMap() const {
    return shown_ ? &shown_->Map : nullptr;
}

void SkinDoseMapWindow::FillRoomProfiles(const std::string& manufacturer) {
    const QSignalBlocker quiet(ui_->room);
    const QString chosen = ui_->room->currentText();
    const QStringList files = QDir(folder_).entryList({QStringLiteral("*.room")}, QDir::Files,
                                                      QDir::Name | QDir::IgnoreCase);
    ui_->room->clear();
    ui_->room->addItem(kDicomProfile);
    ui_->room->addItems(files);
    ui_->room->addItem(kMeasureRoom);
    const QString maker = ManufacturerRoomFileName(manufacturer).value_or(QString());
    if (files.contains(maker))
        ui_->room->setCurrentText(maker);
    else if (files.contains(chosen))
        ui_->room->setCurrentText(chosen);
    roomIndex_ = ui_->room->currentIndex();
}

void SkinDoseMapWindow::MeasureRoom() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("部屋の測定の線量レポートを開く"), folder_,
        QStringLiteral("DICOM (*.dcm *.DCM);;すべてのファイル (*)"));
    if (!path.isEmpty()) OpenRoomFit(path);
}

RoomFitDialog* SkinDoseMapWindow::OpenRoomFit(const QString& reportFile) {
    const rdsr::ReportReading read = rdsr::ReadDoseReport(reportFile.toStdString());
    if (!read.Report) {
        AppMessages().Warning(
            QStringLiteral(" 線量レポートを読めません \n%1: %2")
                .arg(QFileInfo(reportFile).fileName(), QString::fromStdString(read.Error)));
        return nullptr;
    }
    const QString word = ManufacturerRoomFileName(read.Report->Manufacturer)
                             .value_or(QStringLiteral("部屋.room"))
                             .chopped(5);
    RoomCommissioning commissioning = CommissionRoom(*read.Report, kProtocolMoveCm, reportFile,
                                                     word + QStringLiteral("-実測"), folder_);
    auto* dialog = new RoomFitDialog(std::move(commissioning), kProtocolMoveCm, folder_,
                                     word + QStringLiteral("-実測"), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const QString saved = QFileInfo(dialog->SavedPath()).fileName();
        FillRoomProfiles(inputs_ ? inputs_->Report.Manufacturer : std::string());
        ui_->room->setCurrentText(saved);  // maps again with the new profile
    });
    dialog->open();
    return dialog;
}

void SkinDoseMapWindow::ResetPlacement() {
    // Quiet: the report's one map follows in ShowReport.
    const QSignalBlocker a(ui_->lying), b(ui_->phantom), c(ui_->cell), d(ui_->view);
    ui_->height->clear();
    ui_->weight->clear();
    ui_->landmark->setText(QString::fromLatin1(kDefaultLandmark));
    for (QLineEdit* box : {ui_->height, ui_->weight, ui_->landmark}) box->setModified(false);
    ui_->lying->setCurrentIndex(0);
    ui_->phantom->setCurrentIndex(0);
    ui_->cell->setCurrentIndex(0);
    ui_->view->setCurrentIndex(0);
    ui_->withPatient->setChecked(false);
    notes_->clear();
    unmapped_->clear();
}

void SkinDoseMapWindow::ShowReport(const QString& reportFile, const rdsr::DoseReport& report,
                                   const rdsr::ReportEvaluation& evaluation) {
    auto inputs = std::make_shared<Inputs>();
    inputs->ReportFile = reportFile;
    inputs->Report = report;
    inputs->Evaluation = evaluation;
    inputs->LoadKernel = rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(folder_));
    inputs_ = inputs;
    FillRoomProfiles(report.Manufacturer);
    shown_.reset();
    outline_.clear();
    ResetPlacement();

    // The events, in the report's order (a row's index is the event's).
    std::vector<const rdsr::EventEvaluation*> evaluated(report.Events.size(), nullptr);
    for (const rdsr::PlaneEvaluation& plane : evaluation.Planes)
        for (const rdsr::EventEvaluation& e : plane.Events)
            if (e.EventIndex < evaluated.size()) evaluated[e.EventIndex] = &e;
    {
        const QSignalBlocker quiet(events_);
        events_->clearSelection();
        events_->setRowCount(static_cast<int>(report.Events.size()));
        for (int r = 0; r < events_->rowCount(); ++r) {
            const rdsr::IrradiationEvent& e = report.Events[static_cast<std::size_t>(r)];
            const rdsr::EventEvaluation* ev = evaluated[static_cast<std::size_t>(r)];
            const QString angles = QStringLiteral("%1 / %2").arg(
                e.Geometry.PrimaryAngleDeg ? Num(*e.Geometry.PrimaryAngleDeg, "0")
                                           : QStringLiteral("―"),
                e.Geometry.SecondaryAngleDeg ? Num(*e.Geometry.SecondaryAngleDeg, "0")
                                             : QStringLiteral("―"));
            const QStringList cells{rdsr::ShownPlaneName(e.Plane),
                                    rdsr::ShownEventTypeName(e.Type),
                                    angles,
                                    ev && ev->Case.Status == rdsr::EventStatus::Evaluated
                                        ? Num(ev->SkinDoseMGy, "0.0")
                                        : QString(),
                                    QString(),
                                    QString::fromStdString(e.Uid)};
            for (int c = 0; c < cells.size(); ++c)
                events_->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
        events_->resizeColumnsToContents();
    }
    setWindowTitle(QStringLiteral("  皮膚線量分布 - %1").arg(reportFile));
    ShowInFront();
    Remap();
}

std::shared_ptr<const SkinDoseMapWindow::Job> SkinDoseMapWindow::ReadJob() {
    auto job = std::make_shared<Job>();
    job->From = inputs_;
    // One number in a box, within its range; a blank box keeps the default (none for nullopt).
    auto number = [](QLineEdit* box, double lowest, double highest, bool blankAllowed,
                     const QString& refusal) -> std::optional<std::optional<double>> {
        const NumberBoxText read = ReadNumberBox(box->text().trimmed());
        if (read.Text != box->text()) box->setText(read.Text);
        if (read.Blank && blankAllowed) return std::optional<double>();
        const std::optional<double> value = read.Value;
        if (!value || !(*value >= lowest && *value <= highest)) {
            AppMessages().Warning(refusal);
            box->setFocus();
            box->selectAll();
            return std::nullopt;
        }
        return value;
    };
    const auto height = number(ui_->height, 50, 250, true,
                               QStringLiteral(" 身長は 50～250 cm の数値で入力して下さい "
                                              "(空欄: レポートの値) "));
    if (!height) return nullptr;
    const auto weight = number(ui_->weight, 1, 350, true,
                               QStringLiteral(" 体重は 1～350 kg の数値で入力して下さい "
                                              "(空欄: レポートの値) "));
    if (!weight) return nullptr;
    const auto landmark = number(ui_->landmark, 0, 200, false,
                                 QStringLiteral(" 第 1 アイソセンタの位置は体幹の上端から "
                                                "0～200 cm の数値で入力して下さい "));
    if (!landmark) return nullptr;
    map::MapSettings& s = job->Settings;
    s.HeightCm = *height;
    s.WeightKg = *weight;
    s.LandmarkCm = **landmark;
    s.Phantom = static_cast<map::PhantomKind>(ui_->phantom->currentData().toInt());
    s.CellCm = ui_->cell->currentData().toDouble();
    job->Lying = static_cast<map::PatientLying>(ui_->lying->currentData().toInt());
    const QString room = ui_->room->currentText();
    if (room != kDicomProfile && room != kMeasureRoom && !room.isEmpty()) {
        auto profile = ReadRoomProfileFile(QDir(folder_).filePath(room));
        if (!profile) {
            AppMessages().Warning(
                QStringLiteral(" 部屋プロファイル %1 を読めません。直して下さい \n%2")
                    .arg(room, profile.error().message()));
            return nullptr;
        }
        s.Profile = std::move(*profile);
    }
    return job;
}

void SkinDoseMapWindow::Remap() {
    if (!inputs_) return;
    std::shared_ptr<const Job> job = ReadJob();
    if (!job) return;
    auto numbered = std::make_shared<Job>(*job);
    numbered->Generation = ++generation_;
    pending_ = numbered;
    ui_->status->setText(QStringLiteral("計算中…"));
    if (!running_) StartPending();
}

void SkinDoseMapWindow::StartPending() {
    std::shared_ptr<const Job> job = std::move(pending_);
    pending_.reset();
    running_ = true;
    const ReferenceData* ref = &ref_;
    watcher_->setFuture(QtConcurrent::run([ref, job]() -> std::shared_ptr<const Result> {
        auto result = std::make_shared<Result>();
        result->Generation = job->Generation;
        result->Settings = job->Settings;
        result->Lying = job->Lying;
        result->From = job->From;
        try {
            rdsr::DoseReport report = job->From->Report;
            map::ApplyPatientLying(report, job->Lying);
            result->Map = map::ComputeSkinDoseMap(*ref, report, job->From->Evaluation,
                                                  job->Settings, job->From->LoadKernel);
            result->PlacementDone = !result->Map.PsdUncertainty;
        } catch (const std::exception& error) {
            result->Error = QString::fromUtf8(error.what());
        }
        return result;
    }));
}

void SkinDoseMapWindow::StartPlacement() {
    running_ = true;
    const ReferenceData* ref = &ref_;
    std::shared_ptr<const Result> shown = shown_;
    watcher_->setFuture(QtConcurrent::run([ref, shown]() -> std::shared_ptr<const Result> {
        auto result = std::make_shared<Result>(*shown);
        result->PlacementDone = true;
        try {
            rdsr::DoseReport report = shown->From->Report;
            map::ApplyPatientLying(report, shown->Lying);
            map::AddPlacementUncertainty(result->Map, *ref, report, shown->From->Evaluation,
                                         shown->Settings, shown->From->LoadKernel);
        } catch (const std::exception& error) {
            // The map stands; its interval then lacks the placement's share, and says so.
            result->Map = shown->Map;
            std::string note = "患者の位置による不確かさを計算できません: ";
            note += error.what();
            result->Map.Notes.push_back(std::move(note));
        }
        return result;
    }));
}

void SkinDoseMapWindow::Show(const std::shared_ptr<const Result>& result) {
    // A map of an older request never shows: a newer one is waiting or running.
    if (!result || result->Generation != generation_) return;
    if (!result->Error.isEmpty()) {
        ui_->status->setText(QStringLiteral("皮膚線量分布を計算できません: %1").arg(result->Error));
        return;
    }
    shown_ = result;
    const map::SkinDoseMap& m = result->Map;
    const int row = events_->currentRow();
    outline_ = row >= 0 && events_->item(row, 0) && events_->item(row, 0)->isSelected()
                   ? map::EventFieldCells(m, static_cast<std::size_t>(row))
                   : std::vector<std::size_t>{};

    // Which events reached the skin.
    std::vector<char> mapped(static_cast<std::size_t>(events_->rowCount()), 0);
    for (const map::SkinDoseMap::EventField& f : m.EventFields)
        if (f.EventIndex < mapped.size()) mapped[f.EventIndex] = 1;
    for (int r = 0; r < events_->rowCount(); ++r)
        if (QTableWidgetItem* item = events_->item(r, 4))
            item->setText(mapped[static_cast<std::size_t>(r)] ? QStringLiteral("○")
                                                              : QStringLiteral("×"));
    unmapped_->clear();
    for (const map::UnmappedEvent& e : m.Unmapped)
        unmapped_->addItem(QStringLiteral("%1: %2").arg(QString::fromStdString(e.Uid),
                                                        QString::fromStdString(e.Reason)));

    const double bound = m.UpperBoundMGy;  // every computed event, the unmapped ones too
    QStringList findings{QStringLiteral("PSD %1 mGy").arg(Num(m.PsdMGy, "0"))};
    // With dose left unplaced the PSD is the placed events' only, its bound beside it.
    findings << map::PsdLines(m).join(QStringLiteral("  "));
    if (m.PsdUncertainty)
        findings << (result->PlacementDone ? map::PsdIntervalText(m)
                                           : QStringLiteral("PSD の不確かさ: 計算中…"));
    if (m.PsdCell) findings << map::CellPlaceText(m.Model, *m.PsdCell);
    findings << QStringLiteral("上限 (平面ごとの和) %1 mGy   %2")
                    .arg(Num(bound, "0"),
                         bound > 0 ? map::PsdOverBoundText(m) : QStringLiteral("PSD / 上限 ―"));
    findings
        << QStringLiteral("割付 %1 件、割付不可 %2 件").arg(m.MappedEvents).arg(m.Unmapped.size());
    if (const auto levels = map::LoadFollowUpLevels(folder_, false);
        const auto* list = std::get_if<std::vector<map::FollowUpLevel>>(&levels))
        findings << map::FollowUpHeadline(map::JudgeFollowUpLevels(*list, m));
    findings << QStringLiteral("部屋プロファイル %1")
                    .arg(QString::fromStdString(map::ProfileLabel(result->Settings.Profile)));
    ui_->findings->setText(findings.join('\n'));
    notes_->clear();
    for (const std::string& note : m.Notes) {
        auto* item = new QListWidgetItem(QString::fromStdString(note), notes_);
        item->setToolTip(item->text());
    }
    ui_->status->setText(
        m.Notes.empty() ? QStringLiteral("計算済み")
                        : QStringLiteral("計算済み (注記 %1 件: 下の一覧)").arg(m.Notes.size()));
    // The page prints the PSD's whole interval: not before the placement's share is in it.
    ui_->printButton->setEnabled(result->PlacementDone);
    ui_->pdfButton->setEnabled(result->PlacementDone);
    DrawMap();
    emit mapShown();
}

void SkinDoseMapWindow::DrawMap() {
    picture_->Clear();
    if (!shown_) return;
    const QRect inside = picture_->contentsRect();
    const double width = inside.width() * ui::kTwipsPerPixel;
    const double height = inside.height() * ui::kTwipsPerPixel;
    picture_->SetFont(Font::Meiryo, 8);
    if (ui_->view->currentIndex() == 1) {
        layout_ = {};  // no cell under the cursor in this view
        const int row = events_->currentRow();
        const bool chosen =
            row >= 0 && events_->item(row, 0) && events_->item(row, 0)->isSelected();
        picture_->SetCurrentPosition(120, 60);
        if (!chosen) {
            picture_->Print(QStringLiteral("照射を選ぶと、その管球側から見た体幹を示します"));
            return;
        }
        const auto event = static_cast<std::size_t>(row);
        picture_->Print(QStringLiteral("照射 %1 (%2) の管球側から見た体幹。緑の枠: その照射野")
                            .arg(row + 1)
                            .arg(events_->item(row, 5)->text()));
        const map::SkinDoseMap& m = shown_->Map;
        if (event >= m.Placements.size() || m.Placements[event].Steps.empty()) {
            picture_->SetCurrentPosition(120, 420);
            picture_->Print(QStringLiteral("この照射は皮膚に割り付けられていません"));
            return;
        }
        map::DrawBeamsEyeView(*picture_, m, event, QRectF(300, 480, width - 600, height - 780));
        return;
    }
    layout_ = map::LayoutMap(shown_->Map.Model, QRectF(90, 60, width - 150, height - 90),
                             picture_->TextHeight(QStringLiteral("0")));
    map::DrawSkinDoseMapOn(*picture_, shown_->Map, layout_, outline_);
}

QString SkinDoseMapWindow::CellToolTip(QPoint insidePixels) const {
    if (!shown_) return {};
    const std::optional<std::size_t> cell = layout_.CellAt(insidePixels.x() * ui::kTwipsPerPixel,
                                                           insidePixels.y() * ui::kTwipsPerPixel);
    if (!cell) return {};
    const map::SkinDoseMap& m = shown_->Map;
    QStringList lines{QStringLiteral("%1 mGy").arg(Num(m.DoseMGy[*cell], "0.0")),
                      map::CellPlaceText(m.Model, *cell)};
    const std::vector<map::CellShare> shares = map::LargestShares(m, *cell, 3);
    const auto& events = shown_->From->Report.Events;
    for (const map::CellShare& share : shares)
        lines << QStringLiteral("  照射 %1 (%2): %3 mGy")
                     .arg(share.EventIndex + 1)
                     .arg(QString::fromStdString(events[share.EventIndex].Uid),
                          Num(share.DoseMGy, "0.0"));
    return lines.join('\n');
}

bool SkinDoseMapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = CellToolTip(help->pos() - picture_->InsideOrigin());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, picture_);
        return true;
    }
    if (watched == picture_ && event->type() == QEvent::Resize) DrawMap();
    return ModelessWindow::eventFilter(watched, event);
}

std::function<void(ui::Surface&)> SkinDoseMapWindow::PageDrawing() {
    const std::shared_ptr<const Result> shown = shown_;
    auto made = map::MakeReportContent(shown->From->ReportFile, shown->From->Report,
                                       shown->From->Evaluation, shown->Settings, shown->Map,
                                       map::PatientLyingName(shown->Lying), folder_, true);
    if (const auto* error = std::get_if<QString>(&made)) {
        AppMessages().Warning(
            QStringLiteral(" 追跡レベルのファイルを直して下さい \n%1").arg(*error));
        return {};
    }
    map::SkinDoseReportContent content = std::get<map::SkinDoseReportContent>(std::move(made));
    content.WithPatient = ui_->withPatient->isChecked();
    return [shown, content](ui::Surface& page) mutable {
        content.PrintedAt = QDateTime::currentDateTime();
        map::DrawSkinDoseReportPage(page, shown->Map, content);
    };
}

void SkinDoseMapWindow::PrintReport() {
    if (!shown_) return;
    if (const auto draw = PageDrawing()) map::PrintSkinDoseReport(draw);
}

void SkinDoseMapWindow::SavePdf(const QString& path) {
    if (!shown_) return;
    if (const auto draw = PageDrawing()) map::SaveSkinDoseReportPdf(path, draw);
}

}  // namespace ordevo
