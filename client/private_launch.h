#pragma once

#include <string>
#include <vector>

// Starts `program` detached with the arguments given one by one, under a
// umask of 077, so that what it creates is readable by the user alone.
// False when the program cannot be found or started.
bool LaunchPrivately(const std::string& program, const std::vector<std::string>& arguments);
