// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sprite_sheet_encoder.h"

#include "export/frame_runs.h"
#include "platform/colour_palette.h"

#include <algorithm>
#include <string>

namespace zelbrook {

namespace {

// How a sheet of this size stores its pixels, for the first frame (straight
// alpha, fully transparent pixels 0) and the colours that may come later.
PngFormat formatFor(QSize sheet, const QImage &first, std::vector<QRgb> later)
{
    using Pixels = PngFormat::Pixels;
    const bool alpha = first.hasAlphaChannel();
    for (QRgb &rgb : later)
        rgb |= 0xFF000000u;
    later.push_back(alpha ? 0u : 0xFFFFFFFFu); // the empty cells
    const PictureColours found = pictureColours(first, later);
    if (found.grey && (!alpha || !found.fits))
        return {sheet, alpha ? Pixels::GreyAlpha : Pixels::Grey};
    if (!found.fits)
        return {sheet, alpha ? Pixels::TruecolourAlpha : Pixels::Truecolour};
    return {sheet, Pixels::Indexed, found.transparentFirst()};
}

// The same pixels seen as RGB32, which has the layout of ARGB32, so that the
// checks every encoder makes apply without a copy.
QImage opaqueView(const QImage &frame)
{
    if (frame.format() != QImage::Format_ARGB32)
        return frame;
    return QImage(frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine(), QImage::Format_RGB32);
}

} // namespace

SpriteSheetEncoder::SpriteSheetEncoder(AnimationTiming timing, ByteSink sink, int columns, ExactColours exact)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_columns(columnsFor(timing.frameCount, columns))
    , m_exact(std::move(exact))
{}

SpriteSheetEncoder::~SpriteSheetEncoder() = default;

std::size_t SpriteSheetEncoder::columnsFor(std::size_t frameCount, int columns)
{
    // More columns than frames would only add empty cells to the one row.
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

Status SpriteSheetEncoder::start(const QImage &first)
{
    if (Status fits = checkSize(first.size(), m_timing.frameCount, static_cast<int>(m_columns)); !fits)
        return fits;
    const bool alpha = first.hasAlphaChannel();
    const auto rows = static_cast<int>((m_timing.frameCount + m_columns - 1) / m_columns);
    const int across = static_cast<int>(m_columns) * first.width();
    m_row = QImage(across, first.height(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (m_row.isNull())
        return Error{"There is not enough memory for the sprite sheet."};
    m_background = alpha ? 0u : 0xFFFFFFFFu;
    m_row.fill(m_background);
    m_size = first.size();
    const PngFormat format = formatFor(QSize(across, rows * first.height()), first, m_exact.colours);
    m_writer = std::make_unique<PngWriter>(format, m_packer, m_sink);
    return m_writer->writeHeader();
}

Status SpriteSheetEncoder::encodeFrame(const QImage &input)
{
    const QImage frame = input.hasAlphaChannel() ? withStraightAlpha(input) : input;
    if (const Result<QImage> checked = checkedFrame(opaqueView(frame), m_size, m_timing); !checked)
        return checked.error();
    if (m_frames >= m_timing.frameCount)
        return Error{"The animation has more frames than it was started with."};
    if (!m_writer)
        if (Status started = start(frame); !started)
            return started;
    const QImage cell = frame.format() == m_row.format() ? frame : frame.convertToFormat(m_row.format());
    const int column = static_cast<int>(m_frames % m_columns);
    copyArea(cell, cell.rect(), m_row, QPoint(column * m_size.width(), 0));
    ++m_frames;
    if (column + 1 < static_cast<int>(m_columns) && m_frames < m_timing.frameCount)
        return {};
    // The cells after the last frame keep the background.
    if (Status written = m_writer->writeRows(m_row, 0, m_row.height()); !written)
        return written;
    m_row.fill(m_background);
    return {};
}

Status SpriteSheetEncoder::complete()
{
    if (Status counted = checkFrameCount(m_frames, m_timing); !counted)
        return counted;
    Status finished = m_writer->finishRows();
    if (finished)
        finished = m_writer->writeEnd();
    m_writer.reset();
    m_row = QImage();
    return finished;
}

} // namespace zelbrook
