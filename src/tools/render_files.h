// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QByteArrayView>
#include <QIODevice>

#include <cstddef>
#include <string>

namespace zelbrook {

// Every file zelbrook-render reads or writes goes through these, by the name
// as the bytes it was given. Errors are sentences that leave the name to the
// caller.
class RenderFiles
{
public:
    // A list of pose file names; a million names of 64 bytes fit.
    static constexpr std::size_t kMaximumListBytes = 64 * 1024 * 1024;

    static Result<std::string> readListBytes(const std::string &path);
    // The output is put in place only once it is complete.
    static Status writeOutput(const std::string &path, QByteArrayView bytes);
    // All of a stream that ends, such as a pipe on standard input, up to
    // maxBytes; more than that is an error.
    static Result<std::string> readStream(QIODevice &device, std::size_t maxBytes);
    // Success when the path names a folder in which files can be made.
    static Status checkOutputFolder(const std::string &path);
};

} // namespace zelbrook
