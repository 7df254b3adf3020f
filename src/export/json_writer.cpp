// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/json_writer.h"

#include "posefile/animation_file.h"
#include "posefile/json_text.h"
#include "render/head_outline.h"
#include "render/joints.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace zelbrook {

namespace {

struct NamedJoint {
    std::string_view name;
    Point Joints::*point;
};

// In the order in which the joints are computed.
constexpr NamedJoint kJoints[] = {
    {"neck", &Joints::neck},         {"headCentre", &Joints::headCentre}, {"lKnee", &Joints::lKnee},
    {"lFoot", &Joints::lFoot},       {"rKnee", &Joints::rKnee},           {"rFoot", &Joints::rFoot},
    {"shoulder", &Joints::shoulder}, {"lElbow", &Joints::lElbow},         {"lHand", &Joints::lHand},
    {"rElbow", &Joints::rElbow},     {"rHand", &Joints::rHand},
};

void appendName(std::string &out, std::string_view name)
{
    out += '"';
    out += name;
    out += "\": ";
}

void appendPoint(std::string &out, Point p)
{
    out += '[';
    out += JsonWriter::number(p.x);
    out += ", ";
    out += JsonWriter::number(p.y);
    out += ']';
}

void appendJoints(std::string &out, const Pose &pose, const Joints &joints)
{
    out += "{\n    ";
    appendName(out, "hip");
    appendPoint(out, {pose.hipX, pose.hipY});
    for (const NamedJoint &joint : kJoints) {
        out += ",\n    ";
        appendName(out, joint.name);
        appendPoint(out, joints.*joint.point);
    }
    out += "\n  }";
}

void appendHead(std::string &out, const HeadOutline &head)
{
    out += "[";
    for (const HeadPair &pair : head) {
        out += &pair == &head.front() ? "\n    [" : ",\n    [";
        appendPoint(out, pair.first);
        out += ", ";
        appendPoint(out, pair.opposite);
        out += ']';
    }
    out += "\n  ]";
}

// Every figure's object ends its own line; the scene puts the separators.
std::string withoutLineEnd(std::string text)
{
    text.pop_back();
    return text;
}

} // namespace

std::string JsonWriter::number(double value) { return jsonNumber(value); }

std::string JsonWriter::figure(const Pose &pose, int penWidth)
{
    const Joints joints = ComputeJoints(pose);
    std::string out = "{\n  \"pose\": ";
    out += poseJsonObject(pose, "  ");
    out += ",\n  \"penWidth\": ";
    out += std::to_string(penWidth);
    out += ",\n  \"joints\": ";
    appendJoints(out, pose, joints);
    out += ",\n  \"head\": ";
    appendHead(out, ComputeHeadOutline(pose, joints.headCentre));
    out += "\n}\n";
    return out;
}

std::string JsonWriter::figure(const Figure &figure)
{
    std::string out = JsonWriter::figure(figure.pose, figure.penWidth);
    if (!figure.hasPins() && figure.facing == Facing::Right)
        return out;
    std::string extras;
    if (figure.hasPins())
        extras += ",\n  \"pins\": " + pinsJsonObject(figure);
    if (figure.facing == Facing::Left)
        extras += ",\n  \"facing\": \"left\"";
    const std::size_t afterPen = out.find(",\n  \"joints\"");
    return out.insert(afterPen, extras);
}

std::string JsonWriter::sceneFigure(const SceneFigure &figure)
{
    std::string out = "{\n  ";
    appendName(out, "id");
    out += std::to_string(figure.id) + ",\n  ";
    appendName(out, "name");
    out += jsonString(figure.name) + ",\n  ";
    appendName(out, "color");
    out += '"' + colorText(figure.color) + "\",\n";
    return out + JsonWriter::figure(figure.figure).substr(2);
}

std::string JsonWriter::scene(std::span<const SceneFigure> scene)
{
    std::string out = "{\n  \"figures\": [";
    for (const SceneFigure &figure : scene)
        out += (&figure == &scene.front() ? "\n" : ",\n") + withoutLineEnd(sceneFigure(figure));
    return out + "\n  ]\n}\n";
}

} // namespace zelbrook
