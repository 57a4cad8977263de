#!/usr/bin/env bash
# Installs the build into a fresh folder and checks what a Linux desktop finds
# there: the data and the programs, the menu entry, the saved-game type and
# the icons. Prints one line per failed check; exits 1 when any failed.
#   install_test.sh CMAKE BUILD_DIR PREFIX CONFIG DATADIR BINDIR SOURCE_DIR WITH_GAME UPDATE_CACHES
set -uo pipefail
cmake=$1 build=$2 prefix=$3 config=$4 source=$7 with_game=$8 update_caches=$9
under_prefix() { case $1 in /*) echo "$1" ;; *) echo "$prefix/$1" ;; esac; }
share=$(under_prefix "$5") bin=$(under_prefix "$6") failures=0
check() { # check DESCRIPTION COMMAND...: the command must succeed
  local what=$1
  shift
  if "$@"; then echo "ok:   $what"; else echo "FAIL: $what" && failures=$((failures + 1)); fi
}

rm -rf "$prefix"
[ "$config" = - ] && config_option=() || config_option=(--config "$config")
env -u DESTDIR "$cmake" --install "$build" --prefix "$prefix" "${config_option[@]}" >"$prefix.log" 2>&1 ||
  { cat "$prefix.log" && echo "FAIL: cmake --install" && exit 1; }

# The data, file for file as built, one race, sound and picture per source;
# the installed tool, started elsewhere, finds it by itself and lists every race.
data=$share/quorvane
count() { find "$1" -maxdepth 1 -type f -name "$2" | wc -l; }
check "the installed data is the built data" diff -r "$build/bin/data" "$data"
for kind in "races json race" "sounds txt wav" "ships txt bmp"; do
  read -r folder from to <<<"$kind"
  check "one .$to per source in data/$folder" test "$(count "$source/data/$folder" "*.$from")" -eq "$(count "$data" "*.$to")" -a "$(count "$data" "*.$to")" -gt 0
done
races=$(cd / && env -u QUORVANE_DATA_DIR "$bin/quorvane-cli" races --json)
for json in "$source"/data/races/*.json; do
  name=$(sed -n 's/^ *"name": *"\([^"]*\)".*/\1/p' "$json" | head -n 1)
  check "the installed quorvane-cli lists '$name'" grep -qF "\"name\": \"$name\"" <<<"$races"
done

# The menu entry starts the installed game with the opened file, shows its icon
# and opens saved games.
desktop=$share/applications/quorvane.desktop
field() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
type=application/x-zarvon
if command -v desktop-file-validate >/dev/null; then
  check "desktop-file-validate passes" bash -c '! desktop-file-validate "$1" 2>&1 | grep -qE ": (error|warning):"' - "$desktop"
fi
check "the entry starts 'quorvane FILE'" grep -qxE "Exec=quorvane( .*)? %[fF]( .*)?" "$desktop"
[ "$with_game" = 1 ] && check "the game is installed" test -x "$bin/quorvane"
check "the entry opens $type" grep -qx "MimeType=\(.*;\)\?$type;.*" "$desktop"

# The saved-game type: *.zvq, 'Zarvon Document', in the database the install rebuilt.
mime=$share/mime/packages/quorvane.xml
check "the MIME package is well-formed" xmllint --noout "$mime"
of_type="//*[local-name()='mime-type' and @type='$type']"
check "$type is *.zvq" test "$(xmllint --xpath "string($of_type/*[local-name()='glob']/@pattern)" "$mime")" = "*.zvq"
check "$type is called 'Zarvon Document'" test "$(xmllint --xpath "string($of_type/*[local-name()='comment'])" "$mime")" = "Zarvon Document"
check "the saved games' icon is $type's" test "$(xmllint --xpath "string($of_type/*[local-name()='icon']/@name)" "$mime")" = application-x-zarvon
if [ "$update_caches" = 1 ] && command -v update-mime-database >/dev/null; then
  check "the MIME database maps *.zvq to $type" grep -q ":$type:\*\.zvq$" "$share/mime/globs2"
fi

# Each icon a PNG of its size, as the program's icon and as the saved games'.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for size in 48 256; do
  for file in "apps/$(field Icon).png" mimetypes/application-x-zarvon.png; do
    path=$share/icons/hicolor/${size}x$size/$file
    check "$path is a ${size}x$size PNG" test "$(head -c 8 "$path" | od -An -c | tr -d ' ')$(png_size "$path")" = '211PNG\r\n032\n'"${size}x$size"
  done
done
((failures == 0)) || { echo "$failures check(s) failed" && exit 1; }
