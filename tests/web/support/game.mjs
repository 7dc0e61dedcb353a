// Playing the page as a player does, and reading it as a screen reader does: by roles and names.
import {execFileSync} from 'node:child_process';

export const settle = (page) => page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));

// Waits until `script` gives a true value in the page, and gives that value.
export async function until(page, script, ...args) {
  for (const ends = Date.now() + 20000; ;) {
    const value = await page.evaluate(script, ...args);
    if (value) return value;
    if (Date.now() > ends) throw new Error(`the page never came to ${script} for ${JSON.stringify(args)}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

export const waitFor = (page, selector) => until(page, (s) => document.querySelector(s) !== null, selector);
// The window, a failure said on the page, or a box the program shows before its window.
export const started = (page) => waitFor(page, '#window:not([hidden]), [role=alert]:not([hidden]), dialog[open]');

const text = (page, selector) => page.evaluate((s) => document.querySelector(s)?.textContent ?? null, selector);
export const status = (page) => text(page, '[role=status]');
export const heard = (page) => text(page, '[aria-live=polite]');
// An open box's prompt, which reaches its live region once the box stands.
export const prompt = (page) => until(page, () => document.querySelector('dialog[open] [aria-live]')?.textContent);
export const focused = (page) => page.evaluate(() => [document.activeElement.getAttribute('role'),
                                                     document.activeElement.getAttribute('aria-label')
                                                       ?? document.activeElement.textContent]);
export const cellNames = (page) =>
  page.evaluate(() => [...document.querySelectorAll('[role=gridcell]')].map((cell) => cell.getAttribute('aria-label')));
// A menu item's check mark, read while its menu is closed.
export const checked = (page, caption) => page.evaluate((caption) => [...document.querySelectorAll('[aria-checked]')]
  .find((item) => item.querySelector('.caption').textContent === caption).getAttribute('aria-checked'), caption);

// An element's rectangle in the viewport, in CSS pixels.
export const rectOf = (page, selector) => page.evaluate((s) => {
  const {x, y, width, height} = document.querySelector(s).getBoundingClientRect();
  return {x, y, width, height};
}, selector);

export async function press(page, key) {
  await page.down(key);
  await page.up(key);
  await settle(page);
}

// A key with Alt, Control or Shift held.
export async function chord(page, modifier, key) {
  await page.down(modifier);
  await press(page, key);
  await page.up(modifier);
  await settle(page);
}

export async function clickAt(page, x, y, button) {
  await page.click(x, y, button);
  await settle(page);
}

// The centre of the menu item or question's button that shows `text`, found as a player finds it, once it shows.
export async function centreOf(page, text) {
  const {x, y, width, height} = await until(page, (text) => {
    const target = [...document.querySelectorAll('[role^=menuitem], dialog button')].find((candidate) =>
      (candidate.querySelector('.caption') ?? candidate).textContent === text && candidate.checkVisibility());
    return target && JSON.parse(JSON.stringify(target.getBoundingClientRect()));
  }, text);
  return [x + width / 2, y + height / 2];
}

// Clicks through the menus to an item, each found by its caption where a mouse player sees it.
export async function choose(page, names) {
  for (const name of names) await clickAt(page, ...await centreOf(page, name));
}

const menuPaths = {
  computer: ['File', 'Player 2', 'Computer'], human: ['File', 'Player 2', 'Human'],
  'red-begins': ['File', 'Who begin', 'Player2'], 'blue-begins': ['File', 'Who begin', 'Player1'],
};
const keyNames = {Left: 'ArrowLeft', Right: 'ArrowRight', Up: 'ArrowUp', Down: 'ArrowDown', Space: ' ',
                  Return: 'Enter'};

// The centre of a board cell, in CSS pixels of the viewport.
export async function cellCentre(page, column, row) {
  const box = await rectOf(page, '[role=grid]');
  return [box.x + ((column + 0.5) * box.width) / 3, box.y + ((row + 0.5) * box.height) / 3];
}

// The steps of the desktop reference (board_pixels), played through the page: a question is answered Yes.
export async function play(page, steps, {button = 'left'} = {}) {
  for (const step of steps) {
    if (step === 'new') {
      await press(page, 'F2');
    } else if (menuPaths[step]) {
      await choose(page, menuPaths[step]);
      if (await page.evaluate(() => document.querySelector('dialog[open]') !== null)) await press(page, 'y');
    } else if (keyNames[step]) {
      await press(page, keyNames[step]);
    } else {
      await clickAt(page, ...await cellCentre(page, ...step.split(',').map(Number)), button);
    }
  }
}

// The board's pixels as the desktop's raster layer draws them after the same steps: RGB, row by row.
export function reference(steps, pictures = process.env.TESSARIN_SOURCE) {
  const ppm = execFileSync(process.env.TESSARIN_BOARD_PIXELS, [pictures, ...steps], {maxBuffer: 1 << 24});
  const [, width, height] = ppm.toString('latin1', 0, 20).match(/^P6\s(\d+) (\d+)\s255\s/);
  const header = ppm.indexOf('255\n') + 4;
  return {width: Number(width), height: Number(height), rgb: ppm.subarray(header)};
}

// What the screen shows of the board, in device pixels, RGB row by row, cut on the device's pixel grid.
export const shown = async (page) => page.screenshot(await rectOf(page, '[role=grid]'));

// How many device pixels differ from the reference's, each design pixel replicated `scale` times each way.
export function differing(screen, board, scale = 1) {
  if (screen.width !== board.width * scale || screen.height !== board.height * scale) return Infinity;
  let count = 0;
  for (let y = 0; y < screen.height; ++y) {
    for (let x = 0; x < screen.width; ++x) {
      const at = (y * screen.width + x) * 3;
      const from = (Math.floor(y / scale) * board.width + Math.floor(x / scale)) * 3;
      if (screen.rgb.compare(board.rgb, from, from + 3, at, at + 3) !== 0) ++count;
    }
  }
  return count;
}
