#!/usr/bin/env bash
# Measures what the program costs at rest, the way the performance figures in README were taken.
#
#   scripts/measure-idle.sh [-r ROUNDS] [-s SECONDS] [CASE...]
#
# Cases (default: all three, interleaved round by round so that a busy machine hits them alike):
#   hidden    the program as first started: main window up, clock hidden, empty tables
#   shown     the program started into the notification area, the desktop clock shown
#   baseline  build/bench/QtBaseline: one label repainted once a second (the yardstick)
#   countdown the program with a scheduled power-off counting down (a day away; the power-off command is `true`),
#             watched with strace: what it does to helper.ini (not in the default set; strace slows the program, so
#             its CPU figures are not taken)
#
# Each run gets a private Xvfb with trayer as notification area, its own D-Bus session, a fresh HOME and a fresh
# copy of the program folder. Per run it prints:
#   mapped_ms  launch (exec) -> the main window mapped on the X server (MapNotify, seen through xev)
#   pss_mb anon_mb  from /proc/PID/smaps_rollup 10 s after launch
#   cpu_ms     utime+stime from /proc/PID/stat over the next SECONDS (default 60), in clock ticks turned to ms
#   run_ms     the same span from /proc/PID/task/*/schedstat (nanoseconds run, every thread)
#   wakeups/s  timeslices run (third field of schedstat) over that span, summed over threads, per second
#   main/s     the same for the main thread alone (/proc/PID/schedstat)
# and then the median of every column per case. For the countdown case instead, per run:
#   disk_kb/m  bytes the process caused to be written to storage (write_bytes of /proc/PID/io), per minute
#   write_kb/m bytes written with write() to helper.ini and its temporary copies, per minute
#   opens/s    opens of helper.ini for reading, per second
#   fsync/s rename/s   fsyncs and renames, per second
# Only processes this script started are ended, by their PID.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ -z "${VANTREL_MEASURE_INNER:-}" ]; then
    [ -x build/Vantrel/vantrel ] || { echo "measure-idle.sh: build first (scripts/build.sh)" >&2; exit 1; }
    for tool in xev xdotool trayer; do
        command -v "$tool" >/dev/null || { echo "measure-idle.sh: $tool is needed (scripts/install-deps.sh)" >&2; exit 1; }
    done
    VANTREL_MEASURE_INNER=1 exec tests/tools/with-desktop.sh "$0" "$@"
fi

# The private desktop turns accessibility on for the tests; a user's desktop does not, and it costs at rest.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON

rounds=3
seconds=60
while getopts "r:s:" opt; do
    case $opt in
        r) rounds=$OPTARG ;;
        s) seconds=$OPTARG ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(hidden shown baseline)

work=$(mktemp -d)
pids_to_end=()
cleanup() {
    for p in "${pids_to_end[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids_to_end[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 --transparent false >/dev/null 2>&1 &
pids_to_end+=($!)
sleep 1

clk_tck=$(getconf CLK_TCK)
now_ns() { local t=$EPOCHREALTIME; echo "${t/./}000"; }

# utime+stime in ticks
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
# "run_ns timeslices" summed over the threads
sched_sum() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ r += $1; s += $3 } END { printf "%d %d\n", r, s }'; }
rollup_mb() { awk -v k="$2:" '$1 == k { printf "%.1f\n", $2 / 1024 }' "/proc/$1/smaps_rollup"; }

# The program's icon in trayer's panel, as "X Y" of its centre.
docked_icon() {
    local panel id
    for id in $(xdotool search --class trayer 2>/dev/null); do
        xwininfo -id "$id" | grep -q '"panel"' && panel=$id
    done
    [ -n "${panel:-}" ] || return 1
    id=$(xwininfo -tree -id "$panel" | awk '/\("vantrel"/ { print $1; exit }')
    [ -n "$id" ] || return 1
    xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print int(x + w / 2), int(y + h / 2) }'
}

# Right click on the icon, then the menu's third item, "打开电子钟", with real keys.
open_clock() {
    local xy="" i
    for i in $(seq 100); do
        xy=$(docked_icon || true)
        [ -n "$xy" ] && break
        sleep 0.1
    done
    [ -n "$xy" ] || { echo "measure-idle.sh: the icon never docked" >&2; return 0; }
    sleep 0.5
    # shellcheck disable=SC2086
    xdotool mousemove $xy click 3
    sleep 0.5
    xdotool key Down Down Down Return
    xdotool mousemove 10 10
    title='电子钟'
}

# What a running countdown does to helper.ini over the idle span, from the system calls it makes.
measure_countdown() {
    local pid=$1 dir=$2
    local io0 io1
    io0=$(awk '$1 == "write_bytes:" { print $2 }' "/proc/$pid/io")
    timeout -s INT "$seconds" strace -f -qq -y -p "$pid" -e trace=openat,write,fsync,fdatasync,rename,renameat,renameat2 \
        -o "$dir/strace.log" 2>/dev/null || true
    io1=$(awk '$1 == "write_bytes:" { print $2 }' "/proc/$pid/io")
    awk -v s="$seconds" -v disk=$((io1 - io0)) '
        /helper\.ini/ && /openat\(/ && !/O_WRONLY|O_RDWR/ { opens++ }
        /^[0-9]+ +write\(/ && /helper\.ini/ { n = $NF; if (n ~ /^[0-9]+$/) bytes += n }
        /fsync\(|fdatasync\(/ { syncs++ }
        /rename(at2?)?\(/ && /helper\.ini/ { renames++ }
        END {
            printf "%-9s %9.1f %9.1f %9.2f %9.2f %9.2f\n", "countdown", disk / 1024 * 60 / s, bytes / 1024 * 60 / s,
                opens / s, syncs / s, renames / s
        }
    ' "$dir/strace.log" | tee -a "$work/results.countdown"
}

measure_one() {
    local kind=$1 dir title
    dir=$(mktemp -d "$work/run.XXXX")
    mkdir -p "$dir/home/.config" "$dir/runtime"
    chmod 700 "$dir/runtime"
    local cmd
    case $kind in
        hidden | shown)
            cp -r build/Vantrel "$dir/app"
            title='Vantrel'
            cmd=("$dir/app/vantrel")
            # Started into the notification area; the clock is then opened from the icon's menu, as a person does.
            [ "$kind" = shown ] && printf '[system]\r\nhide=1\r\n' >"$dir/app/helper.ini"
            ;;
        baseline)
            title='Qt baseline'
            cmd=("$root/build/bench/QtBaseline")
            ;;
        countdown)
            cp -r build/Vantrel "$dir/app"
            title='Vantrel'
            cmd=("$dir/app/vantrel")
            printf '[halt]\r\nremain=1\r\nremaintime=86400\r\n' >"$dir/app/helper.ini"
            ;;
        *) echo "unknown case $kind" >&2; return 1 ;;
    esac

    # Every map on the screen, stamped as it arrives.
    mkfifo "$dir/xev.fifo"
    stdbuf -oL xev -root -event substructure >"$dir/xev.fifo" 2>/dev/null &
    local xev_pid=$!
    pids_to_end+=($xev_pid)
    while IFS= read -r line; do
        printf '%s %s\n' "${EPOCHREALTIME/./}" "$line"
    done <"$dir/xev.fifo" >"$dir/xev.log" &
    local stamp_pid=$!
    pids_to_end+=($stamp_pid)
    sleep 0.5

    local start_us
    start_us=${EPOCHREALTIME/./}
    # No power-off can happen here: the trial command is `true`, and there is no system bus to ask.
    HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" XDG_RUNTIME_DIR="$dir/runtime" \
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$dir/no-bus" \
        VANTREL_POWEROFF_COMMAND=true "${cmd[@]}" >"$dir/out.log" 2>&1 &
    local pid=$!
    pids_to_end+=($pid)

    local win="" i
    [ "$kind" = shown ] && open_clock
    for i in $(seq 200); do
        win=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1 || true)
        [ -n "$win" ] && break
        sleep 0.05
    done
    [ -n "$win" ] || echo "measure-idle.sh: no window titled $title came up ($kind)" >&2
    local mapped_ms=NA
    if [ -n "$win" ] && [ "$kind" != shown ]; then
        local hex map_us
        hex=$(printf '0x%x' "$win")
        map_us=$(awk -v w="window $hex," '/MapNotify event/ { t = $1; next } t && index($0, w) { print t; exit } { t = 0 }' "$dir/xev.log")
        [ -n "$map_us" ] && mapped_ms=$(((map_us - start_us) / 1000))
    fi

    # Memory 10 s after launch, then the idle span.
    local wait_us=$((start_us + 10000000 - ${EPOCHREALTIME/./}))
    [ $wait_us -gt 0 ] && sleep "$(printf '%d.%06d' $((wait_us / 1000000)) $((wait_us % 1000000)))"
    if [ "$kind" = countdown ]; then
        measure_countdown "$pid" "$dir"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        kill "$xev_pid" 2>/dev/null || true
        wait "$xev_pid" "$stamp_pid" 2>/dev/null || true
        return 0
    fi
    local pss anon threads
    pss=$(rollup_mb "$pid" Pss)
    anon=$(rollup_mb "$pid" Anonymous)
    local c0 s0 m0 c1 s1 m1
    c0=$(cpu_ticks "$pid")
    s0=$(sched_sum "$pid")
    m0=$(awk '{ print $3 }' "/proc/$pid/schedstat")
    sleep "$seconds"
    c1=$(cpu_ticks "$pid")
    s1=$(sched_sum "$pid")
    m1=$(awk '{ print $3 }' "/proc/$pid/schedstat")
    threads=$(ls "/proc/$pid/task" | wc -l)

    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    kill "$xev_pid" 2>/dev/null || true
    wait "$xev_pid" "$stamp_pid" 2>/dev/null || true

    local cpu_ms run_ms wake main
    cpu_ms=$(((c1 - c0) * 1000 / clk_tck))
    read -r r0 t0 <<<"$s0"
    read -r r1 t1 <<<"$s1"
    run_ms=$(awk -v a="$r0" -v b="$r1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
    wake=$(awk -v a="$t0" -v b="$t1" -v s="$seconds" 'BEGIN { printf "%.1f", (b - a) / s }')
    main=$(awk -v a="$m0" -v b="$m1" -v s="$seconds" 'BEGIN { printf "%.1f", (b - a) / s }')
    printf '%-9s %9s %7s %7s %7s %7s %9s %7s %7s\n' "$kind" "$mapped_ms" "$pss" "$anon" "$cpu_ms" "$run_ms" "$wake" \
        "$main" "$threads" | tee -a "$work/results"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores; $rounds rounds of ${seconds} s"
if [ "${cases[*]}" = countdown ]; then
    printf '%-9s %9s %9s %9s %9s %9s\n' case disk_kb/m write_kb/m opens/s fsync/s rename/s
else
    printf '%-9s %9s %7s %7s %7s %7s %9s %7s %7s\n' case mapped_ms pss_mb anon_mb cpu_ms run_ms wakeups/s main/s threads
fi
for round in $(seq "$rounds"); do
    for kind in "${cases[@]}"; do
        measure_one "$kind"
    done
done
echo "medians:"
for kind in "${cases[@]}"; do
    [ "$kind" = countdown ] && continue
    awk -v k="$kind" 'BEGIN { n = 0 } $1 == k { for (i = 2; i <= NF; ++i) v[i, n] = $i; ++n }
        END {
            printf "%-9s", k
            for (i = 2; i <= 9; ++i) {
                m = 0
                for (j = 0; j < n; ++j) a[j] = v[i, j]
                for (x = 0; x < n; ++x) for (y = x + 1; y < n; ++y) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
                printf " %9s", (n % 2) ? a[int(n / 2)] : (a[n / 2 - 1] + a[n / 2]) / 2
            }
            printf "\n"
        }' "$work/results"
done
if [ -s "$work/results.countdown" ]; then
    printf '%-9s %9s %9s %9s %9s %9s\n' countdown disk_kb/m write_kb/m opens/s fsync/s rename/s
    awk 'BEGIN { n = 0 } { for (i = 2; i <= 6; ++i) v[i, n] = $i; ++n }
        END {
            printf "%-9s", "countdown"
            for (i = 2; i <= 6; ++i) {
                for (j = 0; j < n; ++j) a[j] = v[i, j]
                for (x = 0; x < n; ++x) for (y = x + 1; y < n; ++y) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
                printf " %9s", (n % 2) ? a[int(n / 2)] : (a[n / 2 - 1] + a[n / 2]) / 2
            }
            printf "\n"
        }' "$work/results.countdown"
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
