#!/usr/bin/env bash
# Takes the README's screenshots from the current source: the checker after a
# passed run in its demo folder, on Linux (FLTK) and on Windows (the native
# window under Wine, in a Wine desktop), in German and English, at 96 and
# 192 dpi, each on a virtual X screen of its own.
#   scripts/screenshots.sh [linux] [windows]      (both when none is named)
# Builds the presets ci and windows-x86 (windows-x64 where Wine runs no 32-bit
# program) as far as the demo needs (root: the Linux shots set the start
# language in a mount namespace), and writes
# docs/screenshots/<linux|windows>-<de|en>-<96|192>.png (256 colours, small).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/docs/screenshots
systems=("$@")
[ ${#systems[@]} -eq 0 ] && systems=(linux windows)
for tool in Xvfb xdotool xprop import cmake unshare; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
mkdir -p "$out"
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1

xvfb_pid=
stop_screen() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=
}
trap stop_screen EXIT

# A virtual screen of width x height at dpi; sets DISPLAY.
start_screen() {
  local size=$1 dpi=$2 number
  number=$(mktemp)
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "${size}x24" -dpi "$dpi" 3>"$number" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  DISPLAY=:$(cat "$number")
  export DISPLAY
  rm -f "$number"
}

# Waits for a window whose name (or class) matches; prints its id.
find_window() {
  local how=$1 pattern=$2
  for _ in $(seq 600); do
    if xdotool search --onlyvisible "$how" "$pattern" 2>/dev/null | head -1 | grep .; then return 0; fi
    sleep 0.1
  done
  echo "screenshots: no window $pattern appeared" >&2
  return 1
}

# Presses Start (it has the focus when the window opens), waits for the run
# to end, and saves the window.
press_start_and_save() {
  local window=$1 file=$2
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 0.5
  xdotool key space
  sleep 3
  import -window "$window" -strip -colors 256 "png8:$file"
  echo "wrote ${file#"$root"/}"
}

language_env() { [ "$1" = de ] && echo de_DE.UTF-8 || echo en_GB.UTF-8; }

# The Linux checker starts in the language of the system's default locale
# (/etc/default/locale): each shot gets its own in a private mount namespace,
# the folder etc standing in for /etc/default.
with_system_locale() {
  local etc=$1
  shift
  # shellcheck disable=SC2016  # expanded by the inner shell
  exec unshare -m sh -c 'mount --bind "$0" /etc/default && exec "$@"' "$etc" "$@"
}

linux_shots() {
  cmake --preset ci >/dev/null
  cmake --build --preset ci -j2 --target demo >/dev/null
  local demo checker window
  demo=$(mktemp -d)
  cp -r "$root/build/ci/kalmor-demo/." "$demo"
  mkdir "$demo/.etc-de" "$demo/.etc-en"
  for language in de en; do echo "LANG=$(language_env "$language")" >"$demo/.etc-$language/locale"; done
  for dpi in 96 192; do
    for language in de en; do
      start_screen 1024x768 "$dpi"
      # The desktop's font resolution, which the checker follows, exactly.
      xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$dpi"
      with_system_locale "$demo/.etc-$language" "$demo/KalmorChecker" &
      checker=$!
      window=$(find_window --class KalmorChecker)
      press_start_and_save "$window" "$out/linux-$language-$dpi.png"
      kill "$checker" 2>/dev/null || true
      wait "$checker" 2>/dev/null || true
      stop_screen
    done
  done
  rm -rf "$demo"
}

windows_shots() {
  command -v wine >/dev/null || { echo "screenshots: wine is missing" >&2; exit 2; }
  # The 32-bit release where this host runs it, else the 64-bit build (the same window).
  local demo checker window prefix preset=""
  for candidate in windows-x86 windows-x64; do
    cmake --preset "$candidate" >/dev/null
    cmake --build --preset "$candidate" -j2 --target demo wine_probe >/dev/null
    if WINEPREFIX=$root/build/$candidate/wineprefix-screenshots \
        "$root/cmake/wine-run.sh" --when-runnable "$root/build/$candidate/wine_probe.exe" true; then
      preset=$candidate
      break
    fi
  done
  [ -n "$preset" ] || { echo "screenshots: Wine runs no Windows build here" >&2; exit 2; }
  prefix=$root/build/$preset/wineprefix-screenshots
  demo=$(mktemp -d)
  cp -r "$root/build/$preset/kalmor-demo/." "$demo"
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  for dpi in 96 192; do
    local desktop=480x360
    [ "$dpi" = 192 ] && desktop=960x720
    for language in de en; do
      start_screen "$desktop" "$dpi"
      # The tests' runner makes the prefix on first use, with Wine's own fonts.
      "$root/cmake/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
      "$root/cmake/wine-run.sh" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
      wineserver -w
      LC_ALL=$(language_env "$language") "$root/cmake/wine-run.sh" explorer "/desktop=screenshots,$desktop" "$demo/KalmorChecker.exe" &
      checker=$!
      # The checker's window lives inside the Wine desktop's X window.
      window=$(find_window --name 'screenshots')
      sleep 6
      press_start_and_save "$window" "$out/windows-$language-$dpi.png"
      wineserver -k 2>/dev/null || true
      wait "$checker" 2>/dev/null || true
      stop_screen
    done
  done
  rm -rf "$demo"
}

for system in "${systems[@]}"; do
  case $system in
    linux) linux_shots ;;
    windows) windows_shots ;;
    *) echo "usage: scripts/screenshots.sh [linux] [windows]" >&2; exit 2 ;;
  esac
done
