#!/usr/bin/env bash
# wine_setup.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The setup program under Wine, silently (/S /D=DIR):
#  - into a directory without the host's main module: exit code 2, a line
#    that says so, in English or (LANG=pl_PL.UTF-8) in Polish, nothing
#    installed;
#  - into a drive letter it does not see (as an elevated setup does not see
#    a mapped drive): exit code 2, a line that names it and says to give the
#    \\server\share path, nothing installed, not even into the last
#    install's directory;
#  - into a host directory (Merlox.dll: the name compares without case)
#    whose MERLOX.INI names port 0: the files are there, and the firewall
#    rules are added for 1338 (after a delete by name); run again after the
#    port became 1339, the setup replaces them with rules for 1339; with a
#    netsh that cannot run, it says which rules were not added, ends with
#    exit code 3, keeps the files and remembers no rule;
#  - `callerid firewall add|remove`, the tool a station of a shared program
#    folder gets its rules with, runs netsh with the setup's rule names and
#    commands for the program folder's port, and says when netsh fails;
#  - while a process holds callerid.dll loaded, the uninstaller, silent or
#    not, ends with exit code 2 and removes nothing: no file, no firewall
#    rule, not its entry; a silent setup ends with 2 and says why; once it is free, it removes the files and the
#    1339 rules and leaves LOGS\ and the INI files;
#  - the port 70000 (outside 1 to 65535): the setup and `callerid firewall
#    add` both take 4464, its low 16 bits, as the plug-in binds it, with the
#    same line; the setup's reason is in %TEMP%\callerid-setup.log too;
#  - `callerid firewall remove` with a netsh that cannot run: exit code 5,
#    each rule named as not removed, never "nothing to remove"; a
#    --program-dir naming no folder: exit code 2, no netsh run;
#  - the uninstaller (callerid-uninstall.exe, which starts
#    callerid-remove.exe in place and waits) gives the same exit code and
#    reason with "_?=" quoted (Wine quotes the folder's blank) and unquoted
#    (from a batch file), and its reason is in %TEMP%\callerid-uninstall.log;
#  - into a UNC path (\\server\share\..., Wine's dosdevices\unc), with
#    Polish letters: installed; its uninstaller says the folder is a network
#    folder, maybe every station's, and removes the plug-in; the tool run
#    from a share takes the port from the share's MERLOX.INI;
#  - a local install beside the share's: each has its own uninstall entry,
#    removing the share's leaves the local one's; a silent setup without /D
#    then takes the one folder left, whose uninstaller, with a netsh that
#    cannot run, removes the files, names the rules it could not remove and
#    ends with exit code 3;
#  - on Windows XP (Wine's version for this one program): exit code 2, a line
#    that names Vista, nothing installed.
# Wine's netsh keeps no rules, so the test reads the command lines the setup
# starts from Wine's process trace (WINEDEBUG=+process); a netsh that cannot
# run is one whose load Wine's DLL overrides disable for that run alone.
# Builds the setup program first when it is missing.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(dirname "$win")
run=$root/scripts/wine/run.sh
fail() { echo "wine_setup: $*" >&2; exit 1; }
command -v makensis >/dev/null || fail "makensis is missing (scripts/deps.sh win32 installs nsis)"
setups=("$build"/callerid-*-setup.exe)
if [ ! -f "${setups[0]}" ]; then
    (cd "$build" && cpack -G NSIS >/dev/null) || fail "cpack -G NSIS failed"
    setups=("$build"/callerid-*-setup.exe)
fi
setup=${setups[0]}
work=$(mktemp -d /tmp/callerid-setup-XXXXXX)
prefix=${WINEPREFIX:-/var/cache/callerid-wine/prefix}
regexe=$prefix/drive_c/windows/syswow64/reg.exe
[ -f "$regexe" ] || regexe=$prefix/drive_c/windows/system32/reg.exe
reg() { "$run" -t 60 "$regexe" "$@" >/dev/null 2>&1; }
cmdexe=$prefix/drive_c/windows/syswow64/cmd.exe
[ -f "$cmdexe" ] || cmdexe=$prefix/drive_c/windows/system32/cmd.exe
appdefaults="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$setup")"
unc_server=callerid-$$
unc=$prefix/dosdevices/unc
unc_made=""
[ -d "$unc" ] || unc_made=1
holder=""
cleanup() {
    [ -z "$holder" ] || { touch "$work/released"; wait "$holder" || true; }
    reg delete "$appdefaults" /f || true
    rm -rf "${unc:?}/$unc_server"
    [ -z "$unc_made" ] || rmdir "$unc" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
windows() { local d="Z:${1//\//\\}"; echo "$d"; }
# The command lines the traced program started, unescaped.
started() { sed -n 's/.*CreateProcessInternalW app .* cmdline L"\(.*\)"$/\1/p' "$1" | sed 's/\\\(["\\]\)/\1/g'; }
# The arguments of every netsh run in a trace.
netsh_runs() { started "$1" | { grep -i 'netsh.exe"* advfirewall' || true; } | sed 's/^.*netsh.exe"* //'; }
installed=(callerid.dll callerid.exe INSTALACJA.md INSTALL.md datagram-format.md callerid-uninstall.exe callerid-remove.exe)
[ ! -f "$root/docs/callerid-tool.md" ] || installed+=(callerid-tool.md)

# No host's main module: refused, with its reason on the standard error.
empty=$work/empty
mkdir -p "$empty"
printf '[Ornitel]\r\nPytaj=1,4,0,1338\r\n' >"$empty/MERLOX.INI"
# English on an English system, Polish on a Polish one.
for lang in C.UTF-8 pl_PL.UTF-8; do
    code=0
    LC_ALL=$lang "$run" -t 120 "$setup" /S "/D=$(windows "$empty")" 2>"$work/empty.err" || code=$?
    [ $code = 2 ] || fail "a silent install into a directory without MERLOX.DLL ended with $code, not 2"
    case $lang in
        C*) grep -q "holds no MERLOX.DLL" "$work/empty.err" ;;
        pl*) grep -q "nie ma pliku MERLOX.DLL" "$work/empty.err" ;;
    esac || fail "the refusal under LANG=$lang reads: $(cat "$work/empty.err")"
done
[ ! -e "$empty/callerid.dll" ] || fail "the refused install copied callerid.dll"

# Runs PROGRAM ARGS under Wine's process trace and compares the netsh runs
# with EXPECTED (one per line).
traced() {
    local what=$1 expected=$2; shift 2
    WINEDEBUG=+process "$run" -t 120 "$@" 2>"$work/trace" || fail "$what ended with $?"
    local netsh
    netsh=$(netsh_runs "$work/trace")
    [ "$netsh" = "$expected" ] || fail "$what ran netsh with:
$netsh
expected:
$expected"
}
# The uninstall entries of one folder (the 32-bit view, as the setup sees
# it): each install has its own, found by the folder it names.
entries_of() {
    "$run" -t 60 "$regexe" query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /reg:32 /s 2>/dev/null |
        tr -d '\r' | grep -c -i -F "InstallLocation    REG_SZ    $1" || true
}
entry_exists() { [ "$(entries_of "$(windows "$host")")" = 1 ]; }
# A file of the tool's output with its wrapped lines joined again.
joined() { tr -d '\r' <"$1" | tr '\n' ' ' | tr -s ' '; }
# The log a run writes its reasons to, in the user's temporary folder.
temp_log() { cat "$prefix/drive_c/users/$(id -un)/Temp/$1" 2>/dev/null | iconv -f UTF-16 -t UTF-8 2>/dev/null || true; }
add_rules() {
    echo "advfirewall firewall add rule name=\"Caller ID UDP $1 in\" dir=in action=allow protocol=UDP localport=$1 remoteip=localsubnet"
    echo "advfirewall firewall add rule name=\"Caller ID UDP $1 broadcast out\" dir=out action=allow protocol=UDP remoteport=$1 remoteip=255.255.255.255"
}
delete_rules() {
    echo "advfirewall firewall delete rule name=\"Caller ID UDP $1 in\""
    echo "advfirewall firewall delete rule name=\"Caller ID UDP $1 broadcast out\""
}

# A host directory with the office's data and port 0 (that is 1338) in its
# settings.
host="$work/Program Files/host"   # a blank in it: Wine quotes "_?=..."
mkdir -p "$host/LOGS/TELEFONY"
printf 'host' >"$host/Merlox.dll"
printf 'slots' >"$host/LOGS/TELEFONY/CLIP.DAT"
printf '[Ornitel]\r\nPytaj=1,4,0,0\r\n' >"$host/MERLOX.INI"
printf '[Ornitel]\r\nFilename=LOGS\\TELEFONY\\CLIP.DAT\r\n' >"$host/Ornitel.ini"
traced "the silent install" "$(delete_rules 1338; add_rules 1338)" "$setup" /S "/D=$(windows "$host")"
for file in "${installed[@]}"; do [ -f "$host/$file" ] || fail "the setup did not install $file: $(ls "$host")"; done
cmp -s "$host/callerid.dll" "$win/callerid.dll" || fail "the installed DLL is not the built one"

# The box's address given to a silent install: written to Nadawcy by the
# installed tool, and the inbound rule takes the box and the local subnet.
boxhost=$work/boxhost
mkdir -p "$boxhost"
printf 'host' >"$boxhost/Merlox.dll"
printf '[Ornitel]\r\nPytaj=1,4,0,1338\r\n' >"$boxhost/MERLOX.INI"
traced "the silent install with the box's address" "$(delete_rules 1338; add_rules 1338 | sed 's/remoteip=localsubnet/remoteip=192.168.1.20,localsubnet/')" \
    "$setup" /S /BOX=192.168.1.20 "/D=$(windows "$boxhost")"
grep -q '^Nadawcy=192.168.1.20' "$boxhost/Ornitel.ini" || fail "no Nadawcy after /BOX=: $(cat "$boxhost/Ornitel.ini" 2>&1)"
# Its uninstaller takes its entry away again: the checks below count installs.
"$run" -t 120 "$boxhost/callerid-uninstall.exe" /S "_?=$(windows "$boxhost")" >/dev/null 2>&1 ||
    fail "the box's install could not be uninstalled"

# A drive letter the setup does not see, as an elevated setup does not see
# a mapped drive: named, with the way out, and nothing installed (NSIS alone
# would fall back on the last install's directory, the one above).
code=0
WINEDEBUG=+process "$run" -t 120 "$setup" /S '/D=Q:\Program' 2>"$work/mapped.err" || code=$?
[ $code = 2 ] || fail "a silent install into an unseen drive ended with $code, not 2"
grep -q 'Q:\\Program holds no MERLOX.DLL.*mapped network drive.*\\\\server\\share' "$work/mapped.err" ||
    fail "the refusal of an unseen drive reads: $(grep -v ':trace:' "$work/mapped.err")"
[ -z "$(netsh_runs "$work/mapped.err")" ] || fail "a silent install into an unseen drive installed somewhere"

# The station moves to port 1339 (with a space and a leading zero, as the
# host's own reader takes them); the setup run again replaces its rules.
printf '[Ornitel]\r\nPytaj=1,4,0, 01339\r\n' >"$host/MERLOX.INI"
traced "the silent install on port 1339" "$(delete_rules 1338; delete_rules 1339; add_rules 1339)" "$setup" /S "/D=$(windows "$host")"
remembered() { tr -d '\r' <"$host/callerid-firewall.ini"; }
for key in In Out; do
    remembered | grep -qx "$key=1339" || fail "the setup does not remember the 1339 rule $key: $(remembered)"
done

# A port outside 1 to 65535 means the port its low 16 bits name, as the
# plug-in binds it: the setup adds the rules for that port and says so, and
# callerid firewall takes the same port with the same words.
printf '[Ornitel]\r\nPytaj=1,4,0,70000\r\n' >"$host/MERLOX.INI"
traced "the silent install on port 70000" "$(delete_rules 1339; delete_rules 4464; add_rules 4464)" "$setup" /S "/D=$(windows "$host")"
grep -q "names port 70000, outside 1 to 65535; the plug-in listens on 4464, so the rules are for 4464" "$work/trace" ||
    fail "the setup on port 70000 does not say which port: $(grep -v ':trace:' "$work/trace")"
grep -q "names port 70000" <<<"$(temp_log callerid-setup.log)" || fail "the setup's log lacks the port: $(temp_log callerid-setup.log)"
(cd "$work" && "$run" -t 60 "$host/callerid.exe" --lang en firewall add) >"$work/tool.out" 2>&1 || fail "callerid firewall add on port 70000 ended with $?"
joined "$work/tool.out" | grep -q "names port 70000, outside 1 to 65535; the plug-in listens on 4464, so the rules are for 4464" ||
    fail "callerid firewall add on port 70000 says: $(cat "$work/tool.out")"
printf '[Ornitel]\r\nPytaj=1,4,0, 01339\r\n' >"$host/MERLOX.INI"
traced "the silent install back on port 1339" "$(delete_rules 4464; delete_rules 1339; add_rules 1339)" "$setup" /S "/D=$(windows "$host")"

# A netsh that cannot run: the rules are named as not added, the files stay
# and no rule is remembered; the next setup adds them again.
code=0
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;netsh.exe=" \
    "$run" -t 120 "$setup" /S "/D=$(windows "$host")" 2>"$work/netsh.err" || code=$?
[ $code = 3 ] || fail "the setup whose netsh fails ended with $code, not 3"
for rule in "Caller ID UDP 1339 in" "Caller ID UDP 1339 broadcast out"; do
    grep -q "\"$rule\": netsh could not be started" "$work/netsh.err" || fail "the setup whose netsh fails does not name $rule: $(cat "$work/netsh.err")"
done
for file in "${installed[@]}"; do [ -f "$host/$file" ] || fail "the setup whose netsh fails left out $file"; done
! remembered | grep -q 1339 || fail "the setup remembers rules netsh did not add: $(remembered)"
traced "the silent install after a failed netsh" "$(delete_rules 1339; add_rules 1339)" "$setup" /S "/D=$(windows "$host")"

# callerid firewall, run from a data folder as on a station of a shared
# program folder: the port from the program folder's MERLOX.INI, each rule
# deleted by name and added with the setup's very command; remove deletes
# them; a netsh that cannot run: exit code 5, the rules named.
mkdir -p "$work/data"
tool() { (cd "$work/data" && "$run" -t 60 "$host/callerid.exe" --lang en firewall "$@"); }
WINEDEBUG=+process tool add >"$work/tool.out" 2>"$work/trace" || fail "callerid firewall add ended with $?"
expected=$(delete_rules 1339 | head -1; add_rules 1339 | head -1; delete_rules 1339 | tail -1; add_rules 1339 | tail -1)
[ "$(netsh_runs "$work/trace")" = "$expected" ] || fail "callerid firewall add ran netsh with:
$(netsh_runs "$work/trace")
expected:
$expected"
joined "$work/tool.out" | grep -q "^port 1339: Pytaj in \[Ornitel\] of .*host.MERLOX.INI" || fail "callerid firewall add says: $(cat "$work/tool.out")"
WINEDEBUG=+process tool remove >"$work/tool.out" 2>"$work/trace" || fail "callerid firewall remove ended with $?"
[ "$(netsh_runs "$work/trace")" = "$(delete_rules 1339)" ] || fail "callerid firewall remove ran netsh with: $(netsh_runs "$work/trace")"
code=0
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;netsh.exe=" tool add >"$work/tool.out" 2>"$work/tool.err" || code=$?
[ $code = 5 ] || fail "callerid firewall add with a failing netsh ended with $code, not 5"
joined "$work/tool.err" | grep -q 'not added: "Caller ID UDP 1339 in": netsh could not be started' ||
    fail "callerid firewall add with a failing netsh says: $(cat "$work/tool.err")"
# remove likewise: a netsh that could not run found no rule, there or not.
code=0
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;netsh.exe=" tool remove >"$work/tool.out" 2>"$work/tool.err" || code=$?
[ $code = 5 ] || fail "callerid firewall remove with a failing netsh ended with $code, not 5"
for rule in "Caller ID UDP 1339 in" "Caller ID UDP 1339 broadcast out"; do
    joined "$work/tool.err" | grep -q "not removed: \"$rule\": netsh could not be started" ||
        fail "callerid firewall remove with a failing netsh says: $(cat "$work/tool.out" "$work/tool.err")"
done
! grep -q "nothing to remove" "$work/tool.out" || fail "callerid firewall remove with a failing netsh says a rule is not there"
# A --program-dir that names no folder: refused, nothing run.
code=0
WINEDEBUG=+process tool add --program-dir 'C:\Nie ma' >"$work/tool.out" 2>"$work/trace" || code=$?
[ $code = 2 ] || fail "callerid firewall add --program-dir naming no folder ended with $code, not 2"
grep -q -- '--program-dir C:\\Nie ma: there is no such folder' "$work/trace" || fail "callerid firewall add --program-dir naming no folder says: $(grep -v ':trace:' "$work/trace")"
[ -z "$(netsh_runs "$work/trace")" ] || fail "callerid firewall add --program-dir naming no folder ran netsh"

# While a process holds the plug-in loaded (as the running host does), the
# uninstaller removes nothing, silent or not (headless Wine shows no box,
# which counts as Cancel); _?= keeps it in place, so that it ends before we
# look.
"$run" -t 150 "$win/hold_module.exe" "$(windows "$host/callerid.dll")" 120 "$(windows "$work/released")" >"$work/holder.txt" 2>&1 &
holder=$!
for _ in $(seq 1 600); do grep -q '^loaded' "$work/holder.txt" 2>/dev/null && break; sleep 0.1; done
grep -q '^loaded' "$work/holder.txt" || fail "the holder did not load the plug-in: $(cat "$work/holder.txt")"
before=$(cd "$host" && ls -R && cat callerid-firewall.ini)
for mode in /S ""; do
    code=0
    WINEDEBUG=+process "$run" -t 120 "$host/callerid-uninstall.exe" $mode "_?=$(windows "$host")" \
        2>"$work/held${mode:+-silent}.err" || code=$?
    what="the uninstaller ${mode:-without /S} beside a held plug-in"
    [ $code = 2 ] || fail "$what ended with $code, not 2"
    [ -z "$(netsh_runs "$work/held${mode:+-silent}.err")" ] || fail "$what ran netsh"
    [ "$(cd "$host" && ls -R && cat callerid-firewall.ini)" = "$before" ] || fail "$what removed something: $(ls "$host")"
    entry_exists || fail "$what removed its entry"
done
grep -q "callerid.dll is in use.*Nothing was removed" "$work/held-silent.err" ||
    fail "the silent uninstaller does not say why: $(grep -v ':trace:' "$work/held-silent.err")"
grep -q "callerid.dll is in use.*Nothing was removed" <<<"$(temp_log callerid-uninstall.log)" ||
    fail "the uninstaller's log does not say why: $(temp_log callerid-uninstall.log)"
# _?= unquoted, as a script types it: the uninstaller takes the rest of the
# line; the same refusal and exit code.
code=0
printf '@echo off\r\n"%s" /S _?=%s\r\nexit /b %%ERRORLEVEL%%\r\n' "$(windows "$host/callerid-uninstall.exe")" "$(windows "$host")" >"$work/uninstall.bat"
"$run" -t 120 "$cmdexe" /c "$(windows "$work/uninstall.bat")" 2>"$work/held-unquoted.err" || code=$?
[ $code = 2 ] || fail "the uninstaller with _?= unquoted beside a held plug-in ended with $code, not 2"
grep -q "callerid.dll is in use.*Nothing was removed" "$work/held-unquoted.err" ||
    fail "the uninstaller with _?= unquoted does not say why: $(cat "$work/held-unquoted.err")"
[ "$(cd "$host" && ls -R && cat callerid-firewall.ini)" = "$before" ] || fail "the uninstaller with _?= unquoted removed something"
# The setup, likewise, replaces nothing then.
code=0
WINEDEBUG=+process "$run" -t 120 "$setup" /S "/D=$(windows "$host")" 2>"$work/held-setup.err" || code=$?
[ $code = 2 ] || fail "the setup beside a held plug-in ended with $code, not 2"
grep -q "callerid.dll is in use.*Nothing was installed" "$work/held-setup.err" ||
    fail "the silent setup beside a held plug-in does not say why: $(grep -v ':trace:' "$work/held-setup.err")"
[ -z "$(netsh_runs "$work/held-setup.err")" ] || fail "the setup beside a held plug-in ran netsh"
touch "$work/released"
wait "$holder" || fail "the holder ended with $?"
holder=""

traced "the uninstaller" "$(delete_rules 1339)" "$host/callerid-uninstall.exe" /S "_?=$(windows "$host")"
entry_exists && fail "the uninstaller left its entry"
rm -f "$host/callerid-uninstall.exe"   # running, it is removed at the next restart
for file in "${installed[@]}"; do [ ! -e "$host/$file" ] || fail "the uninstaller left $file"; done
[ -z "$(ls "$host" | grep -iv '^\(merlox.dll\|merlox.ini\|ornitel.ini\|logs\)$')" ] || fail "the uninstaller left: $(ls "$host")"
[ "$(cat "$host/LOGS/TELEFONY/CLIP.DAT")" = slots ] || fail "the uninstaller touched LOGS\\"
[ -f "$host/MERLOX.INI" ] && [ -f "$host/Ornitel.ini" ] || fail "the uninstaller removed an INI file"

# A program folder on a server, given by its UNC path with Polish letters
# (Wine maps \\server\share to dosdevices\unc\server\share): installed;
# the uninstaller warns that a network folder may be every station's.
mkdir -p "$work/share/Księgowy" "$unc/$unc_server"
printf 'host' >"$work/share/Księgowy/MERLOX.DLL"
ln -s "$work/share" "$unc/$unc_server/biuro"
shared="\\\\$unc_server\\biuro\\Księgowy"
LC_ALL=C.UTF-8 "$run" -t 120 "$setup" /S "/D=$shared" || fail "the silent install into $shared ended with $?"
for file in "${installed[@]}"; do [ -f "$work/share/Księgowy/$file" ] || fail "the setup did not install $file into $shared"; done
# The same station installs into its local folder too: each install has
# its own entry, and removing the share's leaves the local one whole.
"$run" -t 120 "$setup" /S "/D=$(windows "$host")" || fail "the second install, into $host, ended with $?"
entry_exists || fail "the local install has no entry of its own"
[ "$(entries_of "\\\\$unc_server\\biuro\\Ksi")" = 1 ] || fail "the share's entry is gone after the local install"
LC_ALL=C.UTF-8 "$run" -t 120 "$work/share/Księgowy/callerid-uninstall.exe" /S "_?=$shared" 2>"$work/shared.err" ||
    fail "the uninstaller in $shared ended with $?: $(cat "$work/shared.err")"
grep -q "Księgowy is a network folder" "$work/shared.err" || fail "the uninstaller in $shared gives no warning: $(cat "$work/shared.err")"
[ ! -e "$work/share/Księgowy/callerid.dll" ] || fail "the uninstaller in $shared left callerid.dll"
[ "$(entries_of "\\\\$unc_server\\biuro\\Ksi")" = 0 ] || fail "the uninstaller in $shared left its entry"
entry_exists || fail "the uninstaller in $shared took the local install's entry"
# With one install left, a silent setup without /D takes its folder; then
# that one uninstalls, with a netsh that cannot run: the files go, the
# rules are named as not removed, exit code 3, their memory kept.
"$run" -t 120 "$setup" /S || fail "a silent setup without /D, one install left, ended with $?"
entry_exists || fail "a silent setup without /D lost the entry"
code=0
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;netsh.exe=" \
    "$run" -t 120 "$host/callerid-uninstall.exe" /S 2>"$work/local.err" || code=$?
[ $code = 3 ] || fail "the local uninstaller with a failing netsh ended with $code, not 3: $(cat "$work/local.err")"
for rule in "Caller ID UDP 1339 in" "Caller ID UDP 1339 broadcast out"; do
    grep -q "\"$rule\": netsh could not be started" "$work/local.err" || fail "the local uninstaller does not name $rule: $(cat "$work/local.err")"
done
grep -q "did not remove these firewall rules" <<<"$(temp_log callerid-uninstall.log)" || fail "the uninstaller's log lacks the rules: $(temp_log callerid-uninstall.log)"
[ ! -e "$host/callerid.dll" ] && [ ! -e "$host/callerid-remove.exe" ] || fail "the local uninstaller left: $(ls "$host")"
remembered | grep -qx "In=1339" || fail "the local uninstaller forgot the rules it did not remove"
entry_exists && fail "the local uninstaller left its entry"
# Another station of a shared program folder runs the tool from the share,
# in its data folder: the port is the program folder's.
mkdir -p "$work/share/Program"
cp "$win/callerid.exe" "$work/share/Program/"
printf '[Ornitel]\r\nPytaj=1,4,0,1340\r\n' >"$work/share/Program/MERLOX.INI"
(cd "$work/data" && WINEDEBUG=+process "$run" -t 60 "$cmdexe" /c "\\\\$unc_server\\biuro\\Program\\callerid.exe" --lang en firewall add) \
    >"$work/tool.out" 2>"$work/trace" || fail "callerid firewall add from the share ended with $?"
share_ini="\\\\$unc_server\\biuro\\Program\\MERLOX.INI"
tr -d '\r' <"$work/tool.out" | grep -qxF "port 1340: Pytaj in [Ornitel] of $share_ini" ||
    fail "callerid firewall add from the share says: $(cat "$work/tool.out")"
[ "$(netsh_runs "$work/trace" | grep -c 1340)" = 4 ] || fail "callerid firewall add from the share ran netsh with: $(netsh_runs "$work/trace")"

# Windows XP, for the setup program alone: refused before anything else.
old=$work/old
mkdir -p "$old"
cp "$host/Merlox.dll" "$host/MERLOX.INI" "$old/"
reg add "$appdefaults" /v Version /d winxp /f || fail "cannot set Wine's Windows version for the setup"
code=0
"$run" -t 120 "$setup" /S "/D=$(windows "$old")" 2>"$work/old.err" || code=$?
reg delete "$appdefaults" /f
[ $code = 2 ] || fail "the setup on Windows XP ended with $code, not 2"
grep -q "Windows Vista" "$work/old.err" || fail "the refusal on Windows XP names no Vista: $(cat "$work/old.err")"
[ ! -e "$old/callerid.dll" ] || fail "the setup installed on Windows XP"

echo "wine_setup: $(basename "$setup") refuses Windows XP, a directory without MERLOX.DLL and an unseen drive, installs into the host's (or a UNC path) with rules for its port, says which rules a failing netsh did not add, and its uninstaller removes nothing while the plug-in is held, then its files and those rules, and keeps the office's data"
