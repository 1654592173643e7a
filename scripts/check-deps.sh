#!/usr/bin/env bash
# Checks that every dependency of the suite points down its layers, lowest first:
#   0 platform/   1 common/   2 the programs' rules (liveview/core, playback/core, update/core,
#   launcher/core)   3 the live-view engine (liveview/manager)   4 the programs' windows
#   (liveview/app, playback/app, update/app, launcher/app)   5 tools/, tests and benchmarks
# A target may use its own layer and those below, never a sibling program's folder. Checked on
# the link graph (cmake --graphviz), on the include folders of every target's compile commands,
# in a scratch configure, so the build in use is left alone, and on every source's includes,
# which name their folder from the top of the tree. The engine and the playback decode
# path also take the picture path (decoders, conversions, frame-head check) from common/,
# without linking anything of the live view for it.
#
# scripts/check-deps.sh [SCRATCH_DIR]   configures SCRATCH_DIR (default build/dependency-graph)
# scripts/check-deps.sh --read DIR      checks DIR's graph.dot, target-folders.txt,
#                                       compile_commands.json and includes.txt as they are
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--read" ]; then
  dir=$2
else
  dir=${1:-$top/build/dependency-graph}
  mkdir -p "$dir"
  cat >"$dir/CMakeGraphVizOptions.cmake" <<'OPTIONS'
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_CUSTOM_TARGETS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
OPTIONS
  generator=()
  [ -f "$dir/CMakeCache.txt" ] || ! command -v ninja >/dev/null || generator=(-G Ninja)
  if ! "${CMAKE:-cmake}" -S "$top" -B "$dir" "${generator[@]}" --graphviz="$dir/graph.dot" \
      -DSUITE_GUI=ON -DSUITE_BENCH=ON -DSUITE_SANITIZE= -DSUITE_FUZZ=OFF \
      -DSUITE_TARGET_FOLDERS="$dir/target-folders.txt" >"$dir/configure.log" 2>&1; then
    cat "$dir/configure.log"
    exit 1
  fi
fi

dir=$(cd "$dir" && pwd)
if [ "${1:-}" != "--read" ]; then
  # "file included" a line for every include of the tree's own headers.
  (cd "$top" && find platform common liveview playback update launcher tools tests bench \
      \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 grep -H '^#include "' | sed 's/:#include "\([^"]*\)".*/ \1/') >"$dir/includes.txt"
fi
awk -v top="$top/" -v scratch="$dir/" '
  function layer(folder) {
    if (folder ~ /(^|\/)(tests|bench|fuzz)(\/|$)/ || folder ~ /^tools(\/|$)/) return 5
    if (folder ~ /^(liveview|playback|update|launcher)\/app(\/|$)/) return 4
    if (folder ~ /^liveview\/manager(\/|$)/) return 3
    if (folder ~ /^(liveview|playback|update|launcher)\/core(\/|$)/) return 2
    if (folder ~ /^common(\/|$)/) return 1
    if (folder ~ /^platform(\/|$)/) return 0
    return -1
  }
  function program(folder) {
    return folder ~ /^(liveview|playback|update|launcher)(\/|$)/ ? substr(folder, 1, index(folder "/", "/") - 1) : ""
  }
  function report(line) {
    if (!(line in reported)) { reported[line] = 1; print line; ++faults }
  }
  # One use of "to" by "from": an upward arrow, a sibling program, or a folder no layer holds.
  function check(from, to, what) {
    if (layer(from) < 0) report("no layer holds " from)
    else if (layer(to) < 0) report("no layer holds " to)
    else if (layer(to) > layer(from)) report("upward: " what)
    else if (program(from) != "" && program(to) != "" && program(from) != program(to))
      report("another program: " what)
  }
  # Everything "target" links, directly or through others.
  function reach(target, seen,    i) {
    for (i = 1; i <= uses_count[target]; ++i)
      if (!(uses[target, i] in seen)) { seen[uses[target, i]] = 1; reach(uses[target, i], seen) }
  }
  FILENAME ~ /target-folders\.txt$/ { folder[$1] = $2; ++targets; next }
  FILENAME ~ /graph\.dot$/ && /\[ label = "/ {
    match($0, /label = "[^"]*"/); name[$1] = substr($0, RSTART + 9, RLENGTH - 10); next
  }
  FILENAME ~ /graph\.dot$/ && $2 == "->" && ($1 in name) && ($3 in name) {
    from = name[$1]; to = name[$3]
    if (!(from in folder) || !(to in folder)) next
    uses[from, ++uses_count[from]] = to
    check(folder[from], folder[to], from " (" folder[from] ") links " to " (" folder[to] ")")
    next
  }
  FILENAME ~ /compile_commands\.json$/ && /^  "command": / { command = $0; next }
  FILENAME ~ /compile_commands\.json$/ && /^  "file": / {
    # The target compiling the file names its object folder: -o <folder>/CMakeFiles/<target>.dir/
    if (!match(command, /\/CMakeFiles\/[^\/ ]+\.dir\//)) next
    target = substr(command, RSTART + 12, RLENGTH - 17)
    if (!(target in folder)) next
    count = split(command, words, / +/)
    for (i = 1; i <= count; ++i) {
      if (index(words[i], "-I" top) != 1 || index(words[i], "-I" scratch) == 1) continue
      include = substr(words[i], length(top) + 3); sub(/\/$/, "", include)
      check(folder[target], include, target " (" folder[target] ") includes from " include)
    }
    next
  }
  # An include names its folder from the top; the including file sits in the folder using it.
  FILENAME ~ /includes\.txt$/ && $2 ~ /^(platform|common|liveview|playback|update|launcher|tools|tests|bench)\// {
    from = $1; sub(/\/[^\/]*$/, "", from)
    to = $2; sub(/\/[^\/]*$/, "", to)
    check(from, to, $1 " includes " $2)
    next
  }
  END {
    picture["common_picture"]; picture["common_record"]
    split("liveview_manager playback_core", consumers, " ")
    for (c in consumers) {
      consumer = consumers[c]
      if (!(consumer in folder)) { report("missing target " consumer); continue }
      for (p in picture) {
        linked = 0
        for (i = 1; i <= uses_count[consumer]; ++i) linked = linked || uses[consumer, i] == p
        if (!linked) report(consumer " does not link the picture path " p)
      }
      # What the consumer takes from outside its own program must not lead into the live view.
      for (i = 1; i <= uses_count[consumer]; ++i) {
        used = uses[consumer, i]
        if (program(folder[used]) == program(folder[consumer])) continue
        split("", seen); seen[used] = 1; reach(used, seen)
        for (t in seen)
          if (program(folder[t]) == "liveview")
            report(consumer " reaches the live view through " used ": " t)
      }
    }
    if (faults) { print faults " dependency fault(s)"; exit 1 }
    print "dependencies point down: " targets " targets"
  }
' "$dir/target-folders.txt" "$dir/graph.dot" "$dir/compile_commands.json" "$dir/includes.txt"
