// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "shelf_fixture.h"
#include "test_support.h"

#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"
#include "ui/pose_shelf_panel.h"
#include "ui/shelf_commands.h"
#include "ui/shelf_list_model.h"
#include "ui/timeline_commands.h"

#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>

using namespace zelbrook;

namespace {

// Whether a picture holds some of a black figure: its darkest grey.
bool hasInk(const QImage &picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    return *std::min_element(grey.constBits(), grey.constBits() + grey.sizeInBytes()) < 64;
}

QStringList ownNames(const PoseShelf &shelf)
{
    QStringList names;
    for (const ShelfItem &item : shelf.poses())
        names << (item.shipped ? QStringList() : QStringList{item.name});
    return names;
}

} // namespace

class TestPoseShelf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shippedFilesOpenAndRender_data();
    void shippedFilesOpenAndRender();
    void drawsAPictureOnceAskedFor_data();
    void drawsAPictureOnceAskedFor();
    void keepsTheUsersOwnPoses_data();
    void keepsTheUsersOwnPoses();
    void refusesWhatCannotBeRead_data();
    void refusesWhatCannotBeRead();
    void reachesEveryPictureByKeyboard();

private:
    test::TemporaryFolder m_data;
};

void TestPoseShelf::initTestCase() { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }

void TestPoseShelf::shippedFilesOpenAndRender_data()
{
    QTest::addColumn<bool>("moves");
    QTest::addColumn<int>("fewest");
    QTest::newRow("poses") << false << 16;
    QTest::newRow("moves") << true << 4;
}

// Each file of the build tree's folders, opened as the user would, and
// its small picture holding some of the figure's black.
void TestPoseShelf::shippedFilesOpenAndRender()
{
    QFETCH(bool, moves);
    QFETCH(int, fewest);
    const PoseShelf shelf(
        {PoseShelf::standardFolders().shippedPoses, QString(), PoseShelf::standardFolders().shippedMoves});
    const std::vector<ShelfItem> &items = moves ? shelf.moves() : shelf.poses();
    QVERIFY2(int(items.size()) >= fewest, qPrintable(PoseShelf::standardFolders().shippedPoses));
    Exporter painter;
    ShelfListModel model(painter);
    model.setShelf(&shelf, moves ? ShelfKind::Moves : ShelfKind::Poses);
    for (int row = 0; row < model.rowCount(); ++row) {
        Form1Fixture fixture;
        moves ? fixture.window->openDropped(items[row].path) : fixture.window->openPose(items[row].path);
        QVERIFY2(fixture.messages.isEmpty(), qPrintable(items[row].path + fixture.messages.join(' ')));
        QCOMPARE(fixture.window->document().animation().keyCount() > 1, moves);
        const QImage picture = model.picture(row).toImage();
        QVERIFY2(hasInk(picture), qPrintable(items[row].name));
    }
}

void TestPoseShelf::drawsAPictureOnceAskedFor_data()
{
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("loopRun");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("asked, the event loop still to come") << true << false << false;
    QTest::newRow("asked, the event loop come round") << true << true << true;
    QTest::newRow("never asked") << false << true << false;
}

// A view asking for a picture gets a white square at once, and the picture
// itself once the event loop has come round; one never asked for is never
// drawn.
void TestPoseShelf::drawsAPictureOnceAskedFor()
{
    QFETCH(bool, asked);
    QFETCH(bool, loopRun);
    QFETCH(bool, drawn);
    const PoseShelf shelf({PoseShelf::standardFolders().shippedPoses, QString(), QString()});
    Exporter painter;
    ShelfListModel model(painter);
    model.setShelf(&shelf, ShelfKind::Poses);
    const QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex first = model.index(0);
    if (asked)
        QCOMPARE(first.data(Qt::DecorationRole), QVariant(QColor(Qt::white)));
    if (loopRun)
        QCoreApplication::processEvents();
    QCOMPARE(changed.size(), drawn ? 1 : 0);
    const QVariant shown = first.data(Qt::DecorationRole);
    QCOMPARE(shown.typeId(), drawn ? QMetaType::QPixmap : QMetaType::QColor);
    QVERIFY(!drawn || hasInk(shown.value<QPixmap>().toImage()));
}

void TestPoseShelf::keepsTheUsersOwnPoses_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("own");
    QTest::addColumn<QStringList>("asked");
    const QStringList before{"Broken", "Mine"};
    QTest::newRow("add") << "add"
                         << "a/b: 50%?" << false << QStringList{"a/b: 50%?", "Broken", "Mine"} << QStringList{"name"};
    QTest::newRow("add blanks") << "add"
                                << "  " << false << before << QStringList{"name"};
    QTest::newRow("replace") << "add"
                             << "Mine" << true << before << QStringList{"name", "replace Mine"};
    QTest::newRow("keep") << "add"
                          << "Mine" << false << before << QStringList{"name", "replace Mine"};
    QTest::newRow("remove own") << "remove"
                                << "Mine" << false << QStringList{"Broken"} << QStringList();
    QTest::newRow("remove broken") << "remove"
                                   << "Broken" << false << QStringList{"Mine"} << QStringList();
    QTest::newRow("remove shipped") << "remove"
                                    << "Stand" << false << before << QStringList();
    QTest::newRow("use broken") << "use"
                                << "Broken" << false << before << QStringList();
    QTest::newRow("use own") << "use"
                             << "Mine" << false << before << QStringList();
}

void TestPoseShelf::keepsTheUsersOwnPoses()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(bool, replace);
    QFETCH(QStringList, own);
    QFETCH(QStringList, asked);
    const test::TemporaryFolder user;
    const QByteArray broken = "10135,35,1.57,28,nonsense\r\n";
    const QByteArray mine = QByteArray::fromStdString(writePoseFile(test::startPose()));
    test::writeFile(user.path("Broken.zbk"), broken);
    test::writeFile(user.path("Mine.zbk"), mine);
    Form1Fixture fixture;
    Figure posed{test::largeHeadPose(), 2};
    fixture.window->document().setFigure(posed, ChangeKind::Edit);
    PoseShelfPanel *panel = shownShelf(*fixture.window, user.path());
    QStringList questions;
    const auto askName = [&](QWidget *) { return questions << "name", std::optional(name); };
    panel->setQuestions(
        {askName, [&](QWidget *, const QString &taken) { return questions << "replace " + taken, replace; }});
    const int row = rowNamed(panel->shelf().poses(), name);
    if (command == "use") {
        QListView *list = panel->poseList();
        list->scrollTo(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    } else {
        command == "add" ? panel->addToShelf() : panel->removePose(row);
    }
    QCOMPARE(ownNames(panel->shelf()), own);
    QCOMPARE(questions, asked);
    const bool shipped = command == "remove" && panel->shelf().poses()[row].shipped;
    QCOMPARE(fixture.messages.size(), shipped ? 1 : 0);
    // A pose that cannot be read opens nothing and says why in the panel.
    const std::string reason = readPoseFile(broken.toStdString(), test::startPose()).error().message;
    if (command == "use") {
        QCOMPARE(fixture.window->document().figure() == posed, name == "Broken");
        QCOMPARE(panel->problemLabel()->text(),
                 name == "Broken" ? QStringLiteral("Broken cannot be read: ") + QString::fromStdString(reason)
                                  : QString());
    }
    const int brokenRow = rowNamed(panel->shelf().poses(), "Broken");
    if (brokenRow >= 0) {
        const QModelIndex index = panel->poseModel().index(brokenRow);
        QCOMPARE(index.data(Qt::ToolTipRole).toString().toStdString(), reason);
        QVERIFY(index.data(Qt::ForegroundRole).isValid());
    }
    const int named = rowNamed(panel->shelf().poses(), name);
    if (command == "add" && named >= 0) {
        const bool written = name != "Mine" || replace;
        QCOMPARE(test::fileBytes(panel->shelf().poses()[named].path),
                 written ? QByteArray::fromStdString(writePoseFile(posed.pose)) : mine);
    }
}

void TestPoseShelf::refusesWhatCannotBeRead_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("how");
    QTest::newRow("pose clicked") << false << "click";
    QTest::newRow("pose entered") << false << "enter";
    QTest::newRow("move double-clicked") << true << "double-click";
    QTest::newRow("move entered") << true << "enter";
    QTest::newRow("move inserted by its button") << true << "Insert move";
}

// A greyed pose or move, however it is chosen, changes nothing and opens
// no message: the panel says why under the lists.
void TestPoseShelf::refusesWhatCannotBeRead()
{
    QFETCH(bool, move);
    QFETCH(QString, how);
    const test::TemporaryFolder folder;
    const QByteArray broken = move ? "{\"keys\": [" : "10135,35,1.57,28,nonsense\r\n";
    test::writeFile(folder.path(move ? "Broken.zba" : "Broken.zbk"), broken);
    const std::string reason = move ? readAnimationFile(broken.toStdString(), test::startPose()).error().message
                                    : readPoseFile(broken.toStdString(), test::startPose()).error().message;
    Form1Fixture fixture;
    ShelfCommands *commands = fixture.window->findChild<ShelfCommands *>();
    commands->setFolders({PoseShelf::standardFolders().shippedPoses, folder.path(), folder.path()});
    commands->showPoses();
    PoseShelfPanel *panel = commands->panel();
    const Animation before = fixture.window->document().animation();
    QListView *list = move ? panel->moveList() : panel->poseList();
    const QModelIndex index = list->model()->index(
        rowNamed(move ? panel->shelf().moves() : panel->shelf().poses(), QStringLiteral("Broken")), 0);
    list->scrollTo(index);
    list->setCurrentIndex(index);
    const QPoint centre = list->visualRect(index).center();
    // A widget's double click comes after a click, as the system sends it.
    if (how == "click" || how == "double-click")
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (how == "double-click")
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (how == "enter")
        QTest::keyClick(list, Qt::Key_Enter);
    for (QPushButton *button : panel->findChildren<QPushButton *>())
        button->text() == how ? QTest::mouseClick(button, Qt::LeftButton) : void();
    QCOMPARE(panel->problemLabel()->text(), QStringLiteral("Broken cannot be read: ") + QString::fromStdString(reason));
    QCOMPARE(fixture.window->document().animation().keys(), before.keys());
    QCOMPARE(fixture.messages, QStringList());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPoseShelf::reachesEveryPictureByKeyboard()
{
    ActiveWindow fixture;
    fixture.window->findChild<ShelfCommands *>()->setFolders(PoseShelf::standardFolders());
    fixture.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    PoseShelfPanel *panel = fixture.window->findChild<ShelfCommands *>()->panel();
    QVERIFY(panel->isVisible());
    QListView *list = panel->poseList();
    QCOMPARE(panel->focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Home);
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        QCOMPARE(list->currentIndex().row(), row);
        QCOMPARE(list->currentIndex().data(Qt::AccessibleTextRole).toString(), panel->shelf().poses()[row].name);
        QTest::keyClick(list, Qt::Key_Right);
    }
}

QTEST_MAIN(TestPoseShelf)
#include "tst_pose_shelf.moc"
