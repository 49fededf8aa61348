// Creation of a window's controls from its layout table.
#include "control_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"
#include "picture_box.h"
#include "twips.h"

namespace ordevo::ui {
namespace {

constexpr char kKindProperty[] = "ordevoControlKind";
constexpr char kOverlapProperty[] = "ordevoOverlapAllowed";

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* MakeWidget(const ControlSpec& spec, QWidget* parent) {
    const QString caption = ToQString(spec.caption);
    switch (spec.kind) {
    case Kind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::Button: return new QPushButton(caption, parent);
    case Kind::TextBox: return new QLineEdit(caption, parent);
    case Kind::Option: return new QRadioButton(caption, parent);
    case Kind::CheckBox: return new QCheckBox(caption, parent);
    case Kind::Frame: return new QGroupBox(caption, parent);
    case Kind::ComboBox: return new QComboBox(parent);
    case Kind::ListBox: return new QListWidget(parent);
    case Kind::FileList: {
        auto* list = new FileListBox(parent);
        if (!caption.isEmpty()) list->SetPattern(caption);
        return list;
    }
    case Kind::DirList: return new DirListBox(parent);
    case Kind::DriveList: return new DriveListBox(parent);
    case Kind::PictureBox: return new PictureBox(parent);
    case Kind::Shape: {
        auto* shape = new QFrame(parent);
        shape->setFrameStyle(QFrame::Box | QFrame::Plain);
        shape->setLineWidth(1);
        shape->setStyleSheet(QStringLiteral("QFrame { color: black; background: transparent; }"));
        shape->setAttribute(Qt::WA_TransparentForMouseEvents);
        return shape;
    }
    }
    throw std::invalid_argument("unknown control kind");
}

}  // namespace

QWidget* Controls::Widget(std::string_view name) const {
    const auto found = byName_.constFind(ToQString(name));
    if (found == byName_.constEnd()) {
        throw std::out_of_range("no control named " + std::string(name));
    }
    return found.value();
}

bool Controls::Contains(std::string_view name) const { return byName_.contains(ToQString(name)); }

void Controls::Add(const QString& name, QWidget* widget) { byName_.insert(name, widget); }

Controls CreateControls(QWidget& window, std::span<const ControlSpec> table) {
    InstallFontSubstitutions();
    Controls controls;
    for (const ControlSpec& spec : table) {
        const QString name = ToQString(spec.name);
        if (name.isEmpty() || controls.Contains(spec.name)) {
            throw std::invalid_argument("control name empty or used twice: " +
                                        std::string(spec.name));
        }
        QWidget* parent = &window;
        if (!spec.parent.empty()) {
            if (!controls.Contains(spec.parent)) {
                throw std::invalid_argument("control " + std::string(spec.name) + ": parent " +
                                            std::string(spec.parent) +
                                            " is not an earlier control");
            }
            parent = controls.Widget(spec.parent);
            const Kind parentKind = ControlKind(*parent);
            if (parentKind != Kind::Frame && parentKind != Kind::PictureBox) {
                throw std::invalid_argument("control " + std::string(spec.name) + ": parent " +
                                            std::string(spec.parent) +
                                            " is neither a frame nor a picture box");
            }
        }

        QWidget* widget = MakeWidget(spec, parent);
        widget->setObjectName(name);
        widget->setProperty(kKindProperty, static_cast<int>(spec.kind));
        widget->setProperty(kOverlapProperty, spec.overlap == Overlap::Allowed);
        if (spec.font != Font::Inherit) {
            widget->setFont(MakeFont(spec.font, spec.fontSizePt));
        }
        if (auto* picture = qobject_cast<PictureBox*>(widget)) {
            const QFont font = widget->font();
            picture->SetFont(spec.font != Font::Inherit ? FontFamilyName(spec.font) : font.family(),
                             spec.font != Font::Inherit ? spec.fontSizePt : font.pointSizeF());
        }
        if (!spec.toolTip.empty()) {
            widget->setToolTip(ToQString(spec.toolTip));
        }

        const QSize hint = widget->sizeHint();
        const int widthPx = spec.width > 0 ? TwipsToPixels(spec.width) : hint.width();
        const int heightPx = spec.height > 0 ? TwipsToPixels(spec.height) : hint.height();
        widget->setGeometry(TwipsToPixels(spec.left), TwipsToPixels(spec.top), widthPx, heightPx);
        widget->show();  // shown with its window; a window hides a control explicitly
        controls.Add(name, widget);
    }
    return controls;
}

bool WasCreatedFromTable(const QWidget& widget) { return widget.property(kKindProperty).isValid(); }

Kind ControlKind(const QWidget& widget) {
    const QVariant kind = widget.property(kKindProperty);
    return kind.isValid() ? static_cast<Kind>(kind.toInt()) : Kind::Label;
}

Overlap ControlOverlap(const QWidget& widget) {
    return widget.property(kOverlapProperty).toBool() ? Overlap::Allowed : Overlap::Checked;
}

void UncheckOption(QAbstractButton& option) {
    const bool exclusive = option.autoExclusive();
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(exclusive);
}

}  // namespace ordevo::ui
