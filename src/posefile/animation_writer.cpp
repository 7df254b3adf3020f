// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_file.h"

#include "json_text.h"
#include "model/pose_field.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace zelbrook {

namespace {

std::string_view easeName(Ease ease) { return ease == Ease::Smooth ? "smooth" : "linear"; }

void appendMember(std::string &out, std::string_view indent, std::string_view name, std::string_view value,
                  bool last = false)
{
    out += indent;
    out += '"';
    out += name;
    out += "\": ";
    out += value;
    out += last ? "\n" : ",\n";
}

// A version 2 or 3 key's figures, in drawing order; version 3 adds the
// pinned ends and a facing other than right.
std::string keyFiguresJson(const Key &key)
{
    std::string out = "[\n";
    for (const KeyFigure &figure : key.figures) {
        const bool pins = figure.figure.hasPins();
        const bool left = figure.figure.facing == Facing::Left;
        out += "        {\n";
        appendMember(out, "          ", "id", std::to_string(figure.id));
        appendMember(out, "          ", "pose", poseJsonObject(figure.figure.pose, "          "));
        appendMember(out, "          ", "penWidth", std::to_string(figure.figure.penWidth), !pins && !left);
        if (pins)
            appendMember(out, "          ", "pins", pinsJsonObject(figure.figure), !left);
        if (left)
            appendMember(out, "          ", "facing", "\"left\"", true);
        out += &figure == &key.figures.back() ? "        }\n" : "        },\n";
    }
    return out + "      ]";
}

void appendKey(std::string &out, const Key &key, int version, bool last)
{
    out += "    {\n";
    if (version == 1) {
        appendMember(out, "      ", "pose", poseJsonObject(key.figures.front().figure.pose, "      "));
        appendMember(out, "      ", "penWidth", std::to_string(key.figures.front().figure.penWidth));
    } else {
        appendMember(out, "      ", "figures", keyFiguresJson(key));
    }
    appendMember(out, "      ", "hold", std::to_string(key.hold));
    appendMember(out, "      ", "tweens", std::to_string(key.tweens));
    appendMember(out, "      ", "ease", '"' + std::string(easeName(key.ease)) + '"', true);
    out += last ? "    }\n" : "    },\n";
}

void appendCast(std::string &out, const std::vector<CastFigure> &cast)
{
    out += "  \"figures\": [\n";
    for (const CastFigure &figure : cast) {
        out += "    {\"id\": " + std::to_string(figure.id) + ", \"name\": " + jsonString(figure.name)
               + ", \"color\": \"" + colorText(figure.color) + (&figure == &cast.back() ? "\"}\n" : "\"},\n");
    }
    out += "  ],\n";
}

bool isOneFigure(const std::vector<CastFigure> &cast)
{
    return cast.size() == 1 && cast.front().id == kFirstFigureId
           && cast.front().name == defaultFigureName(kFirstFigureId) && cast.front().color == kBlack;
}

bool pinsOrFacing(const Animation &animation)
{
    return std::ranges::any_of(animation.keys(), [](const Key &key) {
        return std::ranges::any_of(key.figures, [](const KeyFigure &figure) {
            return figure.figure.hasPins() || figure.figure.facing != Facing::Right;
        });
    });
}

int fileVersion(const Animation &animation)
{
    if (pinsOrFacing(animation))
        return 3;
    return isOneFigure(animation.cast()) ? 1 : 2;
}

} // namespace

std::string jsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    // JSON readers take -0 for the whole number 0, so -0 is written as what
    // reads back: a file saved again is then the same.
    if (value == 0)
        return "0";
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string pinsJsonObject(const Figure &figure)
{
    std::string out = "{";
    for (const Limb limb : kLimbs) {
        const std::optional<Point> &pin = figure.pin(limb);
        if (!pin)
            continue;
        out += out.size() > 1 ? ", \"" : "\"";
        out += limbName(limb);
        out += "\": [" + jsonNumber(pin->x) + ", " + jsonNumber(pin->y) + "]";
    }
    return out + "}";
}

std::string poseJsonObject(const Pose &pose, std::string_view indent)
{
    const Figure figure{pose};
    std::string out = "{";
    for (const PoseField &field : poseFields()) {
        if (field.id == FieldId::PenWidth)
            continue;
        out += field.id == FieldId::HipX ? "\n" : ",\n";
        out += indent;
        out += "  \"";
        out += field.name;
        out += "\": ";
        out += jsonNumber(field.value(figure));
    }
    out += '\n';
    out += indent;
    out += '}';
    return out;
}

std::string writeAnimationFile(const Animation &animation)
{
    std::string out = "{\n";
    appendMember(out, "  ", "format", '"' + std::string(kAnimationFormat) + '"');
    const int version = fileVersion(animation);
    appendMember(out, "  ", "version", std::to_string(version));
    appendMember(out, "  ", "fps", std::to_string(animation.playback().fps));
    appendMember(out, "  ", "loop", animation.playback().loop ? "true" : "false");
    if (version != 1)
        appendCast(out, animation.cast());
    out += "  \"keys\": [\n";
    for (std::size_t i = 0; i < animation.keyCount(); ++i)
        appendKey(out, animation.key(i), version, i + 1 == animation.keyCount());
    out += "  ]\n}\n";
    return out;
}

} // namespace zelbrook
