// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zelbrook;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Whatever the reader takes is a valid animation that writes and reads back
// to the very same values.
void checkAnimation(const Animation &animation, const Pose &start)
{
    check(animation.check().ok());
    const auto again = readAnimationFile(writeAnimationFile(animation), start);
    check(again.ok() && again->keys() == animation.keys() && again->playback() == animation.playback());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const Pose start = Pose::defaults(455.58334f);
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto result = readAnimationFile(text, start);
    if (result.ok())
        checkAnimation(result.value(), start);
    else
        check(!result.error().message.empty());
    return 0;
}
