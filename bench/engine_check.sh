#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Loads a sprite sheet and its atlas in PixiJS 8 and in Phaser 3, each by
# the README's own snippet, in headless Chromium; draws every frame of every
# animation the atlas gives through the engine's own animation objects and
# compares it, pixel for pixel, with zelbrook-render's numbered frame placed
# at the trimmed frame's offset, and each frame's time with the atlas's.
# Needs Debian's chromium and npm; the engines are installed into
# bench/browser/node_modules, which git ignores.
# Exits with 1 when a frame or a time differs or a page gives no result.
# Usage: bench/engine_check.sh [path/to/zelbrook-render]
set -eu

here=$(dirname "$(realpath "$0")")
render=$(realpath "${1:-build/release/src/tools/zelbrook-render}")
[ -x "$render" ] || { echo "no program at $render; build it first" >&2; exit 1; }
browser=$(command -v chromium || command -v chromium-browser) || { echo "chromium is missing (apt-get install chromium)" >&2; exit 1; }
[ -d "$here/browser/node_modules/pixi.js" ] && [ -d "$here/browser/node_modules/phaser" ] \
    || (cd "$here/browser" && npm install --no-audit --no-fund >&2)
work=$(mktemp -d)
server=""
chrome=""
trap '[ -z "$chrome" ] || kill "$chrome"; [ -z "$server" ] || kill "$server"; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
ln -s "$here/browser/node_modules" "$work/node_modules"
export QT_QPA_PLATFORM=offscreen

cp "$here/../data/moves/Walk cycle.zba" "$work/walk.zba"
"$render" --format sheet --transparent --trim --padding 2 --extrude 1 --atlas "$work/walk.zba" "$work/walk.png"
mkdir "$work/frames"
"$render" --quiet --transparent --trim --format png --output-dir "$work/frames" "$work/walk.zba"

# The README's snippet whose first line is the comment given.
snippet() {
    awk -v first="// $1" '/^```js$/ { getline line; if (line == first) { keep = 1; print line; next } }
        /^```$/ { keep = 0 } keep' "$here/../README.md"
}

# The engines load their files with fetch, which a page from a file may not
# use: the folder is served on a free port of this machine alone. A page
# posts its result to NAME.result, which the server puts in the folder whole.
node -e '
const http = require("http"), fs = require("fs"), path = require("path");
const types = { ".html": "text/html", ".js": "text/javascript", ".mjs": "text/javascript", ".json": "application/json",
                ".png": "image/png" };
const server = http.createServer((request, response) => {
    const file = path.join(process.argv[1], decodeURIComponent(new URL(request.url, "http://x").pathname));
    if (request.method === "POST" && path.extname(file) === ".result") {
        let body = "";
        request.on("data", (chunk) => { body += chunk; });
        request.on("end", () => {
            fs.writeFileSync(file + ".part", body);
            fs.renameSync(file + ".part", file);
            response.end();
        });
        return;
    }
    fs.readFile(file, (error, data) => {
        response.writeHead(error ? 404 : 200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
        response.end(error ? "" : data);
    });
}).listen(0, "127.0.0.1", () => fs.writeFileSync(path.join(process.argv[1], "port"), String(server.address().port)));
' "$work" &
server=$!
while [ ! -s "$work/port" ]; do sleep 0.1; done
port=$(cat "$work/port")

failed=0
for engine in "PixiJS 8:pixi" "Phaser 3:phaser"; do
    name=${engine%%:*}
    code=${engine##*:}
    {
        cat <<'PAGE'
<!DOCTYPE html>
<html><head><meta charset="utf-8">
<script type="importmap">{"imports": {"pixi.js": "./node_modules/pixi.js/dist/pixi.min.mjs",
                                      "phaser": "./node_modules/phaser/dist/phaser.esm.min.js"}}</script>
<script>
// Each numbered frame drawn on the whole canvas at the trimmed frame's offset.
const EXPECTED = fetch('walk.json').then((r) => r.json()).then((atlas) => Promise.all(atlas.frames.map((frame, i) =>
    new Promise((resolve) => {
        const image = new Image();
        image.onload = () => {
            const canvas = Object.assign(document.createElement('canvas'),
                                         { width: frame.sourceSize.w, height: frame.sourceSize.h });
            const context = canvas.getContext('2d');
            context.drawImage(image, frame.spriteSourceSize.x, frame.spriteSourceSize.y);
            resolve(context.getImageData(0, 0, canvas.width, canvas.height));
        };
        image.src = `frames/walk-${String(i + 1).padStart(4, '0')}.png`;
    }))));
// The page's one result, sent to the script that waits for it.
const report = (text) => fetch(location.pathname.replace(/html$/, 'result'), { method: 'POST', body: text });
window.onerror = (message) => { report(`failed: ${message}`); };
window.onunhandledrejection = (event) => { report(`failed: ${event.reason}`); };
</script></head><body>
PAGE
        printf '<script type="module">\n'
        snippet "$name"
        cat "$here/browser/engine_$code.js"
        printf '</script></body></html>\n'
    } > "$work/$code.html"
    # The browser runs in real time until the page has posted its result:
    # a virtual time budget can run out while an image is still decoded.
    "$browser" --headless --no-sandbox --enable-unsafe-swiftshader --user-data-dir="$work/profile-$code" \
        "http://127.0.0.1:$port/$code.html" >/dev/null 2>&1 &
    chrome=$!
    tenths=0
    while [ ! -e "$work/$code.result" ] && [ "$tenths" -lt 1200 ] && kill -0 "$chrome" 2>/dev/null; do
        sleep 0.1
        tenths=$((tenths + 1))
    done
    kill "$chrome" 2>/dev/null || true
    wait "$chrome" || true
    chrome=""
    result=$(cat "$work/$code.result" 2>/dev/null || true)
    printf '%-9s %s\n' "$name" "${result:-no result}"
    case $result in
    *" 0 differ, 0 times differ") ;;
    *) failed=1 ;;
    esac
done
exit "$failed"
