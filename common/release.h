// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// A deleter for std::unique_ptr that hands the pointer to a C release
// function (fclose, pclose, g_free, g_object_unref ...).
template <auto Release>
struct ReleaseWith {
    template <typename T>
    void operator()(T* object) const {
        Release(object);
    }
};
