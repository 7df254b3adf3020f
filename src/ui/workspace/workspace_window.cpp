// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace_window.h"

#include "document_signals.h"
#include "workspace_settings.h"

#include "ui/accessible_names.h"
#include "ui/action_table.h"
#include "ui/control_table.h"
#include "ui/slider_panel.h"
#include "ui/window_controls.h"

#include "model/program_info.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

#include <array>

namespace zelbrook {

namespace {

constexpr int kRefusalMilliseconds = 4000;

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The commands after which a menu draws a line.
bool endsAGroup(ActionId id)
{
    using A = ActionId;
    constexpr std::array kLast{A::ExportAnimation, A::SavePicture, A::Redo,         A::PastePose,
                               A::MoveKeyLater,    A::NextFigure,  A::FigureColour, A::Reach,
                               A::Animate,         A::ZoomOut,     A::MotionPath};
    return std::find(kLast.begin(), kLast.end(), id) != kLast.end();
}

constexpr std::array<std::pair<MenuName, const char *>, 7> kMenus{{
    {MenuName::File, QT_TRANSLATE_NOOP("WorkspaceWindow", "&File")},
    {MenuName::Edit, QT_TRANSLATE_NOOP("WorkspaceWindow", "&Edit")},
    {MenuName::Key, QT_TRANSLATE_NOOP("WorkspaceWindow", "&Key")},
    {MenuName::Figure, QT_TRANSLATE_NOOP("WorkspaceWindow", "F&igure")},
    {MenuName::View, QT_TRANSLATE_NOOP("WorkspaceWindow", "&View")},
    {MenuName::Play, QT_TRANSLATE_NOOP("WorkspaceWindow", "&Play")},
    {MenuName::Help, QT_TRANSLATE_NOOP("WorkspaceWindow", "&Help")},
}};

} // namespace

WorkspaceWindow::WorkspaceWindow(AnimationDocument &document, QWidget *poser, Parts parts)
    : m_document(document)
    , m_poser(poser)
    , m_parts(std::move(parts))
    , m_frame(new QLabel(this))
{
    setObjectName(QStringLiteral("Workspace"));
    setWindowTitle(poser->windowTitle());
    setFont(poser->font());
    setDockOptions(AnimatedDocks | AllowTabbedDocks | AllowNestedDocks);
    setCentralWidget(m_parts.stage);
    addPanel(Panel::Sliders, tr("Pose"), slidersPanel(), Qt::RightDockWidgetArea);
    addPanel(Panel::Timeline, tr("Timeline"), m_parts.timeline, Qt::BottomDockWidgetArea);
    addPanel(Panel::Figures, tr("Figures"), m_parts.figures, Qt::RightDockWidgetArea);
    QDockWidget *poses = addPanel(Panel::Poses, tr("Poses"), nullptr, Qt::LeftDockWidgetArea);
    poses->hide();
    connect(poses, &QDockWidget::visibilityChanged, this, [this, poses](bool visible) {
        if (visible && !poses->widget())
            poses->setWidget(m_parts.poses());
    });
    addStageCommands();
    buildMenus();
    addTools();
    statusBar()->addPermanentWidget(m_frame);
    m_frame->setObjectName(QStringLiteral("frameStatus"));
    connect(poser, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    auto *changes = new DocumentSignals(m_document, this);
    connect(changes, &DocumentSignals::figureChanged, this, [this] { showFrame(m_shownFrame); });
    connect(changes, &DocumentSignals::animationChanged, this, [this] { showFrame(m_document.shownFrame()); });
    showFrame(0);
}

WorkspaceWindow::~WorkspaceWindow() = default;

QDockWidget *WorkspaceWindow::addPanel(Panel panel, const QString &title, QWidget *content, Qt::DockWidgetArea area)
{
    static constexpr std::array kNames{"slidersPanel", "timelinePanel", "figuresPanel", "posesPanel"};
    auto *dock = new QDockWidget(title, this);
    dock->setObjectName(QString::fromLatin1(kNames[static_cast<std::size_t>(panel)]));
    if (content)
        dock->setWidget(content);
    addDockWidget(area, dock);
    return dock;
}

QDockWidget *WorkspaceWindow::dock(Panel panel) const
{
    static constexpr std::array kNames{"slidersPanel", "timelinePanel", "figuresPanel", "posesPanel"};
    return findChild<QDockWidget *>(QString::fromLatin1(kNames[static_cast<std::size_t>(panel)]));
}

// The poser's sliders and read-outs as they stand in its window, bound to
// the same document, in a panel that scrolls when the window is short.
QWidget *WorkspaceWindow::slidersPanel()
{
    auto *panel = new QWidget;
    panel->setFont(font());
    m_controls = std::make_unique<WindowControls>(panel, WindowControls::Face::SliderPanel);
    panel->setFixedSize(kPanelWidth / kTwipsPerPixel, kPanelHeight / kTwipsPerPixel);
    m_sliders = new SliderPanel(m_document, *m_controls, panel);
    (void)m_sliders->syncControls();
    applyAccessibleNames(*m_controls);
    auto *scroller = new QScrollArea;
    scroller->setWidget(panel);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setMinimumWidth(panel->width() + scroller->verticalScrollBar()->sizeHint().width());
    return scroller;
}

QAction *WorkspaceWindow::command(ActionId id) const
{
    const QString name = toQString(actionRow(id).name);
    QAction *own = findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
    return own ? own : m_poser->findChild<QAction *>(name);
}

// The stage's own commands: the zoom, and what only the screen shows.
void WorkspaceWindow::addStageCommands()
{
    const struct {
        ActionId id;
        const char *slot;
    } zooms[] = {{ActionId::Fit, "fit"},
                 {ActionId::ActualSize, "actualSize"},
                 {ActionId::ZoomIn, "zoomIn"},
                 {ActionId::ZoomOut, "zoomOut"}};
    for (const auto &zoom : zooms) {
        QAction *action = makeAction(zoom.id, this, this);
        connect(action, &QAction::triggered, m_parts.stage,
                [stage = m_parts.stage, slot = zoom.slot] { QMetaObject::invokeMethod(stage, slot); });
    }
    QAction *onion = makeAction(ActionId::OnionSkin, this, this);
    m_parts.stage->addAction(onion);
    QAction *sides = makeAction(ActionId::Sides, this, this);
    for (const auto &[action, box] : {std::pair{onion, "onionSkin"}, std::pair{sides, "Sides"}}) {
        auto *check = m_parts.timeline->findChild<QAbstractButton *>(QString::fromLatin1(box));
        action->setCheckable(true);
        if (!check)
            continue;
        action->setChecked(check->isChecked());
        connect(action, &QAction::toggled, check, &QAbstractButton::setChecked);
        connect(check, &QAbstractButton::toggled, action, &QAction::setChecked);
    }
    connect(makeAction(ActionId::About, this, this), &QAction::triggered, this,
            [this] { QMessageBox::about(this, tr("About Zelbrook"), toQString(kProgramCaption)); });
}

// The switches an animator flicks while posing, a click away.
void WorkspaceWindow::addTools()
{
    QToolBar *tools = addToolBar(tr("Tools"));
    tools->setObjectName(QStringLiteral("toolsBar"));
    for (const ActionId id : {ActionId::Reach, ActionId::OnionSkin, ActionId::Sides}) {
        if (QAction *action = command(id))
            tools->addAction(action);
    }
}

// Every command of the table in the menu it names, in the table's order.
void WorkspaceWindow::buildMenus()
{
    for (const auto &[name, title] : kMenus) {
        QMenu *menu = menuBar()->addMenu(tr(title));
        for (const ActionRow &row : actionTable()) {
            QAction *action = row.menu == name ? command(row.id) : nullptr;
            if (!action)
                continue;
            menu->addAction(action);
            if (row.id == ActionId::OpenAnimation && m_parts.recent) {
                m_parts.recent->setParent(this, m_parts.recent->windowFlags());
                menu->addMenu(m_parts.recent);
            }
            if (endsAGroup(row.id))
                menu->addSeparator();
        }
        if (name == MenuName::View) {
            menu->addSeparator();
            for (QDockWidget *panel : findChildren<QDockWidget *>())
                menu->addAction(panel->toggleViewAction());
        }
    }
}

void WorkspaceWindow::showStageMenu(QPoint globalPos, std::optional<ScenePick> pick)
{
    if (pick)
        m_document.setCurrentFigure(pick->figure);
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const MenuName wanted = pick ? MenuName::Figure : MenuName::Key;
    for (const ActionRow &row : actionTable()) {
        if (row.menu != wanted)
            continue;
        if (QAction *action = command(row.id)) {
            menu->addAction(action);
            if (endsAGroup(row.id))
                menu->addSeparator();
        }
    }
    menu->popup(globalPos);
}

void WorkspaceWindow::showPoses()
{
    QDockWidget *poses = dock(Panel::Poses);
    poses->show();
    poses->raise();
    if (poses->widget())
        poses->widget()->setFocus();
}

void WorkspaceWindow::showFrame(std::size_t frame)
{
    const Animation &animation = m_document.animation();
    m_shownFrame = frame;
    const CastFigure *figure = animation.castFigure(m_document.currentFigure());
    m_frame->setText(tr("frame %1 of %2 · key %3 of %4 · %5")
                         .arg(frame + 1)
                         .arg(animation.frameCount())
                         .arg(m_document.currentKey() + 1)
                         .arg(animation.keyCount())
                         .arg(figure ? QString::fromStdString(figure->name) : QString()));
}

void WorkspaceWindow::showRefusal(const QString &why) { statusBar()->showMessage(why, kRefusalMilliseconds); }

void WorkspaceWindow::open()
{
    if (!m_restored) {
        const QScreen *screen = m_poser->screen() ? m_poser->screen() : QGuiApplication::primaryScreen();
        WorkspaceSettings::restore(*this, screen->availableGeometry());
        m_restored = true;
    }
    show();
    raise();
    activateWindow();
}

void WorkspaceWindow::closeEvent(QCloseEvent *event)
{
    if (m_poser->close())
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}

void WorkspaceWindow::hideEvent(QHideEvent *event)
{
    if (m_restored)
        WorkspaceSettings::save(*this);
    QMainWindow::hideEvent(event);
}

} // namespace zelbrook
