# Sourced by the benchmarks, which set $top (the project folder) first. Gives $build, where
# their programs are built, and $work, a scratch folder removed when the benchmark ends, together
# with every server started by start_server.
build=${TESSALY_BENCH_BUILD_DIR:-$top/build-bench}

# build_bench TARGET...: builds programs of bench/ into $build.
build_bench() {
    cmake -S "$top/bench" -B "$build" >/dev/null
    cmake --build "$build" --target "$@" --parallel 2 >/dev/null
}

# In memory where the machine allows: servers write every upload there, and a disk's pace would
# drown the clients' own.
if [[ -d /dev/shm && -w /dev/shm ]]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# start_server NAME COMMAND...: runs a test server (tests/kit/ftpserver.py, tests/kit/vsftpd.sh),
# which prints "port N" into $work/NAME.port once it listens and leaves when its input closes; a
# descriptor of the calling shell keeps that pipe open for the run.
start_server() {
    local name=$1
    shift
    mkfifo "$work/$name.in"
    PYTHONDONTWRITEBYTECODE=1 "$@" <"$work/$name.in" >"$work/$name.port" &
    pids+=($!)
    exec {keep}>"$work/$name.in"
    until [[ -s "$work/$name.port" ]]; do sleep 0.1; done
}

port_of() { awk '{print $2}' "$work/$1.port"; }

now() { date +%s.%N; }
# Run before each round of median_time: empties the server folder; a benchmark whose server
# keeps its files elsewhere defines its own.
before_round() { rm -rf "${work:?}/root/"*; }
# median_time COMMAND...: the median wall time of COMMAND over $rounds rounds, in seconds, the
# output of the last round in $work/out; each round first runs before_round. A first round is run
# and not counted: the first run of a client against a server is seconds slower here (pages of the
# server's new file, caches of the client's program), which would tell of the order the clients
# run in rather than of the clients.
median_time() {
    local times=()
    for ((r = -1; r < rounds; r++)); do
        before_round
        local start end
        start=$(now)
        "$@" >"$work/out" 2>&1 || { cat "$work/out" >&2; exit 1; }
        end=$(now)
        ((r >= 0)) && times+=("$(echo "$start $end" | awk '{print $2 - $1}')")
    done
    printf '%s\n' "${times[@]}" | sort -g | awk '{t[NR] = $1} END {print (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2)}'
}

# unpack_servers: gives $servers, a folder holding Debian's ProFTPD and Pure-FTPd, downloaded
# with apt-get and unpacked there once (with the libraries they need that the machine may lack).
# Installed, they would conflict with each other and with vsftpd; unpacked, each runs from
# bench/proftpd.sh or bench/pureftpd.sh with its own settings.
servers=$build/servers
unpack_servers() {
    local packages=(proftpd-core proftpd-mod-crypto pure-ftpd
        libmemcached11 libmemcachedutil2 libhashkit2 libpcre2-posix3 libhiredis0.14)
    # Unpacked again when the list changes.
    [[ $(cat "$servers/packages" 2>/dev/null) == "${packages[*]}" ]] && return
    local debs=$build/server-debs
    mkdir -p "$debs" "$servers"
    chmod 777 "$debs" # apt's download user writes there
    (cd "$debs" && apt-get download "${packages[@]}" >/dev/null)
    for deb in "$debs"/*.deb; do dpkg-deb -x "$deb" "$servers"; done
    echo "${packages[*]}" >"$servers/packages"
}
