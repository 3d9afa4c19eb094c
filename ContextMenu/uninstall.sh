#!/bin/sh
# Removes exactly what install.sh placed, as its record in this folder lists
# it: our files (when still as we wrote them), our <action> in Thunar's
# uca.xml (the file itself only when we made it and it is back as it was),
# and the folders we made, when empty. Nothing else is touched.
# Exit status 0 when all of it is gone.
here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd) || exit 1
. "$here/common.sh"
[ -f "$record" ] || exit 0
status=0

remove_thunar() { # PATH BEFORE
    [ -f "$1" ] || return 0
    new=$1.$marker.$$
    cp -p -- "$1" "$new" && thunar_without_ours "$1" >"$new" && replace_file "$new" "$1" ||
        { rm -f -- "$new"; return 1; }
    if [ "$2" != - ] && [ "$(checksum "$1")" = "$2" ]; then
        rm -f -- "$1"
    fi
}

while IFS="$tab" read -r kind check path; do
    case $kind in
    file)
        [ -e "$path" ] || [ -L "$path" ] || continue
        if [ -f "$path" ] && [ ! -L "$path" ] && [ "$(checksum "$path")" = "$check" ]; then
            rm -f -- "$path" || status=1
        else
            say "$path was changed since it was placed; left as it is"
        fi
        ;;
    thunar) remove_thunar "$path" "$check" || status=1 ;;
    esac
done <"$record"

# Folders last, the deepest first; one that holds anything else stays.
awk -F "$tab" '$1 == "dir" { line[++n] = $0 } END { while (n) print line[n--] }' "$record" |
    while IFS="$tab" read -r kind check path; do
        rmdir -- "$path" 2>/dev/null || true
    done
[ "$status" -eq 0 ] && rm -f -- "$record"
exit "$status"
