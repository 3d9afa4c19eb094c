# Bundles: the application "Morvane 7.app" and the components it carries in
# Contents/Resources/Components, laid out identically in the build tree (so the
# programs run without installing) and under <libdir>/morvane when installed.
# Every part that puts something into a bundle uses these names and functions.

set(MORVANE_BUNDLE_NAME "Morvane 7.app")
set(MORVANE_BUNDLE_BUILD_DIR "${CMAKE_BINARY_DIR}/${MORVANE_BUNDLE_NAME}")
set(MORVANE_BUNDLE_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/morvane/${MORVANE_BUNDLE_NAME}")
# The components, relative to a bundle folder.
set(MORVANE_COMPONENTS_SUBDIR "Contents/Resources/Components")
set(MORVANE_CONTEXT_MENU_NAME "Tessary Context Menu.plugin")
set(MORVANE_PANE_NAME "Tessary Preferences.prefPane")
set(MORVANE_DROPLET_TEMPLATE_NAME "Tessary Droplet.app")
# CFBundleVersion of every bundle we build: 7.5.6 -> 70506.
math(EXPR MORVANE_BUNDLE_VERSION
     "${PROJECT_VERSION_MAJOR} * 10000 + ${PROJECT_VERSION_MINOR} * 100 + ${PROJECT_VERSION_PATCH}")

# morvane_bundle_program(TARGET BUNDLE_SUBPATH): puts TARGET's program into
# <bundle>/Contents/bin, where BUNDLE_SUBPATH is the bundle folder relative to
# the application bundle ("" for the application itself, else for example
# "${MORVANE_COMPONENTS_SUBDIR}/${MORVANE_DROPLET_TEMPLATE_NAME}"), in the build
# tree and installed, with an RPATH that finds the core library from there.
function(morvane_bundle_program target bundle_subpath)
    set(build_dir "${MORVANE_BUNDLE_BUILD_DIR}")
    set(install_dir "${MORVANE_BUNDLE_INSTALL_DIR}")
    if(NOT bundle_subpath STREQUAL "")
        string(APPEND build_dir "/${bundle_subpath}")
        string(APPEND install_dir "/${bundle_subpath}")
    endif()
    file(RELATIVE_PATH to_lib "/${install_dir}/Contents/bin" "/${CMAKE_INSTALL_LIBDIR}")
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY "${build_dir}/Contents/bin"
        INSTALL_RPATH "$ORIGIN/${to_lib}")
    install(TARGETS ${target} RUNTIME DESTINATION "${install_dir}/Contents/bin")
endfunction()
