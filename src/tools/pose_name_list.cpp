// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/pose_name_list.h"

namespace zelbrook {

void PoseNameList::add(std::string_view name)
{
    m_names += name;
    m_ends.push_back(m_names.size());
}

std::string_view PoseNameList::operator[](std::size_t index) const
{
    const std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_names).substr(start, m_ends[index] - start);
}

} // namespace zelbrook
