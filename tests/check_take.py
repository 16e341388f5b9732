#!/usr/bin/env python3
# Checks a take against the test microphone's feed, as tests/sound_server.sh
# plays it: 48 kHz mono 16-bit, a gap-free, bit-exact excerpt of the looped
# feed, with sound in it; and, given PLAYED (the speaker's monitor recorded
# during playback), that the take came out there whole.
#
#   python3 tests/check_take.py UNIT.wav TAKE.wav [PLAYED.wav]
#
# Prints the take's length in seconds and RMS (and the seconds played back).
import array, math, sys, wave
def pcm(path):
    with wave.open(path) as w:
        assert (w.getnchannels(), w.getsampwidth(), w.getframerate()) == (1, 2, 48000), path
        return w.readframes(w.getnframes())
unit, take = pcm(sys.argv[1]), pcm(sys.argv[2])
rate = 96000  # bytes a second
assert len(take) > rate // 2, f"{sys.argv[2]}: only {len(take) / rate:.3f} s"
# 4096 bytes of sound (not of the silence between words) occur once per loop.
s = next(i for i in range(0, len(take), 2) if take[i:i + 64].strip(b"\0"))
anchor = take[s:s + 4096]
loop = unit * (len(take) // len(unit) + 2)
at = loop.find(anchor) - s
same = next((i for i in range(0, len(take), 2) if take[i:i + 2] != loop[at + i:at + i + 2]), len(take))
assert at >= 0 and same == len(take), \
    f"{sys.argv[2]}: not a gap-free excerpt of the feed from {same / rate:.3f} s on"
samples = array.array("h", take)
rms = math.sqrt(sum(x * x for x in samples) / len(samples)) / 32768
assert rms > 0.02, f"{sys.argv[2]}: silent (RMS {rms:.4f})"
out = f"{len(take) / rate:.3f} {rms:.4f}"
if len(sys.argv) > 3:
    played = pcm(sys.argv[3])
    p = played.find(anchor) - s
    assert p >= 0, "playback: the take did not come out"
    n = next((n for n in range(len(take), 0, -2) if played[p:p + n] == take[:n]), 0)
    out += f" {n / rate:.3f}"
    assert n == len(take), f"playback: only the first {n / rate:.3f} s came out"
print(out)
