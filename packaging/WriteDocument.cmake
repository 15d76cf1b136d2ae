# Writes a man page or the changelog, gzipped as the Debian way wants it (-n: no name or time
# stamp inside, so the package is the same from build to build).
#   cmake -DTEMPLATE=in -DOUTPUT=out.gz -DPROJECT_VERSION=v [-DTOOL=korvex-shp]
#         -P WriteDocument.cmake
# With TOOL, @SYNOPSIS@ becomes one paragraph per usage line of `TOOL --help`, so the man page
# lists every command the program knows.
if(TOOL)
    execute_process(COMMAND ${TOOL} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${TOOL} --help failed: ${status}")
    endif()
    string(REPLACE "\n" ";" lines "${help}")
    set(SYNOPSIS "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^  ([^ ]+) (.*)$")
            set(name "${CMAKE_MATCH_1}")
            set(rest "${CMAKE_MATCH_2}")
            foreach(text name rest)
                string(REPLACE "\\" "\\e" ${text} "${${text}}")
                string(REPLACE "-" "\\-" ${text} "${${text}}")
            endforeach()
            string(APPEND SYNOPSIS ".PP\n.B ${name}\n${rest}\n")
        endif()
    endforeach()
    if(SYNOPSIS STREQUAL "")
        message(FATAL_ERROR "${TOOL} --help listed no usage lines")
    endif()
endif()
get_filename_component(plain "${OUTPUT}" NAME_WLE)
get_filename_component(directory "${OUTPUT}" DIRECTORY)
configure_file("${TEMPLATE}" "${directory}/${plain}" @ONLY)
execute_process(COMMAND gzip -9nc "${directory}/${plain}" OUTPUT_FILE "${OUTPUT}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed: ${status}")
endif()
