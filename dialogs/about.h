// SPDX-License-Identifier: GPL-2.0-or-later
// Window 7: the program's name, credits, web address and version.
#pragma once

void OpenAboutWindow();
