// 「測定から作る…」: the room profile fitted from the room's own dose report (the four-step
// protocol), shown step by step before it is saved into the data folder; the protocol can be
// printed from here too.
#pragma once

#include <QDialog>
#include <QString>

#include "room_commissioning.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ordevo {

class RoomFitDialog : public QDialog {
    Q_OBJECT
public:
    // `folder` is where the profile is saved as "<name>.room"; `suggestedName` fills the name box.
    RoomFitDialog(RoomCommissioning commissioning, double moveCm, QString folder,
                  const QString& suggestedName, QWidget* parent = nullptr);

    QTableWidget* StepsTable() const { return steps_; }
    QLabel* Message() const { return message_; }
    QLineEdit* NameBox() const { return name_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* ProtocolButton() const { return protocol_; }
    // The file saved by 保存, empty before.
    const QString& SavedPath() const { return saved_; }

    // 保存: the name checked, an existing file replaced only when the user agrees, written whole;
    // the dialog is accepted when written.
    void Save();

private:
    RoomCommissioning commissioning_;
    double moveCm_;
    QString folder_;
    QString saved_;
    QTableWidget* steps_;
    QLabel* message_;
    QLineEdit* name_;
    QPushButton* save_;
    QPushButton* protocol_;
};

}  // namespace ordevo
