// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QWidget;

namespace zelbrook {

class AnimationFiles;
class AnimationDocument;
class TimelineCommands;

// The window's title: its caption, led by the name of the animation's file
// while the animation has one and the timeline shows or the animation has
// several keys, with the desktop's mark while the animation differs from its
// file. The caption, not the title, is what the pictures' credit line says;
// a title set from outside becomes the caption.
class WindowTitle : public QObject
{
    Q_OBJECT

public:
    WindowTitle(QWidget *window, std::string &caption, AnimationDocument &document, const TimelineCommands &timeline,
                const AnimationFiles &files);

    void update();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showModified();

    QWidget *m_window;
    std::string &m_caption;
    AnimationDocument &m_document;
    const TimelineCommands &m_timeline;
    const AnimationFiles &m_files;
    // The title as last set here, to tell it from one set from outside.
    QString m_shown;
    // Whether the title names the animation's file, and so shows its mark.
    bool m_named = false;
};

} // namespace zelbrook
