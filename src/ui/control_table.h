// Window layouts as tables: each control's kind, caption and twips position, created in one call.
//
//   constexpr ControlSpec kForm7Controls[] = {
//       {"Label1",   Kind::Label,  "Ordevo-V3 を終了しますか ？", 480, 480, 4335, 465,
//       Font::Meiryo},
//       {"Command1", Kind::Button, "はい", 1320, 1320, 1455, 615, Font::Meiryo},
//   };
//   const Controls controls = CreateControls(*this, kForm7Controls);
//   yesButton = controls.Get<QPushButton>("Command1");  // bound once, in the window's constructor
#pragma once

#include <QAbstractButton>
#include <QHash>
#include <QString>
#include <QWidget>

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fonts.h"

namespace ordevo::ui {

// The widget each kind becomes.
enum class Kind {
    Label,       // QLabel, plain text, top-left aligned, no wrapping
    Button,      // QPushButton
    TextBox,     // QLineEdit
    Option,      // QRadioButton; options with the same parent exclude each other
    CheckBox,    // QCheckBox
    Frame,       // QGroupBox with the caption as its title; may be the parent of other controls
    ComboBox,    // QComboBox (drop-down list; items are added by the window)
    ListBox,     // QListWidget
    FileList,    // FileListBox (file_list_box.h); the caption is its pattern, e.g. "*.csv"
    DirList,     // DirListBox (dir_list_box.h)
    DriveList,   // DriveListBox (drive_list_box.h)
    PictureBox,  // PictureBox (picture_box.h); may be the parent of other controls
    Shape,       // QFrame drawn as a 1-pixel black rectangle; decoration, lets clicks through
};

// Whether the layout check may report this control as overlapping its siblings.
enum class Overlap {
    Checked,
    Allowed,  // deliberate: a shadow copy of a label, a button laid over a picture, …
};

// One control. Positions are twips from the parent's top-left corner (the window's client area,
// or the frame or picture named in `parent`). A width or height of 0 fits the caption in the
// control's font. Strings are UTF-8.
struct ControlSpec {
    std::string_view name = {};  // becomes objectName(); unique within a table
    Kind kind = Kind::Label;
    std::string_view caption = {};  // text, title or (FileList) pattern
    int left = 0;
    int top = 0;
    int width = 0;   // 0: fit the caption
    int height = 0;  // 0: fit the caption
    Font font = Font::Inherit;
    double fontSizePt = 9;  // used when font is not Inherit
    std::string_view toolTip = {};
    std::string_view parent = {};  // "" = the window; otherwise an earlier Frame or PictureBox
    Overlap overlap = Overlap::Checked;
};

// What every window exposes of its design: the table its controls are made from and the size
// of its client area, both in twips. One layout test checks every window through it.
struct WindowLayout {
    std::span<const ControlSpec> controls;
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
    // The window's own font, which its controls of Font::Inherit take (Inherit: the application's).
    Font windowFont = Font::Inherit;
    double windowFontSizePt = 9;
};

// The controls one CreateControls call made, by name. Windows bind their typed controls from it
// once, when they are built; tests find controls in it by their objectName.
class Controls {
public:
    // The control of that name; throws std::out_of_range naming it when there is none.
    QWidget* Widget(std::string_view name) const;

    // The control as its widget class; throws std::out_of_range when the name is unknown and
    // std::logic_error when the control is of another class.
    template <class W>
    W* Get(std::string_view name) const {
        auto* widget = qobject_cast<W*>(Widget(name));
        if (widget == nullptr) {
            throw std::logic_error("control " + std::string(name) + " is not a " +
                                   W::staticMetaObject.className());
        }
        return widget;
    }

    bool Contains(std::string_view name) const;
    const QHash<QString, QWidget*>& All() const { return byName_; }

    void Add(const QString& name, QWidget* widget);

private:
    QHash<QString, QWidget*> byName_;
};

// Creates every control of the table as a child of `window` (or of its named parent control),
// in table order (later controls lie above earlier ones), sets objectName, caption, font,
// tool tip and geometry, and returns them by name. Throws std::invalid_argument for a duplicate
// name or a parent that is not an earlier Frame or PictureBox of the same table.
Controls CreateControls(QWidget& window, std::span<const ControlSpec> table);

// What CreateControls recorded on a widget (as dynamic properties, so the layout check works
// from the widgets alone). ControlKind and ControlOverlap are meaningful only for widgets that
// WasCreatedFromTable; others report Kind::Label and Overlap::Checked.
bool WasCreatedFromTable(const QWidget& widget);
Kind ControlKind(const QWidget& widget);
Overlap ControlOverlap(const QWidget& widget);

// Turns an option button off. Qt refuses to uncheck the checked button of an exclusive group
// directly, so exclusivity is lifted for the moment of the change. No signal is suppressed.
void UncheckOption(QAbstractButton& option);

}  // namespace ordevo::ui
