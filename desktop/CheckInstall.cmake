# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks that the desktop finds what it needs there:
# both programs with their manual pages, a valid menu entry that starts the program by the icon's
# name and opens saved cases, the icon at every size, valid software-centre metainfo, the file type
# of saved cases, and the licence and change log.  The desktop's own tools judge the files
# (desktop-file-validate, appstreamcli, update-mime-database, xdg-mime); a missing tool fails the
# check.  Run by ctest as
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -DCASE=<result file> -DAPP_ID=<id> -DVERSION=<version>
#         -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail message)
  string(APPEND failures "  ${message}\n")
endmacro()

# A tool the check cannot do without; the Makefile's package lists install them.
macro(require_program variable program package)
  find_program(${variable} ${program})
  if(NOT ${variable})
    message(FATAL_ERROR "${program} is not installed (Debian package ${package}): `make deps` installs it")
  endif()
endmacro()
require_program(VALIDATE desktop-file-validate desktop-file-utils)
require_program(UPDATE_DESKTOP update-desktop-database desktop-file-utils)
require_program(APPSTREAMCLI appstreamcli appstream)
require_program(UPDATE_MIME update-mime-database shared-mime-info)
require_program(XDG_MIME xdg-mime xdg-utils)
require_program(MIMETYPE mimetype libfile-mimeinfo-perl)
require_program(GZIP gzip gzip)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

# The text of a gzip-compressed file, or "" when it is none.
function(read_gzip path variable)
  execute_process(COMMAND "${GZIP}" -dc "${path}" RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_QUIET)
  if(NOT status EQUAL 0)
    set(text "")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

foreach(program zorkventa zorkventa-batch)
  if(NOT (EXISTS "${PREFIX}/bin/${program}"))
    fail("bin/${program} is not installed")
  endif()
endforeach()

# The menu entry.
set(entry "${PREFIX}/share/applications/${APP_ID}.desktop")
if(EXISTS "${entry}")
  file(STRINGS "${entry}" lines ENCODING UTF-8)
  foreach(line "[Desktop Entry]" "Type=Application" "Name=Зорквента" "Exec=zorkventa %f" "Icon=zorkventa"
               "MimeType=application/x-zorkventa-case;" "Categories=Education;Physics;")
    list(FIND lines "${line}" at)
    if(NOT (at GREATER -1))
      fail("the menu entry lacks \"${line}\"")
    endif()
  endforeach()
  foreach(key "Comment" "Comment\\[ru\\]")
    set(matching ${lines})
    list(FILTER matching INCLUDE REGEX "^${key}=.+")
    list(LENGTH matching count)
    if(NOT (count EQUAL 1))
      fail("the menu entry needs one non-empty ${key}")
    endif()
  endforeach()
  # Hints count too: a menu entry in two main categories shows up twice in some menus.
  execute_process(COMMAND "${VALIDATE}" "${entry}" RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
  if(NOT (status EQUAL 0) OR NOT (report STREQUAL ""))
    fail("desktop-file-validate finds fault with the menu entry: ${report}")
  endif()
else()
  fail("share/applications/${APP_ID}.desktop is not installed")
endif()

# The icons: the scalable one, and bitmaps whose header gives the size of their folder.
set(icons "${PREFIX}/share/icons/hicolor")
if(EXISTS "${icons}/scalable/apps/zorkventa.svg")
  file(READ "${icons}/scalable/apps/zorkventa.svg" svg)
  if(NOT (svg MATCHES "<svg[^>]*viewBox"))
    fail("the scalable icon is no SVG picture")
  endif()
else()
  fail("the scalable icon is not installed")
endif()
foreach(size 64 128)
  set(png "${icons}/${size}x${size}/apps/zorkventa.png")
  if(EXISTS "${png}")
    file(READ "${png}" signature LIMIT 8 HEX)
    file(READ "${png}" header OFFSET 16 LIMIT 8 HEX) # IHDR: width and height, big-endian
    string(SUBSTRING "${header}" 0 8 width_hex)
    string(SUBSTRING "${header}" 8 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT (signature STREQUAL "89504e470d0a1a0a"))
      fail("${size}x${size}/apps/zorkventa.png is no PNG file")
    endif()
    if(NOT (width EQUAL ${size} AND height EQUAL ${size}))
      fail("${size}x${size}/apps/zorkventa.png is ${width}x${height} pixels")
    endif()
  else()
    fail("the ${size}x${size} icon is not installed")
  endif()
endforeach()

# The software-centre metainfo: valid without looking anything up on the network, with no error
# and no warning, for the version being built.
set(metainfo "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml")
if(EXISTS "${metainfo}")
  execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --no-color "${metainfo}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
  if(NOT (status EQUAL 0) OR report MATCHES "(^|\n)[EW]: ")
    fail("appstreamcli validate finds fault with the metainfo:\n${report}")
  endif()
  file(READ "${metainfo}" text)
  foreach(fragment "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                   "<binary>zorkventa</binary>" "<binary>zorkventa-batch</binary>"
                   "<mediatype>application/x-zorkventa-case</mediatype>" "<release version=\"${VERSION}\"")
    string(FIND "${text}" "${fragment}" at)
    if(at EQUAL -1)
      fail("the metainfo lacks ${fragment}")
    endif()
  endforeach()
else()
  fail("share/metainfo/${APP_ID}.metainfo.xml is not installed")
endif()

# Saved cases: the desktop's file-type database built from the installed package file alone knows
# a .psr file as a case, and the menu entry as the program that opens it.  The query runs as on a
# desktop that is none of the known ones, and sees only the scratch prefix.
set(share "${PREFIX}/share")
if(EXISTS "${share}/mime/packages/${APP_ID}.xml")
  execute_process(COMMAND "${UPDATE_MIME}" "${share}/mime" RESULT_VARIABLE status ERROR_VARIABLE report)
  if(NOT (status EQUAL 0))
    fail("update-mime-database rejects the file type: ${report}")
  endif()
  execute_process(COMMAND "${UPDATE_DESKTOP}" "${share}/applications" RESULT_VARIABLE status ERROR_VARIABLE report)
  if(NOT (status EQUAL 0))
    fail("update-desktop-database fails: ${report}")
  endif()
  file(MAKE_DIRECTORY "${PREFIX}/home" "${PREFIX}/config")
  set(desktop_env "${CMAKE_COMMAND}" -E env "XDG_DATA_DIRS=${share}" "XDG_DATA_HOME=${PREFIX}/home"
                  "XDG_CONFIG_HOME=${PREFIX}/config" "XDG_CONFIG_DIRS=${PREFIX}/config"
                  --unset=XDG_CURRENT_DESKTOP --unset=DESKTOP_SESSION --unset=KDE_FULL_SESSION
                  --unset=GNOME_DESKTOP_SESSION_ID --unset=MATE_DESKTOP_SESSION_ID --unset=DISPLAY)
  # A copy under a name of its own, so the type comes from the name and not from a file that
  # happens to be called so elsewhere.
  set(copy "${PREFIX}/worksheet case.psr")
  file(COPY_FILE "${CASE}" "${copy}")
  execute_process(COMMAND ${desktop_env} "${XDG_MIME}" query filetype "${copy}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE type ERROR_VARIABLE report OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT (status EQUAL 0) OR NOT (type STREQUAL "application/x-zorkventa-case"))
    fail("xdg-mime names the type of a .psr file \"${type}\", not application/x-zorkventa-case ${report}")
  endif()
  execute_process(COMMAND ${desktop_env} "${XDG_MIME}" query default application/x-zorkventa-case
                  RESULT_VARIABLE status OUTPUT_VARIABLE handler ERROR_VARIABLE report OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT (status EQUAL 0) OR NOT (handler STREQUAL "${APP_ID}.desktop"))
    fail("a saved case opens with \"${handler}\", not with ${APP_ID}.desktop ${report}")
  endif()
else()
  fail("share/mime/packages/${APP_ID}.xml is not installed")
endif()

# The manual pages: compressed roff that man reads without a warning.  The batch tool's page names
# every option its usage text lists.
foreach(program zorkventa zorkventa-batch)
  set(page "${share}/man/man1/${program}.1.gz")
  if(NOT EXISTS "${page}")
    fail("the manual page ${program}(1) is not installed")
    continue()
  endif()
  read_gzip("${page}" text)
  string(TOUPPER "${program}" title)
  string(REPLACE "-" "\\\\-" title "${title}")
  if(NOT text MATCHES "^\\.TH ${title} 1 ")
    fail("${program}.1.gz is no manual page of section 1")
  endif()
  set(page_${program} "${text}")
endforeach()
if(EXISTS "${PREFIX}/bin/zorkventa-batch")
  execute_process(COMMAND "${PREFIX}/bin/zorkventa-batch" RESULT_VARIABLE status OUTPUT_VARIABLE usage ERROR_VARIABLE usage)
  if(NOT (status EQUAL 2))
    fail("the batch tool without a case exits with ${status}, not 2")
  endif()
  string(REGEX MATCHALL "--[a-z][a-z-]*" options "${usage}")
  list(REMOVE_DUPLICATES options)
  if(NOT options)
    fail("the batch tool's usage text names no option:\n${usage}")
  endif()
  foreach(option ${options})
    string(REPLACE "-" "\\-" roff "${option}")
    string(FIND "${page_zorkventa-batch}" ".BI ${roff} " at_value)
    string(FIND "${page_zorkventa-batch}" ".B ${roff}\n" at_flag)
    if(at_value EQUAL -1 AND at_flag EQUAL -1)
      fail("the manual page zorkventa-batch(1) does not describe ${option}")
    endif()
  endforeach()
endif()

# The licence and the change log of the version being built, where Debian looks for them.
set(doc "${share}/doc/zorkventa")
if(EXISTS "${doc}/copyright")
  file(STRINGS "${doc}/copyright" lines)
  foreach(line "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
               "License: GPL-3.0-or-later")
    list(FIND lines "${line}" at)
    if(at EQUAL -1)
      fail("share/doc/zorkventa/copyright lacks \"${line}\"")
    endif()
  endforeach()
else()
  fail("share/doc/zorkventa/copyright is not installed")
endif()
read_gzip("${doc}/changelog.gz" changelog)
if(NOT changelog MATCHES "^zorkventa \\(${VERSION}\\) ")
  fail("share/doc/zorkventa/changelog.gz does not start with an entry for version ${VERSION}")
endif()

# The installed batch tool solves the start-up case: C = (460, 166) for c1 = 340 m/s, gamma = 1.4,
# V1 = 680 m/s and a 20-degree wedge.
if(EXISTS "${PREFIX}/bin/zorkventa-batch")
  execute_process(COMMAND "${PREFIX}/bin/zorkventa-batch" --decimal-separator . "${CASE}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT (status EQUAL 0))
    fail("the installed batch tool failed (${status}): ${errors}")
  endif()
  if(NOT (output MATCHES "point_c: 460 166"))
    fail("the installed batch tool solved the start-up case wrongly:\n${output}")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "The installation is incomplete:\n${failures}")
endif()
message(STATUS "Installation in ${PREFIX} complete")
