# Shared by scripts/test, scripts/brix and scripts/bench; sourced, not run.
# Every build directory is a CMake + Ninja tree beneath the repository root.

brix_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
brix_jobs=2

# Succeeds when DIR's cache already holds every -DNAME=VALUE setting given.
brix_cache_matches() {
    local dir=$1 setting name value
    shift
    for setting in "$@"; do
        setting=${setting#-D}
        name=${setting%%=*}
        value=${setting#*=}
        grep -Fqx -e "$name:BOOL=$value" -e "$name:STRING=$value" -e "$name:UNINITIALIZED=$value" \
            "$dir/CMakeCache.txt" || return 1
    done
}

# Configures DIR with Ninja and the given -D settings, unless it is already
# configured with them (Ninja re-runs CMake by itself when a CMakeLists.txt
# changes). A cache made by another generator or for another source tree is
# thrown away rather than left to fail.
brix_configure() {
    local dir=$1
    shift
    local cache=$dir/CMakeCache.txt
    if [[ -f $cache ]]; then
        if ! grep -Fqx "CMAKE_GENERATOR:INTERNAL=Ninja" "$cache" ||
            ! grep -Fqx "CMAKE_HOME_DIRECTORY:INTERNAL=$brix_root" "$cache"; then
            rm -rf "$cache" "$dir/CMakeFiles"
        fi
    fi
    if [[ -f $dir/build.ninja ]] && brix_cache_matches "$dir" "$@"; then
        return 0
    fi
    cmake -S "$brix_root" -B "$dir" -G Ninja "$@"
}

# Builds the given targets (everything when none) in DIR.
brix_build() {
    local dir=$1
    shift
    ninja -C "$dir" -j "$brix_jobs" "$@"
}

# Succeeds when DIR's build knows TARGET.
brix_has_target() {
    ninja -C "$1" -t query "$2" >/dev/null 2>&1
}
