# Run by CTest: every .cpp and .h of src/, tests/, bench/ and fuzz/ must be laid
# out as .clang-format says; the differences are printed.
#
#   cmake -DCLANG_FORMAT=... -DSOURCE_DIR=... -P CheckFormat.cmake

set(files)
foreach(folder src tests bench fuzz)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    list(APPEND files ${found})
endforeach()
list(LENGTH files count)
execute_process(
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Not formatted: run clang-format -i on the files above")
endif()
message(STATUS "${count} files formatted")
