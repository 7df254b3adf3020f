// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/file_dialog_control.h"

#include <QString>

#include <optional>

namespace zelbrook {

// The settings one file command gives the dialog before showing it.
struct FileCommand {
    using Mode = FileDialogControl::DialogRequest::Mode;

    const char *filter;
    const char *fileName; // null: offer whatever the dialog holds
    Mode mode;

    // Shows the dialog; the chosen path, or nothing when it was cancelled.
    // The control keeps what it is not told, so an open dialog offers the
    // last confirmed path.
    std::optional<QString> ask(FileDialogControl &dialog) const;
};

} // namespace zelbrook
