#!/usr/bin/env bash
# bivox-cli.exe under Wine, as a Windows user or script meets it: the golden cases and the
# command line, with the expectations of the Linux build's tests, and what only Windows has
# (wide file names, backslash paths and drive letters, the console).
#   cli_under_wine.sh BIVOX_CLI_EXE BIVOX_SCOREGEN_EXE GROUP [CASE_FILE]
# GROUP: golden CASE_FILE | usage | summaries | json | file_errors | utf8_scores | session |
#        fatal_stop | japanese_names | windows_paths | console | deep_nesting
# WINEPREFIX names the Wine prefix to use. Each run works in a temporary directory of its own
# and prints one line per check that failed; the exit status is 1 when any did.
# shellcheck disable=SC2317  # the tests are called by name, "test_$group"
set -uo pipefail

exe=$1
scoregen=$2
group=$3
case_file=${4:-}

: "${WINEPREFIX:?WINEPREFIX must name a Wine prefix}"
export WINEDEBUG=-all
# Wine reads the Unix command line in the locale's character set.
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
fail() {
  echo "FAIL [$group]: $*" >&2
  failures=$((failures + 1))
}

# bivox-cli.exe with the arguments: standard output and error (no console) in out.txt and
# err.txt, the exit status in $status. bivox-cli says something on every path that fails, so
# a failure with nothing said is Wine not starting the program (seen once in many runs, on a
# fresh prefix): that run is made once more, and said so.
cli() {
  status=0
  wine "$exe" "$@" > out.txt 2> err.txt < /dev/null || status=$?
  if [ "$status" -ne 0 ] && [ ! -s out.txt ] && [ ! -s err.txt ]; then
    echo "note [$group]: Wine gave status $status without starting bivox-cli.exe; once more" >&2
    status=0
    wine "$exe" "$@" > out.txt 2> err.txt < /dev/null || status=$?
  fi
}

expect_status() {
  [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1 ($(head -c 300 err.txt))"
}

# The file holds exactly the text.
expect_text() {
  local file=$1 text=$2 what=$3
  printf '%s' "$text" > expected.txt
  if ! cmp -s expected.txt "$file"; then
    fail "$what: $file differs from what is expected"
    diff expected.txt "$file" | head -20 >&2
  fi
}

expect_file() { [ -f "$1" ] || fail "$2: $1 was not written"; }
expect_no_file() { [ ! -e "$1" ] || fail "$2: $1 exists"; }

# UTF-8 text as cp932 bytes.
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# Seven lines with CR LF ends; a macro reference on line 5, double-byte characters and then
# text the grammar does not know ("???") on line 7.
score_stopping_on_line_7() {
  sjis $'%1\r\n@AB V100 P64\r\n\r\n#A0 o4\r\nd4 r8 m8 f4 | ${riff} s2 |\r\n#B0 o3\r\n'$'l4 c4 日本 d4 ??? m4 |\r\nf2 s2 |\r\n'
}
whole_score=$'%1\r\n#A0 o4\r\nd4 r4 m4 |\r\n'
stopped=$'[song.zrb][4e][61]の構文テスト、処理を打ち切りしました。\n'

# A section of a golden case file, each line ending in a line feed.
case_section() { awk -v want="$1" '/^=== /{at = substr($0, 5); next} at == want' "$case_file"; }
case_header() { awk '/^=== /{exit} 1' "$case_file" | sed -n "s/^$1: //p"; }

test_golden() {
  local job stop end first
  job=$(case_header job)
  stop=$(case_header stop)
  case_section input | iconv -f UTF-8 -t CP932 > score.zrb
  case_section output | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > expected-output.zrb
  cli "$job" --plain score.zrb
  end=$(stat -c %s score.zrb)
  expect_status "$([ -z "$stop" ] && echo 0 || echo 4)" "$job"
  if ! cmp -s expected-output.zrb _score.zrb; then
    fail "output of $(basename "$case_file") differs"
    diff <(iconv -f CP932 -t UTF-8 expected-output.zrb) <(iconv -f CP932 -t UTF-8 _score.zrb) |
      head -20 >&2
  fi
  # The dialog's lines: summary, diagnostics, summary; a stop shows both positions.
  first=$(head -n 1 out.txt)
  { echo "$first"; case_section diagnostics; echo "$first"; } > expected-out.txt
  cmp -s expected-out.txt out.txt || fail "diagnostics: $(diff expected-out.txt out.txt)"
  if [ -n "$stop" ]; then
    [[ "$first" == *"$(printf '[%x][%x]' "$stop" "$end")"* ]] || fail "stop $stop: $first"
  fi
}

test_usage() {
  printf '%s' "$whole_score" > a.zrb
  cp a.zrb b.zrb
  local args
  for args in "" "syntax" "transpose a.zrb" "syntax -o x.zrb a.zrb b.zrb" \
    "syntax --report a.zrb" "stereo --plain --json a.zrb" "stereo --locations --plain a.zrb" \
    "syntax --input-encoding latin1 a.zrb" "syntax --no-such-option a.zrb"; do
    # shellcheck disable=SC2086  # the arguments are words
    cli $args
    expect_status 2 "'$args'"
  done
  expect_no_file _a.zrb "usage errors"
  expect_no_file x.zrb "usage errors"
}

test_summaries() {
  score_stopping_on_line_7 > song.zrb
  printf '%s' "$whole_score" > whole.zrb
  local complete=$'[whole.zrb]の構文テストを完了しました。\n'
  cli syntax song.zrb
  expect_status 4 "stopped"
  expect_text out.txt "$stopped"$'展開マクロがありました、展開して下さい\n'"$stopped" "stopped"
  expect_text err.txt "" "stopped"
  cli syntax whole.zrb
  expect_status 0 "complete"
  expect_text out.txt "$complete$complete" "complete"
  cli syntax --locations whole.zrb
  expect_text out.txt "$complete" "located"
  cli syntax --locations song.zrb
  expect_status 4 "located"
  # Column 13 of line 7: the two double-byte characters count one column and two cells each.
  expect_text out.txt \
    $'song.zrb:5:22: warning: 展開マクロがありました、展開して下さい\n'$'    5 | d4 r8 m8 f4 | ${riff} s2 |\n'$'      |                      ^\n'$'song.zrb:7:13: error: not understood from here on (byte 0x4e of 0x61)\n'$'    7 | l4 c4 日本 d4 ??? m4 |\n'$'      |               ^\n'"$stopped" \
    "located"
  expect_file _song.zrb "summaries"
}

test_json() {
  score_stopping_on_line_7 > song.zrb
  cli syntax --json song.zrb
  expect_status 4 "json"
  expect_text out.txt '{"complete":false,"diagnostics":["展開マクロがありました、展開して下さい"],"diagnostics_at":[{"column":22,"line":5,"position":49}],"end":97,"fatal":null,"input":"song.zrb","job":"syntax","output":"_song.zrb","stop":78,"stop_at":{"column":13,"line":7,"position":78},"summary":"[song.zrb][4e][61]の構文テスト、処理を打ち切りしました。"}'$'\n' \
    "json"
  # A file that cannot be read still gives its object, and the run goes on.
  printf '%s' "$whole_score" > whole.zrb
  printf '%%1\r\n\xFF d4\r\n' > v.zrb
  cli syntax --json --input-encoding utf-8 missing.zrb v.zrb whole.zrb
  expect_status 3 "json file errors"
  expect_text out.txt '{"error":"missing.zrb: cannot be opened for reading","input":"missing.zrb","job":"syntax","output":"_missing.zrb"}
{"error":"v.zrb: the byte 0xFF is not UTF-8","error_at":{"column":1,"line":2},"input":"v.zrb","job":"syntax","output":"_v.zrb"}
{"complete":true,"diagnostics":[],"diagnostics_at":[],"end":24,"fatal":null,"input":"whole.zrb","job":"syntax","output":"_whole.zrb","stop":24,"stop_at":{"column":1,"line":4,"position":24},"summary":"[whole.zrb]の構文テストを完了しました。"}
' "json file errors"
  expect_no_file _v.zrb "json file errors"
}

test_file_errors() {
  printf '%s' "$whole_score" > song.zrb
  mkdir folder.zrb
  local args written
  # Each case: the arguments, and a file that must not exist afterwards. The output is never
  # the input, however its name is spelled: ".\", another case, a UTF-8 run.
  while IFS='|' read -r args written; do
    # shellcheck disable=SC2086  # the arguments are words
    cli $args
    expect_status 3 "$args"
    expect_text out.txt "" "$args"
    grep -q '^bivox-cli: ' err.txt || fail "$args: no message ($(cat err.txt))"
    expect_no_file "$written" "$args"
    expect_text song.zrb "$whole_score" "$args"
  done <<'EOF'
expand -o ./song.zrb song.zrb|_song.zrb
expand -o .\song.zrb song.zrb|_song.zrb
stereo -o SONG.ZRB song.zrb|_song.zrb
stereo --input-encoding utf-8 -o song.zrb song.zrb|_song.zrb
syntax missing.zrb|_missing.zrb
syntax folder.zrb|_folder.zrb
syntax -o folder.zrb song.zrb|_song.zrb
syntax --input-encoding utf-8 -o no\out.zrb song.zrb|no
EOF
  [ -z "$(ls -A folder.zrb)" ] || fail "something was written into folder.zrb"
  # A UTF-8 character without a cp932 form is refused with its place, not "best fitted".
  printf '%%1\n#A0\nd4 日本 é m4\n' > u.zrb
  cli stereo --input-encoding utf-8 u.zrb
  expect_status 3 "é"
  expect_text err.txt $'bivox-cli: u.zrb:3:7: the character U+00E9 has no Shift-JIS (cp932) form; nothing was written\n    3 | d4 日本 é m4\n      |         ^\n' "é"
  expect_no_file _u.zrb "é"
}

# A UTF-8 score is converted for the job and its output written in UTF-8, with the bytes the
# Linux build gives: the wave dash, minus sign and em dash of JIS-based text among them.
test_utf8_scores() {
  local text=$'%1\r\n#A0 o4\r\nd4 r8 ${riff} |\r\nl4 c4 日本〜−— d4 ??? m4 |\r\n'
  printf '\xEF\xBB\xBF%s' "$text" > u.zrb
  sjis "$text" > s.zrb
  cli syntax --locations --input-encoding utf-8 u.zrb
  expect_status 4 "UTF-8 score"
  sed 's/u\.zrb/s.zrb/g' out.txt > utf8-run.txt
  cli syntax --locations s.zrb
  expect_text utf8-run.txt "$(cat out.txt)"$'\n' "same places and positions"
  iconv -f CP932 -t UTF-8 _s.zrb > expected-u.zrb
  cmp -s expected-u.zrb _u.zrb || fail "_u.zrb is not _s.zrb in UTF-8"
}

test_session() {
  printf '%s' "$whole_score" > a.zrb
  score_stopping_on_line_7 > b.zrb
  cp a.zrb c.zrb
  cli syntax --plain a.zrb b.zrb missing.zrb c.zrb
  expect_status 3 "a file error outranks a stopped parse"
  expect_text err.txt $'bivox-cli: missing.zrb: cannot be opened for reading\nbivox-cli: 4 files: 2 complete, 1 stopped early, 1 failed\n' "count"
  grep -o '^\[[abc]\.zrb\]' out.txt | uniq | tr -d '\n' > order.txt
  expect_text order.txt "[a.zrb][b.zrb][c.zrb]" "order"
  cli syntax a.zrb b.zrb c.zrb
  expect_status 4 "stopped early"
  cli syntax a.zrb c.zrb
  expect_status 0 "complete"
  # The second file recalls the nameless body, the tuplet and the chord the first left; each
  # call is a session of its own.
  printf '%s' '{dr} (drm)8 #B1 [dms]4' > first.zrb
  printf '%s' '{}2 ()8 #B1 ,4' > second.zrb
  cli expand first.zrb second.zrb
  expect_status 0 "session"
  expect_text _second.zrb $'{dr}2(drm)8\r\n#B1 [dms]4\r\n' "session"
  cli expand second.zrb
  expect_text _second.zrb $'{}2()8\r\n#B1 4\r\n' "new session"
}

test_fatal_stop() {
  printf '%%1\r\n#A0\r\nd4\r\n$a{c4}99999999\r\nd4\r\n' > huge.zrb
  printf '%s' "$whole_score" > next.zrb
  cli expand --locations huge.zrb next.zrb
  expect_status 1 "fatal stop"
  expect_text out.txt $'huge.zrb:4:15: error: fatal stop: LoopBun:buffer_max_over!!!\n    4 | $a{c4}99999999\n      |               ^\n' "fatal stop"
  expect_text err.txt $'bivox-cli: _huge.zrb: stopped: LoopBun:buffer_max_over!!!\nbivox-cli: 2 files: 0 complete, 0 stopped early, 1 failed, 1 not run after the fatal stop\n' "fatal stop"
  expect_text _huge.zrb $'LoopBun:buffer_max_over!!!\r\n' "fatal stop"
  expect_no_file _next.zrb "fatal stop"
}

# Japanese file and folder names, read and written as wide characters, also where a wildcard
# names them. The folder 表 and the file ソ have 0x5C ("\") as the second byte of their cp932
# forms.
test_japanese_names() {
  printf '%s' "$whole_score" > song.zrb
  cp song.zrb 曲.zrb
  mkdir 表
  cp song.zrb 表/ソ.zrb
  # Wildcards are the program's to expand on Windows; matches in name order.
  cli syntax --plain '*.zrb' '表\*.ZRB'
  expect_status 0 "wildcards"
  expect_text err.txt $'bivox-cli: 3 files: 3 complete, 0 stopped early, 0 failed\n' "wildcards"
  grep -o '^\[[^]]*\]' out.txt | uniq | tr -d '\n' > names.txt
  expect_text names.txt '[song.zrb][曲.zrb][表\ソ.zrb]' "wildcards"
  cli stereo 曲.zrb
  expect_status 0 "曲.zrb"
  expect_text out.txt $'[_曲.zrb]のステレオ化を完了しました。\n[_曲.zrb]のステレオ化を完了しました。\n' "曲.zrb"
  expect_file _曲.zrb "曲.zrb"
  local shown
  shown=$(head -n 1 out.txt)
  cli stereo song.zrb
  cmp -s _song.zrb _曲.zrb || fail "_曲.zrb differs from _song.zrb"
  cli syntax --json '表\ソ.zrb'
  expect_status 0 "表\\ソ.zrb"
  grep -qF '"input":"表\\ソ.zrb","job":"syntax","output":"表\\_ソ.zrb"' out.txt ||
    fail "表\\ソ.zrb: $(cat out.txt)"
  cli expand '表\ソ.zrb'
  expect_file 表/_ソ.zrb "表\\ソ.zrb"
  [ "$failures" -gt 0 ] || echo "stereo 曲.zrb: $shown ($(ls _曲.zrb) written)"
}

# Backslash paths and drive letters: an absolute path on the drive Z: (Wine's "/"), a
# relative one, and a drive-relative one on a drive letter mapped to the working directory.
test_windows_paths() {
  printf '%s' "$whole_score" > song.zrb
  mkdir sub
  cp song.zrb sub/song.zrb
  local absolute="Z:${PWD//\//\\}\\song.zrb"
  cli stereo "$absolute"
  expect_status 0 "$absolute"
  expect_text out.txt "[${absolute%song.zrb}_song.zrb]のステレオ化を完了しました。"$'\n'"[${absolute%song.zrb}_song.zrb]のステレオ化を完了しました。"$'\n' "$absolute"
  expect_file _song.zrb "$absolute"
  cli syntax --json 'sub\song.zrb'
  grep -qF '"output":"sub\\_song.zrb"' out.txt || fail "sub\\song.zrb: $(cat out.txt)"
  rm -f _song.zrb
  ln -sfn "$PWD" "$WINEPREFIX/dosdevices/y:"
  cli stereo Y:song.zrb
  rm -f "$WINEPREFIX/dosdevices/y:"
  expect_status 0 "Y:song.zrb"
  expect_text out.txt $'[Y:_song.zrb]のステレオ化を完了しました。\n[Y:_song.zrb]のステレオ化を完了しました。\n' \
    "Y:song.zrb"
  expect_file _song.zrb "Y:song.zrb"
}

# On a console (a pseudo-terminal that Wine makes the program's console) the messages are
# written as wide characters: Japanese shows in the terminal's own character set.
test_console() {
  printf '%s' "$whole_score" > 曲.zrb
  script -qc "wine '$exe' stereo 曲.zrb" /dev/null < /dev/null > console.txt
  # What the terminal shows: the console writes blanks as cursor moves to the right, and
  # hides and shows the cursor around its writes.
  perl -pe 's/\e\[(\d*)C/" " x ($1 || 1)/ge; s/\e\[[0-9;?]*[a-zA-Z]//g; s/\r//g' console.txt \
    > shown.txt
  expect_text shown.txt $'[_曲.zrb]のステレオ化を完了しました。\n' "console"
}

# A million levels of nesting end in the same fatal stop as on Linux: the parser's thread
# has the stack for the deepest nesting allowed, and no more is ever used.
test_deep_nesting() {
  wine "$scoregen" --nested 1000000 > deep.zrb
  local job
  for job in syntax expand stereo; do
    cli "$job" deep.zrb
    expect_status 1 "$job"
    expect_text out.txt "" "$job"
    expect_text err.txt $'bivox-cli: _deep.zrb: stopped: NestDepth[20000]Over!!!\n' "$job"
    expect_text _deep.zrb $'NestDepth[20000]Over!!!\r\n' "$job"
  done
}

"test_$group"
exit $((failures > 0))
