// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_process.h"
#include "test_support.h"

#include <QDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestRenderShelf : public QObject
{
    Q_OBJECT

private slots:
    void listsShippedPosesThenOwn_data();
    void listsShippedPosesThenOwn();
};

void TestRenderShelf::listsShippedPosesThenOwn_data()
{
    QTest::addColumn<QList<QByteArray>>("own");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("none of the user's") << QList<QByteArray>() << QStringList();
    QTest::newRow("in order of names") << QList<QByteArray>{"b.zbk", "A 10.zbk", "A 9.zbk", "notes.txt", ".hid.zbk"}
                                       << QStringList{"A 9\tA 9.zbk", "A 10\tA 10.zbk", "b\tb.zbk"};
    QTest::newRow("letters without regard to case")
        << QList<QByteArray>{"b.zbk", "a 2.zbk", "A 2.zbk", "B 1.zbk"}
        << QStringList{"A 2\tA 2.zbk", "a 2\ta 2.zbk", "b\tb.zbk", "B 1\tB 1.zbk"};
    QTest::newRow("a folder left out, a link followed")
        << QList<QByteArray>{"folder.zbk/", "pose.zbk", "link.zbk -> pose.zbk", "lost.zbk -> none.zbk"}
        << QStringList{"link\tlink.zbk", "pose\tpose.zbk"};
    QTest::newRow("escaped name") << QList<QByteArray>{"a%2Fb.zbk"} << QStringList{"a/b\ta%2Fb.zbk"};
    QTest::newRow("control characters in the name")
        << QList<QByteArray>{"a%09b%0Ac%1B[31m%00.zbk"}
        << QStringList{"a\\x09b\\x0ac\\x1b[31m\\x00\ta%09b%0Ac%1B[31m%00.zbk"};
    QTest::newRow("right-to-left override in the name")
        << QList<QByteArray>{"x%E2%80%AEy.zbk"} << QStringList{"x\\xe2\\x80\\xaey\tx%E2%80%AEy.zbk"};
    QTest::newRow("name not UTF-8") << QList<QByteArray>{"caf\xe9.zbk", "caf\xc3\xa9.zbk"}
                                    << QStringList{"café\tcafé.zbk", "caf\\xe9\tcaf\\xe9.zbk"};
}

// The shipped poses come first, Bow to Wave, then the user's own from
// $XDG_DATA_HOME; a line a pose, its name and its path.
void TestRenderShelf::listsShippedPosesThenOwn()
{
    QFETCH(QList<QByteArray>, own);
    QFETCH(QStringList, listed);
    const zelbrook::test::TemporaryFolder data;
    QVERIFY(QDir().mkpath(data.path("zelbrook/poses")));
    // Made by the system's own calls, as Qt cannot name every file; a name
    // ending in a slash is a folder, and "a -> b" a link named a to b.
    const QByteArray folder = QFile::encodeName(data.path("zelbrook/poses/"));
    for (const QByteArray &name : own) {
        const QList<QByteArray> link = name.split(' ');
        if (name.endsWith('/')) {
            QVERIFY(::mkdir(folder + name, 0755) == 0);
        } else if (link.size() == 3 && link[1] == "->") {
            QVERIFY(::symlink(link[2], folder + link[0]) == 0);
        } else {
            const int made = ::creat(folder + name, 0644);
            QVERIFY(made >= 0 && ::close(made) == 0);
        }
    }
    QProcessEnvironment environment = renderEnvironment();
    environment.insert("XDG_DATA_HOME", data.path());
    const RenderRun run = runRender(data.path(), {"--list-poses"}, {}, {}, {}, ZELBROOK_RENDER_PROGRAM, environment);
    QCOMPARE(run.exitCode, 0);
    QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 16 + listed.size());
    QVERIFY2(lines.front().startsWith("Bow\t/") && lines[15].startsWith("Wave\t/"), run.out.constData());
    QVERIFY(QFile::exists(lines.front().section('\t', 1)));
    for (qsizetype i = 0; i < listed.size(); ++i)
        QCOMPARE(lines[16 + i], listed[i].replace('\t', '\t' + data.path("zelbrook/poses/")));
}

QTEST_GUILESS_MAIN(TestRenderShelf)
#include "tst_render_shelf.moc"
