# Shared by the scripts: paths, the wine environment and a configure-and-build helper.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts in a fresh prefix
jobs=$(nproc 2>/dev/null || echo 2)

# build_preset NAME [TARGET...]: configure when needed, then build. A build tree is configured
# afresh when the presets or the toolchain files changed since it was configured: their cache
# values are only read at configure time.
build_preset() {
  local preset=$1; shift
  local dir="$root/build/$preset"
  local stamp
  stamp=$(cat "$root/CMakePresets.json" "$root"/cmake/*.cmake | sha256sum | cut -d' ' -f1)
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/configure.stamp" 2>/dev/null)" != "$stamp" ]; then
    local fresh=()
    [ -f "$dir/CMakeCache.txt" ] && fresh=(--fresh)
    cmake --preset "$preset" "${fresh[@]}" -S "$root" >/dev/null || return 1
    echo "$stamp" >"$dir/configure.stamp"
  fi
  if (($#)); then
    cmake --build "$dir" -j "$jobs" --target "$@"
  else
    cmake --build "$dir" -j "$jobs"
  fi
}

# Windows of the Win32 tests go to Wine's null display driver (no X server needed); idempotent.
use_null_wine_display() {
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
}
# seconds_since T0: wall time since T0 (an $EPOCHREALTIME value), in seconds with one decimal.
seconds_since() { awk -v now="$EPOCHREALTIME" -v t0="$1" 'BEGIN { printf "%.1f", now - t0 }'; }
