#!/bin/sh
# ordevo-cli's own exit codes and streams: usage errors go to stderr with exit 2 and leave
# stdout empty (so a script reading the JSON never sees half of one); --help goes to stdout.
# Usage: cli_main_test.sh path/to/ordevo-cli
cli="$1"
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; cat "$dir/out" "$dir/err"; exit 1; }

"$cli" >"$dir/out" 2>"$dir/err"; code=$?
[ "$code" -eq 2 ] || fail "no arguments: exit $code, 2 expected"
[ ! -s "$dir/out" ] || fail "no arguments: usage on stdout"
grep -q '^usage: ordevo-cli' "$dir/err" || fail "no arguments: no usage on stderr"

"$cli" evaluate --data "$dir" --body-part "$(printf '\377\201')" >"$dir/out" 2>"$dir/err"; code=$?
[ "$code" -eq 2 ] || fail "non-UTF-8 argument: exit $code, 2 expected"
[ ! -s "$dir/out" ] || fail "non-UTF-8 argument: something on stdout"
grep -q 'not valid UTF-8' "$dir/err" || fail "non-UTF-8 argument: no reason on stderr"

"$cli" --help >"$dir/out" 2>"$dir/err"; code=$?
[ "$code" -eq 0 ] || fail "--help: exit $code, 0 expected"
grep -q '^usage: ordevo-cli' "$dir/out" || fail "--help: no usage on stdout"
echo "ok"
