// Playing the page as a player does, and reading it as a screen reader does: by roles and names.
import {execFileSync} from 'node:child_process';

export const settle = (page) => page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));

// The window, a failure said on the page, or a box the program shows before its window.
export async function started(page) {
  await page.waitForSelector('#window:not([hidden]), [role=alert]:not([hidden]), dialog[open]');
}

export const status = (page) => page.$eval('[role=status]', (status) => status.textContent);
// An open box's prompt, which reaches its live region once the box stands.
export const prompt = async (page) =>
  (await page.waitForSelector('dialog[open] [aria-live]:not(:empty)')).evaluate((text) => text.textContent);
export const heard = (page) => page.$eval('[aria-live=polite]', (region) => region.textContent);
export const cellNames = (page) =>
  page.$$eval('[role=gridcell]', (cells) => cells.map((cell) => cell.getAttribute('aria-label')));
// A menu item's check mark, read while its menu is closed.
export const checked = (page, caption) => page.$$eval('[aria-checked]', (items, caption) =>
  items.find((item) => item.querySelector('.caption').textContent === caption).getAttribute('aria-checked'), caption);

async function press(page, key) {
  await page.keyboard.press(key);
  await settle(page);
}

// Clicks through the menus to an item, each found by its name as a mouse player finds it.
export async function choose(page, names) {
  for (const name of names) {
    await (await page.waitForSelector(`aria/${name}`, {visible: true})).click();
    await settle(page);
  }
}

// A key with Alt, Control or Shift held.
export async function chord(page, modifier, key) {
  await page.keyboard.down(modifier);
  await page.keyboard.press(key);
  await page.keyboard.up(modifier);
  await settle(page);
}

const menuPaths = {
  computer: ['File', 'Player 2', 'Computer'], human: ['File', 'Player 2', 'Human'],
  'red-begins': ['File', 'Who begin', 'Player2'], 'blue-begins': ['File', 'Who begin', 'Player1'],
};
const keyNames = {Left: 'ArrowLeft', Right: 'ArrowRight', Up: 'ArrowUp', Down: 'ArrowDown', Space: 'Space',
                  Return: 'Enter'};

// The steps of the desktop reference (board_pixels), played through the page: a question is answered Yes.
export async function play(page, steps, {button = 'left'} = {}) {
  for (const step of steps) {
    if (step === 'new') {
      await press(page, 'F2');
    } else if (menuPaths[step]) {
      await choose(page, menuPaths[step]);
      if (await page.$('dialog[open]')) await press(page, 'y');
    } else if (keyNames[step]) {
      await press(page, keyNames[step]);
    } else {
      const [column, row] = step.split(',').map(Number);
      const box = await (await page.$('[role=grid]')).boundingBox();
      await page.mouse.click(box.x + ((column + 0.5) * box.width) / 3, box.y + ((row + 0.5) * box.height) / 3,
                             {button});
      await settle(page);
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

// What the screen shows of the board, in device pixels, RGB row by row: cut from the whole viewport on the device's
// pixel grid, where a clip in CSS pixels would be rounded.
export async function shown(page) {
  const png = await page.screenshot({encoding: 'base64'});
  const {width, height, rgb} = await page.evaluate(async (data) => {
    const box = document.querySelector('[role=grid]').getBoundingClientRect();
    const [left, top, right, bottom] = [box.left, box.top, box.right, box.bottom].map((at) =>
      Math.round(at * devicePixelRatio));
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes]));
    const canvas = new OffscreenCanvas(right - left, bottom - top);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, -left, -top);
    const rgba = context.getImageData(0, 0, canvas.width, canvas.height).data;
    const out = new Uint8Array((rgba.length / 4) * 3);
    for (let i = 0, j = 0; i < rgba.length; i += 4) out.set(rgba.subarray(i, i + 3), (j++) * 3);
    let text = '';
    for (let i = 0; i < out.length; i += 0x8000) text += String.fromCharCode(...out.subarray(i, i + 0x8000));
    return {width: canvas.width, height: canvas.height, rgb: btoa(text)};
  }, png);
  return {width, height, rgb: Buffer.from(rgb, 'base64')};
}

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
