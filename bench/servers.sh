# Sourced by the benchmarks, which set $work (a scratch folder) and the array pids (killed when
# they end).
#
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
