# SPDX-License-Identifier: GPL-2.0-or-later
# The build fails when a layer reaches one it may not use (the table is in
# check_layers.py): by an include, before anything compiles, and by a
# symbol, once the libraries are built and before the program links.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CORVANE_CHECK_LAYERS ${CMAKE_CURRENT_LIST_DIR}/check_layers.py)

# corvane_check_layers(PROGRAM LAYER=TARGET...)
function(corvane_check_layers program)
    set(folders common resources toolkit client settings mainwindow dialogs app standin)
    set(sources "")
    foreach(folder ${folders})
        file(GLOB_RECURSE found CONFIGURE_DEPENDS
            ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h
            ${PROJECT_SOURCE_DIR}/${folder}/*.c)
        list(APPEND sources ${found})
    endforeach()
    set(stamp ${CMAKE_BINARY_DIR}/layers-includes.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND Python3::Interpreter ${CORVANE_CHECK_LAYERS} includes ${PROJECT_SOURCE_DIR}
                ${CORVANE_GENERATED_DIR}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${sources} ${CORVANE_CHECK_LAYERS}
        COMMENT "Checking that includes follow the layers"
        VERBATIM)
    add_custom_target(corvane_layer_includes DEPENDS ${stamp})

    set(files "")
    foreach(pair ${ARGN})
        string(REPLACE "=" ";" parts ${pair})
        list(GET parts 1 target)
        add_dependencies(${target} corvane_layer_includes)
        list(APPEND files $<TARGET_FILE:${target}>)
    endforeach()
    string(REGEX REPLACE "=([a-z_]+)" "=$<TARGET_FILE:\\1>" libraries "${ARGN}")
    set(stamp ${CMAKE_BINARY_DIR}/layers-symbols.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND Python3::Interpreter ${CORVANE_CHECK_LAYERS} symbols ${libraries}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${files} ${CORVANE_CHECK_LAYERS}
        COMMENT "Checking that symbols follow the layers"
        VERBATIM)
    add_custom_target(corvane_layer_symbols DEPENDS ${stamp})
    add_dependencies(${program} corvane_layer_symbols)
endfunction()
