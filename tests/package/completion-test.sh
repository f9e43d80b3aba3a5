#!/usr/bin/env bash
# The bash completion of ztgl-admin: what it offers after typical words, first for the built
# program, then for a stand-in whose usage text has commands the completion has never seen.
#   completion-test.sh COMPLETION_FILE ZTGL_ADMIN
set -uo pipefail

source "$1"
admin=$2
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p demo/sets data
touch dump.zip data.txt

# expect "OFFERED WORDS" WORD... : the completion of the last word after the others.
expect() {
    local want=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _ztgl_admin 2>/dev/null
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [[ $got != "$want" ]]; then
        echo "FAILED: [${*:2}] offers \"$got\", expected \"$want\"" >&2
        failed=1
    fi
}

expect "list log" "$admin" l
expect "list" "$admin" li
expect "create" "$admin" --yes cr
expect "init-demo" "$admin" --dir demo in
expect "--dir --timeout --yes" "$admin" --
expect "--name --password --user --yes" "$admin" create -
expect "--name" "$admin" --dir demo modify 1 --na
expect "data demo" "$admin" --dir d
expect "demo/sets" "$admin" init-demo demo/
expect "" "$admin" create --name ""

# A program with other commands: the completion learns them from its usage text.
cat >"$work/other-admin" <<'EOF'
#!/bin/sh
echo "usage: ztgl-admin [--dir PROGRAM_FOLDER] [--yes] [--timeout SECONDS] COMMAND ..."
echo "commands:"
echo "  backup ID|--all [--keep N]"
echo "  restore FILE [--as-new]"
echo "  log [--set ID] [--since DATE]"
EOF
chmod +x "$work/other-admin"
expect "backup" "$work/other-admin" ba
expect "--all --keep" "$work/other-admin" backup --
expect "data data.txt" "$work/other-admin" restore da
expect "" "$work/other-admin" --timeout ""
expect "log" "$work/other-admin" --timeout 5 l
expect "--dir --timeout --yes" "$work/other-admin" --

exit $failed
