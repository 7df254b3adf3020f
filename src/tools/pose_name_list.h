// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// Many file names kept one after another in one block of memory, which for
// thousands of names costs a fraction of a string each.
class PoseNameList
{
public:
    void add(std::string_view name);
    std::size_t size() const { return m_ends.size(); }
    std::string_view operator[](std::size_t index) const;

private:
    std::string m_names;
    std::vector<std::size_t> m_ends;
};

} // namespace zelbrook
