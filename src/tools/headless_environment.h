// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/runtime_folder.h"

namespace zelbrook {

// Puts in place what Qt needs to draw without a desktop session where it is
// missing, as in a file manager's thumbnail sandbox, which has no font
// configuration, no runtime folder and only a private /tmp that must be left
// empty. Made before the application object and ended after it.
class HeadlessEnvironment
{
public:
    HeadlessEnvironment();
    ~HeadlessEnvironment();
    HeadlessEnvironment(const HeadlessEnvironment &) = delete;
    HeadlessEnvironment &operator=(const HeadlessEnvironment &) = delete;

    // Removes the runtime folder made for Qt, if any, once Qt has looked at
    // it; should Qt make it again, it is removed at the end.
    void removeRuntimeFolder() const;

private:
    static void configureFontsIfUnconfigured();

    // Made after the fonts are configured, and ended before.
    RuntimeFolder m_runtimeFolder{"zelbrook-render"};
};

} // namespace zelbrook
