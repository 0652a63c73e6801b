#!/usr/bin/env bash
# Fails when an include under src/ runs upward or sideways between the
# layers, or when the Qt-free engine includes Qt. Layers, top to bottom:
#   shell > ordinary, differential, job > catalogue, printing > gears, widgets
# (widgets may include gears; siblings never include each other).
set -euo pipefail
cd "$(dirname "$0")/../src"

allowed() { # folder -> the folders it may include from
    case $1 in
    shell) echo "shell ordinary differential job catalogue printing gears widgets" ;;
    ordinary) echo "ordinary catalogue printing gears widgets" ;;
    differential) echo "differential catalogue printing gears widgets" ;;
    job) echo "job catalogue printing gears widgets" ;;
    catalogue) echo "catalogue gears widgets" ;;
    printing) echo "printing gears widgets" ;;
    widgets) echo "widgets gears" ;;
    gears) echo "gears" ;;
    *) echo "" ;;
    esac
}

status=0
while IFS=: read -r file _ line; do
    from=${file%%/*}
    target=$(sed -E 's/^#include "([^/"]+)\/.*/\1/' <<<"$line")
    if [[ " $(allowed "$from") " != *" $target "* ]]; then
        echo "layer violation: $file includes $target/"
        status=1
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' -E '^#include "[^/"]+/' .  | sed 's|^\./||')
if grep -rln --include='*.h' --include='*.cpp' -E '^#include <Q' gears; then
    echo "Qt included in src/gears"
    status=1
fi
[[ $status -eq 0 ]] && echo "Layers: clean"
exit $status
