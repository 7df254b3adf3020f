// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "test_support.h"

#include "render/canvas.h"

#include <string>
#include <vector>

namespace zelbrook {

// A canvas that draws nothing and remembers every call, in order, with the
// pen width it would be drawn with.
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
        int penWidth = 0;
    };

    std::vector<Call> calls;

    void Cls() override { record({Op::Cls, {}, {}, {}, {}}); }
    void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color) override
    {
        record({Op::Line, from, to, color, {}});
    }
    void PSet(CanvasPoint at, std::optional<Color> color) override { record({Op::PSet, at, {}, color, {}}); }
    void setCurrentX(float x) override { record({Op::SetCurrentX, {x, 0}, {}, {}, {}}); }
    void setCurrentY(float y) override { record({Op::SetCurrentY, {0, y}, {}, {}, {}}); }
    void Print(std::string_view text) override { record({Op::Print, {}, {}, {}, std::string(text)}); }
    float Width() const override { return test::kCanvasWidth; }
    float Height() const override { return 380.39526f; }
    int DrawWidth() const override { return m_drawWidth; }
    void setDrawWidth(int pixels) override { m_drawWidth = pixels; }
    bool AutoRedraw() const override { return false; }
    void setAutoRedraw(bool) override {}

    int count(Op op) const
    {
        int n = 0;
        for (const Call &call : calls)
            n += call.op == op;
        return n;
    }

private:
    void record(Call call)
    {
        call.penWidth = m_drawWidth;
        calls.push_back(std::move(call));
    }

    int m_drawWidth = 2;
};

} // namespace zelbrook
