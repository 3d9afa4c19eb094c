# The warnings of our own targets: -Wall -Wextra on every target defined in
# this source tree (not on imported ones), and with MORVANE_WERROR (the test
# command sets it) every warning fails the build.
option(MORVANE_WERROR "Treat every warning of our own code as an error" OFF)

add_library(morvane_warnings INTERFACE)
target_compile_options(morvane_warnings INTERFACE -Wall -Wextra $<$<BOOL:${MORVANE_WERROR}>:-Werror>)
# GCC 12 reports false "maybe uninitialized" warnings inside std::optional and
# std::variant at -O2 and under the sanitizers; every other warning stays on.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(morvane_warnings INTERFACE -Wno-maybe-uninitialized)
endif()

# Links the warnings to every compiled target of a folder and of its subfolders.
function(morvane_apply_warnings folder)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
            target_link_libraries(${target} PRIVATE morvane_warnings)
        endif()
    endforeach()
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(subfolder ${subfolders})
        morvane_apply_warnings(${subfolder})
    endforeach()
endfunction()
