// The page on phones, tablets and desktops: the window inside the viewport, played by taps or clicks, targets a
// finger can hit, a turn of the screen that keeps the game, and the board replicated exactly where the scale is whole.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {browsing} from './support/browser.mjs';
import {lacking, lackingTurn, lackingView} from './support/engines.mjs';
import {cellCentre, cellNames, centreOf, differing, rectOf, reference, settle, shown, status} from
  './support/game.mjs';

const {open} = browsing();

// crisp: the device pixels per design pixel the board shows exactly, null where the scale is fractional; design:
// the window stays at its design size.
const screens = [
  {name: 'a small phone', width: 320, height: 568, ratio: 2, touch: true, crisp: null},
  {name: 'a phone', width: 360, height: 640, ratio: 3, touch: true, crisp: null},
  {name: 'a tall phone', width: 390, height: 844, ratio: 3, touch: true, crisp: null},
  {name: 'a phone on its side', width: 844, height: 390, ratio: 3, touch: true, crisp: 2},
  {name: 'a tablet', width: 768, height: 1024, ratio: 2, touch: true, crisp: 3},
  {name: 'a desktop', width: 1280, height: 800, ratio: 1, crisp: 1, design: true},
  {name: 'a desktop at twice the pixels', width: 1280, height: 800, ratio: 2, crisp: 2, design: true},
  {name: 'a desktop at 125 %', width: 1280, height: 800, ratio: 1.25, crisp: null, design: true},
  {name: 'a desktop zoomed to 200 %', width: 640, height: 400, ratio: 2, crisp: null},
];

const viewOf = ({width, height, ratio, touch = false}) => ({width, height, scale: ratio, touch});
// Where the engine shows no touch screen, a phone's or a tablet's screen is played with a mouse: the same size and
// pixels, a fine pointer.
const played = (screen) => (screen.touch && lacking('touchScreen') ? {...screen, touch: false, byMouse: true} : screen);

// What a player on this screen would find wrong: the window, a menu or a question beyond the viewport, a sideways
// scroll, a target smaller than a finger (44 CSS pixels tall) or a pointer (24 × 24) allows, a cell that a screen
// reader's touch finds more than a board pixel away from its third of the board.
const faults = (page, least) => page.evaluate((least) => {
  const {clientWidth, clientHeight, scrollWidth} = document.documentElement;
  const seen = (selector) => [...document.querySelectorAll(selector)].filter((e) => e.checkVisibility());
  const name = (e) => e.id || e.getAttribute('aria-label') || e.textContent;
  const found = seen('#window, [role=menu], dialog').filter((e) => {
    const box = e.getBoundingClientRect();
    return box.left < 0 || box.top < 0 || box.right > clientWidth || box.bottom > clientHeight;
  }).map((e) => `outside: ${name(e)}`);
  if (scrollWidth > clientWidth) found.push(`scrolls sideways by ${scrollWidth - clientWidth}`);
  for (const e of seen('[role^=menuitem], dialog button')) {
    const box = e.getBoundingClientRect();
    if (box.height < least - 0.01 || box.width < 24) found.push(`small: ${name(e)} ${box.width} × ${box.height}`);
  }
  const board = document.querySelector('[role=grid] canvas').getBoundingClientRect();
  const [third, pixel] = [board.width / 3, board.width / 385];
  seen('[role=gridcell]').forEach((cell, at) => {
    const box = cell.getBoundingClientRect();
    const expected = [board.left + (at % 3) * third, board.top + Math.floor(at / 3) * third, third, third];
    if ([box.left, box.top, box.width, box.height].some((v, i) => Math.abs(v - expected[i]) > pixel * 1.01))
      found.push(`misplaced: ${name(cell)}`);
  });
  return found;
}, least);

async function pressAt(page, screen, x, y) {
  if (screen.touch) await page.tap(x, y);
  else await page.click(x, y);
  await settle(page);
}

// A menu item or a question's button, found by its text as a player finds it, or board cells by column and row.
async function press(page, screen, ...targets) {
  for (const target of targets) {
    const cell = /^\d,\d$/.test(target) && target.split(',').map(Number);
    await pressAt(page, screen, ...await (cell ? cellCentre(page, ...cell) : centreOf(page, target)));
  }
}

const game = async (page) => [...await cellNames(page), await status(page)];

for (const screen of screens.map(played)) {
  test(`on ${screen.name} the window fits, plays by ${screen.touch ? 'taps' : 'clicks'}, turns and asks`,
       {skip: lackingView(viewOf(screen))}, async (t) => {
    const page = await open(t, {view: viewOf(screen)});
    const least = screen.touch ? 44 : 24;
    if (screen.design) {  // to the device pixel
      const box = await rectOf(page, '[role=grid]');
      for (const side of [box.width, box.height]) assert.ok(Math.abs(side - 385) * screen.ratio < 1, `${side}`);
    }
    await press(page, screen, 'File');
    assert.deepEqual(await faults(page, least), []);
    const moves = ['0,0', '1,0', '1,1', '2,0'];
    await press(page, screen, 'New game', ...moves);
    // The device pixels a design pixel takes: whole ones repeat it exactly.
    const scale = Math.round(((await rectOf(page, '[role=grid]')).width * screen.ratio / 385) * 1e6) / 1e6;
    if (!screen.byMouse) assert.equal(Number.isInteger(scale) ? scale : null, screen.crisp);
    if (Number.isInteger(scale)) assert.equal(differing(await shown(page), reference(['new', ...moves]), scale), 0);
    const before = await game(page);
    if (lackingTurn(viewOf(screen))) {
      t.diagnostic(`not turned: ${lackingTurn(viewOf(screen))}`);
    } else {
      await page.resize(screen.height, screen.width);
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
      assert.deepEqual(await faults(page, least), []);
      assert.deepEqual(await game(page), before);
    }
    await press(page, screen, '2,2');
    assert.equal(await status(page), 'Press new game in the file menu to begin');
    await press(page, screen, 'File', 'Player 2');
    assert.deepEqual(await faults(page, least), []);
    await press(page, screen, 'Computer');
    assert.deepEqual(await faults(page, least), []);
    await press(page, screen, 'Yes');
    assert.match(await status(page), /^It's player (blue|red)s turn$/);
  });
}

// A touch held down is puppeteer's alone: where a touch screen is shown, puppeteer drives it.
test('by touch a long press on the board plays at once and selects nothing, and a tap beside open menus only ' +
     'closes them', {skip: lackingView(viewOf(screens[2]))}, async (t) => {
  const screen = screens[2];
  const page = await open(t, {view: viewOf(screen)});
  await press(page, screen, 'File', 'New game');
  await page.native.touchscreen.touchStart(...await cellCentre(page, 1, 1));
  assert.equal(await status(page), "It's player reds turn");
  await new Promise((resolve) => setTimeout(resolve, 1000));
  await page.native.touchscreen.touchEnd();
  assert.equal(await page.evaluate(() => String(getSelection())), '');
  await press(page, screen, 'File', '2,2');
  assert.equal(await page.evaluate(() => document.querySelector('[role=menu]:not([hidden])')), null);
  assert.equal(await status(page), "It's player reds turn");
});
