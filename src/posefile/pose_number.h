#pragma once

#include <string_view>

namespace zelbrook {

// A number read from the text of one pose file item. The item is an optional
// sign, digits with an optional period and fraction (the digits before the
// period may be missing), and an optional exponent: E or e, an optional sign
// and digits. Nothing else may be in it, not even blanks.
struct PoseNumber {
    enum class Status { Number, NotANumber, TooLarge };

    Status status = Status::NotANumber;
    // A magnitude too small for a double reads as zero of its sign.
    double value = 0.0;

    static PoseNumber parse(std::string_view text);
};

} // namespace zelbrook
