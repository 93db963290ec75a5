#!/usr/bin/env bash
# xvfb.sh start|stop STATEDIR
# start: runs Xvfb on a free display and writes its name (":N") to STATEDIR/display.
# stop:  ends the server started from STATEDIR and removes the state.
set -u
action=${1-}
dir=${2-}
if [[ -z $action || -z $dir ]]; then
    echo "usage: xvfb.sh start|stop STATEDIR" >&2
    exit 2
fi

stop() {
    if [[ -s $dir/pid ]]; then
        local pid
        pid=$(<"$dir/pid")
        if kill "$pid" 2>/dev/null; then
            for _ in $(seq 50); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.1
            done
            kill -9 "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$dir/pid" "$dir/display" "$dir/displayfd"
}

case $action in
    start)
        if ! command -v Xvfb >/dev/null; then
            echo "xvfb.sh: Xvfb not found; run 'make deps' (Debian package xvfb)" >&2
            exit 1
        fi
        mkdir -p "$dir"
        stop  # a server left over from an interrupted run
        : >"$dir/displayfd"
        # -displayfd picks an unused display and reports it once the server accepts clients.
        # The server's own output goes to a log, never to ctest's pipe (which would keep the
        # fixture test from finishing).
        setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
            3>"$dir/displayfd" </dev/null >"$dir/xvfb.log" 2>&1 &
        echo $! >"$dir/pid"
        for _ in $(seq 100); do
            if [[ -s $dir/displayfd ]] && grep -q '^[0-9]' "$dir/displayfd"; then
                echo ":$(head -n1 "$dir/displayfd" | tr -dc 0-9)" >"$dir/display"
                echo "Xvfb running on $(<"$dir/display")"
                exit 0
            fi
            if ! kill -0 "$(<"$dir/pid")" 2>/dev/null; then break; fi
            sleep 0.1
        done
        echo "xvfb.sh: Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        stop
        exit 1
        ;;
    stop)
        stop
        exit 0
        ;;
    *)
        echo "usage: xvfb.sh start|stop STATEDIR" >&2
        exit 2
        ;;
esac
