#!/usr/bin/env bash
# A private PulseAudio server with a virtual microphone that hears known sound,
# for testing the recorder on machines without a sound card.
#
#   bash tests/sound_server.sh COMMAND [ARGS...]   runs COMMAND against it
#   source tests/sound_server.sh                   for the functions below
#
# sound_server_start DIR: starts the server in DIR (its socket under
#   DIR/run, so no other session is touched), exports XDG_RUNTIME_DIR and
#   plays DIR/feed.wav (DIR/unit.wav looped: speech, then a tone) into the
#   microphone. Sinks: "speaker" (the default output) and "micfeed", whose
#   monitor the source "mic" (the default input) remaps. Returns 1 when
#   the server does not come up.
# sound_server_stop: stops what sound_server_start started, by PID.
# sound_server_listen FILE: records what the speaker plays into FILE (WAV,
#   48 kHz mono) until stopped with SIGINT; its PID in SOUND_LISTEN_PID.

SOUND_SERVER_PID= SOUND_FEED_PID=

sound_server_stop_pid() {
  local pid=$1
  [[ -n $pid ]] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

sound_server_stop() {
  sound_server_stop_pid "$SOUND_FEED_PID"
  sound_server_stop_pid "$SOUND_SERVER_PID"
  SOUND_FEED_PID= SOUND_SERVER_PID=
}

sound_server_start() {
  local dir=$1
  export XDG_RUNTIME_DIR=$dir/run
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  unset PULSE_SERVER PULSE_SOURCE PULSE_SINK
  # Qt hides monitor sources, hence the remapped "mic"; it also takes the
  # first input as the default, which "extra" is not. Without norewinds a
  # take started soon after the feed loses its first part.
  cat >"$dir/pa.pa" <<'EOF'
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=speaker rate=48000 channels=1 channel_map=mono norewinds=1 sink_properties=device.description=Högtalare
load-module module-null-sink sink_name=micfeed rate=48000 channels=1 channel_map=mono norewinds=1 sink_properties=device.description=Matning
load-module module-remap-source source_name=extra master=speaker.monitor source_properties=device.description=Extramikrofon
load-module module-remap-source source_name=mic master=micfeed.monitor source_properties=device.description=Provmikrofon
set-default-sink speaker
set-default-source mic
EOF
  pulseaudio -n -F "$dir/pa.pa" --daemonize=no --exit-idle-time=-1 --enable-memfd=no \
    --log-target=file:"$dir/pulse.log" &
  SOUND_SERVER_PID=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || { sound_server_stop; return 1; }

  espeak-ng -v sv -s 150 -w "$dir/speech.wav" "Ett, två, tre, fyra, fem. Hej då." &&
    sox "$dir/speech.wav" -r 48000 -c 1 -b 16 "$dir/voice.wav" &&
    sox -n -r 48000 -c 1 -b 16 "$dir/tone.wav" synth 0.7 sine 997 vol 0.5 &&
    sox "$dir/voice.wav" "$dir/tone.wav" "$dir/unit.wav" &&
    sox "$dir/unit.wav" "$dir/feed.wav" repeat 30 || { sound_server_stop; return 1; }
  # 200 ms: longer starves the microphone, shorter underruns under load.
  paplay --device=micfeed --latency-msec=200 "$dir/feed.wav" &
  SOUND_FEED_PID=$!
}

sound_server_listen() {
  parecord --device=speaker.monitor --latency-msec=20 --rate=48000 --channels=1 \
    --file-format=wav "$1" &
  SOUND_LISTEN_PID=$!
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -u
  (($# > 0)) || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
  dir=$(mktemp -d /tmp/sound-server.XXXXXX)
  trap 'sound_server_stop; rm -rf "$dir"' EXIT
  sound_server_start "$dir" || { echo "the sound server did not start" >&2; exit 1; }
  "$@"
fi
