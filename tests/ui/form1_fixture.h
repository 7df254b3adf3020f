// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/canvas_widget.h"
#include "platform/slider.h"
#include "ui/animation_files.h"
#include "ui/form1.h"
#include "ui/workspace/window_faces.h"
#include "ui/workspace/workspace_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <cmath>

#include <memory>
#include <vector>

namespace zelbrook {

// A window whose dialogs and messages are answered by the test: each file
// dialog takes the next answer (a path, or nothing for Cancel) and every
// request and message is kept.
struct Form1Fixture {
    std::unique_ptr<Form1> window = std::make_unique<Form1>();
    std::vector<std::optional<FileDialogControl::DialogAnswer>> answers;
    std::vector<FileDialogControl::DialogRequest> requests;
    QStringList messages;

    Form1Fixture()
    {
        const auto answer = [this](const FileDialogControl::DialogRequest &request) {
            requests.push_back(request);
            if (answers.empty())
                return std::optional<FileDialogControl::DialogAnswer>();
            const auto answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
        window->CommonDialog1().setPresenter(answer);
        window->animationFiles().setDialogPresenter(answer);
        window->animationFiles().setExportChooser([](const ExportChoices &current) { return current; });
        window->setMessagePresenter([this](const QString &text) { messages << text; });
    }

    Slider *slider(const char *name) const { return window->slider(name); }
    QString text(const char *display) const { return window->display(display)->text(); }
    const QImage &picture() const { return window->Picture1()->canvas().Image(); }

    // Everything a failed command must leave alone, read off the window.
    struct State {
        Pose pose;
        std::vector<int> positions;
        QStringList texts;
        QImage picture;
        int penWidth;

        bool operator==(const State &) const = default;
    };

    State state() const
    {
        State s{window->pose(), {}, {}, picture().copy(), window->Picture1()->canvas().DrawWidth()};
        for (Slider *slider : window->findChildren<Slider *>())
            s.positions.push_back(slider->Value());
        for (QLineEdit *box : window->findChildren<QLineEdit *>())
            s.texts << box->text();
        return s;
    }
};

// A window shown and active, so that its keys reach their commands.
struct ActiveWindow : Form1Fixture {
    ActiveWindow()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // A point given in canvas units, as the canvas widget's own position.
    QPoint onCanvas(double x, double y) const
    {
        const QPoint origin = window->Picture1()->contentsRect().topLeft();
        return origin + QPoint(int(std::lround(x * 493 / 500)), int(std::lround(y * 397 / 400)));
    }

    // The face the window shows: the poser, or the workspace.
    QWidget *face() const
    {
        return window->faces().showsWorkspace() ? static_cast<QWidget *>(window->faces().workspace()) : window.get();
    }

    // The picture of the face on show: the poser's canvas, or the stage,
    // made the active window.
    QWidget *canvas() const
    {
        QWidget *target = face();
        if (QApplication::activeWindow() != target)
            QApplication::setActiveWindow(target);
        return window->faces().showsWorkspace() ? target->findChild<QWidget *>(QStringLiteral("stage"))
                                                : window->Picture1();
    }

    // Keys pressed in the face on show, made the active window first.
    void keys(const QKeySequence &sequence)
    {
        QWidget *target = face();
        if (QApplication::activeWindow() != target)
            QApplication::setActiveWindow(target);
        QTest::keySequence(target, sequence);
        // A key that turned the face leaves the new one active, as the
        // window system would.
        if (face() != target)
            QApplication::setActiveWindow(face());
    }

    // Three keys, the body turned 10, 60 and 120 positions in turn, the
    // middle one current.
    void makeThreeKeys()
    {
        for (const int angle : {10, 60, 120}) {
            if (angle != 10)
                keys(QKeySequence(Qt::CTRL | Qt::Key_K));
            QVERIFY(window->slider("BodyangleScroll")->setValue(angle));
        }
        keys(QKeySequence(Qt::ALT | Qt::Key_Left));
    }
};

} // namespace zelbrook
