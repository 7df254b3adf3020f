// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"

#include "test_support.h"

#include <QTest>

#include <fstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelbrook;

namespace {

constexpr std::size_t kMiB = 1024 * 1024;
// Room the reading may take besides what the process has already mapped.
constexpr std::size_t kReadingRoom = 100 * kMiB;

// A field of /proc/self/status, in KiB.
std::size_t statusKiB(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":"))
            return std::stoul(line.substr(field.size() + 1));
    }
    return 0;
}

// `head`, then `piece` as many times as fit in 16 MiB with `tail`.
std::string filled(const std::string &head, const std::string &piece, const std::string &tail, std::size_t &count)
{
    count = (kMaximumAnimationFileSize - head.size() - tail.size()) / piece.size();
    std::string text = head;
    text.reserve(kMaximumAnimationFileSize);
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text + tail;
}

struct Outcome {
    bool ended = false;
    std::string message;
    double peakMiB = 0;
};

// Reads the text in a child process whose address space may grow by
// kReadingRoom at most; running out of it ends the child abnormally. The
// peak is the resident memory the reading added.
Outcome readLimited(const std::string &text)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const std::size_t before = statusKiB("VmRSS");
        const rlimit limit{statusKiB("VmSize") * 1024 + kReadingRoom, RLIM_INFINITY};
        ::setrlimit(RLIMIT_AS, &limit);
        const Result<Animation> read = readAnimationFile(text, test::startPose());
        const std::string report =
            std::to_string(statusKiB("VmHWM") - before) + " " + (read ? "accepted" : read.error().message);
        (void)!::write(ends[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(ends[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::size_t space = report.find(' ');
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || space == std::string::npos)
        return {};
    return {true, report.substr(space + 1), std::stod(report.substr(0, space)) / 1024};
}

} // namespace

class TestAnimationMemory : public QObject
{
    Q_OBJECT

private slots:
    // Files of the largest size read, made to cost the most memory a reader
    // that kept the whole JSON would take.
    void readsHostileFilesInLittleMemory_data()
    {
        QTest::addColumn<int>("shape");
        QTest::newRow("five million empty keys") << 0;
        QTest::newRow("empty objects in an unknown member") << 1;
        QTest::newRow("nested arrays") << 2;
        QTest::newRow("one figure many times in a key") << 3;
    }
    void readsHostileFilesInLittleMemory()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#endif
        QFETCH(int, shape);
        const std::string animation = R"({"format": "zelbrook-animation", )";
        const std::string figure = R"({"id": 1, "pose": {"bodyLength": 35, "bodyAngle": 1, "legLength1": 28,)"
                                   R"( "legLength2": 23, "lLegAngle1": 4, "lLegAngle2": 0, "rLegAngle1": 5,)"
                                   R"( "rLegAngle2": 0, "armLength1": 20, "armLength2": 20, "lArmAngle1": 2,)"
                                   R"( "lArmAngle2": 1, "rArmAngle1": -2, "rArmAngle2": 0, "headRadius": 10,)"
                                   R"( "headWidth": 0.7}},)";
        std::size_t count = 0;
        std::string text, message;
        if (shape == 0) {
            text = filled(animation + R"("keys": [)", "{},", "{}]}", count);
            message = "the file has " + std::to_string(count + 1) + " keys, more than 10000";
        } else if (shape == 1) {
            text = filled(R"({"x": [)", "{},", "{}]}", count);
            message = "Wrong file type";
        } else if (shape == 2) {
            text = filled(R"({"x": )", "[", "", count);
            message = "line 1, column 38: the text is nested deeper than 32 levels";
        } else {
            text = filled(animation + R"("version": 2, "figures": [{"id": 1}], "keys": [{"figures": [)", figure,
                          figure.substr(0, figure.size() - 1) + "]}]}", count);
            message = "key 1: figure 1 is in the key twice";
        }
        const Outcome outcome = readLimited(text);
        QVERIFY2(outcome.ended, "the reading ran out of memory");
        QCOMPARE(QString::fromStdString(outcome.message), QString::fromStdString(message));
        qInfo("%s: a file of %.1f MiB took %.1f MiB more resident memory to read, %.2f times its size",
              QTest::currentDataTag(), static_cast<double>(text.size()) / kMiB, outcome.peakMiB,
              outcome.peakMiB * kMiB / static_cast<double>(text.size()));
        QVERIFY(outcome.peakMiB < 100);
    }
};

QTEST_APPLESS_MAIN(TestAnimationMemory)
#include "tst_animation_memory.moc"
