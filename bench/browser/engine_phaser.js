// SPDX-License-Identifier: GPL-3.0-or-later
// Follows the README's Phaser 3 snippet in its module: once the scene is
// made, draws every frame of every animation it made through a sprite's
// own animation state and compares it, pixel for pixel, with the numbered
// frame EXPECTED[i], and each frame's time, as the sprite plays it, with
// the atlas's.
const scene = await new Promise((resolve) => {
    const wait = () => (game.scene.scenes[0]?.sys.isActive() && game.scene.scenes[0].anims.exists('walk')
        ? resolve(game.scene.scenes[0]) : setTimeout(wait, 50));
    wait();
});
game.loop.sleep();
const atlas = scene.textures.get('walk').customData;
const names = scene.textures.get('walk').getFrameNames();
scene.children.removeAll();
const sprite = scene.add.sprite(0, 0, 'walk');
const snapshot = () => new Promise((resolve) => {
    game.renderer.snapshot((image) => resolve(image));
    game.loop.step(performance.now());
});
const canvas = Object.assign(document.createElement('canvas'), { width: 493, height: 397 });
const context = canvas.getContext('2d', { willReadFrequently: true });
let drawn = 0, wrong = [], times = 0;
for (const tag of atlas.meta.frameTags) {
    const animation = scene.anims.get(tag.name);
    sprite.play(tag.name);
    sprite.anims.pause();
    for (let i = 0; i < animation.frames.length; ++i) {
        const frame = animation.frames[i];
        sprite.anims.setCurrentFrame(frame);
        sprite.setOrigin(0, 0);
        const image = await snapshot();
        context.clearRect(0, 0, 493, 397);
        context.drawImage(image, 0, 0);
        const got = context.getImageData(0, 0, 493, 397).data;
        const index = names.indexOf(frame.textureFrame);
        const want = (await EXPECTED)[index].data;
        for (let p = 0; p < want.length; p += 4)
            if (got[p + 3] !== want[p + 3] || (want[p + 3] !== 0 && (got[p] !== want[p] || got[p + 1] !== want[p + 1] || got[p + 2] !== want[p + 2]))) {
                wrong.push(`${tag.name} frame ${i} pixel ${p / 4 % 493},${Math.floor(p / 4 / 493)} ${Array.from(got.slice(p, p + 4))} ${Array.from(want.slice(p, p + 4))}`);
                break;
            }
        ++drawn;
    }
    // The sprite's own clock, as in the PixiJS check: each frame still shows
    // half a millisecond before the atlas says it ends, the next one after.
    sprite.play(tag.name);
    let clock = 0, end = 0;
    const advance = (to) => { sprite.anims.update(to, to - clock); clock = to; };
    const count = animation.frames.length;
    for (let i = 0; i < count; ++i) {
        end += scene.textures.get('walk').get(animation.frames[i].textureFrame).customData.duration;
        advance(end - 0.5);
        const held = sprite.anims.currentFrame.index - 1;
        advance(end + 0.5);
        if (held !== i || sprite.anims.currentFrame.index - 1 !== (i + 1 < count ? i + 1 : atlas.meta.loop ? 0 : i))
            ++times;
    }
    sprite.stop();
}
report(`phaser: ${drawn} frames drawn, ${wrong.length} differ${wrong.length ? ' (' + wrong[0] + ')' : ''}, ${times} times differ`);
