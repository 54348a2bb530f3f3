#!/usr/bin/env bash
# Builds the Windows release package (cpack, ZIP) in a configured win32
# build directory and checks what an installer finds in it: callerid.dll,
# and callerid.exe, byte for byte the ones the build made, the two
# installation guides, the datagram format and the tool's reference (when
# the sources have it), in one top-level directory,
# and nothing else; callerid.exe with its application manifest embedded. Where makensis is installed it also builds the setup
# program (cpack -G NSIS) and checks that callerid-*-setup.exe came out and
# says Windows Vista in its PE header. The setup's readme and the guides must
# name every guide shipped and fit 80 columns.
#   check_package.sh WIN32_BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
fail() { echo "check_package: $*" >&2; exit 1; }

[ -f "$build/CPackConfig.cmake" ] || fail "$build is no configured win32 build (no CPackConfig.cmake)"
rm -f "$build"/callerid-*-win32.zip
(cd "$build" && cpack -G ZIP >/dev/null) || fail "cpack failed"
zips=("$build"/callerid-*-win32.zip)
[ -f "${zips[0]}" ] || fail "cpack made no callerid-*-win32.zip"
zip=${zips[0]}
top=$(basename "$zip" .zip)

root=$(cd "$(dirname "$0")/../.." && pwd)
guides=(packaging/INSTALACJA.md packaging/INSTALL.md docs/datagram-format.md)
[ ! -f "$root/docs/callerid-tool.md" ] || guides+=(docs/callerid-tool.md)
expected=$( (printf '%s\n' "$top/callerid.dll" "$top/callerid.exe"; for g in "${guides[@]}"; do echo "$top/$(basename "$g")"; done) | sort)
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$listed" = "$expected" ] || fail "$zip holds:
$listed
expected:
$expected"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
cmp -s "$unpacked/$top/callerid.dll" "$build/bin/callerid.dll" || fail "the packaged DLL is not the built one"
cmp -s "$unpacked/$top/callerid.exe" "$build/bin/callerid.exe" || fail "the packaged callerid.exe is not the built one"
# callerid.exe carries its application manifest as the resource Windows
# reads (type 24, RT_MANIFEST; id 1): it runs as the invoker, without file
# and registry virtualization, on Windows Vista to 10 and 11.
exe="$unpacked/$top/callerid.exe"
i686-w64-mingw32-objdump -p "$exe" | awk '/^The .rsrc Resource Directory/ { on = 1 } on' |
    grep -A2 'Entry: ID: 0x000018,' | grep -q 'Entry: ID: 0x000001,' ||
    fail "callerid.exe has no application manifest resource (type 24, id 1)"
python3 -c 'import sys; sys.exit(open(sys.argv[2], "rb").read().find(open(sys.argv[1], "rb").read()) < 0)' \
    "$root/tools/callerid.manifest" "$exe" || fail "callerid.exe does not carry tools/callerid.manifest"
for needed in 'level="asInvoker"' e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
              4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    grep -q -F "$needed" "$root/tools/callerid.manifest" || fail "tools/callerid.manifest lacks $needed"
done
for guide in "${guides[@]}"; do
    cmp -s "$unpacked/$top/$(basename "$guide")" "$root/$guide" || fail "the packaged $(basename "$guide") is not $guide"
done
echo "check_package: $(basename "$zip") holds callerid.dll, callerid.exe and the guides: ${guides[*]##*/}"

# The setup's readme and both installation guides name every guide shipped,
# and their text (and the datagram format's) fits a console of 80 columns:
# only commands in code blocks may be wider.
readmes=(packaging/SETUP.txt packaging/SETUP_pl.txt packaging/INSTALL.md packaging/INSTALACJA.md)
for text in "${readmes[@]}"; do
    for guide in "${guides[@]}"; do
        grep -q "$(basename "$guide")" "$root/$text" || fail "$text does not name $(basename "$guide")"
    done
done
for text in "${readmes[@]}" docs/datagram-format.md; do
    wide=$(python3 - "$root/$text" <<'PY'
import sys
code = False
for number, line in enumerate(open(sys.argv[1], encoding="utf-8-sig"), 1):
    line = line.rstrip("\r\n")
    if line.lstrip().startswith("```"):
        code = not code
    elif not code and not line.startswith("    ") and len(line) > 80:
        print(f"line {number}: {len(line)} columns")
PY
)
    [ -z "$wide" ] || fail "$text is wider than 80 columns outside its code: $wide"
done
echo "check_package: the readme and guides name every guide and fit 80 columns"

if command -v makensis >/dev/null; then
    rm -f "$build"/callerid-*-setup.exe
    (cd "$build" && cpack -G NSIS >/dev/null) || fail "cpack -G NSIS failed"
    setups=("$build"/callerid-*-setup.exe)
    [ -f "${setups[0]}" ] || fail "cpack made no callerid-*-setup.exe"
    # Its OS version is the release's floor, Windows Vista (6.0), like the
    # binaries it installs; its subsystem version stays low on purpose.
    os=$(i686-w64-mingw32-objdump -p "${setups[0]}" | awk '$1 == "MajorOSystemVersion" || $1 == "MinorOSystemVersion" { printf "%s.", $2 }')
    [ "$os" = 6.0. ] || fail "$(basename "${setups[0]}") says OS version ${os%.}, not 6.0"
    echo "check_package: $(basename "${setups[0]}") built, OS version 6.0"
fi
