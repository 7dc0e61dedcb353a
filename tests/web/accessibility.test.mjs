// The page as a screen reader finds it: roles, names, states, what is spoken unasked, and an axe-core audit. The
// accessibility tree is read where the driver gives it (Chromium's); the rest holds in every engine.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {violations} from './support/audit.mjs';
import {browsing} from './support/browser.mjs';
import {lacking} from './support/engines.mjs';
import {chord, focused, heard, play, press, prompt, settle, status as statusText} from './support/game.mjs';

const {open: opened} = browsing();

// The accessibility tree's nodes of a role, in order, as [name, node].
async function nodes(page, role) {
  const found = [];
  const walk = (node) => {
    if (node.role === role) found.push(node);
    (node.children || []).forEach(walk);
  };
  walk(await page.native.accessibility.snapshot({interestingOnly: false}));
  return found;
}

const tree = !lacking('devtools');

test('the window reads as a menu bar, a focused grid of named cells and a status line, and speaks each event',
     {skip: lacking('devtools')}, async (t) => {
  const page = await opened(t);
  const [file] = await nodes(page, 'menuitem');
  assert.deepEqual([file.name, file.haspopup, file.keyshortcuts], ['File', 'menu', 'Alt+F']);
  assert.equal((await nodes(page, 'grid')).length, 1);
  assert.equal((await nodes(page, 'row')).length, 3);
  const cells = await nodes(page, 'gridcell');
  assert.deepEqual(cells.map((cell) => cell.name).slice(0, 4),
                   ['row 1, column 1: empty', 'row 1, column 2: empty', 'row 1, column 3: empty',
                    'row 2, column 1: empty']);
  assert.equal(cells[0].focused, true);
  const [status] = await nodes(page, 'status');
  assert.equal(await statusText(page), 'Press new game in the file menu to begin');
  assert.ok(status);
  await play(page, ['computer', 'Right', 'Down', 'Return']);
  assert.equal(await heard(page), 'Blue: row 2, column 2. Red: row 1, column 1. It\'s player blues turn.');
  assert.deepEqual(await focused(page), ['gridcell', 'row 2, column 2: blue']);
  assert.equal((await nodes(page, 'gridcell'))[0].name, 'row 1, column 1: red');
  // A screen reader's default action.
  await page.evaluate(() => document.querySelectorAll('[role=gridcell]')[8].click());
  await settle(page);
  assert.match(await heard(page), /^Blue: row 3, column 3\. Red: row \d, column \d\./);
});

test('the menus open from the keyboard, name their shortcuts and marks, and give the focus back', async (t) => {
  const page = await opened(t);
  await press(page, 'F10');
  assert.deepEqual(await focused(page), ['menuitem', 'New gameCtrl+N, F2']);
  const items = await page.evaluate(() => [...document.querySelectorAll('[role=menu]:not([hidden]) > .holder > .item')]
    .map((item) => [item.getAttribute('role'), item.querySelector('.caption').textContent,
                    item.getAttribute('aria-keyshortcuts')]));
  assert.deepEqual(items, [['menuitem', 'New game', 'Control+N F2'], ['menuitem', 'Who begin', null],
                           ['menuitem', 'Player 2', null], ['menuitem', 'Exit', null]]);
  await press(page, 'ArrowDown');
  await press(page, 'ArrowRight');
  if (tree) {
    const radios = await nodes(page, 'menuitemradio');
    assert.deepEqual(radios.map((r) => [r.name, r.checked]), [['Player1', true], ['Player2', false]]);
  }
  await press(page, 'Escape');
  assert.deepEqual(await focused(page), ['menuitem', 'Who begin▸']);
  await press(page, 'Escape');
  assert.deepEqual(await focused(page), ['gridcell', 'row 1, column 1: empty']);
  await chord(page, 'Control', 'n');
  assert.equal(await heard(page), 'New game, blue begins. It\'s player blues turn.');
});

// The module gives an item's access key as its letter: a caption's letters before it may take more than one byte in
// the module's UTF-8 and one unit in the page's strings, or the other way round.
test('a menu whose caption has letters beyond ASCII before its access key opens with Alt and that key', async (t) => {
  const page = await opened(t);
  const cases = [['Übergröße', 'g'], ['Ma\u{1D53C}n', 'N']];
  for (const [[caption, accessKey], id] of cases.map((entry, index) => [entry, 9000 + 2 * index])) {
    const keys = await page.evaluate((caption, accessKey, id) => {
      const item = {caption, accessKey, shortcuts: [], separator: false, submenu: true, checkable: false, radio: false,
                    checked: false, enabled: true, visible: true};
      TessarinPage.menuItem(0, id, 0, item);
      TessarinPage.menuItem(0, id + 1, id, {...item, caption: `in ${caption}`, accessKey: '', submenu: false});
      return [...document.querySelectorAll('.item.top')].find((top) => top.textContent === caption)
        .getAttribute('aria-keyshortcuts');
    }, caption, accessKey, id);
    assert.equal(keys, `Alt+${accessKey.toUpperCase()}`, caption);
    await chord(page, 'Alt', accessKey.toLowerCase());
    assert.deepEqual(await focused(page), ['menuitem', `in ${caption}`], caption);
    await press(page, 'Escape');
  }
});

// Orca in Chromium reads an alert dialog twice as it opens, and a description on top of the prompt's live region
// again: the box is a plain dialog named by its title, whose prompt alone is spoken.
test('a question is a named modal dialog with a spoken prompt, focused on Yes, giving the focus back', async (t) => {
  const page = await opened(t);
  assert.deepEqual(await violations(page), []);
  await play(page, ['new', '0,0', '1,1', '0,1', '1,0']);
  assert.deepEqual(await violations(page), []);
  // No, three ways: its letter, the arrow to its button and Return, Escape.
  for (const keys of [['n'], ['ArrowRight', 'Enter'], ['Escape']]) {
    for (const key of ['F10', 'End', 'Enter']) await press(page, key);
    assert.equal(await prompt(page), 'Do you really want to exit?');
    if (tree) {
      const [dialog] = await nodes(page, 'dialog');
      assert.deepEqual([dialog.name, dialog.description, dialog.modal], ['Tessarin', undefined, true]);
      assert.deepEqual([(await nodes(page, 'alertdialog')).length, (await nodes(page, 'alert')).length], [0, 0]);
    }
    assert.deepEqual(await focused(page), [null, 'Yes']);
    assert.deepEqual(await violations(page), []);
    for (const key of keys) await press(page, key);
    assert.deepEqual(await focused(page), ['gridcell', 'row 1, column 1: blue'], keys.join(' '));
  }
  await play(page, ['0,2']);
  assert.match(await heard(page), /Blue wins/);
  assert.deepEqual(await violations(page), []);
});

test('in forced colours and in a dark colour scheme the menus, the status line and a question stay readable',
     {skip: lacking('devtools')}, async (t) => {
  for (const feature of [{name: 'forced-colors', value: 'active'}, {name: 'prefers-color-scheme', value: 'dark'}]) {
    const page = await opened(t);
    await (await page.native.createCDPSession()).send('Emulation.setEmulatedMedia', {features: [feature]});
    await play(page, ['new', '1,1']);
    for (const key of ['F10', 'ArrowDown', 'ArrowRight']) await press(page, key);
    assert.deepEqual(await violations(page), [], feature.name);
    for (const key of ['Escape', 'Escape', 'F10', 'End', 'Enter']) await press(page, key);
    assert.ok(await page.evaluate(() => document.querySelector('dialog[open]') !== null));
    assert.deepEqual(await violations(page), [], feature.name);
  }
});
