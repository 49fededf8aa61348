// QMessageBox-backed messages and the process-wide accessor.
#include "messages.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>

#include <utility>

namespace ordevo::ui {
namespace {

std::unique_ptr<Messages>& Installed() {
    static std::unique_ptr<Messages> installed;
    return installed;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// Longest line the box is given, in full-width characters; the box's own wrapping starts wider.
constexpr int kCharactersPerLine = 24;

bool IsBreakAfter(QChar c) {
    return c == QChar(0x3001) || c == QChar(0x3002) || c == QChar(0xFF0C) || c == QChar(0xFF0E) ||
           c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char(',');
}
bool IsClosingMark(QChar c) {  // never at the start of a line
    return c == QChar(0x3001) || c == QChar(0x3002) || c == QChar(0xFF09) || c == QChar(0x300D) ||
           c == QChar(0xFF0C) || c == QChar(0xFF0E) || c == QLatin1Char(')');
}

// A long paragraph is broken into lines of nearly equal width before the box sees it, after
// a punctuation mark or a blank where one is near, so that the box's own wrapping never leaves
// a lone character or two on a line of its own. Nothing is added or lost but line breaks.
QString BalancedLines(const QString& text, const QFontMetrics& metrics) {
    const int widest = metrics.horizontalAdvance(QString(kCharactersPerLine, QChar(0x3042)));
    QStringList out;
    for (QString rest : text.split(QLatin1Char('\n'))) {
        for (int lines = (metrics.horizontalAdvance(rest) + widest - 1) / widest; lines > 1;
             --lines) {
            const int target = metrics.horizontalAdvance(rest) / lines;
            qsizetype cut = 1;
            while (cut < rest.size() && metrics.horizontalAdvance(rest.left(cut)) < target) ++cut;
            for (qsizetype d = 0; d <= 4; ++d) {
                if (cut - d > 1 && IsBreakAfter(rest[cut - d - 1])) {
                    cut -= d;
                    break;
                }
                if (cut + d < rest.size() && IsBreakAfter(rest[cut + d - 1])) {
                    cut += d;
                    break;
                }
            }
            while (cut < rest.size() && IsClosingMark(rest[cut])) ++cut;
            if (rest[cut - 1].isHighSurrogate() && cut < rest.size()) ++cut;
            out << rest.left(cut);
            rest = rest.mid(cut);
        }
        out << rest;
    }
    return out.join(QLatin1Char('\n'));
}

}  // namespace

void Messages::Warning(const QString& text, WithBeep beep) {
    if (beep == WithBeep::Yes) Beep();
    Show(text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void Messages::Notice(const QString& text, WithBeep beep) {
    if (beep == WithBeep::Yes) Beep();
    Show(text, MessageIcon::None, MessageButtons::Ok);
}

void Messages::Error(const QString& text, WithBeep beep) {
    if (beep == WithBeep::Yes) Beep();
    Show(text, MessageIcon::Critical, MessageButtons::Ok);
}

Answer Messages::AskOkCancel(const QString& text, MessageIcon icon, WithBeep beep,
                             DefaultAnswer byDefault) {
    if (beep == WithBeep::Yes) Beep();
    return Show(text, icon,
                byDefault == DefaultAnswer::Cancel ? MessageButtons::OkCancelDefaultCancel
                                                   : MessageButtons::OkCancel);
}

Answer Messages::AskYesNo(const QString& text, MessageIcon icon, WithBeep beep) {
    if (beep == WithBeep::Yes) Beep();
    return Show(text, icon, MessageButtons::YesNo);
}

Answer Messages::AskYesNoCancel(const QString& text, MessageIcon icon, WithBeep beep) {
    if (beep == WithBeep::Yes) Beep();
    return Show(text, icon, MessageButtons::YesNoCancel);
}

QtMessages::QtMessages(QString title) : title_(std::move(title)) {}

QString QtMessages::Title() const {
    return title_.isEmpty() ? QApplication::applicationDisplayName() : title_;
}

std::unique_ptr<QMessageBox> QtMessages::BuildBox(const QString& text, MessageIcon icon,
                                                  MessageButtons buttons, QWidget* parent) const {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(Title());
    box->setIcon(ToQt(icon));
    box->setTextFormat(Qt::PlainText);  // a text that looks like markup is still shown as typed
    box->setText(BalancedLines(text, QFontMetrics(box->font())));
    switch (buttons) {
    case MessageButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancelDefaultCancel:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        break;
    case MessageButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

Answer QtMessages::Show(const QString& text, MessageIcon icon, MessageButtons buttons) {
    const auto box = BuildBox(text, icon, buttons, QApplication::activeWindow());
    const int clicked = box->exec();
    switch (clicked) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default:
        // Closed by the window frame or Escape without an Escape button.
        if (buttons == MessageButtons::YesNo) return Answer::No;
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

void QtMessages::Beep() { QApplication::beep(); }

Messages& AppMessages() {
    std::unique_ptr<Messages>& installed = Installed();
    if (!installed) installed = std::make_unique<QtMessages>();
    return *installed;
}

std::unique_ptr<Messages> SetAppMessages(std::unique_ptr<Messages> messages) {
    std::unique_ptr<Messages> previous = std::move(Installed());
    Installed() = std::move(messages);
    return previous;
}

bool MayReplaceFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists()) return true;
    return AppMessages().AskYesNo(
               QStringLiteral(" %1 は既にあります。置き換えますか？ ").arg(file.fileName()),
               MessageIcon::Question) == Answer::Yes;
}

}  // namespace ordevo::ui
