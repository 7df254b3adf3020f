// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zelbrook {

// Keeps a row of values, one a key, in step with the keys of an animation
// as they come in, go, move and turn round: the row of a key that comes in,
// and every row when the whole animation is new, is `fresh(index)`. A
// change of a key's content leaves the rows as they are.
template <typename Row, typename Fresh>
void followKeys(std::vector<Row> &rows, const AnimationChange &change, std::size_t keyCount, Fresh fresh)
{
    using What = AnimationChange::What;
    const auto place = [&rows](std::size_t index) { return rows.begin() + static_cast<std::ptrdiff_t>(index); };
    switch (change.what) {
    case What::KeyInserted:
        rows.insert(place(change.key), change.count, Row{});
        for (std::size_t index = change.key; index < change.key + change.count; ++index)
            rows[index] = fresh(index);
        break;
    case What::KeyRemoved:
        rows.erase(place(change.key), place(change.key + change.count));
        break;
    case What::KeyMoved:
        if (change.destination > change.key)
            std::rotate(place(change.key), place(change.key + 1), place(change.destination + 1));
        else
            std::rotate(place(change.destination), place(change.key), place(change.key + 1));
        break;
    case What::KeysReversed:
        std::reverse(place(change.key), place(change.destination + 1));
        break;
    case What::Whole:
        rows.clear();
        for (std::size_t index = 0; index < keyCount; ++index)
            rows.push_back(fresh(index));
        break;
    default:
        break;
    }
}

} // namespace zelbrook
