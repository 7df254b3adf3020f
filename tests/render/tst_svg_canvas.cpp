// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/svg_canvas.h"
#include "test_support.h"

#include <QTest>

#include <functional>
#include <limits>

using namespace zelbrook;

using Draw = std::function<void(SvgCanvas &)>;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

} // namespace

class TestSvgCanvas : public QObject
{
    Q_OBJECT

private slots:
    void shape_data()
    {
        QTest::addColumn<Draw>("draw");
        QTest::addColumn<QString>("element"); // the closing tag when nothing is drawn

        // Coordinates are the very floats drawn; pixel sizes become canvas units.
        QTest::newRow("line, colour, pen 7")
            << Draw([](SvgCanvas &c) {
                   c.setDrawWidth(7);
                   c.Line({227.79167f, 210}, {-0.1f, 1e30f}, 0x12AB0F);
               })
            << R"(<line x1="227.79167" y1="210" x2="-0.1" y2="1e+30" stroke="#12ab0f" )"
               R"(stroke-width="7.099391480730223" stroke-linecap="round"/>)";
        QTest::newRow("dot, pen below 1") << Draw([](SvgCanvas &c) {
            c.setDrawWidth(0);
            c.PSet({165.00000030118832f, 0.5f});
        }) << R"(<circle cx="165" cy="0.5" r="0.5070993914807302" fill="#000000"/>)";
        // The top of the text is at the current position, the baseline one
        // ascent (10 pixels) below it; markup is escaped and control
        // characters, which XML cannot hold, are left out.
        QTest::newRow("text")
            << Draw([](SvgCanvas &c) {
                   c.setCurrentX(255.58334f);
                   c.setCurrentY(380.39526f);
                   c.Print("a<b & \"c\" 'd'>\x01\x1f"
                           "b");
               })
            << R"(<text x="255.58334" y="390.4708304225047" font-family="DejaVu Sans" font-size="11.083123425692696" )"
               R"(fill="#000000" xml:space="preserve">a&lt;b &amp; &quot;c&quot; &apos;d&apos;&gt;b</text>)";
        QTest::newRow("line from NaN") << Draw([](SvgCanvas &c) { c.Line({kNaN, 0}, {1, 1}); }) << "</svg>";
        QTest::newRow("line to infinity") << Draw([](SvgCanvas &c) { c.Line({0, 0}, {1, -kInfinity}); }) << "</svg>";
        QTest::newRow("dot at infinity") << Draw([](SvgCanvas &c) { c.PSet({kInfinity, 0}); }) << "</svg>";
        QTest::newRow("text at NaN") << Draw([](SvgCanvas &c) {
            c.setCurrentY(kNaN);
            c.Print("x");
        }) << "</svg>";
    }

    // The element after the background, on a page of the canvas's size,
    // whatever group it is in.
    void shape()
    {
        QFETCH(Draw, draw);

        SvgCanvas canvas({493, 397, test::kCanvasWidth, 380.39526f, "DejaVu Sans", 11.0, 10.0});
        draw(canvas);
        QStringList lines = QString::fromStdString(canvas.document()).split('\n');
        lines.removeIf([](const QString &line) { return line.startsWith("<g ") || line == "</g>"; });
        QCOMPARE(lines.value(2), R"(<rect width="500" height="400" fill="#ffffff"/>)");
        QTEST(lines.value(3), "element");
    }
};

QTEST_GUILESS_MAIN(TestSvgCanvas)
#include "tst_svg_canvas.moc"
