#!/usr/bin/env bash
# The Debian package as a user gets it: built with the package target,
# checked by lintian, unpacked into a read-only folder and run from there.
#   check_package.sh BUILD_DIR SOURCE_DIR PREVIEW_DRIVER VERSION
# Exits 77 (skipped) when lintian, dpkg-deb or man is missing.
set -euo pipefail
build=$1 source=$2 driver=$3 version=$4

for tool in lintian dpkg-deb man; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: the package check needs $tool"; exit 77; }
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --build "$build" --target package
deb=$build/brindlewick_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
lintian --fail-on error --info "$deb" || fail "lintian reports errors"

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home" "$work/plugins/generic"
cp "$driver" "$work/plugins/generic/"
cp "$source/examples/sample.bwk" "$work/home/"
program=$work/root/usr/lib/brindlewick
chmod -R a-w "$work/root"

# Root may write into read-only folders: the programs run as nobody then.
as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
    else
        "$@"
    fi
}
[ "$(id -u)" -ne 0 ] || chown -R nobody:nogroup "$work/home"
export HOME=$work/home XDG_CACHE_HOME=$work/home/.cache XDG_CONFIG_HOME=$work/home/.config \
    XDG_STATE_HOME=$work/home/.local/state XDG_RUNTIME_DIR=$work/home/run
as_user mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$HOME"

echo "== the command line"
cli=$work/root/usr/bin/brindlewick-cli
[ "$(as_user "$cli" --version)" = "Brindlewick $version" ] || fail "brindlewick-cli --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/brindlewick" --version)" = \
    "Brindlewick $version" ] || fail "brindlewick --version"
designs=$(as_user "$cli" designs | cut -f1 | sort | tr '\n' ' ')
[ "$designs" = "accordion standard structured " ] || fail "designs listed: $designs"
as_user "$cli" export sample.bwk faq
# The same page and design files as the program of the build folder makes.
mkdir "$work/expected"
"$build/brindlewick-cli" export sample.bwk "$work/expected/faq"
diff -r "$work/expected/faq" faq || fail "the installed program exports another page"

echo "== the window program builds the preview outside its read-only folder"
as_user env QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$work/plugins" \
    QT_QPA_GENERIC_PLUGINS=brindlewickpreviewdriver QTWEBENGINE_DISABLE_SANDBOX=1 \
    timeout 300 "$work/root/usr/bin/brindlewick" sample.bwk || fail "no preview was loaded"
[ -s "$XDG_CACHE_HOME/Hollowfen/Brindlewick/default/default.html" ] || fail "no preview page"
[ -z "$(ls -A "$program/default")" ] || fail "the preview was written into the program folder"

echo "== the manual pages: no warnings, and every command and option --help names"
for page in brindlewick brindlewick-cli; do
    file=$work/root/usr/share/man/man1/$page.1.gz
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
    manual=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -l "$file")
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/$page" --help 2>/dev/null)
    for word in $(sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\{0,1\}$/\1/p' <<<"$help") \
        $(grep -o -- '--[a-z-]*' <<<"$help" | sort -u); do
        grep -q -w -- "$word" <<<"$manual" || fail "$page.1 does not mention $word"
    done
done

echo "== bash completion"
# Completion functions run with errors allowed, as in an interactive shell.
set +eu
# shellcheck source=/dev/null
source "$work/root/usr/share/bash-completion/completions/brindlewick-cli"
mkdir "$work/complete" && cd "$work/complete" && mkdir sub && touch faq.json faq.csv p.bwk notes.txt
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _brindlewick_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
[ "$(complete_words brindlewick-cli imp)" = "import import-csv " ] || fail "commands"
[ "$(complete_words brindlewick-cli import '')" = "faq.json sub " ] || fail "JSON files"
[ "$(complete_words brindlewick-cli import faq.json '')" = "p.bwk sub " ] || fail "projects"
[ "$(complete_words brindlewick-cli export-csv p.bwk x.csv --e)" = "--encoding " ] || fail "options"
echo "the package works"
