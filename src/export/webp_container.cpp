// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/webp_container.h"

namespace zelbrook {

namespace {

// Little-endian numbers of `bytes` bytes, as the container has them.
void appendNumber(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t numberAt(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// A chunk: its type, its length, its data, and a byte to an even length.
void appendChunk(std::string &out, std::string_view type, std::string_view data)
{
    out.append(type);
    appendNumber(out, static_cast<std::uint32_t>(data.size()), 4);
    out.append(data);
    if (data.size() % 2)
        out.push_back('\0');
}

} // namespace

std::optional<std::string> animatedStill(std::string_view still, QSize size, std::int64_t milliseconds, bool loop,
                                         bool alpha)
{
    if (still.size() < 12 || still.substr(0, 4) != "RIFF" || still.substr(8, 4) != "WEBP")
        return std::nullopt;
    // The picture's chunks, without the still's VP8X and anything else.
    std::string frame;
    appendNumber(frame, 0, 3); // left, halved
    appendNumber(frame, 0, 3); // top, halved
    appendNumber(frame, static_cast<std::uint32_t>(size.width() - 1), 3);
    appendNumber(frame, static_cast<std::uint32_t>(size.height() - 1), 3);
    appendNumber(frame, static_cast<std::uint32_t>(milliseconds), 3);
    frame.push_back(0x02); // not blended, not disposed
    bool picture = false;
    for (std::size_t at = 12; at + 8 <= still.size();) {
        const std::string_view type = still.substr(at, 4);
        const std::size_t length = numberAt(still, at + 4);
        if (length > still.size() - at - 8)
            return std::nullopt;
        if (type == "ANMF")
            return std::string(still); // an animation already
        if (type == "ALPH" || type == "VP8 " || type == "VP8L") {
            appendChunk(frame, type, still.substr(at + 8, length));
            picture = picture || type != "ALPH";
        }
        at += 8 + length + length % 2;
    }
    if (!picture)
        return std::nullopt;
    std::string body = "WEBP";
    std::string header;
    header.push_back(static_cast<char>(0x02 | (alpha ? 0x10 : 0))); // animation, alpha
    appendNumber(header, 0, 3);
    appendNumber(header, static_cast<std::uint32_t>(size.width() - 1), 3);
    appendNumber(header, static_cast<std::uint32_t>(size.height() - 1), 3);
    appendChunk(body, "VP8X", header);
    std::string animation;
    appendNumber(animation, 0xFFFFFFFFu, 4);  // background: white
    appendNumber(animation, loop ? 0 : 1, 2); // plays, 0 for ever
    appendChunk(body, "ANIM", animation);
    appendChunk(body, "ANMF", frame);
    std::string file = "RIFF";
    appendNumber(file, static_cast<std::uint32_t>(body.size()), 4);
    file.append(body);
    return file;
}

} // namespace zelbrook
