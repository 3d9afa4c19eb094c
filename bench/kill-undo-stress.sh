#!/usr/bin/env bash
# Tries to break "nothing is lost, and any run can be undone": runs of
# morvane-cli rename over COUNT files are killed (SIGKILL) at a random moment,
# or right after a random K-th rename through the test hook
# MORVANE_TEST_KILL_AFTER_RENAMES, and then undone (the undo itself is killed
# too, now and then, and run again). After every undo each file must hold its
# original name (every file's content is its original path), with nothing
# left under a temporary name. Kinds of run, in turn:
#   shift  f00001..fCOUNT through "Change numbers" +1 (one chain of COUNT renames)
#   case   a change of case through the temporary name (renameMode=1)
#   tree   20 folders of COUNT/20 files, items and folders renamed
#   cycle  s00001..sCOUNT swapped in pairs by "Rename from list" (COUNT/2 cycles,
#          each broken through the cycle's temporary name)
# Prints the runs, kills, files checked, lost and misplaced.
#
#   bench/kill-undo-stress.sh [COUNT [RUNS [SEED]]]   (default 20000 files, 6 runs)
#
# MORVANE_CLI names another binary; BENCH_DIR another folder for the files.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-20000}
runs=${2:-6}
RANDOM=${3:-$$}
cli=$(realpath "${MORVANE_CLI:-build/cli/morvane-cli}")
[ -x "$cli" ] || { echo "build morvane-cli first (scripts/build.sh)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/morvane-stress-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$HOME"
files=$work/files

# Fresh files whose content is their own path below $files.
make_files() { # kind
    rm -rf "$files"
    mkdir -p "$files"
    python3 - "$files" "$count" "$1" <<'PY'
import os, sys
root, count, kind = sys.argv[1], int(sys.argv[2]), sys.argv[3]
def make(rel):
    os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
    with open(os.path.join(root, rel), "w") as f:
        f.write(rel)
if kind == "tree":
    per = max(1, count // 20)
    for d in range(20):
        for i in range(per):
            make(f"folder {d:02d}/item {i:05d}")
elif kind == "cycle":
    with open(os.path.join(os.path.dirname(root), "swap.list"), "w") as pairs:
        for i in range(1, count + 1):
            make(f"s{i:05d}")
            partner = i + 1 if i % 2 else i - 1
            if partner <= count:
                pairs.write(f"{os.path.join(root, f's{i:05d}')}\ts{partner:05d}\n")
else:
    for i in range(1, count + 1):
        make(f"f{i:05d}" if kind == "shift" else f"item {i:05d}")
PY
}

# Counts files checked, lost (an original path with no file holding it) and
# misplaced (a file not at its original path, or any extra entry).
check() {
    python3 - "$files" <<'PY'
import os, sys
root = sys.argv[1]
checked = misplaced = 0
found = set()
for folder, dirs, names in os.walk(root):
    for name in names:
        path = os.path.join(folder, name)
        rel = os.path.relpath(path, root)
        content = open(path).read()
        checked += 1
        found.add(content)
        if content != rel:
            misplaced += 1
expected = int(open(os.path.join(os.path.dirname(root), "expected")).read())
print(checked, max(0, expected - len(found)), misplaced)
PY
}

rename_args() { # kind
    case $1 in
    shift) echo "--step|Change numbers|--set|operand=1|--set|padding=5|--global|processFolders=0|--global|processSubfolders=1" ;;
    case) echo "--step|Make uppercase|--global|renameMode=1|--global|processFolders=0|--global|processSubfolders=1" ;;
    tree) echo "--step|Add to front|--set|string=x |--global|processFolders=1|--global|processSubfolders=1" ;;
    cycle) echo "--step|Rename from list|--set|list file path=$work/swap.list|--global|processFolders=0|--global|processSubfolders=1" ;;
    esac
}

# Starts a command and kills it: after a random K-th rename (hook) or after a
# random delay. Prints 1 when it was killed.
run_and_kill() {
    local status=0
    local how
    if ((RANDOM % 2)); then
        how="after rename $((1 + RANDOM % count))"
        MORVANE_TEST_KILL_AFTER_RENAMES=${how#after rename } "$@" >/dev/null 2>&1 || status=$?
    else
        how="after 0.$((RANDOM % 9))$((RANDOM % 10)) s"
        "$@" >/dev/null 2>&1 &
        local pid=$!
        sleep "${how:6:4}"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" || status=$?
    fi
    if [ "$status" -eq 137 ]; then
        echo "$2 killed $how; " >>"$work/kills"
        echo 1
    else
        echo "$2 ended before its kill; " >>"$work/kills"
        echo 0
    fi
}

kills=0 checked=0 lost=0 misplaced=0 failures=0
kinds=(shift case tree cycle)
for ((r = 0; r < runs; ++r)); do
    kind=${kinds[r % ${#kinds[@]}]}
    make_files "$kind"
    : >"$work/kills"
    find "$files" -type f | wc -l >"$work/expected"
    IFS='|' read -r -a args <<<"$(rename_args "$kind")"
    kills=$((kills + $(run_and_kill "$cli" rename "${args[@]}" "$files")))
    # Now and then the undo is killed too; the next one must finish it.
    if ((RANDOM % 2)); then
        kills=$((kills + $(run_and_kill "$cli" undo)))
    fi
    # "no run to undo": the kill came before the journal, or a killed undo had finished.
    if ! "$cli" undo >"$work/undo.out" 2>"$work/undo.err" &&
        ! grep -q "no run to undo" "$work/undo.err"; then
        failures=$((failures + 1))
        echo "run $r ($kind): undo failed: $(head -3 "$work/undo.err")" >&2
    fi
    read -r c l m <<<"$(check)"
    checked=$((checked + c)) lost=$((lost + l)) misplaced=$((misplaced + m))
    echo "run $((r + 1)) ($kind): $(tr -d '\n' <"$work/kills")$(cat "$work/undo.out" "$work/undo.err" | tr '\n' ' ')checked $c, lost $l, misplaced $m"
done
echo "runs $runs, kills $kills, files checked $checked, lost $lost, misplaced $misplaced, failed undos $failures"
[ "$lost" -eq 0 ] && [ "$misplaced" -eq 0 ] && [ "$failures" -eq 0 ]
