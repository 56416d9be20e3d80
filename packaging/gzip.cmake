# SPDX-License-Identifier: GPL-3.0-or-later
# Compresses documentation the way Debian installs it: at gzip's best
# compression and without the file's name and time in the header, so that
# the same text always gives the same bytes.
include_guard(GLOBAL)
find_program(KOSTWERK_GZIP gzip REQUIRED)

# Installs FILE, which the build makes, as FILE.gz into DESTINATION, and
# appends FILE.gz to the list named OUTPUTS for a target to build.
function(kostwerk_install_gzipped file destination outputs)
  add_custom_command(OUTPUT ${file}.gz
                     COMMAND ${KOSTWERK_GZIP} -9 --no-name --keep --force ${file}
                     DEPENDS ${file}
                     VERBATIM)
  install(FILES ${file}.gz DESTINATION ${destination})
  set(${outputs} ${${outputs}} ${file}.gz PARENT_SCOPE)
endfunction()
