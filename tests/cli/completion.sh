#!/bin/bash
# The bash completions of both programs, as bash calls them: words so far, the word at the
# cursor, and what is offered.
#   completion.sh DATA_FOLDER
set -u
folder=$1/completion
. "$folder/numerette-eval" && . "$folder/numerette" || { echo "FAIL: cannot source"; exit 1; }
failed=0
check() { # function, expected offer, words...
    local function=$1 expected=$2
    shift 2
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    "$function"
    local got="${COMPREPLY[*]}"
    if [ "$got" != "$expected" ]; then
        echo "FAIL: $* offered '$got', not '$expected'"
        failed=1
    fi
}
check _numerette_eval "--values --version" numerette-eval --v
check _numerette_eval "--line-buffered" numerette-eval --why --li
check _numerette_eval "0 1 2 3 4 5 6 7 8 9 auto" numerette-eval --decimals ""
check _numerette_eval "auto" numerette-eval --decimals = a
check _numerette_eval "--decimals=auto" numerette-eval --decimals=a
check _numerette_eval "" numerette-eval -- --w
check _numerette_eval "" numerette-eval 1+
check _numerette "--help" numerette --h
[ $failed -eq 0 ] && echo PASS
exit $failed
