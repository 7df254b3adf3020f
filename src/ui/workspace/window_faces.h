// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace zelbrook {

class Canvas;
class Form1;
class Stage;
class WorkspaceWindow;

// The two faces of the editor's window: the poser, the window as it has
// always been, and the animator's workspace, made the first time it is
// asked for. One shows at a time, where the other stood.
class WindowFaces : public QObject
{
    Q_OBJECT

public:
    explicit WindowFaces(Form1 &poser);
    ~WindowFaces() override;

    bool showsWorkspace() const { return m_showsWorkspace; }
    void showWorkspace(bool shown);
    // The workspace, when it has been made.
    WorkspaceWindow *workspace() const { return m_workspace; }
    Stage *stage() const { return m_stage; }
    // The picture changed: the stage draws it again.
    void pictureChanged();
    // Tells why a command did nothing: in the workspace's status bar, or
    // with a beep in the poser, which has none.
    void refuse(const QString &why);
    // The workspace goes with the poser.
    void close();

private:
    WorkspaceWindow *makeWorkspace();
    QWidget *timelinePanel();

    Form1 &m_poser;
    WorkspaceWindow *m_workspace = nullptr;
    Stage *m_stage = nullptr;
    bool m_showsWorkspace = false;
};

} // namespace zelbrook
