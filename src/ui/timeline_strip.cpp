// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_strip.h"

#include "action_table.h"
#include "refusals.h"

#include "timeline_cells.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

namespace zelbrook {

namespace {

// A box for whole numbers that reports only finished values: Enter, leaving
// it, or a step of its arrows.
QSpinBox *numberBox(SliderRange range, const QString &name, QWidget *parent, QObject *historyKeys)
{
    auto *box = new QSpinBox(parent);
    box->setRange(range.minimum, range.maximum);
    box->setKeyboardTracking(false);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString::number(range.maximum)) + 28);
    box->setAccessibleName(name);
    box->findChild<QLineEdit *>()->setAccessibleName(name);
    // The box hands the line edit its keys directly, so both are watched.
    box->installEventFilter(historyKeys);
    box->findChild<QLineEdit *>()->installEventFilter(historyKeys);
    return box;
}

bool isHistoryKey(const QKeyEvent &key)
{
    const QKeyCombination pressed = key.keyCombination();
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo)
           || pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z)
           || pressed == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

// Whether the box shows text that is not yet its value.
bool holdsTyping(const QSpinBox &box)
{
    QString shown = box.locale().toString(box.value());
    shown.remove(box.locale().groupSeparator());
    return box.cleanText() != shown;
}

QLabel *labelFor(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

} // namespace

TimelineStrip::TimelineStrip(AnimationDocument &document, std::span<QAction *const> buttons, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_cells(new TimelineCells(document))
    , m_scroller(new QScrollArea(this))
{
    setObjectName(QStringLiteral("Timeline"));
    m_scroller->setWidget(m_cells);
    m_scroller->setFocusPolicy(Qt::NoFocus);
    m_scroller->setFixedHeight(m_cells->sizeHint().height() + m_scroller->horizontalScrollBar()->sizeHint().height()
                               + 2 * m_scroller->frameWidth());
    m_scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(3);
    m_keysRow = new QHBoxLayout;
    m_keysRow->setSpacing(4);
    m_keysRow->addWidget(m_scroller);
    layout->addLayout(m_keysRow);
    layout->addWidget(timingRow());
    layout->addWidget(buttonRow(buttons));
    m_fileRow = new QWidget(this);
    auto *fileLayout = new QHBoxLayout(m_fileRow);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_fileRow);
    addScreenSwitches(fileLayout);
    m_document.addAnimationObserver([this](const AnimationChange &) { follow(); });
    follow();
}

QWidget *TimelineStrip::timingRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_hold = numberBox(Key::kHoldRange, tr("Hold"), row, this);
    m_tweens = numberBox(Key::kTweensRange, tr("In-betweens"), row, this);
    m_ease = new QComboBox(row);
    m_ease->addItems({tr("Linear"), tr("Smooth")});
    m_ease->setAccessibleName(tr("Ease"));
    m_fps = numberBox(Playback::kFpsRange, tr("Frames per second"), row, this);
    m_loop = new QCheckBox(tr("Loop"), row);
    m_onionSkin = new QCheckBox(tr("Onion skin"), row);
    m_onionSkin->setObjectName(QStringLiteral("onionSkin"));
    m_onionSkin->setChecked(true);
    m_counter = new QLabel(row);
    for (QWidget *widget : std::initializer_list<QWidget *>{m_hold, m_tweens, m_ease}) {
        layout->addWidget(labelFor(widget->accessibleName(), widget));
        layout->addWidget(widget);
    }
    layout->addSpacing(12);
    layout->addWidget(labelFor(m_fps->accessibleName(), m_fps));
    layout->addWidget(m_fps);
    layout->addStretch();
    layout->addWidget(m_counter);
    const auto timing = [this] { takeTiming(); };
    connect(m_hold, &QSpinBox::valueChanged, this, timing);
    connect(m_tweens, &QSpinBox::valueChanged, this, timing);
    connect(m_ease, &QComboBox::currentIndexChanged, this, timing);
    connect(m_fps, &QSpinBox::valueChanged, this, [this] { takePlayback(); });
    connect(m_loop, &QCheckBox::toggled, this, [this] { takePlayback(); });
    connect(m_onionSkin, &QCheckBox::toggled, this, &TimelineStrip::onionSkinChanged);
    return row;
}

QWidget *TimelineStrip::buttonRow(std::span<QAction *const> buttons)
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget *previous = addButtons(row, buttons, m_fps);
    // Tab goes from the buttons to the two switches, as they are placed.
    setTabOrder(previous, m_loop);
    setTabOrder(m_loop, m_onionSkin);
    layout->addSpacing(12);
    layout->addWidget(m_loop);
    layout->addWidget(m_onionSkin);
    layout->addStretch();
    return row;
}

// The switches for what only the screen shows, at the right of the file
// buttons.
void TimelineStrip::addScreenSwitches(QHBoxLayout *row)
{
    m_sides = new QCheckBox(tr("Sides"), m_fileRow);
    m_sides->setObjectName(QStringLiteral("Sides"));
    m_sides->setToolTip(tr("Left arm and leg lighter, on the screen only"));
    m_path = new QCheckBox(tr("Path"), m_fileRow);
    m_path->setObjectName(QStringLiteral("Path"));
    m_path->setToolTip(tr("Path of the joint last pressed, on the screen only (%1)")
                           .arg(actionKeys(ActionId::MotionPath).front().toString(QKeySequence::NativeText)));
    row->addStretch();
    row->addWidget(m_sides);
    row->addWidget(m_path);
    connect(m_sides, &QCheckBox::toggled, m_cells, &TimelineCells::setSides);
    connect(m_sides, &QCheckBox::toggled, this, &TimelineStrip::screenAidsChanged);
    connect(m_path, &QCheckBox::toggled, this, &TimelineStrip::screenAidsChanged);
}

QWidget *TimelineStrip::addButtons(QWidget *row, std::span<QAction *const> buttons, QWidget *previous, int at)
{
    for (QAction *action : buttons) {
        auto *button = new QToolButton(row);
        button->setDefaultAction(action);
        button->setFocusPolicy(Qt::StrongFocus);
        static_cast<QBoxLayout *>(row->layout())->insertWidget(at < 0 ? -1 : at++, button);
        setTabOrder(previous, button);
        previous = button;
    }
    return previous;
}

void TimelineStrip::hideKeysRow() { m_scroller->hide(); }

void TimelineStrip::addBesideKeys(QWidget *panel)
{
    panel->setFixedHeight(m_scroller->height());
    m_keysRow->addWidget(panel);
    QWidget *previous = m_cells;
    for (QWidget *child : panel->findChildren<QWidget *>()) {
        if (child->focusPolicy() & Qt::TabFocus) {
            setTabOrder(previous, child);
            previous = child;
        }
    }
    setTabOrder(previous, m_hold);
}

void TimelineStrip::setFileButtons(std::span<QAction *const> buttons)
{
    QWidget *last = addButtons(m_fileRow, buttons, m_onionSkin, 0);
    setTabOrder(last, m_sides);
    setTabOrder(m_sides, m_path);
}

void TimelineStrip::addButton(QAction *action)
{
    auto *layout = static_cast<QHBoxLayout *>(m_fileRow->layout());
    const QList<QToolButton *> before = m_fileRow->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly);
    auto *button = new QToolButton(m_fileRow);
    button->setDefaultAction(action);
    button->setFocusPolicy(Qt::StrongFocus);
    layout->insertWidget(static_cast<int>(before.size()), button);
    setTabOrder(before.isEmpty() ? static_cast<QWidget *>(m_onionSkin) : before.back(), button);
}

// A history key in a number box undoes the document's last step unless the
// box holds typing of its own, which the key then undoes as in any text box.
bool TimelineStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto *box = qobject_cast<QSpinBox *>(watched);
    if (!box)
        box = qobject_cast<QSpinBox *>(watched->parent());
    if (!box || !isHistoryKey(*static_cast<QKeyEvent *>(event)) || holdsTyping(*box))
        return false;
    event->ignore();
    return true;
}

bool TimelineStrip::onionSkin() const { return m_onionSkin->isChecked(); }

bool TimelineStrip::sides() const { return m_sides->isChecked(); }

void TimelineStrip::follow()
{
    const Animation &animation = m_document.animation();
    const Key &key = animation.key(m_document.currentKey());
    m_following = true;
    m_hold->setValue(key.hold);
    m_tweens->setValue(key.tweens);
    m_ease->setCurrentIndex(key.ease == Ease::Smooth ? 1 : 0);
    m_fps->setValue(animation.playback().fps);
    m_loop->setChecked(animation.playback().loop);
    m_following = false;
    showCurrentFrame();
    const QRect cell = m_cells->cellRect(m_document.currentKey());
    m_scroller->ensureVisible(cell.center().x(), cell.center().y(), cell.width(), 0);
}

void TimelineStrip::showFrame(std::size_t frame, std::size_t frames, std::size_t key)
{
    m_counter->setText(tr("frame %1 of %2, key %3 of %4")
                           .arg(frame + 1)
                           .arg(frames)
                           .arg(key + 1)
                           .arg(m_document.animation().keyCount()));
}

void TimelineStrip::showCurrentFrame()
{
    const Animation &animation = m_document.animation();
    const std::size_t key = m_document.currentKey();
    showFrame(m_document.shownFrame(), animation.frameCount(), key);
}

void TimelineStrip::takeTiming()
{
    if (m_following)
        return;
    const Ease ease = m_ease->currentIndex() == 1 ? Ease::Smooth : Ease::Linear;
    if (const Status timed = m_document.setKeyTiming(m_hold->value(), m_tweens->value(), ease); !timed) {
        Refusals::refuse(QString::fromStdString(timed.error().message));
        follow();
    }
}

void TimelineStrip::takePlayback()
{
    if (m_following)
        return;
    if (const Status set = m_document.setPlayback({m_fps->value(), m_loop->isChecked()}); !set) {
        Refusals::refuse(QString::fromStdString(set.error().message));
        follow();
    }
}

} // namespace zelbrook
