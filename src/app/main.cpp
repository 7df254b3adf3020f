// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editor_arguments.h"
#include "platform/exit_cleanup.h"
#include "platform/runtime_folder.h"
#include "ui/form1.h"

#include <QApplication>

#include <csignal>

// zelbrook [--] [POSE]: opens the editor, with the pose file if one is named
// (as a file manager does for a .zbk file).
int main(int argc, char *argv[])
{
    // A save beyond a file-size limit fails like one to a full disk, with a
    // message, and an interrupted save leaves no unfinished file behind.
    std::signal(SIGXFSZ, SIG_IGN);
    zelbrook::ExitCleanup::removeOnTermination();
    zelbrook::EditorArguments arguments = zelbrook::EditorArguments::split(argc, argv);
    const zelbrook::RuntimeFolder runtimeFolder("zelbrook");
    int qtArgumentCount = static_cast<int>(arguments.qtArguments.size());
    arguments.qtArguments.push_back(nullptr);
    QApplication app(qtArgumentCount, arguments.qtArguments.data());
    zelbrook::Form1 window;
    window.show();
    if (!arguments.files.empty())
        window.openPoseNamed(zelbrook::EditorArguments::absoluteName(arguments.files.front()));
    return QApplication::exec();
}
