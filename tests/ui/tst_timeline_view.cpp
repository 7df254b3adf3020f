// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/workspace/document_signals.h"
#include "ui/workspace/figures_model.h"
#include "ui/workspace/keys_model.h"
#include "ui/workspace/timeline_view.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace zelbrook;

namespace {

using Edit = std::function<void(AnimationDocument &)>;

Animation keysOf(const std::vector<std::pair<int, int>> &timings, bool loop = true)
{
    std::vector<Key> keys;
    for (const auto &[hold, tweens] : timings)
        keys.emplace_back(Figure{}, hold, tweens);
    return Animation(Playback{12, loop}, keys);
}

// What a model told, signal by signal: rows in, out and moved, resets, and
// the rows changed with what changed of them.
class ModelLog
{
public:
    explicit ModelLog(QAbstractItemModel &model)
        : m_inserted(&model, &QAbstractItemModel::rowsInserted)
        , m_removed(&model, &QAbstractItemModel::rowsRemoved)
        , m_moved(&model, &QAbstractItemModel::rowsMoved)
        , m_reset(&model, &QAbstractItemModel::modelReset)
        , m_changed(&model, &QAbstractItemModel::dataChanged)
    {}

    QString text() const
    {
        QStringList told;
        for (const auto &[name, spy] : {std::pair{"inserted", &m_inserted}, {"removed", &m_removed}})
            for (const QList<QVariant> &rows : *spy)
                told << QStringLiteral("%1 %2-%3").arg(name).arg(rows[1].toInt()).arg(rows[2].toInt());
        for (const QList<QVariant> &move : m_moved)
            told << QStringLiteral("moved %1>%2").arg(move[1].toInt()).arg(move[4].toInt());
        if (!m_reset.isEmpty())
            told << QStringLiteral("reset");
        for (const QList<QVariant> &change : m_changed)
            told << QStringLiteral("data %1-%2%3")
                        .arg(change[0].toModelIndex().row())
                        .arg(change[1].toModelIndex().row())
                        .arg(roles(change[2].value<QList<int>>()));
        return told.join(QStringLiteral("; "));
    }

private:
    static QString roles(const QList<int> &roles)
    {
        if (roles.contains(KeysModel::HoldRole))
            return QStringLiteral(" timing");
        const std::pair<int, const char *> names[] = {{Qt::DecorationRole, " picture"},
                                                      {KeysModel::FirstFrameRole, " first"},
                                                      {KeysModel::CurrentRole, " current"},
                                                      {KeysModel::TweensPlayedRole, " played"}};
        for (const auto &[role, name] : names)
            if (roles == QList<int>{role})
                return QString::fromLatin1(name);
        return {};
    }

    QSignalSpy m_inserted, m_removed, m_moved, m_reset, m_changed;
};

// Each key as hold+in-betweens@first frame, the current one starred.
QString keyRows(const KeysModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex at = model.index(row);
        rows << QStringLiteral("%1+%2@%3%4")
                    .arg(at.data(KeysModel::HoldRole).toInt())
                    .arg(at.data(KeysModel::TweensRole).toInt())
                    .arg(at.data(KeysModel::FirstFrameRole).toInt())
                    .arg(at.data(KeysModel::CurrentRole).toBool() ? "*" : "");
    }
    return rows.join(' ');
}

// Each figure's name, starred when current, dashed when the key lacks it.
QString figureRows(const FiguresModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex at = model.index(row);
        rows << at.data().toString() + (at.data(FiguresModel::CurrentRole).toBool() ? "*" : "")
                    + (at.data(FiguresModel::HeldRole).toBool() ? "" : "-");
    }
    return rows.join('|');
}

// What a model of the document told of an edit, and its rows after it.
template <typename Model>
std::pair<QString, QString> followed(AnimationDocument &document, const Edit &edit, QString (*rows)(const Model &))
{
    DocumentSignals changes(document);
    Model model(changes);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const ModelLog log(model);
    // A view may draw the rows that come in as soon as it hears of them.
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&model](const QModelIndex &, int first, int last) {
        for (int row = first; row <= last; ++row)
            (void)model.index(row).data(Qt::DecorationRole);
    });
    edit(document);
    return {log.text(), rows(model)};
}

// A view of its animation with no frame or scroll bar to count, shown.
struct ShownView {
    explicit ShownView(const Animation &animation, QSize size = {400, 120})
    {
        document.replaceAnimation(animation);
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(size);
        view.show();
    }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, at);
    }

    AnimationDocument document;
    DocumentSignals changes{document};
    TimelineView view{changes};
};

// The part of a widget painted, all paint events together.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted |= static_cast<QPaintEvent *>(event)->rect();
        return false;
    }
    QRect painted;
};

using ViewStep = std::function<void(ShownView &)>;

} // namespace

class TestTimelineView : public QObject
{
    Q_OBJECT

private slots:
    // Three keys, the middle one current: hold+in-betweens 2+3, 1+0, 4+2.
    void keysModelFollowsEdits_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("rows");

        QTest::newRow("pose of one key") << Edit([](AnimationDocument &d) { d.setPosition(FieldId::BodyAngle, 40); })
                                         << "data 1-1 picture"
                                         << "2+3@0 1+0@5* 4+2@6";
        QTest::newRow("timing") << Edit([](AnimationDocument &d) { (void)d.setKeyTiming(3, 1, Ease::Smooth); })
                                << "data 1-1 timing; data 2-2 first"
                                << "2+3@0 3+1@5* 4+2@9";
        QTest::newRow("add a key") << Edit([](AnimationDocument &d) { (void)d.addKey(); })
                                   << "inserted 2-2; data 3-3 first; data 1-1 current"
                                   << "2+3@0 1+0@5 1+0@6* 4+2@7";
        QTest::newRow("add a last key") << Edit([](AnimationDocument &d) { d.setCurrentKey(2), (void)d.addKey(); })
                                        << "inserted 3-3; data 1-1 current; data 2-2 current; data 2-2 current"
                                        << "2+3@0 1+0@5 4+2@6 4+2@12*";
        QTest::newRow("add, undo") << Edit([](AnimationDocument &d) { (void)d.addKey(), d.undo(); })
                                   << "inserted 2-2; removed 2-2; data 3-3 first; data 1-1 current; "
                                      "data 2-2 first; data 1-1 current"
                                   << "2+3@0 1+0@5* 4+2@6";
        QTest::newRow("delete") << Edit([](AnimationDocument &d) { (void)d.deleteKey(); })
                                << "removed 1-1; data 1-1 first; data 1-1 current"
                                << "2+3@0 4+2@5*";
        QTest::newRow("move later") << Edit([](AnimationDocument &d) {
            (void)d.moveKey(AnimationDocument::Direction::Later);
        }) << "moved 1>3; data 1-2 first"
                                    << "2+3@0 4+2@5 1+0@11*";
        QTest::newRow("reverse") << Edit([](AnimationDocument &d) {
            (void)d.reverseKeys({0, 2});
        }) << "data 0-2; data 0-2 first"
                                 << "4+2@0 1+0@6* 2+3@7";
        QTest::newRow("a figure joins") << Edit([](AnimationDocument &d) { (void)d.addFigure(Figure{}); })
                                        << "data 0-2 picture"
                                        << "2+3@0 1+0@5* 4+2@6";
        QTest::newRow("no loop") << Edit([](AnimationDocument &d) {
            (void)d.setPlayback({12, false});
        }) << "data 2-2 played"
                                 << "2+3@0 1+0@5* 4+2@6";
        QTest::newRow("no loop, move the last key")
            << Edit([](AnimationDocument &d) {
                   (void)d.setPlayback({12, false});
                   d.setCurrentKey(2);
                   (void)d.moveKey(AnimationDocument::Direction::Earlier);
               })
            << "moved 2>1; data 2-2 played; data 1-1 current; data 2-2 current; data 1-2 first; "
               "data 1-1 played; data 2-2 played"
            << "2+3@0 4+2@5* 1+0@11";
        QTest::newRow("new animation") << Edit([](AnimationDocument &d) {
            d.replaceAnimation(keysOf({{3, 0}, {1, 1}}));
        }) << "reset"
                                       << "3+0@0* 1+1@3";
    }

    void keysModelFollowsEdits()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, told);
        QFETCH(QString, rows);
        AnimationDocument document;
        document.replaceAnimation(keysOf({{2, 3}, {1, 0}, {4, 2}}));
        document.setCurrentKey(1);
        QCOMPARE(followed(document, edit, keyRows), std::pair(told, rows));
    }

    // Figures 1 to 3 in both of two keys, the first key and figure 3 current.
    void figuresModelFollowsTheCast_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("rows");

        using Direction = AnimationDocument::Direction;
        QTest::newRow("pose") << Edit([](AnimationDocument &d) { d.setPosition(FieldId::BodyAngle, 40); }) << ""
                              << "Figure 1|Figure 2|Figure 3*";
        QTest::newRow("another key") << Edit([](AnimationDocument &d) { d.setCurrentKey(1); }) << ""
                                     << "Figure 1|Figure 2|Figure 3*";
        QTest::newRow("join") << Edit([](AnimationDocument &d) { (void)d.addFigure(Figure{}); })
                              << "inserted 3-3; data 2-2"
                              << "Figure 1|Figure 2|Figure 3|Figure 4*";
        QTest::newRow("leave") << Edit([](AnimationDocument &d) { (void)d.deleteFigure(); }) << "removed 2-2; data 0-0"
                               << "Figure 1*|Figure 2";
        QTest::newRow("leave, undo") << Edit([](AnimationDocument &d) { (void)d.deleteFigure(), d.undo(); })
                                     << "inserted 2-2; removed 2-2; data 0-0; data 0-0"
                                     << "Figure 1|Figure 2|Figure 3*";
        QTest::newRow("leave a later key") << Edit([](AnimationDocument &d) {
            d.setCurrentKey(1);
            (void)d.deleteFigure();
        }) << "data 0-0; data 2-2"
                                           << "Figure 1*|Figure 2|Figure 3-";
        QTest::newRow("one back") << Edit([](AnimationDocument &d) { (void)d.moveFigure(Direction::Earlier); })
                                  << "moved 1>3"
                                  << "Figure 1|Figure 3*|Figure 2";
        QTest::newRow("rename") << Edit([](AnimationDocument &d) { (void)d.renameFigure(2, "Thrower"); }) << "data 1-1"
                                << "Figure 1|Thrower|Figure 3*";
        QTest::newRow("choose") << Edit([](AnimationDocument &d) { d.setCurrentFigure(1); }) << "data 0-0; data 2-2"
                                << "Figure 1*|Figure 2|Figure 3";
    }

    void figuresModelFollowsTheCast()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, told);
        QFETCH(QString, rows);
        AnimationDocument document;
        document.replaceAnimation(keysOf({{1, 0}, {1, 0}}));
        QVERIFY(document.addFigure(Figure{}) && document.addFigure(Figure{}));
        QCOMPARE(followed(document, edit, figureRows), std::pair(told, rows));
    }

    // Figure 2 renamed through the model.
    void renamingThroughTheModel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("step");

        QTest::newRow("new name") << "Thrower" << true << "Figure 1|Thrower*"
                                  << "" << true;
        QTest::newRow("its own name") << "Figure 2" << true << "Figure 1|Figure 2*"
                                      << "" << false;
        QTest::newRow("another's name") << "Figure 1" << false << "Figure 1|Figure 2*"
                                        << "figures 1 and 2 are both named \"Figure 1\"" << false;
        QTest::newRow("empty") << "" << false << "Figure 1|Figure 2*"
                               << "figure 2: the name is empty" << false;
    }

    void renamingThroughTheModel()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        QFETCH(QString, rows);
        QFETCH(QString, refusal);
        QFETCH(bool, step);
        AnimationDocument document;
        QVERIFY(document.addFigure(Figure{}));
        document.clearHistory();
        DocumentSignals changes(document);
        FiguresModel model(changes);
        QVERIFY(model.flags(model.index(1)) & Qt::ItemIsEditable);
        QCOMPARE(model.setData(model.index(1), name), taken);
        QCOMPARE(figureRows(model), rows);
        QCOMPARE(model.refusal(), refusal);
        QCOMPARE(document.canUndo(), step);
    }

    // Whatever goes first, a change of the document afterwards reaches
    // only what is left.
    void nothingHearsAfterItGoes_data()
    {
        QTest::addColumn<int>("gone");
        QTest::newRow("keys model") << 0;
        QTest::newRow("figures model") << 1;
        QTest::newRow("timeline") << 2;
        QTest::newRow("adapter") << 3;
    }

    void nothingHearsAfterItGoes()
    {
        QFETCH(int, gone);
        AnimationDocument document;
        auto changes = std::make_unique<DocumentSignals>(document);
        std::vector<std::unique_ptr<QObject>> listeners;
        listeners.emplace_back(std::make_unique<KeysModel>(*changes));
        listeners.emplace_back(std::make_unique<FiguresModel>(*changes));
        listeners.emplace_back(std::make_unique<TimelineView>(*changes));
        const QSignalSpy told(changes.get(), &DocumentSignals::animationChanged);
        const QSignalSpy posed(changes.get(), &DocumentSignals::figureChanged);
        gone < 3 ? listeners[std::size_t(gone)].reset() : changes.reset();
        QVERIFY(document.addKey());
        document.setPosition(FieldId::BodyAngle, 40);
        QVERIFY(document.addFigure(Figure{}));
        // A key in and current, a key's figure, a figure in and current.
        QCOMPARE(told.count(), gone < 3 ? 5 : 0);
        QCOMPARE(posed.count(), gone < 3 ? 2 : 0);
    }

    // Three keys of two frames at 12 pixels a frame, the middle one current,
    // in a view 400 by 120: key k's block from x = 4 + 24 k, 24 wide, its
    // lane from y = 22 to the foot less 2; the playhead on frame 0.
    void aChangeRepaintsWhatItMoved_data()
    {
        QTest::addColumn<ViewStep>("step");
        QTest::addColumn<QRect>("painted");

        QTest::newRow("a key's pose") << ViewStep([](ShownView &v) { v.document.setPosition(FieldId::BodyAngle, 40); })
                                      << QRect(28, 22, 24, 96);
        QTest::newRow("another key") << ViewStep([](ShownView &v) { v.document.setCurrentKey(2); })
                                     << QRect(28, 22, 48, 96);
        QTest::newRow("a run from the first")
            << ViewStep([](ShownView &v) { v.view.selectFrom(0); }) << QRect(4, 22, 48, 96);
        QTest::newRow("a figure joins") << ViewStep([](ShownView &v) { (void)v.document.addFigure(Figure{}); })
                                        << QRect(4, 22, 72, 96);
        QTest::newRow("sides apart") << ViewStep([](ShownView &v) { v.view.setSides(true); }) << QRect(4, 22, 72, 96);
        QTest::newRow("a key's timing") << ViewStep([](ShownView &v) {
            (void)v.document.setKeyTiming(3, 0, Ease::Linear);
        }) << QRect(0, 0, 400, 120);
        QTest::newRow("no loop") << ViewStep([](ShownView &v) {
            (void)v.document.setPlayback({12, false});
        }) << QRect(0, 0, 400, 120);
        QTest::newRow("a key added") << ViewStep([](ShownView &v) { (void)v.document.addKey(); })
                                     << QRect(0, 0, 400, 120);
        QTest::newRow("a pose undone") << ViewStep([](ShownView &v) {
            v.document.setPosition(FieldId::BodyAngle, 40);
            QCoreApplication::processEvents();
            v.document.undo();
        }) << QRect(28, 22, 24, 96);
        QTest::newRow("playhead to frame 3")
            << ViewStep([](ShownView &v) { v.view.setPlayhead(3); }) << QRect(4, 0, 48, 120);
        QTest::newRow("playhead where it is") << ViewStep([](ShownView &v) { v.view.setPlayhead(0); }) << QRect();
    }

    void aChangeRepaintsWhatItMoved()
    {
        QFETCH(ViewStep, step);
        QFETCH(QRect, painted);
        ShownView shown(keysOf({{2, 0}, {2, 0}, {2, 0}}));
        shown.document.setCurrentKey(1);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.view));
        QCoreApplication::processEvents();
        const PaintLog log(shown.view.viewport());
        step(shown);
        QCoreApplication::processEvents();
        QCOMPARE(log.painted, painted);
    }

    // One key of 200 frames; a click at x on the ruler, or right of the
    // blocks, chooses frame (x + scroll - 4) / width, within the frames.
    void aClickChoosesTheFrameUnderIt_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("frame");

        QTest::newRow("first frame") << 12 << 0 << QPoint(5, 8) << 0;
        QTest::newRow("left of the first") << 12 << 0 << QPoint(1, 8) << 0;
        QTest::newRow("12 px") << 12 << 0 << QPoint(100, 8) << 8;
        QTest::newRow("12 px, scrolled") << 12 << 240 << QPoint(100, 8) << 28;
        QTest::newRow("2 px, scrolled") << 2 << 3 << QPoint(31, 8) << 15;
        QTest::newRow("64 px, scrolled") << 64 << 1000 << QPoint(200, 8) << 18;
        QTest::newRow("right of the blocks") << 2 << 8 << QPoint(399, 60) << 199;
    }

    void aClickChoosesTheFrameUnderIt()
    {
        QFETCH(int, width);
        QFETCH(int, scroll);
        QFETCH(QPoint, at);
        QFETCH(int, frame);
        ShownView shown(keysOf({{200, 0}}));
        shown.view.setPixelsPerFrame(width);
        shown.view.horizontalScrollBar()->setValue(scroll);
        QCOMPARE(shown.view.horizontalScrollBar()->value(), scroll);
        QSignalSpy chosen(&shown.view, &TimelineView::frameChosen);
        shown.click(at);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen[0][0].value<std::size_t>(), std::size_t(frame));
        QCOMPARE(shown.view.playhead(), std::size_t(frame));
    }

    // Ctrl and the wheel at x = 100 on 200 frames of 12 pixels scrolled 240
    // pixels along, with frame 28 under the pointer; it stays there.
    void ctrlWheelZoomsAboutThePointer_data()
    {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("width");

        QTest::newRow("wider") << 1 << 15;
        QTest::newRow("three wider") << 3 << 23;
        QTest::newRow("narrower") << -1 << 10;
        QTest::newRow("five narrower") << -5 << 4;
    }

    void ctrlWheelZoomsAboutThePointer()
    {
        QFETCH(int, notches);
        QFETCH(int, width);
        ShownView shown(keysOf({{200, 0}}));
        shown.view.horizontalScrollBar()->setValue(240);
        const QPoint at(100, 8);
        QWheelEvent wheel(at, shown.view.viewport()->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(shown.view.viewport(), &wheel);
        QCOMPARE(shown.view.pixelsPerFrame(), width);
        QSignalSpy chosen(&shown.view, &TimelineView::frameChosen);
        shown.click(at);
        QCOMPARE(chosen.value(0).value(0).value<std::size_t>(), std::size_t(28));
    }

    // Ten frames; the keys pressed from a frame, and the frames chosen.
    void keysStepFrames_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("pressed");
        QTest::addColumn<QList<int>>("chosen");

        QTest::newRow("Right") << 0 << QList<int>{Qt::Key_Right} << QList<int>{1};
        QTest::newRow("Left") << 5 << QList<int>{Qt::Key_Left} << QList<int>{4};
        QTest::newRow("Left at the first") << 0 << QList<int>{Qt::Key_Left} << QList<int>{0};
        QTest::newRow("Right to the last and on") << 8 << QList<int>{Qt::Key_Right, Qt::Key_Right} << QList<int>{9, 9};
        QTest::newRow("Home") << 5 << QList<int>{Qt::Key_Home} << QList<int>{0};
        QTest::newRow("End, Left") << 2 << QList<int>{Qt::Key_End, Qt::Key_Left} << QList<int>{9, 8};
    }

    void keysStepFrames()
    {
        QFETCH(int, from);
        QFETCH(QList<int>, pressed);
        QFETCH(QList<int>, chosen);
        ShownView shown(keysOf({{4, 2}, {3, 1}}));
        shown.view.setPlayhead(std::size_t(from));
        QSignalSpy told(&shown.view, &TimelineView::frameChosen);
        for (const int key : pressed)
            QTest::keyClick(&shown.view, Qt::Key(key));
        QList<int> frames;
        for (const QList<QVariant> &frame : told)
            frames << int(frame[0].value<std::size_t>());
        QCOMPARE(frames, chosen);
    }

    // Keys of 3+2, 2+0 and 4+1 frames at 12 pixels a frame: their ends at
    // x = 40 and 64, 88, and 136 and 148.
    void draggingABlockEnd_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("hold");
        QTest::addColumn<int>("tweens");
        QTest::addColumn<int>("shownWidth");

        QTest::newRow("a hold longer") << true << QPoint(40, 50) << 64 << 0 << 5 << 2 << 84;
        QTest::newRow("in-betweens shorter") << true << QPoint(63, 50) << 40 << 0 << 3 << 0 << 36;
        QTest::newRow("a hold never under 1") << true << QPoint(41, 50) << 0 << 0 << 1 << 2 << 36;
        QTest::newRow("upper half where both end") << true << QPoint(88, 40) << 124 << 1 << 5 << 0 << 60;
        QTest::newRow("lower half where both end") << true << QPoint(88, 100) << 124 << 1 << 2 << 3 << 60;
        QTest::newRow("to the nearest frame") << true << QPoint(136, 50) << 153 << 2 << 5 << 1 << 72;
        QTest::newRow("last key, no loop") << false << QPoint(136, 100) << 148 << 2 << 5 << 1 << 60;
    }

    void draggingABlockEnd()
    {
        QFETCH(bool, loop);
        QFETCH(QPoint, from);
        QFETCH(int, to);
        QFETCH(int, key);
        QFETCH(int, hold);
        QFETCH(int, tweens);
        QFETCH(int, shownWidth);
        const Animation before = keysOf({{3, 2}, {2, 0}, {4, 1}}, loop);
        ShownView shown(before);
        QWidget *viewport = shown.view.viewport();
        QTest::mouseMove(viewport, from);
        QCOMPARE(viewport->cursor().shape(), Qt::SizeHorCursor);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, QPoint(to, from.y()));
        QCOMPARE(shown.view.blockRect(std::size_t(key)).width(), shownWidth);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(to, from.y()));
        const Key &dragged = shown.document.animation().key(std::size_t(key));
        QCOMPARE(shown.document.currentKey(), std::size_t(key));
        QCOMPARE(std::pair(dragged.hold, dragged.tweens), std::pair(hold, tweens));
        QVERIFY(shown.document.undo());
        QCOMPARE(shown.document.animation().keys(), before.keys());
        QVERIFY(!shown.document.canUndo());
    }

    // The hold of the first of keys of 3+2 and 2+0 frames dragged from x =
    // 40 to 64, then given up: the block is back to 60 pixels, and no step.
    void aDragGivenUp_data()
    {
        QTest::addColumn<ViewStep>("giveUp");
        QTest::addColumn<int>("keys");

        QTest::newRow("Escape") << ViewStep([](ShownView &v) { QTest::keyClick(&v.view, Qt::Key_Escape); }) << 2;
        QTest::newRow("a key added") << ViewStep([](ShownView &v) { (void)v.document.addKey(); }) << 3;
        QTest::newRow("no loop") << ViewStep([](ShownView &v) { (void)v.document.setPlayback({12, false}); }) << 2;
        QTest::newRow("new animation") << ViewStep([](ShownView &v) {
            v.document.replaceAnimation(keysOf({{3, 2}, {2, 0}}));
        }) << 2;
    }

    void aDragGivenUp()
    {
        QFETCH(ViewStep, giveUp);
        QFETCH(int, keys);
        ShownView shown(keysOf({{3, 2}, {2, 0}}));
        shown.document.clearHistory();
        QWidget *viewport = shown.view.viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, {40, 50});
        QTest::mouseMove(viewport, {64, 50});
        QCOMPARE(shown.view.blockRect(0).width(), 84);
        giveUp(shown);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, {64, 50});
        QCOMPARE(shown.view.blockRect(0).width(), 60);
        QCOMPARE(shown.document.animation().keyCount(), std::size_t(keys));
        QCOMPARE(shown.document.animation().key(0).hold, 3);
    }

    // Five keys of two frames, 24 pixels each; a press at x = 16 + 24 k
    // is on key k.
    void choosingARunOfKeys_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        QTest::newRow("click") << QStringList{"1"} << 1 << 1;
        QTest::newRow("Shift+click later") << QStringList{"1", "+3"} << 1 << 3;
        QTest::newRow("Shift+click earlier") << QStringList{"3", "+0"} << 0 << 3;
        QTest::newRow("a click forgets the run") << QStringList{"1", "+3", "2"} << 2 << 2;
        QTest::newRow("Shift+Alt+Right twice") << QStringList{"1", ">", ">"} << 1 << 3;
        QTest::newRow("Shift+Alt+Left at the first") << QStringList{"0", "<"} << 0 << 0;
        QTest::newRow("Shift+Alt+Left back") << QStringList{"1", ">", ">", "<"} << 1 << 2;
        QTest::newRow("Shift+Alt+Left, then click") << QStringList{"3", "<", "<", "+4"} << 3 << 4;
    }

    void choosingARunOfKeys()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, first);
        QFETCH(int, last);
        ShownView shown(keysOf({{2, 0}, {2, 0}, {2, 0}, {2, 0}, {2, 0}}));
        const QSignalSpy changed(&shown.view, &TimelineView::selectionChanged);
        for (const QString &step : steps) {
            const Qt::KeyboardModifiers extending = Qt::ShiftModifier | Qt::AltModifier;
            if (step == "<" || step == ">")
                QTest::keyClick(&shown.view, step == "<" ? Qt::Key_Left : Qt::Key_Right, extending);
            else
                shown.click({16 + 24 * QString(step).remove('+').toInt(), 60},
                            step.startsWith('+') ? Qt::ShiftModifier : Qt::NoModifier);
        }
        const KeyRun run{std::size_t(first), std::size_t(last)};
        QCOMPARE(shown.view.selection(), run);
        QCOMPARE(changed.isEmpty(), run == KeyRun{});
    }

    // A thousand keys of four frames; the view draws the pictures of the
    // nine keys it shows in 400 pixels, as tall as it lets them be over the
    // 10-pixel band of each key's timing.
    void picturesFitThePanel_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QSize>("picture");

        QTest::newRow("low panel") << 60 << QSize(60, 48);
        QTest::newRow("taller") << 128 << QSize(112, 90);
        QTest::newRow("tall") << 200 << QSize(201, 162);
    }

    void picturesFitThePanel()
    {
        QFETCH(int, height);
        QFETCH(QSize, picture);
        ShownView shown(keysOf(std::vector<std::pair<int, int>>(1000, {4, 0})), {400, height});
        shown.view.grab();
        QCOMPARE(shown.view.pictureSize(), picture);
        QCOMPARE(shown.view.picturesDrawn(), 9);
    }
};

QTEST_MAIN(TestTimelineView)
#include "tst_timeline_view.moc"
