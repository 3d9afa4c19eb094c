# What `cmake --install` puts where, under any prefix (GNUInstallDirs). Each
# part of the project adds its own files with install(); programs that link the
# core library take morvane_install_program() so they find it relative to
# themselves, without LD_LIBRARY_PATH.

file(RELATIVE_PATH morvane_bin_to_lib "/${CMAKE_INSTALL_BINDIR}" "/${CMAKE_INSTALL_LIBDIR}")
set(MORVANE_INSTALL_RPATH "$ORIGIN/${morvane_bin_to_lib}")

function(morvane_install_program target)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "${MORVANE_INSTALL_RPATH}")
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# The core library: libmrvn7core.so.X.Y.Z and its soname link libmrvn7core.so.X,
# which the programs name. Its resources are compiled into it, so none are
# installed; nor are headers or the unversioned link, which only a program
# built against the installed library would need.
install(TARGETS mrvn7core LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_SKIP)

set(MORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/morvane)
install(FILES ${CMAKE_SOURCE_DIR}/COPYING ${CMAKE_SOURCE_DIR}/README.md
              ${CMAKE_SOURCE_DIR}/docs/copyright
        DESTINATION ${MORVANE_DOC_DIR})

# Shell completions, where bash-completion, zsh and fish look for them.
set(MORVANE_BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
set(MORVANE_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
set(MORVANE_FISH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
