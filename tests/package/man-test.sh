#!/usr/bin/env bash
# The manual pages: every source gives a page in English and one in Chinese that man-db can index
# and groff sets without a warning, and each page names every command and option that its
# program's own usage text lists.
#   man-test.sh MAN_SOURCE_FOLDER [PROGRAM...]    PROGRAM: a built program whose page is checked
set -euo pipefail

fail() { echo "FAILED: $*" >&2; failed=1; }
failed=0
sources=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for source in "$sources"/*.md; do
    for lang in en zh_CN; do
        page=$work/$(basename "$source" .md).$lang.1
        perl "$sources/md2man.pl" "$source" $lang 0 "$page" || { fail "md2man.pl on $source $lang"; continue; }
        if command -v lexgrog >/dev/null && ! lexgrog "$page" >/dev/null; then
            fail "man-db finds no NAME line in $(basename "$source") ($lang)"
        fi
        if command -v man >/dev/null; then
            warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null || true)
            [[ -z $warnings ]] || fail "$(basename "$source") ($lang): $warnings"
        fi
    done
done

# The text of one language's block of a source.
block() { awk -v lang="$2" '/^@@ /{on = ($2 == lang); next} on' "$1"; }

for program in "$@"; do
    name=$(basename "$program")
    source=$sources/$name.md
    usage=$(LC_ALL=C.UTF-8 "$program" --help 2>&1 </dev/null || true)
    # The usage lines: "usage: ..." and one "  COMMAND ..." line per command.
    lines=$(grep -E '^((usage|Usage|用法)[:：]|  [a-z])' <<<"$usage" || true)
    [[ -n $lines ]] || { fail "$name --help printed no usage"; continue; }
    commands=$(sed -n 's/^  \([a-z][a-z0-9-]*\).*/\1/p' <<<"$lines")
    options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$lines" | sort -u)
    for lang in en zh_CN; do
        text=$(block "$source" $lang)
        for command in $commands; do
            grep -qE "\*\*$command( |\*\*)" <<<"$text" || fail "$name.md ($lang) does not document the command $command"
        done
        for option in $options; do
            grep -qE -- "$option([^a-z-]|$)" <<<"$text" || fail "$name.md ($lang) does not document the option $option"
        done
    done
done
exit $failed
