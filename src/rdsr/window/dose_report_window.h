// The RDSR window: a DICOM dose report's device and date, its events evaluated one by one, the
// sums per plane, and "入力欄へ", which hands a plane's totals to the main window's inputs.
#pragma once

#include <QFutureWatcher>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "control_table.h"
#include "dose_report.h"
#include "modeless_window.h"
#include "reference_data.h"
#include "report_evaluation.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QKeyEvent;
class QPushButton;
class QTableWidget;

namespace ordevo {

class SkinDoseMapWindow;

inline constexpr int kDoseReportWindowWidthTwips = 12000;
inline constexpr int kDoseReportWindowHeightTwips = 10440;
// Reports evaluated at once, each in a window of its own: a few are what a user compares, more
// would only queue behind each other on the shared thread pool.
inline constexpr int kDoseReportWindowLimit = 4;

class DoseReportWindow : public ui::ModelessWindow {
    Q_OBJECT
public:
    // `ref` must outlive the window and stay unchanged; equipment files are listed from and read
    // in `workingFolder`.
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    DoseReportWindow(const ReferenceData& ref, QString workingFolder, QWidget* parent = nullptr);
    ~DoseReportWindow() override;

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }
    template <class W>
    W* Control(std::string_view name) const {
        return controls_.Get<W>(name);
    }
    QTableWidget* EventsTable() const { return events_; }
    QTableWidget* PlanesTable() const { return planes_; }

    // Shows the window and reads and evaluates the report in the background; the window stays
    // responsive and shows the progress. Ignored while an evaluation runs. A CSV file is refused
    // with a message saying where such a file is opened.
    void OpenReport(const QString& path);
    // A CSV file (a results table, not a report): true after the message that says so.
    static bool RefuseResultsCsv(const QString& path);
    // Asks for files, then OpenReports.
    void ChooseReport();
    // The first report in this window and each further one through reportRequested (another
    // window opens it, as dropped files are opened), at most kDoseReportWindowLimit in all: the
    // rest are named in a message and not opened.
    void OpenReports(const QStringList& paths);
    // The dialog ChooseReport asks with (tests put their own).
    using ReportChooser = std::function<QStringList(QWidget* parent, const QString& folder)>;
    void SetReportChooser(ReportChooser chooser) { chooser_ = std::move(chooser); }
    // The equipment file for plane A (or a single plane), as chosen in the main window.
    void SetEquipmentFile(const QString& fileName);
    // Evaluates the current report again with the chosen equipment and FSDs.
    void Evaluate();
    void Cancel();
    bool IsBusy() const { return busy_; }
    // "入力欄へ" for the plane chosen in the plane box.
    void SendTotalsToInputs();
    // "皮膚線量分布": the skin-dose map window for the report shown (made at the first use).
    void ShowSkinDoseMap();
    SkinDoseMapWindow* MapWindow() const { return mapWindow_; }

signals:
    // A plane's totals as one case for the main window: its equipment file and the single
    // case (the Ka,r, P_KA, FSD and mean tube-voltage texts, the report's reference distance and
    // filtration, and whether the voltage was assumed).
    void totalsForInputs(const QString& equipmentFileName, const rdsr::SingleCaseTexts& totals);
    void evaluationFinished();
    // A further report chosen with 開く…, for a window of its own.
    void reportRequested(const QString& path);

protected:
    // Escape stops a running evaluation, as "中止" does; else it closes the window as its title
    // bar does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Outcome;
    void RefreshEquipmentLists();
    void SetBusy(bool busy);
    void Show(const Outcome& outcome);
    void ShowTables();
    std::optional<rdsr::PlaneSetup> ReadPlane(QComboBox* equipment, QLineEdit* fsd,
                                              const char* planeName);

    const ReferenceData& ref_;
    QString folder_;
    QString path_;       // the report being read or shown
    QString shownPath_;  // the report shown, read without error ("" before the first)
    struct Ui;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
    QProgressBar* progress_;
    QTableWidget* events_;
    QTableWidget* planes_;
    bool busy_ = false;
    std::shared_ptr<std::atomic<bool>> cancel_;
    QFutureWatcher<std::shared_ptr<Outcome>>* watcher_;
    std::shared_ptr<const Outcome> shown_;
    SkinDoseMapWindow* mapWindow_ = nullptr;
    ReportChooser chooser_;
};

}  // namespace ordevo
