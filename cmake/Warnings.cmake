# Every target links project_warnings PRIVATE.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wformat=2 -Wconversion -Wsign-conversion -Wold-style-cast)
if(KORVEX_WERROR)
    target_compile_options(project_warnings INTERFACE -Werror)
endif()
