#!/usr/bin/env bash
# Draws docs/sounds/: a spectrogram of every effect in data/ and a table of
# the music tracks (from tools/make_music.py) with the level each reaches
# when the game's own audio plays it live and from its render in the music
# cache (SDL's disk driver, then sox), with both spectrograms side by side.
#   tools/make_sound_docs.sh   (needs sox, imagemagick, and build/audio_probe:
#                               cmake --build build --target audio_probe)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v sox >/dev/null || { echo "needs sox (apt-get install sox)"; exit 1; }
OUT=docs/sounds
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$OUT"
# One figure of sox's stats: stat_db FILE "RMS lev dB"
stat_db() { sox "$1" -n stats 2>&1 | awk -v k="$2" 'index($0, k) == 1 {print $4}'; }

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
  echo "chorus, bridge, chorus, outro, and ends on its tonic. The game plays a"
  echo "track live (FluidSynth with the TimGM6mb soundfont, 44100 Hz stereo) the"
  echo "first time, and from then on from its render in the music cache (the same"
  echo "synthesiser once, into FLAC). Level and peak are measured on both as the"
  echo "game's audio plays them; each picture shows the live spectrogram on the"
  echo "left and the render's on the right."
  echo
  echo "| Track | Description | RMS level live / render | Peak live / render | Spectrograms |"
  echo "|---|---|---|---|---|"
  python3 tools/make_music.py "$TMP" --list | while IFS= read -r line; do
    file=${line%%:*}
    name=${file%.mid}
    level="" peak="" picture=""
    if [ -x build/audio_probe ]; then
      # Live: a cache of its own that holds nothing yet.
      XDG_CACHE_HOME="$TMP/live-cache" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$TMP/out.raw" \
        SDL_DISKAUDIODELAY=0 build/audio_probe music "data/$file" >/dev/null 2>&1
      rm -rf "$TMP/live-cache"
      # The driver writes silence as fast as it can while the soundfont
      # loads and after the track: cut it off at both ends.
      sox -t raw -r 44100 -e signed -b 16 -c 2 "$TMP/out.raw" "$TMP/live.wav" \
        silence 1 0.01 0.1% reverse silence 1 0.01 0.1% reverse
      # The render, played at full music volume as the game plays it.
      XDG_CACHE_HOME="$TMP/cache" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
        build/audio_probe render "data/$file" >/dev/null 2>&1
      render=$(ls -t "$TMP"/cache/vrask/music/*.flac | head -1)
      sox "$render" "$TMP/render.wav" silence 1 0.01 0.1% reverse silence 1 0.01 0.1% reverse
      for v in live render; do
        sox "$TMP/$v.wav" -n remix - spectrogram -x 300 -y 129 -z 90 -t "$name $v" -o "$TMP/$v.png"
      done
      convert "$TMP/live.png" "$TMP/render.png" +append -colors 16 "$OUT/music-$name.png"
      level="$(stat_db "$TMP/live.wav" "RMS lev dB") / $(stat_db "$TMP/render.wav" "RMS lev dB") dBFS"
      peak="$(stat_db "$TMP/live.wav" "Pk lev dB") / $(stat_db "$TMP/render.wav" "Pk lev dB") dBFS"
      picture="![$name](music-$name.png)"
    fi
    echo "| $file | ${line#*: } | $level | $peak | $picture |"
  done
} > "$OUT/README.md"
echo "wrote $OUT"
