// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"

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

// The pose a file is read over; hipX, hipY, scale and rotation must come
// through every read unchanged.
Pose currentPose()
{
    Pose pose = Pose::defaults(455.58334f);
    pose.scale = 2.5;
    pose.rotation = -1;
    return pose;
}

void checkPose(const Pose &pose, const Pose &current)
{
    check(!firstFieldOutOfRange(pose));
    check(pose.hipX == current.hipX && pose.hipY == current.hipY && pose.scale == current.scale
          && pose.rotation == current.rotation);
    const auto again = readPoseFile(writePoseFile(pose), current);
    check(again.ok() && again.value() == pose);
}

// A wrong tag is said in exactly those words, and only for a wrong tag.
void checkError(std::string_view text, const Error &error)
{
    check(!error.message.empty());
    check(hasWrongFileType(text) == (error.message == kWrongFileType));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const Pose current = currentPose();
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto result = readPoseFile(text, current);
    if (result.ok())
        checkPose(result.value(), current);
    else
        checkError(text, result.error());
    return 0;
}
