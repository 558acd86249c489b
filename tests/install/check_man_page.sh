#!/usr/bin/env bash
# The manual page: every section a reader looks for is there, the formatter
# reports no warning, no rendered line is wider than 80 columns, and no
# placeholder of its template is left.
# Usage: check_man_page.sh PAGE. Exit 77 (skipped) when no formatter is installed.
set -u
page="${1:?usage: check_man_page.sh PAGE}"
[ -r "$page" ] || { echo "FAIL: no manual page at $page"; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zq_man.XXXXXX") || exit 1
trap 'rm -rf -- "$tmp"' EXIT

if command -v man >/dev/null 2>&1 && man --help 2>&1 | grep -q -- '--warnings'; then
    how="man --warnings -l"
    MANWIDTH=80 LC_ALL=C man --warnings -l -E ascii "$page" 2>"$tmp/err" </dev/null | sed "s/.\x08//g" >"$tmp/out"
elif command -v groff >/dev/null 2>&1; then
    how="groff -man -ww"
    LC_ALL=C groff -man -ww -Tascii -P-cbou -rLL=78n "$page" 2>"$tmp/err" | sed "s/.\x08//g" >"$tmp/out"
elif command -v mandoc >/dev/null 2>&1; then
    how="mandoc -Tlint"
    mandoc -Tlint -Wwarning "$page" >"$tmp/err" 2>&1
    mandoc -Tascii -Owidth=78 "$page" | sed "s/.\x08//g" >"$tmp/out"
else
    echo "manual page not checked: neither man (man-db), groff nor mandoc is installed"
    exit 77
fi

fail=0
# a template's placeholder that configure_file did not fill in
if grep -n '@[A-Z_][A-Z_]*@' "$page"; then
    echo "FAIL: placeholders left in the page"
    fail=1
fi
if [ -s "$tmp/err" ]; then
    echo "FAIL: $how warns:"
    sed 's/^/  /' "$tmp/err"
    fail=1
fi
wide=$(awk 'length > 80 { print NR": "length" columns" }' "$tmp/out")
if [ -n "$wide" ]; then
    echo "FAIL: lines wider than 80 columns: $wide"
    fail=1
fi
for section in NAME SYNOPSIS DESCRIPTION KEYS FILES ENVIRONMENT "EXIT STATUS" NOTES COPYRIGHT "SEE ALSO"; do
    grep -q -x "$section" "$tmp/out" || { echo "FAIL: no section $section"; fail=1; }
done
# what the page must tell an installed game's user
for text in BEDINGUN.DAT XDG_CONFIG_HOME CAP_SYS_TIME "MIT licence"; do
    grep -q -F "$text" "$tmp/out" || { echo "FAIL: the page does not mention $text"; fail=1; }
done
[ "$fail" = 0 ] || exit 1
echo "ok ($how, $(wc -l <"$tmp/out" | tr -d ' ') lines at 80 columns)"
