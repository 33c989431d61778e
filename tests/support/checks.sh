# shellcheck shell=bash
# The checks of the shell tests: each prints "ok: ..." or "FAIL: ...", and the
# test ends with `finish_checks`, which fails when any check did.
passed=0
failed=0

pass() {
    passed=$((passed + 1))
    echo "ok: $*"
}
fail() {
    failed=$((failed + 1))
    echo "FAIL: $*"
}
# check DESCRIPTION COMMAND...
check() {
    if "${@:2}"; then pass "$1"; else fail "$1"; fi
}
# expect_equal DESCRIPTION EXPECTED ACTUAL
expect_equal() {
    if [[ $2 == "$3" ]]; then
        pass "$1"
    else
        fail "$1"
        printf '  expected: %q\n  actual:   %q\n' "$2" "$3"
    fi
}
finish_checks() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
