// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_item_scanner.h"

namespace zelbrook {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool endsItem(char c) { return c == ',' || isLineEnd(c); }

} // namespace

PoseItemScanner::PoseItemScanner(std::string_view text)
    : m_text(text)
{}

std::optional<std::string_view> PoseItemScanner::next()
{
    // Every item but the first stops at a separator or at the end of the
    // text; a comma is taken here, line ends just below.
    if (m_started) {
        skipBlanks();
        if (!atEnd() && m_text[m_position] == ',')
            ++m_position;
    }
    m_started = true;
    skipBlanksAndLineEnds();
    if (atEnd())
        return std::nullopt;

    const std::size_t start = m_position;
    while (!atEnd() && !endsItem(m_text[m_position]))
        ++m_position;
    std::size_t end = m_position;
    while (end > start && isBlank(m_text[end - 1]))
        --end;
    return m_text.substr(start, end - start);
}

void PoseItemScanner::skipBlanks()
{
    while (!atEnd() && isBlank(m_text[m_position]))
        ++m_position;
}

void PoseItemScanner::skipBlanksAndLineEnds()
{
    while (!atEnd() && (isBlank(m_text[m_position]) || isLineEnd(m_text[m_position])))
        ++m_position;
}

} // namespace zelbrook
