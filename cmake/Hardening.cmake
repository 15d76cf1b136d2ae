# The distribution's hardening flags, as dpkg-buildflags gives them to Debian's own packages
# (stack protector, _FORTIFY_SOURCE, format checks, read-only relocations bound at start-up),
# for every optimised build. The build type keeps choosing optimisation and debug information.
# The sanitizer and fuzz builds go without: _FORTIFY_SOURCE needs optimisation and gets in
# AddressSanitizer's way.
option(KORVEX_HARDEN "Build with the distribution's hardening flags (dpkg-buildflags)" ON)
find_program(KORVEX_DPKG_BUILDFLAGS dpkg-buildflags)
if(KORVEX_HARDEN AND KORVEX_DPKG_BUILDFLAGS AND NOT KORVEX_SANITIZE AND NOT KORVEX_FUZZ
        AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${KORVEX_DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^-g$|^-O[0-9sgz]?$|^-ffile-prefix-map=")
        if(kind STREQUAL "LDFLAGS")
            add_link_options(${flags})
        else()
            add_compile_options(${flags})
        endif()
    endforeach()
endif()
