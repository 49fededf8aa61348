// The results window: the ruled grid of the results table, its total, print, save, load, clear.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "control_table.h"
#include "case_entry.h"
#include "modeless_window.h"
#include "results_table.h"

namespace ordevo::ui {
class PictureBox;
}

namespace ordevo {

class Form10 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // The window holds the session's results table; CSV windows open in `workingFolder`.
    explicit Form10(const QString& workingFolder, QWidget* parent = nullptr);
    ~Form10() override;

    // Start-up, while the main window loads: reset the table, hide the grid, print the title
    // line of the banner, set the font for the name, show the window behind the main window.
    void BeginStartUp();
    // Start-up, once the user name has been looked for: the registered name (printed, Label1)
    // or none (unregistered).
    void FinishStartUp(const std::optional<QString>& userName);
    // Registration, change of name or guest: redraws the name panel and sets Label1.
    void ShowUserName(const QString& userName);
    // "結果を表に追加する" of the main window: the evaluated case's row is stored and drawn;
    // `equipmentFileName` is the file it was evaluated with, which the printed page names.
    // Returns false, changing nothing, when the table is full (the warning of the 15th
    // addition is shown again).
    bool AddCurrentResult(const EvaluatedCase& evaluated, const QString& equipmentFileName);
    // The table holds rows added since the last save or load (the exit window says so).
    bool HasUnsavedRows() const;
    // The results table: rows added, loaded or none.
    const ResultsTable& Table() const;

    ui::PictureBox* Picture2() const;
    const QString& UserName() const;
    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const;

signals:
    // "データ消去" emptied the table (after the confirmation).
    void ResultsCleared();
    // A row was added: the main window's result cannot be added again.
    void resultAdded();
    // "背面へ": the main window is to come in front of this one.
    void mainWindowRequested();

protected:
    void PaintClient(QPainter& painter) override;  // the black frame of the client area

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ordevo
