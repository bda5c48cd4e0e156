#!/bin/bash
# The browser build played in Debian's Chromium (browser_test.js), on a copy of
# the site that also holds a key script, a malformed one, one for a game
# controller, and the frame the desktop's morvel-script draws at the end of
# the first one's replay.
#   browser_test.sh SITE_DIR MORVEL_SCRIPT
# Exits 77 (skipped) where emscripten, Chromium or the test's npm package is
# missing; tools/install-deps installs them.
set -u
site=$1
morvel_script=$2
here=$(cd "$(dirname "$0")" && pwd)
frames=3000

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

command -v emcc > /dev/null || skip "emscripten is not installed (tools/install-deps installs it)"
command -v chromium > /dev/null || skip "chromium is not installed (tools/install-deps installs it)"
[ -d "$here/node_modules/playwright-core" ] ||
    skip "playwright-core is not installed in tests/web (tools/install-deps installs it)"
[ -f "$site/index.html" ] && [ -f "$site/morvel.wasm" ] || fail "no site in $site: run make web"

# The whole site within its budget of 1.5 MB.
size=$(cat "$site"/* | wc -c)
[ "$size" -le 1500000 ] || fail "the site takes $size bytes, more than 1.5 MB"
echo "ok: the site takes $size bytes"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$site/." "$work/"
cp "$here/../scenes/data/finish.keys" "$work/finish.keys"
printf '10 press RIGHT\n20 jump LEFT\n' > "$work/bad.keys"
printf '10 press ENTER\n20 press PAD_A\n' > "$work/pad.keys"
"$morvel_script" --input "$work/finish.keys" --frames "$frames" \
    --screenshot "$((frames - 1)):$work/reference.png" || fail "morvel-script failed"
node "$here/browser_test.js" "$work" "$(command -v chromium)" "$frames"
