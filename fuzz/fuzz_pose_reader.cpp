#include "model/pose_control.h"
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
    const Pose *reread = std::get_if<Pose>(&again);
    check(reread && *reread == pose);
}

void checkError(const PoseFileError &error)
{
    check(!error.message.empty());
    check((error.kind == PoseFileError::Kind::WrongFileType) == (error.message == "Wrong file type"));
    check(!error.tag || error.kind == PoseFileError::Kind::WrongFileType);
    check(error.tag != kPoseFileTag);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const Pose current = currentPose();
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto result = readPoseFile(text, current);
    check(!result.valueless_by_exception());
    if (const Pose *pose = std::get_if<Pose>(&result))
        checkPose(*pose, current);
    else
        checkError(std::get<PoseFileError>(result));
    return 0;
}
