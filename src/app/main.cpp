#include "app/editor_arguments.h"
#include "ui/form1.h"

#include <QApplication>

// zelbrook [--] [POSE]: opens the editor, with the pose file if one is named
// (as a file manager does for a .zbk file).
int main(int argc, char *argv[])
{
    zelbrook::EditorArguments arguments = zelbrook::EditorArguments::split(argc, argv);
    int qtArgumentCount = static_cast<int>(arguments.qtArguments.size());
    arguments.qtArguments.push_back(nullptr);
    QApplication app(qtArgumentCount, arguments.qtArguments.data());
    zelbrook::Form1 window;
    window.show();
    if (!arguments.files.empty())
        window.openPoseNamed(zelbrook::EditorArguments::absoluteName(arguments.files.front()));
    return QApplication::exec();
}
