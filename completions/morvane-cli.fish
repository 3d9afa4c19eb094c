# fish completion for morvane-cli: commands and options; --step, --keys and
# "actions NAME" complete action names, --set the parameter keys of the step before it,
# --global the global settings' keys, all read from the program itself.

function __morvane_cli_program
    set -l tokens (commandline -opc)
    echo $tokens[1]
end

function __morvane_cli_using
    set -l tokens (commandline -opc)
    test (count $tokens) -ge 2; and contains -- $tokens[2] $argv
end

# The parameter keys of the last --step on the line, each followed by "=".
function __morvane_cli_step_keys
    set -l tokens (commandline -opc)
    set -l step
    for i in (seq 2 (math (count $tokens) - 1))
        test "$tokens[$i]" = --step; and set step $tokens[(math $i + 1)]
    end
    test -n "$step"; or return
    set -l cli (__morvane_cli_program)
    for key in ($cli actions --keys "$step" 2>/dev/null)
        echo "$key="
    end
end

function __morvane_cli_names
    set -l cli (__morvane_cli_program)
    $cli actions --names 2>/dev/null
end

function __morvane_cli_global_keys
    set -l cli (__morvane_cli_program)
    for key in ($cli actions --global-keys 2>/dev/null)
        echo "$key="
    end
end

set -l commands preview rename save-list actions undo
set -l renames preview rename save-list
complete -c morvane-cli -n "not __fish_seen_subcommand_from $commands" -f -a "$commands"
complete -c morvane-cli -n "not __fish_seen_subcommand_from $commands" -l help -d "show the usage"
complete -c morvane-cli -n "not __fish_seen_subcommand_from $commands" -l version -d "show the version"

complete -c morvane-cli -n "__morvane_cli_using $renames" -l step -x -d "append a step" -a "(__morvane_cli_names)"
complete -c morvane-cli -n "__morvane_cli_using $renames" -l set -x -d "set KEY=VALUE of the step before" -a "(__morvane_cli_step_keys)"
complete -c morvane-cli -n "__morvane_cli_using $renames" -l chain -r -F -d "load a saved chain"
complete -c morvane-cli -n "__morvane_cli_using $renames" -l app-chain -d "use the application's chain"
complete -c morvane-cli -n "__morvane_cli_using $renames" -l current -x -d "make step N current"
complete -c morvane-cli -n "__morvane_cli_using $renames" -l global -x -d "set a global setting KEY=VALUE" -a "(__morvane_cli_global_keys)"
complete -c morvane-cli -n "__morvane_cli_using preview rename actions" -l json -d "machine output"
complete -c morvane-cli -n "__morvane_cli_using preview" -l cutoff -d "apply the preview's cut-off"
complete -c morvane-cli -n "__morvane_cli_using rename" -l interactive -d "ask before each rename"
complete -c morvane-cli -n "__morvane_cli_using rename" -l allow-conflicts -d "rename despite shared names"
complete -c morvane-cli -n "__morvane_cli_using rename" -l no-journal -d "keep no journal (no undo)"
complete -c morvane-cli -n "__morvane_cli_using save-list" -l layout -x -a "0 1 2" -d "layout of the list"
complete -c morvane-cli -n "__morvane_cli_using save-list" -l changed-only -d "only changed items"
complete -c morvane-cli -n "__morvane_cli_using save-list" -l output -r -F -d "the file to write (- for standard output)"
complete -c morvane-cli -n "__morvane_cli_using actions" -f -a "(__morvane_cli_names)" -d "explain one action"
complete -c morvane-cli -n "__morvane_cli_using actions" -l names -d "only the action names"
complete -c morvane-cli -n "__morvane_cli_using actions" -l keys -x -d "the parameter keys of an action" -a "(__morvane_cli_names)"
complete -c morvane-cli -n "__morvane_cli_using actions" -l global-keys -d "the global settings' keys"
complete -c morvane-cli -n "__morvane_cli_using undo" -l list -d "list the runs"
