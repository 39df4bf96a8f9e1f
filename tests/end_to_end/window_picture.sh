#!/bin/sh
# By hand: Kelto_qup runs the four-hole hand-over under xvfb-run and the
# screen is grabbed into a PNG, to look at its window, panes and paths.
#   tests/end_to_end/window_picture.sh <build folder> <picture.png> [<start mode> <sub-mode>]
# Without a display of its own it calls itself again under xvfb-run, on a
# screen that holds the whole 1280 x 1024 window with its message list.
set -eu
build=$(cd "$1" && pwd)
picture=$2
mode=${3:-4}
submode=${4:-6}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1920x1200x24" "$0" "$build" "$picture" "$mode" "$submode"
fi
folder=$(mktemp -d)
"$build/bin/write_four_hole_job" "$folder" "$mode" "$submode"
KELTO_HOME="$folder" "$build/bin/Kelto_qup" >"$folder/qup.log" 2>&1 &
pid=$!
sleep 12
"$build/bin/screen_grab" "$picture"
kill "$pid"
wait "$pid" || true
echo "program folder: $folder"
