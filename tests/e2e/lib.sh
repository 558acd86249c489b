# End-to-end test helpers: the game runs in a detached tmux session of exactly
# 80 x 25 on a private tmux server, in a temporary directory of its own (the
# binary is copied there, so BEDINGUN.DAT is written beside it), under capsh
# with the right to set the clock dropped.
#
# The pane runs a small shell flow: the game, then its exit status into rc.txt
# and `stty -a` into stty.txt, then a pause, so that after the game has ended
# the shell's screen (the farewell) and the terminal settings can be checked.
#
# Usage in a test_*.sh script:
#   . "$(dirname "$0")/lib.sh"
#   e2e_setup "$@"          # binary from $ZQ_E2E_BINARY or $1; skips (77) without tmux
#   e2e_start
#   e2e_wait_for "English:" || e2e_fail "no language screen"
#   e2e_send e
#   ...
# Exit status: 0 pass, 1 fail, 77 skipped (for ctest's SKIP_RETURN_CODE).

set -u

E2E_SKIP=77
E2E_SESSION=zq
E2E_SOCK=""
E2E_TMP=""
E2E_RUN=""
E2E_BIN=""
E2E_WRAP=""

e2e_log() { printf '%s\n' "$*" >&2; }

e2e_skip() {
    printf 'skipped: %s\n' "$*"
    exit "$E2E_SKIP"
}

# What the pane shows now (25 lines), or nothing when there is no session.
e2e_screen() {
    [ -n "$E2E_SOCK" ] || return 0
    tmux -L "$E2E_SOCK" capture-pane -p -t "$E2E_SESSION" 2>/dev/null
}

e2e_fail() {
    e2e_log "FAIL: $*"
    if [ -n "$E2E_SOCK" ]; then
        e2e_log "---- screen ----"
        e2e_screen | sed 's/^/|/' >&2
        e2e_log "----------------"
    fi
    exit 1
}

e2e_cleanup() {
    if [ -n "$E2E_SOCK" ]; then
        tmux -L "$E2E_SOCK" kill-server >/dev/null 2>&1 || true
    fi
    # The hangup ends the game, which still saves its conditions on the way
    # out: let it finish before its directory goes; one that does not end is
    # stopped by its process id.
    if [ -n "$E2E_BIN" ] && [ -d /proc/self ]; then
        local i pid
        for i in $(seq 1 50); do
            pid=$(e2e_game_pid) || break
            [ "$i" -lt 50 ] || kill -KILL "$pid" 2>/dev/null
            sleep 0.1
        done
    fi
    if [ -n "$E2E_TMP" ] && [ -d "$E2E_TMP" ]; then
        rm -rf -- "$E2E_TMP"
    fi
}

# e2e_setup [binary]: finds the binary and the tools, makes the directories.
e2e_setup() {
    local src="${ZQ_E2E_BINARY:-${1:-}}"
    [ -n "$src" ] || e2e_fail "no binary given (argument 1 or ZQ_E2E_BINARY)"
    [ -x "$src" ] || e2e_fail "binary '$src' is missing or not executable"
    command -v tmux >/dev/null 2>&1 || e2e_skip "tmux is not installed"

    # The game may try to set the system clock; it must never succeed here.
    if command -v capsh >/dev/null 2>&1 && capsh --drop=cap_sys_time -- -c true >/dev/null 2>&1; then
        E2E_WRAP="capsh --drop=cap_sys_time --"
    elif [ "$(id -u)" != 0 ]; then
        E2E_WRAP=""  # an ordinary user cannot set the clock anyway
    else
        e2e_skip "capsh cannot drop cap_sys_time, and the test runs as root"
    fi

    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/zq_e2e.XXXXXX") || e2e_fail "mktemp failed"
    trap e2e_cleanup EXIT
    # a test stopped from outside (ctest's timeout) still ends the tmux server
    trap 'exit 1' TERM INT HUP
    E2E_RUN="$E2E_TMP/run"
    mkdir -p "$E2E_RUN" || e2e_fail "cannot make $E2E_RUN"
    cp "$src" "$E2E_RUN/zentrovalquist" || e2e_fail "cannot copy the binary"
    E2E_BIN="$E2E_RUN/zentrovalquist"
    E2E_SOCK="zq_e2e_$$_${RANDOM}"
    # no status line: the pane is the whole 80 x 25 window
    printf 'set -g status off\nset -g escape-time 0\nset -g default-shell /bin/sh\n' >"$E2E_TMP/tmux.conf"
    unset TMUX
}

# e2e_start [COLS ROWS]: starts the pane's flow in a window of COLS x ROWS
# (80 x 25 unless given).
# Optional settings, read when the session starts:
#   E2E_TERM     the pane's terminal type (tmux's default-terminal, and so the
#                TERM the game sees); tmux's own default when empty
#   E2E_CAPTURE  a file that receives every byte the game writes to the pane
#                (tmux pipe-pane); the game starts only once the pipe is open
#   E2E_FSIZE    a file-size limit for the game alone (ulimit -f, in blocks)
#   E2E_GAME     the shell word that starts the game in the run directory
#                (./zentrovalquist unless given; no single quote in it)
#   E2E_BEFORE   a shell command run just before the game, in the shell that
#                starts it (e.g. "ulimit -v 200000")
e2e_start() {
    local cols="${1:-80}" rows="${2:-25}"
    local game="${E2E_GAME:-./zentrovalquist}"
    [ -z "${E2E_BEFORE:-}" ] || game="${E2E_BEFORE}; exec $game"
    local run
    if [ -n "$E2E_WRAP" ]; then
        run="$E2E_WRAP -c '$game'"
    else
        run="$game"
    fi
    # in a subshell, so that the flow's own files can still be written
    if [ -n "${E2E_FSIZE:-}" ]; then
        run="(ulimit -f $E2E_FSIZE && exec $run)"
    fi
    # the flow after the game: exit status, terminal settings, then a pause
    local flow="$run; echo \$? > rc.txt; stty -a > stty.txt 2>&1; sleep 120"
    if [ -n "${E2E_CAPTURE:-}" ]; then
        rm -f -- "$E2E_TMP/capture.go"
        flow="while [ ! -e '$E2E_TMP/capture.go' ]; do sleep 0.05; done; $flow"
    fi
    local termopt=()
    if [ -n "${E2E_TERM:-}" ]; then
        # set before the pane exists, so that the pane is made with it
        termopt=(start-server \; set-option -g default-terminal "$E2E_TERM" \;)
    fi
    tmux -L "$E2E_SOCK" -f "$E2E_TMP/tmux.conf" "${termopt[@]}" new-session -d -s "$E2E_SESSION" \
        -x "$cols" -y "$rows" -c "$E2E_RUN" "$flow" || e2e_fail "tmux could not start the session"
    if [ -n "${E2E_CAPTURE:-}" ]; then
        tmux -L "$E2E_SOCK" pipe-pane -O -t "$E2E_SESSION" "cat >> '$E2E_CAPTURE'" ||
            e2e_fail "tmux could not pipe the pane's output"
        : >"$E2E_TMP/capture.go"
    fi
    local size
    size=$(e2e_size)
    [ "$size" = "${cols}x${rows}" ] || e2e_fail "pane is $size, not ${cols}x${rows}"
}

# The pane's size as COLSxROWS.
e2e_size() {
    tmux -L "$E2E_SOCK" display-message -p -t "$E2E_SESSION" '#{pane_width}x#{pane_height}'
}

# e2e_resize COLS ROWS: the window (and with it the pane) gets this size.
e2e_resize() {
    tmux -L "$E2E_SOCK" resize-window -t "$E2E_SESSION" -x "$1" -y "$2" || e2e_fail "resize-window $1 $2"
    [ "$(e2e_size)" = "$1x$2" ] || e2e_fail "pane is $(e2e_size) after resizing to $1x$2"
}

# e2e_signal SIG: sends SIG to the game.
e2e_signal() {
    local pid
    pid=$(e2e_game_pid) || e2e_fail "the game's process was not found"
    kill -s "$1" "$pid" || e2e_fail "kill -s $1 $pid"
}

# e2e_wait_for TEXT [seconds]: true once TEXT is on the screen.
e2e_wait_for() {
    local text="$1" secs="${2:-10}"
    local end=$(($(date +%s) + secs))
    while :; do
        if e2e_screen | grep -F -q -- "$text"; then return 0; fi
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# e2e_wait_gone TEXT [seconds]: true once TEXT is no longer on the screen.
e2e_wait_gone() {
    local text="$1" secs="${2:-10}"
    local end=$(($(date +%s) + secs))
    while :; do
        if ! e2e_screen | grep -F -q -- "$text"; then return 0; fi
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# e2e_send KEY...: tmux key names (e, Enter, Escape, Up, F4, C-c ...), one
# after the other with a short pause, so that an Esc is never taken for the
# start of a sequence with the key after it.
e2e_send() {
    local k
    for k in "$@"; do
        tmux -L "$E2E_SOCK" send-keys -t "$E2E_SESSION" "$k" || e2e_fail "send-keys $k"
        sleep 0.1
    done
}

# e2e_type TEXT: the characters of TEXT as they are.
e2e_type() {
    tmux -L "$E2E_SOCK" send-keys -t "$E2E_SESSION" -l -- "$1" || e2e_fail "send-keys -l $1"
    sleep 0.1
}

# e2e_send_hex HH...: raw bytes, e.g. e2e_send_hex 1b 5b 31 3b 35 41 (Ctrl-Up).
e2e_send_hex() {
    tmux -L "$E2E_SOCK" send-keys -t "$E2E_SESSION" -H "$@" || e2e_fail "send-keys -H $*"
    sleep 0.1
}

# e2e_text ROW COL LEN: LEN characters of the screen from (COL, ROW), 1-based.
e2e_text() {
    local row="$1" col="$2" len="$3"
    e2e_screen | sed -n "${row}p" | cut -c "${col}-$((col + len - 1))"
}

# e2e_wait_exit [seconds]: true once the game has ended (rc.txt written).
e2e_wait_exit() {
    local secs="${1:-10}"
    local end=$(($(date +%s) + secs))
    while [ ! -s "$E2E_RUN/rc.txt" ] || [ ! -s "$E2E_RUN/stty.txt" ]; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

e2e_rc() { tr -d ' \n' <"$E2E_RUN/rc.txt"; }

# e2e_stty_has FLAG: the terminal setting after the game shows FLAG exactly
# (e.g. icanon, echo, -icanon).
e2e_stty_has() {
    tr ' ;' '\n\n' <"$E2E_RUN/stty.txt" | grep -x -q -- "$1"
}

# The process id of the game, or nothing. (Reads /proc: Linux only.)
e2e_game_pid() {
    local p exe
    [ -d /proc/self ] || return 1
    for p in /proc/[0-9]*; do
        exe=$(readlink "$p/exe" 2>/dev/null) || continue
        if [ "$exe" = "$E2E_BIN" ]; then
            printf '%s\n' "${p#/proc/}"
            return 0
        fi
    done
    return 1
}

# e2e_cpu_ticks PID: user + system clock ticks the process has used.
e2e_cpu_ticks() {
    # fields 14 and 15 of /proc/PID/stat, counted after the command name
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

e2e_file_size() { wc -c <"$1" | tr -d ' '; }

# ---- further helpers -------------------------------------------------------

# e2e_tmux ARGS...: a tmux command on the test's own server.
e2e_tmux() { tmux -L "$E2E_SOCK" "$@"; }

# e2e_cursor: the cursor position as "COL ROW", both 1-based.
e2e_cursor() {
    tmux -L "$E2E_SOCK" display-message -p -t "$E2E_SESSION" '#{cursor_x} #{cursor_y}' 2>/dev/null |
        awk '{ print $1 + 1, $2 + 1 }'
}

# e2e_wait_cursor COL ROW [seconds]: true once the cursor stands at (COL, ROW).
e2e_wait_cursor() {
    local want="$1 $2" secs="${3:-5}"
    local end=$(($(date +%s) + secs))
    while :; do
        [ "$(e2e_cursor)" = "$want" ] && return 0
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.05
    done
}

# e2e_wait_at ROW COL TEXT [seconds]: true once TEXT stands at (COL, ROW).
e2e_wait_at() {
    local row="$1" col="$2" text="$3" secs="${4:-5}"
    local end=$(($(date +%s) + secs))
    while :; do
        [ "$(e2e_text "$row" "$col" "${#text}")" = "$text" ] && return 0
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.05
    done
}

# e2e_expect_at ROW COL TEXT WHAT: fails the test unless TEXT is at (COL, ROW)
# within a few seconds; WHAT names the place in the message.
e2e_expect_at() {
    e2e_wait_at "$1" "$2" "$3" 5 ||
        e2e_fail "$4: '$(e2e_text "$1" "$2" "${#3}")' at ($2, $1), expected '$3'"
}

# e2e_restart [COLS ROWS]: ends the session (the game must have ended) and
# starts the flow again in the same directory, so BEDINGUN.DAT is kept.
e2e_restart() {
    tmux -L "$E2E_SOCK" kill-server >/dev/null 2>&1 || true
    # a server of its own: one that is still going down may hold the old name
    E2E_RESTARTS=$((${E2E_RESTARTS:-0} + 1))
    E2E_SOCK="${E2E_SOCK%_r*}_r$E2E_RESTARTS"
    rm -f -- "$E2E_RUN/rc.txt" "$E2E_RUN/stty.txt"
    e2e_start "$@"
}

# e2e_wait_no_game [seconds]: true once no process of the game is left.
e2e_wait_no_game() {
    local secs="${1:-10}"
    local end=$(($(date +%s) + secs))
    while e2e_game_pid >/dev/null; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# e2e_dat_bytes: the bytes of BEDINGUN.DAT as decimal numbers, one a line
# (line 1 is offset 0).
e2e_dat_bytes() { od -An -v -tu1 "$E2E_RUN/BEDINGUN.DAT" | tr -s ' ' '\n' | sed '/^$/d'; }

# e2e_dat_byte OFFSET: one byte of BEDINGUN.DAT as a decimal number.
e2e_dat_byte() { e2e_dat_bytes | sed -n "$(($1 + 1))p"; }

# e2e_expect_clean_exit RC: the game has ended with status RC and given the
# terminal back in cooked mode with echo.
e2e_expect_clean_exit() {
    e2e_wait_exit 15 || e2e_fail "the game did not end"
    [ "$(e2e_rc)" = "$1" ] || e2e_fail "exit status $(e2e_rc), expected $1"
    local flag
    for flag in icanon echo; do
        e2e_stty_has "$flag" || e2e_fail "terminal not restored: '$flag' is off ($(cat "$E2E_RUN/stty.txt"))"
    done
}

# e2e_send_burst KEY...: tmux key names sent in one go, then one short pause
# (for runs of keys among which there is no Esc to be told from a sequence).
e2e_send_burst() {
    tmux -L "$E2E_SOCK" send-keys -t "$E2E_SESSION" "$@" || e2e_fail "send-keys $*"
    sleep 0.1
}

# e2e_capture_in_screen FILE: what the game wrote (see E2E_CAPTURE) stays on
# its 80 x 25 screen: every cursor position it sets lies inside, and while its
# screen is shown it writes no line feed (which would scroll at row 25).
# Prints the offending sequence and returns false otherwise.
e2e_capture_in_screen() {
    command -v perl >/dev/null 2>&1 || { e2e_log "(no perl: output not checked)"; return 0; }
    perl -e '
        local $/; my $s = <STDIN>; my $bad = 0;
        while ($s =~ /\e\[(\d*);(\d*)H/g) {
            my ($r, $c) = ($1 eq "" ? 1 : $1, $2 eq "" ? 1 : $2);
            if ($r < 1 || $r > 25 || $c < 1 || $c > 80) { print "cursor to row $r, column $c\n"; $bad = 1; }
        }
        # the game screen: from entering the alternate screen to leaving it
        while ($s =~ /\e\[\?1049h(.*?)(?:\e\[\?1049l|\z)/sg) {
            my $inner = $1;
            # the small-window notice is plain lines, shown before any page
            $inner =~ s/\e\[0m\e\[H\e\[2J(?:[^\e]*\r\n)+[^\e]*//g;
            if ($inner =~ /\n/) { print "a line feed on the game screen\n"; $bad = 1; }
        }
        exit $bad;' <"$1"
}
