# Sourced by the server scripts of the tests and the benchmarks (tests/kit/vsftpd.sh,
# bench/proftpd.sh, bench/pureftpd.sh, bench/sshd.sh), which each write their configuration
# into $work for the port that free_port gives, then hand the server's command to serve.

# free_port: a port of 127.0.0.1 on which nothing listens.
free_port() {
    /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# serve NAME COMMAND...: runs the server, its output in $work/NAME.log; prints "port $port" once
# it accepts connections there, then serves until the script's standard input closes, so it never
# outlives its caller.
serve() {
    local name=$1
    shift
    "$@" </dev/null >"$work/$name.log" 2>&1 &
    server=$!
    trap 'kill $server 2>/dev/null' EXIT
    until (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do
        kill -0 $server 2>/dev/null || { cat "$work/$name.log" >&2; echo "$name did not start" >&2; exit 1; }
        sleep 0.05
    done
    echo "port $port"
    cat >/dev/null
}
