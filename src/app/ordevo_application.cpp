// Start-up, the wiring between the windows, registration and exit.
#include "ordevo_application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "dose_registry_window.h"
#include "dose_report_window.h"
#include "form1.h"
#include "form10.h"
#include "form15.h"
#include "form18.h"
#include "form4.h"
#include "form6.h"
#include "form7.h"
#include "form8.h"
#include "messages.h"
#include "report_evaluation.h"
#include "spectrum_file.h"
#include "start_up.h"
#include "user_name_file.h"

namespace ordevo {

using ui::AppMessages;

OrdevoApplication::OrdevoApplication(const QString& workingFolder, EndProcess endProcess)
    : endProcess_(endProcess ? std::move(endProcess)
                             : EndProcess([](int exitCode) { QCoreApplication::exit(exitCode); })) {
    state_.WorkingFolder = QDir(workingFolder).absolutePath();
    const QString& folder = state_.WorkingFolder;
    form10_ = std::make_unique<Form10>(folder);
    form1_ = std::make_unique<Form1>(state_.Reference, folder);
    form4_ = std::make_unique<Form4>();
    form6_ = std::make_unique<Form6>(folder);
    form8_ = std::make_unique<Form8>(state_.Reference, folder);
    form15_ = std::make_unique<Form15>();
    form18_ = std::make_unique<Form18>();
    form7_ = std::make_unique<Form7>();
    doseReport_ = std::make_unique<DoseReportWindow>(state_.Reference, folder);
    doseRegistry_ = std::make_unique<DoseRegistryWindow>(folder);
    Wire();
}

OrdevoApplication::~OrdevoApplication() = default;

void OrdevoApplication::Wire() {
    Form1& main = *form1_;
    connect(&main, &Form1::exitRequested, this, &OrdevoApplication::AskToExit);
    connect(&main, &Form1::closedFromTitleBar, this, &OrdevoApplication::AskToExit);
    connect(&main, &Form1::addResultRequested, this, &OrdevoApplication::AddCurrentResult);
    connect(&main, &Form1::tubeVoltageRequested, form4_.get(), &Form4::Open);
    connect(&main, &Form1::newEquipmentRequested, form8_.get(), &Form8::StartNew);
    connect(&main, &Form1::registrationRequested, form15_.get(), &Form15::ShowInFront);
    connect(&main, &Form1::spectrumRequested, this, [this] {
        if (const BinArray* unwritten = form1_->UnwrittenSpectrum()) {
            form6_->PlotSpectrum(*unwritten);
        } else {
            form6_->PlotSpectrum();
        }
    });
    connect(form4_.get(), &Form4::tubeVoltageSet, &main, &Form1::SetTubeVoltage);
    connect(&main, &Form1::tubeVoltageEntered, form4_.get(), &Form4::ShowSetting);
    connect(form8_.get(), &Form8::equipmentSaved, &main, &Form1::EquipmentFileSaved);
    // A row added or the table emptied: the evaluation shown cannot be added (again).
    connect(form10_.get(), &Form10::ResultsCleared, &main, &Form1::DisableAddingResult);
    connect(form10_.get(), &Form10::resultAdded, &main, &Form1::DisableAddingResult);
    connect(form10_.get(), &Form10::mainWindowRequested, &main, &Form1::ShowInFront);
    connect(&main, &Form1::resultsWindowRequested, form10_.get(), &Form10::ShowInFront);
    connect(&main, &Form1::doseReportRequested, this, &OrdevoApplication::OpenDoseReport);
    connect(&main, &Form1::doseRegistryRequested, doseRegistry_.get(), &DoseRegistryWindow::Open);
    connect(doseReport_.get(), &DoseReportWindow::totalsForInputs, form1_.get(),
            &Form1::EnterDoseReportTotals);
    connect(doseReport_.get(), &DoseReportWindow::reportRequested, this,
            &OrdevoApplication::OpenDoseReport);
    connect(&main, &Form1::userNameChangeRequested, this,
            [this] { form18_->Open(state_.UserName); });

    connect(form15_.get(), &Form15::okClicked, this,
            [this](const QString& name) { RegisterUserName(name, *form15_); });
    connect(form15_.get(), &Form15::cancelClicked, this, &OrdevoApplication::ContinueAsGuest);
    connect(form18_.get(), &Form18::okClicked, this,
            [this](const QString& name) { RegisterUserName(name, *form18_); });
    connect(form7_.get(), &Form7::yesClicked, this, &OrdevoApplication::Exit);
    connect(form7_.get(), &Form7::noClicked, this, &OrdevoApplication::ReturnFromExit);
}

std::vector<DoseReportWindow*> OrdevoApplication::DoseReportViews() const {
    std::vector<DoseReportWindow*> windows{doseReport_.get()};
    for (const auto& window : moreDoseReports_) windows.push_back(window.get());
    return windows;
}

DoseReportWindow* OrdevoApplication::FreeDoseReportWindow() {
    for (DoseReportWindow* window : DoseReportViews())
        if (!window->IsBusy()) return window;
    if (moreDoseReports_.size() + 1 >= static_cast<std::size_t>(kDoseReportWindowLimit))
        return nullptr;
    auto window = std::make_unique<DoseReportWindow>(state_.Reference, state_.WorkingFolder);
    connect(window.get(), &DoseReportWindow::totalsForInputs, form1_.get(),
            &Form1::EnterDoseReportTotals);
    // Several files chosen with 開く… open as dropped files do, each in a window of its own.
    connect(window.get(), &DoseReportWindow::reportRequested, this,
            &OrdevoApplication::OpenDoseReport);
    moreDoseReports_.push_back(std::move(window));
    return moreDoseReports_.back().get();
}

void OrdevoApplication::OpenDoseReport(const QString& path) {
    if (DoseReportWindow::RefuseResultsCsv(path)) return;
    DoseReportWindow* window = FreeDoseReportWindow();
    if (window == nullptr) {
        AppMessages().Warning(QStringLiteral(" 線量レポートは同時に %1 件まで計算できます \n"
                                             "%2 は開いていません。計算が終わってから開いて下さい ")
                                  .arg(kDoseReportWindowLimit)
                                  .arg(QFileInfo(path).fileName()));
        return;
    }
    window->SetEquipmentFile(form1_->SelectedEquipmentFileName());
    if (path.isEmpty()) {
        window->ShowInFront();
        window->ChooseReport();
    } else {
        window->OpenReport(path);
    }
}

bool OrdevoApplication::Start() {
    if (const FileResult<void> loaded = LoadReferenceDataAtStart(state_); !loaded) {
        AppMessages().Error(loaded.error().message());
        return false;
    }
    form1_->ResetForStartUp();
    form10_->BeginStartUp();
    const std::optional<QString> userName = ReadUserName(state_.WorkingFolder);
    state_.UserName = userName.value_or(QString());
    form10_->FinishStartUp(userName);
    form1_->ApplyStartUpUser(userName);
    form1_->ShowInFront();
    return true;
}

void OrdevoApplication::AddCurrentResult() {
    // A row holds exactly the case that was evaluated: after any change of its inputs the
    // check has greyed the result and disabled the button.
    const EvaluatedCase* current = form1_->CurrentResult();
    if (current == nullptr) return;
    form10_->AddCurrentResult(*current, form1_->Case().EquipmentFileName);
    // Whether the row was stored or the table was full, this evaluation cannot be added again.
    form1_->DisableAddingResult();
}

void OrdevoApplication::RegisterUserName(const QString& name, QWidget& dialog) {
    if (name.isEmpty()) {
        AppMessages().Warning(QStringLiteral("名前が入力されていません"));
        return;
    }
    const FileResult<void> stored = StoreUserName(state_.WorkingFolder, name);
    if (!stored) {
        AppMessages().Warning(
            QStringLiteral(" ユーザー名を登録できませんでした \n%1").arg(stored.error().message()));
        return;
    }
    state_.UserName = name;
    form10_->ShowUserName(name);
    form1_->ShowRegisteredUser(name);
    dialog.hide();
}

void OrdevoApplication::ContinueAsGuest() {
    state_.UserName = QString::fromUtf8(kGuestUserName);
    form10_->ShowUserName(state_.UserName);
    form1_->ShowGuestUser(state_.UserName);
    form15_->hide();
}

void OrdevoApplication::AskToExit() {
    form7_->ShowUnsavedRowsNote(form10_->HasUnsavedRows());
    form7_->ShowInFront();
}

void OrdevoApplication::Exit() {
    QFile::remove(QDir(state_.WorkingFolder).filePath(QString::fromLatin1(kSpectrumFileName)));
    endProcess_(0);
}

void OrdevoApplication::ReturnFromExit() {
    // "いいえ" returns the user to exactly where they were, whether the question came from
    // "終了する" or from closing the main window by its title bar: inputs, equipment, result.
    form7_->hide();
    form1_->ShowInFront();
}

}  // namespace ordevo
