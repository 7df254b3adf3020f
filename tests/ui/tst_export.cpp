// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zelbrook;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage asRgb32(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void bitmapIsTheCanvasPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("bmp") << "figure.bmp";
        QTest::newRow("png name still gets a bitmap") << "figure.png";
        QTest::newRow("no extension") << "figure";
    }

    void bitmapIsTheCanvasPicture()
    {
        QFETCH(QString, name);
        Form1Fixture f;
        QVERIFY(f.slider("LineWidthScroll")->setValue(4));
        QVERIFY(f.slider("headradScroll")->setValue(95));
        const QString file = m_dir.filePath(name);
        f.answers = {file};
        QVERIFY(!f.window->Picture1()->canvas().AutoRedraw());
        f.window->Command2_Click();
        QCOMPARE(f.messages, QStringList{"Saved as: " + file});
        QVERIFY(f.window->Picture1()->canvas().AutoRedraw());
        QCOMPARE(f.requests.at(0).offeredName, QStringLiteral("zelbrook.bmp"));
        QCOMPARE(f.requests.at(0).nameFilter, QStringLiteral("Bitmap (*.bmp)"));

        const QByteArray bytes = fileBytes(file);
        QVERIFY(bytes.startsWith("BM"));
        const QImage decoded = QImage::fromData(bytes, "BMP");
        QCOMPARE(decoded.size(), QSize(493, 397));
        QCOMPARE(decoded.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(asRgb32(decoded), asRgb32(f.picture()));
    }

    void cancelledBitmapSaveDoesNothing()
    {
        Form1Fixture f;
        const auto before = f.state();
        f.answers = {std::nullopt};
        f.window->Command2_Click();
        QVERIFY(!f.window->Picture1()->canvas().AutoRedraw());
        QVERIFY(f.state() == before);
        QVERIFY(f.messages.isEmpty());
    }

    void openDialogOffersTheSavedBitmap()
    {
        Form1Fixture f;
        f.answers = {path("offered.bmp"), std::nullopt};
        f.window->Command2_Click();
        f.window->Command4_Click();
        QCOMPARE(f.window->CommonDialog1().FileName(), path("offered.bmp"));
        QCOMPARE(f.requests.at(1).offeredName, QStringLiteral("offered.bmp"));
    }

    void failedWriteKeepsTheOldFile()
    {
        Form1Fixture f;
        // A folder that stands where the file's folder should be: the
        // write must fail and the file beside it must not change.
        QFile blocker(path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
        blocker.close();
        const QString target = path("blocker/figure.bmp");
        f.answers = {target};
        f.window->Command2_Click();
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(f.messages[0].contains(target));
        QVERIFY(!f.messages[0].startsWith("Saved as: "));
        QCOMPARE(fileBytes(path("blocker")), QByteArray("not a folder"));

        // Over an existing bitmap that cannot be replaced (a folder of that
        // name), nothing is lost either.
        QVERIFY(QDir(m_dir.path()).mkpath("taken.bmp"));
        f.answers = {path("taken.bmp")};
        f.window->Command2_Click();
        QCOMPARE(f.messages.size(), 2);
        QVERIFY(QFileInfo(path("taken.bmp")).isDir());
    }

    void clipboardHoldsOnlyThePicture()
    {
        Form1Fixture f;
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("something else"));
        QTest::mouseClick(f.window->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(f.messages.isEmpty());
        QVERIFY(f.window->Picture1()->canvas().AutoRedraw());
        QVERIFY(!clipboard->mimeData()->hasText());
        QCOMPARE(asRgb32(clipboard->image()), asRgb32(f.picture()));

        QVERIFY(f.slider("BodyangleScroll")->setValue(90));
        f.window->Command1_Click();
        const QImage second = asRgb32(clipboard->image());
        QCOMPARE(second, asRgb32(f.picture()));
        QCOMPARE(second.size(), QSize(493, 397));
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
