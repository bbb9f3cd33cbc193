#!/usr/bin/env bash
# Builds everything, packs an example launcher (the stub with a payload appended)
# and runs it under Wine with the launcher log switched on; prints what it wrote
# to standard error, its log and its exit code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
start_wine

out="$root/build/example"
rm -rf "$out"
mkdir -p "$out"
printf 'Hello from an included file\n' > "$out/readme.txt"
"$root/build/host/bin/wrlpack" "$root/build/win/bin/wrenlet.exe" "$out/example.exe" \
  --item 107=0 --item 2001=w --item 126=1.8 --item 128="Rjre;EJAVA_HOME;Y" \
  --item 10004=lib \
  --message 1000="Example launcher" \
  --message 1005="The Java application could not be started." \
  --message 1009="Internal error {0}." \
  --message 1016="No suitable Java runtime was found (code {0})." \
  --group de 1016="Keine passende Java-Laufzeitumgebung gefunden (Code {0})." \
  --file readme.txt="$out/readme.txt"
echo "packed $out/example.exe ($(stat -c %s "$out/example.exe") bytes)"

# Wine takes TEMP and TMP from its own registry, so the log lands in the prefix's
# temporary folder; start from an empty one.
temp_dir=$(echo "$WINEPREFIX"/drive_c/users/*/Temp)
rm -f "$temp_dir"/ksl_nlog_*.log
set +e
KESTREL_LOG=yes wine "$out/example.exe" argument1 "second argument" 2>"$out/stderr.txt"
code=$?
set -e
echo "--- standard error ---"
cat "$out/stderr.txt"
echo "--- launcher log ---"
cat "$temp_dir"/ksl_nlog_*.log | sed 's/^\xEF\xBB\xBF//' | tr -d '\r'
echo "--- exit code: $code ---"
