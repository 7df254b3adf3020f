// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_file_support.h"

#include "model/pose_field.h"
#include "posefile/animation_file.h"
#include "posefile/pose_writer.h"

#include <charconv>
#include <clocale>
#include <limits>
#include <locale>
#include <sstream>

using namespace zelbrook;
using namespace zelbrook::test;

namespace {

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

// The pose file as written, in every locale, and read back.
class TestPoseFileWriting : public QObject
{
    Q_OBJECT

private slots:
    void defaultPoseText_data();
    void defaultPoseText();
    void number_data();
    void number();
    void roundTrip_data();
    void roundTrip();
};

void TestPoseFileWriting::defaultPoseText_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::newRow("C") << QByteArray("C");
    QTest::newRow("German") << QByteArray("de_DE.UTF-8");
    QTest::newRow("decimal comma, C++ only") << QByteArray();
}

void TestPoseFileWriting::defaultPoseText()
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

void TestPoseFileWriting::number_data()
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

void TestPoseFileWriting::number()
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

void TestPoseFileWriting::roundTrip_data()
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

    Pose zeros = defaultPose();
    zeros.bodyAngle = -0.0;
    zeros.lLegAngle2 = -0.0;
    zeros.rotation = -0.0;
    QTest::newRow("negative zeros") << zeros;
}

void TestPoseFileWriting::roundTrip()
{
    QFETCH(Pose, pose);
    QVERIFY(!firstFieldOutOfRange(pose));
    const auto result = read(QByteArray::fromStdString(writePoseFile(pose)));
    QVERIFY(result.ok());
    QCOMPARE(result.value(), readOverCurrent(pose));
    // An animation file saved, read and saved again is the same text.
    const std::string saved = writeAnimationFile(Animation(Playback{}, {Key{Figure{pose}, 1, 0, Ease::Linear}}));
    const Result<Animation> again = readAnimationFile(saved, defaultPose());
    QVERIFY(again);
    QCOMPARE(QByteArray::fromStdString(writeAnimationFile(*again)), QByteArray::fromStdString(saved));
}

QTEST_APPLESS_MAIN(TestPoseFileWriting)
#include "tst_pose_file_writing.moc"
