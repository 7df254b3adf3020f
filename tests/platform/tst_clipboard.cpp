#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

using namespace zelbrook;

namespace {

QImage filled(QRgb rgb)
{
    QImage image(493, 397, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void replacesWhatWasThere_data();
    void replacesWhatWasThere();
    void secondPictureWins();
    void refusesNoPicture();
};

void TestClipboard::replacesWhatWasThere_data()
{
    QTest::addColumn<QString>("format");

    QTest::newRow("text") << "text/plain";
    QTest::newRow("html") << "text/html";
    QTest::newRow("own format") << "application/x-other";
}

void TestClipboard::replacesWhatWasThere()
{
    QFETCH(QString, format);

    auto *before = new QMimeData;
    before->setData(format, "left over");
    QGuiApplication::clipboard()->setMimeData(before);
    QCOMPARE(Clipboard::setPicture(filled(qRgb(10, 20, 30))), std::nullopt);
    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    QVERIFY(now->hasImage());
    QVERIFY(!now->hasFormat(format));
    QVERIFY(!now->hasText());
    QCOMPARE(QGuiApplication::clipboard()->image().pixel(0, 0), qRgb(10, 20, 30));
}

void TestClipboard::secondPictureWins()
{
    QCOMPARE(Clipboard::setPicture(filled(qRgb(255, 0, 0))), std::nullopt);
    QCOMPARE(Clipboard::setPicture(filled(qRgb(0, 0, 255))), std::nullopt);
    const QImage image = QGuiApplication::clipboard()->image();
    QCOMPARE(image.size(), QSize(493, 397));
    QCOMPARE(image.pixel(200, 100), qRgb(0, 0, 255));
}

void TestClipboard::refusesNoPicture()
{
    QGuiApplication::clipboard()->setText("kept");
    const std::optional<QString> failure = Clipboard::setPicture(QImage());
    QVERIFY(failure.has_value());
    QVERIFY(!failure->isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
