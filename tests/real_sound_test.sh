#!/usr/bin/env bash
# The recorder against a real sound server, driven by keyboard under Xvfb:
# a take must be a gap-free, bit-exact excerpt of what the microphone heard,
# as long as the recording lasted, and its playback must come out whole; the
# same through korvalo-batch; a muted microphone must be told; and the
# recorder must outlive the server.
#
#   bash tests/real_sound_test.sh SNDREC32 KORVALO_BATCH
#
# Exit 77 (skipped) only where the sound server cannot start.
set -euo pipefail
SNDREC=$1 BATCH=$2
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/sound_server.sh"
source "$HERE/private_display.sh"

WORK=$(mktemp -d /tmp/real-sound.XXXXXX)
XVFB_PID= PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do sound_server_stop_pid "$pid"; done
  sound_server_stop
  sound_server_stop_pid "$XVFB_PID"
  [[ -n ${KEEP_WORK:-} ]] || rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export XDG_CONFIG_HOME=$WORK/config
export QT_LOGGING_RULES="sndrec32.status.info=true"  # what the windows say, into sndrec.log
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp

if ! command -v pulseaudio >/dev/null || ! sound_server_start "$WORK"; then
  echo "SKIPPED: no PulseAudio server could be started here"
  tail -5 "$WORK/pulse.log" 2>/dev/null || echo "(pulseaudio is not installed)"
  exit 77
fi

start_private_display "$WORK" || fail "Xvfb did not start"
unset QT_QPA_PLATFORM

now() { date +%s.%N; }
shot() { [[ -z ${SHOTS:-} ]] || import -window root "$SHOTS/$1.png"; }
# Starts a recorder on $2 and waits for its window; its window id in $1.
open_recorder() {
  "$SNDREC" "$2" >>"$WORK/sndrec.log" 2>&1 &
  PIDS+=($!)
  local win
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Spela in ljud – ${2##*/}\$" | head -1)
  [[ -n $win ]] || fail "no recorder window for $2"
  sleep 0.5  # mapped is not yet ready for keys
  printf -v "$1" %s "$win"
}
# Presses a key in window $1; PRESSED is when it had reached the X server
# (not when xdotool started, which may be late on a busy machine). An Alt
# key clicks its button 100 ms later, as a click that shows.
press() {
  xdotool windowfocus --sync "$1" key --clearmodifiers "$2"
  PRESSED=$(now)
  sleep 0.3
}
# Waits until a recorder has said $1.
said() { timeout 5 bash -c 'until grep -qF "$1" "$2"; do sleep 0.1; done' - "$1" "$WORK/sndrec.log"; }
# Waits for our child $1 to end and fails unless it ends with 0.
expect_success() {
  local rc=0
  timeout 10 tail --pid="$1" -f /dev/null || fail "$2: still running"
  wait "$1" || rc=$?
  ((rc == 0)) || fail "$2: exit code $rc"
}
# take FILE [PLAYED]: checks FILE against the feed (and PLAYED against FILE);
# prints its length in seconds and RMS.
check() { python3 "$HERE/check_take.py" "$WORK/unit.wav" "$@"; }

# 1. Record about 3 s, play it back into the speaker, save.
open_recorder WIN "$WORK/take.wav"
APP=${PIDS[-1]}
shot 1-ready
press "$WIN" alt+i; T0=$PRESSED
sleep 2.7
shot 2-recording
press "$WIN" alt+s; T1=$PRESSED
said "Inspelningen är klar" && ! grep -qF "Inget ljud hördes" "$WORK/sndrec.log" ||
  fail "the take of the feed was not told as heard"
sound_server_listen "$WORK/played.wav"
MON=$SOUND_LISTEN_PID; PIDS+=($MON)
sleep 0.5
press "$WIN" alt+u
sleep 1
shot 3-playing
sleep 3
kill -INT "$MON"; wait "$MON" || true
press "$WIN" alt+a
expect_success "$APP" "the recorder after Spara"
read -r LEN RMS PLAYED < <(check "$WORK/take.wav" "$WORK/played.wav") || fail "take.wav"
WALL=$(awk -v a="$T0" -v b="$T1" 'BEGIN { printf "%.3f", b - a }')
echo "take: $LEN s for $WALL s of recording, RMS $RMS; played back: $PLAYED s"
awk -v d="$LEN" -v w="$WALL" 'BEGIN { exit !(d > w - 0.15 && d < w + 0.15) }' ||
  fail "the take lasts $LEN s, the recording $WALL s"

# 1b. A muted microphone: the take says so, and can still be saved.
pactl set-source-mute mic 1
open_recorder M "$WORK/muted.wav"; M_PID=${PIDS[-1]}
press "$M" alt+i; sleep 1; press "$M" alt+s
said "Inget ljud hördes. Kontrollera mikrofonen." || fail "no word of the muted microphone"
shot 4-muted
press "$M" alt+a
expect_success "$M_PID" "the recorder after Spara of a silent take"
pactl set-source-mute mic 0

# 2. korvalo-batch --record always on two pictures: each recorder in turn.
mkdir "$WORK/album"
for name in strand hav; do convert -size 64x48 xc:skyblue "$WORK/album/$name.jpg"; done
PATH=$(dirname "$SNDREC"):$PATH "$BATCH" --record always --quiet "$WORK/album" \
  >"$WORK/batch.log" 2>&1 &
BATCH_PID=$!; PIDS+=($BATCH_PID)
for _ in 1 2; do
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Spela in ljud – " | head -1)
  [[ -n $win ]] || fail "korvalo-batch started no recorder: $(cat "$WORK/batch.log")"
  title=$(xdotool getwindowname "$win")
  sleep 0.5
  press "$win" alt+i; sleep 1.5; press "$win" alt+s; press "$win" alt+a
  timeout 10 bash -c "while xdotool search --onlyvisible --name '^$title\$'; do sleep 0.1; done" \
    >/dev/null || fail "$title did not close"
done
expect_success "$BATCH_PID" "korvalo-batch"
for name in hav strand; do
  result=$(check "$WORK/album/$name.wav") || fail "$name.wav"
  echo "album $name.wav: $result"
done

# 3. The microphone chosen is the one offered next time.
open_recorder C "$WORK/choose.wav"; C_PID=${PIDS[-1]}
press "$C" alt+m; xdotool key alt+Down; sleep 0.5; shot 5-microphones
xdotool key Up Return; sleep 0.3; press "$C" Escape
timeout 10 tail --pid="$C_PID" -f /dev/null || fail "Escape did not end the recorder"
rc=0; wait "$C_PID" || rc=$?
((rc == 2)) || fail "Escape ended the recorder with $rc, not 2"
grep -q '^microphone=extra$' "$XDG_CONFIG_HOME/Tamsell/sndrec32.conf" || fail "choice not kept"
rm "$XDG_CONFIG_HOME/Tamsell/sndrec32.conf"

# 4. The server goes away while one recorder records and another plays back:
# both stay, say so, and still save what they had.
open_recorder A "$WORK/cut-recording.wav"; A_PID=${PIDS[-1]}
open_recorder B "$WORK/cut-playback.wav"; B_PID=${PIDS[-1]}
xdotool windowmove "$A" 0 0
# A take started within half a second of another's end got 0.15 s of the
# null sink's silence in three runs of four; a second apart, none.
press "$B" alt+i; sleep 2; press "$B" alt+s; sleep 1
press "$A" alt+i; sleep 1
press "$B" alt+u; sleep 0.3
kill -9 "$SOUND_SERVER_PID"  # as in a crash
sleep 1
shot 4-server-gone
kill -0 "$A_PID" && kill -0 "$B_PID" || fail "a recorder died with the sound server"
press "$A" alt+i  # no server: says so and keeps the take
press "$A" alt+a; press "$B" alt+a
expect_success "$A_PID" "saving a take cut short by the server"
expect_success "$B_PID" "saving after playback was cut short by the server"
for name in cut-recording cut-playback; do
  result=$(check "$WORK/$name.wav") || fail "$name.wav"
  echo "after the server went, $name.wav: $result"
done
echo PASS
