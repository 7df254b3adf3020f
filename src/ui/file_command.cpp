// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_command.h"

namespace zelbrook {

std::optional<QString> FileCommand::ask(FileDialogControl &dialog) const
{
    dialog.setFilter(QString::fromLatin1(filter));
    if (fileName)
        dialog.setFileName(QString::fromLatin1(fileName));
    dialog.setInitDir(FileDialogControl::programFolder());
    dialog.setCancelError(true);
    const auto result = mode == Mode::Save ? dialog.ShowSave() : dialog.ShowOpen();
    if (result == FileDialogControl::DialogResult::Cancelled)
        return std::nullopt;
    return dialog.FileName();
}

} // namespace zelbrook
