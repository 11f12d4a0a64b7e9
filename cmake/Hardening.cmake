# Debian's hardening flags, as dpkg-buildflags gives them with every feature
# on, for the optimised builds. Debug builds go without: _FORTIFY_SOURCE
# needs the optimiser, and the sanitizers and the fuzzer bring checks of
# their own that these would only get in the way of.
#
# Only the hardening is taken: the optimisation and debug flags stay the
# build type's, and the file-prefix map (which names the folder of the run)
# is left out.

option(QUILLMERE_HARDENING "Build optimised builds with Debian's hardening flags (dpkg-buildflags)" ON)
set(QUILLMERE_HARDENED ${QUILLMERE_HARDENING})
if(CMAKE_BUILD_TYPE STREQUAL "Debug" OR QUILLMERE_SANITIZE OR QUILLMERE_FUZZ)
  set(QUILLMERE_HARDENED OFF)
endif()

find_program(QUILLMERE_DPKG_BUILDFLAGS dpkg-buildflags)
if(QUILLMERE_HARDENED)
  # Position-independent executables whatever the compiler's default.
  include(CheckPIESupported)
  check_pie_supported(OUTPUT_VARIABLE QUILLMERE_PIE_OUTPUT LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
if(QUILLMERE_HARDENED AND QUILLMERE_DPKG_BUILDFLAGS)
  set(QUILLMERE_HARDENING_FLAGS "")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${QUILLMERE_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      continue()
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag IN LISTS flags)
      if(flag MATCHES "^-(g|O)" OR flag MATCHES "^-f(file|debug|macro)-prefix-map=")
        continue()
      endif()
      if(kind STREQUAL "LDFLAGS")
        add_link_options(${flag})
      else()
        add_compile_options(${flag})
      endif()
      list(APPEND QUILLMERE_HARDENING_FLAGS ${flag})
    endforeach()
  endforeach()
  message(STATUS "Hardening: ${QUILLMERE_HARDENING_FLAGS}")
elseif(QUILLMERE_HARDENED)
  message(STATUS "Hardening: dpkg-buildflags not found, built without its flags")
endif()
