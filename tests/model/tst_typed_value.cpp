// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/typed_value.h"

#include <QTest>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::FieldId)

namespace {
constexpr int kRefused = -9999;
}

class TestTypedValue : public QObject
{
    Q_OBJECT

private slots:
    void typed_data()
    {
        QTest::addColumn<FieldId>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");   // a position, or kRefused
        QTest::addColumn<QString>("reason"); // part of the refusal's message

        const auto F = [](FieldId id) { return id; };
        const FieldId body = FieldId::BodyAngle;
        const QString range = QStringLiteral("between -180 and 180");
        const QString notANumber = QStringLiteral("not a number");

        QTest::newRow("whole") << body << "42" << 42 << "";
        QTest::newRow("negative") << body << "-42" << -42 << "";
        QTest::newRow("plus sign") << body << "+42" << 42 << "";
        QTest::newRow("leading zeros") << body << "0042" << 42 << "";
        QTest::newRow("blanks around") << body << " \t42  " << 42 << "";
        QTest::newRow("minus zero") << body << "-0" << 0 << "";
        QTest::newRow("point first") << body << ".5" << 0 << "";
        QTest::newRow("point last") << body << "7." << 7 << "";
        QTest::newRow("half to even down") << body << "2.5" << 2 << "";
        QTest::newRow("half to even up") << body << "3.5" << 4 << "";
        QTest::newRow("negative half") << body << "-2.5" << -2 << "";
        QTest::newRow("under half") << body << "-0.4" << 0 << "";
        QTest::newRow("over half") << body << "1.51" << 2 << "";
        QTest::newRow("the top") << body << "180" << 180 << "";
        QTest::newRow("180.4 is 180") << body << "180.4" << 180 << "";
        QTest::newRow("180.5 halves to 180") << body << "180.5" << 180 << "";
        QTest::newRow("-180.5 halves to -180") << body << "-180.5" << -180 << "";
        QTest::newRow("just under a half") << body << "180.49999999999999999999" << 180 << "";
        QTest::newRow("just over a half") << body << "180.50000000000000000001" << kRefused << range;
        QTest::newRow("180.6 is refused") << body << "180.6" << kRefused << range;
        QTest::newRow("past the top") << body << "181" << kRefused << range;
        QTest::newRow("past the bottom") << body << "-181" << kRefused << range;
        QTest::newRow("huge") << body << "99999999999999999999" << kRefused << range;
        QTest::newRow("empty") << body << "" << kRefused << notANumber;
        QTest::newRow("blanks only") << body << "   " << kRefused << notANumber;
        QTest::newRow("words") << body << "abc" << kRefused << notANumber;
        QTest::newRow("comma") << body << "1,5" << kRefused << notANumber;
        QTest::newRow("blank inside") << body << "1 5" << kRefused << notANumber;
        QTest::newRow("hexadecimal") << body << "0x10" << kRefused << notANumber;
        QTest::newRow("exponent") << body << "1e2" << kRefused << notANumber;
        QTest::newRow("infinity") << body << "inf" << kRefused << notANumber;
        QTest::newRow("NaN") << body << "nan" << kRefused << notANumber;
        QTest::newRow("sign alone") << body << "-" << kRefused << notANumber;
        QTest::newRow("point alone") << body << "." << kRefused << notANumber;
        QTest::newRow("two points") << body << "1.2.3" << kRefused << notANumber;
        QTest::newRow("two signs") << body << "--1" << kRefused << notANumber;
        QTest::newRow("sign after the number") << body << "1-" << kRefused << notANumber;
        QTest::newRow("trailing letter") << body << "12a" << kRefused << notANumber;
        QTest::newRow("other digits") << body << QString::fromUtf8("\u0663") << kRefused << notANumber;
        QTest::newRow("full-width blank") << body << QString::fromUtf8("\u300042") << kRefused << notANumber;

        // Boxes that show the stored value take it in the same units.
        const QString headRange = QStringLiteral("between 0.2 and 1.5");
        QTest::newRow("head width") << F(FieldId::HeadWidth) << "0.7" << 70 << "";
        QTest::newRow("head width, whole") << F(FieldId::HeadWidth) << "1" << 100 << "";
        QTest::newRow("head width, top") << F(FieldId::HeadWidth) << "1.5" << 150 << "";
        QTest::newRow("head width, half to even") << F(FieldId::HeadWidth) << "0.545" << 54 << "";
        QTest::newRow("head width, half up") << F(FieldId::HeadWidth) << "0.555" << 56 << "";
        QTest::newRow("head width 1.505 is 1.5") << F(FieldId::HeadWidth) << "1.505" << 150 << "";
        QTest::newRow("head width 1.506 is refused") << F(FieldId::HeadWidth) << "1.506" << kRefused << headRange;
        QTest::newRow("head width 0.195 is 0.2") << F(FieldId::HeadWidth) << "0.195" << 20 << "";
        QTest::newRow("head width 0.185 is refused") << F(FieldId::HeadWidth) << "0.185" << kRefused << headRange;
        QTest::newRow("head width as a position") << F(FieldId::HeadWidth) << "70" << kRefused << headRange;
        const QString resizeRange = QStringLiteral("between 0.5 and 3.");
        QTest::newRow("resize") << F(FieldId::Scale) << "1.5" << 15 << "";
        QTest::newRow("resize, whole") << F(FieldId::Scale) << "3" << 30 << "";
        QTest::newRow("resize 3.05 is 3") << F(FieldId::Scale) << "3.05" << 30 << "";
        QTest::newRow("resize 3.06 is refused") << F(FieldId::Scale) << "3.06" << kRefused << resizeRange;
        QTest::newRow("resize 0.45 halves to 0.4") << F(FieldId::Scale) << "0.45" << kRefused << resizeRange;
        QTest::newRow("resize 0.55 halves to 0.6") << F(FieldId::Scale) << "0.55" << 6 << "";

        QTest::newRow("length 100.5 is 100") << F(FieldId::ArmLength1) << "100.5" << 100 << "";
        QTest::newRow("length 4.5 is refused") << F(FieldId::LegLength2) << "4.5" << kRefused << "between 5 and 100";
        QTest::newRow("head radius") << F(FieldId::HeadRadius) << "5.5" << 6 << "";
        QTest::newRow("right upper arm") << F(FieldId::RArmAngle1) << "360" << 360 << "";
        QTest::newRow("right upper arm below 0") << F(FieldId::RArmAngle1) << "-1" << kRefused << "between 0 and 360";
        QTest::newRow("pen") << F(FieldId::PenWidth) << "1.5" << 2 << "";
        QTest::newRow("pen 7.5 is refused") << F(FieldId::PenWidth) << "7.5" << kRefused << "between 1 and 7";
        QTest::newRow("rotation") << F(FieldId::Rotation) << "-90" << -90 << "";
        QTest::newRow("no slider") << F(FieldId::HipX) << "100" << kRefused << "no slider";
    }

    void typed()
    {
        QFETCH(FieldId, field);
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(QString, reason);
        const QByteArray utf8 = text.toUtf8();
        const Result<std::int16_t> result =
            typedPosition(poseField(field), std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
        if (expected == kRefused) {
            QVERIFY(!result);
            QVERIFY2(QString::fromStdString(result.error().message).contains(reason), result.error().message.c_str());
        } else {
            QVERIFY2(result, result ? "" : result.error().message.c_str());
            QCOMPARE(int(*result), expected);
        }
    }
};

QTEST_APPLESS_MAIN(TestTypedValue)
#include "tst_typed_value.moc"
