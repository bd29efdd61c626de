# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers

# Images of the skin and of the program are drawn as SVG and rendered to PNG at
# build time by vexo_svg2png, each with an "@2x" twin that Qt picks on HiDPI screens.

# ImageMagick 7 is "magick"; "convert" is its older name, and on Windows the name of the
# system's disk converter, so there only "magick" will do.
if(CMAKE_HOST_WIN32)
    find_program(VEXO_IMAGEMAGICK_CONVERT NAMES magick REQUIRED)
else()
    find_program(VEXO_IMAGEMAGICK_CONVERT NAMES magick convert REQUIRED)
endif()

# The renderer may be built with the sanitizers; font and platform caches that live
# to process exit are no reason to fail the build. On Windows it finds Qt's DLLs on PATH only.
set(vexo_svg2png_env ASAN_OPTIONS=detect_leaks=0)
if(CMAKE_HOST_WIN32)
    list(APPEND vexo_svg2png_env --modify "PATH=path_list_prepend:$<TARGET_FILE_DIR:Qt6::Core>")
endif()
set(VEXO_SVG2PNG ${CMAKE_COMMAND} -E env ${vexo_svg2png_env} $<TARGET_FILE:vexo_svg2png>)

# vexo_render_svg(<list-var> SVG <file.svg> OUTPUT <file.png> SIZE <w> <h>
#                 [REPLACE <from>=<to> ...] [NO_HIDPI])
# Renders <file.svg> to <file.png> (and <file@2x.png> at twice the size) and
# appends the outputs to <list-var>. REPLACE substitutes texts in the SVG first,
# so one drawing gives its colour variants.
function(vexo_render_svg var)
    cmake_parse_arguments(ARG "NO_HIDPI" "SVG;OUTPUT" "SIZE;REPLACE" ${ARGN})
    list(GET ARG_SIZE 0 width)
    list(GET ARG_SIZE 1 height)
    set(replace_args)
    foreach(replacement IN LISTS ARG_REPLACE)
        list(APPEND replace_args --replace ${replacement})
    endforeach()
    get_filename_component(output_dir ${ARG_OUTPUT} DIRECTORY)
    get_filename_component(svg ${ARG_SVG} ABSOLUTE)

    set(outputs ${ARG_OUTPUT})
    add_custom_command(OUTPUT ${ARG_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
        COMMAND ${VEXO_SVG2PNG} ${replace_args} ${svg} ${ARG_OUTPUT} ${width} ${height}
        DEPENDS vexo_svg2png ${svg}
        COMMENT "Rendering ${ARG_OUTPUT}"
        VERBATIM)
    if(NOT ARG_NO_HIDPI)
        string(REGEX REPLACE "\\.png$" "@2x.png" output_2x ${ARG_OUTPUT})
        math(EXPR width_2x "${width} * 2")
        math(EXPR height_2x "${height} * 2")
        add_custom_command(OUTPUT ${output_2x}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
            COMMAND ${VEXO_SVG2PNG} ${replace_args} ${svg} ${output_2x} ${width_2x} ${height_2x}
            DEPENDS vexo_svg2png ${svg}
            COMMENT "Rendering ${output_2x}"
            VERBATIM)
        list(APPEND outputs ${output_2x})
    endif()
    set(${var} ${${var}} ${outputs} PARENT_SCOPE)
endfunction()

# vexo_render_spinner_gif(<list-var> SVG <file.svg> OUTPUT <file.gif> SIZE <w> <h>
#                         FRAMES <n> DELAY <centiseconds> BACKGROUND <colour>)
# Renders <n> frames of the drawing, each turned by 360/<n> degrees, on an opaque
# background (GIF transparency has no soft edges) and loops them as an animated GIF.
function(vexo_render_spinner_gif var)
    cmake_parse_arguments(ARG "" "SVG;OUTPUT;FRAMES;DELAY;BACKGROUND" "SIZE" ${ARGN})
    list(GET ARG_SIZE 0 width)
    list(GET ARG_SIZE 1 height)
    get_filename_component(name ${ARG_OUTPUT} NAME_WE)
    get_filename_component(output_dir ${ARG_OUTPUT} DIRECTORY)
    get_filename_component(svg ${ARG_SVG} ABSOLUTE)
    set(frame_dir ${CMAKE_CURRENT_BINARY_DIR}/gif_frames/${name})

    set(frames)
    math(EXPR last "${ARG_FRAMES} - 1")
    foreach(frame RANGE ${last})
        if(frame LESS 10)
            set(frame "0${frame}")
        endif()
        list(APPEND frames ${frame_dir}/frame_${frame}.png)
    endforeach()

    add_custom_command(OUTPUT ${ARG_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${frame_dir} ${output_dir}
        COMMAND ${VEXO_SVG2PNG} --frames ${ARG_FRAMES} --background ${ARG_BACKGROUND}
                ${svg} ${frame_dir}/frame.png ${width} ${height}
        COMMAND ${VEXO_IMAGEMAGICK_CONVERT} -delay ${ARG_DELAY} -loop 0 ${frames} ${ARG_OUTPUT}
        DEPENDS vexo_svg2png ${svg}
        COMMENT "Rendering ${ARG_OUTPUT}"
        VERBATIM)
    set(${var} ${${var}} ${ARG_OUTPUT} PARENT_SCOPE)
endfunction()
