#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace zelbrook;

namespace {

struct Seen {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QList<QMessageBox::StandardButton> buttons;
    bool modal = false;
    QWidget *parent = nullptr;
};

// Records the next message box once it is up, then presses its only button.
void answerNextBox(Seen &seen)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        seen = {box->windowTitle(), box->text(), box->textFormat(), box->icon(), {}, box->isModal(),
                box->parentWidget()};
        for (QAbstractButton *button : box->buttons())
            seen.buttons << box->standardButton(button);
        box->buttons().constFirst()->click();
    });
    timer->start(10);
}

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void realBox_data();
    void realBox();
};

void TestMessageBox::realBox_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("saved") << "Saved as: /home/user/zelbrook.zbk";
    QTest::newRow("wrong type") << "Wrong file type";
    QTest::newRow("markup stays text") << "Saved as: /tmp/<b>bold</b>.zbk";
}

void TestMessageBox::realBox()
{
    QFETCH(QString, text);

    QWidget window;
    Seen seen;
    answerNextBox(seen);
    MessageBox::presenterFor(&window)(text);
    QCOMPARE(seen.title, QString("Zelbrook"));
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QVERIFY(seen.modal);
    QCOMPARE(seen.parent, &window);
}

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
