// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "render/draw_scene.h"

#include <QImage>
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class QAction;
class QWidget;

namespace zelbrook {

class CanvasPosing;
class TimelineCommands;

// The scene drawn with its left arms and legs lighter, as the row of keys
// shows it; never an export.
QImage sidesApartPicture(std::span<const SceneFigure> scene);

// What the canvas shows over its scene besides the onion skin: the marks of
// pinned ends but while playing, and while the timeline is shown, the sides
// told apart and the motion path of one joint
// of the current figure, each switched on the strip; Ctrl+Shift+M switches
// the path and shows the timeline with it. The joint is the one last
// pressed on the canvas, the right hand until then. The path is worked out
// once for each change of the animation and kept, and a change of a key's
// figures works out only the frames about that key; it is not drawn while
// the animation plays. Copies and exports never show any of it.
class CanvasAids : public QObject
{
    Q_OBJECT

public:
    using Redraw = std::function<void()>;

    CanvasAids(AnimationDocument &document, TimelineCommands &timeline, CanvasPosing &posing, QWidget *window,
               Redraw redraw);

    ScreenAids aids() const;
    // A joint grabbed on another canvas is the one the path follows too.
    void watchPosing(CanvasPosing &posing);
    Joint pathJoint() const { return m_joint; }
    // How many times the path has been worked out, whole or about the keys
    // that changed.
    int pathsTraced() const { return m_traced; }

private:
    // More changed keys than this are quicker traced whole.
    static constexpr std::size_t kMostMovedKeys = 8;

    const MotionPath &path() const;
    void noteMovedKey(std::size_t key);
    bool retraceMovedKeys() const;
    bool showsPath() const;
    void takeJoint(Joint joint);
    void switchPath();

    AnimationDocument &m_document;
    TimelineCommands &m_timeline;
    Redraw m_redraw;
    Joint m_joint = Joint::RHand;
    // The path kept, and what it was worked out for.
    mutable MotionPath m_path;
    mutable std::optional<std::uint64_t> m_revision;
    mutable FigureId m_figure = kFirstFigureId;
    mutable Joint m_tracedJoint = Joint::RHand;
    mutable int m_traced = 0;
    // The keys whose figures changed since the path was worked out, and the
    // revision the path reaches once they are worked out again.
    mutable std::vector<std::size_t> m_movedKeys;
    mutable std::uint64_t m_reachable = 0;
};

} // namespace zelbrook
