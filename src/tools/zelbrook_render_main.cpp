// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_command.h"

int main(int argc, char **argv) { return zelbrook::RenderCommand::main(argc, argv); }
