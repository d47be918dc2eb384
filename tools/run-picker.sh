#!/bin/sh
# Opens the picker on the demo collection through the stand-in host, as the
# image editor would for a terracotta (16-bit RGB 52428, 26214, 13107).
#
#   tools/run-picker.sh [--headless|--offscreen] [--collection <folder>]
#                       <build folder> [<run folder>] [-- <picker-host option>...]
#
# Everything the run writes stays in the run folder (<build folder>/run
# unless given): the demo collection
# (found there as the machine-wide collection folder), a home of its own,
# the picker's settings with a demo My palette, its data folder, its
# temporary files and the screenshot. The user's own settings and data are
# never touched. The run folder is one this script made (it leaves a
# .run-picker-folder file there) or a new or empty one: its folders are
# written anew on every run, so a folder holding anything else is refused.
#
# With a display the picker opens in a window; choose a colour in My palette
# and press "Select colour", and the host prints the 16-bit colour it got.
# Without one (or with --headless) it runs under xvfb-run, answers the
# picker's offer of nearest chips with the nearest one, saves a screenshot
# of the picker, then accepts the colour selected in the demo palette.
# --offscreen does the same on Qt's offscreen platform, without xvfb.
#
# --collection takes the collections from a lookup folder of your own (the
# folder given to make-demo-collection or make-generated-collection, holding
# Contents/Resources) instead of the demo's; the demo palette stays.
# After "--" the host gets the options that follow instead of the terracotta
# and the actions above, in the same private folders: for example
# "-- --selector 0 --act click:Close" for the about box.
set -eu
# A CDPATH of the user's would take a relative folder given here for one of
# that name elsewhere, and have cd print it into the path resolved.
unset CDPATH

usage() {
    echo "usage: $0 [--headless|--offscreen] [--collection <folder>] <build folder> [<run folder>] [-- <picker-host option>...]" >&2
    exit 2
}

mode=auto
collection=
while [ $# -gt 0 ]; do
    case "$1" in
        --headless) mode=xvfb; shift ;;
        --offscreen) mode=offscreen; shift ;;
        --collection)
            [ $# -ge 2 ] || usage
            collection=$2
            shift 2
            ;;
        -*) usage ;;
        *) break ;;
    esac
done
[ $# -ge 1 ] || usage
# The host and the demo builder are taken from the build folder: one that
# is missing or not built yet is named, with the commands that build it.
if [ ! -x "$1/host/picker-host" ] || [ ! -x "$1/tools/make-demo-collection" ]; then
    project=$(cd -- "$(dirname -- "$0")/.." && pwd)
    if [ -d "$1" ]; then
        echo "$0: $1 holds no host/picker-host and tools/make-demo-collection: it is no build folder, or it is not built yet." >&2
    else
        echo "$0: there is no build folder $1." >&2
    fi
    echo "Build it with" >&2
    echo "  cmake -S $project -B $1 && cmake --build $1" >&2
    echo "or run $project/build.sh run, which builds $project/build and opens the picker on it." >&2
    exit 2
fi
build=$(cd -- "$1" && pwd)
shift
run="$build/run"
if [ $# -gt 0 ] && [ "$1" != -- ]; then
    run=$1
    shift
fi
own_options=false
if [ $# -gt 0 ]; then
    if [ "$1" != -- ]; then
        echo "$0: $1 follows the run folder: the host's options go after --" >&2
        usage
    fi
    shift
    own_options=true
fi
if [ -n "$collection" ]; then
    if [ ! -d "$collection/Contents/Resources" ]; then
        echo "$0: $collection holds no Contents/Resources folder of collection files" >&2
        exit 2
    fi
    collection=$(cd -- "$collection" && pwd)
fi
# Only a folder this script made is emptied: one that holds anything else
# may be the user's.
marker=.run-picker-folder
if [ -e "$run" ] && [ ! -f "$run/$marker" ] && [ -n "$(ls -A -- "$run")" ]; then
    echo "$0: $run was not made by this script (it holds no $marker file) and is not empty;" \
        "give a new or empty run folder" >&2
    exit 2
fi
mkdir -p -- "$run"
run=$(cd -- "$run" && pwd)
echo "Made by tools/run-picker.sh, which writes its folders anew on every run." >"$run/$marker"
if [ "$mode" = auto ]; then
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
        mode=window
    else
        mode=xvfb
    fi
fi

if [ "$mode" = xvfb ] && ! command -v xvfb-run >/dev/null 2>&1; then
    echo "$0: no display and no xvfb-run: ./build.sh run installs it, or give --offscreen" >&2
    exit 2
fi

lookup="$run/machine/Tavo Rindel/Hueform/SQLite"
screenshot="$run/picker.png"
# A fresh demo every time: collection, settings with the demo palette, data.
# A collection folder of the user's is linked, so only the link goes.
rm -rf "$run/machine" "$run/demo" "$run/home" "$run/config" "$run/data" "$run/cache" "$run/tmp" "$screenshot"
mkdir -p "$run/machine" "$run/home" "$run/config" "$run/data" "$run/cache" "$run/tmp"
if [ -n "$collection" ]; then
    mkdir -p "$(dirname "$lookup")"
    ln -s "$collection" "$lookup"
    # The demo palette, stored by the demo builder beside a demo of its own.
    "$build/tools/make-demo-collection" "$run/demo" "$run/config" >/dev/null
    rm -rf "$run/demo"
else
    "$build/tools/make-demo-collection" "$lookup" "$run/config" >/dev/null
fi

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
# The pages of the picker's links, and Xvfb's authority file.
export TMPDIR="$run/tmp"
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ "$mode" != window ]; then
    mkdir -p "$run/runtime"
    chmod 700 "$run/runtime"
    export XDG_RUNTIME_DIR="$run/runtime"
fi
unset QT_PLUGIN_PATH

host="$build/host/picker-host"
colour="--space 0 --c 52428,26214,13107,0"
collections="the demo collection"
[ -n "$collection" ] && collections="the collections in $collection"

# run_host <picker-host option>...: on the display, on Xvfb or offscreen.
run_host() {
    case "$mode" in
        window) "$host" "$@" ;;
        offscreen) QT_QPA_PLATFORM=offscreen "$host" "$@" ;;
        *) xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$host" "$@" ;;
    esac
}

if [ "$own_options" = true ]; then
    echo "picker-host on $collections ($mode), its folders in $run:"
    # In a window the user may take longer than the host's minute; an own
    # --watchdog comes later and counts.
    if [ "$mode" = window ]; then
        run_host --watchdog 3600 "$@"
    else
        run_host "$@"
    fi
    exit $?
fi

if [ "$mode" = window ]; then
    echo "Opening the picker on $collections for a terracotta (16-bit RGB 52428,26214,13107)."
    echo "Choose among the nearest chips it offers; then select a cell of My palette and press"
    echo "\"Select colour\" (or close the window to cancel)."
    # shellcheck disable=SC2086
    run_host $colour --watchdog 3600
    exit $?
fi

echo "No display: the picker runs on $collections without a window ($mode). It takes the nearest"
echo "of the chips it offers for a terracotta (16-bit RGB 52428,26214,13107), saves a screenshot of the"
echo "picker to"
echo "  $screenshot"
echo "and then presses \"Select colour\" for the colour selected in the demo palette."
# shellcheck disable=SC2086
run_host $colour --watchdog 60 \
    --act await:Velmar::SelectNearestColorDialog --act press:60,40 \
    --act await:AddOnMainWindow --act "screenshot:$screenshot" --act "click:Select colour"
[ -f "$screenshot" ] && echo "Screenshot of the picker: $screenshot"
