#!/bin/sh
# The renderer benchmark's table for the README: runs the Raster benchmarks of stakko_bench RUNS
# times (ours and the peer interleaved case by case within each run) and prints, per case, the
# medians of ours' and the peer's ns per pixel and of the runs' ratios ours/peer. On a shared
# machine single runs scatter widely; medians of several runs are the figures worth quoting.
#
#   bench/raster_table.sh [path/to/stakko_bench] [RUNS]
set -eu
bench=${1:-build/bench/stakko_bench}
runs=${2:-5}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
i=0
while [ "$i" -lt "$runs" ]; do
  "$bench" --benchmark_filter="^Raster/" --benchmark_min_time=0.3 --benchmark_color=false \
    2>/dev/null | grep '^Raster/' >>"$out"
  i=$((i + 1))
done
# Lines: name, times, iterations, then the counters ns/pixel=... and (the peer's) ours/peer=...
awk '
  function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) {
      t = a[j]; a[j] = a[j - 1]; a[j - 1] = t
    }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
  }
  {
    n = split($1, part, "/")
    key = part[2] "/" part[3]
    if (!(key in seen)) { seen[key] = 1; order[++count] = key }
    pixel = ""; r = ""
    for (f = 2; f <= NF; f++) {
      if ($f ~ /^ns\/pixel=/) pixel = substr($f, 10)
      if ($f ~ /^ours\/peer=/) r = substr($f, 11)
    }
    if (part[4] == "ours") ours[key] = ours[key] " " pixel
    else { peer[key] = peer[key] " " pixel; ratio[key] = ratio[key] " " r }
  }
  END {
    print "| case | ours ns/pixel | peer ns/pixel | ours / peer |"
    print "|---|---|---|---|"
    for (i = 1; i <= count; i++) {
      k = order[i]
      printf "| %s | %.2f | %s | %s |\n", k, median(ours[k]),
             k in peer ? sprintf("%.2f", median(peer[k])) : "-",
             k in ratio ? sprintf("%.2f", median(ratio[k])) : "-"
    }
  }' "$out"
