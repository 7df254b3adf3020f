// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_stream.h"
#include "system_file_helpers.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zelbrook;

class TestOutputStream : public QObject
{
    Q_OBJECT

private slots:
    void replacement_data()
    {
        QTest::addColumn<int>("nameLength"); // of the target's last part
        QTest::addColumn<bool>("committed");
        QTest::addColumn<QByteArray>("after"); // the target's content

        QTest::newRow("committed over an old file") << 8 << true << QByteArray("new, in pieces");
        QTest::newRow("dropped without a commit") << 8 << false << QByteArray("old");
        QTest::newRow("a name of 250 bytes") << 250 << true << QByteArray("new, in pieces");
        QTest::newRow("the longest name the system allows") << 255 << true << QByteArray("new, in pieces");
        QTest::newRow("the longest name, dropped") << 255 << false << QByteArray("old");
    }

    // The target holds the old bytes until the commit, and no temporary file
    // stays either way.
    void replacement()
    {
        QFETCH(int, nameLength);
        QFETCH(bool, committed);
        QTemporaryDir dir;
        const std::string name(std::size_t(nameLength), 'n');
        const std::string path = dir.path().toStdString() + '/' + name;
        putFile(path, "old");
        {
            Result<OutputStream> stream = OutputStream::open(path);
            QVERIFY(stream);
            QCOMPARE(messageOf(stream.value().write("new, ")), QString());
            QCOMPARE(messageOf(stream.value().write("in pieces")), QString());
            QCOMPARE(entries(dir.path().toStdString()).size(), 2u);
            QCOMPARE(contentOf(path), "old");
            if (committed)
                QCOMPARE(messageOf(stream.value().commit()), QString());
        }
        QTEST(QByteArray::fromStdString(contentOf(path)), "after");
        QCOMPARE(entries(dir.path().toStdString()), std::vector<std::string>{name});
    }
};

QTEST_GUILESS_MAIN(TestOutputStream)
#include "tst_output_stream.moc"
