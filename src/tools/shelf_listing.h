// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zelbrook {

// The poses of the editor's shelf, those that come with the program first,
// then the user's own, each in order of their names: one a line, its name,
// a tab and its full path. Control characters and bytes that are not UTF-8,
// in either, are written as \xNN, so that every file takes one line and
// nothing reaches the terminal that it would act on.
std::string shelfListing();

} // namespace zelbrook
