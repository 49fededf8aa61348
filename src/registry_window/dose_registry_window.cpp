#include "dose_registry_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <algorithm>

#include "drl_review_panel.h"
#include "follow_up_judgement.h"
#include "follow_up_levels.h"
#include "map_drawing.h"
#include "messages.h"
#include "number_format.h"
#include "picture_box.h"
#include "report_output.h"
#include "report_table.h"
#include "stored_map.h"
#include "stored_report_page.h"
#include "twips.h"

namespace ordevo {

using ui::AppMessages;

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr double kText = 9;

constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, "登録簿", 120, 180, 0, 0, Font::Meiryo, kText},
    {"Label2", Kind::Label, "", 840, 180, 8760, 330, Font::Meiryo, kText},
    {"Command1", Kind::Button, "開く…", 14280, 120, 1260, 420, Font::Meiryo, kText,
     " 線量登録簿のファイルを選ぶ (次回もそれを開きます) "},
    {"Command2", Kind::Button, "再読込", 15660, 120, 1260, 420, Font::Meiryo, kText,
     " その後に登録された手技を読み込む "},
    {"Label3", Kind::Label, "患者 ID", 120, 660, 0, 0, Font::Meiryo, kText},
    {"Label4", Kind::Label, "手技 (選ぶと分布と所見を示します)", 3000, 660, 0, 0, Font::Meiryo,
     kText},
    {"Label5", Kind::Label, "", 3000, 3600, 15780, 1260, Font::Meiryo, kText},
    {"Label6", Kind::Label, "警報", 120, 5040, 0, 0, Font::Meiryo, kText},
    {"Label7", Kind::Label, "表示", 3000, 5040, 0, 0, Font::Meiryo, kText},
    {"Combo1", Kind::ComboBox, "", 3480, 4980, 2880, 390, Font::Meiryo, kText,
     " 選んだ手技の分布、または期間内の手技を加算した分布 "},
    {"Label8", Kind::Label, "", 13320, 4980, 5460, 4260, Font::Meiryo, kText},
    {"Check1", Kind::CheckBox, "患者名・ID を印刷", 13320, 9360, 2700, 330, Font::Meiryo, kText},
    {"Command3", Kind::Button, "印刷…", 16140, 9840, 1260, 420, Font::Meiryo, kText,
     " 選んだ手技の皮膚線量報告書 (A4 1 ページ) を印刷する "},
    {"Command4", Kind::Button, "PDF 保存…", 17460, 9840, 1320, 420, Font::Meiryo, kText,
     " 選んだ手技の皮膚線量報告書を PDF ファイルに保存する "},
};

constexpr QRect kPatientsTwips{120, 960, 2760, 3960};
constexpr QRect kProceduresTwips{3000, 960, 15780, 2520};
constexpr QRect kAlertsTwips{120, 5340, 2760, 4980};
constexpr QRect kPictureTwips{3000, 5460, 10200, 4860};
// The tabs: the patients and their procedures, or the review against the reference levels, which
// covers the patients' controls while it is chosen.
constexpr QRect kTabsTwips{9720, 120, 4440, 420};
constexpr QRect kReviewTwips{120, 660, 18660, 9660};

void Place(QWidget* widget, const QRect& twips) {
    widget->setGeometry(ui::TwipsRectToPixels(twips.x(), twips.y(), twips.width(), twips.height()));
}

QString Num(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}
QString Num(const std::optional<double>& value, const char* picture) {
    return value ? Num(*value, picture) : QStringLiteral("―");
}
QString Text(const std::string& text) { return QString::fromStdString(text); }
QString Date(const std::string& dicomDate) { return Text(rdsr::IsoDate(dicomDate)); }

// "A 123.4 / B 56.7": one figure per plane.
template <class Figure>
QString PerPlane(const registry::ProcedureRecord& r, Figure figure, const char* picture) {
    QStringList parts;
    for (const registry::PlaneRecord& p : r.Planes)
        parts << (r.Planes.size() == 1
                      ? Num(figure(p), picture)
                      : QStringLiteral("%1 %2").arg(Text(p.Plane), Num(figure(p), picture)));
    return parts.join(QStringLiteral(" / "));
}

// Reached by the placed dose alone, or only with the unplaced bounds: then it cannot be excluded.
QString CumulativeLevelWords(const registry::CumulativeDose& sum, double levelMGy) {
    switch (map::JudgeFollowUp(sum.DoseMGy - sum.UnplacedBoundMGy, sum.UnplacedBoundMGy, false,
                               levelMGy)) {
    case map::FollowUpStatus::Reached: return QStringLiteral("達しています");
    case map::FollowUpStatus::Undetermined: return QStringLiteral("到達の可能性あり");
    case map::FollowUpStatus::NotReached: break;
    }
    return QStringLiteral("達していません");
}

// How the cumulative dose came about; one procedure's is its own peak, no sum.
QString HowAddedText(const registry::CumulativeDose& sum) {
    if (sum.UnplacedBoundMGy > 0)
        return QStringLiteral("割り付けられない照射の上限 %1 mGy を含む上限")
            .arg(Num(sum.UnplacedBoundMGy, "0"));
    if (sum.Procedures.size() == 1)
        return sum.Procedures.front().Mapped ? QStringLiteral("この手技のピーク皮膚線量")
                                             : QStringLiteral("この手技の上限 (線量分布なし)");
    return sum.UpperBound ? QStringLiteral("ピーク皮膚線量の和 (上限)")
                          : QStringLiteral("線量分布を区画ごとに加算");
}

QString CumulativeText(const registry::CumulativeDose& sum, const registry::AlertLevels& levels) {
    QString text = QStringLiteral("累積皮膚線量 %1 〜 %2 (%3 日、%4 手技): %5 mGy — %6")
                       .arg(Date(sum.FirstDate), Date(sum.LastDate))
                       .arg(sum.WindowDays)
                       .arg(sum.Procedures.size())
                       .arg(Num(sum.DoseMGy, "0"), HowAddedText(sum));
    if (sum.AddedMap)
        if (const auto m = registry::SkinDoseMapOf(*sum.AddedMap); m && m->PsdCell)
            text += QStringLiteral("、位置: %1").arg(map::CellPlaceText(m->Model, *m->PsdCell));
    text +=
        QStringLiteral("\n水準 %1 mGy に%2 (%3)")
            .arg(Num(levels.CumulativeMGy, "0"), CumulativeLevelWords(sum, levels.CumulativeMGy),
                 levels.CumulativeMGy == registry::AlertLevels{}.CumulativeMGy
                     ? QString::fromUtf8(registry::kAlertLevelsSource)
                     : QString::fromLatin1(kDoseRegistrySettingFileName));
    for (const std::string& note : sum.Notes) text += QStringLiteral("\n・") + Text(note);
    return text;
}

QString FindingsText(const registry::StoredProcedure& p) {
    const registry::ProcedureRecord& r = p.Record;
    if (p.Summary.Status != "registered")
        return QStringLiteral("評価できなかった報告\n理由: %1\n受信 %2 (%3)")
            .arg(Text(p.Summary.Reason), Text(p.Summary.ReceivedAt), Text(p.Summary.CallingAe));
    QString text = QStringLiteral("%1 %2 (%3)\nPSD %4 mGy")
                       .arg(Date(r.StudyDate), Text(r.Manufacturer + " " + r.Model),
                            Text(p.Summary.CallingAe), Num(r.PsdMGy, "0"));
    // Nothing placed: no interval (a "0 – 0" would read as a measured nought).
    if (r.PsdLowMGy && r.PsdHighMGy)
        text += QStringLiteral(" (k=2 の区間 %1 – %2 mGy)")
                    .arg(Num(r.PsdLowMGy, "0"), Num(r.PsdHighMGy, "0"));
    if (r.PsdMGy && (r.UnplacedBoundMGy.value_or(0) > 0 || r.UnplacedUnbounded)) {
        text += QStringLiteral("\n割り付けた照射のみ");
        if (r.UnplacedBoundMGy.value_or(0) > 0)
            text += QStringLiteral("、＋ 割り付けられない照射 最大 %1 mGy")
                        .arg(Num(r.UnplacedBoundMGy, "0"));
        if (r.UnplacedUnbounded) text += QStringLiteral("、＋ 線量を計算できない照射（上限なし）");
    }
    if (r.MappedKarShare) text += QStringLiteral("\n") + map::MappedShareText(*r.MappedKarShare);
    if (r.Map && !r.Map->PsdRegion.empty())
        text += QStringLiteral("\n位置: %1 上から %2 cm")
                    .arg(Text(r.Map->PsdRegion), Num(r.Map->PsdFromTopCm, "0"));
    text += QStringLiteral("\n上限 (全照射を 1 点に) %1 mGy").arg(Num(r.UpperBoundMGy, "0"));
    for (const registry::PlaneRecord& plane : r.Planes)
        text +=
            QStringLiteral("\n平面 %1: Ka,r %2 mGy, P_KA %3 Gy･cm²%4")
                .arg(Text(plane.Plane), Num(plane.ReferenceAirKermaMGy, "0.0"),
                     Num(plane.KermaAreaProductGyCm2, "0.00"),
                     plane.Equipment.empty() ? QString()
                                             : QStringLiteral(" (%1)").arg(Text(plane.Equipment)));
    if (r.Map) text += QStringLiteral("\n体位: %1").arg(StoredLyingName(r.Map->Lying));
    int shown = 0;
    for (const std::string& note : r.Notes)
        if (note.rfind("照射 ", 0) != 0 && shown++ < 4) text += QStringLiteral("\n・") + Text(note);
    return text;
}

}  // namespace

struct DoseRegistryWindow::Ui {
    explicit Ui(const ui::Controls& c)
        : path(c.Get<QLabel>("Label2")),
          openButton(c.Get<QPushButton>("Command1")),
          reloadButton(c.Get<QPushButton>("Command2")),
          cumulative(c.Get<QLabel>("Label5")),
          view(c.Get<QComboBox>("Combo1")),
          findings(c.Get<QLabel>("Label8")),
          withPatient(c.Get<QCheckBox>("Check1")),
          printButton(c.Get<QPushButton>("Command3")),
          pdfButton(c.Get<QPushButton>("Command4")) {}

    QLabel* path;               // Label2, the registry's file
    QPushButton* openButton;    // Command1 "開く…"
    QPushButton* reloadButton;  // Command2 "再読込"
    QLabel* cumulative;         // Label5, the patient's cumulative dose, its level and notes
    QComboBox* view;            // Combo1, the procedure's map or the added one
    QLabel* findings;           // Label8, the chosen procedure's PSD, place, bound and planes
    QCheckBox* withPatient;     // Check1, the patient's name and ID on the page
    QPushButton* printButton;   // Command3 "印刷…"
    QPushButton* pdfButton;     // Command4 "PDF 保存…"
};

ui::WindowLayout DoseRegistryWindow::Layout() {
    return {kControls, kDoseRegistryWindowWidthTwips, kDoseRegistryWindowHeightTwips};
}

DoseRegistryWindow::DoseRegistryWindow(QString workingFolder, QWidget* parent)
    : ModelessWindow(parent),
      folder_(std::move(workingFolder)),
      controls_(ui::CreateControls(*this, kControls)),
      ui_(std::make_unique<const Ui>(controls_)),
      patients_(new QListWidget(this)),
      procedures_(new QTableWidget(0, 8, this)),
      alerts_(new QListWidget(this)),
      picture_(new ui::PictureBox(this)),
      tabs_(new QTabBar(this)),
      review_(new DrlReviewPanel(folder_, this)) {
    setObjectName(QStringLiteral("DoseRegistryWindow"));
    setWindowTitle(QStringLiteral("  線量登録簿"));
    SetClientSizeTwips(kDoseRegistryWindowWidthTwips, kDoseRegistryWindowHeightTwips);
    patients_->setObjectName(QStringLiteral("List1"));
    Place(patients_, kPatientsTwips);
    procedures_->setObjectName(QStringLiteral("Grid1"));
    procedures_->setHorizontalHeaderLabels(
        {QStringLiteral("検査日"), QStringLiteral("PSD mGy"), QStringLiteral("区間 (k=2) mGy"),
         QStringLiteral("上限 mGy"), QStringLiteral("Ka,r mGy"), QStringLiteral("P_KA Gy･cm²"),
         QStringLiteral("状態"), QStringLiteral("SOP Instance UID")});
    procedures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    procedures_->setSelectionBehavior(QAbstractItemView::SelectRows);
    procedures_->setSelectionMode(QAbstractItemView::SingleSelection);
    procedures_->verticalHeader()->setDefaultSectionSize(20);
    procedures_->horizontalHeader()->setStretchLastSection(true);
    Place(procedures_, kProceduresTwips);
    alerts_->setObjectName(QStringLiteral("List2"));
    alerts_->setWordWrap(true);
    Place(alerts_, kAlertsTwips);
    picture_->setObjectName(QStringLiteral("Picture1"));
    Place(picture_, kPictureTwips);
    for (QLabel* label : {ui_->cumulative, ui_->findings}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    ui_->view->addItem(QStringLiteral("選んだ手技の分布"));
    ui_->view->addItem(QStringLiteral("期間内の累積の分布"));
    ui_->printButton->setEnabled(false);
    ui_->pdfButton->setEnabled(false);
    tabs_->setObjectName(QStringLiteral("Tabs1"));
    tabs_->addTab(QStringLiteral("患者と手技"));
    tabs_->addTab(QStringLiteral("DRL との比較"));
    Place(tabs_, kTabsTwips);
    Place(review_, kReviewTwips);
    review_->hide();
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        review_->setVisible(tab == 1);
        if (tab == 1) review_->raise();
    });

    connect(ui_->openButton, &QPushButton::clicked, this, &DoseRegistryWindow::ChooseRegistry);
    connect(ui_->reloadButton, &QPushButton::clicked, this, &DoseRegistryWindow::Reload);
    connect(patients_, &QListWidget::currentRowChanged, this, &DoseRegistryWindow::ShowPatient);
    connect(procedures_, &QTableWidget::currentCellChanged, this,
            [this](int row) { ShowProcedure(row); });
    connect(ui_->view, &QComboBox::currentIndexChanged, this, [this] { DrawMap(); });
    connect(ui_->printButton, &QPushButton::clicked, this, &DoseRegistryWindow::PrintReport);
    connect(ui_->pdfButton, &QPushButton::clicked, this, [this] {
        const registry::StoredProcedure* shown = ShownProcedure();
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("皮膚線量報告書を PDF に保存"),
            map::SuggestedReportPdfPath(
                folder_, shown ? QString::fromStdString(shown->Record.StudyDate) : QString()),
            QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty()) SavePdf(path);
    });
}

DoseRegistryWindow::~DoseRegistryWindow() = default;

const registry::CumulativeDose* DoseRegistryWindow::ShownCumulativeDose() const {
    return cumulative_ ? &*cumulative_ : nullptr;
}

const registry::StoredProcedure* DoseRegistryWindow::ShownProcedure() const {
    if (shownProcedure_ < 0 || shownProcedure_ >= static_cast<int>(shownProcedures_.size()))
        return nullptr;
    return &shownProcedures_[static_cast<std::size_t>(shownProcedure_)];
}

void DoseRegistryWindow::Open() {
    ShowInFront();
    auto read = ReadDoseRegistrySetting(folder_);
    if (const auto* error = std::get_if<QString>(&read)) {
        AppMessages().Warning(QStringLiteral(" 線量登録簿の設定を直して下さい \n%1").arg(*error));
        return;
    }
    setting_ = std::get<DoseRegistrySetting>(std::move(read));
    if (!setting_.RegistryPath.isEmpty() && QFileInfo(setting_.RegistryPath).isFile()) {
        if (!registry_) OpenRegistry(setting_.RegistryPath);
        return;
    }
    ChooseRegistry();
}

void DoseRegistryWindow::ChooseRegistry() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("線量登録簿を開く"),
        setting_.RegistryPath.isEmpty() ? folder_ : QFileInfo(setting_.RegistryPath).path(),
        QStringLiteral("線量登録簿 (*.sqlite *.db);;すべてのファイル (*)"));
    if (path.isEmpty() || !OpenRegistry(path)) return;
    setting_.RegistryPath = path;
    if (const auto written = WriteDoseRegistrySetting(folder_, setting_); !written)
        AppMessages().Warning(QStringLiteral(" 選んだ登録簿を設定に保存できませんでした \n%1")
                                  .arg(written.error().message()));
}

bool DoseRegistryWindow::OpenRegistry(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        AppMessages().Warning(
            QStringLiteral(" 線量登録簿がありません \n%1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    auto opened = registry::Registry::Open(path);
    if (!opened) {
        AppMessages().Warning(
            QStringLiteral(" 線量登録簿を開けません \n%1").arg(opened.error().message()));
        return false;
    }
    registry_ = std::move(*opened);
    review_->SetRegistry(registry_.get());
    ui_->path->setText(QDir::toNativeSeparators(file.absoluteFilePath()));
    Reload();
    return true;
}

void DoseRegistryWindow::Reload() {
    if (!registry_) return;
    const auto list = registry_->List();
    if (!list) {
        AppMessages().Warning(
            QStringLiteral(" 線量登録簿を読めません \n%1").arg(list.error().message()));
        return;
    }
    const QString chosen = patients_->currentItem() ? patients_->currentItem()->text() : QString();
    std::vector<std::string> ids;
    for (const registry::ProcedureSummary& s : *list)
        if (std::find(ids.begin(), ids.end(), s.PatientId) == ids.end()) ids.push_back(s.PatientId);
    std::sort(ids.begin(), ids.end());
    patientIds_ = ids;
    const QSignalBlocker quiet(patients_);
    patients_->clear();
    for (const std::string& id : ids)
        patients_->addItem(id.empty() ? QStringLiteral("（ID なし・評価不能）") : Text(id));
    const QList<QListWidgetItem*> again = patients_->findItems(chosen, Qt::MatchExactly);
    const int row = again.isEmpty() ? (ids.empty() ? -1 : 0) : patients_->row(again.first());
    patients_->setCurrentRow(row);
    ShowPatient(row);
}

void DoseRegistryWindow::ShowPatient(int row) {
    shownProcedures_.clear();
    cumulative_.reset();
    alerts_->clear();
    ui_->cumulative->clear();
    if (!registry_ || row < 0 || row >= static_cast<int>(patientIds_.size())) {
        procedures_->setRowCount(0);
        ShowProcedure(-1);
        return;
    }
    const std::string& id = patientIds_[static_cast<std::size_t>(row)];
    const auto list = registry_->List();
    if (!list) return;
    std::string lastDate;
    for (const registry::ProcedureSummary& s : *list) {
        if (s.PatientId != id) continue;
        const auto shown = registry_->Show(s.SopInstanceUid);
        if (shown && *shown) shownProcedures_.push_back(std::move(**shown));
        if (s.Status == "registered") lastDate = std::max(lastDate, s.StudyDate);
    }
    std::stable_sort(
        shownProcedures_.begin(), shownProcedures_.end(),
        [](const auto& a, const auto& b) { return a.Summary.StudyDate < b.Summary.StudyDate; });
    {
        const QSignalBlocker quiet(procedures_);
        procedures_->setRowCount(static_cast<int>(shownProcedures_.size()));
        for (int r = 0; r < procedures_->rowCount(); ++r) {
            const registry::StoredProcedure& p = shownProcedures_[static_cast<std::size_t>(r)];
            const registry::ProcedureRecord& rec = p.Record;
            const bool registered = p.Summary.Status == "registered";
            const QStringList cells{
                Date(p.Summary.StudyDate),
                registered ? Num(rec.PsdMGy, "0") : QString(),
                registered && rec.PsdLowMGy && rec.PsdHighMGy
                    ? QStringLiteral("%1 – %2").arg(Num(rec.PsdLowMGy, "0"),
                                                    Num(rec.PsdHighMGy, "0"))
                    : QString(),
                registered ? Num(rec.UpperBoundMGy, "0") : QString(),
                PerPlane(
                    rec, [](const auto& pl) { return pl.ReferenceAirKermaMGy; }, "0.0"),
                PerPlane(
                    rec, [](const auto& pl) { return pl.KermaAreaProductGyCm2; }, "0.00"),
                registered ? QStringLiteral("登録") : QStringLiteral("評価不能"),
                Text(p.Summary.SopInstanceUid)};
            for (int c = 0; c < cells.size(); ++c)
                procedures_->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
        procedures_->resizeColumnsToContents();
    }
    if (!id.empty() && !lastDate.empty()) {
        const auto sum =
            registry::PatientCumulativeDose(*registry_, id, lastDate, setting_.Levels.WindowDays);
        if (sum) {
            cumulative_ = *sum;
            ui_->cumulative->setText(CumulativeText(*sum, setting_.Levels));
        } else {
            ui_->cumulative->setText(sum.error().message());
        }
    }
    if (const auto stored = registry_->Alerts())
        for (const registry::StoredAlert& a : *stored)
            if (!id.empty() && a.PatientId == id)
                alerts_->addItem(QStringLiteral("%1\n%2").arg(Text(a.CreatedAt), Text(a.Message)));
    const int last = procedures_->rowCount() - 1;
    procedures_->setCurrentCell(last, 0);
    ShowProcedure(last);
}

void DoseRegistryWindow::ShowProcedure(int row) {
    shownProcedure_ = row;
    const registry::StoredProcedure* p = ShownProcedure();
    ui_->findings->setText(p ? FindingsText(*p) : QString());
    const bool printable = p && StoredPageMap(p->Record).has_value();
    ui_->printButton->setEnabled(printable);
    ui_->pdfButton->setEnabled(printable);
    DrawMap();
}

void DoseRegistryWindow::DrawMap() {
    picture_->Clear();
    picture_->SetFont(Font::Meiryo, 8);
    picture_->SetCurrentPosition(120, 60);
    std::optional<map::SkinDoseMap> m;
    if (ui_->view->currentIndex() == 1) {
        if (!cumulative_ || !cumulative_->AddedMap) {
            picture_->Print(QStringLiteral("加算できる分布がありません (累積線量は上限です)"));
            return;
        }
        m = registry::SkinDoseMapOf(*cumulative_->AddedMap);
    } else if (const registry::StoredProcedure* p = ShownProcedure()) {
        m = StoredPageMap(p->Record);
    }
    if (!m) {
        picture_->Print(ShownProcedure() ? QStringLiteral("この手技には線量分布がありません")
                                         : QStringLiteral("手技を選んで下さい"));
        return;
    }
    const QRect inside = picture_->contentsRect();
    const double width = inside.width() * ui::kTwipsPerPixel;
    const double height = inside.height() * ui::kTwipsPerPixel;
    const map::MapLayout layout = map::LayoutMap(m->Model, QRectF(90, 60, width - 150, height - 90),
                                                 picture_->TextHeight(QStringLiteral("0")));
    map::DrawSkinDoseMapOn(*picture_, *m, layout);
}

std::function<void(ui::Surface&)> DoseRegistryWindow::PageDrawing() {
    const registry::StoredProcedure* p = ShownProcedure();
    if (!p) return {};
    std::optional<map::SkinDoseMap> m = StoredPageMap(p->Record);
    if (!m) return {};
    auto levels = map::LoadFollowUpLevels(folder_, true);
    if (const auto* error = std::get_if<QString>(&levels)) {
        AppMessages().Warning(
            QStringLiteral(" 追跡レベルのファイルを直して下さい \n%1").arg(*error));
        return {};
    }
    map::SkinDoseReportContent content =
        StoredReportContent(*p, std::get<std::vector<map::FollowUpLevel>>(std::move(levels)),
                            QString::fromLatin1(map::kFollowUpLevelsFileName));
    content.WithPatient = ui_->withPatient->isChecked();
    return [page = std::move(*m), content](ui::Surface& surface) mutable {
        content.PrintedAt = QDateTime::currentDateTime();
        map::DrawSkinDoseReportPage(surface, page, content);
    };
}

void DoseRegistryWindow::PrintReport() {
    if (const auto draw = PageDrawing()) map::PrintSkinDoseReport(draw);
}

void DoseRegistryWindow::SavePdf(const QString& path) {
    if (const auto draw = PageDrawing()) map::SaveSkinDoseReportPdf(path, draw);
}

}  // namespace ordevo
