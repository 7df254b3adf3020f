// SPDX-License-Identifier: GPL-3.0-or-later
// Follows the README's PixiJS 8 snippet in its module: draws every frame of
// every animation of the atlas through an AnimatedSprite and compares it,
// pixel for pixel, with the numbered frame EXPECTED[i] (an ImageData of the
// whole canvas), and each frame's time, as the sprite plays it, with the
// atlas's.
app.ticker.stop();
app.stage.removeChildren();
const source = frames[0].sourceSize;
app.renderer.resize(source.w, source.h);
const canvas = Object.assign(document.createElement('canvas'), { width: source.w, height: source.h });
const context = canvas.getContext('2d', { willReadFrequently: true });
let drawn = 0, wrong = [], times = 0;
for (const [tag, names] of Object.entries(animations)) {
    const sprite = new AnimatedSprite(names.map((name) => ({ texture: sheet.textures[name], time: frames[name].duration })));
    sprite.anchor.set(0);
    app.stage.addChild(sprite);
    for (let i = 0; i < names.length; ++i) {
        sprite.gotoAndStop(i);
        app.renderer.render(app.stage);
        context.clearRect(0, 0, source.w, source.h);
        context.drawImage(app.canvas, 0, 0);
        const got = context.getImageData(0, 0, source.w, source.h).data;
        const want = (await EXPECTED)[Number(names[i])].data;
        for (let p = 0; p < want.length; p += 4)
            if (got[p + 3] !== want[p + 3] || (want[p + 3] !== 0 && (got[p] !== want[p] || got[p + 1] !== want[p + 1] || got[p + 2] !== want[p + 2]))) {
                wrong.push(`${tag} frame ${i} pixel ${p / 4 % source.w},${Math.floor(p / 4 / source.w)}`);
                break;
            }
        ++drawn;
    }
    // The sprite's own clock, a millisecond at a time around each frame's
    // end: the frame still shows half a millisecond before the atlas says it
    // ends, and the next one half a millisecond after.
    sprite.autoUpdate = false;
    sprite.loop = meta.loop;
    sprite.gotoAndPlay(0);
    let clock = 0, end = 0;
    const advance = (to) => { sprite.update({ deltaTime: (to - clock) * 60 / 1000 }); clock = to; };
    for (let i = 0; i < names.length; ++i) {
        end += frames[names[i]].duration;
        advance(end - 0.5);
        const held = sprite.currentFrame;
        advance(end + 0.5);
        if (held !== i || sprite.currentFrame !== (i + 1 < names.length ? i + 1 : meta.loop ? 0 : i))
            ++times;
    }
    sprite.stop();
    app.stage.removeChild(sprite);
}
report(`pixijs: ${drawn} frames drawn, ${wrong.length} differ${wrong.length ? ' (' + wrong[0] + ')' : ''}, ${times} times differ`);
