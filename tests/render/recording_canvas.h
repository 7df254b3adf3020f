// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "test_support.h"

#include "render/canvas.h"

#include <string>
#include <vector>

namespace zelbrook {

// A canvas that draws nothing and remembers every call, in order.
class RecordingCanvas : public Canvas
{
public:
    enum class Op { Cls, Line, PSet, SetCurrentX, SetCurrentY, Print };
    struct Call {
        Op op;
        CanvasPoint a;
        CanvasPoint b;
        std::optional<Color> color;
        std::string text;
    };

    std::vector<Call> calls;

    void Cls() override { calls.push_back({Op::Cls, {}, {}, {}, {}}); }
    void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color) override
    {
        calls.push_back({Op::Line, from, to, color, {}});
    }
    void PSet(CanvasPoint at, std::optional<Color> color) override { calls.push_back({Op::PSet, at, {}, color, {}}); }
    void setCurrentX(float x) override { calls.push_back({Op::SetCurrentX, {x, 0}, {}, {}, {}}); }
    void setCurrentY(float y) override { calls.push_back({Op::SetCurrentY, {0, y}, {}, {}, {}}); }
    void Print(std::string_view text) override { calls.push_back({Op::Print, {}, {}, {}, std::string(text)}); }
    float Width() const override { return test::kCanvasWidth; }
    float Height() const override { return 380.39526f; }
    int DrawWidth() const override { return 2; }
    void setDrawWidth(int) override {}
    bool AutoRedraw() const override { return false; }
    void setAutoRedraw(bool) override {}

    int count(Op op) const
    {
        int n = 0;
        for (const Call &call : calls)
            n += call.op == op;
        return n;
    }
};

} // namespace zelbrook
