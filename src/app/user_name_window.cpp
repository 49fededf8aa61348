// The user-name window: the name typed, handed back by OK; Cancel as the use says.
#include "user_name_window.h"

#include <QLineEdit>
#include <QPushButton>

namespace ordevo {

// The controls the window works with, bound once from the layout table.
struct UserNameWindow::Ui {
    explicit Ui(const ui::Controls& c)
        : userNameBox(c.Get<QLineEdit>("Text1")),
          okButton(c.Get<QPushButton>("Command1")),
          cancelButton(c.Get<QPushButton>("Command2")) {}

    QLineEdit* userNameBox;     // Text1
    QPushButton* okButton;      // Command1 "OK"
    QPushButton* cancelButton;  // Command2 "Cancel"
};

UserNameWindow::UserNameWindow(const UserNameWindowDesign& design, QWidget* parent)
    : ModelessWindow(parent),
      controls_(ui::CreateControls(*this, design.controls)),
      ui_(std::make_unique<const Ui>(controls_)) {
    setObjectName(QString::fromUtf8(design.objectName));
    setWindowTitle(QString::fromUtf8(design.caption));
    SetClientSizeTwips(design.clientWidthTwips, design.clientHeightTwips);
    connect(ui_->okButton, &QPushButton::clicked, this,
            [this] { emit okClicked(ui_->userNameBox->text()); });
    connect(ui_->cancelButton, &QPushButton::clicked, this, &UserNameWindow::cancelClicked);
    if (design.cancel == UserNameCancel::Close) {
        connect(ui_->cancelButton, &QPushButton::clicked, this, &QWidget::hide);
        SetDialogKeys(ui_->okButton, ui_->cancelButton);
    } else {
        // Escape closes the registration as its title bar does; it does not make a guest.
        SetDialogKeys(ui_->okButton, nullptr);
    }
}

UserNameWindow::~UserNameWindow() = default;

void UserNameWindow::Open(const QString& currentName) {
    ui_->userNameBox->setText(currentName);
    ShowInFront();
}

}  // namespace ordevo
