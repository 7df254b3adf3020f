// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace zelbrook {

// The window's caption. The drawing prints it in the credit line, so it is
// part of every copied, saved and rendered picture.
inline constexpr std::string_view kProgramCaption = "Zelbrook v0.1 by Quillfen";

// The caption of every message box.
inline constexpr std::string_view kApplicationTitle = "Zelbrook";

} // namespace zelbrook
