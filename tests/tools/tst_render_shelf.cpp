// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_process.h"
#include "test_support.h"

#include <QDir>
#include <QTest>

class TestRenderShelf : public QObject
{
    Q_OBJECT

private slots:
    void listsShippedPosesThenOwn_data();
    void listsShippedPosesThenOwn();
};

void TestRenderShelf::listsShippedPosesThenOwn_data()
{
    QTest::addColumn<QStringList>("own");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("none of the user's") << QStringList() << QStringList();
    QTest::newRow("in order of names") << QStringList{"b.zbk", "A 10.zbk", "A 9.zbk", "notes.txt"}
                                       << QStringList{"A 9\tA 9.zbk", "A 10\tA 10.zbk", "b\tb.zbk"};
    QTest::newRow("escaped name") << QStringList{"a%2Fb.zbk"} << QStringList{"a/b\ta%2Fb.zbk"};
}

// The shipped poses come first, Bow to Wave, then the user's own from
// $XDG_DATA_HOME; a line a pose, its name and its path.
void TestRenderShelf::listsShippedPosesThenOwn()
{
    QFETCH(QStringList, own);
    QFETCH(QStringList, listed);
    const zelbrook::test::TemporaryFolder data;
    QVERIFY(QDir().mkpath(data.path("zelbrook/poses")));
    for (const QString &name : own)
        zelbrook::test::writeFile(data.path("zelbrook/poses/" + name), "10135");
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
