// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit_history.h"

#include "pose_field.h"

#include <algorithm>

namespace zelbrook {

namespace {

bool changesNothing(const DocumentStep &step)
{
    if (const auto *figure = std::get_if<FigureStep>(&step))
        return sameFigure(figure->before, figure->after);
    const auto *key = std::get_if<KeyStep>(&step);
    return key && key->edit.changesNothing() && key->currentBefore == key->currentAfter
           && key->figureBefore == key->figureAfter;
}

// The change of one figure that a step ends with, which a gesture extends.
template <typename Step>
auto *figureChange(Step &step)
{
    if (auto *split = std::get_if<InBetweenStep>(&step))
        return &split->change;
    return std::get_if<FigureStep>(&step);
}

} // namespace

EditHistory::EditHistory(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1))
{}

bool EditHistory::extendsGesture(const DocumentStep &step, GestureKey gesture) const
{
    const FigureStep *last = openStep(gesture) ? figureChange(m_steps.back()) : nullptr;
    const auto *next = std::get_if<FigureStep>(&step);
    return last && next && last->key == next->key && last->figure == next->figure;
}

const DocumentStep *EditHistory::openStep(GestureKey gesture) const
{
    if (gesture == kNoGesture || gesture != m_openGesture || !canUndo() || canRedo())
        return nullptr;
    return &m_steps.back();
}

void EditHistory::record(const DocumentStep &step, GestureKey gesture)
{
    if (extendsGesture(step, gesture)) {
        FigureStep &last = *figureChange(m_steps.back());
        last.after = std::get<FigureStep>(step).after;
        if (std::holds_alternative<FigureStep>(m_steps.back()) && sameFigure(last.before, last.after))
            withdraw();
        return;
    }
    m_openGesture = kNoGesture;
    if (changesNothing(step))
        return;
    if (m_clean > m_done)
        m_clean.reset();
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    m_steps.push_back(step);
    if (m_steps.size() > m_capacity) {
        m_steps.pop_front();
        m_clean = m_clean > 0 ? std::optional(*m_clean - 1) : std::nullopt;
    }
    m_done = m_steps.size();
    m_openGesture = gesture;
}

void EditHistory::withdraw()
{
    m_openGesture = kNoGesture;
    if (!canUndo())
        return;
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done) - 1, m_steps.end());
    --m_done;
    if (m_clean > m_done)
        m_clean.reset();
}

void EditHistory::endGesture() { m_openGesture = kNoGesture; }

// A gesture open at the clean state would change that state's own step, so
// the next change starts a step of its own.
void EditHistory::markClean()
{
    m_openGesture = kNoGesture;
    m_clean = m_done;
}

const DocumentStep *EditHistory::undo()
{
    m_openGesture = kNoGesture;
    if (!canUndo())
        return nullptr;
    --m_done;
    return &m_steps[m_done];
}

const DocumentStep *EditHistory::redo()
{
    m_openGesture = kNoGesture;
    if (!canRedo())
        return nullptr;
    ++m_done;
    return &m_steps[m_done - 1];
}

} // namespace zelbrook
