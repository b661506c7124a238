#!/usr/bin/env bash
# varnel.exe on a machine where no spreadsheet is registered: it says so in a message box, which a
# person answers, ends with exit code 3 and leaves its folder as it was.
# Usage: varnel_without_server.sh VARNEL_EXE ANSWER_WINDOW_EXE DATA_FOLDER
set -euo pipefail
varnel=$1 answer=$2 data=$3

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$varnel" "$data/Ombrell.xls" "$data/TessikConfig.ini" "$folder/"
before=$(cd "$folder" && ls -lA --time-style=full-iso && sha256sum ./*)

wine "$folder/varnel.exe" &
program=$!
text=$(wine "$answer" Varnel 1 60 | tr -d "\r")
code=0
wait "$program" || code=$?

expected='无法启动 Excel（Excel.Application）：Invalid class string.（0x800401F3）'
status=0
if [ "$text" != "$expected" ]; then
    echo "the message box said: $text"
    echo "expected:             $expected"
    status=1
fi
if [ "$code" != 3 ]; then
    echo "exit code $code, expected 3"
    status=1
fi
after=$(cd "$folder" && ls -lA --time-style=full-iso && sha256sum ./*)
if [ "$before" != "$after" ]; then
    echo "the program folder changed:"
    diff <(echo "$before") <(echo "$after") || true
    status=1
fi
exit $status
