# Shared by run.sh and test.sh: the source root and a configure-and-build helper.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CCACHE_BASEDIR="$ROOT"
export CCACHE_NOHASHDIR=1

# configure_and_build BUILD_DIR [cmake options...]: configures, then builds with Ninja
# (only the targets named in BUILD_TARGETS when it is set).
configure_and_build() {
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >"$ROOT/$dir.configure.log" 2>&1 || {
    cat "$ROOT/$dir.configure.log" >&2
    return 1
  }
  if [ -n "${BUILD_TARGETS:-}" ]; then
    # shellcheck disable=SC2086
    cmake --build "$ROOT/$dir" --target $BUILD_TARGETS
  else
    cmake --build "$ROOT/$dir" -- -k 0
  fi
}
