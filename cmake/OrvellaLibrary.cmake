# The compiler's warnings for everything of ours, through one interface target that every library, program,
# test and benchmark links privately; CI turns them into errors (ORVELLA_WERROR).
add_library(orvella_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(orvella_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
    if(ORVELLA_WERROR)
        target_compile_options(orvella_warnings INTERFACE -Werror)
    endif()
endif()

# orvella_library(<name> SOURCES <files...> [PUBLIC <targets...>] [PRIVATE <targets...>])
# One static library of ours. Every include names its folder ("store/Query.h"), so a library's include root is
# the source root, declared here as its usage requirement: whatever links the library can include its headers,
# and nothing gets an include path it did not link for. Which folder may reach which is the layering test's.
function(orvella_library name)
    cmake_parse_arguments(L "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE orvella_warnings ${L_PRIVATE})
endfunction()
