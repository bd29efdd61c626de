# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers

# vexo_install_windows_runtime(PROGRAM <target> [TOOLS <targets...>] [LIBRARIES <targets...>])
# Windows has neither an RPATH nor a system Qt: "cmake --install" there makes the installed
# bin/ folder run on its own. Qt's deploy tool adds Qt's DLLs and the plug-ins the programs
# need (platform, styles, image formats with the busy dialog's GIF) under bin/plugins, where
# the program also finds ours; a second step copies every other DLL the programs load
# (libsodium, libqrencode, the compiler runtime), found in the folders of the libraries
# CMake linked and in VEXO_RUNTIME_DIRS. Elsewhere nothing changes.
set(VEXO_RUNTIME_DIRS "" CACHE STRING "More folders that hold DLLs the programs load (Windows install)")

function(vexo_install_windows_runtime)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "PROGRAM" "TOOLS;LIBRARIES" ${ARGN})

    # Where the DLLs live: beside the import libraries found at configure time, or in the
    # bin/ folder next to their lib/ folder (MSYS2, vcpkg), and beside the compiler.
    set(dirs "${CMAKE_BINARY_DIR}/bin" ${VEXO_RUNTIME_DIRS})
    get_filename_component(compiler_dir "${CMAKE_CXX_COMPILER}" DIRECTORY)
    list(APPEND dirs "${compiler_dir}")
    foreach(library IN LISTS SODIUM_LIBRARY QRENCODE_LIBRARY GSF_LIBRARY SODIUM_LINK_LIBRARIES QRENCODE_LINK_LIBRARIES
                            GSF_LINK_LIBRARIES)
        if(EXISTS "${library}")
            get_filename_component(library_dir "${library}" DIRECTORY)
            list(APPEND dirs "${library_dir}" "${library_dir}/../bin")
        endif()
    endforeach()
    if(TARGET unofficial-sodium::sodium)
        list(APPEND dirs "$<TARGET_FILE_DIR:unofficial-sodium::sodium>")
    endif()
    list(APPEND dirs "$<TARGET_FILE_DIR:Qt6::Core>")

    set(binaries)
    foreach(target IN LISTS ARG_PROGRAM ARG_TOOLS)
        list(APPEND binaries "$<TARGET_FILE:${target}>")
    endforeach()
    set(libraries)
    foreach(target IN LISTS ARG_LIBRARIES)
        list(APPEND libraries "$<TARGET_FILE:${target}>")
    endforeach()

    # Paths may hold spaces ("Program Files"): quote each in the generated scripts.
    foreach(list dirs binaries libraries)
        list(TRANSFORM ${list} PREPEND "\"")
        list(TRANSFORM ${list} APPEND "\"")
        list(JOIN ${list} " " ${list})
    endforeach()

    # Qt's deploy tool (windeployqt) through Qt's own CMake deploy support. It works on the
    # installed files, named relative to the install prefix; a library goes where it is in
    # the build tree (bin/, bin/plugins/skins/, ...), as the install rules put it.
    set(installed_tools)
    foreach(target IN LISTS ARG_TOOLS)
        list(APPEND installed_tools "\"${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>\"")
    endforeach()
    list(JOIN installed_tools " " installed_tools)
    set(installed_libraries)
    foreach(target IN LISTS ARG_LIBRARIES)
        get_target_property(output_dir ${target} LIBRARY_OUTPUT_DIRECTORY)
        if(output_dir)
            file(RELATIVE_PATH dir "${CMAKE_BINARY_DIR}" "${output_dir}")
        else()
            set(dir "${CMAKE_INSTALL_BINDIR}")
        endif()
        list(APPEND installed_libraries "\"${dir}/$<TARGET_FILE_NAME:${target}>\"")
    endforeach()
    list(JOIN installed_libraries " " installed_libraries)
    set(deploy_script "${CMAKE_BINARY_DIR}/deploy_$<CONFIG>.cmake")
    file(GENERATE OUTPUT "${deploy_script}" CONTENT "
include(\"${QT_DEPLOY_SUPPORT}\")
qt_deploy_runtime_dependencies(
    EXECUTABLE \"${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${ARG_PROGRAM}>\"
    ADDITIONAL_EXECUTABLES ${installed_tools}
    ADDITIONAL_LIBRARIES ${installed_libraries}
    BIN_DIR \"${CMAKE_INSTALL_BINDIR}\"
    PLUGINS_DIR \"${CMAKE_INSTALL_BINDIR}/plugins\"
    GENERATE_QT_CONF
)
")
    install(SCRIPT "${deploy_script}")

    # Everything else that is not part of Windows itself.
    install(CODE "
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${binaries}
    LIBRARIES ${libraries}
    DIRECTORIES ${dirs}
    PRE_EXCLUDE_REGEXES [[^api-ms-]] [[^ext-ms-]]
    POST_EXCLUDE_REGEXES [[.*[/\\\\][Ss]ystem32[/\\\\].*]] [[.*[/\\\\][Ww]indows[/\\\\].*]]
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved)
foreach(file IN LISTS resolved)
    file(INSTALL \"\${file}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
endforeach()
if(unresolved)
    message(WARNING \"DLLs not found (add their folder to VEXO_RUNTIME_DIRS): \${unresolved}\")
endif()
")

    # MSVC's runtime, when the compiler is MSVC (MinGW's comes with the step above).
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
    include(InstallRequiredSystemLibraries)
endfunction()
