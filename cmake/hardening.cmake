# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening Debian builds its packages with (dpkg-buildflags with
# hardening=+all), for every build: stack protector and stack clash
# protection, control-flow protection where the processor has it, fortified
# libc calls, position-independent executables, and relocations read-only and
# bound at start. CXXFLAGS and LDFLAGS from outside still come on top.
include_guard(GLOBAL)
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

option(KOSTWERK_HARDENING "Build with the hardening flags Debian uses for its packages" ON)
if(NOT KOSTWERK_HARDENING)
  return()
endif()

check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "KOSTWERK_HAS${flag}" supported)
  check_cxx_compiler_flag(${flag} ${supported})
  if(${supported})
    add_compile_options(${flag})
  endif()
endforeach()
# Fortified calls need the optimizer, and the sanitizers check those calls
# themselves and better.
if(NOT KOSTWERK_SANITIZE AND NOT KOSTWERK_BUILD_FUZZERS)
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
