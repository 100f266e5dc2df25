# SPDX-License-Identifier: GPL-3.0-or-later
# The program that ships is built as Debian builds its packages: with the
# hardening flags of dpkg-buildflags (stack protector, _FORTIFY_SOURCE, format
# checks, full RELRO with immediate binding) and as a position-independent
# executable. The sanitized and fuzzing builds bring their own instrumentation
# and leave these out.
if(PECUNETTE_SANITIZE OR PECUNETTE_FUZZ)
  return()
endif()

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
function(pecunette_buildflags variable fallback out)
  set(flags ${fallback})
  if(DPKG_BUILDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${DPKG_BUILDFLAGS} --get ${variable}
                    OUTPUT_VARIABLE got OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(status EQUAL 0)
      separate_arguments(flags UNIX_COMMAND "${got}")
    endif()
  endif()
  # Optimisation, debug information and path mapping stay the build type's choice.
  list(FILTER flags EXCLUDE REGEX "^-g|^-O|^-ffile-prefix-map")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

pecunette_buildflags(CPPFLAGS "-D_FORTIFY_SOURCE=2" hardening_cppflags)
pecunette_buildflags(CXXFLAGS "-fstack-protector-strong;-Wformat;-Werror=format-security" hardening_cxxflags)
pecunette_buildflags(LDFLAGS "-Wl,-z,relro;-Wl,-z,now" hardening_ldflags)

# _FORTIFY_SOURCE needs the optimiser: an unoptimised build would only warn.
foreach(flag IN LISTS hardening_cppflags)
  if(flag MATCHES "_FORTIFY_SOURCE")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  elseif(NOT flag STREQUAL "-Wdate-time")
    add_compile_options(${flag})
  endif()
endforeach()
add_compile_options(${hardening_cxxflags})
add_link_options(${hardening_ldflags})
