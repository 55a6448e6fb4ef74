#!/bin/sh
# The core's folders stand on floors, lowest first; a file includes from its
# own floor and those below it only. An include that runs up a floor is a
# cycle waiting to happen: this names each one and fails. A new folder of
# the core takes its place in the list before anything may include it.
cd "$(dirname "$0")/../src" || exit 2

floors="platform.h app_title.h resource_ids.h forms system main_window about actions hotkeys countdown
command_line shell triggers commands app.h app.cpp"

# The floor of a path below src/core (its folder, or the file itself at the
# top of the core); nothing when it has none.
floor() {
  first=${1%%/*}
  n=0
  for name in $floors; do
    [ "$name" = "$first" ] && echo $n && return
    n=$((n + 1))
  done
}

status=0
for file in $(cd core && find . -name '*.h' -o -name '*.cpp' -o -name '*.in' | sed 's#^\./##' | sort); do
  own=$(floor "$file")
  if [ -z "$own" ]; then
    echo "src/core/$file: its folder has no floor in tools/check_floors.sh"
    status=1
    continue
  fi
  for used in $(sed -n 's#^ *\#include "core/\([^"]*\)".*#\1#p' "core/$file"); do
    up=$(floor "$used")
    if [ -z "$up" ] || [ "$up" -gt "$own" ]; then
      echo "src/core/$file includes core/$used, a floor above it"
      status=1
    fi
  done
done
# What the programs share stands below the core and the Windows layer.
if grep -rn '#include "\(core\|win32\)/' common; then status=1; fi
exit $status
