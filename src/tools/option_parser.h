// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/render_options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// What zelbrook-render's command line has said so far, and the options that
// say it: each option is a row of one table, with the check of its value.
struct OptionParser {
    // What is wrong with the command line, or nothing.
    using Failure = std::optional<std::string>;

    RenderOptions options;
    std::vector<std::string> positional;
    std::optional<RenderOptions::Format> format;
    bool defaultPose = false;
    bool zoomGiven = false;
    RenderBatch batch;
    bool batchWanted = false;
    // The first option that needs --output-dir, for the message without it.
    std::string_view batchOnlyOption;

    // Takes the option at `index`, and its value from the next argument
    // unless it is given as --name=value.
    Failure takeOption(const std::vector<std::string> &arguments, std::size_t &index);

    // The name in double quotes, with what a terminal would not show escaped.
    static std::string quoted(std::string_view name);
};

} // namespace zelbrook
