#include "ui/form1.h"

#include <QApplication>
#include <QFileInfo>

// zelbrook [POSE]: opens the editor, with the pose file if one is named
// (as a file manager does for a .zbk file).
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zelbrook::Form1 window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openPose(QFileInfo(arguments.at(1)).absoluteFilePath());
    return QApplication::exec();
}
