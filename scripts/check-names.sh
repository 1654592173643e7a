#!/usr/bin/env bash
# Fails when the project's own sources break the naming rules in .clang-tidy. Reads the compile
# database of a configured build (BUILD_DIR, default build/; configured here when missing).
# A translation unit found clean before, with the same text, the same project headers and the
# same rules, is not parsed again: its stamp lives in the build folder. The header lists come
# from the last build, so in a build folder that has not been built everything is checked.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${BUILD_DIR:-build}
jobs=${NAMES_JOBS:-$(($(nproc) < 4 ? $(nproc) : 4))}

[ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" -G Ninja >/dev/null
build=$(cd "$build" && pwd)
stamps=$build/names-clean.stamps
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Headers are reported from the folders git tracks sources in, never from a build folder.
folders=$(git ls-files '*.h' | grep / | cut -d/ -f1 | sort -u | paste -sd'|')
header_filter="^$top/($folders)/"

# Translation units of the project; generated ones are left out.
grep -o '"file": "[^"]*"' "$build/compile_commands.json" | sed 's/^"file": "//; s/"$//' |
    grep "^$top/" | grep -v "^$build/" | sort -u >"$work/units"

# "unit<TAB>file" for each project file a unit read at the last build.
if [ -f "$build/.ninja_deps" ]; then
    ninja -C "$build" -t deps 2>/dev/null | awk -v build="$build" -v top="$top/" '
        function norm(p,    n, i, k, part, out) {
            if (substr(p, 1, 1) != "/") p = build "/" p
            n = split(p, part, "/"); k = 0
            for (i = 2; i <= n; i++) {
                if (part[i] == "" || part[i] == ".") continue
                if (part[i] == "..") { if (k > 0) k--; continue }
                stack[++k] = part[i]
            }
            out = ""
            for (i = 1; i <= k; i++) out = out "/" stack[i]
            return out
        }
        /^[^ ]/ { unit = ""; valid = ($0 ~ /\(VALID\)$/); next }
        valid && /^    / {
            p = norm(substr($0, 5))
            if (unit == "") unit = p
            if (index(p, top) == 1) print unit "\t" p
        }' | sort -u >"$work/deps"
else
    : >"$work/deps"
fi

# A unit's key: the rules and the text of every project file it read. Units whose files are
# not known get no key: they are checked and never stamped.
cut -f2 "$work/deps" | sort -u | xargs -r sha1sum 2>/dev/null | awk '{print $2 "\t" $1}' \
    >"$work/hashes" || true
rules=$(sha1sum .clang-tidy | cut -c1-40)
mkdir "$work/keys.d"
awk -F'\t' -v rules="$rules" -v dir="$work/keys.d" '
    FILENAME == ARGV[1] { hash[$1] = $2; next }
    FILENAME == ARGV[2] { files[$1] = files[$1] $2 "=" hash[$2] "\n"; next }
    {
        if ($1 in files) {
            material = dir "/" FNR
            printf "%s\n%s", rules, files[$1] >material
            close(material)
        }
        print FNR "\t" $1
    }' "$work/hashes" "$work/deps" "$work/units" >"$work/numbered"
# One sha1sum for all units: "number key" lines.
(cd "$work/keys.d" && find . -type f -printf '%f\n' | xargs -r sha1sum) |
    awk '{print $2 "\t" $1}' >"$work/unit-keys"
awk -F'\t' 'FILENAME == ARGV[1] { key[$1] = $2; next }
             { print $2 " " (($1 in key) ? key[$1] : "-") }' \
    "$work/unit-keys" "$work/numbered" >"$work/keys"

touch "$stamps"
awk 'FILENAME == ARGV[1] { clean[$1] = 1; next } !($2 in clean)' "$stamps" "$work/keys" >"$work/todo"
awk 'FILENAME == ARGV[1] { clean[$1] = 1; next } ($2 in clean) { print $2 }' "$stamps" "$work/keys" \
    >"$work/kept"

mkdir "$work/out"
if [ -s "$work/todo" ]; then
    export build header_filter work
    xargs -P "$jobs" -L 1 bash -c '
        out=$(mktemp -p "$work/out")
        if clang-tidy -p "$build" --quiet --header-filter="$header_filter" "$0" >"$out" 2>&1
        then [ "$1" = - ] || echo "$1" >"$out.clean"
        elif grep -q "readability-identifier-naming" "$out"
        then touch "$out.failed"
        else echo "$0" >"$out.unparsed"  # clang could not parse it: the build will say why
        fi' <"$work/todo"
fi

cat "$work/kept" "$work/out"/*.clean 2>/dev/null | sort -u >"$stamps" || true
for marker in "$work/out"/*.unparsed; do
    [ -e "$marker" ] || continue
    echo "check-names: clang could not parse $(cat "$marker"); its names were checked as far" \
        "as it got" >&2
done
failed=$(find "$work/out" -name '*.failed' | wc -l)
if [ "$failed" -gt 0 ]; then
    for marker in "$work/out"/*.failed; do
        out=${marker%.failed}
        sed 's/\x1b\[[0-9;]*m//g' "$out" | grep -E ': (error|warning):' || cat "$out"
    done | sort -u
    echo "check-names: $failed translation units break the naming rules in .clang-tidy" >&2
    exit 1
fi
echo "check-names: $(wc -l <"$work/units") translation units named by the rules" \
    "($(wc -l <"$work/todo") parsed)"
