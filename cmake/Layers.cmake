# The core's layers, lowest first. A layer compiles its sources against its own
# folders and those of the layers below it that it names, nothing else: it sees
# the source tree through a tree of its own, build/layers/<layer>/, holding
# links to just its folders. An include of a higher layer is not found, so it
# fails to build (tests/layers checks that). The objects of all layers make the
# one shared core library.
#
#   morvane_layer(NAME FOLDERS folder... [BELOW layer...])

function(morvane_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "FOLDERS;BELOW")
    set(root ${CMAKE_BINARY_DIR}/layers/${name})
    set(sources)
    foreach(folder ${layer_FOLDERS})
        get_filename_component(parent ${root}/${folder} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    add_library(mrvn_${name} OBJECT ${sources})
    # -fvisibility-inlines-hidden: the core library does not export the inline
    # member functions of its headers; a program that uses one has its own copy.
    set_target_properties(mrvn_${name} PROPERTIES POSITION_INDEPENDENT_CODE ON
                                                  VISIBILITY_INLINES_HIDDEN ON)
    target_include_directories(mrvn_${name} PUBLIC ${root} ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(mrvn_${name} PUBLIC PkgConfig::ICU PkgConfig::PLIST PkgConfig::EXIV2
                          PkgConfig::TAGLIB Threads::Threads)
    foreach(below ${layer_BELOW})
        target_link_libraries(mrvn_${name} PUBLIC mrvn_${below})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY MORVANE_LAYERS mrvn_${name})
endfunction()
