// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_document.h"
#include "pose_mirror.h"
#include "side_swap.h"

#include <algorithm>

// The document's commands on runs of keys.

namespace zelbrook {

namespace {

Status checkRun(const Animation &animation, KeyRun run)
{
    if (run.first > run.last || run.last >= animation.keyCount())
        return Error{"there is no key " + std::to_string(run.last + 1) + " of " + std::to_string(animation.keyCount())};
    return {};
}

} // namespace

Status AnimationDocument::pasteKeys(const Animation &source, FigureMatch match, KeyOrder order)
{
    Result<KeysToPaste> paste = keysToPaste(m_animation, source, match);
    if (!paste)
        return paste.error();
    std::vector<Key> &keys = paste.value().keys;
    if (order == KeyOrder::Reversed)
        std::ranges::reverse(keys);
    const std::size_t last = m_current + keys.size();
    return applyKeyStep(AnimationEdit::insertKeys(m_current + 1, std::move(keys), std::move(paste.value().joining)),
                        last);
}

Status AnimationDocument::insertKeys(std::size_t index, const std::vector<Key> &keys, FigureId figure)
{
    if (keys.empty())
        return Error{"there are no keys to insert"};
    if (index > m_animation.keyCount())
        return Error{"there is no place for keys after key " + std::to_string(m_animation.keyCount())};
    const Status inserted = applyKeyStep(AnimationEdit::insertKeys(index, keys, {}), index + keys.size() - 1);
    if (inserted && m_animation.key(m_current).holds(figure))
        setCurrentFigure(figure);
    return inserted;
}

Status AnimationDocument::cutKeys(KeyRun run)
{
    if (Status valid = checkRun(m_animation, run); !valid)
        return valid;
    if (run.size() == m_animation.keyCount())
        return Error{"an animation keeps at least one key"};
    const std::size_t after = std::min(run.first, m_animation.keyCount() - run.size() - 1);
    return applyKeyStep(AnimationEdit::removeKeys(m_animation, run.first, run.size()), after);
}

Status AnimationDocument::duplicateKeys(KeyRun run)
{
    if (Status valid = checkRun(m_animation, run); !valid)
        return valid;
    const auto first = m_animation.keys().begin() + static_cast<std::ptrdiff_t>(run.first);
    std::vector<Key> copies(first, first + static_cast<std::ptrdiff_t>(run.size()));
    return applyKeyStep(AnimationEdit::insertKeys(run.last + 1, std::move(copies), {}), run.last + run.size());
}

Status AnimationDocument::reverseKeys(KeyRun run)
{
    if (Status valid = checkRun(m_animation, run); !valid)
        return valid;
    return applyKeyStep(AnimationEdit::reverseKeys(run.first, run.last), m_current);
}

Status AnimationDocument::mirrorInKeys(KeyRun run) { return changeInKeys(run, mirrorFigure); }

Status AnimationDocument::swapSidesInKeys(KeyRun run) { return changeInKeys(run, swapSides); }

Status AnimationDocument::changeInKeys(KeyRun run, Figure (*change)(const Figure &))
{
    if (Status valid = checkRun(m_animation, run); !valid)
        return valid;
    std::vector<FigurePlacement> changed;
    for (std::size_t key = run.first; key <= run.last; ++key) {
        if (const KeyFigure *held = m_animation.key(key).find(m_currentFigure))
            changed.push_back({key, change(held->figure)});
    }
    return applyKeyStep(AnimationEdit::changeFigures(m_animation, m_currentFigure, std::move(changed)), m_current);
}

} // namespace zelbrook
