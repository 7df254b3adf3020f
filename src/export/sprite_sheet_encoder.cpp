// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sprite_sheet_encoder.h"

#include "platform/png_encoder.h"

#include <algorithm>
#include <string>

namespace zelbrook {

SpriteSheetEncoder::SpriteSheetEncoder(AnimationTiming timing, ByteSink sink, int columns)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_columns(columnsFor(timing.frameCount, columns))
{}

std::size_t SpriteSheetEncoder::columnsFor(std::size_t frameCount, int columns)
{
    // More columns than frames would only add white cells to the one row.
    if (columns > 0)
        return std::min(static_cast<std::size_t>(columns), std::max<std::size_t>(frameCount, 1));
    std::size_t side = 1;
    while (side * side < frameCount)
        ++side;
    return side;
}

Status SpriteSheetEncoder::checkSize(QSize frame, std::size_t frameCount, int columns)
{
    if (Status some = checkHasFrames(frameCount); !some)
        return some;
    const std::size_t across = columnsFor(frameCount, columns);
    const std::size_t down = (frameCount + across - 1) / across;
    const auto width = static_cast<unsigned long long>(across) * static_cast<unsigned long long>(frame.width());
    const auto height = static_cast<unsigned long long>(down) * static_cast<unsigned long long>(frame.height());
    if (width > kMaximumSide || height > kMaximumSide)
        return Error{"The sprite sheet would be " + std::to_string(width) + " by " + std::to_string(height)
                     + " pixels, more than 16384 on a side."};
    return {};
}

Status SpriteSheetEncoder::encodeFrame(const QImage &input)
{
    const Result<QImage> frame = checkedFrame(input, m_size, m_timing);
    if (!frame)
        return frame.error();
    if (m_frames >= m_timing.frameCount)
        return Error{"The animation has more frames than it was started with."};
    if (m_sheet.isNull()) {
        if (Status fits = checkSize(frame->size(), m_timing.frameCount, static_cast<int>(m_columns)); !fits)
            return fits;
        const auto rows = static_cast<int>((m_timing.frameCount + m_columns - 1) / m_columns);
        m_sheet = QImage(static_cast<int>(m_columns) * frame->width(), rows * frame->height(), QImage::Format_RGB32);
        if (m_sheet.isNull())
            return Error{"There is not enough memory for the sprite sheet."};
        m_sheet.fill(Qt::white);
        m_size = frame->size();
    }
    const QPoint cell(static_cast<int>(m_frames % m_columns) * m_size.width(),
                      static_cast<int>(m_frames / m_columns) * m_size.height());
    copyArea(*frame, frame->rect(), m_sheet, cell);
    ++m_frames;
    return {};
}

Status SpriteSheetEncoder::complete()
{
    if (Status counted = checkFrameCount(m_frames, m_timing); !counted)
        return counted;
    const QByteArray png = PngEncoder::encode(m_sheet);
    if (png.isEmpty())
        return Error{"The sprite sheet could not be converted to PNG."};
    m_sheet = QImage();
    return m_sink(std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

} // namespace zelbrook
