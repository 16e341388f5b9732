# Sourced by the benchmarks that need a screen: a private X server and a work
# folder with a runtime folder, both gone when the script ends. Sets DISPLAY,
# XDG_CONFIG_HOME and XDG_RUNTIME_DIR for what the script starts next.
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
# Xvfb picks a free display and names it on descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.05; done
mkdir -m 700 "$work/runtime"
DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export DISPLAY XDG_CONFIG_HOME XDG_RUNTIME_DIR
