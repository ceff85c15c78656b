# SPDX-License-Identifier: GPL-2.0-or-later
# Debian's hardening flags for optimised builds: fortified string and memory
# calls, strong stack protection, format checks, a position-independent
# program and read-only relocations resolved at start.  Taken from
# dpkg-buildflags when it is installed, so a distribution's newer defaults
# come along; otherwise the same flags are set here.  The optimisation and
# debug flags stay those of the build type.
include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening_compile "")
set(hardening_link "")
if(DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        # Only the hardening area, all of it (bind-now is off by default);
        # the user's own DEB_* settings do not leak in.
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env --unset=DEB_BUILD_OPTIONS
                    "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
                    "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" "DEB_CXXFLAGS_STRIP=" "DEB_CXXFLAGS_APPEND="
                    "DEB_CPPFLAGS_APPEND=" "DEB_LDFLAGS_APPEND="
                    ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        if(kind STREQUAL LDFLAGS)
            list(APPEND hardening_link ${flags})
        else()
            list(APPEND hardening_compile ${flags})
        endif()
    endforeach()
else()
    set(hardening_compile -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
        -Werror=format-security)
    set(hardening_link -Wl,-z,relro -Wl,-z,now)
endif()
message(STATUS "Hardening: ${hardening_compile} ${hardening_link}")
add_compile_options(${hardening_compile})
add_link_options(${hardening_link})
