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

SpriteSheetEncoder::SpriteSheetEncoder(AnimationTiming timing, ByteSink sink, SheetLayout layout, ExactColours exact)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_layout(layout)
    , m_columns(layout.columnsFor(timing.frameCount))
    , m_exact(std::move(exact))
{}

SpriteSheetEncoder::~SpriteSheetEncoder() = default;

Status SpriteSheetEncoder::start(const QImage &first)
{
    if (Status fits = m_layout.checkSize(first.size(), m_timing.frameCount); !fits)
        return fits;
    const bool alpha = first.hasAlphaChannel();
    const QSize sheet = m_layout.sheetSize(m_timing.frameCount, first.size());
    m_row = QImage(sheet.width(), first.height() + 2 * m_layout.extrude,
                   alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (m_row.isNull())
        return Error{"There is not enough memory for the sprite sheet."};
    m_background = alpha ? 0u : 0xFFFFFFFFu;
    m_row.fill(m_background);
    m_size = first.size();
    m_writer = std::make_unique<PngWriter>(formatFor(sheet, first, m_exact.colours), m_packer, m_sink);
    return m_writer->writeHeader();
}

void SpriteSheetEncoder::extrude(QPoint at)
{
    const int e = m_layout.extrude;
    for (int k = 1; k <= e; ++k) {
        copyArea(m_row, QRect(at.x(), at.y(), 1, m_size.height()), m_row, QPoint(at.x() - k, at.y()));
        copyArea(m_row, QRect(at.x() + m_size.width() - 1, at.y(), 1, m_size.height()), m_row,
                 QPoint(at.x() + m_size.width() - 1 + k, at.y()));
    }
    const QRect across(at.x() - e, 0, m_size.width() + 2 * e, 1);
    for (int k = 1; k <= e; ++k) {
        copyArea(m_row, across.translated(0, e), m_row, QPoint(across.x(), e - k));
        copyArea(m_row, across.translated(0, e + m_size.height() - 1), m_row,
                 QPoint(across.x(), e + m_size.height() - 1 + k));
    }
}

// The rows between two rows of cells are the background.
Status SpriteSheetEncoder::writePadding()
{
    m_row.fill(m_background);
    for (int left = m_layout.padding; left > 0; left -= m_row.height())
        if (Status written = m_writer->writeRows(m_row, 0, std::min(left, m_row.height())); !written)
            return written;
    return {};
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
    const QPoint at(m_layout.frameAt(m_frames, m_timing.frameCount, m_size).x(), m_layout.extrude);
    copyArea(cell, cell.rect(), m_row, at);
    extrude(at);
    ++m_frames;
    if (column + 1 < static_cast<int>(m_columns) && m_frames < m_timing.frameCount)
        return {};
    // The cells after the last frame keep the background.
    if (Status written = m_writer->writeRows(m_row, 0, m_row.height()); !written)
        return written;
    if (m_frames < m_timing.frameCount)
        return writePadding();
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
