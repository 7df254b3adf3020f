// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editor_arguments.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace zelbrook;

class TestEditorArguments : public QObject
{
    Q_OBJECT

private:
    static constexpr const char *kBadName = "bad\xff.zbk";
    QTemporaryDir m_dir;
    QString m_startFolder = QDir::currentPath();

private slots:
    // The files the rows name exist in the current folder; so does a folder
    // named like one of Qt's options.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        for (const char *name : {"-reverse", "pose.zbk", "fusion", kBadName}) {
            const int descriptor = ::open(name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            QVERIFY(descriptor >= 0);
            ::close(descriptor);
        }
        QVERIFY(QDir().mkdir("-widgetcount"));
    }

    // QTemporaryDir cannot name the file that is not UTF-8 to remove it.
    void cleanupTestCase()
    {
        ::unlink(kBadName);
        QDir::setCurrent(m_startFolder);
    }

    void split_data()
    {
        QTest::addColumn<QByteArrayList>("arguments"); // after the program's name
        QTest::addColumn<QByteArrayList>("qt");        // after the program's name
        QTest::addColumn<QByteArrayList>("files");

        QTest::newRow("nothing") << QByteArrayList{} << QByteArrayList{} << QByteArrayList{};
        QTest::newRow("a pose file") << QByteArrayList{"pose.zbk"} << QByteArrayList{} << QByteArrayList{"pose.zbk"};
        QTest::newRow("a file named -reverse")
            << QByteArrayList{"-reverse"} << QByteArrayList{} << QByteArrayList{"-reverse"};
        QTest::newRow("Qt's options, none a file")
            << QByteArrayList{"-platform", "offscreen", "--reverse", "pose.zbk"}
            << QByteArrayList{"-platform", "offscreen", "--reverse"} << QByteArrayList{"pose.zbk"};
        QTest::newRow("-- ends the options")
            << QByteArrayList{"--", "-style", "--"} << QByteArrayList{} << QByteArrayList{"-style", "--"};
        QTest::newRow("an option's value, though a file")
            << QByteArrayList{"--style", "fusion", "-style=fusion"}
            << QByteArrayList{"--style", "fusion", "-style=fusion"} << QByteArrayList{};
        QTest::newRow("a folder is no file")
            << QByteArrayList{"-widgetcount"} << QByteArrayList{"-widgetcount"} << QByteArrayList{};
        QTest::newRow("a missing file is still a file")
            << QByteArrayList{"missing.zbk", "-"} << QByteArrayList{} << QByteArrayList{"missing.zbk", "-"};
        QTest::newRow("a name that is not UTF-8")
            << QByteArrayList{"bad\xff.zbk"} << QByteArrayList{} << QByteArrayList{"bad\xff.zbk"};
    }

    void split()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QByteArrayList, qt);
        QFETCH(QByteArrayList, files);
        arguments.prepend("zelbrook");
        std::vector<char *> argv;
        for (QByteArray &argument : arguments)
            argv.push_back(argument.data());
        const EditorArguments split = EditorArguments::split(int(argv.size()), argv.data());
        QByteArrayList qtGot, filesGot;
        for (const char *argument : split.qtArguments)
            qtGot << argument;
        for (const std::string &file : split.files)
            filesGot << QByteArray::fromStdString(file);
        QCOMPARE(qtGot, QByteArrayList{"zelbrook"} + qt);
        QCOMPARE(filesGot, files);
    }

    void absoluteName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("absolute"); // %1 is the current folder

        QTest::newRow("absolute as it is") << QByteArray("/a/../b.zbk") << QByteArray("/a/../b.zbk");
        QTest::newRow("relative") << QByteArray("./sub/x\xff.zbk") << QByteArray("%1/sub/x\xff.zbk");
        QTest::newRow("up from a link's target") << QByteArray("link//./../p.zbk") << QByteArray("%1/link/../p.zbk");
    }

    void absoluteName()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, absolute);
        absolute.replace("%1", QFile::encodeName(QDir::currentPath()));
        QCOMPARE(QByteArray::fromStdString(EditorArguments::absoluteName(name.toStdString())), absolute);
    }
};

QTEST_GUILESS_MAIN(TestEditorArguments)
#include "tst_editor_arguments.moc"
