#include "tools/json_writer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <bit>
#include <charconv>
#include <limits>

using namespace zelbrook;

class TestJsonWriter : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const double infinity = std::numeric_limits<double>::infinity();
        QTest::newRow("whole") << 35.0 << "35";
        QTest::newRow("negative zero") << -0.0 << "-0";
        QTest::newRow("widened float") << double(227.79167f) << "227.7916717529297";
        QTest::newRow("angle") << -20 / 57.3 << "-0.34904013961605584";
        QTest::newRow("huge") << 1e300 << "1e+300";
        QTest::newRow("smallest") << 5e-324 << "5e-324";
        QTest::newRow("largest") << std::numeric_limits<double>::max() << "1.7976931348623157e+308";
        QTest::newRow("infinity") << infinity << "null";
        QTest::newRow("negative infinity") << -infinity << "null";
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "null";
    }

    // A JSON number that reads back to the very same double.
    void numbers()
    {
        QFETCH(double, value);
        const std::string text = JsonWriter::number(value);
        QTEST(QString::fromStdString(text), "text");
        if (text == "null")
            return;
        static const QRegularExpression jsonNumber("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?$");
        QVERIFY(jsonNumber.match(QString::fromStdString(text)).hasMatch());
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        QCOMPARE(std::bit_cast<quint64>(back), std::bit_cast<quint64>(value));
    }

    // JSON has no infinity; an overflowing figure still gives a document.
    void overflowingFigure()
    {
        Pose pose = Pose::defaults(455.58334f);
        pose.scale = 1e308;
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(JsonWriter::figure(pose, 2)), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(json["pose"]["scale"].toDouble(), 1e308);
        QVERIFY(json["joints"]["lFoot"][1].isNull());
    }
};

QTEST_GUILESS_MAIN(TestJsonWriter)
#include "tst_json_writer.moc"
