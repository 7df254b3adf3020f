// SPDX-License-Identifier: GPL-3.0-or-later
#include "timing_keys.h"

#include "ui/workspace/document_signals.h"
#include "ui/workspace/figures_model.h"
#include "ui/workspace/keys_model.h"
#include "ui/workspace/timeline_view.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace zelbrook;

namespace {

using Edit = std::function<void(AnimationDocument &)>;

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

} // namespace

class TestDocumentModels : public QObject
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
};

QTEST_MAIN(TestDocumentModels)
#include "tst_document_models.moc"
