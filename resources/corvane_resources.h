// SPDX-License-Identifier: GPL-2.0-or-later
// The embedded images, as /corvane/images/<file name>. corvane_get_resource() is NULL
// until corvane_register_resource() has been called (the build asks for manual
// registration, which a static library needs: nothing would run a constructor).
// glib-compile-resources declares its functions without C++ linkage guards, so C++
// callers include this header rather than the generated one.
#ifndef CORVANE_RESOURCES_H
#define CORVANE_RESOURCES_H

#include <gio/gio.h>

G_BEGIN_DECLS
#include "corvane_resources_decls.h"
G_END_DECLS

#endif
