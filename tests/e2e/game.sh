# Helpers for the end-to-end match tests, sourced after lib.sh: the
# conditions walk, the geometry of the trial table, the answer entry of a
# person, and a small code oracle in python3 that knows the scoring rule and
# which codes still agree with the answers given so far.
#
# The oracle is the test's independent view of a match: it never looks at
# the program, only at what the screen shows, so a wrong answer, a wrong
# automatic field or a guess that cannot be the code shows up as a
# disagreement with it.

ZQ_SCREEN=""
ZQ_LANG=""       # d or e
ZQ_SIGNS=""      # the sign set in number order, e.g. 012345
ZQ_LEN=0         # code length
ZQ_REP=0         # 1 when signs may repeat
ZQ_HIST=""       # answered trials: "guess:p:z guess:p:z ..."
ZQ_ORACLE=""

# zq_trace TEXT: a progress line on stderr when ZQ_TRACE is set.
zq_trace() { [ -z "${ZQ_TRACE:-}" ] || e2e_log "$*"; }

# zq_snap: one capture of the pane into ZQ_SCREEN, so that several fields are
# read from the same moment.
# The rows are kept in an array: the checks read dozens of fields per
# capture, and cutting them out with shell builtins keeps a busy machine from
# slowing the polling down.
ZQ_LINES=()
zq_snap() {
    ZQ_SCREEN=$(e2e_screen)
    mapfile -t ZQ_LINES <<<"$ZQ_SCREEN"
}

# zq_at ROW COL LEN: LEN characters of the last capture from (COL, ROW), 1-based
# (fewer where the row ends earlier).
zq_at() {
    local line="${ZQ_LINES[$(($1 - 1))]:-}"
    printf '%s' "${line:$(($2 - 1)):$3}"
}

# zq_row ROW: the whole row of the last capture.
zq_row() { printf '%s\n' "${ZQ_LINES[$(($1 - 1))]:-}"; }

# zq_cursor: the cursor as "COL ROW", 1-based.
zq_cursor() {
    local c
    c=$(tmux -L "$E2E_SOCK" display-message -p -t "$E2E_SESSION" '#{cursor_x} #{cursor_y}') || return 1
    set -- $c
    printf '%s %s\n' "$(($1 + 1))" "$(($2 + 1))"
}

# zq_until SECONDS COMMAND...: polls COMMAND (after a fresh capture) until it
# succeeds; false on timeout.
zq_until() {
    local secs="$1"
    shift
    local end=$(($(date +%s) + secs))
    while :; do
        zq_snap
        if "$@"; then return 0; fi
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.05
    done
}

zq_yes() { if [ "$ZQ_LANG" = d ]; then printf 'Ja.  '; else printf 'Yes. '; fi; }
zq_no() { if [ "$ZQ_LANG" = d ]; then printf 'Nein.'; else printf 'No.  '; fi; }
zq_yn() { if [ "$1" = y ]; then zq_yes; else zq_no; fi; }

# zq_open_conditions d|e: language, main menu item 5, the conditions screen.
zq_open_conditions() {
    ZQ_LANG="$1"
    e2e_wait_for "English:" 15 || e2e_fail "the language screen did not appear"
    e2e_send "$ZQ_LANG"
    if [ "$ZQ_LANG" = d ]; then
        e2e_wait_for "9 - Programm beenden." 10 || e2e_fail "no German main menu"
        e2e_send 5
        e2e_wait_for "Soll der PC eine Loesung vorgeben?" 10 || e2e_fail "the conditions screen did not appear"
    else
        e2e_wait_for "9 - End of the game." 10 || e2e_fail "no English main menu"
        e2e_send 5
        e2e_wait_for "Shall the computer ask a riddle?" 10 || e2e_fail "the conditions screen did not appear"
    fi
}

# Columns of the yes/no fields on the right of the conditions screen.
zq_guess_col() { if [ "$ZQ_LANG" = d ]; then echo 57; else echo 64; fi; }
zq_devise_col() { if [ "$ZQ_LANG" = d ]; then echo 73; else echo 71; fi; }
zq_time_col() { if [ "$ZQ_LANG" = d ]; then echo 71; else echo 69; fi; }

# zq_conditions time=D last=C len=N rep=y|n vac=y|n fixed=y|n guess=y|n
#               devise=y|n [name1=TEXT] [name2=TEXT] [secret=CODE]
# Walks the conditions fields from the four-way menu of a fresh start (first
# sign '0', both names empty) and checks the values on the screen afterwards.
# Meant for small conditions: it expects the fixed-code and computer-guesses
# fields to be offered, which the memory budget stops for large ones.
# guess: the computer guesses; devise: the computer devises the riddle.
zq_conditions() {
    local time="" last="" len="" rep="" vac="" fixed="" guess="" devise="" name1="" name2="" secret=""
    local kv
    for kv in "$@"; do
        case "$kv" in
            time=*) time="${kv#*=}" ;;
            last=*) last="${kv#*=}" ;;
            len=*) len="${kv#*=}" ;;
            rep=*) rep="${kv#*=}" ;;
            vac=*) vac="${kv#*=}" ;;
            fixed=*) fixed="${kv#*=}" ;;
            guess=*) guess="${kv#*=}" ;;
            devise=*) devise="${kv#*=}" ;;
            name1=*) name1="${kv#*=}" ;;
            name2=*) name2="${kv#*=}" ;;
            secret=*) secret="${kv#*=}" ;;
            *) e2e_fail "zq_conditions: unknown setting $kv" ;;
        esac
    done
    e2e_send 3
    e2e_send "$time" Enter Enter "$last" "$len"
    # repetition is not asked when the code is longer than the set
    local nsigns
    nsigns=$(zq_sign_count "$last")
    if [ "$len" -le "$nsigns" ]; then e2e_send "$rep"; else rep=y; fi
    e2e_send "$vac" "$fixed" "$guess"
    if [ "$guess" = n ]; then
        [ -n "$name2" ] || e2e_fail "zq_conditions: a person guesses, name2 is needed"
        e2e_type "$name2"
        e2e_send Enter j
    fi
    e2e_send "$devise"
    if [ "$devise" = n ]; then
        [ -n "$name1" ] || e2e_fail "zq_conditions: a person devises, name1 is needed"
        e2e_type "$name1"
        e2e_send Enter j
        if [ "$guess" = n ] && [ "$fixed" = y ]; then
            [ -n "$secret" ] || e2e_fail "zq_conditions: two persons with a fixed code need the secret"
            # with every sign once in the code the last one is filled in
            if [ "$rep" = n ] && [ "$len" = "$nsigns" ]; then
                e2e_type "${secret:0:$((len - 1))}"
            else
                e2e_type "$secret"
            fi
        fi
    fi
    # back at the four-way menu: every value where it belongs
    local want_set
    want_set=$(zq_signs_from "0" "$last")
    zq_until 10 zq_conditions_shown "$time" "$last" "$len" "$rep" "$vac" "$fixed" "$guess" "$devise" "$want_set" \
        || e2e_fail "the conditions screen does not show what was set (time $time, last $last, length $len, rep $rep, vacant $vac, fixed $fixed, computer guesses $guess, computer devises $devise)"
    ZQ_SIGNS="$want_set"
    ZQ_LEN="$len"
    if [ "$rep" = y ]; then ZQ_REP=1; else ZQ_REP=0; fi
    ZQ_HIST=""
}

zq_conditions_shown() {
    local tcol gcol dcol
    tcol=$(zq_time_col)
    gcol=$(zq_guess_col)
    dcol=$(zq_devise_col)
    [ "$(zq_at 10 "$tcol" 1)" = "$1" ] || return 1
    [ "$(zq_at 14 30 1)" = "$2" ] || return 1
    [ "$(zq_at 16 30 1)" = "$3" ] || return 1
    [ "$(zq_at 17 30 5)" = "$(zq_yn "$4")" ] || return 1
    [ "$(zq_at 18 30 5)" = "$(zq_yn "$5")" ] || return 1
    [ "$(zq_at 19 30 5)" = "$(zq_yn "$6")" ] || return 1
    [ "$(zq_at 13 "$gcol" 5)" = "$(zq_yn "$7")" ] || return 1
    [ "$(zq_at 17 "$dcol" 5)" = "$(zq_yn "$8")" ] || return 1
    [ "$(zq_at 15 30 ${#9})" = "$9" ] || return 1
    # the cursor waits on the menu's '1'
    local want
    if [ "$ZQ_LANG" = d ]; then want="74 20"; else want="73 20"; fi
    [ "$(zq_cursor)" = "$want" ]
}

# The ring of signs a..z, 0..9; zq_signs_from FIRST LAST: the stretch.
ZQ_RING=abcdefghijklmnopqrstuvwxyz0123456789
zq_signs_from() {
    local ring="$ZQ_RING$ZQ_RING" i=0 out="" started=0 c
    while [ $i -lt 72 ]; do
        c="${ring:$i:1}"
        if [ $started = 0 ] && [ "$c" = "$1" ]; then started=1; fi
        if [ $started = 1 ]; then
            out="$out$c"
            [ "$c" = "$2" ] && [ ${#out} -gt 1 ] && break
        fi
        i=$((i + 1))
    done
    printf '%s' "$out"
}
zq_sign_count() { local s; s=$(zq_signs_from 0 "$1"); echo "${#s}"; }

# zq_start_match: menu choice 1, then the board.
zq_start_match() {
    e2e_send 1
    if [ "$ZQ_LANG" = d ]; then
        e2e_wait_for "Spielbeginn" 15 || e2e_fail "the board did not appear"
    else
        e2e_wait_for "Game start" 15 || e2e_fail "the board did not appear"
    fi
}

# ---- board geometry --------------------------------------------------------

# zq_slot K: for slot K (1..30) of the trial table "ROW NUMCOL CODECOL PCOL ZCOL".
zq_slot() {
    local k="$1" h r
    h=$(((k - 1) / 15 + 1))
    r=$(((k - 1) % 15 + 1))
    if [ $h = 1 ]; then
        echo "$((r + 8)) 42 $(((101 - ZQ_LEN) / 2)) 56 58"
    else
        echo "$((r + 8)) 62 $(((141 - ZQ_LEN) / 2)) 76 78"
    fi
}

zq_game_ended() {
    if [ "$ZQ_LANG" = d ]; then
        [ "$(zq_at 19 3 10)" = "Spielende " ]
    else
        [ "$(zq_at 19 3 9)" = "Game end " ]
    fi
}

# zq_board_max: the maximum-trials number of the board header (empty when
# the box is blank), from the last capture.
zq_board_max() {
    if [ "$ZQ_LANG" = d ]; then
        zq_row 4 | sed -n 's/.*Der Code kann mit \(maximal\|genau\) \([0-9]*\) .*/\2/p'
    else
        zq_row 5 | sed -n 's/.*| with \([0-9]*\) trials.*/\1/p'
    fi
}

# zq_board_max_wording fixed|exact: the header says "at most" or "exactly".
zq_board_max_wording() {
    if [ "$ZQ_LANG" = d ]; then
        if [ "$1" = fixed ]; then zq_row 4 | grep -q "Der Code kann mit maximal "; else zq_row 4 | grep -q "Der Code kann mit genau "; fi
        zq_row 5 | grep -q "|   Versuchen geknackt werden.     |"
    else
        zq_row 4 | grep -q "| It is possible to crack the code |" || return 1
        if [ "$1" = fixed ]; then zq_row 5 | grep -q " trials or less\. "; else zq_row 5 | grep -q " trials\. "; fi
    fi
}

# zq_end_code / zq_end_count: the end line's code and number of trials.
zq_end_code() { zq_at 25 10 "$ZQ_LEN"; }
zq_end_count() { zq_at 25 45 4 | tr -d ' '; }

# zq_read_trials N: the first N (up to 30) trials of the table, from the last
# capture, into ZQ_HIST and the arrays ZQ_G, ZQ_P, ZQ_Z (index = trial); the
# last of them also into ZQ_LAST_GUESS and ZQ_LAST_P. Fails on a row without
# its number, a complete code or an answer.
zq_read_trials() {
    local k row ncol ccol pcol zcol g p z
    ZQ_HIST=""
    ZQ_G=() ZQ_P=() ZQ_Z=()
    for k in $(seq 1 "$1"); do
        read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
        [ "$(zq_at "$row" "$ncol" 3)" = "$(printf '%3d' "$k")" ] || e2e_fail "trial $k: its number is not shown"
        g=$(zq_code_in "$row" "$ccol") || e2e_fail "trial $k: no complete code in its row"
        p=$(zq_at "$row" "$pcol" 1)
        z=$(zq_at "$row" "$zcol" 1)
        case "$p$z" in [0-9][0-9]) ;; *) e2e_fail "trial $k: the answer '$p|$z' is not two digits" ;; esac
        zq_record "$g" "$p" "$z"
        ZQ_G[k]="$g" ZQ_P[k]="$p" ZQ_Z[k]="$z"
        ZQ_LAST_GUESS="$g"
        ZQ_LAST_P="$p"
    done
}

# zq_finish: after the end line, 'n' to the main menu and 9 to leave.
zq_finish() {
    e2e_send n
    if [ "$ZQ_LANG" = d ]; then
        e2e_wait_for "9 - Programm beenden." 10 || e2e_fail "no main menu after 'n'"
    else
        e2e_wait_for "9 - End of the game." 10 || e2e_fail "no main menu after 'n'"
    fi
    e2e_send 9
    e2e_wait_exit 15 || e2e_fail "the game did not end after '9'"
    [ "$(e2e_rc)" = 0 ] || e2e_fail "exit status $(e2e_rc), expected 0"
}

# ---- the oracle ------------------------------------------------------------

zq_oracle_init() {
    command -v python3 >/dev/null 2>&1 || e2e_skip "python3 is not installed"
    ZQ_ORACLE="$E2E_TMP/oracle.py"
    cat >"$ZQ_ORACLE" <<'PY'
import itertools, os, random, sys

signs = os.environ["ZQ_SIGNS"]
n = int(os.environ["ZQ_LEN"])
rep = os.environ["ZQ_REP"] == "1"
hist = [h.split(":") for h in os.environ.get("ZQ_HIST", "").split()]

def score(g, c):
    p = sum(1 for a, b in zip(g, c) if a == b and a != "*")
    common = sum(min(g.count(s), c.count(s)) for s in set(g) if s != "*")
    return p, common - p

def all_codes():
    it = itertools.product(signs, repeat=n) if rep else itertools.permutations(signs, n)
    return ["".join(t) for t in it]

def consistent():
    codes = all_codes()
    for g, p, z in hist:
        want = (int(p), int(z))
        codes = [c for c in codes if score(g, c) == want]
    return codes

def classes(g, codes):
    t = {}
    for c in codes:
        k = score(g, c)
        t[k] = t.get(k, 0) + 1
    return t

def forced(t, p):
    # what a person's answer entry fills in by itself: P when every open
    # class has the same P; Z when P leaves no room or one class is open
    ps = {k[0] for k in t}
    pf = len(ps) == 1
    zs = {k[1] for k in t if k[0] == p}
    zf = p + 1 >= n or len(zs) == 1
    return pf, zf

cmd, args = sys.argv[1], sys.argv[2:]
codes = consistent()
if cmd == "count":
    print(len(codes))
elif cmd == "codes":
    print(" ".join(codes))
elif cmd == "score":
    print(*score(args[0], args[1]))
elif cmd == "entry":
    # entry GUESS HELD: the true answer to GUESS for the code HELD and which
    # of its fields the program must fill in itself
    g, s = args
    if s not in codes:
        sys.exit("held code %s no longer agrees with the answers" % s)
    t = classes(g, codes)
    p, z = score(g, s)
    pf, zf = forced(t, p)
    print(p, z, int(pf), int(zf))
elif cmd == "adverse":
    # adverse GUESS SEED: the answer that keeps the most codes (ties drawn),
    # with one code of that class to hold from now on; the code is conceded
    # only when nothing else is left
    g, seed = args
    t = classes(g, codes)
    open_ = {k: v for k, v in t.items() if k != (n, 0)} or t
    best = max(open_.values())
    rnd = random.Random(int(seed))
    p, z = rnd.choice(sorted(k for k, v in open_.items() if v == best))
    held = rnd.choice(sorted(c for c in codes if score(g, c) == (p, z)))
    pf, zf = forced(t, p)
    print(p, z, int(pf), int(zf), held)
elif cmd == "largest":
    # largest GUESS P Z: "size largest" of the class (P, Z) and the largest class
    g, p, z = args
    t = classes(g, codes)
    print(t.get((int(p), int(z)), 0), max(t.values()))
elif cmd == "refused":
    # refused GUESS [P]: digits the entry must not take for P (no class with
    # that P), or, with P, for Z
    g = args[0]
    t = classes(g, codes)
    if len(args) == 1:
        print(" ".join(str(d) for d in range(10) if not any(k[0] == d for k in t)))
    else:
        p = int(args[1])
        print(" ".join(str(d) for d in range(10) if (p, d) not in t))
elif cmd == "agree":
    # agree CODE: every answer so far is the true answer for CODE
    for i, (g, p, z) in enumerate(hist, 1):
        if score(g, args[0]) != (int(p), int(z)):
            sys.exit("trial %d: %s got %s|%s, but against %s it scores %d|%d"
                     % ((i, g, p, z, args[0]) + score(g, args[0])))
elif cmd == "next":
    # next SEED: a code that agrees with every answer so far
    rnd = random.Random(int(args[0]) * 1000 + len(hist))
    print(rnd.choice(codes) if codes else "")
else:
    sys.exit("unknown command " + cmd)
PY
}

zq_oracle() {
    ZQ_SIGNS="$ZQ_SIGNS" ZQ_LEN="$ZQ_LEN" ZQ_REP="$ZQ_REP" ZQ_HIST="$ZQ_HIST" python3 "$ZQ_ORACLE" "$@" \
        || e2e_fail "oracle: $* (history: $ZQ_HIST)"
}

# zq_record GUESS P Z: adds an answered trial to the oracle's history.
zq_record() { ZQ_HIST="${ZQ_HIST:+$ZQ_HIST }$1:$2:$3"; }

# ---- a person's answer entry ------------------------------------------------

# zq_answer ROW PCOL ZCOL P Z PF ZF: a person answers P and Z on the fields of
# ROW; PF / ZF say that the program must fill that field in itself. Waits for
# each question before typing, so that a digit never falls into the wrong
# field, and fails when a field is asked that should be filled in, or the
# other way round.
zq_answer() {
    local row="$1" pcol="$2" zcol="$3" p="$4" z="$5" pf="$6" zf="$7"
    zq_trace "row $row: answer $p|$z (P $([ "$pf" = 1 ] && echo filled || echo typed), Z $([ "$zf" = 1 ] && echo filled || echo typed))"
    if [ "$pf" = 1 ]; then
        zq_until 10 zq_field_is "$row" "$pcol" "$p" \
            || e2e_fail "trial row $row: P should be filled in as $p by itself (shows '$(zq_at "$row" "$pcol" 1)')"
    else
        zq_until 10 zq_asks "$row" "$pcol" \
            || e2e_fail "trial row $row: P is not asked at column $pcol (cursor $(zq_cursor), P '$(zq_at "$row" "$pcol" 1)')"
        e2e_type "$p"
    fi
    if [ "$zf" = 1 ]; then
        zq_until 10 zq_field_is "$row" "$zcol" "$z" \
            || e2e_fail "trial row $row: Z should be filled in as $z by itself (shows '$(zq_at "$row" "$zcol" 1)')"
    else
        zq_until 10 zq_asks_z "$row" "$pcol" "$zcol" "$p" \
            || e2e_fail "trial row $row: Z is not asked after P $p (cursor $(zq_cursor), P '$(zq_at "$row" "$pcol" 1)', Z '$(zq_at "$row" "$zcol" 1)')"
        e2e_type "$z"
    fi
    zq_until 10 zq_fields_are "$row" "$pcol" "$zcol" "$p" "$z" \
        || e2e_fail "trial row $row: the answer is not shown as $p|$z ('$(zq_at "$row" "$pcol" 1)|$(zq_at "$row" "$zcol" 1)')"
}

zq_field_is() { [ "$(zq_at "$1" "$2" 1)" = "$3" ]; }
zq_fields_are() { [ "$(zq_at "$1" "$2" 1)" = "$4" ] && [ "$(zq_at "$1" "$3" 1)" = "$5" ]; }
# the P question: an empty P field with the cursor on it
zq_asks() { [ "$(zq_at "$1" "$2" 1)" = " " ] && [ "$(zq_cursor)" = "$2 $1" ]; }
# the Z question: P shown, an empty Z field with the cursor on it
zq_asks_z() {
    [ "$(zq_at "$1" "$2" 1)" = "$4" ] && [ "$(zq_at "$1" "$3" 1)" = " " ] && [ "$(zq_cursor)" = "$3 $1" ]
}

# zq_guess_final ROW PCOL ZCOL: the computer's guess in ROW is final once the
# cursor has left the guess field for the P or Z field, or P is shown.
zq_guess_final() {
    local cur
    cur=$(zq_cursor)
    [ "$cur" = "$2 $1" ] || [ "$cur" = "$3 $1" ] || [ "$(zq_at "$1" "$2" 1)" != " " ]
}

# zq_code_in ROW COL: the code of the trial at (COL, ROW) when every position
# holds a sign (no dot, no blank), else false.
zq_code_in() {
    local c
    c=$(zq_at "$1" "$2" "$ZQ_LEN")
    case "$c" in *" "* | *.* | "") return 1 ;; esac
    printf '%s' "$c"
}

# ---- whole matches ------------------------------------------------------------

# zq_play_pc_guesses HELD LIMIT: the computer guesses, the person answers each
# guess truthfully for the code HELD, typing only what the program asks. The
# computer must find HELD within LIMIT trials. Leaves the number of trials in
# ZQ_K. Trials 1..30 only.
zq_play_pc_guesses() {
    local held="$1" limit="$2" k=0 row ncol ccol pcol zcol guess p z pf zf
    while :; do
        k=$((k + 1))
        [ "$k" -le "$limit" ] || e2e_fail "the computer did not find $held within $limit trials ($ZQ_HIST)"
        read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
        zq_until 20 zq_guess_final "$row" "$pcol" "$zcol" || e2e_fail "trial $k: no final guess"
        [ "$(zq_at "$row" "$ncol" 3)" = "$(printf '%3d' "$k")" ] || e2e_fail "trial $k: its number is not shown"
        guess=$(zq_code_in "$row" "$ccol") || e2e_fail "trial $k: no complete guess in the row"
        read -r p z pf zf <<<"$(zq_oracle entry "$guess" "$held")"
        zq_trace "trial $k: $guess"
        zq_answer "$row" "$pcol" "$zcol" "$p" "$z" "$pf" "$zf"
        zq_record "$guess" "$p" "$z"
        [ "$p" != "$ZQ_LEN" ] || break
    done
    [ "$guess" = "$held" ] || e2e_fail "the match ended on $guess, the code held is $held"
    ZQ_K=$k
}

# zq_row_ready ROW NCOL CCOL K: trial K waits for a person's guess in ROW.
zq_row_ready() {
    local dots
    dots=$(printf '%*s' "$ZQ_LEN" '' | tr ' ' .)
    [ "$(zq_at "$1" "$2" 3)" = "$(printf '%3d' "$4")" ] && [ "$(zq_at "$1" "$3" "$ZQ_LEN")" = "$dots" ] \
        && [ "$(zq_cursor)" = "$3 $1" ]
}
zq_row_answered() { [ "$(zq_at "$1" "$2" 1)" != " " ] && [ "$(zq_at "$1" "$3" 1)" != " " ]; }

# zq_play_person_guesses SEED LIMIT: a person guesses against a code of the
# computer, each guess a code that agrees with every answer read so far,
# until P equals the code length (at most LIMIT trials). ZQ_K: the trials.
zq_play_person_guesses() {
    local seed="$1" limit="$2" k=0 row ncol ccol pcol zcol guess p z
    while :; do
        k=$((k + 1))
        [ "$k" -le "$limit" ] || e2e_fail "no end after $limit trials ($ZQ_HIST)"
        read -r row ncol ccol pcol zcol <<<"$(zq_slot "$k")"
        zq_until 10 zq_row_ready "$row" "$ncol" "$ccol" "$k" || e2e_fail "trial $k does not wait for a guess"
        guess=$(zq_oracle next "$seed")
        [ -n "$guess" ] || e2e_fail "no code agrees with the answers: $ZQ_HIST"
        e2e_type "$guess"
        zq_until 10 zq_row_answered "$row" "$pcol" "$zcol" || e2e_fail "trial $k: no answer to $guess"
        p=$(zq_at "$row" "$pcol" 1)
        z=$(zq_at "$row" "$zcol" 1)
        zq_trace "trial $k: $guess $p|$z"
        zq_record "$guess" "$p" "$z"
        [ "$p" != "$ZQ_LEN" ] || break
    done
    ZQ_LAST_GUESS="$guess"
    ZQ_K=$k
}
