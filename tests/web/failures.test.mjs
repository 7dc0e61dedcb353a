// What the page does when its files fail it: a required picture missing, damaged, too large or cut off, optional
// pictures missing, the module missing, a browser without WebAssembly. Always a plain message or a playable board.
// And the files it fetched, which stay the program's folder: read and decoded as often as the program asks.
import assert from 'node:assert/strict';
import {cpSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';
import {crc32, deflateSync} from 'node:zlib';

import {browsing} from './support/browser.mjs';
import {differing, play, press, prompt, reference, shown, status, until} from './support/game.mjs';

const session = browsing();

// The page served with `options`, opened in a context of its own; the message it shows, or null once the window shows.
// A box the program shows first, its title, prompt and buttons, is closed with `close`, a key.
async function opened(t, options = {}, close = 'Enter') {
  const page = await session.open(t, {url: (await session.serve(t, options)).url});
  let box = null;
  if (await page.evaluate(() => document.querySelector('dialog[open]') !== null)) {
    box = [await page.evaluate(() => document.querySelector('dialog .title').textContent), await prompt(page),
           await page.evaluate(() => [...document.querySelectorAll('dialog button')].map((button) => button.textContent))];
    await press(page, close);
    await until(page, () => !document.getElementById('failure').hidden);
  }
  const [message, windowShown] = await page.evaluate(() => {
    const failure = document.getElementById('failure');
    return [failure.hidden ? null : failure.textContent, !document.getElementById('window').hidden];
  });
  return {page, message, box, windowShown};
}

// A PNG of `width` × 1 grey pixels.
function widePng(width) {
  const chunk = (type, data) => {
    const body = Buffer.concat([Buffer.from(type), data]);
    const length = Buffer.alloc(4);
    length.writeUInt32BE(data.length);
    const check = Buffer.alloc(4);
    check.writeUInt32BE(crc32(body));
    return Buffer.concat([length, body, check]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(1, 4);
  header.set([8, 0, 0, 0, 0], 8);
  const row = Buffer.concat([Buffer.from([0]), Buffer.alloc(width, 128)]);
  return Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', header),
                        chunk('IDAT', deflateSync(row)), chunk('IEND', Buffer.alloc(0))]);
}

// The program reports it in an error box with OK alone, which any of its keys closes; the message stays on the page,
// where nothing takes input any more.
test('a required picture missing, damaged, too large or cut off stops the start with a box and a message naming it',
     async (t) => {
  const cases = [
    [{missing: ['Bilder/Up.jpg']}, 'Enter', "cannot load picture './Bilder/Up.jpg': file not found"],
    [{replaced: {'Bilder/Left.jpg': Buffer.from('this is no picture at all, only some text')}}, 'Escape',
     "cannot load picture './Bilder/Left.jpg': the browser cannot decode the picture"],
    [{replaced: {'Bilder/BarkGold.gif': widePng(9000)}}, 'o',
     "cannot load picture './Bilder/BarkGold.gif': picture size 9000 x 1 is out of range"],
    [{broken: ['Bilder/Right.jpg']}, 'Enter', "cannot load picture './Bilder/Right.jpg': file not found"],
  ];
  for (const [options, close, cause] of cases) {
    const {page, message, box, windowShown} = await opened(t, options, close);
    assert.deepEqual(box, ['Tessarin', cause, ['OK']]);
    assert.equal(message, `Tessarin: ${cause}`);
    assert.equal(windowShown, false);
    assert.equal(await page.evaluate(() => document.querySelectorAll('dialog').length), 0);
  }
});

test('without the board background and the pieces the game plays with plain shapes, as on the desktop', async (t) => {
  const gone = ['Background.jpg', 'cross.gif', 'Bullet.gif'];
  const {page, message} = await opened(t, {missing: gone.map((name) => `Bilder/${name}`)});
  assert.equal(message, null);
  const steps = ['new', '1,1', '0,0', '2,2'];
  await play(page, steps);
  const folder = mkdtempSync(join(tmpdir(), 'tessarin-web-'));
  t.after(() => rmSync(folder, {recursive: true}));
  cpSync(join(process.env.TESSARIN_SOURCE, 'Bilder'), join(folder, 'Bilder'), {recursive: true});
  gone.forEach((name) => rmSync(join(folder, 'Bilder', name)));
  assert.equal(differing(await shown(page), reference(steps, folder)), 0);
});

test("the page's files read and decode again as often as asked, and nothing else passes for them", async (t) => {
  const {page} = await opened(t);
  const size = (name) => readFileSync(join(process.env.TESSARIN_PAGE, name)).length;
  const cases = [
    // name, what fileSize says, what decodedPicture says of the file's own bytes
    ['./Bilder/Up.jpg', size('Bilder/Up.jpg'), ''],
    ['Bilder/./cross.gif', size('Bilder/cross.gif'), ''],
    ['./Bilder/../Bilder/BarkGold.gif', size('Bilder/BarkGold.gif'), ''],
    ['./Bilder', -2, null],
    ['.', -2, null],
    ['./Bilder/none.gif', -1, null],
    ['../Bilder/Up.jpg', -1, null],
    ['./tessarin.wasm', -1, null],
  ];
  for (const [name, expected, decoded] of cases) {
    const found = await page.evaluate((name) => {
      const size = TessarinPage.fileSize(name);
      if (size < 0) return {size};
      const read = () => {
        const bytes = new Uint8Array(size);
        TessarinPage.readFile(name, bytes);
        return bytes;
      };
      const take = () => {
        const {width, height, error} = TessarinPage.decodedPicture(name, read());
        const pixels = new Uint8Array(width * height * 4);
        if (!error) TessarinPage.takePicture(name, pixels);
        return {error, pixels};
      };
      const [first, second] = [take(), take()];
      const other = read().map((byte, at) => (at === size - 1 ? byte ^ 1 : byte));
      return {size, error: first.error, again: second.error === first.error &&
                                               second.pixels.every((byte, at) => byte === first.pixels[at]),
              painted: first.pixels.some((byte) => byte !== 0),
              other: TessarinPage.decodedPicture(name, other).error};
    }, name);
    assert.equal(found.size, expected, name);
    if (decoded === null) continue;
    assert.deepEqual(found, {size: expected, error: decoded, again: true, painted: true,
                             other: 'the bytes are not those the page decoded'}, name);
  }
});

test('a missing module or a browser without WebAssembly is said plainly', async (t) => {
  const missing = await opened(t, {missing: ['tessarin.wasm']});
  assert.equal(missing.message, 'Tessarin: its module tessarin.wasm cannot be loaded: HTTP 404');
  const start = readFileSync(join(process.env.TESSARIN_PAGE, 'start.js'), 'utf8');
  const old = await opened(t, {replaced: {'start.js': `delete window.WebAssembly;\n${start}`}});
  assert.equal(old.message, 'Tessarin cannot run in this browser: it needs WebAssembly.');
});

test("a fault in the page's own script stops the game with a message, never a frozen window", async (t) => {
  const {page} = await opened(t);
  // A script of the page's own, so that the browser shows its error unmuted.
  await page.evaluate(() => {
    const script = document.createElement('script');
    script.textContent = "setTimeout(() => { throw new Error('a broken handler'); });";
    document.head.append(script);
  });
  await until(page, () => !document.querySelector('[role=alert]').hidden);
  assert.match(await page.evaluate(() => document.querySelector('[role=alert]').textContent),
               /^Tessarin: the page stopped: (Uncaught )?Error: a broken handler$/);
  await play(page, ['new']);
  assert.equal(await status(page), 'Press new game in the file menu to begin');
  const problems = await page.problems();
  assert.equal(problems.length, 1);
  assert.match(problems[0], /a broken handler$/);
});
