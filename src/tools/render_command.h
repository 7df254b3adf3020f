#pragma once

#include <QIODevice>
#include <QStringList>

namespace zelbrook {

// The zelbrook-render program: its arguments, its messages and its exit
// status. Messages start with the program's name; a usage error is followed
// by the usage text.
class RenderCommand
{
public:
    enum ExitStatus { Success = 0, Failure = 1, UsageFailure = 2 };

    // The whole program. Qt runs on the offscreen platform whatever the
    // environment says, so no display is ever needed.
    static int main(int argc, char **argv);

    // The arguments exclude the program's name.
    static int run(const QStringList &arguments, QIODevice &standardInput, QIODevice &standardOutput,
                   QIODevice &standardError);

private:
    static QStringList arguments(int argc, char **argv);
    static void report(QIODevice &device, const QString &text);
};

} // namespace zelbrook
