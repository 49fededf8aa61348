// Messages for tests: records every box and beep and answers questions from a script.
//
//   ScopedScriptedMessages messages;                // installed until the end of the scope
//   messages->QueueAnswer(Answer::No);              // the next question is answered No
//   ... drive the window ...
//   ASSERT_EQ(messages->Shown().size(), 1u);
//   EXPECT_EQ(messages->Shown()[0].text, QStringLiteral("　プリンターは準備できていますか？　"));
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "messages.h"

namespace ordevo::ui {

struct ShownMessage {
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
    bool afterBeep;  // a beep came since the previous box
    Answer answer;   // what the script answered
};

class ScriptedMessages : public Messages {
public:
    ScriptedMessages();

    // Questions (OkCancel, YesNo) take their answers from the queue in order; an OK-only box
    // is answered Ok and takes nothing from it. With the queue empty a question gets the
    // default for its buttons, as Enter would answer: Ok for OkCancel, Cancel for
    // OkCancelDefaultCancel and Yes for YesNo unless set otherwise.
    // A queued answer that the box does not offer (Yes to OK/Cancel) throws std::logic_error,
    // since the test expected another question.
    void QueueAnswer(Answer answer);
    void SetDefaultAnswer(MessageButtons buttons, Answer answer);
    std::size_t PendingAnswers() const { return queue_.size(); }

    // Called at each box, before it is answered (to look at the windows at that moment).
    void OnShow(std::function<void(const ShownMessage&)> callback) {
        onShow_ = std::move(callback);
    }

    const std::vector<ShownMessage>& Shown() const { return shown_; }
    std::vector<QString> Texts() const;
    int BeepCount() const { return beeps_; }
    void Forget();  // clears the record (not the queue)

    Answer Show(const QString& text, MessageIcon icon, MessageButtons buttons) override;
    void Beep() override;

private:
    std::deque<Answer> queue_;
    std::map<MessageButtons, Answer> defaults_;
    std::function<void(const ShownMessage&)> onShow_;
    std::vector<ShownMessage> shown_;
    int beeps_ = 0;
    bool beepPending_ = false;
};

// Installs a ScriptedMessages as AppMessages() for its lifetime and puts the previous
// service back afterwards.
class ScopedScriptedMessages {
public:
    ScopedScriptedMessages();
    ~ScopedScriptedMessages();
    ScopedScriptedMessages(const ScopedScriptedMessages&) = delete;
    ScopedScriptedMessages& operator=(const ScopedScriptedMessages&) = delete;

    ScriptedMessages& operator*() const { return *scripted_; }
    ScriptedMessages* operator->() const { return scripted_; }

private:
    ScriptedMessages* scripted_;  // owned by the accessor while installed
    std::unique_ptr<Messages> previous_;
};

}  // namespace ordevo::ui
