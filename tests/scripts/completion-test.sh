#!/usr/bin/env bash
# Exercises the shell completions as the shells call them. bash: the script is
# sourced, COMP_WORDS and COMP_CWORD set as readline sets them, and COMPREPLY
# checked. fish: `complete -C` on a command line. zsh: the script must parse.
# Usage: completion-test.sh SOURCE_DIR MORVANE_CLI
source_dir=$(realpath "$1")
cli=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-completion-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_STATE_HOME="$work/state"
failures=0

# complete WORD... : runs the completion function over the words, the last one
# being completed, and leaves its answer in COMPREPLY.
complete_words() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _morvane_cli
}

# expect LABEL EXPECTED... : COMPREPLY must hold exactly these, in this order.
expect() {
    local label=$1
    shift
    local got expected
    got=$(printf '[%s]' "${COMPREPLY[@]}")
    expected=$(printf '[%s]' "$@")
    if [ "$got" != "$expected" ]; then
        echo "FAILED: $label: got $got, expected $expected" >&2
        failures=$((failures + 1))
    fi
}

# shellcheck source=/dev/null
source "$source_dir/completions/morvane-cli.bash"
complete -p morvane-cli >/dev/null || { echo "FAILED: no completion for morvane-cli" >&2; exit 1; }

mapfile -t replace < <("$cli" actions --names | grep '^Rep')
[ "${#replace[@]}" -ge 2 ] || { echo "FAILED: fewer than two actions start with Rep" >&2; exit 1; }
complete_words --step '"Rep'
expect 'step "Rep' "${replace[@]}" # readline closes the quote itself
complete_words preview --step "'Replace t"
expect "step 'Replace t" "Replace text"
complete_words preview --step 'Replace\ t'
expect 'step Replace\ t' 'Replace\ text'
complete_words preview --step Make
expect "step Make" 'Make\ uppercase' 'Make\ lowercase' 'Make\ propercase'

complete_words preview --step '"Replace text"' --set '"sea'
expect 'set "sea after Replace text' "search term="
complete_words preview --step 'Replace\ text' --set 'replacement\ t'
expect 'set replacement\ t after Replace text' 'replacement\ term='
complete_words rename --step "Replace text" --set "search term=a" --step '"Add number to start"' --set pad
expect "set after the second step" "padding="
complete_words preview --set ""
expect "set before any step"
complete_words preview --global processF
expect "global processF" "processFiles=" "processFolders="
complete_words actions --keys '"Add number to s'
expect "keys" "Add number to start"
complete_words actions '"Add number to e'
expect "actions NAME" "Add number to end"

complete_words ren
expect "command" "rename"
complete_words rename --all
expect "rename option" "--allow-conflicts"
complete_words save-list --layout ""
expect "layout" 0 1 2

# fish, through the installed name on the PATH.
if command -v fish >/dev/null; then
    mkdir -p "$work/bin"
    ln -s "$cli" "$work/bin/morvane-cli"
    fish_reply=$(PATH="$work/bin:$PATH" fish --no-config -c "
        source '$source_dir/completions/morvane-cli.fish'
        complete -C 'morvane-cli preview --step Replace\ t'
        complete -C 'morvane-cli preview --step \"Replace text\" --set sea'" | cut -f1)
    # fish quotes a candidate itself when it inserts it.
    if [ "$fish_reply" != "$(printf '%s\n' 'Replace text' 'search term=')" ]; then
        echo "FAILED: fish: $fish_reply" >&2
        failures=$((failures + 1))
    fi
fi
if command -v zsh >/dev/null && ! zsh -n "$source_dir/completions/_morvane-cli"; then
    echo "FAILED: zsh cannot parse _morvane-cli" >&2
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "completion-test: every completion as expected"
[ "$failures" -eq 0 ]
