// The filter window: a material file of the working folder and a thickness for the added
// filter of another material, or the release of that filter.
#pragma once

#include <QString>
#include <functional>

#include "equipment_data.h"
#include "modeless_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ordevo::ui {
class FileListBox;
}

namespace ordevo {

class Form5 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // What the editor shows of the choice: its material and thickness captions.
    struct EditorHooks {
        // "設 定": the material name (file name without ".ele") and the thickness as typed.
        std::function<void(const QString& material, const QString& thicknessText)> filterSet;
        // "解 除": the other filter is no longer in use (the main window empties its captions).
        std::function<void()> filterReleased;
    };

    // Sets the other-filter fields of the application's `equipment` in place; the material
    // files are those of `workingFolder`.
    Form5(EquipmentData& equipment, const QString& workingFolder, EditorHooks hooks,
          QWidget* parent = nullptr);

    // The editor's "任意フィルタ": empties the description and the thickness, shows the window
    // and reads the folder's material files again.
    void Open();

private:
    void File1Click(const QString& fileName);
    void Text2Return();
    void Command1Click();  // "設 定"
    void Command2Click();  // "解 除"

    EquipmentData& equipment_;
    QString workingFolder_;
    EditorHooks hooks_;
    ui::FileListBox* File1 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
};

}  // namespace ordevo
