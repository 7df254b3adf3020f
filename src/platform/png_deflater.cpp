// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_deflater.h"

#include <zlib.h>

#include <algorithm>

namespace zelbrook {

// The largest memory level lets zlib make its blocks long, which suits the
// long runs of one colour that pictures of figures are made of.
PngDeflater::PngDeflater(int level, int strategy)
    : m_stream(std::make_unique<z_stream_s>())
{
    m_ready = deflateInit2(m_stream.get(), level, Z_DEFLATED, 15, 9, strategy) == Z_OK;
}

PngDeflater::~PngDeflater()
{
    if (m_stream && m_ready)
        deflateEnd(m_stream.get());
}

PngDeflater::PngDeflater(PngDeflater &&) noexcept = default;
PngDeflater &PngDeflater::operator=(PngDeflater &&) noexcept = default;

bool PngDeflater::start()
{
    if (!m_ready || (m_used && deflateReset(m_stream.get()) != Z_OK))
        return false;
    m_used = true;
    return true;
}

std::size_t PngDeflater::deflateAll(std::span<const std::uint8_t> in, std::vector<std::uint8_t> &out)
{
    if (!start())
        return 0;
    z_stream &stream = *m_stream;
    out.resize(std::max<std::size_t>(out.size(), deflateBound(&stream, uLong(in.size()))));
    stream.next_in = const_cast<Bytef *>(in.data());
    stream.avail_in = uInt(in.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        return 0;
    return stream.total_out;
}

void PngDeflater::discard()
{
    m_out = {};
    m_filled = 0;
}

Status PngDeflater::deflatePart(std::span<const std::uint8_t> in, bool last, const Piece &piece)
{
    if (m_out.empty()) {
        if (!start())
            return Error{"There is not enough memory to compress the picture."};
        m_out.resize(kPieceBytes);
    }
    z_stream &stream = *m_stream;
    stream.next_in = const_cast<Bytef *>(in.data());
    stream.avail_in = uInt(in.size());
    for (;;) {
        stream.next_out = m_out.data() + m_filled;
        stream.avail_out = uInt(m_out.size() - m_filled);
        const int result = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR)
            return Error{"The picture could not be compressed."};
        m_filled = m_out.size() - stream.avail_out;
        const bool full = stream.avail_out == 0;
        const bool ended = last && result == Z_STREAM_END;
        if (full || (ended && m_filled > 0)) {
            if (Status sent = piece({m_out.data(), m_filled}); !sent)
                return sent;
            m_filled = 0;
        }
        if (ended) {
            discard();
            return {};
        }
        if (!last && !full && stream.avail_in == 0)
            return {};
    }
}

} // namespace zelbrook
