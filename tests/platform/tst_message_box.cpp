// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace zelbrook;

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    // A path with "<" in it is shown whole, never read as markup.
    void markupStaysText()
    {
        const QString text = "Saved as: /tmp/<b>bold</b>.zbk";
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        // The box is up by the time the event loop of its exec() runs.
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            shown = box->text();
            format = box->textFormat();
            box->buttons().constFirst()->click();
        });
        MessageBox::show(nullptr, text);
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
