// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelbrook {

// An animated WebP of one frame: the picture of a still WebP file shown for
// `milliseconds` (at most 24 bits), once or for ever. libwebp's muxer
// writes any one frame that fills the picture as a still, which has no
// time and no loop, so this container is put together by hand. A file
// that is an animation already is given back as it is; nothing when
// `still` is not a WebP file with a picture.
std::optional<std::string> animatedStill(std::string_view still, QSize size, std::int64_t milliseconds, bool loop,
                                         bool alpha);

} // namespace zelbrook
