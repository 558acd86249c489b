#!/usr/bin/env bash
# The files made from the release (the project's VERSION, YYYY.MM.DD) agree
# with it, and the licence is the same in every file that carries it:
#  - the generated header and the manual page show the release as YYYY-MM-DD;
#  - the Debian changelog parses, names the release and its day (the weekday
#    as well, which only a check like this one would catch), and the
#    directory the package really installs the game in;
#  - the day computation itself, on dates around leap days and centuries;
#  - the Debian copyright file is machine-readable (DEP-5) and its Expat text
#    is LICENSE's, word for word.
# Usage: check_release_files.sh BUILD_DIR SOURCE_DIR VERSION
set -u
build="${1:?usage: check_release_files.sh BUILD_DIR SOURCE_DIR VERSION}"
src="${2:?usage: check_release_files.sh BUILD_DIR SOURCE_DIR VERSION}"
version="${3:?usage: check_release_files.sh BUILD_DIR SOURCE_DIR VERSION}"
fail=0
bad() { echo "FAIL: $*"; fail=1; }

dashed=${version//./-}
grep -q -x -F "#define ZQ_VERSION_DATE \"$dashed\"" "$build/generated/include/version.h" ||
    bad "the generated header does not carry $dashed"
head -1 "$build/generated/zentrovalquist.6" | grep -q -x -F ".TH ZENTROVALQUIST 6 $dashed \"Zentrovalquist $dashed\" \"Games\"" ||
    bad "the manual page's title line does not carry $dashed: $(head -1 "$build/generated/zentrovalquist.6")"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zq_release.XXXXXX") || exit 1
trap 'rm -rf -- "$tmp"' EXIT

# the day of a release, as the changelog's date line: against date(1)
cat >"$tmp/days.cmake" <<CMAKE
include("$src/packaging/release_date.cmake")
foreach(v 2025.06.21 2024.02.29 2024.03.01 2023.01.01 2000.02.29 2000.01.09 1999.12.31 2100.03.01 2026.12.08)
  zq_release_date(d \${v})
  message("\${v}=\${d}")
endforeach()
CMAKE
cmake -P "$tmp/days.cmake" >"$tmp/days" 2>&1 || { cat "$tmp/days"; bad "the release day computation failed"; }
while IFS='=' read -r v d; do
    want=$(LC_ALL=C date -u -R -d "${v//./-} 12:00:00 UTC") || { bad "date(1) cannot read $v"; continue; }
    [ "$d" = "$want" ] || bad "release $v: date line '$d', expected '$want'"
done <"$tmp/days"
[ "$(wc -l <"$tmp/days")" -eq 9 ] || bad "the day computation gave $(wc -l <"$tmp/days") lines, expected 9"
printf 'include("%s/packaging/release_date.cmake")\nzq_release_date(d 2025.13.01)\n' "$src" >"$tmp/month13.cmake"
! cmake -P "$tmp/month13.cmake" >/dev/null 2>&1 || bad "a release that is no date (month 13) was accepted"

log="$build/generated/changelog"
if command -v dpkg-parsechangelog >/dev/null 2>&1; then
    parsed=$(dpkg-parsechangelog -l "$log" 2>"$tmp/err") || bad "dpkg-parsechangelog cannot read the changelog"
    [ ! -s "$tmp/err" ] || { bad "dpkg-parsechangelog warns:"; sed 's/^/  /' "$tmp/err"; }
    field() { printf '%s\n' "$parsed" | sed -n "s/^$1: //p"; }
    [ "$(field Version)" = "$version" ] || bad "the changelog names version '$(field Version)', not $version"
    [ "$(field Source)" = zentrovalquist ] || bad "the changelog is for '$(field Source)'"
    date=$(field Date)
    [ "$date" = "$(LC_ALL=C date -u -R -d "$dashed 12:00:00 UTC")" ] || bad "the changelog's date '$date' is not the release's day"
else
    echo "dpkg-parsechangelog is not installed: the changelog's form is not checked"
fi
grep -q -F "/usr/games" "$log" || bad "the changelog does not name /usr/games"
! grep -q -F "/usr/bin" "$log" || bad "the changelog names /usr/bin, where the package installs nothing"
! grep -n '@[A-Za-z_0-9]*@' "$log" || bad "placeholders left in the changelog"

# DEP-5: the format line first, a Files paragraph naming the licence, and a
# stand-alone licence paragraph whose text is LICENSE's from "Permission" on
copyright="$src/packaging/debian/copyright"
head -1 "$copyright" | grep -q -x -F "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    bad "the copyright file does not begin with the DEP-5 format line"
awk 'BEGIN { RS = "" } /^Files: \*\n/ && /\nLicense: Expat(\n|$)/ { found = 1 } END { exit !found }' "$copyright" ||
    bad "no 'Files: *' paragraph with 'License: Expat'"
awk 'BEGIN { RS = "" } /^License: Expat\n/ { sub(/^License: Expat\n/, ""); print; exit }' "$copyright" |
    sed -e 's/^ //' -e 's/^\.$//' >"$tmp/expat"
sed -n '/^Permission is hereby granted/,$p' "$src/LICENSE" >"$tmp/licence"
[ -s "$tmp/licence" ] || bad "LICENSE has no Expat permission text"
diff -u "$tmp/licence" "$tmp/expat" >"$tmp/diff" || { bad "the copyright file's Expat text differs from LICENSE:"; cat "$tmp/diff"; }
holder=$(sed -n 's/^Copyright (c) //p' "$src/LICENSE")
grep -q -x -F "Copyright: $holder" "$copyright" || bad "the copyright file does not name '$holder' as LICENSE does"

[ "$fail" = 0 ] || exit 1
echo "ok (release $version)"
