#!/usr/bin/env bash
# languages.sh TOOL...: every command's output in Polish and in English, and
# no line of either carrying a word of the other language; every line
# within 79 columns in both. For the languages, lines that are
# the day log's own (data) and the netsh commands are left out; everything
# the tool says itself is looked at, errors included. Quoted texts (the
# window's labels, the plug-in's log messages) and option names are data.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 TOOL [ARGS...]" >&2; exit 2; }
tool=("$@")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/callerid-languages-XXXXXX)
trap 'rm -rf "$work"' EXIT
source "$here/fixture.sh"
cd "$work"
port=$((20000 + RANDOM % 40000))
plant_station sound "1,4,0,$port"

english='\b(the|is|not|no|file|folder|sent|summary|usage|cannot|does|exist|expected|bytes|free|taken|waiting|problems|settings|station|calls|rings|received|errors|unknown|unexpected|needs|listening|records|commands|done|writable|slots?\(s\))\b'
polish='\b(nie|jest|brak|plik|pliku|katalog|katalogu|wysłano|podsumowanie|użycie|polecenia|połączenia|stanowisko|stanowiska|bajtów|wolny|ustawienia|dziennik|dziennika|oczekiwano|problemy|czekam|zajęte|wtyczka|wtyczki|nieznane|nieoczekiwany)\b'
failures=0

# wide LANG ARGS...: the lines of one run wider than 79 columns
# (characters, not bytes), so that an 80-column console shows every line as
# it is. Everything counts: tables, help, the day log's own lines, errors.
wide() {
    local language=$1; shift
    "${tool[@]}" --lang "$language" "$@" 2>&1 </dev/null | tr -d '\r' |
        python3 -c 'import sys; print("\n".join(l for l in sys.stdin.buffer.read().decode("utf-8", "replace").splitlines() if len(l) > 79))' || true
}

# said LANG ARGS...: the tool's own lines of one run in that language.
said() {
    local language=$1; shift
    "${tool[@]}" --lang "$language" "$@" 2>&1 </dev/null | tr -d '\r' |
        grep -a -v -E '^[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9:]{8} [^ ]+:s=|^  netsh ' |
        sed -E 's/"[^"]*"//g; s/--[a-z-]+//g' || true
}

check() {
    local pl en
    pl=$(said pl "$@") en=$(said en "$@")
    [ -n "$pl" ] && [ -n "$en" ] || { echo "languages: callerid $* said nothing" >&2; failures=$((failures + 1)); return; }
    [ "$pl" != "$en" ] || { echo "languages: callerid $* says the same in both languages" >&2; failures=$((failures + 1)); }
    local language too_wide
    for language in pl en; do
        too_wide=$(wide "$language" "$@")
        [ -z "$too_wide" ] || { echo "languages: callerid --lang $language $* is wider than 79 columns:" >&2; echo "$too_wide" >&2; failures=$((failures + 1)); }
    done
    if grep -a -i -P "$english" <<<"$pl" >"$work/mixed"; then
        echo "languages: English in the Polish output of callerid $*:" >&2; sed 's/^/    /' "$work/mixed" >&2
        failures=$((failures + 1))
    fi
    if grep -a -i -P "$polish" <<<"$en" >"$work/mixed"; then
        echo "languages: Polish in the English output of callerid $*:" >&2; sed 's/^/    /' "$work/mixed" >&2
        failures=$((failures + 1))
    fi
}

check help
check nosuch
check send --port "$port" 600 201 "Firma"
check ping --port "$port"
check restart --port "$port"
check send --port 0 600 201
check send --port "$port" 600 201 "Cena 5 € – „Żółw”"
check slots sound/LOGS/TELEFONY/CLIP.DAT
check slots nosuch.dat
check log sound --date 01-03-2024
check log sound --date 01-03-2024 --calls
check log --date 2026-12-09
check doctor sound --date 01-03-2024
check doctor sound --date 01-03-2024 --host-ini nosuch.ini
check doctor sound --date 01-03-2024 --program-dir sound
check listen --port 0
check window-description --list
for command in send ping listen log doctor slots firewall window-description; do check "$command" --help; done
# A station whose settings name a port out of range, and whose day log
# holds a long datagram.
plant_station wide "1,4,0,70000"
event 10:00:07 $'R[10.0.0.5]:600100200\t201\t\t\tFirma '"$lodz"' Sp. z o.o., ul. Dluga 15, 90-001 '"$lodz"', dzial ksiegowosci NIP:7790004561' \
    >>wide/LOGS/TELEFONY/01-03-2024.LOG
check doctor wide --date 01-03-2024
check log wide --date 01-03-2024
check firewall add --program-dir nosuch

# Without --lang the locale decides (natively: LC_ALL, else LC_MESSAGES, else LANG).
if [[ ${tool[0]} != *run.sh ]]; then
    for case in "pl_PL.UTF-8||:użycie" "en_GB.UTF-8|pl_PL.UTF-8|:użycie" "pl_PL.UTF-8|C|:usage" "pl_PL.UTF-8||C:usage"; do
        IFS='|:' read -r lang messages all want <<<"$case"
        first=$(env LANG="$lang" LC_MESSAGES="$messages" LC_ALL="$all" "${tool[@]}" help | head -1)
        [[ $first == "$want"* ]] || { echo "languages: LANG=$lang LC_MESSAGES=$messages LC_ALL=$all gave: $first" >&2; failures=$((failures + 1)); }
    done
fi

[ $failures -eq 0 ] || { echo "languages: $failures failure(s)" >&2; exit 1; }
echo "languages: every command speaks Polish and English, no line mixes them"
