#!/usr/bin/env bash
# Fault test, not part of CI: kills a native Enable or Disable (bench/switch_cli,
# the real handlers) at random instants while large files move, and after each
# kill checks that every one of the ten mod files still has at least one
# complete form, under its own name or with ".Zarn". The folder is not reset
# between trials, so each run starts from whatever the last kill left, as a
# player pressing a button again after a crash would.
#
# A kill -9 ends the process but loses nothing the kernel has already been
# given: the page cache survives it. So this checks the order of the steps
# (copy complete and renamed into place before the source goes) and that no
# name ever holds a torn file; it cannot show what a power cut does to data
# not yet on the disk. That part rests on the fsync calls.
#
#   tools/fault/switch_kill.sh [trials] [build dir]
set -euo pipefail
cd "$(dirname "$0")/../.."
trials=${1:-120}
build=${2:-build/bench-native}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target switch_cli >/dev/null
cli=$build/bench/switch_cli

work=$(mktemp -d "${TMPDIR:-/tmp}/zarn-fault.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/ref" "$work/game"
names=(ecachemd80.mix glslmd.shp ea_wwlogo.bik ra2md.csf glsmd.pal
       expandmd80.mix expandmd81.mix ra2ts_l.bik rzarn.yro creditsmd.txt)
sizes_mb=(24 3 12 5 2 40 32 16 4 1)   # 139 MB in all
for i in "${!names[@]}"; do
  # A pattern derived from the name, so a file under the wrong name or cut
  # short differs from its reference.
  { yes "${names[$i]} $i" || true; } | head -c $((sizes_mb[i] << 20)) > "$work/ref/${names[$i]}"
  cp "$work/ref/${names[$i]}" "$work/game/"
done

now_ms() { date +%s%3N; }
t0=$(now_ms); "$cli" disable "$work/game" >/dev/null; t1=$(now_ms)
"$cli" enable "$work/game" >/dev/null; t2=$(now_ms)
span=$(( (t1 - t0 > t2 - t1 ? t1 - t0 : t2 - t1) + 1 ))
echo "one full run takes about $span ms; killing at random instants within it"

lost_total=0; bad_trials=0
for ((trial = 1; trial <= trials; trial++)); do
  if ((RANDOM % 2)); then dir=enable; else dir=disable; fi
  delay=$((RANDOM * 32768 + RANDOM))
  delay=$((delay % span))
  "$cli" "$dir" "$work/game" >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '0.%03d' "$delay")" 2>/dev/null || sleep "$((delay / 1000))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  lost=0
  for n in "${names[@]}"; do
    if ! cmp -s "$work/ref/$n" "$work/game/$n" && ! cmp -s "$work/ref/$n" "$work/game/$n.Zarn"; then
      lost=$((lost + 1))
      echo "trial $trial ($dir, killed at ${delay} ms): $n has no complete form"
    fi
  done
  lost_total=$((lost_total + lost))
  ((lost)) && bad_trials=$((bad_trials + 1))
done
echo "trials: $trials; trials leaving a mod file without a complete form: $bad_trials;" \
     "mod files without a complete form, summed over trials: $lost_total (goal 0)"
