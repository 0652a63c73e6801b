# Sourced by the screenshot scripts: drives a program's windows under Xvfb
# with xdotool as a user would, and saves them with ImageMagick's import.
# Set before use: out (the folder), and optionally scale (window pixels per
# layout pixel, 1 by default), pause (seconds after a click, 0.5), prefix
# (of the saved names) and tries (of 0.2 s for a window to appear, 50).

window() { # the id of the visible window with that exact title
    local id=""
    for _ in $(seq "${tries:-50}"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n "$id" ]] && break
        sleep 0.2
    done
    [[ -n "$id" ]] || { echo "screenshots: no window \"$1\"" >&2; exit 1; }
    echo "$id"
}
scaled() { # a layout pixel count in window pixels
    awk -v v="$1" -v s="${scale:-1}" 'BEGIN { printf "%d", v * s }'
}
click() { # window id, x, y in layout pixels
    xdotool windowraise "$1" mousemove --window "$1" "$(scaled "$2")" "$(scaled "$3")" click 1
    sleep "${pause:-0.5}"
}
double_click() { # window id, x, y in layout pixels
    xdotool windowraise "$1" mousemove --window "$1" "$(scaled "$2")" "$(scaled "$3")" \
        click --repeat 2 --delay 80 1
    sleep "${pause:-0.5}"
}
type_text() { # window id, x, y of a text field, text in place of the field's
    click "$1" "$2" "$3"
    xdotool key ctrl+a
    xdotool type --delay 20 "$4"
}
shot() { # window id, name
    xdotool windowraise "$1"
    sleep 0.5
    import -window "$1" "$out/${prefix:-}$2.png"
    echo "saved $out/${prefix:-}$2.png"
}
fill_form2() { # from ChaDong's window id: opens 增加机床, types YBS3120 20–100, C 10, lacking 37 and 41; echoes Form2's id
    click "$1" 32 9 # menu item 增加机床
    local form2
    form2=$(window 增加机床)
    xdotool windowmove "$form2" 0 0
    type_text "$form2" 245 37 "YBS3120" >&2 # Text1
    type_text "$form2" 245 90 "20" >&2      # Text2
    type_text "$form2" 245 144 "100" >&2    # Text3
    type_text "$form2" 245 194 "10" >&2     # Text4
    type_text "$form2" 245 246 "37,41" >&2  # Text5
    echo "$form2"
}
