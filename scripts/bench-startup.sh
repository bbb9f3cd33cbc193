#!/usr/bin/env bash
# Start-up cost of the launcher under Wine: a launcher with a typical payload that
# reads its configuration, resolves the locale, extracts one file, searches for a
# runtime and ends (exit code 83, no runtime installed), against a program that
# does nothing. Prints both means and their ratio. Run after scripts/build.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
start_wine
runs=${RUNS:-30}
out="$root/build/bench"
mkdir -p "$out"
printf 'payload file\n' > "$out/file.txt"
"$root/build/host/bin/wrlpack" "$root/build/win/bin/wrenlet.exe" "$out/app.exe" \
  --item 107=0 --item 2001=w --item 126=1.8 --item 128="Rjre;EJAVA_HOME;Y" \
  --message 1000="Bench" --message 1016="No Java {0}" --group de 1016="Kein Java {0}" \
  --file file.txt="$out/file.txt"

mean_ms() {
  local start end
  wine "$@" >/dev/null 2>&1 || true  # warm-up
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do wine "$@" >/dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo $(( (end - start) / runs / 1000000 ))
}

empty=$(mean_ms "$root/build/win/bin/empty_program.exe")
launcher=$(mean_ms "$out/app.exe")
echo "empty program: ${empty} ms per start ($runs starts)"
echo "launcher:      ${launcher} ms per start"
awk -v a="$launcher" -v b="$empty" 'BEGIN { printf "ratio launcher/empty: %.2f\n", a / b }'
