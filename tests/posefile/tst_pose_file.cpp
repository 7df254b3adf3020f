// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"

#include "test_support.h"

#include <QTest>

#include <charconv>
#include <clocale>
#include <limits>
#include <locale>
#include <sstream>

namespace zelbrook {

// What a failed comparison prints.
char *toString(const Pose &pose)
{
    QString text = QString::asprintf("hip %.9g %.17g scale %.17g rotation %.17g head %d %.17g |", pose.hipX, pose.hipY,
                                     pose.scale, pose.rotation, pose.headRadius, pose.headWidth);
    for (double value : {pose.bodyLength, pose.bodyAngle, pose.legLength1, pose.legLength2, pose.lLegAngle1,
                         pose.lLegAngle2, pose.rLegAngle1, pose.rLegAngle2, pose.armLength1, pose.armLength2,
                         pose.lArmAngle1, pose.lArmAngle2, pose.rArmAngle1, pose.rArmAngle2})
        text += QString::asprintf(" %.17g", value);
    return qstrdup(text.toUtf8().constData());
}

} // namespace zelbrook

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::Pose)

// What is wrong with a refused file; a wrong tag is said in exact words, the
// others name the item and what is wrong with it.
enum class Kind { WrongFileType, EndsEarly, NotANumber, TooLarge, OutOfRange };
Q_DECLARE_METATYPE(Kind)

namespace {

const QByteArray kDefaultText = "10135,35,1.5706806282722514,28,23,4.642233856893543,0.034904013961605584,"
                                "5.148342059336824,-0.34904013961605584,20,20,2.268760907504363,"
                                "1.6404886561954626,-2.268760907504363,0.5235602094240838,10,0.7\r\n";
const QByteArrayList kDefaultItems = kDefaultText.chopped(2).split(',');

Pose defaultPose() { return Pose::defaults(test::kCanvasWidth); }

// The pose a file is read over: every field differs from the defaults.
Pose currentPose()
{
    Pose pose = defaultPose();
    pose.hipX = 12.5f;
    pose.hipY = 300;
    pose.scale = 2.5;
    pose.rotation = -1;
    for (double *length : {&pose.bodyLength, &pose.legLength1, &pose.legLength2, &pose.armLength1, &pose.armLength2})
        *length = 60;
    for (double *angle : {&pose.bodyAngle, &pose.lLegAngle1, &pose.lLegAngle2, &pose.rLegAngle1, &pose.rLegAngle2,
                          &pose.lArmAngle1, &pose.lArmAngle2, &pose.rArmAngle2})
        *angle = 1;
    pose.rArmAngle1 = -1;
    pose.headRadius = 50;
    pose.headWidth = 1.2;
    return pose;
}

// `fileFields` with the fields that a pose file does not hold kept from the
// pose it was read over.
Pose readOverCurrent(Pose fileFields)
{
    const Pose current = currentPose();
    fileFields.hipX = current.hipX;
    fileFields.hipY = current.hipY;
    fileFields.scale = current.scale;
    fileFields.rotation = current.rotation;
    return fileFields;
}

QByteArray defaultFileWith(int itemNumber, const QByteArray &item)
{
    QByteArrayList items = kDefaultItems;
    items[itemNumber - 1] = item;
    return items.join(',') + "\r\n";
}

Result<Pose> read(const QByteArray &text)
{
    return readPoseFile(std::string_view(text.constData(), size_t(text.size())), currentPose());
}

// Sets the global C and C++ locales for the life of the guard.
class GlobalLocale
{
public:
    ~GlobalLocale()
    {
        std::locale::global(m_cpp);
        std::setlocale(LC_ALL, m_c.c_str());
    }

    bool setByName(const char *name)
    {
        if (!std::setlocale(LC_ALL, name))
            return false;
        std::locale::global(std::locale(name));
        return true;
    }

    // Only the C++ locale, with a decimal comma that needs no installed locale.
    void setDecimalComma()
    {
        struct DecimalComma : std::numpunct<char> {
            char do_decimal_point() const override { return ','; }
        };
        std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
    }

private:
    std::string m_c = std::setlocale(LC_ALL, nullptr);
    std::locale m_cpp;
};

} // namespace

class TestPoseFile : public QObject
{
    Q_OBJECT

private slots:
    void defaultPoseText_data();
    void defaultPoseText();
    void number_data();
    void number();
    void roundTrip_data();
    void roundTrip();
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

void TestPoseFile::defaultPoseText_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::newRow("C") << QByteArray("C");
    QTest::newRow("German") << QByteArray("de_DE.UTF-8");
    QTest::newRow("decimal comma, C++ only") << QByteArray();
}

void TestPoseFile::defaultPoseText()
{
    QFETCH(QByteArray, locale);
    GlobalLocale guard;
    if (locale.isEmpty())
        guard.setDecimalComma();
    else if (!guard.setByName(locale.constData()))
        QSKIP("The locale is not installed");
    std::ostringstream stream;
    stream << 0.5;
    QCOMPARE(stream.str() == "0,5", locale != "C");
    QCOMPARE(*std::localeconv()->decimal_point == ',', locale == "de_DE.UTF-8");

    const std::string text = writePoseFile(defaultPose());
    QCOMPARE(QByteArray::fromStdString(text), kDefaultText);
    const auto result = read(kDefaultText);
    QVERIFY(result.ok());
    QCOMPARE(result.value(), readOverCurrent(defaultPose()));
}

void TestPoseFile::number_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
    QTest::newRow("whole") << 10135.0 << QByteArray("10135");
    QTest::newRow("negative whole") << -20.0 << QByteArray("-20");
    QTest::newRow("one digit after the point") << 0.7 << QByteArray("0.7");
    QTest::newRow("third") << 1.0 / 3 << QByteArray("0.3333333333333333");
    QTest::newRow("small") << 1e-05 << QByteArray("1e-05");
    QTest::newRow("smallest double") << 5e-324 << QByteArray("5e-324");
    QTest::newRow("whole past 2^53") << 0x1p60 << QByteArray("1152921504606846976");
    QTest::newRow("1e23, all digits of the double") << 1e23 << QByteArray("99999999999999991611392");
    // Too long to spell out here: only its form and its reading back are checked.
    QTest::newRow("largest double") << -std::numeric_limits<double>::max() << QByteArray();
}

void TestPoseFile::number()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const std::string written = formatPoseNumber(value);
    if (text.isEmpty())
        QCOMPARE(written.find_first_not_of("-0123456789"), std::string::npos);
    else
        QCOMPARE(QByteArray::fromStdString(written), text);
    double back = 1;
    std::from_chars(written.data(), written.data() + written.size(), back);
    QCOMPARE(back, value);
}

void TestPoseFile::roundTrip_data()
{
    QTest::addColumn<Pose>("pose");
    QTest::newRow("defaults") << defaultPose();

    Pose thirds = defaultPose();
    thirds.bodyAngle = 1.0 / 3;
    thirds.lLegAngle2 = -1.0 / 3;
    thirds.rArmAngle1 = -2.0 / 3;
    thirds.headWidth = 1.0 / 3;
    thirds.bodyLength = 100.0 / 3;
    QTest::newRow("thirds and negatives") << thirds;

    Pose tiny = defaultPose();
    tiny.lLegAngle2 = 1e-300;
    tiny.rLegAngle2 = -5e-324;
    tiny.lArmAngle2 = 1e-05;
    tiny.rArmAngle2 = -0.0;
    QTest::newRow("tiny magnitudes") << tiny;

    Pose ends = defaultPose();
    ends.bodyLength = 100.49999999999999;
    ends.legLength1 = 4.500000000000001;
    ends.headRadius = 100;
    ends.headWidth = 1.5049999999999997;
    ends.bodyAngle = degreesToRadians(-90);
    ends.lLegAngle1 = degreesToRadians(360.49999999999994);
    ends.rArmAngle1 = degreesToRadians(-360);
    QTest::newRow("slider ends") << ends;
}

void TestPoseFile::roundTrip()
{
    QFETCH(Pose, pose);
    QVERIFY(!firstFieldOutOfRange(pose));
    const auto result = read(QByteArray::fromStdString(writePoseFile(pose)));
    QVERIFY(result.ok());
    QCOMPARE(result.value(), readOverCurrent(pose));
}

void TestPoseFile::accepted_data()
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

void TestPoseFile::accepted()
{
    QFETCH(QByteArray, text);
    QFETCH(Pose, fileFields);
    const auto result = read(text);
    QVERIFY2(result.ok(), result.ok() ? "" : result.error().message.c_str());
    QCOMPARE(result.value(), readOverCurrent(fileFields));
}

void TestPoseFile::refused_data()
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

void TestPoseFile::refused()
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

QTEST_APPLESS_MAIN(TestPoseFile)
#include "tst_pose_file.moc"
