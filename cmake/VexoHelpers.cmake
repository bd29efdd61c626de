# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers

# Warnings and sanitizers are applied per target through this interface library.
add_library(vexo_build_flags INTERFACE)
if(MSVC)
    target_compile_options(vexo_build_flags INTERFACE /W4 /utf-8)
else()
    target_compile_options(vexo_build_flags INTERFACE -Wall -Wextra)
endif()
if(VEXO_WERROR)
    target_compile_options(vexo_build_flags INTERFACE $<IF:$<CXX_COMPILER_ID:MSVC>,/WX,-Werror>)
endif()
if(VEXO_SANITIZE)
    target_compile_options(vexo_build_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=undefined)
    target_link_options(vexo_build_flags INTERFACE -fsanitize=address,undefined)
endif()

# vexo_target_defaults(<target>): the project's warnings and sanitizer flags.
function(vexo_target_defaults target)
    target_link_libraries(${target} PRIVATE vexo_build_flags)
endfunction()

# vexo_test_search_path(<test>): Windows finds DLLs on PATH only (there is no RPATH), so a
# test run from tests-bin gets our bin/ and Qt's bin folder in front of it.
function(vexo_test_search_path test)
    if(WIN32)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION
            "PATH=path_list_prepend:$<TARGET_FILE_DIR:Qt6::Core>"
            "PATH=path_list_prepend:${CMAKE_BINARY_DIR}/bin")
    endif()
endfunction()

# add_app_test(<name> SOURCES ... [LIBS ...] [ENVIRONMENT ...] [TIMEOUT s] [LABELS ...])
# Builds one QtTest executable and registers it with CTest; GUI tests run offscreen.
# A program a test starts reads the settings of a configuration folder of the tests, never the
# user's own choices (language, batch operations), and keeps its data (the site journal) beside
# them, never in the user's own. Script tests add these to their environment too.
set(VEXO_TEST_HOMES "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests-config" "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/tests-data")

function(add_app_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;LABELS" ${ARGN})
    qt_add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    vexo_target_defaults(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(env "QT_QPA_PLATFORM=offscreen" "VEXO_SCOPE=loopback"
            "VEXO_TEST_BIN_DIR=${CMAKE_BINARY_DIR}/bin" "VEXO_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
            "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
            ${VEXO_TEST_HOMES} ${ARG_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${ARG_TIMEOUT})
    vexo_test_search_path(${name})
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()

# A "format-check" target that fails when a source file is not clang-formatted.
function(vexo_add_format_check)
    find_program(CLANG_FORMAT NAMES clang-format-14 clang-format)
    if(NOT CLANG_FORMAT)
        return()
    endif()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/platform/*.[ch] ${PROJECT_SOURCE_DIR}/platform/*.cpp ${PROJECT_SOURCE_DIR}/platform/*.h
         ${PROJECT_SOURCE_DIR}/discovery/*.cpp ${PROJECT_SOURCE_DIR}/discovery/*.h
         ${PROJECT_SOURCE_DIR}/journal/*.cpp ${PROJECT_SOURCE_DIR}/journal/*.h
         ${PROJECT_SOURCE_DIR}/onvif/*.cpp ${PROJECT_SOURCE_DIR}/onvif/*.h
         ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
         ${PROJECT_SOURCE_DIR}/devicelist/*.cpp ${PROJECT_SOURCE_DIR}/devicelist/*.h
         ${PROJECT_SOURCE_DIR}/config/*.cpp ${PROJECT_SOURCE_DIR}/config/*.h
         ${PROJECT_SOURCE_DIR}/recovery/*.cpp ${PROJECT_SOURCE_DIR}/recovery/*.h
         ${PROJECT_SOURCE_DIR}/export/*.cpp ${PROJECT_SOURCE_DIR}/export/*.h
         ${PROJECT_SOURCE_DIR}/aptui/*.cpp ${PROJECT_SOURCE_DIR}/aptui/*.h
         ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h
         ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
         ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h)
    add_custom_target(format-check
        COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Checking the source format")
    add_custom_target(format
        COMMAND ${CLANG_FORMAT} -i ${sources}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Formatting the sources")
endfunction()
