# Sourced by the tests that drive windows. start_private_display WORK starts a
# private X server on the display XVFB_DISPLAY (":71") or on a free one, waits
# until it takes requests and exports DISPLAY; its PID is in XVFB_PID, for the
# caller to stop. Fails when no server came up.
start_private_display() {
  if [[ -n ${XVFB_DISPLAY:-} ]]; then
    Xvfb "$XVFB_DISPLAY" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
    echo "${XVFB_DISPLAY#:}" >"$1/display"
  else
    # Xvfb picks a free display and names it on descriptor 3.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
  fi
  XVFB_PID=$!
  for _ in $(seq 100); do [[ -s $1/display ]] && break; sleep 0.1; done
  [[ -s $1/display ]] || return 1
  export DISPLAY=":$(head -1 "$1/display")"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
