// SPDX-License-Identifier: GPL-2.0-or-later
#include "control.h"
#include "init.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args = standin::Arguments(argc, argv);
    if (std::optional<std::string> answer = standin::Intercept("hamachi-init", args, "init")) {
        return standin::Emit({*answer, "", 0});
    }
    return standin::Emit(standin::RunInit());
}
