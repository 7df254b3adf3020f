// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_file_support.h"

#include "model/pose_field.h"

using namespace zelbrook;
using namespace zelbrook::test;

// What is wrong with a refused file; a wrong tag is said in exact words, the
// others name the item and what is wrong with it.
enum class Kind { WrongFileType, EndsEarly, NotANumber, TooLarge, OutOfRange };
Q_DECLARE_METATYPE(Kind)

// The forms of a pose file that are read, and those that are refused.
class TestPoseFileReading : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

void TestPoseFileReading::accepted_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Pose>("fileFields");
    const Pose pose = defaultPose();

    QTest::newRow("blanks") << " " + kDefaultItems.join(" ,\t") + "\t\r\n" << pose;
    QTest::newRow("one item per line") << kDefaultItems.join("\r\n") + "\r\n" << pose;
    QTest::newRow("LF only") << kDefaultItems.join('\n') + '\n' << pose;
    QTest::newRow("CR only") << kDefaultItems.join('\r') + '\r' << pose;
    QTest::newRow("comma and line end") << kDefaultItems.join(",\r\n") + ",\r\n" << pose;
    QTest::newRow("blank lines") << kDefaultItems.join("\n \n\r\n") << pose;
    QTest::newRow("no final line end") << kDefaultText.chopped(2) << pose;
    QTest::newRow("junk after item 17") << kDefaultText.chopped(2) + QByteArray(",junk\0\xff\r\nmore", 13) << pose;
    QTest::newRow("18 items and more") << kDefaultText.chopped(2) + ",10135,1,2\r\n" << pose;
    QTest::newRow(".7") << defaultFileWith(17, ".7") << pose;
    QTest::newRow("7E-01") << defaultFileWith(17, "7E-01") << pose;
    QTest::newRow("+0.07e+1") << defaultFileWith(17, "+0.07e+1") << pose;
    QTest::newRow("tag 10135.4") << defaultFileWith(1, "10135.4") << pose;

    Pose shortAngle = pose;
    shortAngle.rLegAngle2 = -0.349040139616056;
    QTest::newRow("-.349040139616056") << defaultFileWith(9, "-.349040139616056") << shortAngle;

    Pose head = pose;
    head.headRadius = 100;
    QTest::newRow("headRadius 100.5 to even") << defaultFileWith(16, "100.5") << head;
    head.headRadius = 10;
    QTest::newRow("headRadius 10.5 to even") << defaultFileWith(16, "10.5") << head;

    Pose zeroAngle = pose;
    zeroAngle.lLegAngle2 = 0;
    QTest::newRow("1e-400 too small") << defaultFileWith(7, "-1e-400") << zeroAngle;

    Pose oneRadian = pose;
    oneRadian.lLegAngle2 = 1;
    QTest::newRow("long digit string") << defaultFileWith(7, "1" + QByteArray(100000, '0') + "e-100000") << oneRadian;
}

void TestPoseFileReading::accepted()
{
    QFETCH(QByteArray, text);
    QFETCH(Pose, fileFields);
    const auto result = read(text);
    QVERIFY2(result.ok(), result.ok() ? "" : result.error().message.c_str());
    QCOMPARE(result.value(), readOverCurrent(fileFields));
}

void TestPoseFileReading::refused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("tag"); // 0 for none
    const QString wrongType = "Wrong file type";

    QTest::newRow("tag 10134") << defaultFileWith(1, "10134") << Kind::WrongFileType << wrongType << 10134;
    QTest::newRow("tag 10135.5 to even") << defaultFileWith(1, "10135.5") << Kind::WrongFileType << wrongType << 10136;
    QTest::newRow("tag alone") << QByteArray("-7\r\n") << Kind::WrongFileType << wrongType << -7;
    QTest::newRow("tag abc") << defaultFileWith(1, "abc") << Kind::WrongFileType << wrongType << 0;
    QTest::newRow("tag past 16 bits") << defaultFileWith(1, "42767") << Kind::WrongFileType << wrongType << 0;

    QTest::newRow("empty file") << QByteArray() << Kind::EndsEarly << "ends before item 1 " << 0;
    QTest::newRow("blanks only") << QByteArray(" \r\n\t\n") << Kind::EndsEarly << "ends before item 1 " << 0;
    QTest::newRow("tag only") << QByteArray("10135\r\n") << Kind::EndsEarly
                              << "the file ends before item 2 (bodyLength)" << 0;
    QTest::newRow("tag and eight items") << kDefaultItems.mid(0, 9).join(',') + "\r\n"
                                         << Kind::EndsEarly << "the file ends before item 10 (armLength1)" << 0;
    QTest::newRow("comma at the end") << QByteArray("10135,35,\r\n") << Kind::EndsEarly
                                      << "the file ends before item 3 (bodyAngle)" << 0;

    QTest::newRow("abc") << defaultFileWith(5, "abc") << Kind::NotANumber
                         << "item 5 (legLength2) is not a number: \"abc\"" << 0;
    QTest::newRow("empty item") << defaultFileWith(5, "") << Kind::NotANumber << "item 5 (legLength2) is empty" << 0;
    QTest::newRow("two numbers") << defaultFileWith(3, "1 2") << Kind::NotANumber << "item 3 (bodyAngle)" << 0;
    QTest::newRow("NUL byte") << defaultFileWith(4, QByteArray("2\0"
                                                               "8",
                                                               3))
                              << Kind::NotANumber << "item 4 (legLength1) is not a number" << 0;
    QTest::newRow("inf") << defaultFileWith(6, "inf") << Kind::NotANumber << "item 6 (lLegAngle1)" << 0;
    QTest::newRow("exponent without digits")
        << defaultFileWith(17, "7E") << Kind::NotANumber << "item 17 (headWidth)" << 0;
    QTest::newRow("decimal comma") << defaultFileWith(17, "0") + ",7" << Kind::OutOfRange << "item 17 (headWidth) is 0,"
                                   << 0;

    QTest::newRow("1e400") << defaultFileWith(3, "1e400") << Kind::TooLarge
                           << "item 3 (bodyAngle) is too large a number" << 0;
    QTest::newRow("a million digits") << defaultFileWith(2, QByteArray(1000000, '9')) << Kind::TooLarge
                                      << "item 2 (bodyLength)" << 0;

    QTest::newRow("bodyLength 150") << defaultFileWith(2, "150") << Kind::OutOfRange
                                    << "item 2 (bodyLength) is 150, outside 5 to 100" << 0;
    QTest::newRow("headRadius 0") << defaultFileWith(16, "0") << Kind::OutOfRange
                                  << "item 16 (headRadius) is 0, outside 5 to 100" << 0;
    QTest::newRow("headRadius 101") << defaultFileWith(16, "101") << Kind::OutOfRange << "item 16 (headRadius) is 101,"
                                    << 0;
    QTest::newRow("headRadius 101.5 to 102")
        << defaultFileWith(16, "101.5") << Kind::OutOfRange << "item 16 (headRadius) is 102," << 0;
    QTest::newRow("headRadius past 16 bits")
        << defaultFileWith(16, "40000") << Kind::OutOfRange << "item 16 (headRadius) is 40000, outside 5 to 100" << 0;
    QTest::newRow("headWidth 0.1") << defaultFileWith(17, "0.1") << Kind::OutOfRange
                                   << "item 17 (headWidth) is 0.1, outside 0.2 to 1.5" << 0;
    QTest::newRow("rArmAngle1 positive") << defaultFileWith(14, "0.1") << Kind::OutOfRange
                                         << "item 14 (rArmAngle1) is 0.1, outside -6.282722513 to 0" << 0;
    // Numbers in messages have at most 10 significant digits.
    QTest::newRow("bodyLength 1e308") << defaultFileWith(2, "1e308") << Kind::OutOfRange
                                      << "item 2 (bodyLength) is 1e+308, outside 5 to 100" << 0;
    QTest::newRow("headRadius -1e308") << defaultFileWith(16, "-1e308") << Kind::OutOfRange
                                       << "item 16 (headRadius) is -1e+308, outside 5 to 100" << 0;
    QTest::newRow("headWidth to 10 digits") << defaultFileWith(17, "2.00000000049") << Kind::OutOfRange
                                            << "item 17 (headWidth) is 2, outside 0.2 to 1.5" << 0;
    QTest::newRow("bodyLength rounded up at digit 10") << defaultFileWith(2, "123456789.96") << Kind::OutOfRange
                                                       << "item 2 (bodyLength) is 123456790, outside 5 to 100" << 0;
    QTest::newRow("bodyLength past 10 digits") << defaultFileWith(2, "-12345678901") << Kind::OutOfRange
                                               << "item 2 (bodyLength) is -1.23456789e+10, outside 5 to 100" << 0;
}

void TestPoseFileReading::refused()
{
    QFETCH(QByteArray, text);
    QFETCH(Kind, kind);
    QFETCH(QString, message);
    QFETCH(int, tag);
    const auto result = read(text);
    QVERIFY(!result.ok());
    const QString actual = QString::fromStdString(result.error().message);
    QVERIFY2(kind == Kind::WrongFileType ? actual == message : actual.contains(message), qPrintable(actual));
    const auto readTag = readPoseFileTag(std::string_view(text.constData(), size_t(text.size())));
    QCOMPARE(kind == Kind::WrongFileType ? readTag.value_or(0) : 0, tag);
}

QTEST_APPLESS_MAIN(TestPoseFileReading)
#include "tst_pose_file_reading.moc"
