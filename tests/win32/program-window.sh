# Sourced by the checks that start the Windows program under Wine and look
# at its window from outside, as a pupil sees it. Needs wine-env.sh sourced
# and a prefix made.

# amino_start PROGRAM.exe: starts it and sets amino_pid and amino_window
# (the X window of its form); ends the check if no window appears. The
# caller's EXIT trap calls amino_stop.
amino_start() {
    amino_log=$(mktemp)
    # Wine's own errors, should the program not come up.
    WINEDEBUG=err+all,fixme-all wine "$1" >"$amino_log" 2>&1 &
    amino_pid=$!
    amino_window=
    # Wine names the X window's class after the program's file.
    for _ in $(seq 300); do
        amino_window=$(xdotool search --onlyvisible --class aminokiselini 2>/dev/null | head -n 1) || true
        [ -n "$amino_window" ] && break
        if ! kill -0 "$amino_pid" 2>/dev/null; then
            local status=0
            wait "$amino_pid" || status=$?
            amino_pid=
            echo "FAIL: the program quit with status $status before showing its window: $(cat "$amino_log")" >&2
            exit 1
        fi
        sleep 0.2
    done
    [ -n "$amino_window" ] || { echo "FAIL: no window of the program appeared within 60 s" >&2; exit 1; }
    sleep 1
}

# amino_shoot PNG: a picture of the form's client area.
amino_shoot() {
    /usr/bin/import -window "$amino_window" "$1"
}

# amino_close: closes the window as its close button does; the program must
# end, with status 0.
amino_close() {
    local here status=0
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    /usr/bin/python3 "$here/../packaging/close_window.py" "$amino_window" ||
        { echo "FAIL: could not ask the window to close" >&2; exit 1; }
    for _ in $(seq 100); do
        kill -0 "$amino_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$amino_pid" 2>/dev/null &&
        { echo "FAIL: the program still runs 10 s after its window was closed" >&2; exit 1; }
    wait "$amino_pid" || status=$?
    [ "$status" -eq 0 ] || { echo "FAIL: the program quit with status $status after its window was closed" >&2; exit 1; }
    echo "ok: closed with status 0"
}

# amino_stop: ends the program if it still runs.
amino_stop() {
    if [ -n "${amino_pid:-}" ] && kill -0 "$amino_pid" 2>/dev/null; then
        kill "$amino_pid" 2>/dev/null || true
    fi
    # Until the server has gone: a program started meanwhile would die with it.
    wineserver --kill 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
    [ -z "${amino_pid:-}" ] || wait "$amino_pid" 2>/dev/null || true
    amino_pid=
    rm -f "${amino_log:-}"
}
