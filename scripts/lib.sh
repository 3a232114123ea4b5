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
