#!/usr/bin/env bash
# zemucweb judge and results: a case run in the page judged as zemuc test
# judges it, from case.json (the case as zemuc exercise pack writes it)
# and run.json (how the page's run went), and the cases' results told.
# Usage: judge_test.sh ZEMUCWEB... (the command that runs zemucweb: the
# native program, or node run_wasi.mjs zemucweb.wasm)
set -euo pipefail
zemucweb=()
for word in "$@"; do  # files by their full paths: the commands run in $work
  if [[ -e $word ]]; then zemucweb+=("$(realpath "$word")"); else zemucweb+=("$word"); fi
done
command -v node >/dev/null 2>&1 || { echo "skipped: node missing"; exit 77; }
command -v sha256sum >/dev/null 2>&1 || { echo "skipped: sha256sum missing"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
# web COMMAND LANGUAGE: zemucweb's answer in $work/answer.
web() { (cd "$work" && "${zemucweb[@]}" "$1" --lang="$2" >answer); }
# holds EXPRESSION: true of the answer j.
holds() {
  node -e 'const j = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
    process.exit(eval(process.argv[2]) ? 0 : 1)' "$work/answer" "$1"
}

sample='"name":"s","hidden":false,"number":1,"input":"3\n","files":{},"time_limit":0.5,"compare":"lines","fullwidth":false,"points":2'
# NAME | LANGUAGE | CASE (after the sample's own keys) | RUN | what holds
# of the answer j.
rows=(
  "passes|en|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"ended\",\"status\":0,\"told\":\"\",\"output\":\"6  \",\"files\":{}|j.result.result == 'passed' && j.result.earned == 2 && j.line == '○ 1 (sample)\n' && j.explanation == ''"
  "wrong_output|en|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"ended\",\"status\":0,\"told\":\"\",\"output\":\"7\n\",\"files\":{}|j.result.result == 'wrong_output' && j.result.difference.line == 1 && j.result.difference.got == '7' && j.result.input == '3\n' && j.explanation.includes('line 1 differs') && j.line.includes('wrong output')"
  "wrong_file|en|\"output\":\"\",\"expect\":{\"out.txt\":\"a\nb\n\"}|\"ending\":\"ended\",\"status\":0,\"output\":\"\",\"files\":{\"out.txt\":\"a\nc\n\"}|j.result.result == 'wrong_file' && j.result.file == 'out.txt' && j.result.difference.line == 2 && j.explanation.includes('file out.txt differs')"
  "file_missing|ja|\"output\":\"\",\"expect\":{\"out.txt\":\"a\n\"}|\"ending\":\"ended\",\"status\":0,\"output\":\"\",\"files\":{}|j.result.result == 'wrong_file' && !('difference' in j.result) && j.explanation.includes('ファイル out.txt が書かれていません')"
  "too_slow|en|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"too_slow\",\"output\":\"6\n\"|j.result.result == 'too_slow' && j.line == '× 1 (sample)  did not end within 0.5 s\n'"
  "stopped|ja|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"ended\",\"status\":70,\"told\":\"prog.zem:3:7: error: 0 で割り算をしました\n\",\"output\":\"\"|j.result.result == 'stopped_by_check' && j.result.told == 'prog.zem:3:7: error: 0 で割り算をしました\n' && j.line.includes('検査で止まりました') && j.explanation.includes('  prog.zem:3:7:')"
  "fault|en|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"ended\",\"status\":139,\"told\":\"segmentation fault\n\",\"output\":\"6\n\"|j.result.result == 'fault' && j.result.told == 'segmentation fault\n'"
  "ended_with_status|en|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"ended\",\"status\":3,\"told\":\"ended with status 3\n\",\"output\":\"6\n\"|j.result.result == 'passed' && !('told' in j.result)"
  "not_run|en|\"output\":\"6\n\",\"expect\":{}|\"ending\":\"not_run\",\"told\":\"no memory\"|j.result.result == 'not_run' && j.result.told == 'no memory'"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name lang case run check <<<"$row"
  printf '{%s,%s}' "$sample" "$case" >"$work/case.json"
  printf '{%s}' "$run" >"$work/run.json"
  web judge "$lang" || { fail "$name: judge exited $?"; continue; }
  holds "$check" || fail "$name: $(cat "$work/answer")"
done

# A hidden case: judge gives the texts as its comparison normalises them,
# the page hashes them and asks again with the hashes.
hash() { printf '%s' "$1" | sha256sum | cut -d' ' -f1; }
printf '{"name":"h","hidden":true,"number":2,"input":"","files":{},"time_limit":2,"compare":"tokens","fullwidth":false,"points":1,"output_sha256":"%s","expect_sha256":{"out.txt":"%s"}}' \
  "$(hash $'1\n2\n')" "$(hash $'x\n')" >"$work/case.json"
# WRITTEN OUTPUT | FILE | the result
hidden=(
  "1  2|x|passed"
  "1 3|x|wrong_output"
  "1 2|y|wrong_file"
)
for row in "${hidden[@]}"; do
  IFS='|' read -r output file result <<<"$row"
  printf '{"ending":"ended","status":0,"output":"%s","files":{"out.txt":"%s","other.txt":"z"}}' \
    "$output" "$file" >"$work/run.json"
  web judge en || { fail "hidden $output: judge exited $?"; continue; }
  holds "!('result' in j) && !('other.txt' in j.normalised.files)" ||
    fail "hidden $output: not normalised: $(cat "$work/answer")"
  node -e 'const hash = (text) => require("crypto").createHash("sha256")
      .update(text, "utf8").digest("hex");
    const n = JSON.parse(require("fs").readFileSync(process.argv[1])).normalised;
    console.log(JSON.stringify({ending: "ended", status: 0, got_sha256: {
      output: hash(n.output), files: {"out.txt": hash(n.files["out.txt"])}}}))' \
    "$work/answer" >"$work/run.json"
  web judge en || { fail "hidden $output: judge exited $?"; continue; }
  holds "j.result.result == '$result' && !('difference' in j.result) && j.explanation == ''" ||
    fail "hidden $output: $(cat "$work/answer")"
done

# results: zemuc test's JSON and words of the cases judged.
one='{"name":"s","number":1,"hidden":false,"result":"wrong_output","points":2,"earned":0,"input":"3\n","difference":{"line":1,"expected":"6","got":"7","kind":"other"}}'
two='{"name":"h","number":2,"hidden":true,"result":"too_slow","points":1,"earned":0,"time_limit":1.5}'
# RESULTS.JSON | LANGUAGE | what holds of the answer j
summaries=(
  "{\"built\":true,\"build_error\":\"\",\"results\":[$one,$two]}|en|j.json.passed == 0 && j.json.points == 3 && j.json.cases[0].difference.got == '7' && j.text.startsWith('× 1 (sample)  wrong output\n  typed:\n    3\n  line 1 differs:\n') && j.text.includes('× hidden 2  did not end within 1.5 s\n') && j.text.endsWith('0 of 2 cases passed (0 / 3 points)\n')"
  "{\"built\":false,\"build_error\":\"prog.zem:2:5: error: x\n\",\"results\":[]}|ja|j.json.built === false && j.json.build_error == 'prog.zem:2:5: error: x\n' && j.text.includes('プログラムが組み立てられないので')"
)
for row in "${summaries[@]}"; do
  IFS='|' read -r json lang check <<<"$row"
  printf '%s' "$json" >"$work/results.json"
  web results "$lang" || { fail "results: exited $?"; continue; }
  holds "$check" || fail "results: $(cat "$work/answer")"
done
# Input that is not what a command reads: status 2 and no answer, or an
# answer; never a crash.
echo '[]' >"$work/case.json"
if web judge en; then fail "judge took a case.json that is no case"; fi
# COMMAND | FILE | its text
hostile=(
  'results|results.json|{"built":"yes","results":[{"name":"s","result":"fault","hidden":"no","number":"1","points":null,"difference":{"line":"x","got":3}}]}'
  'results|results.json|{"built":true,"results":[{"name":"s","result":"gone"}]}'
  'judge|case.json|{"name":"s","hidden":1,"time_limit":"2","compare":7,"output":[],"expect":"x"}'
)
echo '{"ending":5,"status":"70","output":{},"files":[]}' >"$work/run.json"
for row in "${hostile[@]}"; do
  IFS='|' read -r command file text <<<"$row"
  printf '%s' "$text" >"$work/$file"
  answered=0
  web "$command" en 2>/dev/null || answered=$?
  ((answered == 0 || answered == 2)) || fail "$text: status $answered"
done
exit "$status"
