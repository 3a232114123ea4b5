# Shared by the scripts: paths, the wine environment and a configure-and-build helper.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts in a fresh prefix
jobs=$(nproc 2>/dev/null || echo 2)

# build_preset NAME [TARGET...]: configure once, then build.
build_preset() {
  local preset=$1; shift
  if [ ! -f "$root/build/$preset/build.ninja" ]; then
    cmake --preset "$preset" -S "$root" >/dev/null
  fi
  if (($#)); then
    cmake --build "$root/build/$preset" -j "$jobs" --target "$@"
  else
    cmake --build "$root/build/$preset" -j "$jobs"
  fi
}

# seconds_since T0: wall time since T0 (an $EPOCHREALTIME value), in seconds with one decimal.
seconds_since() { awk -v now="$EPOCHREALTIME" -v t0="$1" 'BEGIN { printf "%.1f", now - t0 }'; }

# Windows of the Win32 tests go to Wine's null display driver (no X server needed); idempotent.
use_null_wine_display() {
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
}
