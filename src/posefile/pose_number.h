// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
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

// " is 150, outside 5 to 100": what a message says after a value's name when
// the value lies outside its range. Numbers have 10 significant digits, so
// that a value such as 1e308 is not spelled out in full; a value that would
// then read as an end of the range (500.0000000001) gets the digits that
// tell it from that end.
std::string outsideRangeText(double value, double lowest, double highest);

} // namespace zelbrook
