#!/usr/bin/env bash
# Builds the benchmarks in build-bench/ (RelWithDebInfo) and runs them all under one Xvfb, with their
# peers from the same run: a bare Qt 6 window and CuteCom (Debian's, Qt 5). Prints every figure.
#   bench/run.sh [startup] [links] [procload] [micro] [readall] [fleet] [provision] [soak]   (default: all but soak)
# soak takes over 20 minutes (10 min of stream each for qxsetup and CuteCom, 1 min of LAN flood);
# SOAK_MINUTES=1 shortens the streams for a trial. BEFORE=path/to/qxsetup runs that build too in the
# start-up part, first, in the same run (a change measured against the build before it).
# Benchmarks are never run by CI: the figures depend on the machine and its load.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-bench
parts=("$@")
((${#parts[@]})) || parts=(startup links procload micro readall fleet provision)

scripts/deps.sh xvfb xauth xdotool cutecom libbenchmark-dev libxcb1-dev
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" --target qxbench -j"$(nproc)" >/dev/null

# One X server for everything, no window manager, no TCP; -noreset: with no client left between two runs
# the server would reset and refuse the next connection for a moment.
display=:$((300 + RANDOM % 600))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; [ -n "${holder:-}" ] && kill $holder 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

for part in "${parts[@]}"; do
    case $part in
    startup)
        echo "== 1. start-up to the window mapped, resident memory 2 s later (median of 9) =="
        # qxsetup starts with its saved serial port open: a pseudo-terminal held by a small helper.
        work=$(mktemp -d)
        python3 -c 'import os,time; m,s=os.openpty(); print(os.ttyname(s), flush=True); time.sleep(3600)' \
            >"$work/pty" &
        holder=$!
        sleep 0.5
        printf '[info]\r\nCOM=1\r\n[Ver]\r\nCEO=EN\r\n[Network]\r\nServerIP=127.0.0.1\r\nServerIP2=127.0.0.1\r\n[Ports]\r\nCOM1=%s\r\n' \
            "$(cat "$work/pty")" >"$work/Config.ini"
        if [ -n "${BEFORE:-}" ]; then
            (cd "$work" && "$build/bench/qxbench_startup" --runs 9 -- "$BEFORE") | tail -1 | sed 's/^/before: /'
        fi
        (cd "$work" && "$build/bench/qxbench_startup" --runs 9 -- "$build/qxsetup") | tail -1
        "$build/bench/qxbench_startup" --runs 9 -- "$build/bench/qxbench_bare_window" | tail -1
        "$build/bench/qxbench_page_switch" --runs 9 | tail -1
        [ -z "${BEFORE:-}" ] || python3 bench/memory_split.py "$BEFORE" "$work"
        python3 bench/memory_split.py "$build/qxsetup" "$work"
        python3 bench/memory_split.py "$build/bench/qxbench_bare_window"
        mkdir -p "$work/home"
        HOME=$work/home QT_XCB_GL_INTEGRATION=none "$build/bench/qxbench_startup" --runs 9 -- cutecom | tail -1
        kill $holder
        holder=
        rm -rf "$work"
        ;;
    links)
        echo "== 3./4. reply latency and link load inside the window =="
        "$build/bench/qxbench_links"
        ;;
    procload)
        echo "== 2./4. idle, burst and stream measured from outside, qxsetup and CuteCom =="
        python3 bench/procload.py "qxsetup=$build/qxsetup"
        python3 bench/procload.py cutecom
        python3 bench/procload.py "bare=$build/bench/qxbench_bare_window" idle
        python3 bench/procload.py "still=$build/bench/qxbench_bare_window" idle
        python3 bench/procload.py "loop=$build/bench/qxbench_poll_loop" idle
        ;;
    readall)
        echo "== 6. qxctl read of all 31 rows against qxsim =="
        "$build/bench/qxbench_readall"
        ;;
    fleet)
        echo "== 8. qxctl apply --all on ten LAN modules at once against one, against qxsim =="
        "$build/bench/qxbench_fleet"
        "$build/bench/qxbench_fleet" --delay 5
        ;;
    provision)
        echo "== 9. qxctl provision: a module plugged in to its CSV row, serial 115200 (pty) =="
        "$build/bench/qxbench_provision"
        ;;
    soak)
        minutes=${SOAK_MINUTES:-10}
        echo "== soak: $minutes min at 921600 baud into qxsetup and CuteCom, memory every 10 s; 60 s of LAN flood into qxsetup =="
        log=$(mktemp)
        python3 bench/procload.py "qxsetup=$build/qxsetup" soak --minutes "$minutes" | tee "$log"
        python3 bench/procload.py cutecom soak --minutes "$minutes" | tee -a "$log"
        sed -n 's/^\([a-z]*\) *soak .* baud: CPU \([0-9.]*\) %.*/\1 \2/p' "$log" |
            awk '{ cpu[$1] = $2 } END { if (cpu["cutecom"] > 0)
                printf "qxsetup CPU / CuteCom CPU over the stream: %.2f (bound 0.25)\n", cpu["qxsetup"] / cpu["cutecom"] }'
        rm -f "$log"
        ;;
    micro)
        echo "== 5. microbenchmarks =="
        QT_QPA_PLATFORM=offscreen "$build/bench/qxbench_micro" --benchmark_min_time=0.2
        ;;
    esac
done
