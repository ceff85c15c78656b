// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "control.h"

namespace standin {

// `hamachi-init`: creates the configuration folder with a fresh identity,
// or leaves an existing one alone.
Outcome RunInit();

}  // namespace standin
