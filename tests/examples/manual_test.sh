#!/usr/bin/env bash
# The manual page renders with man(1) and troff finds nothing to warn about.
# Usage: manual_test.sh PAGE. Exits 77 (skipped) when man is not installed.
set -uo pipefail
page=$1
if ! command -v man >/dev/null 2>&1; then
  echo "SKIP: man is not installed"
  exit 77
fi
fail() {
  echo "FAIL: $*"
  exit 1
}

# The page holds Japanese in UTF-8; a terminal that shows it is assumed.
export LC_ALL=C.UTF-8 MANWIDTH=80
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
text=$(man --warnings -l "$page" 2>"$errors")
status=$?
warnings=$(<"$errors")
((status == 0)) || fail "man -l ended with status $status: $warnings"
[[ -z $warnings ]] || fail "man -l warns: $warnings"

# Every section a user looks for, and what each page must show whole. A
# translated page is known by its language folder: man/ja/zemuc.1.
case ${page##*/man/} in
  zemucfilter.1)
    sections=(NAME SYNOPSIS DESCRIPTION STATEMENTS "BUILDING THE GENERATED PROGRAM"
      ENCODING "WHAT SURPRISES LEARNERS" "EXIT STATUS" FILES)
    for keyword in はじめ おわり 見る 打つ くり返し 開く 閉じる 書く 読む 読みきり; do
      grep -q "^       $keyword" <<<"$text" || fail "statement $keyword is not described"
    done
    build_command='gcc -std=gnu89 -finput-charset=CP932 -fexec-charset=CP932 prog.c delkai.c' ;;
  zemuc.1 | ja/zemuc.1)
    if [[ $page == */ja/* ]]; then
      sections=(名前 書式 説明 コマンド オプション コンパイルエラー 実行時の検査
        文字コード 端末 エディタ 環境変数 ファイル 終了ステータス 例 関連項目)
      # Kept in step with the English page: as many sections and tagged
      # paragraphs (commands, options, variables, statuses).
      english=$(dirname "$page")/../zemuc.1
      for macro in SH TP; do
        [[ $(grep -c "^\.$macro" "$page") == $(grep -c "^\.$macro" "$english") ]] ||
          fail "the page has not as many .$macro as $english"
      done
    else
      sections=(NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS "COMPILER ERRORS"
        "RUN-TIME CHECKS" ENCODINGS "THE TERMINAL" ENVIRONMENT FILES "EXIT STATUS"
        EXAMPLES "SEE ALSO")
    fi
    for command in "run [--no-checks] prog.zem" "build [--no-checks] [-o name] prog.zem" \
      "check prog.zem"; do
      grep -qF "       $command" <<<"$text" || fail "command $command is not described"
    done
    build_command='$CC -std=gnu89 -g FLAGS copy.c delkai.c -o prog -lm' ;;
  *) fail "no expectations for $page" ;;
esac
for heading in "${sections[@]}"; do
  grep -qx "$heading" <<<"$text" || fail "no section $heading"
done
grep -qF -- "$build_command" <<<"$text" || fail "the build command is not shown whole"

if command -v groff >/dev/null 2>&1; then
  # -k reads the UTF-8 text; only the terminal device has Japanese glyphs.
  warnings=$(groff -k -Tutf8 -ww -z -man "$page" 2>&1)
  [[ -z $warnings ]] || fail "groff warns: $warnings"
fi
echo "ok: $page renders without warnings"
