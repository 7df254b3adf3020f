// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_aids.h"

#include "action_table.h"

#include "canvas_posing.h"
#include "timeline_commands.h"
#include "timeline_strip.h"

#include "platform/raster_canvas.h"

#include <QAction>
#include <QCheckBox>
#include <QWidget>

#include <algorithm>

namespace zelbrook {

QImage sidesApartPicture(std::span<const SceneFigure> scene)
{
    RasterCanvas canvas;
    drawScene(scene, {}, canvas, "", ScreenAids{std::nullopt, Sides::LeftLighter});
    return canvas.Image();
}

CanvasAids::CanvasAids(AnimationDocument &document, TimelineCommands &timeline, CanvasPosing &posing, QWidget *window,
                       Redraw redraw)
    : QObject(window)
    , m_document(document)
    , m_timeline(timeline)
    , m_redraw(std::move(redraw))
{
    QAction *pathKey = makeAction(ActionId::MotionPath, window, window);
    connect(pathKey, &QAction::triggered, this, &CanvasAids::switchPath);
    watchPosing(posing);
    connect(timeline.strip(), &TimelineStrip::screenAidsChanged, this, [this] { m_redraw(); });
    // The current figure's own changes redraw the canvas already; a change
    // of a key's timing or of the playback moves the in-betweens.
    m_document.addAnimationObserver([this](const AnimationChange &change) {
        using What = AnimationChange::What;
        if (showsPath() && (change.what == What::KeyTiming || change.what == What::Playback))
            m_redraw();
    });
    m_document.addKeyFigureObserver([this](std::size_t key) { noteMovedKey(key); });
}

void CanvasAids::watchPosing(CanvasPosing &posing)
{
    connect(&posing, &CanvasPosing::jointPressed, this, &CanvasAids::takeJoint);
}

ScreenAids CanvasAids::aids() const
{
    const bool playing = m_timeline.isPlaying();
    ScreenAids aids{playing ? std::nullopt : std::optional(m_document.currentFigure())};
    aids.pins = !playing;
    if (!m_timeline.isShown())
        return aids;
    aids.sides = m_timeline.strip()->sides() ? Sides::LeftLighter : Sides::Alike;
    if (showsPath())
        aids.path = &path();
    return aids;
}

bool CanvasAids::showsPath() const
{
    return m_timeline.isShown() && !m_timeline.isPlaying() && m_timeline.strip()->pathBox()->isChecked();
}

const MotionPath &CanvasAids::path() const
{
    const FigureId figure = m_document.currentFigure();
    const bool sameJoint = m_revision && m_figure == figure && m_tracedJoint == m_joint;
    if (sameJoint && m_revision == m_document.revision())
        return m_path;
    if (!sameJoint || m_reachable != m_document.revision() || !retraceMovedKeys())
        m_path = traceMotionPath(m_document.animation(), figure, m_joint);
    m_revision = m_reachable = m_document.revision();
    m_movedKeys.clear();
    m_figure = figure;
    m_tracedJoint = m_joint;
    ++m_traced;
    return m_path;
}

bool CanvasAids::retraceMovedKeys() const
{
    return std::ranges::all_of(m_movedKeys, [this](std::size_t key) {
        return retraceAroundKey(m_path, m_document.animation(), m_figure, m_joint, key);
    });
}

// Each change of a key's figures is one step of the revision: a step that
// came some other way leaves the kept path to be traced whole.
void CanvasAids::noteMovedKey(std::size_t key)
{
    const bool known = std::ranges::find(m_movedKeys, key) != m_movedKeys.end();
    if (!m_revision || m_document.revision() != m_reachable + 1 || (!known && m_movedKeys.size() == kMostMovedKeys)) {
        m_revision.reset();
        m_movedKeys.clear();
        return;
    }
    m_reachable = m_document.revision();
    if (!known)
        m_movedKeys.push_back(key);
}

void CanvasAids::takeJoint(Joint joint)
{
    if (joint == m_joint)
        return;
    m_joint = joint;
    if (showsPath())
        m_redraw();
}

// With the timeline hidden the key always brings the path into view, even
// when its switch was left on.
void CanvasAids::switchPath()
{
    QCheckBox *box = m_timeline.strip()->pathBox();
    const bool shown = m_timeline.isShown();
    box->setChecked(!shown || !box->isChecked());
    m_timeline.setShown(true);
}

} // namespace zelbrook
