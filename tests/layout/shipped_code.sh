#!/usr/bin/env bash
# shipped_code.sh SOURCE_DIR BUILD_DIR
# What ships (the plug-in and the callerid tool) stands on its own feet: no
# library it links is built from refhost/, and no file compiled into it
# includes a header from refhost/. The first comes from the list CMake
# writes (shipped_targets.txt), the second from the headers the compiler
# reported for each object (ninja's deps log), so an include through any
# include path is caught, not only one spelt "refhost/...".
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 SOURCE_DIR BUILD_DIR" >&2; exit 2; }
src=$(cd "$1" && pwd -P) build=$(cd "$2" && pwd -P)
refhost=$src/refhost/
list=$build/shipped_targets.txt
[ -s "$list" ] || { echo "shipped_code: no $list (configure first)" >&2; exit 1; }
status=0

targets=()
while IFS=$'\t' read -r target dir; do
    dir=$(realpath -m "$dir")/
    if [[ $dir == "$refhost"* ]]; then
        echo "shipped_code: $target is built from ${dir#"$src"/} and goes into what ships" >&2
        status=1
    else
        targets+=("$target")   # its own objects are looked at below
    fi
done <"$list"

# Every header each object of a shipped target was compiled with.
pattern=$(printf '/CMakeFiles/%s\\.dir/|' "${targets[@]}")
deps=$(ninja -C "$build" -t deps | awk -v pattern="${pattern%|}" '
    /^[^ ]/ { keep = ($1 ~ pattern); object = $1; if (keep) objects++; next }
    keep && NF { print object "\t" $1 }
    END { print "#objects\t" objects+0 }')
objects=$(sed -n 's/^#objects\t//p' <<<"$deps")
[ "$objects" -gt 0 ] || { echo "shipped_code: ninja's deps log holds no object of ${targets[*]} (build first)" >&2; exit 1; }
while IFS=$'\t' read -r object header; do
    [ "$object" = "#objects" ] && continue
    case $header in /*) path=$header ;; *) path=$build/$header ;; esac
    path=$(realpath -m "$path")
    if [[ $path == "$refhost"* ]]; then
        echo "shipped_code: ${object#*CMakeFiles/} includes ${path#"$src"/}" >&2
        status=1
    fi
done < <(grep -v '^#objects' <<<"$deps" | awk -F'\t' '$2 ~ /refhost\//' )
[ $status -eq 0 ] && echo "shipped_code: ${#targets[@]} shipped libraries and $objects objects, none from refhost/"
exit $status
