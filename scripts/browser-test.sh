#!/usr/bin/env bash
# Shows the sample site's .res to a real browser: packs examples/site with
# pagefold-cli, serves the .res with --serve --port 0, has headless Chromium
# load /HTML/INDEX and every page it links, and checks from the server's log
# that every request was answered 200 and that every picture and style sheet
# of those pages (and the pictures of the style sheets) was requested.
# With a second argument, also saves a screenshot of the start page there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
screenshot=${2:-}
cli=$build/src/cli/pagefold-cli
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$cli" --start index.htm examples/site "$work/site.res" 2>/dev/null
"$cli" --serve "$work/site.res" --port 0 >"$work/address" 2>"$work/requests" &
server=$!
for _ in $(seq 50); do grep -q 127.0.0.1 "$work/address" && break; sleep 0.1; done
port=$(grep -oE '127\.0\.0\.1:[0-9]+' "$work/address" | cut -d: -f2)
[ -n "$port" ] || { echo "browser test: the server gave no address"; cat "$work/requests"; exit 1; }

profiles=0
chromium() {
  profiles=$((profiles + 1))
  chromium-headless-shell --no-sandbox --disable-background-networking --disable-component-update \
    --disable-sync --no-first-run --user-data-dir="$work/profile$profiles" --disable-gpu "$@" 2>/dev/null
}

# A resource's bytes straight from the server, without the browser.
fetch() {
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1:%s\r\n\r\n' "$1" "$port" >&3
  sed '1,/^\r$/d' <&3
  exec 3<&-
}

# The /TYPE/NAME paths behind the ../TYPE/NAME links of a text, by pattern.
paths() { grep -oiE "$1" | grep -oE '\.\./[^"'"'"'#) >]+' | sed 's|^\.\.||' | sort -u; }

# What the pages link, read from the server without the browser.
pages=$(printf '/HTML/INDEX\n%s\n' "$(fetch /HTML/INDEX | paths '<a [^>]*href=["'"'"']?\.\./[^"'"'"' >]*')")
wanted=
for page in $pages; do
  body=$(fetch "$page")
  wanted+=$(printf '%s' "$body" | paths '(src|background)=["'"'"']?\.\./[^"'"'"' >]*')$'\n'
  for sheet in $(printf '%s' "$body" | paths '<link [^>]*href=["'"'"']?\.\./[^"'"'"' >]*'); do
    wanted+=$sheet$'\n'$(fetch "$sheet" | paths 'url\(["'"'"']?\.\./[^)]*')$'\n'
  done
done
wanted=$(printf '%s\n' "$wanted" | sort -u | grep .)
sleep 0.3  # the log line of the last fetch
fetched=$(wc -l <"$work/requests")

for page in $pages; do
  chromium --dump-dom "http://127.0.0.1:$port$page" >/dev/null
done
[ -n "$screenshot" ] && chromium --window-size=800,150 --screenshot="$PWD/$screenshot" \
  "http://127.0.0.1:$port/" >/dev/null

kill "$server"
wait "$server" || true
server=
status=0
tail -n +$((fetched + 1)) "$work/requests" >"$work/browser"
if grep -v ' 200$' "$work/browser" | grep -v '^GET / 302$'; then
  echo "browser test: the requests above were not answered 200"
  status=1
fi
for path in $pages $wanted; do
  grep -qx "GET $path 200" "$work/browser" || { echo "browser test: $path was never requested"; status=1; }
done
echo "browser test: $(wc -l <"$work/browser") requests of Chromium for $(echo $pages | wc -w) pages" \
  "with $(echo $wanted | wc -w) pictures and style sheets"
exit $status
