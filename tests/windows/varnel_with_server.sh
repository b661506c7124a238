#!/usr/bin/env bash
# varnel.exe with a spreadsheet registered as "Excel.Application": the recording server
# (varnel-test-server.dll), in a Wine prefix of this test's own. The program must start through COM,
# build its toolbar, connect its six sinks, and on the register's close give everything back and end
# with code 0, calling exactly what the expected list names.
# Usage: varnel_with_server.sh VARNEL_EXE SERVER_DLL DATA_FOLDER EXPECTED_CALLS
set -euo pipefail
varnel=$1 server=$2 data=$3 expected=$4

export WINEPREFIX="${WINEPREFIX:?}-excel"
wineboot --init >/dev/null 2>&1
trap 'wineserver --kill || true; rm -rf "$folder" "$calls"' EXIT
clsid='{6F1C3B0E-5A47-4D8E-9B21-3C0D7E4A9F15}'
classes='HKLM\Software\Classes'
wine reg add "$classes\\Excel.Application\\CLSID" /ve /d "$clsid" /f >/dev/null
wine reg add "$classes\\CLSID\\$clsid\\InprocServer32" /ve /d "$(winepath -w "$server")" /f >/dev/null
wine reg add "$classes\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Apartment /f >/dev/null

folder=$(mktemp -d)
calls=$(mktemp)
cp "$varnel" "$data/Ombrell.xls" "$data/TessikConfig.ini" "$folder/"
before=$(cd "$folder" && ls -lA --time-style=full-iso && sha256sum ./*)

code=0
VARNEL_SERVER_LOG=$(winepath -w "$calls") timeout 60 wine "$folder/varnel.exe" || code=$?

status=0
if [ "$code" != 0 ]; then
    echo "exit code $code, expected 0"
    status=1
fi
register=$(winepath -w "$folder/Ombrell.xls" | sed 's/[\\&|]/\\&/g')
if ! diff <(sed "s|<REGISTER>|$register|" "$expected") "$calls"; then
    echo "the calls differ from $expected (< expected, > made)"
    status=1
fi
after=$(cd "$folder" && ls -lA --time-style=full-iso && sha256sum ./*)
if [ "$before" != "$after" ]; then
    echo "the program folder changed"
    status=1
fi
exit $status
