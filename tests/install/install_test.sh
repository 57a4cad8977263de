#!/usr/bin/env bash
# Installs the build into a fresh folder and checks that a Linux desktop
# finds everything there: the data folder and the programs, the menu entry,
# the saved-game type and the icons.
#
#   install_test.sh CMAKE BUILD_DIR PREFIX CONFIG DATADIR BINDIR SOURCE_DIR WITH_GAME UPDATE_CACHES
#
# CONFIG is the build configuration, '-' for none; DATADIR and BINDIR are the
# install folders relative to the prefix (or absolute), SOURCE_DIR
# the project's sources (the data sources are counted there), WITH_GAME 1 when
# the build has the game window program, UPDATE_CACHES 1 when the install
# refreshes the MIME database. Prints one line per check; exits 1 when any
# check failed.
set -uo pipefail

if (($# != 9)); then
  echo "usage: $0 CMAKE BUILD_DIR PREFIX CONFIG DATADIR BINDIR SOURCE_DIR WITH_GAME UPDATE_CACHES" >&2
  exit 2
fi
cmake=$1 build=$2 prefix=$3 config=$4 datadir=$5 bindir=$6 source=$7 with_game=$8 update_caches=$9

failures=0
ok() { echo "ok:   $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
skip() { echo "skip: $*"; }

# The absolute form of a folder given relative to the prefix.
under_prefix() { case $1 in /*) echo "$1" ;; *) echo "$prefix/$1" ;; esac; }
share=$(under_prefix "$datadir")
bin=$(under_prefix "$bindir")

# ------------------------------------------------------------------ install

rm -rf "$prefix"
log=$prefix.log
config_option=()
[ "$config" = - ] || config_option=(--config "$config")
if ! env -u DESTDIR "$cmake" --install "$build" --prefix "$prefix" "${config_option[@]}" >"$log" 2>&1; then
  cat "$log"
  echo "FAIL: cmake --install $build --prefix $prefix failed"
  exit 1
fi
ok "cmake --install into $prefix"

# ---------------------------------------------------------- data, programs

data=$share/quorvane
count() { find "$1" -maxdepth 1 -type f -name "$2" 2>/dev/null | wc -l; }
for kind in "races json race" "sounds txt wav" "ships txt bmp"; do
  read -r folder from to <<<"$kind"
  want=$(count "$source/data/$folder" "*.$from")
  have=$(count "$data" "*.$to")
  if ((want == 0)); then
    fail "no data sources in $source/data/$folder"
  elif ((have == want)); then
    ok "$have .$to files in $data"
  else
    fail "$data holds $have .$to files, the sources give $want"
  fi
done
if [ -d "$build/bin/data" ] && diff -r "$build/bin/data" "$data" >/dev/null 2>&1; then
  ok "the installed data folder is the built one, file for file"
else
  fail "$data differs from the built data folder $build/bin/data"
fi

cli=$bin/quorvane-cli
if [ -x "$cli" ] && [ -f "$cli" ]; then
  ok "quorvane-cli installed in $bin"
  # Started from a folder without race files, it must find the installed data
  # by itself, as it does when started from a menu.
  elsewhere=$(mktemp -d)
  races=$(cd "$elsewhere" && env -u QUORVANE_DATA_DIR "$cli" races --json 2>"$elsewhere/errors")
  status=$?
  listed=0
  for json in "$source"/data/races/*.json; do
    name=$(sed -n 's/^ *"name": *"\([^"]*\)".*/\1/p' "$json" | head -n 1)
    if [ -n "$name" ] && grep -qF "\"$name\"" <<<"$races"; then listed=$((listed + 1)); fi
  done
  want=$(count "$source/data/races" "*.json")
  if ((status == 0 && listed == want)); then
    ok "the installed quorvane-cli lists the $want installed races"
  else
    cat "$elsewhere/errors"
    fail "the installed quorvane-cli, run from elsewhere, found $listed of $want races (exit status $status)"
  fi
  rm -rf "$elsewhere"
else
  fail "quorvane-cli is not installed in $bin"
fi

# ------------------------------------------------------------- menu entry

desktop=$share/applications/quorvane.desktop
field() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
if [ ! -f "$desktop" ]; then
  fail "no desktop entry at $desktop"
else
  ok "desktop entry installed"
  if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$desktop" 2>&1)
    status=$?
    if ((status == 0)) && ! grep -qE ": (error|warning):" <<<"$report"; then
      ok "desktop-file-validate passes${report:+ (${report//$'\n'/; })}"
    else
      echo "$report"
      fail "desktop-file-validate rejects $desktop"
    fi
  else
    skip "desktop-file-validate is not installed (scripts/setup installs desktop-file-utils); the entry is not validated"
  fi

  exec_line=$(field Exec)
  program=${exec_line%% *}
  if [ "$program" != quorvane ]; then
    fail "the entry starts '$program' (Exec=$exec_line), not the game 'quorvane'"
  elif [[ " $exec_line " != *" %f "* && " $exec_line " != *" %F "* ]]; then
    fail "the entry's Exec=$exec_line does not pass the opened file"
  elif [ "$with_game" = 1 ]; then
    if [ -x "$bin/$program" ] && [ -f "$bin/$program" ]; then
      ok "the entry starts $bin/$program with the opened file"
    else
      fail "the entry starts '$program', which the install did not put into $bin"
    fi
  else
    skip "the entry starts '$program', which this build does not make yet; not checked in $bin"
  fi

  icon=$(field Icon)
  found=$(find "$share/icons/hicolor" -path "*/apps/$icon.png" 2>/dev/null | head -n 1)
  if [ -n "$icon" ] && [ -n "$found" ]; then
    ok "the entry's icon '$icon' is in the hicolor theme"
  else
    fail "the entry's icon '$icon' is not installed under $share/icons/hicolor/*/apps"
  fi
fi

# ----------------------------------------------------------- saved games

mime=$share/mime/packages/quorvane.xml
[ -f "$mime" ] || mime=$share/mime/packages/quorvane-mime.xml
type=application/x-zarvon
if [ ! -f "$mime" ]; then
  fail "no MIME package in $share/mime/packages"
else
  if command -v xmllint >/dev/null; then
    if xmllint --noout "$mime" 2>/dev/null; then ok "$mime is well-formed XML"; else fail "$mime is not well-formed XML"; fi
    of_type="//*[local-name()='mime-type' and @type='$type']"
    globs=$(xmllint --xpath "$of_type/*[local-name()='glob']/@pattern" "$mime" 2>/dev/null)
    comment=$(xmllint --xpath "string($of_type/*[local-name()='comment'][not(@*)])" "$mime" 2>/dev/null)
    mime_icon=$(xmllint --xpath "string($of_type/*[local-name()='icon']/@name)" "$mime" 2>/dev/null)
    namespace=$(xmllint --xpath "namespace-uri(/*)" "$mime" 2>/dev/null)
  else
    # No XML tools: a rough look at the document instead.
    if head -n 1 "$mime" | grep -q '^<?xml' && grep -q '<mime-info' "$mime" && grep -q '</mime-info>' "$mime" &&
      (($(grep -o '<mime-type' "$mime" | wc -l) == $(grep -o '</mime-type>' "$mime" | wc -l))); then
      ok "$mime looks like a MIME package (xmllint is not installed)"
    else
      fail "$mime is not a complete MIME package"
    fi
    globs=$(grep -A20 "type=\"$type\"" "$mime" | grep -o 'pattern="[^"]*"')
    comment=$(grep -A20 "type=\"$type\"" "$mime" | sed -n 's:.*<comment>\(.*\)</comment>.*:\1:p' | head -n 1)
    mime_icon=$(grep -A20 "type=\"$type\"" "$mime" | sed -n 's:.*<icon name="\([^"]*\)".*:\1:p' | head -n 1)
    namespace=$(sed -n 's:.*<mime-info xmlns="\([^"]*\)".*:\1:p' "$mime" | head -n 1)
  fi
  if [ "$namespace" = http://www.freedesktop.org/standards/shared-mime-info ]; then
    ok "the package is in the shared-mime-info namespace"
  else
    fail "the package's namespace is '$namespace', not shared-mime-info's"
  fi
  if grep -qF 'pattern="*.zvq"' <<<"$globs"; then ok "$type is declared for *.zvq"; else fail "$mime declares no glob *.zvq for $type"; fi
  if [ "$comment" = "Zarvon Document" ]; then ok "$type is called '$comment'"; else fail "$type is called '$comment'"; fi
  if [ -n "$mime_icon" ]; then
    if [ -n "$(find "$share/icons/hicolor" -path "*/mimetypes/$mime_icon.png" 2>/dev/null)" ]; then
      ok "the saved games' icon '$mime_icon' is in the hicolor theme"
    else
      fail "the saved games' icon '$mime_icon' is not installed under $share/icons/hicolor/*/mimetypes"
    fi
  fi
  if [ -f "$desktop" ] && [[ ";$(field MimeType)" == *";$type;"* ]]; then
    ok "the desktop entry opens $type"
  else
    fail "the desktop entry does not list $type in MimeType"
  fi
  # The install rebuilt the MIME database in the prefix: the type must be in it.
  if [ "$update_caches" = 1 ] && command -v update-mime-database >/dev/null; then
    if grep -qxF "$type:*.zvq" <(cut -d: -f2- "$share/mime/globs2" 2>/dev/null); then
      ok "the MIME database built in $share/mime knows *.zvq as $type"
    else
      fail "$share/mime/globs2 does not map *.zvq to $type"
    fi
  else
    skip "the install did not build the MIME database (update-mime-database missing or refresh turned off)"
  fi
  # Ask GLib, as GNOME's file manager does, with the prefix as the only data
  # folder, what a saved game is. (Which program it picks for the type also
  # depends on GLib's caches of the moment; the entry's MimeType line above is
  # what the install is answerable for.)
  if [ "$update_caches" = 1 ] && command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
    scratch=$(mktemp -d)
    printf 'ZV\0\1\2\3\0\0' >"$scratch/campaign.zvq"
    xdg=(env -u XDG_DATA_DIRS -u XDG_DATA_HOME -u XDG_CONFIG_DIRS LC_ALL=C GIO_USE_VFS=local
      XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share" XDG_CONFIG_HOME="$scratch/config" XDG_CONFIG_DIRS="$scratch/config"
      PATH="$bin:$PATH")
    seen=$("${xdg[@]}" gio info -a standard::content-type "$scratch/campaign.zvq" 2>/dev/null |
      sed -n 's/^ *standard::content-type: *//p')
    if [ "$seen" = "$type" ]; then ok "GLib sees a .zvq file as $type"; else fail "GLib sees a .zvq file as '$seen'"; fi
    rm -rf "$scratch"
  else
    skip "gio or the MIME database is missing: the desktop's view of a .zvq file is not checked"
  fi
fi

# ------------------------------------------------------------------ icons

# Width and height from a PNG's header: the signature, then the IHDR chunk.
png_size() {
  local bytes
  bytes=$(od -An -v -tu1 -N24 "$1" 2>/dev/null | tr -s ' \n' ' ')
  read -r -a b <<<"$bytes"
  ((${#b[@]} == 24)) || return 1
  [ "${b[*]:0:8}" = "137 80 78 71 13 10 26 10" ] || return 1
  [ "${b[*]:12:4}" = "73 72 68 82" ] || return 1
  echo "$(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19]))x$(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23]))"
}
for size in 48 256; do
  for file in "apps/quorvane.png" "mimetypes/${mime_icon:-application-x-zarvon}.png"; do
    path=$share/icons/hicolor/${size}x$size/$file
    if [ ! -f "$path" ]; then
      fail "no icon at $path"
    elif ! got=$(png_size "$path"); then
      fail "$path is not a PNG file"
    elif [ "$got" != "${size}x$size" ]; then
      fail "$path is $got, not ${size}x$size"
    else
      ok "$path is a ${size}x$size PNG"
    fi
  done
done

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "every check passed"
