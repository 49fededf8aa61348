// Recording, scripted message boxes for tests.
#include "scripted_messages.h"

#include <stdexcept>

namespace ordevo::ui {
namespace {

bool Offers(MessageButtons buttons, Answer answer) {
    switch (buttons) {
    case MessageButtons::Ok: return answer == Answer::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::OkCancelDefaultCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    case MessageButtons::YesNo: return answer == Answer::Yes || answer == Answer::No;
    case MessageButtons::YesNoCancel:
        return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    }
    return false;
}

}  // namespace

ScriptedMessages::ScriptedMessages()
    : defaults_{{MessageButtons::Ok, Answer::Ok},
                {MessageButtons::OkCancel, Answer::Ok},
                {MessageButtons::OkCancelDefaultCancel, Answer::Cancel},
                {MessageButtons::YesNo, Answer::Yes},
                {MessageButtons::YesNoCancel, Answer::Yes}} {}

void ScriptedMessages::QueueAnswer(Answer answer) { queue_.push_back(answer); }

void ScriptedMessages::SetDefaultAnswer(MessageButtons buttons, Answer answer) {
    if (!Offers(buttons, answer)) {
        throw std::logic_error("default answer not offered by those buttons");
    }
    defaults_[buttons] = answer;
}

std::vector<QString> ScriptedMessages::Texts() const {
    std::vector<QString> texts;
    for (const ShownMessage& message : shown_) texts.push_back(message.text);
    return texts;
}

void ScriptedMessages::Forget() {
    shown_.clear();
    beeps_ = 0;
    beepPending_ = false;
}

Answer ScriptedMessages::Show(const QString& text, MessageIcon icon, MessageButtons buttons) {
    Answer answer = defaults_.at(buttons);
    if (buttons != MessageButtons::Ok && !queue_.empty()) {
        answer = queue_.front();
        if (!Offers(buttons, answer)) {
            throw std::logic_error("scripted answer not offered by the box: " + text.toStdString());
        }
        queue_.pop_front();
    }
    const ShownMessage shown{text, icon, buttons, beepPending_, answer};
    beepPending_ = false;
    if (onShow_) onShow_(shown);
    shown_.push_back(shown);
    return answer;
}

void ScriptedMessages::Beep() {
    ++beeps_;
    beepPending_ = true;
}

ScopedScriptedMessages::ScopedScriptedMessages() {
    auto scripted = std::make_unique<ScriptedMessages>();
    scripted_ = scripted.get();
    previous_ = SetAppMessages(std::move(scripted));
}

ScopedScriptedMessages::~ScopedScriptedMessages() { SetAppMessages(std::move(previous_)); }

}  // namespace ordevo::ui
