// SPDX-License-Identifier: GPL-2.0-or-later
#include "control.h"
#include "invocation_log.h"
#include "paths.h"
#include "tuncfg.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::string control = standin::ControlDir();
    if (!standin::AppendInvocation(control, "tuncfg", standin::Arguments(argc, argv))) {
        std::cerr << "tuncfg: cannot write the call log in " << control << '\n';
    }
    return standin::RunTuncfg(control);
}
