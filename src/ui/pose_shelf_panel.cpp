// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_shelf_panel.h"

#include "shelf_item_delegate.h"
#include "shelf_list_model.h"

#include "model/move_placement.h"
#include "platform/message_box.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

namespace zelbrook {

namespace {

QString fromStd(const std::string &text) { return QString::fromStdString(text); }

std::optional<QString> askNameInDialog(QWidget *parent)
{
    bool ok = false;
    const QString name = QInputDialog::getText(parent, QObject::tr("Add to shelf"), QObject::tr("Name of the pose:"),
                                               QLineEdit::Normal, QString(), &ok);
    return ok ? std::optional(name) : std::nullopt;
}

bool confirmInDialog(QWidget *parent, const QString &name)
{
    const QString text = QObject::tr("A pose named \"%1\" is already on the shelf. Replace it?").arg(name);
    return QMessageBox::question(parent, MessageBox::title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

// Shift lands a pose or a move the other way round.
Landing landingFor(Qt::KeyboardModifiers modifiers)
{
    return modifiers.testFlag(Qt::ShiftModifier) ? Landing::OtherWay : Landing::AsFacing;
}

QLabel *labelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

PoseShelfPanel::PoseShelfPanel(AnimationDocument &document, const PoseShelf::Folders &folders, Presenter presenter,
                               QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_document(document)
    , m_shelf(folders)
    , m_presenter(std::move(presenter))
    , m_questions{askNameInDialog, confirmInDialog}
    , m_poseModel(new ShelfListModel(m_painter, this))
    , m_moveModel(new ShelfListModel(m_painter, this))
{
    setObjectName(QStringLiteral("Poses"));
    // A window of its own takes the application's font, not its parent's.
    if (parent)
        setFont(parent->font());
    setWindowTitle(tr("Poses"));
    m_poseList = pictureList(m_poseModel, tr("Poses"));
    m_moveList = pictureList(m_moveModel, tr("Moves"));
    m_moveList->setFixedHeight(m_moveList->gridSize().height() + 2 * m_moveList->frameWidth() + 4);
    m_add = new QPushButton(tr("Add to shelf…"), this);
    m_remove = new QPushButton(tr("Remove"), this);
    m_insert = new QPushButton(tr("Insert move"), this);
    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *poseButtons = new QHBoxLayout;
    poseButtons->addWidget(m_add);
    poseButtons->addWidget(m_remove);
    poseButtons->addStretch();
    auto *moveButtons = new QHBoxLayout;
    moveButtons->addWidget(m_insert);
    moveButtons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(labelFor(tr("&Poses"), m_poseList, this));
    layout->addWidget(m_poseList, 1);
    layout->addLayout(poseButtons);
    layout->addWidget(labelFor(tr("&Moves"), m_moveList, this));
    layout->addWidget(m_moveList);
    layout->addLayout(moveButtons);
    layout->addWidget(m_problem);
    connect(m_poseList, &QListView::clicked, this, [this](const QModelIndex &index) {
        applyPose(index.row(), landingFor(QGuiApplication::keyboardModifiers()));
    });
    connect(m_moveList, &QListView::doubleClicked, this, [this](const QModelIndex &index) {
        insertMove(index.row(), landingFor(QGuiApplication::keyboardModifiers()));
    });
    connect(m_add, &QPushButton::clicked, this, &PoseShelfPanel::addToShelf);
    connect(m_remove, &QPushButton::clicked, this, [this] { removePose(m_poseList->currentIndex().row()); });
    connect(m_insert, &QPushButton::clicked, this, [this] { insertMove(m_moveList->currentIndex().row()); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    showShelf();
    resize(430, 460);
}

PoseShelfPanel::~PoseShelfPanel() = default;

QListView *PoseShelfPanel::pictureList(ShelfListModel *model, const QString &name)
{
    auto *list = new QListView(this);
    list->setAccessibleName(name);
    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setUniformItemSizes(true);
    list->setIconSize(ShelfListModel::kPictureSize);
    list->setGridSize(ShelfListModel::kPictureSize + QSize(24, 28));
    list->setWordWrap(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setItemDelegate(new ShelfItemDelegate(list));
    list->setModel(model);
    list->installEventFilter(this);
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this, &PoseShelfPanel::updateButtons);
    return list;
}

void PoseShelfPanel::reload()
{
    m_shelf.reload();
    showShelf();
}

void PoseShelfPanel::showShelf()
{
    m_poseModel->setShelf(&m_shelf, ShelfKind::Poses);
    m_moveModel->setShelf(&m_shelf, ShelfKind::Moves);
    updateButtons();
}

// Enter on a picture uses it, as a click on a pose does.
bool PoseShelfPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *press = static_cast<QKeyEvent *>(event);
    if (press->key() != Qt::Key_Return && press->key() != Qt::Key_Enter)
        return false;
    const Landing landing = landingFor(press->modifiers());
    if (watched == m_poseList && m_poseList->currentIndex().isValid())
        applyPose(m_poseList->currentIndex().row(), landing);
    else if (watched == m_moveList && m_moveList->currentIndex().isValid())
        insertMove(m_moveList->currentIndex().row(), landing);
    else
        return false;
    return true;
}

void PoseShelfPanel::applyPose(int row, Landing landing)
{
    if (row < 0 || row >= static_cast<int>(m_shelf.poses().size()))
        return;
    const auto index = static_cast<std::size_t>(row);
    if (refuseUnreadable(m_shelf.pose(index)))
        return;
    const Pose pose = m_shelf.poseOver(index, m_document.pose()).value();
    m_document.endGesture();
    m_document.setFigure(landedFigure(m_document.figure(), pose, landing), ChangeKind::Load);
}

void PoseShelfPanel::insertMove(int row, Landing landing)
{
    if (row < 0 || row >= static_cast<int>(m_shelf.moves().size()))
        return;
    const ShelfItem &move = m_shelf.move(static_cast<std::size_t>(row));
    if (refuseUnreadable(move))
        return;
    const std::size_t current = m_document.currentKey();
    const FigureId figure = m_document.currentFigure();
    const std::vector<Key> keys = placedMove(*move.animation, m_document.animation().key(current), figure, landing);
    Status inserted = checkOnStage(keys, figure);
    if (inserted)
        inserted = m_document.insertKeys(current + 1, keys, figure);
    if (!inserted)
        return report(tr("Could not insert the move %1:\n%2").arg(move.name, fromStd(inserted.error().message)));
    if (m_moveInserted)
        m_moveInserted();
}

void PoseShelfPanel::addToShelf()
{
    const std::optional<QString> answer = m_questions.askName(this);
    const QString name = answer.value_or(QString()).trimmed();
    if (name.isEmpty())
        return;
    if (m_shelf.findOwn(name) && !m_questions.confirmReplace(this, name))
        return;
    if (const Status added = m_shelf.add(name, m_document.pose()); !added)
        report(tr("Could not add %1 to the shelf:\n%2").arg(name, fromStd(added.error().message)));
    m_poseModel->setShelf(&m_shelf, ShelfKind::Poses);
    selectPose(static_cast<int>(m_shelf.findOwn(name).value_or(0)));
}

void PoseShelfPanel::removePose(int row)
{
    if (row < 0 || row >= static_cast<int>(m_shelf.poses().size()))
        return;
    if (const Status removed = m_shelf.remove(static_cast<std::size_t>(row)); !removed)
        report(tr("Could not remove %1 from the shelf:\n%2")
                   .arg(m_shelf.poses()[static_cast<std::size_t>(row)].name, fromStd(removed.error().message)));
    m_poseModel->setShelf(&m_shelf, ShelfKind::Poses);
    selectPose(std::min(row, static_cast<int>(m_shelf.poses().size()) - 1));
}

void PoseShelfPanel::selectPose(int row)
{
    if (row >= 0)
        m_poseList->setCurrentIndex(m_poseModel->index(row));
    updateButtons();
}

// Only the user's own poses can be removed.
void PoseShelfPanel::updateButtons()
{
    m_problem->clear();
    const QModelIndex pose = m_poseList->currentIndex();
    m_remove->setEnabled(pose.isValid() && !m_shelf.poses()[static_cast<std::size_t>(pose.row())].shipped);
    m_insert->setEnabled(m_moveList->currentIndex().isValid());
}

// The reason is the item's tooltip too; a dialog over the shelf would only
// be in the way of choosing another.
bool PoseShelfPanel::refuseUnreadable(const ShelfItem &item)
{
    m_problem->setText(item.isReadable() ? QString() : tr("%1 cannot be read: %2").arg(item.name, item.problem));
    return !item.isReadable();
}

void PoseShelfPanel::report(const QString &text) const
{
    if (m_presenter)
        m_presenter(text);
}

} // namespace zelbrook
