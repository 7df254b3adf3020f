// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace zelbrook {

// Splits pose file text into items. A comma separates items, and so does a
// line end (CR LF, LF or CR); a comma followed by line ends, and a run of
// line ends with nothing but blanks between them, count as one separator.
// Blanks (spaces and tabs) around an item are not part of it.
class PoseItemScanner
{
public:
    explicit PoseItemScanner(std::string_view text);

    // The text of the next item, possibly empty (two commas in a row), or
    // nothing when the text ends before another item.
    std::optional<std::string_view> next();

private:
    bool atEnd() const { return m_position == m_text.size(); }
    void skipBlanks();
    void skipBlanksAndLineEnds();

    std::string_view m_text;
    std::size_t m_position = 0;
    bool m_started = false;
};

} // namespace zelbrook
