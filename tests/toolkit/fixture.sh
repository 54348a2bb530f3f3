# Sourced by the toolkit scripts: plant_station DIR PYTAJ makes a host working
# directory as the plug-in leaves it (settings, a slot file with one call,
# a day log of 01-03-2024 with a call and a ring), Mazovia texts included.
lodz=$'\x9c\xa2d\xa6'                       # "Łódź" in Mazovia
event() { printf '01.03.2024 %s OFFICE1:s=1:u=ANNA %s\r\n' "$1" "$2"; }
plant_station() {
    local dir=$1 pytaj=$2
    mkdir -p "$dir/LOGS/TELEFONY"
    printf '[Ornitel]\r\nPytaj=%s\r\n' "$pytaj" >"$dir/MERLOX.INI"
    { printf "Firma $lodz NIP:7790004561"; head -c $((500 - 25)) /dev/zero; printf '600100200'; head -c 12 /dev/zero
      printf '201'; head -c $((18 + 11 + 9 + 562 * 9)) /dev/zero; } >"$dir/LOGS/TELEFONY/CLIP.DAT"
    { event 10:00:00 "I'm alive - pooling loop 10 sek"
      event 10:00:05 $'R[10.0.0.5]:600100200\t201\t\t\tFirma '"$lodz"' NIP:1234567890'
      printf '01.03.2024\t10:00:05\t600100200\t201\tFirma %s NIP:1234567890\t\r\n' "$lodz"
      event 10:00:09 $'R[10.0.0.5]:Ring\t201'; } >"$dir/LOGS/TELEFONY/01-03-2024.LOG"
}
