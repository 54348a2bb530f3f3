#!/usr/bin/env bash
# A person's first minutes with the reference host's screens, played in a
# detached tmux terminal of 120x30: two calls arrive, the caller-ID window
# shows them (the second within one refresh), the NIP goes to the search
# window and finds its contractor, a row is edited and saved, the settings
# are changed and kept, and the host is left. Each step is checked on the
# screen and in the files the plug-in writes.
#
# usage: tmux_walkthrough.sh REFHOST CALLERID [--write-docs FILE]
#   --write-docs FILE  also writes every step's screen to FILE (Markdown)
# Exit code 77 (a skip for ctest) when tmux is missing.
set -euo pipefail

refhost=${1:?usage: $0 REFHOST CALLERID [--write-docs FILE]}
callerid=${2:?usage: $0 REFHOST CALLERID [--write-docs FILE]}
docs=
if [ "${3:-}" = --write-docs ]; then docs=${4:?--write-docs needs a file}; fi

command -v tmux >/dev/null || { echo "tmux is not installed: skipped"; exit 77; }

# Leaving the caller-ID window broadcasts a restart to 255.255.255.255. The
# walkthrough runs in a network namespace of its own, where only loopback
# is up and the broadcast address is routed to it, so nothing leaves the
# machine; where no namespace can be made it is skipped.
if [ "${CALLERID_WALKTHROUGH_ISOLATED:-}" != 1 ]; then
    export CALLERID_WALKTHROUGH_ISOLATED=1
    if unshare -n true 2>/dev/null; then exec unshare -n "$0" "$@"; fi
    if unshare -rn true 2>/dev/null; then exec unshare -rn "$0" "$@"; fi
    echo "no network namespace can be made here: skipped"
    exit 77
fi
ip link set lo up
ip route add 255.255.255.255/32 dev lo
# The keys typed and the screen read back are UTF-8.
export LC_ALL=C.UTF-8

scratch=$(mktemp -d)
socket="callerid-walkthrough-$$"
tmux_() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() {
    tmux_ kill-server 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- the screen:" >&2
    tmux_ capture-pane -t walk -p >&2 2>/dev/null || true
    exit 1
}

# A UDP port below 32768, which the window's port field holds as it is,
# and which nothing on this machine listens on.
free_port() {
    local port
    for _ in $(seq 1 50); do
        port=$((20000 + RANDOM % 12000))
        if ! command -v ss >/dev/null || [ -z "$(ss -Huln "sport = :$port" 2>/dev/null)" ]; then
            echo "$port"
            return
        fi
    done
    echo "no free UDP port found" >&2
    exit 1
}
port=$(free_port)

screen_text() { tmux_ capture-pane -t walk -p; }

# Waits until the screen shows the text, at most `limit` seconds.
wait_for() {
    local text=$1 limit=${2:-10}
    local deadline=$(($(date +%s%3N) + $(awk -v s="$limit" 'BEGIN { printf "%d", s * 1000 }')))
    until screen_text | grep -qF -- "$text"; do
        [ "$(date +%s%3N)" -lt "$deadline" ] || fail "the screen did not show \"$text\" within $limit s"
        sleep 0.05
    done
}

wait_gone() {
    local text=$1
    for _ in $(seq 1 200); do
        screen_text | grep -qF -- "$text" || return 0
        sleep 0.05
    done
    fail "the screen still shows \"$text\""
}

keys() { tmux_ send-keys -t walk "$@"; }
typed() { tmux_ send-keys -t walk -l -- "$1"; }

step_count=0
[ -z "$docs" ] || : >"$docs.part"
record() {
    step_count=$((step_count + 1))
    [ -n "$docs" ] || return 0
    {
        echo "## $step_count. $1"
        echo
        echo '```text'
        screen_text | sed -e 's/[[:space:]]*$//'
        echo '```'
        echo
    } >>"$docs.part"
}

# Bytes `count` from `offset` of a file, without the NULs that pad them.
field() { dd if="$1" bs=1 skip="$2" count="$3" 2>/dev/null | tr -d '\0'; }
record_size=562
phone_of() { field "$1" $(($2 * record_size + 500)) 21; }
target_of() { field "$1" $(($2 * record_size + 521)) 21; }

# The host's settings: notice shown, suggest + clipboard + log, slot 1, the port.
printf '[Ornitel]\r\nPytaj=1,7,0,%d\r\n' "$port" >"$scratch/MERLOX.INI"
slots="$scratch/LOGS/TELEFONY/CLIP.DAT"

tmux_ new-session -d -s walk -x 120 -y 30 -e LANG=C.UTF-8 -e LC_ALL=C.UTF-8 \
    "'$refhost' --dir '$scratch'; echo \$? >'$scratch/exit-code'; sleep 30"
tmux_ set-option -t walk -g status off >/dev/null

wait_for "Kontrahenci (tabela 35"
wait_for "F10 koniec"
record "The host starts in a terminal: the contractor table, the cursor in the NIP column."

"$callerid" send --port "$port" 221234567 RECEPCJA "Wawel-Handel NIP:6760003214" >/dev/null
for _ in $(seq 1 100); do [ -s "$slots" ] && break; sleep 0.05; done
[ -s "$slots" ] || fail "the first call was not filed in $slots"
keys C-g
wait_for "Wybierz"
wait_for "676-00-03-214"
record "A call came in (\`callerid send --port PORT 221234567 RECEPCJA \"Wawel-Handel NIP:6760003214\"\` from a second terminal); Ctrl-G opens the caller-ID window."

"$callerid" send --port "$port" 600100200 SEKRETARIAT "Drewmax Tartak NIP:7790004561" >/dev/null
wait_for "779-00-04-561" 3.5  # less than two refresh periods
record "A second call, to SEKRETARIAT, shows up in the open window at its next refresh."

keys 2
wait_for "Drewmax Tartak NIP:7790004561"
record "Key 2 selects the second row; its whole text stands in the status line."

keys Escape
wait_gone "SEKRETARIAT"
wait_for "Schowek: 779-00-04-561"
record "ESC leaves the window and puts the selected row's NIP on the clipboard."

keys C-f
wait_for "Szukaj kontrahenta"
wait_for "NIP: 779-00-04-561"
screen_text | grep -qE '779-00-04-561 \([0-9]+:[0-9]{2}\)' || fail "the search window shows no NIP with the time since the call"
record "Ctrl-F in the NIP column: the plug-in suggests the NIP, and the widened search window shows it with the time since the call."

keys Enter
wait_gone "Szukaj kontrahenta"
wait_for "wiersz 2 z 8"
screen_text | grep -q '^►DREWM' || fail "the cursor is not on the contractor with NIP 779-00-04-561"
record "Enter searches: the cursor moves to the contractor with that NIP."

keys C-g
wait_for "Wybierz"
keys Right Tab End
typed "-ŁÓDŹ"
wait_for "ARIAT-ŁÓDŹ"  # the field of 15 cells scrolls with the cursor
keys F5
# The plug-in stores targets in Windows-1250: Ł Ó D Ź are A3 D3 44 8F there.
edited=$(printf 'SEKRETARIAT-\xa3\xd3D\x8f')
for _ in $(seq 1 200); do [ "$(target_of "$slots" 1)" = "$edited" ] && break; sleep 0.05; done
[ "$(target_of "$slots" 1)" = "$edited" ] ||
    fail "F5 did not save the edited target (the slot file holds \"$(target_of "$slots" 1)\")"
[ "$(phone_of "$slots" 1)" = 600100200 ] || fail "F5 changed the phone of row 2"
[ "$(phone_of "$slots" 0)" = 221234567 ] && [ "$(target_of "$slots" 0)" = RECEPCJA ] || fail "F5 changed row 1"
record "Ctrl-G again: the focus starts on the selected row; Right and Tab reach its target, which is edited (Polish letters typed in UTF-8), and F5 saves the rows."

keys M-1 M-t
wait_for "[ ] Tworz LOG"
record "Alt+1 selects the first row again and Alt+T switches the day log off."

tmux_ resize-window -t walk -x 70 -y 20
wait_for "nie mieści się w terminalu"
wait_for "ARIAT-ŁÓDŹ"
record "The terminal shrinks to 70x20: the window shows the part around the focused field and says it does not fit."
tmux_ resize-window -t walk -x 12 -y 4
wait_for "Za mały"
tmux_ resize-window -t walk -x 120 -y 30
wait_gone "nie mieści się w terminalu"

keys F12
wait_gone "[ ] Tworz LOG"
# Row 1 (676-00-03-214) is selected now: the clipboard keeps ESC's NIP.
sleep 0.3
screen_text | grep -q "Schowek: 779-00-04-561" || fail "F12 changed the clipboard: $(screen_text | grep Schowek)"
grep -q "^Pytaj=1,3,0,$port" "$scratch/MERLOX.INI" ||
    fail "F12 did not save the settings: $(tr '\r\n' '  ' <"$scratch/MERLOX.INI")"
grep -q '^Filename=LOGS\\TELEFONY\\CLIP.DAT' "$scratch/Ornitel.ini" || fail "Ornitel.ini holds no slot file name"
record "F12 leaves the window without touching the clipboard; the settings are saved (MERLOX.INI: Pytaj=1,3,0,PORT)."

keys F10
wait_for "Wyłączanie obsługi UDP"
record "F10 quits: the plug-in stops and says so."

keys Enter
for _ in $(seq 1 100); do [ -s "$scratch/exit-code" ] && break; sleep 0.05; done
[ "$(cat "$scratch/exit-code" 2>/dev/null)" = 0 ] || fail "refhost did not end with exit code 0"

if [ -n "$docs" ]; then
    {
        echo "# The reference host's screens"
        echo
        echo "What a person sees in the reference host's interactive mode (\`./run.sh\` in a"
        echo "terminal of 120x30), step by step. Written by"
        echo "\`tests/screens/tmux_walkthrough.sh REFHOST CALLERID --write-docs docs/screens.md\`,"
        echo "which plays these steps in tmux and checks each of them; times and dates are"
        echo "those of the run."
        echo
        cat "$docs.part"
    } >"$docs"
    rm -f "$docs.part"
fi
echo "walkthrough passed: $step_count steps"
