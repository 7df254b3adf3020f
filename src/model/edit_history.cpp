#include "edit_history.h"

#include "pose_document.h"

#include <algorithm>

namespace zelbrook {

namespace {

bool sameFigure(const Figure &a, const Figure &b) { return fieldsThatDiffer(a, b).none(); }

} // namespace

EditHistory::EditHistory(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1))
{}

void EditHistory::record(const Figure &before, const Figure &after, GestureKey gesture)
{
    const bool continues = gesture != kNoGesture && gesture == m_openGesture && canUndo() && !canRedo();
    if (continues) {
        m_steps.back().after = after;
        if (sameFigure(m_steps.back().before, after)) {
            m_steps.pop_back();
            --m_done;
            m_openGesture = kNoGesture;
        }
        return;
    }
    m_openGesture = kNoGesture;
    if (sameFigure(before, after))
        return;
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    m_steps.push_back({before, after});
    if (m_steps.size() > m_capacity)
        m_steps.pop_front();
    m_done = m_steps.size();
    m_openGesture = gesture;
}

void EditHistory::endGesture() { m_openGesture = kNoGesture; }

std::optional<Figure> EditHistory::undo()
{
    m_openGesture = kNoGesture;
    if (!canUndo())
        return std::nullopt;
    --m_done;
    return m_steps[m_done].before;
}

std::optional<Figure> EditHistory::redo()
{
    m_openGesture = kNoGesture;
    if (!canRedo())
        return std::nullopt;
    ++m_done;
    return m_steps[m_done - 1].after;
}

} // namespace zelbrook
