#!/usr/bin/env bash
# Fails when an include under src/ runs upward or sideways between the
# layers, or when the Qt-free engine includes Qt. Layers, top to bottom:
#   shell > ordinary, differential, job > catalogue, printing > widgets
#   > platform > gears
# (platform, the operating system's seams, includes only itself; siblings
# never include each other).
set -euo pipefail
cd "$(dirname "$0")/../src"

allowed() { # folder -> the folders it may include from
    case $1 in
    shell) echo "shell ordinary differential job catalogue printing widgets platform gears" ;;
    ordinary) echo "ordinary catalogue printing widgets platform gears" ;;
    differential) echo "differential catalogue printing widgets platform gears" ;;
    job) echo "job catalogue printing widgets platform gears" ;;
    catalogue) echo "catalogue widgets platform gears" ;;
    printing) echo "printing widgets platform gears" ;;
    widgets) echo "widgets platform gears" ;;
    platform) echo "platform" ;;
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
# The operating system's own headers belong to the seams in platform (and to
# the mains in shell, which take their arguments and console from it).
system_headers='^#include <(unistd|fcntl|io|iconv|dirent|windows|shellapi|time)\.h>|^#include <(sys|cups)/'
if grep -rEn --include='*.h' --include='*.cpp' "$system_headers" \
    gears widgets catalogue printing ordinary differential job; then
    echo "operating system headers outside src/platform"
    status=1
fi
if grep -rln --include='*.h' --include='*.cpp' -E '^#include <Q' platform; then
    echo "Qt included in src/platform"
    status=1
fi
[[ $status -eq 0 ]] && echo "Layers: clean"
exit $status
