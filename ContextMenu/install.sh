#!/bin/sh
# Puts "Rename with Morvane" where the file managers look for it: a Nautilus
# script, a Dolphin service menu (Dolphin 6 and 5), a Nemo action and a Thunar
# custom action (one <action> added to uca.xml, the others left as they are).
# Each opens the selected items with PROGRAM, as arguments, never through a
# shell that would split or evaluate their names.
# Usage: install.sh [PROGRAM]   (default: morvane, found on PATH)
# Exit status 0 when every entry is in place; otherwise nothing is left placed.
here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd) || exit 1
. "$here/common.sh"
program=${1:-morvane}

case $program in
*'
'*) say "the program's path holds a line break"; exit 2 ;;
esac

# The program as one quoted word: for sh ('...'), for a command line parsed
# like sh's (Thunar; "..." with \ before \ " $ `, % doubled), and for a key
# file's Exec (the same with every backslash doubled once more).
sh_word="'$(printf '%s' "$program" | sed "s/'/'\\\\''/g")'"
cmd_word="\"$(printf '%s' "$program" | sed 's/[\\"$`]/\\&/g; s/%/%%/g')\""
exec_word=$(printf '%s' "$cmd_word" | sed 's/\\/\\\\/g')
xml_word=$(printf '%s' "$cmd_word" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g')

nautilus_text() {
    cat <<SCRIPT
#!/bin/sh
# Rename with Morvane: opens the selected items in Morvane ($marker).
program=$sh_word
# Nautilus passes the items as arguments (names relative to the folder it
# shows) and lists the local ones, one a line, in
# NAUTILUS_SCRIPT_SELECTED_FILE_PATHS; the arguments keep every name intact.
if [ "\$#" -eq 0 ] && [ -n "\${NAUTILUS_SCRIPT_SELECTED_FILE_PATHS:-}" ]; then
    set -f
    saved_ifs=\$IFS
    IFS='
'
    set -- \$NAUTILUS_SCRIPT_SELECTED_FILE_PATHS
    IFS=\$saved_ifs
    set +f
fi
folder=\$(pwd)
count=\$#
while [ "\$count" -gt 0 ]; do
    item=\$1
    shift
    case \$item in
    /* | *://*) ;;
    *) item=\$folder/\$item ;;
    esac
    set -- "\$@" "\$item"
    count=\$((count - 1))
done
exec "\$program" -- "\$@"
SCRIPT
}

dolphin_text() {
    cat <<MENU
[Desktop Entry]
Type=Service
Name=Rename with Morvane
MimeType=application/octet-stream;inode/directory;
Actions=renameWithMorvane;
X-KDE-ServiceTypes=KonqPopupMenu/Plugin
X-KDE-Priority=TopLevel
X-Tessary-Marker=$marker

[Desktop Action renameWithMorvane]
Name=Rename with Morvane
Icon=morvane
Exec=$exec_word -- %F
MENU
}

nemo_text() {
    cat <<ACTION
[Nemo Action]
# $marker
Name=Rename with Morvane
Comment=Rename the selected items in Morvane
Exec=$exec_word -- %F
Icon-Name=morvane
Selection=notnone
Extensions=any;
ACTION
}

thunar_action() {
    cat <<ACTION
<action>
	<icon>morvane</icon>
	<name>Rename with Morvane</name>
	<submenu></submenu>
	<unique-id>$thunar_id</unique-id>
	<command>$xml_word -- %F</command>
	<description>Rename the selected items in Morvane ($marker)</description>
	<range>*</range>
	<patterns>*</patterns>
	<directories/>
	<audio-files/>
	<image-files/>
	<other-files/>
	<text-files/>
	<video-files/>
</action>
ACTION
}

# Only a missing file or one of ours may be written.
ours_or_free() {
    [ ! -e "$1" ] && [ ! -L "$1" ] && return 0
    [ -f "$1" ] && [ ! -L "$1" ] && grep -q "$marker" "$1"
}

# Makes a folder and its missing parents (with the user's umask), recording
# each one made.
make_folder() {
    [ -d "$1" ] && return 0
    make_folder "$(dirname -- "$1")" || return 1
    mkdir -- "$1" || return 1
    printf 'dir\t-\t%s\n' "$1" >>"$record"
}

# Writes the output of a function to a file through a file beside it.
place_file() { # FUNCTION PATH MODE
    make_folder "$(dirname -- "$2")" || return 1
    "$1" >"$2.$marker.$$" && chmod "$3" "$2.$marker.$$" && mv -f -- "$2.$marker.$$" "$2" ||
        { rm -f -- "$2.$marker.$$"; return 1; }
    printf 'file\t%s\t%s\n' "$(checksum "$2")" "$2" >>"$record"
}

# Thunar's uca.xml with our action: a file of the user's keeps every other
# action byte for byte; a missing one starts from the system's defaults, as
# Thunar itself would.
place_thunar() {
    before=-
    if [ ! -e "$thunar_actions" ]; then
        make_folder "$(dirname -- "$thunar_actions")" || return 1
        seed=
        saved_ifs=$IFS
        IFS=:
        for folder in ${XDG_CONFIG_DIRS:-/etc/xdg}; do
            [ -f "$folder/Thunar/uca.xml" ] && { seed=$folder/Thunar/uca.xml; break; }
        done
        IFS=$saved_ifs
        if [ -n "$seed" ]; then
            cp -- "$seed" "$thunar_actions" || return 1
        else
            printf '<?xml version="1.0" encoding="UTF-8"?>\n<actions>\n</actions>\n' \
                >"$thunar_actions" || return 1
        fi
        before=$(checksum "$thunar_actions")
    fi
    printf 'thunar\t%s\t%s\n' "$before" "$thunar_actions" >>"$record"
    new=$thunar_actions.$marker.$$
    cp -p -- "$thunar_actions" "$new" || return 1
    # The action goes through the environment: awk -v would read its backslashes.
    thunar_without_ours "$thunar_actions" | ACTION=$(thunar_action) awk '
        { lines[NR] = $0 }
        END {
            action = ENVIRON["ACTION"]
            for (i = NR; i > 0; i--) if (index(lines[i], "</actions>")) break
            if (i > 0) {
                at = index(lines[i], "</actions>")
                head = substr(lines[i], 1, at - 1)
                if (head != "") head = head "\n"
                lines[i] = head action "\n" substr(lines[i], at)
            } else {
                for (i = NR; i > 0; i--) if (index(lines[i], "<actions/>")) break
                if (i == 0) exit 1
                at = index(lines[i], "<actions/>")
                lines[i] = substr(lines[i], 1, at - 1) "<actions>\n" action "\n</actions>" \
                    substr(lines[i], at + 10)
            }
            for (j = 1; j <= NR; j++) print lines[j]
        }' >"$new" && replace_file "$new" "$thunar_actions" ||
        { rm -f -- "$new"; say "$thunar_actions: no <actions> element to add to"; return 1; }
}

for file in "$nautilus_script" "$dolphin6_menu" "$dolphin5_menu" "$nemo_action"; do
    ours_or_free "$file" || { say "$file: a file of another program is there"; exit 3; }
done
if { [ -e "$thunar_actions" ] || [ -L "$thunar_actions" ]; } && ! [ -f "$thunar_actions" ]; then
    say "$thunar_actions is not a file"
    exit 3
fi

# An earlier installation's entries go first.
[ -f "$record" ] && { sh "$here/uninstall.sh" || exit 1; }
: >"$record" || exit 1
if place_file nautilus_text "$nautilus_script" 755 &&
    place_file dolphin_text "$dolphin6_menu" 755 &&
    place_file dolphin_text "$dolphin5_menu" 644 &&
    place_file nemo_text "$nemo_action" 644 &&
    place_thunar; then
    exit 0
fi
say "could not place every entry; removing the ones placed"
sh "$here/uninstall.sh"
exit 1
