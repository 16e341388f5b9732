#!/usr/bin/env bash
# sndrec32.exe for Windows under Wine against a real sound server (Wine's
# PulseAudio driver), driven by keyboard under Xvfb: the microphone chosen is
# kept in the registry and Escape ends with 2, leaving the file; a take is a
# gap-free excerpt of what the microphone heard, comes out of the speaker
# whole and is saved; Hoppa över ends with 0, leaving the file; korvalo-batch.exe
# records through it; a take cut short by the sound server going away is told
# and can still be saved, and so is one whose playback was cut.
#
#   bash tests/windows_recorder_test.sh SNDREC32.EXE
#
# Runs in a Wine prefix of its own, on the display XVFB_DISPLAY (":72") or a
# free one. SHOTS=DIR keeps screenshots, with openbox's frames.
# Exit 77 (skipped) only where the sound server cannot start.
set -euo pipefail
SNDREC=$1
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/sound_server.sh"
source "$HERE/private_display.sh"

WORK=$(mktemp -d /tmp/windows-recorder.XXXXXX)
XVFB_PID= WM_PID= PIDS=()
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
cleanup() {
  for pid in "${PIDS[@]}"; do sound_server_stop_pid "$pid"; done
  wineserver -k 2>/dev/null || true
  sound_server_stop
  sound_server_stop_pid "$WM_PID"
  sound_server_stop_pid "$XVFB_PID"
  [[ -n ${KEEP_WORK:-} ]] || rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if ! command -v pulseaudio >/dev/null || ! sound_server_start "$WORK"; then
  echo "SKIPPED: no PulseAudio server could be started here"
  exit 77
fi

start_private_display "$WORK" || fail "Xvfb did not start"
if [[ -n ${SHOTS:-} ]] && command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  WM_PID=$!
fi
# No Mono or Gecko installer dialogs: the recorder needs neither.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
wineserver --wait

now() { date +%s.%N; }
shot() { [[ -z ${SHOTS:-} ]] || import -window root "$SHOTS/$1.png"; }
# Starts a recorder on $2 (a Linux path) and waits for its window; its window
# id in $1, its PID in APP.
open_recorder() {
  wine "$SNDREC" "$(winepath -w "$2")" >>"$WORK/sndrec.log" 2>&1 &
  APP=$!
  PIDS+=("$APP")
  local win
  win=$(timeout 30 xdotool search --sync --onlyvisible --name "^Spela in ljud – ${2##*/}\$" |
    head -1)
  [[ -n $win ]] || fail "no recorder window for $2: $(cat "$WORK/sndrec.log")"
  sleep 0.5  # mapped is not yet ready for keys
  printf -v "$1" %s "$win"
}
# Presses a key in window $1; PRESSED is when it had reached the X server.
# A click on the file's name first: without a window manager, Wine takes keys
# in another of its windows only once that one is clicked.
press() {
  xdotool mousemove --window "$1" 10 10 click 1
  xdotool windowfocus --sync "$1" key --clearmodifiers "$2"
  PRESSED=$(now)
  sleep 0.3
}
# Waits for our child $1 to end and fails unless it ends with $2.
expect_exit() {
  local rc=0
  timeout 10 tail --pid="$1" -f /dev/null || fail "$3: still running"
  wait "$1" || rc=$?
  ((rc == $2)) || fail "$3: exit code $rc, not $2"
}
untouched() { [[ $(cat "$1") == older ]] || fail "$2 changed $1"; }
remembered() {
  wine reg query 'HKCU\Software\Tamsell\sndrec32' /v microphone 2>/dev/null |
    awk '/microphone/ { $1 = $2 = ""; sub(/^ +/, ""); print }' | tr -d '\r'
}

# 1. The last input in the list ("Provmikrofon", the feed) is chosen and kept;
# Escape during a take drops it with 2.
echo older >"$WORK/escape.wav"
open_recorder E "$WORK/escape.wav"
press "$E" alt+m
press "$E" End
[[ $(remembered) == Provmikrofon ]] || fail "the choice was not kept: '$(remembered)'"
press "$E" alt+i
sleep 1
press "$E" Escape
expect_exit "$APP" 2 "Escape"
untouched "$WORK/escape.wav" "Escape"

# 2. About 3 s recorded from the chosen input, played back whole, saved; the
# picture of the comment beside it (for the screenshots).
convert -size 640x480 gradient:skyblue-navy -fill orange -draw "circle 320,240 320,150" \
  "$WORK/tåg.jpg"
open_recorder T "$WORK/tåg.wav"
TAKE=$APP
shot 1-ready
press "$T" alt+i; T0=$PRESSED
sleep 1.5
shot 2-recording
sleep 1.2
press "$T" alt+s; T1=$PRESSED
sound_server_listen "$WORK/played.wav"
MON=$SOUND_LISTEN_PID; PIDS+=($MON)
sleep 0.5
press "$T" alt+u
sleep 1
shot 3-playing
sleep 3
kill -INT "$MON"; wait "$MON" || true
press "$T" alt+a
expect_exit "$TAKE" 0 "Spara"
read -r LEN RMS PLAYED < <(python3 "$HERE/check_take.py" "$WORK/unit.wav" "$WORK/tåg.wav" \
  "$WORK/played.wav") || fail "tåg.wav"
WALL=$(awk -v a="$T0" -v b="$T1" 'BEGIN { printf "%.3f", b - a }')
echo "take: $LEN s for $WALL s of recording, RMS $RMS; played back: $PLAYED s"
awk -v d="$LEN" -v w="$WALL" 'BEGIN { exit !(d > w - 0.2 && d < w + 0.2) }' ||
  fail "the take lasts $LEN s, the recording $WALL s"

# 3. Hoppa över after a take: 0, and the file as it was.
echo older >"$WORK/skip.wav"
open_recorder S "$WORK/skip.wav"
press "$S" alt+i
sleep 1
press "$S" alt+s
press "$S" alt+h
expect_exit "$APP" 0 "Hoppa över"
untouched "$WORK/skip.wav" "Hoppa över"

# 4. korvalo-batch.exe --record always starts the recorder beside it, which
# records the picture's comment into the album.
mkdir "$WORK/album"
convert -size 64x48 xc:skyblue "$WORK/album/strand.jpg"
wine "$(dirname "$SNDREC")/korvalo-batch.exe" --record always --quiet \
  "$(winepath -w "$WORK/album")" >"$WORK/batch.log" 2>&1 &
BATCH=$!; PIDS+=($BATCH)
win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Spela in ljud – strand.wav$' |
  head -1)
[[ -n $win ]] || fail "korvalo-batch.exe started no recorder: $(cat "$WORK/batch.log")"
sleep 0.5
press "$win" alt+i; sleep 1.5; press "$win" alt+s; press "$win" alt+a
expect_exit "$BATCH" 0 "korvalo-batch.exe"
result=$(python3 "$HERE/check_take.py" "$WORK/unit.wav" "$WORK/album/strand.wav") ||
  fail "strand.wav"
echo "album strand.wav: $result"

# 5. The sound server goes away, as in a crash, while one recorder records and
# another plays back: both stay, say so, and still save what they had.
open_recorder A "$WORK/cut-recording.wav"; A_PID=$APP
open_recorder B "$WORK/cut-playback.wav"; B_PID=$APP
xdotool windowmove --sync "$A" 0 420
press "$B" alt+i; sleep 2; press "$B" alt+s; sleep 1
press "$A" alt+i; sleep 1
press "$B" alt+u; sleep 0.3
{ kill -9 "$SOUND_SERVER_PID" && wait "$SOUND_SERVER_PID"; } 2>/dev/null || true
sleep 3  # winmm just stops; the recorder waits 2 s before it believes it
shot 4-server-gone
kill -0 "$A_PID" && kill -0 "$B_PID" || fail "a recorder died with the sound server"
press "$A" alt+a; press "$B" alt+a
expect_exit "$A_PID" 0 "saving a take cut short by the server"
expect_exit "$B_PID" 0 "saving after playback was cut short by the server"
for name in cut-recording cut-playback; do
  result=$(python3 "$HERE/check_take.py" "$WORK/unit.wav" "$WORK/$name.wav") || fail "$name.wav"
  echo "after the server went, $name.wav: $result"
done
echo PASS
