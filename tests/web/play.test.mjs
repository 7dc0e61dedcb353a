// Whole games in the page, by mouse, by keyboard and against the computer, held against the desktop's board.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {browsing} from './support/browser.mjs';
import {lacking} from './support/engines.mjs';
import {cellNames, checked, choose, chord, clickAt, differing, heard, play, press, prompt, rectOf, reference, settle,
        shown, started, status} from './support/game.mjs';

const endText = 'Press new game in the file menu to begin';
const {open} = browsing();
const opened = (t, view) => open(t, {view});

test('a game by mouse, any button or a touch, is won and drawn as the desktop draws it', async (t) => {
  const page = await opened(t);
  assert.equal(await status(page), endText);
  await play(page, ['1,1']);
  assert.equal(await status(page), endText, 'no game runs before New game');
  await play(page, ['new', '0,0']);
  assert.equal(await status(page), "It's player reds turn");
  const button = (name) => (lacking('otherButtons') ? 'left' : name);
  await play(page, ['1,0'], {button: button('right')});
  await play(page, ['1,1'], {button: button('middle')});
  await play(page, ['1,1', '2,0']);
  const box = await rectOf(page, '[role=grid]');
  const [x, y] = [box.x + box.width - 10, box.y + box.height - 10];
  if (lacking('touch')) await clickAt(page, x, y);
  else await page.tap(x, y);
  await settle(page);
  assert.equal(await status(page), endText);
  assert.match(await heard(page), /^Blue: row 3, column 3\. Blue wins: row 1, column 1; row 2, column 2; row 3, column 3\./);
  assert.equal((await cellNames(page))[4], 'row 2, column 2: blue, winning line');
  const board = reference(['new', '0,0', '1,0', '1,1', '2,0', '2,2']);
  assert.equal(differing(await shown(page), board), 0);
});

test("a game by keyboard alone: menus, the cursor's frame, a question answered No and then Yes", async (t) => {
  const page = await opened(t);
  await chord(page, 'Alt', 'f');
  assert.equal(await page.evaluate(() => document.activeElement.getAttribute('role')), 'menuitem');
  await press(page, 'Enter');
  await play(page, ['Right', 'Down', 'Space', 'Up', 'Return', 'Down', 'Down', 'Left', 'Space']);
  assert.equal(differing(await shown(page), reference(['new', 'Right', 'Down', 'Space', 'Up', 'Return', 'Down', 'Down',
                                                       'Left', 'Space'])), 0);
  const before = [await cellNames(page), await status(page)];
  for (const answer of ['n', 'y']) {
    for (const key of ['F10', 'ArrowDown', 'ArrowRight', 'ArrowDown', 'Enter']) await press(page, key);
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Yes');
    await press(page, answer);
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('role')), 'gridcell');
    if (answer === 'n') assert.deepEqual([await cellNames(page), await status(page)], before);
  }
  assert.equal(await checked(page, 'Player2'), 'true');
  assert.equal(await checked(page, 'Player1'), 'false');
  assert.equal(await status(page), "It's player reds turn");
});

test("against the computer each reply is the desktop opponent's, and the options hold across games", async (t) => {
  const page = await opened(t);
  const steps = ['computer', '1,1', '0,1', '2,2', 'red-begins', '2,0'];
  await play(page, steps);
  assert.equal(await checked(page, 'Computer'), 'true');
  assert.equal(await checked(page, 'Human'), 'false');
  assert.match(await heard(page), /^Blue: row 1, column 3\. Red: row \d, column \d\./);
  assert.equal(differing(await shown(page), reference(steps)), 0);
  await play(page, ['new']);
  assert.match(await heard(page), /^New game, red begins\. Red: row 2, column 2\. It's player blues turn\.$/);
});

test('Exit asks first; No leaves the game as it was, Yes ends it plainly, and a reload starts again', async (t) => {
  const page = await opened(t);
  await play(page, ['new', '0,0']);
  await choose(page, ['File', 'Exit']);
  assert.equal(await prompt(page), 'Do you really want to exit?');
  await press(page, 'Escape');
  await play(page, ['1,0']);
  assert.equal(await status(page), "It's player blues turn");
  await choose(page, ['File', 'Exit']);
  await prompt(page);
  await press(page, 'Enter');
  assert.equal(await page.evaluate(() => document.activeElement.textContent),
               'Tessarin has ended. Reload the page to play again.');
  assert.equal(await page.evaluate(() => document.getElementById('window').hidden), true);
  await press(page, 'F2');
  await page.reload();
  await started(page);
  assert.equal(await status(page), endText);
});

test('at twice the pixels each design pixel is doubled', async (t) => {
  const page = await opened(t, {scale: 2});
  await play(page, ['new', '0,0', '2,1']);
  assert.equal(differing(await shown(page), reference(['new', '0,0', '2,1']), 2), 0);
});

test('at one and a half pixels the board is smoothed', {skip: lacking('fractionalScale')}, async (t) => {
  const page = await opened(t, {scale: 1.5});
  await play(page, ['new', '0,0', '2,1']);
  // One canvas pixel a device pixel, blending its design pixels: colours the desktop's board does not have.
  const screen = await shown(page);
  const colours = (image) => new Set(Array.from({length: image.rgb.length / 3}, (_, i) => image.rgb.readUIntBE(i * 3, 3)));
  const desktop = colours(reference(['new', '0,0', '2,1']));
  assert.equal(screen.width, 578);
  assert.ok([...colours(screen)].filter((colour) => !desktop.has(colour)).length > 1000);
});
