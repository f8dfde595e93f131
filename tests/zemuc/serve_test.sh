#!/usr/bin/env bash
# zemuc serve as a class meets it, over loopback with curl: the right
# file, type and coding, a second visit answered 304, nothing outside the
# site and no method but GET and HEAD, a clear refusal of a bad folder or
# a port in use, and Ctrl-C that stops it with nothing left running. Every
# wait is bounded.
# Usage: serve_test.sh ZEMUC
set -uo pipefail
zemuc=$(realpath "$1")
command -v curl >/dev/null || { echo "SKIP: curl is not installed"; exit 77; }
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
unset LANGUAGE LC_MESSAGES
# Jobs of their own, which take SIGINT as from a terminal (a script's
# background jobs otherwise ignore it).
set -m
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

site=$work/site
mkdir -p "$site/sub"
echo '<!doctype html><title>t</title>' >"$site/index.html"
printf 'plain wasm bytes' >"$site/a.wasm"
printf 'BROTLI BYTES' >"$site/a.wasm.br"
printf 'GZIP BYTES' >"$site/a.wasm.gz"
echo 'self.x = 1;' >"$site/sw.js"
echo 'secret' >"$work/secret"
ln -s "$work/secret" "$site/out"
ln -s a.wasm "$site/in.wasm"

# Starts zemuc serve on a free loopback port; sets pid and url.
start() {  # SITE [LOG]
  local log=${2:-$work/serve.out}
  "$zemuc" serve "$1" --bind 127.0.0.1 --port 0 >"$log" 2>"$work/serve.err" &
  pid=$!
  pids+=("$pid")
  url=
  for _ in $(seq 100); do
    url=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$log" | head -1)
    [[ -n $url ]] && return 0
    sleep 0.1
  done
  fail "zemuc serve told no address: $(cat "$log" "$work/serve.err")"
  return 1
}
start "$site" || { echo "$failures failure(s)"; exit 1; }

# What each request gets: the status, a header it must carry, and the
# body's bytes where they matter.
#  name | curl options | path | status | header | body
cases=(
  "index|-H Accept-Encoding:br|/|200|Content-Type: text/html|<!doctype html><title>t</title>"
  "index revalidated|-H Accept-Encoding:br|/index.html|200|Cache-Control: no-cache|"
  "sw revalidated||/sw.js|200|Cache-Control: no-cache|self.x = 1;"
  "wasm kept||/a.wasm|200|Cache-Control: max-age=|plain wasm bytes"
  "wasm brotli|-H Accept-Encoding:gzip,deflate,br|/a.wasm|200|Content-Encoding: br|BROTLI BYTES"
  "wasm brotli type|-H Accept-Encoding:br|/a.wasm|200|Content-Type: application/wasm|BROTLI BYTES"
  "wasm gzip|-H Accept-Encoding:gzip|/a.wasm|200|Content-Encoding: gzip|GZIP BYTES"
  "brotli refused|-H Accept-Encoding:br;q=0,gzip|/a.wasm|200|Vary: Accept-Encoding|GZIP BYTES"
  "wasm plain|-H Accept-Encoding:identity|/a.wasm|200|Content-Length: 16|plain wasm bytes"
  "link inside||/in.wasm|200|Content-Type: application/wasm|plain wasm bytes"
  "head|-I|/a.wasm|200|Content-Length: 16|"
  "dot dot|--path-as-is|/../secret|404||"
  "dot dot inside|--path-as-is|/sub/../../secret|404||"
  "encoded dot dot|--path-as-is|/%2e%2e/secret|404||"
  "encoded slash|--path-as-is|/sub%2f..%2f..%2fsecret|404||"
  "link out||/out|404||"
  "folder||/sub/|404||"
  "missing||/nothing.js|404||"
  "post|-X POST -d x=1|/index.html|405|Allow: GET, HEAD|"
  "put|-X PUT -d x=1|/a.wasm|405||"
  "delete|-X DELETE|/a.wasm|405||"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name options path status header body <<<"$row"
  # shellcheck disable=SC2086
  got=$(curl -s --max-time 10 -D "$work/headers" -o "$work/body" -w '%{http_code}' $options "$url$path")
  [[ $got == "$status" ]] || fail "$name: status $got, not $status"
  if [[ -n $header ]] && ! tr -d '\r' <"$work/headers" | grep -qiF "$header"; then
    fail "$name: no '$header' in: $(cat "$work/headers")"
  fi
  [[ -z $body || $(cat "$work/body") == "$body" ]] || fail "$name: body $(cat "$work/body")"
done

# A second visit sends the tag back and gets nothing but a 304, for each
# coding its own.
for coding in br gzip identity; do
  tag=$(curl -s --max-time 10 -D - -o /dev/null -H "Accept-Encoding: $coding" "$url/a.wasm" |
    tr -d '\r' | sed -n 's/^[Ee][Tt][Aa][Gg]: //p')
  [[ -n $tag ]] || fail "$coding: no ETag"
  rm -f "$work/body"
  got=$(curl -s --max-time 10 -o "$work/body" -w '%{http_code}' -H "Accept-Encoding: $coding" \
    -H "If-None-Match: $tag" "$url/a.wasm")
  [[ $got == 304 && ! -s $work/body ]] || fail "$coding: revalidation got $got"
done
other=$(curl -s --max-time 10 -o /dev/null -w '%{http_code}' -H 'Accept-Encoding: gzip' \
  -H "If-None-Match: $tag" "$url/a.wasm")
[[ $other == 200 ]] || fail "the plain copy's tag revalidated the gzip copy: $other"

# One line for the learner, however many requests.
lines=$(grep -c 'learner connected: 127.0.0.1' "$work/serve.out")
((lines == 1)) || fail "learner lines: $lines in: $(cat "$work/serve.out")"

# A port in use: another server on it is refused, with the port named.
port=${url##*:}
status=0
timeout 10 "$zemuc" serve "$site" --bind 127.0.0.1 --port "$port" >/dev/null 2>"$work/err" || status=$?
((status == 1)) || fail "port in use: status $status"
grep -q "port $port is already in use" "$work/err" || fail "port in use said: $(cat "$work/err")"
status=0
LC_ALL=ja_JP.UTF-8 timeout 10 "$zemuc" serve "$site" --bind 127.0.0.1 --port "$port" >/dev/null 2>"$work/err" || status=$?
grep -q "ポート $port はもう使われています" "$work/err" || fail "port in use, in Japanese: $(cat "$work/err")"

# Ctrl-C: it stops, ends as an interrupted program ends, and leaves
# nothing listening.
kill -INT "$pid"
status=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" || status=$?
((status == 130)) || fail "Ctrl-C: status $status"
grep -q '^stopped' "$work/serve.out" || fail "Ctrl-C said: $(cat "$work/serve.out")"
curl -s --max-time 5 -o /dev/null "$url/" && fail "something still answers after Ctrl-C"
start "$site" && kill -TERM "$pid"
status=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" || status=$?
((status == 143)) || fail "SIGTERM: status $status"

# A folder that is not a site: status 2 and the folder named, in either
# language.
#  language | folder | what is said
bad=(
  "C.UTF-8|$work/nowhere|cannot open the site's folder $work/nowhere"
  "C.UTF-8|$site/index.html|Not a directory"
  "C.UTF-8|$site/sub|$site/sub is not the playground's site"
  "ja_JP.UTF-8|$work/nowhere|サイトのフォルダ $work/nowhere を開けません"
  "ja_JP.UTF-8|$site/sub|index.html がありません"
)
for row in "${bad[@]}"; do
  IFS='|' read -r language folder said <<<"$row"
  status=0
  LC_ALL=$language timeout 10 "$zemuc" serve "$folder" --port 0 >/dev/null 2>"$work/err" || status=$?
  ((status == 2)) || fail "$folder ($language): status $status"
  grep -qF "$said" "$work/err" || fail "$folder ($language) said: $(cat "$work/err")"
done

((failures == 0)) && echo "ok: zemuc serve"
exit $((failures > 0))
