# The bench scripts' common start, sourced by them (bash):
#
#   bench_start NAME DEFAULT_ENTRIES "$@"
#
# reads --rounds N (default 5) and --entries N, and prints the script's
# header comment on -h, --help or anything else; finds the native program
# NAME (the win32 one is optional) and makes a scratch folder removed on
# exit. Sets root, rounds, entries, native, win32 and work.

bench_usage() {
    # The script's header comment, up to its first line that is no comment.
    sed -n '2,${/^#/!q;p}' "$0" | sed 's/^# \{0,1\}//'
    exit 2
}

bench_start() {
    local name=$1
    entries=$2
    shift 2
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    rounds=5
    while [ $# -gt 0 ]; do
        case $1 in
            --rounds) rounds=${2:?}; shift 2 ;;
            --entries) entries=${2:?}; shift 2 ;;
            -h|--help) bench_usage ;;
            *) echo "$(basename "$0"): unknown argument '$1'" >&2; bench_usage ;;
        esac
    done

    native=$root/build/native/bin/$name
    win32=$root/build/win32/bin/$name.exe
    if [ ! -x "$native" ]; then
        echo "$(basename "$0"): no $native; build it first: cmake --preset native && cmake --build --preset native --target $name" >&2
        exit 1
    fi

    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
}
