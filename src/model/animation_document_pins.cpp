// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_document.h"
#include "pinned_posing.h"

// The document's commands on the current figure's pins, reach and facing.

namespace zelbrook {

Status AnimationDocument::pin(Limb end) { return editFigure(pinnedAt(figure(), end), ChangeKind::Edit); }

Status AnimationDocument::unpin(Limb end) { return editFigure(unpinned(figure(), end), ChangeKind::Edit); }

Status AnimationDocument::unpinAll()
{
    Figure freed = figure();
    freed.pins = {};
    return editFigure(freed, ChangeKind::Edit);
}

Status AnimationDocument::reachTo(Limb end, Point at, const void *source, GestureKey gesture)
{
    return editFigure(reachedFigure(figure(), end, at), ChangeKind::Edit, source, gesture);
}

Status AnimationDocument::setFacing(Facing facing)
{
    Figure turned = figure();
    turned.facing = facing;
    return editFigure(turned, ChangeKind::Edit);
}

} // namespace zelbrook
