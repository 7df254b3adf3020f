// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace zelbrook {

// A sprite sheet's atlas takes a name of its own beside the sheet, which
// can be an input's: `--atlas walk.json walk.png` would write the atlas over
// the animation it reads. Inputs are matched by name and, where the two
// exist, as one file, so that another name for it (./walk.json, a link)
// is found as well.
class AtlasClash
{
public:
    // An input's name, or the atlas name of an input's output; an empty
    // input name (the start-up pose) names no file.
    using Name = std::function<std::string(std::size_t index)>;

    // The first pair of an input whose atlas would take another input's
    // place, and that other input (which may be the same one).
    static std::optional<std::pair<std::size_t, std::size_t>> find(std::size_t inputs, const Name &input,
                                                                   const Name &atlas);
};

} // namespace zelbrook
