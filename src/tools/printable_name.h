#pragma once

#include <string>
#include <string_view>

namespace zelbrook {

// A file name as messages show it: valid UTF-8 as it is, and every byte that
// is not part of a valid UTF-8 character as \xHH, so that a name the system
// takes as bytes can still be told apart from others in a message.
std::string printableName(std::string_view bytes);

} // namespace zelbrook
