#!/usr/bin/env bash
# Benchmark, not a test: Enable then Disable of ten files totalling 1 GiB
# through the real handlers (bench/switch_cli), against `cp` doing the same
# moves (copy, then delete the source) on the same disk. Our copy flushes
# each file to the disk before its source goes; plain `cp` does not, so the
# figures are given against `cp` alone and against `cp` followed by `sync`
# of the copy. The same run under Wine (the Windows build, which copies in
# pieces and flushes each file once before its source goes) is measured
# against the same two; its goal is 0.9 of `cp` plus `sync` as well. A
# persistent wineserver keeps Wine's own start-up out of the figures, and two
# starts of the program doing nothing are taken off all the same.
#
#   bench/switch.sh [rounds]      figures are the median of `rounds` (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
rounds=${1:-5}
native=build/bench-native
win=build/win
tools/deps.sh
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" -j2 --target switch_cli >/dev/null
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake >/dev/null
have_wine=0
cmake --build "$win" -j2 --target switch_cli >/dev/null && have_wine=1

work=$(mktemp -d "${BENCH_DIR:-$PWD/build}/zarn-switch.XXXXXX")
trap 'rm -rf "$work"; [ "${have_wine:-0}" = 1 ] && wineserver -k 2>/dev/null; true' EXIT
names=(ecachemd80.mix glslmd.shp ea_wwlogo.bik ra2md.csf glsmd.pal
       expandmd80.mix expandmd81.mix ra2ts_l.bik rzarn.yro creditsmd.txt)
sizes_mb=(160 40 120 24 8 256 200 136 56 24)   # 1024 MiB in all
mkdir "$work/game"
for i in "${!names[@]}"; do
  head -c $((sizes_mb[i] << 20)) /dev/urandom > "$work/game/${names[$i]}"
done
sync
mib=2048   # Enable then Disable moves every byte twice

now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
elapsed() { local t0=$1; echo "$(now) - $t0" | bc; }

run_ours() {  # the folder starts enabled: Disable, then Enable
  local t0; t0=$(now)
  "$native/bench/switch_cli" disable "$work/game" >/dev/null
  "$native/bench/switch_cli" enable "$work/game" >/dev/null
  elapsed "$t0"
}
run_cp() {  # $1 = 1 to sync each copy before deleting its source
  local t0 n; t0=$(now)
  for n in "${names[@]}"; do
    cp "$work/game/$n" "$work/game/$n.Zarn"; [ "$1" = 1 ] && sync "$work/game/$n.Zarn"
    rm "$work/game/$n"
  done
  for n in "${names[@]}"; do
    cp "$work/game/$n.Zarn" "$work/game/$n"; [ "$1" = 1 ] && sync "$work/game/$n"
    rm "$work/game/$n.Zarn"
  done
  elapsed "$t0"
}
run_wine() {
  local t0 folder; folder="Z:$(echo "$work/game" | tr / '\\')"; t0=$(now)
  wine "$win/bench/switch_cli.exe" disable "$folder" >/dev/null 2>&1
  wine "$win/bench/switch_cli.exe" enable "$folder" >/dev/null 2>&1
  elapsed "$t0"
}
run_wine_empty() {  # two starts of the program doing nothing: Wine's own cost
  local t0; t0=$(now)
  wine "$win/bench/switch_cli.exe" >/dev/null 2>&1 || true
  wine "$win/bench/switch_cli.exe" >/dev/null 2>&1 || true
  elapsed "$t0"
}

ours=(); cp_plain=(); cp_sync=(); wine_runs=(); wine_empty=()
if ((have_wine)); then
  export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-bench} WINEDEBUG=-all
  [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
  wineserver -p
  wine "$win/bench/switch_cli.exe" >/dev/null 2>&1 || true   # warm
fi
for ((r = 0; r < rounds; r++)); do
  ours+=("$(run_ours)")
  cp_plain+=("$(run_cp 0)")
  cp_sync+=("$(run_cp 1)")
  if ((have_wine)); then wine_runs+=("$(run_wine)"); wine_empty+=("$(run_wine_empty)"); fi
done
for n in "${names[@]}"; do [ -f "$work/game/$n" ] || { echo "lost $n" >&2; exit 1; }; done

o=$(median "${ours[@]}"); c=$(median "${cp_plain[@]}"); s=$(median "${cp_sync[@]}")
report() {  # label, our seconds, their seconds, their label
  printf '%-34s %7.2f s  %6.0f MiB/s   vs %-12s %7.2f s  %6.0f MiB/s   speed ours/theirs %.2f (goal >= 0.9), time ours/theirs %.2f\n' \
    "$1" "$2" "$(echo "$mib / $2" | bc -l)" "$4" "$3" "$(echo "$mib / $3" | bc -l)" \
    "$(echo "$3 / $2" | bc -l)" "$(echo "$2 / $3" | bc -l)"
}
echo "Enable then Disable, 10 files, 1 GiB (2 GiB moved), median of $rounds, on $(df -T "$work" | awk 'NR==2{print $2}')"
report "native (copy_file_range + fsync)" "$o" "$c" "cp"
report "native (copy_file_range + fsync)" "$o" "$s" "cp + sync"
if ((have_wine)); then
  w=$(median "${wine_runs[@]}"); e=$(median "${wine_empty[@]}")
  wn=$(echo "$w - $e" | bc -l)
  echo "under Wine (two program starts, $(printf '%.2f' "$e") s, taken off):"
  report "wine (pieces, one flush a file)" "$wn" "$s" "cp + sync"
  report "wine (pieces, one flush a file)" "$wn" "$c" "cp"
fi
echo "rounds (s): ours ${ours[*]} | cp ${cp_plain[*]} | cp+sync ${cp_sync[*]}${have_wine:+ | wine ${wine_runs[*]}}; load $(cut -d' ' -f1-3 /proc/loadavg)"
