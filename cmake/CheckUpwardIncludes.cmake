# Run by CTest: builds each probe made by brindlewick_upward_include_probe() and
# passes only when the compiler refuses every one because the later layer's
# header is not found. Then makes sure no file in src/ reaches around the
# include folders with a path relative to itself ("../app/MApp.h").
#
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPROBES=name:header;... -P CheckUpwardIncludes.cmake

set(failed FALSE)
foreach(probe IN LISTS PROBES)
    string(REPLACE ":" ";" parts "${probe}")
    list(GET parts 0 target)
    list(GET parts 1 header)
    # A header that is gone would be refused by any layer.
    if(NOT EXISTS ${SOURCE_DIR}/src/${header})
        message(SEND_ERROR "${target} includes ${header}, which src/ does not hold: name another")
        set(failed TRUE)
        continue()
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
        RESULT_VARIABLE result
        OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    string(REPLACE "." "\\." header_pattern "${header}")
    string(REGEX MATCH "[^\n]*${header_pattern}'?:? (No such file or directory|file not found)"
        refusal "${output}")
    if(result EQUAL 0)
        message(SEND_ERROR "${target} compiled: its layer can include ${header}")
        set(failed TRUE)
    elseif(NOT refusal)
        message(SEND_ERROR "${target} failed, but not for want of ${header}:\n${output}")
        set(failed TRUE)
    else()
        message(STATUS "${target}: refused: ${refusal}")
    endif()
endforeach()

file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.\\./")
    foreach(line IN LISTS lines)
        message(SEND_ERROR "${source}: ${line}: include by layer name instead")
        set(failed TRUE)
    endforeach()
endforeach()

if(failed)
    message(FATAL_ERROR "A layer can see a later one")
endif()
