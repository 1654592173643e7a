#!/usr/bin/env bash
# The dependency check on small made-up graphs: each case adds one link (or one include
# folder, or one include of a source file) to an otherwise sound graph and names the fault the
# check must report, or "none".
set -euo pipefail
check=$(cd "$(dirname "$0")/.." && pwd)/check-deps.sh
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# case | from target:folder | to target:folder ("-I" before it: an include folder; "#": the
# header a source file of the from folder includes) | fault
cases="
engine uses its rules     | liveview_manager:liveview/manager | liveview_core:liveview/core       | none
tool uses a test harness  | oculan_watch:tools/oculan-watch   | real_window:tests/support         | none
test uses a tool          | codec_test:common/picture/tests   | emulator:tools/recorder-emulator  | none
platform uses common      | platform_ddraw:platform/ddraw     | common_ui:common/ui               | upward
rules use the engine      | liveview_core:liveview/core       | liveview_manager:liveview/manager | upward
windows use a tool        | update_app:update/app             | emulator:tools/recorder-emulator  | upward
program uses a sibling    | playback_core:playback/core       | liveview_core:liveview/core       | another program
picture path via liveview | common_picture:common/picture     | liveview_core:liveview/core       | reaches the live view
folder with no layer      | stray:misc                        | common_picture:common/picture     | no layer holds misc
include from above        | common_ui:common/ui               | -Iliveview/core                   | upward
include from below        | liveview_app:liveview/app         | -Icommon/ui                       | none
source includes from above| common_ui:common/ui/core          | #liveview/core/store/DvrList.h    | upward
source includes below     | playback_app:playback/app         | #common/ui/core/GdiRenderer.h     | none
source includes a sibling | update_app:update/app             | #playback/core/login/LoginTarget.h| another program
source includes a system header | common_ui:common/ui/core    | #QWidget                          | none
"

failures=0
while IFS='|' read -r name from to fault; do
  [ -n "$name" ] || continue
  name=$(echo $name); from=$(echo $from); to=$(echo $to); fault=$(echo $fault)
  dir=$work/case; rm -rf "$dir"; mkdir -p "$dir"
  # The sound graph: the engine and the playback decode path on the picture path of common/.
  folders="liveview_manager liveview/manager
playback_core playback/core
common_picture common/picture
common_record common/record
${from%%:*} ${from#*:}"
  edges="liveview_manager common_picture
liveview_manager common_record
playback_core common_picture
playback_core common_record"
  commands=""
  includes=""
  if [ "${to#\#}" != "$to" ]; then
    includes="${from#*:}/a.cpp ${to#\#}"
  elif [ "${to#-I}" != "$to" ]; then
    commands="  \"command\": \"c++ -I$top/${to#-I} -o x/CMakeFiles/${from%%:*}.dir/a.cpp.o -c a.cpp\",
  \"file\": \"$top/x/a.cpp\""
  else
    folders="$folders
${to%%:*} ${to#*:}"
    edges="$edges
${from%%:*} ${to%%:*}"
  fi
  echo "$folders" | sort -u >"$dir/target-folders.txt"
  {
    echo 'digraph "suite" {'
    echo "$folders" | sort -u | awk '{ print "    \"" $1 "\" [ label = \"" $1 "\", shape = octagon ];" }'
    echo "$edges" | awk '{ print "    \"" $1 "\" -> \"" $2 "\" // " $1 " -> " $2 }'
    echo '}'
  } >"$dir/graph.dot"
  printf '[\n{\n%s\n}\n]\n' "$commands" >"$dir/compile_commands.json"
  echo "$includes" >"$dir/includes.txt"
  status=0
  "$check" --read "$dir" >"$dir/out" 2>&1 || status=$?
  if [ "$fault" = none ]; then
    [ "$status" -eq 0 ] && grep -q '^dependencies point down' "$dir/out" && continue
  else
    [ "$status" -eq 1 ] && grep -q "$fault" "$dir/out" && continue
  fi
  echo "FAIL: $name: expected fault: $fault"
  cat "$dir/out"
  failures=$((failures + 1))
done <<<"$cases"
[ "$failures" -eq 0 ] || exit 1
echo "all cases as expected"
