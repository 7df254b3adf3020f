// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

struct z_stream_s;

namespace zelbrook {

// One zlib compressor at a fixed level and strategy, used for one stream
// after another: making a compressor costs more than packing a figure's
// picture with it.
class PngDeflater
{
public:
    // Receives a piece of a stream; the bytes are the caller's only during
    // the call.
    using Piece = std::function<Status(std::span<const std::uint8_t> bytes)>;
    static constexpr std::size_t kPieceBytes = 256 * 1024;

    PngDeflater(int level, int strategy);
    ~PngDeflater();
    PngDeflater(PngDeflater &&) noexcept;
    PngDeflater &operator=(PngDeflater &&) noexcept;

    // The whole of `in` as one stream at the start of `out`, which grows to
    // hold the longest stream `in` could give and never shrinks, so that
    // its bytes are not cleared again for every image: the stream's length,
    // or 0 when zlib fails.
    std::size_t deflateAll(std::span<const std::uint8_t> in, std::vector<std::uint8_t> &out);
    // A stream given in parts: each kPieceBytes of it go to `piece` as they
    // fill, and the last part sends the rest and makes the compressor ready
    // for another stream.
    Status deflatePart(std::span<const std::uint8_t> in, bool last, const Piece &piece);
    // Drops a stream given in parts before its last part.
    void discard();

private:
    bool start();

    std::unique_ptr<z_stream_s> m_stream;
    bool m_ready = false;
    bool m_used = false;             // since the last start of a stream
    std::vector<std::uint8_t> m_out; // a piece of a stream given in parts
    std::size_t m_filled = 0;        // bytes of m_out not yet sent
};

} // namespace zelbrook
