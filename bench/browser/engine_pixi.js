// SPDX-License-Identifier: GPL-3.0-or-later
// Follows the README's PixiJS 8 snippet in its module: draws every frame of
// every animation of the atlas through an AnimatedSprite and compares it,
// pixel for pixel, with the numbered frame EXPECTED[i] (an ImageData of the
// whole canvas), and each frame's time, as the sprite plays it, with the
// atlas's.
app.ticker.stop();
const source = frames[0].sourceSize;
const canvas = Object.assign(document.createElement('canvas'), { width: source.w, height: source.h });
const context = canvas.getContext('2d', { willReadFrequently: true });
const drawing = () => {
    app.renderer.render(app.stage);
    context.clearRect(0, 0, source.w, source.h);
    context.drawImage(app.canvas, 0, 0);
    return context.getImageData(0, 0, source.w, source.h).data;
};
// The first pixel of `got` that is not the pixel of `want` (dx, dy) up and
// to the left, or -1; colours count only where the pixel is not clear.
const firstDifference = (got, want, dx = 0, dy = 0) => {
    for (let y = 0; y < source.h; ++y)
        for (let x = 0; x < source.w; ++x) {
            const p = 4 * (y * source.w + x), wx = x - dx, wy = y - dy;
            const q = wx >= 0 && wx < source.w && wy >= 0 && wy < source.h ? 4 * (wy * source.w + wx) : -1;
            const alpha = q < 0 ? 0 : want[q + 3];
            if (got[p + 3] !== alpha || (alpha !== 0 && (got[p] !== want[q] || got[p + 1] !== want[q + 1] || got[p + 2] !== want[q + 2])))
                return p / 4;
        }
    return -1;
};
const firstOpaque = (data) => data.findIndex((value, i) => i % 4 === 3 && value !== 0) >> 2;
let drawn = 0, wrong = [], times = 0;
// The snippet's own sprite where it put it, turning about the hip: each
// frame the numbered frame's own pixels, unblurred, all moved alike.
walk.stop();
let shift = null;
for (let i = 0; i < walk.totalFrames; ++i) {
    walk.gotoAndStop(i);
    const got = drawing(), want = (await EXPECTED)[Number(animations.walk[i])].data;
    const [g, w] = [firstOpaque(got), firstOpaque(want)];
    shift ??= [g % source.w - w % source.w, Math.floor(g / source.w) - Math.floor(w / source.w)];
    const at = firstDifference(got, want, ...shift);
    if (at >= 0)
        wrong.push(`the snippet's sprite, frame ${i} pixel ${at % source.w},${Math.floor(at / source.w)}`);
    ++drawn;
}
app.stage.removeChildren();
for (const [tag, names] of Object.entries(animations)) {
    const sprite = new AnimatedSprite(names.map((name) => ({ texture: sheet.textures[name], time: frames[name].duration })));
    sprite.anchor.set(0);
    app.stage.addChild(sprite);
    for (let i = 0; i < names.length; ++i) {
        sprite.gotoAndStop(i);
        const at = firstDifference(drawing(), (await EXPECTED)[Number(names[i])].data);
        if (at >= 0)
            wrong.push(`${tag} frame ${i} pixel ${at % source.w},${Math.floor(at / source.w)}`);
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
