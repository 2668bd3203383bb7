# SPDX-License-Identifier: GPL-3.0-or-later
# The documents installed with the program, made from the repository when configuring and building, so that
# they cannot say something else than it:
#   doc/changelog.gz   the changelog in Debian's format, from NEWS and the project's version
#   doc/copyright      the licence in Debian's machine-readable format, from cmake/copyright.in and LICENSE
#   man/cantabola.6.gz, man/es/cantabola.6.gz
#                      the manual page in English and in Spanish, from man/ with the version and date of NEWS
# All under the build folder; compressed with gzip -9n (no name, no time stamp), as Debian expects.

# Who answers for the program and its package: the changelog's signature, the copyright file's contact and
# the package's maintainer.
set(CANTABOLA_MAINTAINER "Cantabola developers <cantabola@cantabola.example>")

# NEWS: one entry per version, newest first. Each entry is a heading line "Cantabola VERSION (YYYY-MM-DD)",
# a blank line, and lines indented by two spaces ("  * ..." and their continuations), at most 80 characters.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/NEWS ${CMAKE_SOURCE_DIR}/LICENSE)
file(STRINGS ${CMAKE_SOURCE_DIR}/NEWS cantabola_news_lines)

# The day of the week of a date, as Debian's changelog writes it (Sakamoto's method).
function(cantabola_weekday year month day out)
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    if(month LESS 3)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
    set(names Sun Mon Tue Wed Thu Fri Sat)
    list(GET names ${weekday} name)
    set(${out} ${name} PARENT_SCOPE)
endfunction()

# Each entry of NEWS becomes one of Debian's changelog: "cantabola (VERSION) unstable; urgency=medium", its
# lines, and the signature with the entry's date. Blank lines around an entry's lines are Debian's own.
set(cantabola_changelog "")
set(cantabola_news_versions "")
set(cantabola_news_years "")
set(cantabola_entry_head "")
set(cantabola_entry_body "")
set(cantabola_entry_tail "")
macro(cantabola_end_entry)
    if(NOT cantabola_entry_head STREQUAL "")
        string(STRIP "${cantabola_entry_body}" cantabola_entry_body)
        if(cantabola_entry_body STREQUAL "")
            message(FATAL_ERROR "NEWS: the entry \"${cantabola_entry_head}\" says nothing")
        endif()
        if(NOT cantabola_changelog STREQUAL "")
            string(APPEND cantabola_changelog "\n")
        endif()
        # STRIP took the first line's indent too.
        string(APPEND cantabola_changelog
            "${cantabola_entry_head}\n\n  ${cantabola_entry_body}\n\n${cantabola_entry_tail}\n")
    endif()
    set(cantabola_entry_body "")
endmacro()

set(cantabola_line_number 0)
foreach(line IN LISTS cantabola_news_lines)
    math(EXPR cantabola_line_number "${cantabola_line_number} + 1")
    string(LENGTH "${line}" length)
    if(length GREATER 80)
        message(FATAL_ERROR "NEWS:${cantabola_line_number}: longer than 80 characters")
    endif()
    if(line MATCHES "^${PROJECT_NAME} ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
        set(version ${CMAKE_MATCH_1})
        set(year ${CMAKE_MATCH_2})
        set(month ${CMAKE_MATCH_3})
        set(day ${CMAKE_MATCH_4})
        # The leading zeros stay out of math().
        math(EXPR month_number "1${month} - 100")
        math(EXPR day_number "1${day} - 100")
        if(month_number LESS 1 OR month_number GREATER 12 OR day_number LESS 1 OR day_number GREATER 31)
            message(FATAL_ERROR "NEWS:${cantabola_line_number}: no such date ${year}-${month}-${day}")
        endif()
        cantabola_weekday(${year} ${month_number} ${day_number} weekday)
        set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        math(EXPR index "${month_number} - 1")
        list(GET month_names ${index} month_name)
        cantabola_end_entry()
        set(cantabola_entry_head "cantabola (${version}) unstable; urgency=medium")
        set(cantabola_entry_tail
            " -- ${CANTABOLA_MAINTAINER}  ${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000")
        list(APPEND cantabola_news_versions ${version})
        list(APPEND cantabola_news_years ${year})
        if(NOT DEFINED CANTABOLA_RELEASE_DATE)
            set(CANTABOLA_RELEASE_DATE ${year}-${month}-${day})
        endif()
    elseif(line STREQUAL "" OR line MATCHES "^  [^ ]|^    ")
        if(cantabola_entry_head STREQUAL "")
            if(NOT line STREQUAL "")
                message(FATAL_ERROR
                    "NEWS:${cantabola_line_number}: text before the first \"${PROJECT_NAME} VERSION (YYYY-MM-DD)\"")
            endif()
        else()
            string(APPEND cantabola_entry_body "${line}\n")
        endif()
    else()
        message(FATAL_ERROR "NEWS:${cantabola_line_number}: neither \"${PROJECT_NAME} VERSION (YYYY-MM-DD)\" nor "
            "a line indented by two spaces: \"${line}\"")
    endif()
endforeach()
cantabola_end_entry()
if(cantabola_news_versions STREQUAL "")
    message(FATAL_ERROR "NEWS has no entry \"${PROJECT_NAME} VERSION (YYYY-MM-DD)\"")
endif()
list(GET cantabola_news_versions 0 cantabola_news_version)
if(NOT cantabola_news_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "NEWS begins with version ${cantabola_news_version}, but the project is version "
        "${PROJECT_VERSION} (CMakeLists.txt): add an entry for ${PROJECT_VERSION} at the top of NEWS")
endif()
# Written only when it changes, so that an unchanged NEWS compresses nothing again.
file(WRITE ${CMAKE_BINARY_DIR}/doc/changelog.new "${cantabola_changelog}")
configure_file(${CMAKE_BINARY_DIR}/doc/changelog.new ${CMAKE_BINARY_DIR}/doc/changelog COPYONLY)

# The copyright file: the years of NEWS, the contact and address of the program, and the licence of LICENSE,
# which must stay the GPL version 3 for the template's licence paragraph to be true.
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE cantabola_licence_head LIMIT_COUNT 2)
string(STRIP "${cantabola_licence_head}" cantabola_licence_head)
if(NOT cantabola_licence_head MATCHES "^GNU GENERAL PUBLIC LICENSE; *Version 3,")
    message(FATAL_ERROR "LICENSE is not the GNU General Public License, version 3: cmake/copyright.in and the "
        "SPDX lines say it is")
endif()
list(SORT cantabola_news_years COMPARE NATURAL)
list(GET cantabola_news_years 0 first_year)
list(GET cantabola_news_years -1 last_year)
if(first_year STREQUAL last_year)
    set(CANTABOLA_COPYRIGHT_YEARS ${first_year})
else()
    set(CANTABOLA_COPYRIGHT_YEARS ${first_year}-${last_year})
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)

# The manual pages, with the version and the date of the newest entry of NEWS.
configure_file(${CMAKE_SOURCE_DIR}/man/cantabola.6.in ${CMAKE_BINARY_DIR}/man/cantabola.6 @ONLY)
# What software centres show of the program, with this release from NEWS.
configure_file(${CMAKE_SOURCE_DIR}/app/cantabola.metainfo.xml.in ${CMAKE_BINARY_DIR}/doc/cantabola.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/man/es/cantabola.6.in ${CMAKE_BINARY_DIR}/man/es/cantabola.6 @ONLY)

find_program(CANTABOLA_GZIP gzip REQUIRED)
set(cantabola_compressed "")
foreach(document doc/changelog man/cantabola.6 man/es/cantabola.6)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${document}.gz
        COMMAND ${CANTABOLA_GZIP} -9nkf ${CMAKE_BINARY_DIR}/${document}
        DEPENDS ${CMAKE_BINARY_DIR}/${document}
        COMMENT "Compressing ${document}")
    list(APPEND cantabola_compressed ${CMAKE_BINARY_DIR}/${document}.gz)
endforeach()
add_custom_target(cantabola_documents ALL DEPENDS ${cantabola_compressed})
