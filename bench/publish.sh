#!/usr/bin/env bash
# Publishing benchmark: a show of 200 episodes of 1 MiB already on the server and 1 new one.
# The second publish through the program's window with "N'envoyer que les nouveautés", beside
# the same window sending that one file alone (a source folder that holds only it: the same
# connection, listings and put, without the 200 local files to compare), and lftp's
# mirror -R --only-newer of the same folder, against pyftpdlib and vsftpd on loopback. Best of a
# few rounds; every round checks that exactly one file was written on the server.
# The window's times run from the press of the send button to the end of the connection, as the
# user waits for them; lftp's are its whole run, its start included (about 10 ms).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${TESSALY_BENCH_ROUNDS:-9}
episodes=${TESSALY_BENCH_EPISODES:-200}
source "$top/bench/common.sh"
build_bench publishbench

# The episodes; the new one, and a folder holding it alone.
mkdir -p "$work/show" "$work/alone" "$work/run"
for i in $(seq -w 1 "$episodes"); do head -c $((1024 * 1024)) /dev/urandom >"$work/show/episode $i.mp3"; done
head -c $((1024 * 1024)) /dev/urandom >"$work/new.mp3"

start_pyftpdlib() {
    mkdir -p "$work/py/site"
    start_server py /usr/bin/python3 "$top/tests/kit/ftpserver.py" --root "$work/py" --user bench --password bench-pass
    read -r _ py_port <"$work/py.port"
}

# Anonymous uploads into a folder of its own. Running as the launching user vsftpd does not
# chroot: the publishes name the remote folder relative to the login folder, for both servers.
start_vsftpd() {
    mkdir -p "$work/vs/site" "$work/vs-config"
    chmod 777 "$work/vs/site"
    start_server vs "$top/tests/kit/vsftpd.sh" "$work/vs-config" "$work/vs"
    read -r _ vs_port <"$work/vs.port"
}


# Runs one publish with the window (in $work/run, where it keeps its settings): prints seconds.
ours() {
    local port=$1 user=$2 password=$3 source=$4 only_changed=$5
    (cd "$work/run" && QT_QPA_PLATFORM=offscreen "$build/publishbench" 127.0.0.1 "$port" "$user" "$password" \
        "$source" site "$only_changed") >"$work/out" 2>"$work/err" || { cat "$work/out" "$work/err" >&2; exit 1; }
    awk '/^publish-ms/ {printf "%.6f\n", $2 / 1000}' "$work/out"
}

theirs() {
    local port=$1 user=$2 password=$3
    local start end
    start=$(now)
    lftp -u "$user,$password" -e "mirror -R --only-newer --no-perms '$work/show' site/MP3; quit" "127.0.0.1:$port" \
        >"$work/out" 2>&1 || { cat "$work/out" >&2; exit 1; }
    end=$(now)
    echo "$start $end" | awk '{printf "%.6f\n", $2 - $1}'
}

# measure LABEL ROOT PORT USER PASSWORD AGE: AGE is the episodes' age, as touch -d takes it.
measure() {
    local label=$1 root=$2 port=$3 user=$4 password=$5 age=$6
    local mp3=$root/site/MP3
    rm -f "$work/show/new.mp3" "$work/alone/new.mp3"
    touch -d "$age" "$work/show"/*.mp3
    rm -rf "${mp3:?}"
    # The first publish sends the whole show.
    local first
    first=$(ours "$port" "$user" "$password" "$work/show" yes)
    [[ $(ls "$mp3" | wc -l) -eq $episodes ]] || { echo "$label: first publish incomplete" >&2; exit 1; }
    cp -p "$work/new.mp3" "$work/show/new.mp3"
    cp -p "$work/new.mp3" "$work/alone/new.mp3"

    local best_changes=1e9 best_alone=1e9 best_lftp=1e9 t
    # run NAME COMMAND...: one round, then checks that new.mp3, and it alone, was written.
    run() {
        rm -f "$mp3/new.mp3"
        touch "$work/mark"
        sleep 0.01
        t=$("$@")
        local written
        # Changed since the mark, even if its time was set back afterwards (lftp copies the local one).
        written=$(find "$mp3" -type f -cnewer "$work/mark" | wc -l)
        [[ $written -eq 1 ]] && cmp -s "$work/new.mp3" "$mp3/new.mp3" \
            || { echo "$label: $1 wrote $written files" >&2; cat "$work/out" >&2; find "$mp3" -cnewer "$work/mark" >&2; exit 1; }
    }
    for ((r = 0; r < rounds; r++)); do
        run ours "$port" "$user" "$password" "$work/show" yes
        best_changes=$(echo "$t $best_changes" | awk '{print ($1 < $2 ? $1 : $2)}')
        run ours "$port" "$user" "$password" "$work/alone" yes
        best_alone=$(echo "$t $best_alone" | awk '{print ($1 < $2 ? $1 : $2)}')
        run theirs "$port" "$user" "$password"
        best_lftp=$(echo "$t $best_lftp" | awk '{print ($1 < $2 ? $1 : $2)}')
    done
    awk -v label="$label" -v f="$first" -v c="$best_changes" -v a="$best_alone" -v l="$best_lftp" 'BEGIN {
        printf "%s\n", label
        printf "  first publish, every episode:            %8.1f ms\n", f * 1000
        printf "  second publish, only the changes:        %8.1f ms\n", c * 1000
        printf "  the new file alone, listings included:   %8.1f ms   second / alone %.2f (goal <= 1.5)\n", a * 1000, c / a
        printf "  lftp mirror -R --only-newer:             %8.1f ms   lftp / second  %.2f (goal >= 1.0)\n", l * 1000, l / c
    }'
}

start_pyftpdlib
start_vsftpd
echo "best of $rounds rounds; $episodes episodes of 1 MiB on the server, 1 new"
# A show's episodes are weeks old. vsftpd offers no MLSD: its LIST times settle such files,
# while for files made the same day the MDTM of one or two of them measures the LIST's clock.
measure "pyftpdlib (MLSD), episodes a month old" "$work/py" "$py_port" bench bench-pass '-30 days'
measure "vsftpd (LIST), episodes a month old" "$work/vs" "$vs_port" anonymous bench '-30 days'
measure "vsftpd (LIST, its clock measured with MDTM), episodes an hour old" "$work/vs" "$vs_port" anonymous bench '-1 hour'
