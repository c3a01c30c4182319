#!/usr/bin/env bash
# Usage: scripts/bench.sh
#
# Builds the shipped build type into build/ exactly as scripts/run.sh does, runs the raster benchmark (each
# operation 5 times) and prints one table: each operation's median CPU time in the raster and in SDL2's software
# path doing the same work, their ratio (below 1 is the raster faster), and the full-screen copy and fill set
# against memcpy and memset of the same bytes. Build output goes to stderr.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench="$root/build/bin/bench_RasterBench"

bash "$root/scripts/run.sh" --no-start >&2
if [[ ! -x $bench ]]; then
    echo "bench: $bench was not built (is libbenchmark-dev installed?)" >&2
    exit 1
fi

# The repetitions of all benchmarks run interleaved in random order, so a drift in the machine's speed touches
# both sides of a pair alike. Each pair's n-th runs are also set against each other: the worst of those ratios
# shows whether one run lost where the median wins.
"$bench" --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_format=csv 2>/dev/null |
awk -F, '
    # Rows: "side/operation[_aggregate]",iterations,real_time,cpu_time,time_unit,...,error_occurred,error_message
    # One row per run, then the aggregates of the runs.
    {
        name = $1
        gsub(/"/, "", name)
        if (name !~ /^(raster|sdl|limit)\//) {
            next
        }
        aggregate = ""
        if (match(name, /_(mean|median|stddev|cv)$/)) {
            aggregate = substr(name, RSTART + 1)
            name = substr(name, 1, RSTART - 1)
        }
        split(name, part, "/")
        if ($9 == "true") {
            failed[part[2]] = 1
            next
        }
        scale = ($5 == "us") ? 1 : ($5 == "ms") ? 1000 : 0.001
        if (aggregate == "median") {
            time[part[1], part[2]] = $4 * scale
        } else if (aggregate == "") {
            runs[part[1], part[2]] += 1
            run[part[1], part[2], runs[part[1], part[2]]] = $4 * scale
        }
    }
    END {
        count = split("copy keyed-copy-random keyed-copy-sprites stretch stretch-1.5x stretch-1.37x stretch-0.8x fill frame-200 glyphs-2000 triangles-1000", order, " ")
        printf "%-22s %12s %12s %8s %10s\n", "operation (800x600)", "raster (us)", "SDL2 (us)", "ratio", "worst run"
        for (i = 1; i <= count; i++) {
            op = order[i]
            if (!(("raster", op) in time) && !(op in failed)) {
                printf "%-22s %s\n", op, "not measured"
                continue
            }
            if (op in failed) {
                printf "%-22s %s\n", op, "the raster and SDL2 drew different pixels"
                continue
            }
            r = time["raster", op]
            s = time["sdl", op]
            worst = 0
            n = runs["raster", op] < runs["sdl", op] ? runs["raster", op] : runs["sdl", op]
            for (k = 1; k <= n; k++) {
                if (run["sdl", op, k] > 0 && run["raster", op, k] / run["sdl", op, k] > worst) {
                    worst = run["raster", op, k] / run["sdl", op, k]
                }
            }
            printf "%-22s %12.1f %12.1f %8.2f %10.2f%s\n", op, r, s, (s > 0) ? r / s : 0, worst,
                   (op ~ /^stretch-/) ? " *" : ""
        }
        printf "ratio: of the medians; worst run: the highest ratio of a pair'"'"'s n-th runs\n"
        printf "* not pixel-checked: at these scales SDL2 steps its source columns in 16.16 fixed point\n"
        printf "\n%-22s %12s %12s %8s\n", "against the limit", "raster (us)", "limit (us)", "ratio"
        printf "%-22s %12.1f %12.1f %8.2f\n", "copy / memcpy", time["raster", "copy"], time["limit", "memcpy"],
               time["raster", "copy"] / time["limit", "memcpy"]
        printf "%-22s %12.1f %12.1f %8.2f\n", "fill / memset", time["raster", "fill"], time["limit", "memset"],
               time["raster", "fill"] / time["limit", "memset"]
    }'
