// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zelbrook {

// The poses of the editor's shelf, those that come with the program first,
// then the user's own, each in order of their names: one a line, its name,
// a tab and its full path as the system holds it.
std::string shelfListing();

} // namespace zelbrook
