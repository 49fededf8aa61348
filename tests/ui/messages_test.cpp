// Message boxes: the scripted service records exactly what a window says and answers from a
// script; the real one builds the box with the title, icon, buttons and the text as given.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QFontMetrics>
#include <QTranslator>

#include <gtest/gtest.h>

#include <climits>

#include "scripted_messages.h"
#include "translations.h"

using namespace ordevo::ui;

TEST(ScriptedMessages, RecordsTextsExactlyWithIconButtonsAndBeep) {
    ScriptedMessages messages;
    const QString full = QStringLiteral(
        "　これ以上の計算結果は保存できません。現在の結果表を一旦保存し、データ消去後、"
        "新たな結果表に保存して下さい。");
    messages.Warning(full, WithBeep::Yes);
    messages.Notice(QStringLiteral("保存するデータがありません"));
    messages.Notice(QStringLiteral("　計算結果を エクセル csv形式 で保存しました　"),
                    WithBeep::Yes);

    ASSERT_EQ(messages.Shown().size(), 3u);
    EXPECT_EQ(messages.Shown()[0].text, full);
    EXPECT_EQ(messages.Shown()[0].text.at(0), QChar(0x3000));  // the ideographic blank stays
    EXPECT_EQ(messages.Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.Shown()[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(messages.Shown()[0].afterBeep);
    EXPECT_EQ(messages.Shown()[1].icon, MessageIcon::None);
    EXPECT_FALSE(messages.Shown()[1].afterBeep);
    EXPECT_EQ(messages.Shown()[2].text.back(), QChar(0x3000));
    EXPECT_TRUE(messages.Shown()[2].afterBeep);
    EXPECT_EQ(messages.BeepCount(), 2);
}

TEST(ScriptedMessages, QuestionsTakeQueuedAnswersAndOkBoxesTakeNone) {
    ScriptedMessages messages;
    messages.QueueAnswer(Answer::No);
    messages.QueueAnswer(Answer::Cancel);
    messages.Warning(QStringLiteral("ok only"));  // does not use up the No
    EXPECT_EQ(messages.AskYesNo(QStringLiteral("　プリンターは準備できていますか？　"),
                                MessageIcon::None),
              Answer::No);
    EXPECT_EQ(messages.AskOkCancel(QStringLiteral("　現在表示されている計算結果は削除されます　")),
              Answer::Cancel);
    EXPECT_EQ(messages.PendingAnswers(), 0u);
    // Defaults once the queue is empty.
    EXPECT_EQ(messages.AskYesNo(QStringLiteral("q")), Answer::Yes);
    EXPECT_EQ(messages.AskOkCancel(QStringLiteral("q")), Answer::Ok);
    // A question whose OK cannot be undone: Enter answers Cancel.
    EXPECT_EQ(messages.AskOkCancel(QStringLiteral("q"), MessageIcon::None, WithBeep::No,
                                   DefaultAnswer::Cancel),
              Answer::Cancel);
    messages.SetDefaultAnswer(MessageButtons::YesNo, Answer::No);
    EXPECT_EQ(messages.AskYesNo(QStringLiteral("q")), Answer::No);

    EXPECT_EQ(messages.Shown()[1].icon, MessageIcon::None);
    EXPECT_EQ(messages.Shown()[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.Shown()[1].answer, Answer::No);
    EXPECT_EQ(messages.Shown()[2].buttons, MessageButtons::OkCancel);
}

TEST(ScriptedMessages, AnAnswerTheBoxDoesNotOfferIsAScriptError) {
    ScriptedMessages messages;
    messages.QueueAnswer(Answer::Yes);
    EXPECT_THROW(messages.AskOkCancel(QStringLiteral("OK or Cancel")), std::logic_error);
    EXPECT_THROW(messages.SetDefaultAnswer(MessageButtons::Ok, Answer::Cancel), std::logic_error);
}

TEST(ScriptedMessages, ScopedInstallReplacesTheAppServiceAndPutsItBack) {
    Messages* before = &AppMessages();
    {
        ScopedScriptedMessages scripted;
        EXPECT_EQ(&AppMessages(), &*scripted);
        AppMessages().Error(QStringLiteral("Att_coeff2021.dat line 212: 6 numbers, 7 expected"));
        ASSERT_EQ(scripted->Texts().size(), 1u);
        EXPECT_EQ(scripted->Shown()[0].icon, MessageIcon::Critical);
    }
    EXPECT_EQ(&AppMessages(), before);
}

TEST(QtMessages, BoxCarriesTitleIconButtonsAndThePlainText) {
    QtMessages messages(QStringLiteral("Ordevo-V3"));
    // A text with markup-like characters must be shown as typed, blanks included.
    const QString text = QStringLiteral("　<b>ファイル</b> を開けません　");
    const auto box = messages.BuildBox(text, MessageIcon::Exclamation, MessageButtons::Ok, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Ordevo-V3"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), text);

    const auto question =
        messages.BuildBox(text, MessageIcon::None, MessageButtons::YesNo, nullptr);
    EXPECT_EQ(question->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    const auto confirm =
        messages.BuildBox(text, MessageIcon::None, MessageButtons::OkCancel, nullptr);
    EXPECT_EQ(confirm->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(confirm->standardButton(confirm->defaultButton()), QMessageBox::Ok);
    // Enter on the box that empties a table keeps it.
    const auto cautious =
        messages.BuildBox(text, MessageIcon::None, MessageButtons::OkCancelDefaultCancel, nullptr);
    EXPECT_EQ(cautious->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(cautious->standardButton(cautious->defaultButton()), QMessageBox::Cancel);
}

TEST(QtMessages, AnEmptyTitleFollowsTheApplicationName) {
    const QString saved = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName(QStringLiteral("Ordevo-V3"));
    QtMessages messages;
    EXPECT_EQ(messages.Title(), QStringLiteral("Ordevo-V3"));
    QApplication::setApplicationDisplayName(saved);
}

TEST(QtMessages, ShowReturnsTheButtonThatWasPressed) {
    QtMessages messages(QStringLiteral("Ordevo-V3"));
    // Press "No" on the box as soon as it is up.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(QMessageBox::No)->click();
        },
        Qt::QueuedConnection);
    EXPECT_EQ(messages.Show(QStringLiteral("q"), MessageIcon::Question, MessageButtons::YesNo),
              Answer::No);
}

// With Qt's Japanese catalogue loaded, the standard buttons speak Japanese like the texts.
TEST(QtMessages, StandardButtonsAreJapaneseOnceQtsCatalogueIsLoaded) {
    QTranslator* translator = InstallQtJapaneseTranslations();
    ASSERT_NE(translator, nullptr) << "qtbase_ja not found (Debian qt6-translations-l10n)";
    QtMessages messages(QStringLiteral("Ordevo-V3"));
    const struct {
        MessageButtons buttons;
        QString japanese;
    } cases[] = {{MessageButtons::YesNo, QStringLiteral("はい")},
                 {MessageButtons::YesNo, QStringLiteral("いいえ")},
                 {MessageButtons::OkCancel, QStringLiteral("キャンセル")}};
    for (const auto& c : cases) {
        const auto box =
            messages.BuildBox(QStringLiteral("?"), MessageIcon::None, c.buttons, nullptr);
        QStringList texts;
        for (const QAbstractButton* button : box->buttons()) texts << button->text();
        EXPECT_TRUE(texts.join(QLatin1Char('|')).contains(c.japanese))
            << texts.join(QLatin1Char('|')).toStdString();
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

// A long text is broken into lines of nearly equal width, so the box never leaves one or two
// characters on a line of their own; nothing is lost but the box's own wrapping points.
TEST(QtMessages, LongTextsAreBrokenIntoBalancedLines) {
    QtMessages messages(QStringLiteral("Ordevo-V3"));
    for (const QString& text :
         {QStringLiteral("　ファイル読出を行うと、現在表示されている計算結果は削除されます。"),
          QStringLiteral(
              "　これ以上の計算結果は保存できません。現在の結果表を一旦保存し、データ消去後、"
              "新たな結果表に保存して下さい。")}) {
        const auto box =
            messages.BuildBox(text, MessageIcon::Exclamation, MessageButtons::Ok, nullptr);
        const QStringList lines = box->text().split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 2) << text.toStdString();
        EXPECT_EQ(lines.join(QString()), text);
        const QFontMetrics metrics(box->font());
        int shortest = INT_MAX, longest = 0;
        for (const QString& line : lines) {
            shortest = std::min(shortest, metrics.horizontalAdvance(line));
            longest = std::max(longest, metrics.horizontalAdvance(line));
        }
        EXPECT_GT(shortest * 2, longest) << box->text().toStdString();
    }
}
