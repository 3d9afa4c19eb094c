# Shared by install.sh and uninstall.sh of "Tessary Context Menu.plugin": the
# places of the "Rename with Morvane" entries and the record of what was
# placed. The record lives in the installed plug-in itself, so it goes away
# with it; each line is KIND<tab>CHECK<tab>PATH:
#   file   cksum of the file we wrote      a whole file of ours
#   dir    -                               a folder we made
#   thunar cksum of the file before us,    our <action> inside Thunar's uca.xml
#          or "-" when it was there before
# Every file we write carries the word "tessary-context-menu", so a file of
# ours whose record was lost is still told from a file of someone else's.

set -u
tab=$(printf '\t')
marker=tessary-context-menu
thunar_id=tessary-context-menu-rename-with-morvane
record=$here/placed.tsv

# XDG folders; a relative value counts as unset.
data_home=${XDG_DATA_HOME:-}
case $data_home in /*) ;; *) data_home=$HOME/.local/share ;; esac
config_home=${XDG_CONFIG_HOME:-}
case $config_home in /*) ;; *) config_home=$HOME/.config ;; esac

nautilus_script="$data_home/nautilus/scripts/Rename with Morvane"
dolphin6_menu="$data_home/kio/servicemenus/tessary-rename-with-morvane.desktop"
dolphin5_menu="$data_home/kservices5/ServiceMenus/tessary-rename-with-morvane.desktop"
nemo_action="$data_home/nemo/actions/tessary-rename-with-morvane.nemo_action"
thunar_actions="$config_home/Thunar/uca.xml"

say() { printf '%s: %s\n' "${0##*/}" "$*" >&2; }

# Puts NEW's content at FILE: renamed over it, or, when FILE is a link (a
# kept dotfile), written through it so the link stays.
replace_file() { # NEW FILE
    if [ -L "$2" ]; then
        cat -- "$1" >"$2" && rm -f -- "$1"
    else
        mv -f -- "$1" "$2"
    fi
}

checksum() { cksum <"$1" | awk '{ print $1 "-" $2 }'; }

# Thunar's actions without ours: every line from an <action> line to its
# </action> line is dropped when it holds our id; all else is kept as it is.
thunar_without_ours() {
    awk -v id="<unique-id>$thunar_id</unique-id>" '
        block != "" {
            block = block "\n" $0
            if (index($0, "</action>")) {
                if (!index(block, id)) print block
                block = ""
            }
            next
        }
        index($0, "<action>") && !index($0, "</action>") { block = $0; next }
        index($0, "<action>") && index($0, id) { next }
        { print }
        END { if (block != "") print block }
    ' "$1"
}
