// A results window started as the program starts it, beside a stand-in main window that
// holds the "結果を表に追加する" button, with scripted message boxes.
#pragma once

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "form10.h"
#include "picture_box.h"
#include "results_addition.h"
#include "scripted_messages.h"
#include "test_cases.h"

namespace ordevo::testing {

class ResultsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        mainWindow.setObjectName(QStringLiteral("Form1"));
        command3 = new QPushButton(QStringLiteral("結果を表に追加する"), &mainWindow);
        command3->setObjectName(QStringLiteral("Command3"));
        form = std::make_unique<Form10>(folder.path());
        // Wired as the application wires the main window.
        QObject::connect(form.get(), &Form10::ResultsCleared, command3,
                         [this] { command3->setEnabled(false); });
        QObject::connect(form.get(), &Form10::resultAdded, command3,
                         [this] { command3->setEnabled(false); });
        QObject::connect(form.get(), &Form10::mainWindowRequested, &mainWindow, [this] {
            mainWindow.show();
            mainWindow.raise();
            mainWindow.activateWindow();
        });
        form->BeginStartUp();
        form->FinishStartUp(QStringLiteral("ABC 総合病院"));
    }

    // Adds cases 1..count as the main window would.
    void AddRows(int count) {
        for (int i = 1; i <= count; ++i) AddCase(ResultsCase(i));
    }
    bool AddCase(const EvaluatedCase& c) {
        command3->setEnabled(true);  // each evaluation enables adding again
        return form->AddCurrentResult(c, equipmentFileName);
    }

    template <class W = QPushButton>
    W* Control(const char* name) const {
        W* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
    // A click in the middle of row r of the grid.
    void ClickRow(int r) {
        ui::PictureBox* picture = form->Picture2();
        const QPoint at = picture->ToImagePixels(500, 50 * r + 75).toPoint();
        QTest::mouseClick(picture, Qt::LeftButton, {}, at + picture->InsideOrigin());
    }

    // Ruling and totals button are shown and hidden together; -1 when they disagree.
    int GridShown() const {
        bool allVisible = true;
        bool noneVisible = true;
        for (const auto& line : form->Picture2()->LineElements()) {
            allVisible = allVisible && line.visible;
            noneVisible = noneVisible && !line.visible;
        }
        const bool button = !Control("Command1")->isHidden();
        if (allVisible && button) return 1;
        if (noneVisible && !button) return 0;
        return -1;
    }

    QImage Picture() const { return form->Picture2()->Image(); }
    const ResultsTable& Table() const { return form->Table(); }

    // Pixels that are not white inside a rectangle of Picture2's units.
    int InkIn(double x1, double y1, double x2, double y2) const {
        const QImage image = Picture();
        const QPoint from = form->Picture2()->ToImagePixels(x1, y1).toPoint();
        const QPoint to = form->Picture2()->ToImagePixels(x2, y2).toPoint();
        int ink = 0;
        for (int y = from.y(); y < to.y() && y < image.height(); ++y) {
            for (int x = from.x(); x < to.x() && x < image.width(); ++x) {
                if (image.pixelColor(x, y) != QColor(Qt::white)) ++ink;
            }
        }
        return ink;
    }

    QTemporaryDir folder;
    QString equipmentFileName = QStringLiteral("Room1.odv3");  // what the rows are computed with
    QWidget mainWindow;
    QPushButton* command3 = nullptr;
    ui::ScopedScriptedMessages messages;
    std::unique_ptr<Form10> form;
};

}  // namespace ordevo::testing
