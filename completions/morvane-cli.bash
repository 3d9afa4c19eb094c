# bash completion for morvane-cli                            -*- shell-script -*-
# Commands and options; --step, --keys and "actions NAME" complete action names, --set the
# parameter keys of the step before it, --global the global settings' keys.
# Names and keys come from the program itself (morvane-cli actions --names,
# --keys NAME, --global-keys), the one the command line names.

# The word as the shell will read it: without its quotes or backslashes.
_morvane_cli_unquote() {
    local word=$1
    case $word in
        \"*\") word=${word:1:${#word}-2} ;;
        \'*\') word=${word:1:${#word}-2} ;;
        \"* | \'*) word=${word:1} ;;
        *) word=${word//\\/} ;;
    esac
    printf '%s' "$word"
}

# Fills COMPREPLY with the lines of $1 that start with the current word, quoted
# for the command line: inside an opened quote readline closes it itself; a
# bare word gets backslashes before spaces. $2 is appended to every candidate.
_morvane_cli_reply_lines() {
    local lines=$1 suffix=$2 cur=${COMP_WORDS[COMP_CWORD]} prefix line
    prefix=$(_morvane_cli_unquote "$cur")
    COMPREPLY=()
    while IFS= read -r line; do
        [[ -n $line && $line == "$prefix"* ]] || continue
        if [[ $cur == [\"\']* ]]; then
            COMPREPLY+=("$line$suffix")
        else
            COMPREPLY+=("$(printf '%q' "$line")$suffix")
        fi
    done <<<"$lines"
}

# The action of the last --step before the current word.
_morvane_cli_current_step() {
    local i step=
    for ((i = 1; i < COMP_CWORD - 1; i++)); do
        [[ ${COMP_WORDS[i]} == --step ]] && step=$(_morvane_cli_unquote "${COMP_WORDS[i + 1]}")
    done
    printf '%s' "$step"
}

_morvane_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local cli=${COMP_WORDS[0]/#\~/$HOME} step
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "preview rename save-list actions undo --help --version" -- "$cur")
        return
    fi
    case $prev in
        --step | --keys)
            _morvane_cli_reply_lines "$("$cli" actions --names 2>/dev/null)" ""
            return
            ;;
        --set)
            step=$(_morvane_cli_current_step)
            [[ -n $step ]] || return
            _morvane_cli_reply_lines "$("$cli" actions --keys "$step" 2>/dev/null)" "="
            compopt -o nospace 2>/dev/null || true
            return
            ;;
        --global)
            _morvane_cli_reply_lines "$("$cli" actions --global-keys 2>/dev/null)" "="
            compopt -o nospace 2>/dev/null || true
            return
            ;;
        --layout)
            mapfile -t COMPREPLY < <(compgen -W "0 1 2" -- "$cur")
            return
            ;;
        --current) return ;;
        --chain | --output)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
    esac
    if [[ ${COMP_WORDS[1]} == actions && $cur != -* ]]; then
        _morvane_cli_reply_lines "$("$cli" actions --names 2>/dev/null)" ""
        return
    fi
    [[ $cur == -* ]] || return # paths: the default file completion
    local chain="--step --set --chain --app-chain --current --global"
    local options
    case ${COMP_WORDS[1]} in
        preview) options="$chain --json --cutoff --help" ;;
        rename) options="$chain --json --interactive --allow-conflicts --no-journal --help" ;;
        save-list) options="$chain --layout --changed-only --output --help" ;;
        actions) options="--json --names --keys --global-keys --help" ;;
        undo) options="--list --help" ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
}
complete -o default -F _morvane_cli morvane-cli
