// The application object: owns the application state and every window, and wires them.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "app_state.h"

namespace ordevo {

class Form1;
class Form4;
class Form6;
class Form7;
class Form8;
class Form10;
class Form15;
class Form18;
class DoseReportWindow;
class DoseRegistryWindow;

// The guest's name when the user goes on without registering.
inline constexpr const char* kGuestUserName = "ゲストユーザー";

class OrdevoApplication : public QObject {
    Q_OBJECT
public:
    // Ends the process at once with the exit code; the default leaves the event loop, so that
    // no further event is processed and no window runs its own closing.
    using EndProcess = std::function<void(int exitCode)>;

    explicit OrdevoApplication(const QString& workingFolder, EndProcess endProcess = {});
    ~OrdevoApplication() override;

    // The start-up sequence. False when the reference data cannot be read: the message has
    // been shown and no window was shown.
    bool Start();

    const AppState& State() const { return state_; }
    Form1& MainWindow() const { return *form1_; }
    Form10& ResultsWindow() const { return *form10_; }
    Form4& TubeVoltageWindow() const { return *form4_; }
    Form6& SpectrumWindow() const { return *form6_; }
    Form8& EquipmentEditor() const { return *form8_; }
    Form15& RegistrationWindow() const { return *form15_; }
    Form18& NameChangeWindow() const { return *form18_; }
    Form7& ExitWindow() const { return *form7_; }
    DoseReportWindow& DoseReportView() const { return *doseReport_; }
    DoseRegistryWindow& DoseRegistryView() const { return *doseRegistry_; }
    // Every dose-report window made so far, the first one first.
    std::vector<DoseReportWindow*> DoseReportViews() const;

private:
    void Wire();
    void AddCurrentResult();
    void RegisterUserName(const QString& name, QWidget& dialog);
    void ContinueAsGuest();
    void AskToExit();
    void Exit();
    void ReturnFromExit();
    // A report (empty path: the one the user chooses) in a dose-report window that is not
    // evaluating: the first, else a further one, made when every one is busy, up to a limit.
    void OpenDoseReport(const QString& path);
    DoseReportWindow* FreeDoseReportWindow();

    AppState state_;
    EndProcess endProcess_;
    std::unique_ptr<Form10> form10_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form4> form4_;
    std::unique_ptr<Form6> form6_;
    std::unique_ptr<Form8> form8_;
    std::unique_ptr<Form15> form15_;
    std::unique_ptr<Form18> form18_;
    std::unique_ptr<Form7> form7_;
    std::unique_ptr<DoseReportWindow> doseReport_;
    std::unique_ptr<DoseRegistryWindow> doseRegistry_;
    std::vector<std::unique_ptr<DoseReportWindow>> moreDoseReports_;
};

}  // namespace ordevo
