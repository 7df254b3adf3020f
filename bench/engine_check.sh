#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Loads a sprite sheet and its atlas in PixiJS 8 and in Phaser 3, each by
# the README's own snippet, in headless Chromium; draws every frame of every
# animation the atlas gives through the engine's own animation objects and
# compares it, pixel for pixel, with zelbrook-render's numbered frame placed
# at the trimmed frame's offset, and each frame's time with the atlas's.
# Needs Debian's chromium and npm; the engines are installed into
# bench/browser/node_modules, which git ignores.
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
trap '[ -z "$server" ] || kill "$server"; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
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
# use: the folder is served on a free port of this machine alone.
node -e '
const http = require("http"), fs = require("fs"), path = require("path");
const types = { ".html": "text/html", ".js": "text/javascript", ".mjs": "text/javascript", ".json": "application/json",
                ".png": "image/png" };
const server = http.createServer((request, response) => {
    const file = path.join(process.argv[1], decodeURIComponent(new URL(request.url, "http://x").pathname));
    fs.readFile(file, (error, data) => {
        response.writeHead(error ? 404 : 200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
        response.end(error ? "" : data);
    });
}).listen(0, "127.0.0.1", () => fs.writeFileSync(path.join(process.argv[1], "port"), String(server.address().port)));
' "$work" &
server=$!
while [ ! -s "$work/port" ]; do sleep 0.1; done
port=$(cat "$work/port")

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
window.onerror = (message) => { document.title = `failed: ${message}`; };
window.onunhandledrejection = (event) => { document.title = `failed: ${event.reason}`; };
</script></head><body>
PAGE
        # Headless Chromium's virtual time does not run PixiJS's image
        # workers; the page loads the sheet without them.
        if [ "$code" = pixi ]; then
            printf '%s\n' '<script type="module">import { Assets } from "pixi.js";' \
                'Assets.setPreferences({ preferWorkers: false });</script>'
        fi
        printf '<script type="module">\n'
        snippet "$name"
        cat "$here/browser/engine_$code.js"
        printf '</script></body></html>\n'
    } > "$work/$code.html"
    result=$(timeout 120 "$browser" --headless --no-sandbox --enable-unsafe-swiftshader \
        --virtual-time-budget=60000 --dump-dom "http://127.0.0.1:$port/$code.html" 2>/dev/null \
        | grep -o '<title>[^<]*' | sed 's/<title>//' || true)
    printf '%-9s %s\n' "$name" "${result:-no result}"
done
