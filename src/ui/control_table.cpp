// SPDX-License-Identifier: GPL-3.0-or-later
#include "control_table.h"

#include <array>

namespace zelbrook {

namespace {

using K = ControlKind;
using F = FieldId;

constexpr std::array<ControlRow, 59> kControls{{
    {0, "Picture1", K::Canvas, "", 120, 480, 7455, 6015},
    {1, "BodyangleScroll", K::Slider, "", 7920, 480, 1935, 255, F::BodyAngle},
    {2, "bodyangleDisplay", K::ReadOut, "", 9960, 480, 375, 285, F::BodyAngle},
    {3, "Label1", K::Label, "Body angle and length", 7920, 240, 2055, 255},
    {4, "BodyLengthScroll", K::Slider, "", 7920, 720, 1935, 255, F::BodyLength},
    {5, "bodylengthDisplay", K::ReadOut, "", 9960, 720, 375, 285, F::BodyLength},
    {6, "leglength1Scroll", K::Slider, "", 7920, 1440, 1935, 255, F::LegLength1},
    {7, "llegAngle1Scroll", K::Slider, "", 7920, 2280, 975, 255, F::LLegAngle1},
    {8, "llegAngle2Scroll", K::Slider, "", 8880, 2280, 975, 255, F::LLegAngle2},
    {9, "rlegAngle1Scroll", K::Slider, "", 7920, 2880, 975, 255, F::RLegAngle1},
    {10, "rlegAngle2Scroll", K::Slider, "", 8880, 2880, 975, 255, F::RLegAngle2},
    {11, "leglength2Scroll", K::Slider, "", 7920, 1680, 1935, 255, F::LegLength2},
    {12, "leglength1Display", K::ReadOut, "", 9960, 1440, 375, 285, F::LegLength1},
    {13, "leglength2Display", K::ReadOut, "", 9960, 1680, 375, 285, F::LegLength2},
    {14, "llegangle1Display", K::ReadOut, "", 9960, 2280, 375, 285, F::LLegAngle1},
    {15, "rlegangle1Display", K::ReadOut, "", 9960, 2880, 375, 285, F::RLegAngle1},
    {16, "llegangle2display", K::ReadOut, "", 10320, 2280, 375, 285, F::LLegAngle2},
    {17, "rlegangle2Display", K::ReadOut, "", 10320, 2880, 375, 285, F::RLegAngle2},
    {18, "Label2", K::Label, "Legs length 1 and 2", 7920, 1200, 1935, 255},
    {19, "Label3", K::Label, "Left leg angles", 7920, 2040, 1815, 255},
    {20, "Label4", K::Label, "Right leg angles", 7920, 2640, 1815, 255},
    {21, "headradScroll", K::Slider, "", 7920, 5760, 1935, 255, F::HeadRadius},
    {22, "headradDisplay", K::ReadOut, "", 9960, 5760, 375, 285, F::HeadRadius},
    {23, "Label5", K::Label, "Head radius / brain size", 7920, 5520, 2055, 255},
    {24, "HeadwidthScroll", K::Slider, "", 7920, 6360, 1935, 255, F::HeadWidth},
    {25, "headwidthDisplay", K::ReadOut, "", 9960, 6360, 375, 285, F::HeadWidth},
    {26, "Label6", K::Label, "Head width (ellipsity)", 7920, 6120, 1935, 255},
    {27, "armlength1Scroll", K::Slider, "", 7920, 3600, 1935, 255, F::ArmLength1},
    {28, "armlength2Scroll", K::Slider, "", 7920, 3840, 1935, 255, F::ArmLength2},
    {29, "armlength1Display", K::ReadOut, "", 9960, 3600, 375, 285, F::ArmLength1},
    {30, "armlength2Display", K::ReadOut, "", 9960, 3840, 375, 285, F::ArmLength2},
    {31, "larmAngle1Scroll", K::Slider, "", 7920, 4440, 975, 255, F::LArmAngle1},
    {32, "larmAngle2Scroll", K::Slider, "", 8880, 4440, 975, 255, F::LArmAngle2},
    {33, "rarmAngle1Scroll", K::Slider, "", 7920, 5040, 975, 255, F::RArmAngle1},
    {34, "rarmAngle2Scroll", K::Slider, "", 8880, 5040, 975, 255, F::RArmAngle2},
    {35, "larmAngle1Display", K::ReadOut, "", 9960, 4440, 375, 285, F::LArmAngle1},
    {36, "larmAngle2Display", K::ReadOut, "", 10320, 4440, 375, 285, F::LArmAngle2},
    {37, "rarmAngle1Display", K::ReadOut, "", 9960, 5040, 375, 285, F::RArmAngle1},
    {38, "rarmAngle2Display", K::ReadOut, "", 10320, 5040, 375, 285, F::RArmAngle2},
    {39, "Label7", K::Label, "Arms length 1 and 2", 7920, 3360, 1935, 255},
    {40, "Label8", K::Label, "Left arm angles", 7920, 4200, 1935, 255},
    {41, "Label9", K::Label, "Right arm angles", 7920, 4800, 1935, 255},
    {42, "Command1", K::Button, "Copy to Clipboard", 120, 6720, 1575, 375},
    {43, "Command2", K::Button, "Save as .bmp", 1800, 6720, 1575, 375},
    {44, "ResizeScroll", K::Slider, "", 5280, 7080, 1935, 255, F::Scale},
    {45, "RotateScroll", K::Slider, "", 7920, 7080, 1935, 255, F::Rotation},
    {46, "ResizeDisplay", K::ReadOut, "", 7320, 7080, 375, 285, F::Scale},
    {47, "RotateDisplay", K::ReadOut, "", 9960, 7080, 375, 285, F::Rotation},
    {48, "Label10", K::Label, "Resize", 5280, 6840, 1815, 255},
    {49, "Label11", K::Label, "Rotate", 7920, 6840, 1935, 255},
    {50, "LineWidthScroll", K::Slider, "", 7920, 7560, 1935, 255, F::PenWidth},
    {51, "LinewidthDisplay", K::ReadOut, "", 9960, 7560, 375, 285, F::PenWidth},
    {52, "Label12", K::Label, "Line width", 7080, 7560, 1095, 255},
    {53, "Command3", K::Button, "Save as .zbk", 120, 7320, 1575, 375},
    {54, "Command4", K::Button, "Open .zbk", 1800, 7320, 1575, 375},
    {-1, "Line1", K::Line, "", 7920, 1080, 2400, 0},
    {-1, "Line2", K::Line, "", 7920, 3240, 2400, 0},
    {-1, "Line3", K::Line, "", 7920, 5400, 2400, 0},
    {-1, "Line4", K::Line, "", 5280, 6720, 5040, 0},
}};

} // namespace

std::span<const ControlRow> controlTable() { return kControls; }

std::optional<PanelPlace> panelPlace(const ControlRow &row)
{
    // The column of sliders starts 7920 twips in and moves to the panel's
    // left edge; the bottom row of the window stands under it.
    constexpr int kColumnShift = 7800;
    constexpr struct {
        std::string_view name;
        PanelPlace place;
    } kUnderTheColumn[] = {
        {"Line4", {120, 6720}},           {"Label10", {120, 6840}},
        {"ResizeScroll", {120, 7080}},    {"ResizeDisplay", {2160, 7080}},
        {"Label11", {120, 7440}},         {"RotateScroll", {120, 7680}},
        {"RotateDisplay", {2160, 7680}},  {"Label12", {120, 8040}},
        {"LineWidthScroll", {120, 8280}}, {"LinewidthDisplay", {2160, 8280}},
    };
    if (row.kind == ControlKind::Canvas || row.kind == ControlKind::Button)
        return std::nullopt;
    for (const auto &moved : kUnderTheColumn) {
        if (moved.name == row.name)
            return moved.place;
    }
    return PanelPlace{row.left - kColumnShift, row.top};
}

} // namespace zelbrook
