// Message boxes and the beep, behind one seam so that tests answer them.
//
// Every window reaches the service through AppMessages():
//   AppMessages().Warning(QStringLiteral("　コメントおよびファイル名を入力して下さい　"),
//   WithBeep::Yes); if (AppMessages().AskYesNo(text, MessageIcon::None) == Answer::No) return;
// Tests replace it for their scope with ScopedScriptedMessages (scripted_messages.h).
#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace ordevo::ui {

enum class MessageIcon { None, Exclamation, Information, Question, Critical };
// OkCancelDefaultCancel: a question whose OK cannot be undone (emptying a table), so Enter
// answers Cancel.
enum class MessageButtons { Ok, OkCancel, OkCancelDefaultCancel, YesNo, YesNoCancel };
enum class DefaultAnswer { Ok, Cancel };
enum class Answer { Ok, Cancel, Yes, No };
enum class WithBeep { No, Yes };  // beep before the box appears

class Messages {
public:
    virtual ~Messages() = default;

    // Shows a box with the text exactly as given (plain text, blanks kept) and waits for
    // the answer. A box closed without a choice answers Cancel, No or Ok (the least harmful).
    virtual Answer Show(const QString& text, MessageIcon icon, MessageButtons buttons) = 0;
    virtual void Beep() = 0;

    // The program's kinds of message, each a Show with its icon and buttons:
    // an input warning (exclamation, OK),
    void Warning(const QString& text, WithBeep beep = WithBeep::No);
    // a notice (no icon, OK),
    void Notice(const QString& text, WithBeep beep = WithBeep::No);
    // an error that ends an action or the program (critical icon, OK),
    void Error(const QString& text, WithBeep beep = WithBeep::No);
    // confirmations (Answer::Ok or Cancel; Answer::Yes or No).
    Answer AskOkCancel(const QString& text, MessageIcon icon = MessageIcon::None,
                       WithBeep beep = WithBeep::No, DefaultAnswer byDefault = DefaultAnswer::Ok);
    Answer AskYesNo(const QString& text, MessageIcon icon = MessageIcon::Question,
                    WithBeep beep = WithBeep::No);
    // A choice between two actions, or neither (Answer::Yes, No or Cancel).
    Answer AskYesNoCancel(const QString& text, MessageIcon icon = MessageIcon::Question,
                          WithBeep beep = WithBeep::No);
};

// The real boxes: QMessageBox, modal to the active window, titled with the application's title.
class QtMessages : public Messages {
public:
    // An empty title means QApplication::applicationDisplayName() at the time of each box.
    explicit QtMessages(QString title = QString());
    void SetTitle(const QString& title) { title_ = title; }
    QString Title() const;

    Answer Show(const QString& text, MessageIcon icon, MessageButtons buttons) override;
    void Beep() override;  // QApplication::beep()

    // The box Show() would run (not shown). Public so its title, icon, buttons and exact
    // text can be checked without a modal loop.
    std::unique_ptr<QMessageBox> BuildBox(const QString& text, MessageIcon icon,
                                          MessageButtons buttons, QWidget* parent) const;

private:
    QString title_;
};

// Before a save replaces a file: true when `path` does not exist yet, or when the user answers
// "はい" to the question that names the file.
bool MayReplaceFile(const QString& path);

// The process-wide service. Until SetAppMessages installs another, it is a QtMessages with
// the application's display name as title. Use from the user-interface thread only.
Messages& AppMessages();
// Installs `messages` and returns the one it replaces (null if none was made yet), so it can
// be put back. Installing null returns to the default QtMessages, made at the next use.
std::unique_ptr<Messages> SetAppMessages(std::unique_ptr<Messages> messages);

}  // namespace ordevo::ui
