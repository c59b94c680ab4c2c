#!/usr/bin/env bash
# Makes the 25 WAVE clips of the speaking clock and the alarms in
# resources/sounds/ (embedded in tovani.exe through resources/sounds.rc).
#
#   tools/make_sounds.sh            write the clips and list them with soxi
#
# A developer's tool, not part of the build: the clips are committed.  Needs
# espeak-ng (its Mandarin voice) and sox:
#   apt-get install -y espeak-ng sox libsox-fmt-all
#
# Speech: the lead-in phrase, the digits, the tens, 两, 点 and 分, spoken by
# espeak-ng, trimmed of silence, fitted to 0.3..0.75 s (the lead-in to 1.48 s)
# and stored mono 16 kHz Microsoft ADPCM.  The chime that opens an
# announcement is 8-bit PCM 22050 Hz, 1.53 s.  The five alarm sounds are
# synthesized by sox and stored mono 16 kHz Microsoft ADPCM at their lengths:
# air-raid siren 0.91 s, gongs and drums 5.83 s, rooster call 2.21 s, bugle
# call 1.76 s, telephone bell 3.39 s.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT=$ROOT/resources/sounds
for tool in espeak-ng sox soxi; do
  command -v "$tool" >/dev/null || { echo "make_sounds.sh: $tool is missing (apt-get install espeak-ng sox)" >&2; exit 1; }
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT"

# Working format of every intermediate file: mono 16-bit 22050 Hz.
RATE=22050
# The same clips on every run: sox's noise and dither from fixed seeds.
export SOX_OPTS=-R
tmp() { mktemp -p "$WORK" --suffix=.wav; }
calc() { awk "BEGIN { printf \"%.4f\", $* }"; }
duration() { soxi -D "$1"; }

# Stores a clip as mono 16 kHz Microsoft ADPCM.
adpcm() { sox "$1" -r 16000 -c 1 -e ms-adpcm "$OUT/$2" rate -v; }

# Silence-padding or cutting to an exact length.
fit_length() {  # in out seconds
  local d
  d=$(duration "$1")
  if awk "BEGIN { exit !($d < $3) }"; then
    sox "$1" "$2" pad 0 "$(calc "$3 - $d")"
  else
    sox "$1" "$2" trim 0 "$3" fade t 0 "$3" 0.05
  fi
}

# ---------------------------------------------------------------- speech
# speak name text [length]: without a length the clip is fitted to 0.3..0.75 s.
speak() {
  local name=$1 text=$2 want=${3:-} raw trimmed body d lead=0.02 tail=0.06
  raw=$(tmp); trimmed=$(tmp); body=$(tmp)
  espeak-ng -v cmn -s 165 -w "$raw" "$text"
  sox "$raw" -r $RATE "$trimmed" silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse gain -n -1
  d=$(duration "$trimmed")
  local max=${want:-0.75} min=${want:-0.32}
  local room
  room=$(calc "$max - $lead - $tail")
  if awk "BEGIN { exit !($d > $room) }"; then
    sox "$trimmed" "$body" tempo -s "$(calc "$d / $room")" pad $lead 0
  else
    sox "$trimmed" "$body" pad $lead 0
  fi
  d=$(duration "$body")
  local length
  length=$(calc "($d + $tail < $min) ? $min : $d + $tail")
  local fitted
  fitted=$(tmp)
  fit_length "$body" "$fitted" "$length"
  adpcm "$fitted" "$name.wav"
}

speak time "北京时间" 1.48
digits=(零 一 二 三 四 五 六 七 八 九)
for i in "${!digits[@]}"; do speak "$i" "${digits[$i]}"; done
speak 10 "十"
speak 20 "二十"
speak 30 "三十"
speak 40 "四十"
speak 50 "五十"
speak two "两"
speak hour "点"
speak minute "分"

# ---------------------------------------------------------------- tones
# note out seconds type freq [more synth arguments...]: a tone of the working format.
tone() {
  local out=$1 len=$2
  shift 2
  sox -n -r $RATE -c 1 -b 16 "$out" synth "$len" "$@"
}

# A struck bell: partials of a bell (1, 2, 2.76, 5.4 times the pitch), dying away.
bell() {  # out freq seconds
  local f=$2 len=$3
  tone "$1" "$len" sine "$f" sine mix "$(calc "$f * 2")" sine mix "$(calc "$f * 2.76")" \
       sine mix "$(calc "$f * 5.4")" \
       gain -n -3 fade t 0.004 "$len" "$(calc "$len - 0.004")"
}

# Events placed in time and mixed: mix out length file:start [file:start ...]
mix_at() {
  local out=$1 len=$2 parts=() event f s p
  shift 2
  for event in "$@"; do
    f=${event%%:*}; s=${event##*:}
    p=$(tmp)
    sox "$f" "$p" pad "$s" 0
    parts+=("$p")
  done
  local mixed
  mixed=$(tmp)
  if [ ${#parts[@]} -eq 1 ]; then cp "${parts[0]}" "$mixed"; else sox -m "${parts[@]}" "$mixed"; fi
  local normal
  normal=$(tmp)
  sox "$mixed" "$normal" gain -n -1
  fit_length "$normal" "$out" "$len"
}

# SoundRing: a two-note chime, ding (E5) and dong (C5); 8-bit PCM 22050 Hz.
ding=$(tmp); dong=$(tmp); chime=$(tmp)
bell "$ding" 659.26 1.0
bell "$dong" 523.25 1.1
mix_at "$chime" 1.53 "$ding:0.0" "$dong:0.43"
sox "$chime" -r 22050 -c 1 -b 8 -e unsigned-integer "$OUT/ring.wav"

# SoundAlarm0: an air-raid siren, a rising and falling wail.
up=$(tmp); down=$(tmp); siren=$(tmp); wail=$(tmp)
tone "$up" 0.62 sawtooth 280:980 square mix 280:980 gain -n -6
tone "$down" 0.29 sawtooth 980:760 square mix 980:760 gain -n -6
sox "$up" "$down" "$siren"
sox "$siren" "$wail" lowpass 2400 lowpass 2400 fade q 0.06 0 0.12 gain -n -1
adpcm "$wail" alarm0.wav

# SoundAlarm1: gongs and drums, the "咚咚锵" of a festival band.
drum=$(tmp); drum_tone=$(tmp); drum_noise=$(tmp)
tone "$drum_tone" 0.32 sine 120:55 fade l 0.002 0.32 0.3
sox -n -r $RATE -c 1 -b 16 "$drum_noise" synth 0.12 brownnoise lowpass 900 fade l 0.001 0.12 0.11 gain -6
sox -m "$drum_tone" "$drum_noise" "$drum" gain -n -1
gong=$(tmp); gong_tone=$(tmp); gong_noise=$(tmp)
tone "$gong_tone" 1.3 sine 415 sine mix 622 sine mix 883 sine mix 1190 sine mix 1534 \
     tremolo 7 25 fade t 0.003 1.3 1.25
sox -n -r $RATE -c 1 -b 16 "$gong_noise" synth 0.6 pinknoise highpass 3000 fade l 0.002 0.6 0.58 gain -12
sox -m "$gong_tone" "$gong_noise" "$gong" gain -n -1
big_gong=$(tmp)
tone "$big_gong" 2.2 sine 311 sine mix 466 sine mix 660 sine mix 890 sine mix 1150 \
     tremolo 5 30 fade t 0.003 2.2 2.15 gain -n -1
band=$(tmp)
mix_at "$band" 5.83 \
  "$drum:0.00" "$drum:0.25" "$gong:0.50" \
  "$drum:1.00" "$drum:1.25" "$gong:1.50" \
  "$drum:2.00" "$gong:2.25" "$drum:2.50" "$gong:2.75" \
  "$drum:3.25" "$drum:3.50" "$drum:3.75" "$big_gong:4.00" "$drum:4.00"
adpcm "$band" alarm1.wav

# SoundAlarm2: a rooster's crow, "ko-ke-ko-koooo", rasping syllables whose
# pitch climbs and falls back at the end.
crow=()
syllable() {  # seconds from:to
  local s
  s=$(tmp)
  tone "$s" "$1" sawtooth "$2" sawtooth mix "$2" \
       bandpass 1400 1200h tremolo 43 45 overdrive 8 fade t 0.02 "$1" 0.04 gain -n -3
  crow+=("$s")
}
gap() { local s; s=$(tmp); sox -n -r $RATE -c 1 -b 16 "$s" trim 0 "$1"; crow+=("$s"); }
syllable 0.13 520:640;  gap 0.06
syllable 0.17 640:900;  gap 0.06
syllable 0.20 760:980;  gap 0.05
syllable 0.70 980:1180
syllable 0.55 1180:760
rooster=$(tmp); rooster_fit=$(tmp)
sox "${crow[@]}" "$rooster" gain -n -1
fit_length "$rooster" "$rooster_fit" 2.21
adpcm "$rooster_fit" alarm2.wav

# SoundAlarm3: a bugle call on the natural notes G4 C5 E5 G5.
call=()
bugle_note() {  # seconds freq
  local s
  s=$(tmp)
  tone "$s" "$1" sawtooth "$2" square mix "$2" sine mix "$(calc "$2 * 2")" \
       lowpass 2600 overdrive 4 fade q 0.025 "$1" 0.05 gain -n -3
  call+=("$s")
}
bugle_note 0.16 392.00
bugle_note 0.16 523.25
bugle_note 0.16 659.26
bugle_note 0.36 783.99
bugle_note 0.16 659.26
bugle_note 0.76 783.99
bugle=$(tmp); bugle_fit=$(tmp)
sox "${call[@]}" "$bugle" gain -n -1
fit_length "$bugle" "$bugle_fit" 1.76
adpcm "$bugle_fit" alarm3.wav

# SoundAlarm4: a telephone bell, "ring-ring" twice.
ring=$(tmp)
tone "$ring" 0.45 sine 1150 sine mix 1580 sine mix 2300 tremolo 20 95 fade t 0.01 0.45 0.03 gain -n -2
phone=$(tmp)
mix_at "$phone" 3.39 "$ring:0.00" "$ring:0.65" "$ring:1.65" "$ring:2.30"
adpcm "$phone" alarm4.wav

# ---------------------------------------------------------------- listing
total=0
for f in "$OUT"/*.wav; do
  size=$(stat -c %s "$f")
  total=$((total + size))
  printf '%-12s %6.2f s  %5d Hz  %-22s %6d bytes\n' "$(basename "$f")" "$(soxi -D "$f")" "$(soxi -r "$f")" \
         "$(soxi -e "$f")" "$size"
done
printf '%d clips, %d bytes\n' "$(ls "$OUT"/*.wav | wc -l)" "$total"
