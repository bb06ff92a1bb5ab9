#!/usr/bin/env bash
# Draws docs/sounds/: a spectrogram of every effect in data/ and a table of
# the music tracks (from tools/make_music.py) with the level each reaches
# when the game's own audio renders it (SDL's disk driver, then sox).
#   tools/make_sound_docs.sh   (needs sox, and build/audio_probe:
#                               cmake --build build --target audio_probe)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v sox >/dev/null || { echo "needs sox (apt-get install sox)"; exit 1; }
OUT=docs/sounds
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$OUT"

for f in data/*.wav; do
  name=$(basename "$f" .wav)
  sox "$f" -n spectrogram -x 600 -y 257 -z 90 -t "$name.wav" -o "$OUT/$name.png"
done

{
  echo "# The sound effects"
  echo
  echo "Made by \`tools/make_effects.py\`: mono 16-bit PCM at 44100 Hz, peaks at -3 dBFS."
  echo
  echo "| Effect | What it sounds like | Length | Spectrogram |"
  echo "|---|---|---|---|"
  python3 tools/make_effects.py --list | while IFS= read -r line; do
    file=${line%%:*}
    length=$(sox --i -D "data/$file")
    printf '| %s | %s | %.2f s | ![%s](%s.png) |\n' "$file" "${line#*: }" "$length" "$file" "${file%.wav}"
  done
  echo
  echo "# The music"
  echo
  echo "Made by \`tools/make_music.py\`; each track is intro, verse, chorus, verse,"
  echo "chorus, bridge, chorus, outro, and ends on its tonic. Level and peak are"
  echo "measured on the track as the game's audio renders it (FluidSynth with the"
  echo "TimGM6mb soundfont, 44100 Hz stereo)."
  echo
  echo "| Track | Description | RMS level | Peak |"
  echo "|---|---|---|---|"
  python3 tools/make_music.py "$TMP" --list | while IFS= read -r line; do
    file=${line%%:*}
    level="" peak=""
    if [ -x build/audio_probe ]; then
      SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$TMP/out.raw" SDL_DISKAUDIODELAY=0 \
        build/audio_probe music "data/$file" >/dev/null 2>&1
      # The driver writes silence as fast as it can while the soundfont
      # loads and after the track: cut it off at both ends.
      sox -t raw -r 44100 -e signed -b 16 -c 2 "$TMP/out.raw" "$TMP/out.wav" \
        silence 1 0.01 0.1% reverse silence 1 0.01 0.1% reverse
      stats=$(sox "$TMP/out.wav" -n stats 2>&1)
      level="$(echo "$stats" | awk '/RMS lev dB/ {print $4}') dBFS"
      peak="$(echo "$stats" | awk '/Pk lev dB/ {print $4}') dBFS"
    fi
    echo "| $file | ${line#*: } | $level | $peak |"
  done
} > "$OUT/README.md"
echo "wrote $OUT"
