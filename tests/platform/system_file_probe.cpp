// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_file.h"

#include <cstdio>
#include <string>

// system_file_probe read PATH | write PATH TEXT
// Runs one SystemFile call and prints the content read or the error's
// message, so that a test can make the call as another user. Exit status 0
// on success, 1 on failure, 2 for a wrong command line.
int main(int argc, char *argv[])
{
    using zelbrook::SystemFile;
    const std::string operation = argc > 1 ? argv[1] : "";
    std::string output;
    bool ok = false;
    if (operation == "read" && argc == 3) {
        const auto content = SystemFile::read(argv[2], 1 << 20);
        ok = content.ok();
        output = ok ? *content : content.error().message;
    } else if (operation == "write" && argc == 4) {
        const auto written = SystemFile::write(argv[2], argv[3]);
        ok = written.ok();
        output = ok ? std::string() : written.error().message;
    } else {
        return 2;
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    return ok ? 0 : 1;
}
