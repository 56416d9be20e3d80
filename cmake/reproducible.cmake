# SPDX-License-Identifier: GPL-3.0-or-later
# Two builds of the same sources make the same package, whichever folders
# they are built in: the compiler writes no folder names, and what would
# write the time of day (rcc for the icon's file date, CPack for the times in
# the package) takes SOURCE_DATE_EPOCH. Without one from the environment
# when configuring, that is the date of the changelog's newest entry.
include_guard(GLOBAL)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(KOSTWERK_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  # The newest entry's trailer: " -- Name <address>  Tue, 08 Dec 2026 12:00:00 +0000".
  file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog.in trailers REGEX "^ -- .*>  ")
  list(GET trailers 0 newest)
  string(REGEX REPLACE "^ -- .*>  " "" changelog_date "${newest}")
  execute_process(COMMAND date -u -d "${changelog_date}" +%s
                  OUTPUT_VARIABLE KOSTWERK_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  COMMAND_ERROR_IS_FATAL ANY)
endif()

# The last map that matches wins, so a build folder inside the sources is
# named after the build folder.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
# Every custom command, rcc's among them, runs with the date set.
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
             "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${KOSTWERK_SOURCE_DATE_EPOCH}")
# CPack reads this file when it starts, before it packs anything.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/CPackSourceDateEpoch.cmake CONTENT [[
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} @KOSTWERK_SOURCE_DATE_EPOCH@)
endif()
]] @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackSourceDateEpoch.cmake)
