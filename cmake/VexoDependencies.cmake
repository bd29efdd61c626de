# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers

# The C libraries the project links, as the targets Vexo::Sodium, Vexo::QrEncode and Vexo::Gsf.
# pkg-config finds them on Linux and in MSYS2; where it is missing (MSVC, vcpkg) a
# CMake package or a plain header and library search does. On Linux the pkg-config
# targets PkgConfig::SODIUM and PkgConfig::QRENCODE exist as well.

find_package(PkgConfig QUIET)

# vexo_find_c_library(<target> PKG <module> HEADER <file> NAMES <library names...>
#                     [CONFIG <package> <imported target>] [REQUIRED])
function(vexo_find_c_library target)
    cmake_parse_arguments(ARG "REQUIRED" "PKG;HEADER;PREFIX" "NAMES;CONFIG" ${ARGN})
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    # Paths given on the command line win over every search.
    if(${ARG_PREFIX}_INCLUDE_DIR AND ${ARG_PREFIX}_LIBRARY)
        target_include_directories(${target} INTERFACE ${${ARG_PREFIX}_INCLUDE_DIR})
        target_link_libraries(${target} INTERFACE ${${ARG_PREFIX}_LIBRARY})
        return()
    endif()
    if(PKG_CONFIG_FOUND AND NOT CMAKE_CROSSCOMPILING)
        pkg_check_modules(${ARG_PREFIX} QUIET IMPORTED_TARGET GLOBAL ${ARG_PKG})
        if(TARGET PkgConfig::${ARG_PREFIX})
            target_link_libraries(${target} INTERFACE PkgConfig::${ARG_PREFIX})
            return()
        endif()
    endif()
    if(ARG_CONFIG)
        list(GET ARG_CONFIG 0 package)
        list(GET ARG_CONFIG 1 imported)
        find_package(${package} CONFIG QUIET)
        if(TARGET ${imported})
            target_link_libraries(${target} INTERFACE ${imported})
            return()
        endif()
    endif()
    find_path(${ARG_PREFIX}_INCLUDE_DIR ${ARG_HEADER})
    find_library(${ARG_PREFIX}_LIBRARY NAMES ${ARG_NAMES})
    if(${ARG_PREFIX}_INCLUDE_DIR AND ${ARG_PREFIX}_LIBRARY)
        target_include_directories(${target} INTERFACE ${${ARG_PREFIX}_INCLUDE_DIR})
        target_link_libraries(${target} INTERFACE ${${ARG_PREFIX}_LIBRARY})
    elseif(ARG_REQUIRED)
        message(FATAL_ERROR "${ARG_PKG} not found: install it, or set ${ARG_PREFIX}_INCLUDE_DIR and ${ARG_PREFIX}_LIBRARY")
    else()
        message(STATUS "${ARG_PKG} not found")
    endif()
endfunction()

# libsodium's headers assume its DLL on Windows unless SODIUM_STATIC is defined; its CMake
# package (vcpkg) defines that itself for a static build.
vexo_find_c_library(Vexo::Sodium PREFIX SODIUM PKG libsodium HEADER sodium.h NAMES sodium libsodium
                    CONFIG unofficial-sodium unofficial-sodium::sodium REQUIRED)

if(NOT VEXO_LIBRARIES_ONLY)
    vexo_find_c_library(Vexo::QrEncode PREFIX QRENCODE PKG libqrencode HEADER qrencode.h NAMES qrencode libqrencode
                        REQUIRED)
    # The compound-file container of ".xls" workbooks. libgsf builds on GLib: without pkg-config,
    # GSF_INCLUDE_DIR and GSF_LIBRARY take the lists of both.
    vexo_find_c_library(Vexo::Gsf PREFIX GSF PKG libgsf-1 HEADER gsf/gsf-outfile-msole.h NAMES gsf-1 REQUIRED)
endif()
