// SPDX-License-Identifier: GPL-2.0-or-later
#include "invocation_log.h"

#include "fileio.h"

namespace standin {

std::string FormatInvocation(std::string_view program, const std::vector<std::string>& args) {
    std::string record(program);
    record += '\t' + std::to_string(args.size()) + '\n';
    for (const std::string& arg : args) {
        record += std::to_string(arg.size()) + '\t';
        record += arg;
        record += '\n';
    }
    return record;
}

bool AppendInvocation(const std::string& controlDir, std::string_view program,
                      const std::vector<std::string>& args) {
    return MakeDirs(controlDir, 0755) &&
           AppendToFile(controlDir + "log", FormatInvocation(program, args));
}

}  // namespace standin
