// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_painter.h"

#include "keys_model.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelbrook {

namespace {

const QColor kHoldColor(0xB8, 0xCC, 0xE4);
const QColor kTweensColor(0xE4, 0xEC, 0xF6);
const QColor kPlayheadColor(0xD0, 0x20, 0x20);
constexpr int kLaneMargin = 2;
// The white about a picture, above and below.
constexpr int kPictureMargin = 4;

} // namespace

TimelinePainter::TimelinePainter(QPainter &painter, const TimelineLayout &layout, const QPalette &palette, int scroll)
    : m_painter(painter)
    , m_layout(layout)
    , m_palette(palette)
    , m_scroll(scroll)
{}

QRect TimelinePainter::laneIn(QSize viewport)
{
    const int top = kRulerHeight + kLaneMargin;
    return {0, top, viewport.width(),
            std::max(minimumHeight() - top - kLaneMargin, viewport.height() - top - kLaneMargin)};
}

QSize TimelinePainter::pictureSizeIn(const QRect &lane)
{
    const int height = lane.height() - kPictureMargin - kTimingBand;
    return {static_cast<int>(std::lround(height * 493.0 / 397.0)), height};
}

int TimelinePainter::minimumHeight()
{
    return kRulerHeight + kMinimumPictureHeight + kPictureMargin + kTimingBand + 2 * kLaneMargin;
}

int TimelinePainter::numberRoom() const
{
    return m_painter.fontMetrics().horizontalAdvance(QString::number(m_layout.frameCount())) + 6;
}

// Numbers every 5 or 10 frames where they fit, every 20, 50, 100 and on
// where the frames are narrower.
int TimelinePainter::labelStep() const
{
    static constexpr int kSteps[] = {5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000};
    const int room = numberRoom();
    const auto fits = [&](int step) { return step * m_layout.frameWidth() >= room; };
    const auto *step = std::find_if(std::begin(kSteps), std::end(kSteps), fits);
    return step == std::end(kSteps) ? kSteps[std::size(kSteps) - 1] : *step;
}

void TimelinePainter::paintRuler(const QRect &shown)
{
    m_painter.fillRect(QRect(shown.left(), 0, shown.width(), kRulerHeight), m_palette.window());
    const int step = labelStep();
    // The first frame is numbered too where its number keeps clear of the next.
    const bool numberFirst = (step - 1) * m_layout.frameWidth() >= numberRoom();
    // A number starts right of its tick, so the frames a little left of
    // the part shown may reach into it.
    const int numberWidth = step * m_layout.frameWidth();
    const std::size_t last = m_layout.frameAt(shown.right() + m_scroll);
    m_painter.setPen(m_palette.windowText().color());
    for (std::size_t frame = m_layout.frameAt(shown.left() + m_scroll - numberWidth); frame <= last; ++frame) {
        const std::size_t number = frame + 1;
        if (number % static_cast<std::size_t>(step) == 0 || (frame == 0 && numberFirst)) {
            m_painter.drawLine(x(frame), 2, x(frame), kRulerHeight - 1);
            m_painter.drawText(QRect(x(frame) + 2, 0, numberWidth - 2, kRulerHeight - 2),
                               Qt::AlignLeft | Qt::AlignVCenter, QString::number(number));
        } else if (m_layout.frameWidth() >= 4 || number % 5 == 0) {
            m_painter.drawLine(x(frame), kRulerHeight - 5, x(frame), kRulerHeight - 1);
        }
    }
    m_painter.drawLine(shown.left(), kRulerHeight - 1, shown.right(), kRulerHeight - 1);
}

void TimelinePainter::paintBlocks(const QRect &shown, const QRect &lane, const KeysModel &keys, KeyRun run)
{
    const auto [first, end] = m_layout.keysWithin(shown.left() + m_scroll, shown.right() + 1 + m_scroll);
    QColor shade = m_palette.highlight().color();
    shade.setAlpha(90);
    for (std::size_t key = first; key < end; ++key) {
        paintBlock(key, lane, keys);
        const int left = x(m_layout.firstFrameOf(key));
        const QRect block(left, lane.top(), x(m_layout.firstFrameOf(key + 1)) - left, lane.height());
        if (run.size() > 1 && key >= run.first && key <= run.last)
            m_painter.fillRect(block, shade);
        m_painter.setPen(m_palette.mid().color());
        m_painter.drawRect(block.adjusted(0, 0, -1, -1));
        if (keys.index(static_cast<int>(key)).data(KeysModel::CurrentRole).toBool()) {
            m_painter.setPen(QPen(m_palette.highlight().color(), 2));
            m_painter.drawRect(block.adjusted(1, 1, -1, -1));
        }
    }
}

// The picture sits on white at the start of the block; a block narrower
// than the picture shows its middle, where the figures are.
void TimelinePainter::paintBlock(std::size_t key, const QRect &lane, const KeysModel &keys)
{
    const int left = x(m_layout.firstFrameOf(key));
    const int holdWidth = m_layout.holdOf(key) * m_layout.frameWidth();
    const QRect hold(left, lane.top(), holdWidth, lane.height());
    const QRect tweens(hold.right() + 1, lane.top(), m_layout.tweensOf(key) * m_layout.frameWidth(), lane.height());
    m_painter.fillRect(hold, kHoldColor);
    m_painter.fillRect(tweens, kTweensColor);
    m_painter.fillRect(tweens, QBrush(kHoldColor, Qt::BDiagPattern));
    const QSize size = keys.pictureSize();
    const QSize room(std::min(size.width(), hold.width() + tweens.width() - 4), size.height());
    const QRect box(QPoint(left + 2, lane.top() + 2), room);
    m_painter.save();
    m_painter.setClipRect(hold.united(tweens).adjusted(1, 1, -1, -1));
    m_painter.fillRect(box, Qt::white);
    const QImage picture = keys.index(static_cast<int>(key)).data(Qt::DecorationRole).value<QImage>();
    m_painter.drawImage(box.center() - QPoint(picture.width() / 2, picture.height() / 2), picture);
    m_painter.restore();
}

void TimelinePainter::paintPlayhead(std::size_t frame, int height)
{
    const int middle = x(frame) + m_layout.frameWidth() / 2;
    m_painter.setPen(QPen(kPlayheadColor, 1));
    m_painter.drawLine(middle, 0, middle, height);
    m_painter.fillRect(QRect(x(frame), 0, m_layout.frameWidth(), 4), kPlayheadColor);
}

} // namespace zelbrook
