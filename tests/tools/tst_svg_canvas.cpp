#include "render/svg_canvas.h"

#include <QTest>
#include <QXmlStreamReader>

#include <functional>
#include <limits>

using namespace zelbrook;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

SvgPage testPage() { return {493, 397, 455.58334f, 380.39526f, "DejaVu Sans", 11.0, 10.0}; }

struct Element {
    QString name;
    QXmlStreamAttributes attributes;
    QString text;

    QString operator[](const char *attribute) const { return attributes.value(attribute).toString(); }
};

// Every element in order, the root included; empty when the document is not
// well-formed XML.
QList<Element> parse(const SvgCanvas &canvas)
{
    QXmlStreamReader reader(QByteArray::fromStdString(canvas.document()));
    QList<Element> elements;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            elements.append({reader.name().toString(), reader.attributes(), {}});
        else if (reader.isCharacters() && !reader.isWhitespace() && !elements.isEmpty())
            elements.last().text += reader.text();
    }
    return reader.hasError() ? QList<Element>() : elements;
}

} // namespace

class TestSvgCanvas : public QObject
{
    Q_OBJECT

private slots:
    void blankPage()
    {
        SvgCanvas canvas(testPage());
        canvas.Line({1, 2}, {3, 4});
        canvas.Cls();
        QCOMPARE(canvas.current(), CanvasPoint());
        const QList<Element> elements = parse(canvas);
        QCOMPARE(elements.size(), 2);
        QCOMPARE(elements[0]["viewBox"], "0 0 500 400");
        QCOMPARE(elements[1].name, "rect");
        QCOMPARE(elements[1]["fill"], "#ffffff");
        QCOMPARE(canvas.Width(), 455.58334f);
        QCOMPARE(canvas.Height(), 380.39526f);
    }

    void shapes_data()
    {
        QTest::addColumn<int>("pen");
        QTest::addColumn<std::optional<Color>>("color");
        QTest::addColumn<QString>("colour");
        QTest::newRow("foreground, pen 2") << 2 << std::optional<Color>() << "#000000";
        QTest::newRow("colour, pen 7") << 7 << std::optional<Color>(0x12AB0F) << "#12ab0f";
        QTest::newRow("pen below 1 draws 1") << 0 << std::optional<Color>(kWhite) << "#ffffff";
    }

    // Coordinates are the very floats drawn; pixel sizes become canvas units.
    void shapes()
    {
        QFETCH(int, pen);
        QFETCH(std::optional<Color>, color);
        SvgCanvas canvas(testPage());
        canvas.setDrawWidth(pen);
        canvas.Line({227.79167f, 210}, {-0.1f, 1e30f}, color);
        canvas.PSet({165.00000030118832f, 0.5f}, color);
        QCOMPARE(canvas.current(), CanvasPoint({165.00000030118832f, 0.5f}));
        const QList<Element> elements = parse(canvas);
        QCOMPARE(elements.size(), 4);
        const Element &line = elements[2], &dot = elements[3];
        const double penUnits = std::max(pen, 1) * 500.0 / 493.0;
        QCOMPARE(line["x1"].toFloat(), 227.79167f);
        QCOMPARE(line["y2"].toFloat(), 1e30f);
        QTEST(line["stroke"], "colour");
        QCOMPARE(line["stroke-width"].toDouble(), penUnits);
        QCOMPARE(line["stroke-linecap"], "round");
        QCOMPARE(dot["cx"].toFloat(), 165.00000030118832f);
        QCOMPARE(dot["r"].toDouble() * 2, penUnits);
        QTEST(dot["fill"], "colour");
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QByteArray("made with Zelbrook") << "made with Zelbrook";
        QTest::newRow("markup characters") << QByteArray("a<b & \"c\" 'd'>") << "a<b & \"c\" 'd'>";
        QTest::newRow("control characters") << QByteArray("a\x01\x1f" "b") << "ab";
        QTest::newRow("two spaces") << QByteArray("a  b") << "a  b";
    }

    void text()
    {
        QFETCH(QByteArray, printed);
        SvgCanvas canvas(testPage());
        canvas.setCurrentX(255.58334f);
        canvas.setCurrentY(380.39526f);
        canvas.Print(printed.toStdString());
        const Element text = parse(canvas).value(2);
        QTEST(text.text, "shown");
        QCOMPARE(text["x"].toFloat(), 255.58334f);
        // The top of the text is at the current position, the baseline one
        // ascent (10 pixels) below it.
        QCOMPARE(text["y"].toDouble(), 380.39526f + 10 * 400.0 / 397.0);
        QCOMPARE(text["font-size"].toDouble(), 11 * 400.0 / 397.0);
        QCOMPARE(text["font-family"], "DejaVu Sans");
    }

    void notFiniteLeftOut_data()
    {
        using Draw = std::function<void(SvgCanvas &)>;
        QTest::addColumn<Draw>("draw");
        QTest::newRow("line from NaN") << Draw([](SvgCanvas &c) { c.Line({kNaN, 0}, {1, 1}); });
        QTest::newRow("line to infinity") << Draw([](SvgCanvas &c) { c.Line({0, 0}, {1, -kInfinity}); });
        QTest::newRow("dot at infinity") << Draw([](SvgCanvas &c) { c.PSet({kInfinity, 0}); });
        QTest::newRow("text at NaN") << Draw([](SvgCanvas &c) {
            c.setCurrentY(kNaN);
            c.Print("x");
        });
    }

    void notFiniteLeftOut()
    {
        QFETCH(std::function<void(SvgCanvas &)>, draw);
        SvgCanvas canvas(testPage());
        draw(canvas);
        QCOMPARE(parse(canvas).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSvgCanvas)
#include "tst_svg_canvas.moc"
