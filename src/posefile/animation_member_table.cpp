// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_member_table.h"

#include "model/pose_field.h"

#include <vector>

namespace zelbrook {

namespace {

using Kind = JsonValue::Kind;

std::vector<MemberRow> tableOfMembers()
{
    std::vector<MemberRow> rows = {
        {Place::Root, "format", [](MembersRead &read, std::size_t) { return &read.animation.format; }},
        {Place::Root, "version", [](MembersRead &read, std::size_t) { return &read.animation.version; }},
        {Place::Root, "fps", [](MembersRead &read, std::size_t) { return &read.animation.fps; }},
        {Place::Root, "loop", [](MembersRead &read, std::size_t) { return &read.animation.loop; }},
        {Place::Root, "figures", nullptr, 0, Kind::Array,
         [](MembersRead &read, std::size_t, Kind kind) { read.animation.cast.kind = kind; }, Place::Cast},
        {Place::Root, "keys", nullptr, 0, Kind::Array,
         [](MembersRead &read, std::size_t, Kind kind) {
             read.animation.oneFigureKeys.kind = read.animation.castKeys.kind = kind;
         },
         Place::Keys},
        {Place::CastFigure, "id", [](MembersRead &read, std::size_t) { return &read.castFigure.id; }},
        {Place::CastFigure, "name", [](MembersRead &read, std::size_t) { return &read.castFigure.name; }},
        {Place::CastFigure, "color", [](MembersRead &read, std::size_t) { return &read.castFigure.color; }},
        {Place::Key, "pose", nullptr, 0, Kind::Object,
         [](MembersRead &read, std::size_t, Kind kind) { read.key.figure.pose.kind = kind; }, Place::KeyPose,
         Layout::OneFigure},
        {Place::Key, "penWidth", [](MembersRead &read, std::size_t) { return &read.key.figure.penWidth; }},
        {Place::Key, "hold", [](MembersRead &read, std::size_t) { return &read.key.hold; }},
        {Place::Key, "tweens", [](MembersRead &read, std::size_t) { return &read.key.tweens; }},
        {Place::Key, "ease", [](MembersRead &read, std::size_t) { return &read.key.ease; }},
        {Place::Key, "figures", nullptr, 0, Kind::Array,
         [](MembersRead &read, std::size_t, Kind kind) { read.key.figuresKind = kind; }, Place::KeyFigures,
         Layout::Cast},
        {Place::KeyFigure, "id", [](MembersRead &read, std::size_t) { return &read.keyFigure.id; }},
        {Place::KeyFigure, "pose", nullptr, 0, Kind::Object,
         [](MembersRead &read, std::size_t, Kind kind) { read.keyFigure.pose.kind = kind; }, Place::FigurePose},
        {Place::KeyFigure, "penWidth", [](MembersRead &read, std::size_t) { return &read.keyFigure.penWidth; }},
        {Place::KeyFigure, "pins", nullptr, 0, Kind::Object,
         [](MembersRead &read, std::size_t, Kind kind) { read.keyFigure.pinsKind = kind; }, Place::Pins, std::nullopt,
         3},
        {Place::KeyFigure, "facing", [](MembersRead &read, std::size_t) { return &read.keyFigure.facing; }, 0,
         Kind::Missing, nullptr, Place::Skipped, std::nullopt, 3},
    };
    for (const Limb limb : kLimbs) {
        rows.push_back({Place::Pins, limbName(limb), nullptr, static_cast<std::size_t>(limb), Kind::Array,
                        [](MembersRead &read, std::size_t slot, Kind kind) {
                            read.pin = slot;
                            read.keyFigure.pins[slot].kind = kind;
                        },
                        Place::Pin, std::nullopt, 3});
    }
    // A pose holds every field of the one table of pose fields but the pen,
    // which its figure holds.
    for (const PoseField &field : poseFields()) {
        if (field.id == FieldId::PenWidth)
            continue;
        const auto slot = static_cast<std::size_t>(field.id);
        rows.push_back({Place::KeyPose, field.name,
                        [](MembersRead &read, std::size_t at) { return &read.key.figure.pose.fields[at]; }, slot});
        rows.push_back({Place::FigurePose, field.name,
                        [](MembersRead &read, std::size_t at) { return &read.keyFigure.pose.fields[at]; }, slot});
    }
    return rows;
}

} // namespace

FoundMember findMember(Place where, std::string_view name)
{
    static const std::vector<MemberRow> kRows = tableOfMembers();
    unsigned bit = 0;
    for (const MemberRow &row : kRows) {
        if (row.where != where)
            continue;
        if (row.name == name)
            return {&row, bit};
        ++bit;
    }
    return {};
}

} // namespace zelbrook
