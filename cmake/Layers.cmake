# SPDX-License-Identifier: GPL-2.0-or-later
# The layers, and which folders each may include headers from.  A build step
# reads every #include "folder/..." of the program's folders and fails the
# build on an include that runs upwards (or sideways).
set(CORVANE_LAYERS
    "common:common"
    "toolkit:toolkit,common"
    "client:client,common"
    "settings:settings,common"
    "mainwindow:mainwindow,client,settings,toolkit,common"
    "dialogs:dialogs,client,settings,toolkit,common"
    "app:app,mainwindow,dialogs,client,settings,toolkit,common"
    "standin:common")

if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.25)
    set(errors "")
    foreach(layer ${CORVANE_LAYERS})
        string(REPLACE ":" ";" parts "${layer}")
        list(GET parts 0 folder)
        list(GET parts 1 allowed)
        string(REPLACE "," ";" allowed "${allowed}")
        file(GLOB sources "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
        foreach(source ${sources})
            file(STRINGS ${source} includes REGEX "^#include \"[a-z_]+/")
            foreach(line ${includes})
                string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target "${line}")
                if(NOT target IN_LIST allowed)
                    file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
                    string(APPEND errors "  ${shown}: ${line} (${folder}/ may not use ${target}/)\n")
                endif()
            endforeach()
        endforeach()
    endforeach()
    if(errors)
        message(FATAL_ERROR "Includes that run against the layers:\n${errors}")
    endif()
    file(TOUCH ${STAMP})
    return()
endif()

function(corvane_check_layers)
    set(folders "")
    foreach(layer ${CORVANE_LAYERS})
        string(REGEX REPLACE ":.*" "" folder "${layer}")
        list(APPEND folders ${folder})
    endforeach()
    set(sources "")
    foreach(folder ${folders})
        file(GLOB found CONFIGURE_DEPENDS
            ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
        list(APPEND sources ${found})
    endforeach()
    set(stamp ${CMAKE_BINARY_DIR}/layers.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAMP=${stamp}
                -P ${PROJECT_SOURCE_DIR}/cmake/Layers.cmake
        DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/Layers.cmake
        COMMENT "Checking that includes follow the layers"
        VERBATIM)
    add_custom_target(corvane_layers DEPENDS ${stamp})
    foreach(target ${ARGN})
        add_dependencies(${target} corvane_layers)
    endforeach()
endfunction()
