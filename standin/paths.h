// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

namespace standin {

// $HOME without trailing slashes; when HOME is unset or empty, /root for
// root and / for everyone else.
std::string HomeDir();

// The client's configuration folder, with a final slash.
std::string ConfigDir();

// Folder through which tests steer and observe the stand-in, with a final
// slash. Always absolute, because tuncfg changes directory to /.
std::string ControlDir();

}  // namespace standin
