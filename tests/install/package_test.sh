#!/usr/bin/env bash
# Builds the Debian package with scripts/package and checks it as Debian and a
# player find it: its name, version, files and computed dependencies; the
# programs and data extracted into a scratch folder, run from there; lintian;
# the metainfo (appstreamcli); the manual pages (man -l), whose options must
# be those the programs' --help lists. Prints one line per failed check;
# exits 1 when any failed.   tests/install/package_test.sh
set -uo pipefail
cd "$(dirname "$0")/../.."
source=$(pwd) failures=0
check() { # check DESCRIPTION COMMAND...: the command must succeed
  local what=$1
  shift
  if "$@"; then echo "ok:   $what"; else echo "FAIL: $what" && failures=$((failures + 1)); fi
}
same() { # same DESCRIPTION EXPECTED ACTUAL: two lists, compared as sorted lines
  check "$1" diff <(sort -u <<<"$2") <(sort -u <<<"$3")
}

scripts/package || { echo "FAIL: scripts/package" && exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/default/CMakeCache.txt)
arch=$(dpkg --print-architecture)
deb=build/package/quorvane_${version}_$arch.deb
check "the package is $deb" test -f "$deb"
check "its version $version is the one the title screen shows" grep -qF "\"Version - $version\"" src/presentation/title_screen.cpp
field() { dpkg-deb -f "$deb" "$1"; }
check "the control file names quorvane $version for $arch in games" \
  test "$(field Package) $(field Version) $(field Architecture) $(field Section)" = "quorvane $version $arch games"

# The files: the programs in /usr/games, the data built from each source, and
# what a desktop and Debian need; nothing else.
expected="usr/games/quorvane
usr/games/quorvane-cli
usr/share/applications/quorvane.desktop
usr/share/mime/packages/quorvane.xml
usr/share/man/man6/quorvane.6.gz
usr/share/man/man6/quorvane-cli.6.gz
usr/share/doc/quorvane/copyright
usr/share/doc/quorvane/changelog.gz"
for size in 48 256; do
  expected+=$'\n'"usr/share/icons/hicolor/${size}x$size/apps/quorvane.png"
  expected+=$'\n'"usr/share/icons/hicolor/${size}x$size/mimetypes/application-x-zarvon.png"
done
metainfo=$(find build/default/dist -maxdepth 1 -name '*.metainfo.xml')
expected+=$'\n'"usr/share/metainfo/$(basename "$metainfo")"
for kind in "races json race" "sounds txt wav" "ships txt bmp"; do
  read -r folder from to <<<"$kind"
  for file in data/"$folder"/*."$from"; do
    expected+=$'\n'"usr/share/quorvane/$(basename "$file" ".$from").$to"
  done
done
same "the package holds exactly the expected files" "$expected" \
  "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}')"

# The dependencies are computed from the programs: every library they load
# comes from a package named in Depends, with the version dpkg-shlibdeps found.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
depends=$(field Depends | tr ',' '\n' | sed -E 's/^ +//')
owner() { # the package of a library file, by its path or the path it links to
  local library=$1
  { dpkg -S "$library" || dpkg -S "$(readlink -f "$library")"; } 2>/dev/null | head -n 1 | cut -d: -f1
}
depends_on() { # depends_on PACKAGE: Depends has "PACKAGE (>= VERSION)"
  local dependency
  while read -r dependency; do [[ $dependency == "$1 (>= "?*")" ]] && return 0; done <<<"$depends"
  return 1
}
for program in "$scratch"/root/usr/games/*; do
  for soname in $(objdump -p "$program" | awk '$1 == "NEEDED" {print $2}'); do
    package=$(owner "$(ldconfig -p | awk -v name="$soname" '$1 == name {print $NF; exit}')")
    check "$(basename "$program") needs $soname: Depends names ${package:-its package} with a version" \
      depends_on "${package:-?}"
  done
done

# The extracted programs find the extracted data as the installed ones do
# (../share/quorvane beside them), started elsewhere, with no variable set.
games=$scratch/root/usr/games
mkdir "$scratch/elsewhere" && cd "$scratch/elsewhere" || exit 1
races=$(env -u QUORVANE_DATA_DIR "$games/quorvane-cli" races --json)
for json in "$source"/data/races/*.json; do
  name=$(sed -n 's/^ *"name": *"\([^"]*\)".*/\1/p' "$json" | head -n 1)
  check "the extracted quorvane-cli lists '$name'" grep -qF "\"name\": \"$name\"" <<<"$races"
done
check "the extracted quorvane-cli makes a new game" env -u QUORVANE_DATA_DIR "$games/quorvane-cli" new --seed 5 -o game.zvq
check "the new game opens again" bash -c 'env -u QUORVANE_DATA_DIR "$1" dump game.zvq >/dev/null' - "$games/quorvane-cli"
for program in quorvane quorvane-cli; do
  check "$program --version says $version" test "$(env -u DISPLAY -u WAYLAND_DISPLAY "$games/$program" --version)" = "$program $version"
done
cd "$source" || exit 1

# lintian: no error and no warning (it says the informational tags anyway).
lintian --display-info --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1
check "lintian finds no error or warning" test $? -eq 0
sed 's/^/  lintian: /' "$scratch/lintian.log"

# The metainfo: valid, with this version, the saved-game type the MIME package
# declares, the menu entry, and the screenshots scripts/package rendered.
share=$scratch/root/usr/share
installed_metainfo=$share/metainfo/$(basename "$metainfo")
check "appstreamcli validate passes" appstreamcli validate --no-net "$installed_metainfo"
xpath() { xmllint --xpath "$1" "$2" 2>/dev/null; }
check "the metainfo's release is $version" test "$(xpath 'string(//releases/release[1]/@version)' "$installed_metainfo")" = "$version"
id=$(xpath 'string(/component/id)' "$installed_metainfo")
check "the metainfo's id $id is reverse-DNS and names its file" \
  bash -c '[[ $1 =~ ^[a-z][a-z0-9-]*(\.[A-Za-z0-9_-]+)+$ && $1.metainfo.xml == "$2" ]]' - "$id" "$(basename "$metainfo")"
mime_type=$(xpath "string(//*[local-name()='mime-type']/@type)" "$share/mime/packages/quorvane.xml")
check "the metainfo provides $mime_type" test "$(xpath 'string(//provides/mediatype)' "$installed_metainfo")" = "$mime_type"
check "the metainfo launches the menu entry" test -f "$share/applications/$(xpath 'string(//launchable)' "$installed_metainfo")"
same "the metainfo's screenshots are the ones scripts/package rendered" \
  "$(xpath '//screenshot/image/text()' "$installed_metainfo" | sed 's#.*/##')" "$(ls build/package/screenshots)"

# The manual pages: shown by man without a warning, and their options those
# of --help. In quorvane-cli(6) each command has a subsection of its own.
for page in quorvane quorvane-cli; do
  file=$share/man/man6/$page.6.gz
  shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>"$scratch/man.err")
  check "man -l shows $page(6)" grep -q "^NAME" <<<"$shown"
  check "man -l gives no warning for $page(6)" test ! -s "$scratch/man.err"
done
help_options() { sed -n '/^Options:/,/^$/p' | grep -E '^  -' | sed -E 's/^  //; s/  .*//; s/<[^>]*>//g' |
  grep -oE -- '--?[a-zA-Z][a-zA-Z-]*' | grep -vxE -- '-h|--help' || true; }
man_options() { # the .TP items' options of the lines from stdin
  grep -A1 '^\.TP' | grep -v '^\.TP\|^--$' | sed 's/\\-/-/g' | grep -oE -- '(^|[ ",])--?[a-zA-Z][a-zA-Z-]*' |
    sed -E 's/^[ ",]//' | grep -vxE -- '-h|--help' || true; }
man_section() { zcat "$share/man/man6/$1.6.gz" | awk -v head="$2" -v level="$3" \
  '$0 == head {on = 1; next} on && ($1 == ".SH" || $1 == level) {on = 0} on'; }
same "quorvane(6) has the options of quorvane --help" \
  "$("$games/quorvane" --help | help_options)" "$(man_section quorvane .SH\ OPTIONS .SH | man_options)"
cli=$games/quorvane-cli
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | grep -E '^  [a-z]' | sed -E 's/^  //; s/  .*//')
same "quorvane-cli(6) has a subsection for every command" "$commands" \
  "$(zcat "$share/man/man6/quorvane-cli.6.gz" | sed -n 's/^\.SS //p')"
while read -r command; do
  # shellcheck disable=SC2086 # a command may be two words
  same "quorvane-cli(6) gives '$command' the options of its --help" \
    "$("$cli" $command --help | help_options)" "$(man_section quorvane-cli ".SS $command" .SS | man_options)"
done <<<"$commands"
same "quorvane-cli(6) has the options of quorvane-cli --help" \
  "$("$cli" --help | sed '/^Commands:/,$d' | grep -oE -- "(^| |')--?[a-z][a-z-]*" | sed -E "s/^[ ']//" | grep -vx -- --help)" \
  "$(man_section quorvane-cli .SH\ OPTIONS .SH | man_options)"
((failures == 0)) || { echo "$failures check(s) failed" && exit 1; }
