#!/bin/sh
# Opens the picker on the demo collection through the stand-in host, as the
# image editor would for a terracotta (16-bit RGB 52428, 26214, 13107).
#
#   tools/run-picker.sh [--headless|--offscreen] <build folder> [<run folder>]
#
# Everything the run writes stays in the run folder (<build folder>/run
# unless given): the demo collection
# (found there as the machine-wide collection folder), a home of its own,
# the picker's settings with a demo My palette, its data folder and the
# screenshot. The user's own settings and data are never touched.
#
# With a display the picker opens in a window; choose a colour in My palette
# and press "Select colour", and the host prints the 16-bit colour it got.
# Without one (or with --headless) it runs under xvfb-run, answers the
# picker's offer of nearest chips with the nearest one, saves a screenshot
# of the picker, then accepts the colour selected in the demo palette.
# --offscreen does the same on Qt's offscreen platform, without xvfb.
set -eu

mode=auto
case "${1:-}" in
    --headless) mode=xvfb; shift ;;
    --offscreen) mode=offscreen; shift ;;
esac
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 [--headless|--offscreen] <build folder> [<run folder>]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
run="${2:-$build/run}"
if [ "$mode" = auto ]; then
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
        mode=window
    else
        mode=xvfb
    fi
fi

lookup="$run/machine/Tavo Rindel/Hueform/SQLite"
screenshot="$run/picker.png"
# A fresh demo every time: collection, settings with the demo palette, data.
rm -rf "$run/machine" "$run/home" "$run/config" "$run/data" "$run/cache" "$screenshot"
mkdir -p "$run/machine" "$run/home" "$run/config" "$run/data" "$run/cache"
"$build/tools/make-demo-collection" "$lookup" "$run/config" >/dev/null

# A home of its own: the machine-wide folder is looked for outside the home,
# and the run folder may lie in the user's. A window still needs the user's
# display authority, which is found in the home unless named.
if [ "$mode" = window ] && [ -z "${XAUTHORITY:-}" ] && [ -f "${HOME:-}/.Xauthority" ]; then
    export XAUTHORITY="$HOME/.Xauthority"
fi
export HOME="$run/home"
export XDG_DATA_DIRS="$run/machine"
export XDG_CONFIG_HOME="$run/config"
export XDG_DATA_HOME="$run/data"
export XDG_CACHE_HOME="$run/cache"
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ "$mode" != window ]; then
    mkdir -p "$run/runtime"
    chmod 700 "$run/runtime"
    export XDG_RUNTIME_DIR="$run/runtime"
fi
unset QT_PLUGIN_PATH

host="$build/host/picker-host"
colour="--space 0 --c 52428,26214,13107,0"

if [ "$mode" = window ]; then
    echo "Opening the picker on the demo collection for a terracotta (16-bit RGB 52428,26214,13107)."
    echo "Choose among the nearest chips it offers; then select a cell of My palette and press"
    echo "\"Select colour\" (or close the window to cancel)."
    # shellcheck disable=SC2086
    "$host" $colour --watchdog 3600
    exit $?
fi

echo "No display: the picker runs without a window ($mode). It takes the nearest of the chips it"
echo "offers for a terracotta (16-bit RGB 52428,26214,13107), saves a screenshot of the picker to"
echo "  $screenshot"
echo "and then presses \"Select colour\" for the colour selected in the demo palette."
set -- $colour --watchdog 60 \
    --act await:Velmar::SelectNearestColorDialog --act press:60,40 \
    --act await:AddOnMainWindow --act "screenshot:$screenshot" --act "click:Select colour"
if [ "$mode" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen "$host" "$@"
else
    xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$host" "$@"
fi
[ -f "$screenshot" ] && echo "Screenshot of the picker: $screenshot"
