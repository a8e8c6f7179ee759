# Every layer library gets an include folder of its own in the build tree,
# holding a single link named after the layer that points at src/<layer>.
# Linking the earlier layers brings their folders along, so a file sees
# `#include "design/X.h"` only for its own layer and the layers before it: an
# include of a later layer is not found, header-only files included. src/
# itself is never an include folder.
function(brindlewick_layer_includes library layer)
    set(folder ${PROJECT_BINARY_DIR}/layers/${layer})
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${folder}/${layer} SYMBOLIC)
    target_include_directories(${library} PUBLIC ${folder})
endfunction()

# The version of project() as "text/Version.h", which every layer can read.
function(brindlewick_version_header library)
    set(folder ${PROJECT_BINARY_DIR}/generated)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/Version.h.in ${folder}/text/Version.h @ONLY)
    target_include_directories(${library} PUBLIC ${folder})
endfunction()

# A file of LIBRARY's layer that includes HEADER of a later layer. It is never
# built with the rest: tests/ builds it and expects the compiler to refuse it.
function(brindlewick_upward_include_probe library header)
    string(MAKE_C_IDENTIFIER "${library}_includes_${header}" name)
    set(source ${PROJECT_BINARY_DIR}/layer_probes/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
    add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
    target_link_libraries(${name} PRIVATE ${library})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
    set_property(GLOBAL APPEND PROPERTY BRINDLEWICK_UPWARD_INCLUDE_PROBES "${name}:${header}")
endfunction()
