#!/usr/bin/env bash
# varnel.exe with a spreadsheet registered as "Excel.Application": the recording server
# (varnel-test-server.dll), in a Wine prefix of this test's own. The program must start through COM,
# build its toolbar, connect its six sinks, take a click of 添加资料名称 (its dialog answered by a
# person, the name stored in the configuration file in the file's own encoding), and on the register's
# close give everything back and end with code 0, calling exactly what the expected list names.
# Usage: varnel_with_server.sh VARNEL_EXE SERVER_DLL ANSWER_WINDOW_EXE DATA_FOLDER EXPECTED_CALLS
set -euo pipefail
varnel=$1 server=$2 answer=$3 data=$4 expected=$5

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
before=$(cd "$folder" && sha256sum Ombrell.xls varnel.exe)

code=0
VARNEL_SERVER_LOG=$(winepath -w "$calls") timeout 60 wine "$folder/varnel.exe" &
program=$!
wine "$answer" 请输入要添加的资料名称 1001 30 " 半月谈 " >/dev/null
wait "$program" || code=$?

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
# The name, trimmed, ends the kinds' line; the file stays UTF-16 with its byte-order mark and CR LF.
kinds=$(iconv -f UTF-16LE -t UTF-8 "$data/TessikConfig.ini" | sed 's/^\(征订资料种类=.*\)\r$/\1,半月谈\r/' |
    iconv -f UTF-8 -t UTF-16LE | sha256sum)
if [ "$kinds" != "$(sha256sum <"$folder/TessikConfig.ini")" ]; then
    echo "TessikConfig.ini is not the bundled one with 半月谈 added to its kinds:"
    iconv -f UTF-16LE -t UTF-8 "$folder/TessikConfig.ini"
    status=1
fi
if [ "$before" != "$(cd "$folder" && sha256sum Ombrell.xls varnel.exe)" ] || [ "$(ls -A "$folder" | wc -l)" != 3 ]; then
    echo "the program folder holds other files or a changed register"
    ls -lA "$folder"
    status=1
fi
exit $status
