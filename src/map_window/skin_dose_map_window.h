// The skin-dose map window: the map of the dose report shown in the dose-report window, the PSD
// and the upper bound beside it, the events (choosing one outlines its field), the events not
// mapped and why, and the patient's placement, which re-maps at once in the background. Prints
// the one-page skin-dose report.
#pragma once

#include <QFutureWatcher>
#include <QString>
#include <memory>
#include <optional>

#include "control_table.h"
#include "map_drawing.h"
#include "dose_report.h"
#include "modeless_window.h"
#include "reference_data.h"
#include "report_evaluation.h"
#include "skin_dose_map.h"

class QTableWidget;
class QListWidget;

namespace ordevo {

namespace ui {
class PictureBox;
}
class RoomFitDialog;

inline constexpr int kSkinDoseMapWindowWidthTwips = 18900;
inline constexpr int kSkinDoseMapWindowHeightTwips = 11040;

class SkinDoseMapWindow : public ui::ModelessWindow {
    Q_OBJECT
public:
    static ui::WindowLayout Layout();

    // `ref` must outlive the window; room profiles, kernels and the follow-up levels are read
    // from `workingFolder`.
    SkinDoseMapWindow(const ReferenceData& ref, QString workingFolder, QWidget* parent = nullptr);
    ~SkinDoseMapWindow() override;

    const ui::Controls& Controls() const { return controls_; }
    template <class W>
    W* Control(std::string_view name) const {
        return controls_.Get<W>(name);
    }
    ui::PictureBox* Picture() const { return picture_; }
    QTableWidget* EventsTable() const { return events_; }
    QListWidget* UnmappedList() const { return unmapped_; }
    QListWidget* NotesList() const { return notes_; }

    // Shows the window with the report's map. The placement starts from this report's own values
    // (blank height and weight: the report's; the default landmark, lying, phantom and cell; no
    // event chosen), never from the previous report's.
    void ShowReport(const QString& reportFile, const rdsr::DoseReport& report,
                    const rdsr::ReportEvaluation& evaluation);
    // Maps again with the placement in the boxes, in the background; a request made while one
    // runs replaces any waiting one, and only the newest request's map is ever shown.
    void Remap();
    // Also while the placement's share of the shown map's uncertainty is being added.
    bool IsBusy() const { return running_ || pending_ != nullptr; }
    // The map shown, null before the first.
    const map::SkinDoseMap* ShownMap() const;
    // Where the shown map lies on the picture, twips from its inside's corner.
    const map::MapLayout& MapPlace() const { return layout_; }
    // The cell under a point of the picture (its inside's pixels), and what its tooltip says.
    QString CellToolTip(QPoint insidePixels) const;
    // 「測定から作る…」 with the report chosen: the room's profile fitted from it, shown in a
    // dialog (open, not yet answered) that saves it into the data folder; null when the report
    // cannot be read (said).
    RoomFitDialog* OpenRoomFit(const QString& reportFile);
    // "印刷": the one-page skin-dose report through the application's print service.
    void PrintReport();
    // "PDF に保存": the page into `path` (replaced only when written whole).
    void SavePdf(const QString& path);

signals:
    void mapShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Inputs;
    struct Job;
    struct Result;
    struct Ui;
    std::shared_ptr<const Job> ReadJob();  // null: a box holds no valid value (said)
    void StartPending();
    void StartPlacement();  // the shown map's placement share, in the background
    void Show(const std::shared_ptr<const Result>& result);
    void DrawMap();
    void FillRoomProfiles(const std::string& manufacturer);
    void MeasureRoom();  // asks for the report, then OpenRoomFit
    void ResetPlacement();
    std::function<void(ui::Surface&)> PageDrawing();

    const ReferenceData& ref_;
    QString folder_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
    ui::PictureBox* picture_;
    QTableWidget* events_;
    QListWidget* unmapped_;
    QListWidget* notes_;  // the map's notes, each wrapped whole
    std::shared_ptr<const Inputs> inputs_;
    std::shared_ptr<const Result> shown_;
    std::vector<std::size_t> outline_;
    map::MapLayout layout_;  // where the shown map lies on the picture, twips
    int generation_ = 0;
    int roomIndex_ = 0;  // the profile chosen in the room list
    bool running_ = false;
    std::shared_ptr<const Job> pending_;  // the newest request, waiting for the running one
    QFutureWatcher<std::shared_ptr<const Result>>* watcher_;
};

}  // namespace ordevo
