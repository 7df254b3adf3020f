// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include "ui/action_table.h"

#include <QRegularExpression>
#include <QTest>

using namespace zelbrook;

namespace {

// A command's text as the README writes it: no ellipsis.
QString plainText(const ActionRow &row) { return QString::fromUtf8(row.text).remove(QStringLiteral("…")); }

// The keys as the README writes them, the way Qt's portable text reads.
QString portableKeys(QString keys)
{
    keys.remove(QRegularExpression(QStringLiteral(R"(\s*\(.*\)$)")));
    return keys.replace(QStringLiteral("Page Up"), QStringLiteral("PgUp"))
        .replace(QStringLiteral("Page Down"), QStringLiteral("PgDown"))
        .replace(QStringLiteral("Delete"), QStringLiteral("Del"));
}

struct ReadmeRow {
    QString keys;
    QString command;
};

// Every row of the README's tables of keys.
QList<ReadmeRow> readmeKeyRows()
{
    QList<ReadmeRow> rows;
    bool inKeyTable = false;
    for (const QByteArray &line : test::fileBytes(QStringLiteral(ZELBROOK_README)).split('\n')) {
        if (line == "| Key | Command |") {
            inKeyTable = true;
        } else if (!line.startsWith('|')) {
            inKeyTable = false;
        } else if (inKeyTable && !line.startsWith("|---")) {
            const QStringList cells = QString::fromUtf8(line).split(QLatin1Char('|'));
            rows.append({cells.value(1).trimmed(), cells.value(2).trimmed()});
        }
    }
    return rows;
}

const ActionRow *commandOf(const QString &readmeCommand)
{
    const ActionRow *found = nullptr;
    for (const ActionRow &row : actionTable()) {
        const QString text = plainText(row);
        if (readmeCommand.startsWith(text) && (!found || text.size() > plainText(*found).size()))
            found = &row;
    }
    return found;
}

} // namespace

class TestActionTable : public QObject
{
    Q_OBJECT

private slots:
    // Each row of the README's key tables names one command by its text and
    // gives exactly its keys, and every command with a key has its row.
    void readmeTablesFollowTheTable()
    {
        const QList<ReadmeRow> rows = readmeKeyRows();
        QVERIFY(!rows.isEmpty());
        QSet<ActionId> described;
        for (const ReadmeRow &readme : rows) {
            const ActionRow *row = commandOf(readme.command);
            QVERIFY2(row, qPrintable(readme.command));
            QCOMPARE(portableKeys(readme.keys), QString::fromLatin1(row->keys.data(), row->keys.size()));
            described.insert(row->id);
        }
        for (const ActionRow &row : actionTable())
            QVERIFY2(row.keys.empty() || described.contains(row.id), row.text);
    }

    // A key acts for one command only where both could take it.
    void noKeyActsTwice()
    {
        QMap<QString, QString> taken;
        for (const ActionRow &row : actionTable()) {
            for (const QKeySequence &key : actionKeys(row.id)) {
                const QString place = QString::number(int(row.scope)) + key.toString();
                QVERIFY2(!taken.contains(place), qPrintable(key.toString() + " " + row.text + " " + taken[place]));
                taken.insert(place, QString::fromUtf8(row.text));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestActionTable)
#include "tst_action_table.moc"
