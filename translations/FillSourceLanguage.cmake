# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# cmake -DTS=<file> -P FillSourceLanguage.cmake
# In a catalogue of the source language (English), a new text translates to itself: lupdate
# leaves it unfinished and empty, and this gives it its source text as a finished translation
# (also behind a translator's comment).
# Plural forms are left for a translator, since English needs two of them.
file(READ "${TS}" text)
string(REGEX REPLACE
    "<source>([^<]*)</source>([ \t\r\n]*(<[a-z]*comment>[^<]*</[a-z]*comment>[ \t\r\n]*)*)<translation type=\"unfinished\"></translation>"
    "<source>\\1</source>\\2<translation>\\1</translation>"
    filled "${text}")
if(NOT filled STREQUAL text)
    file(WRITE "${TS}" "${filled}")
endif()
