// What the page does when its files fail it: a required picture missing, damaged, too large or cut off, optional
// pictures missing, the module missing, a browser without WebAssembly. Always a plain message or a playable board.
// And the files it fetched, which stay the program's folder: read and decoded as often as the program asks.
import assert from 'node:assert/strict';
import {cpSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {crc32, deflateSync} from 'node:zlib';

import {launch, openPage} from './support/browser.mjs';
import {differing, play, prompt, reference, shown, started} from './support/game.mjs';
import {serve} from '../../tools/serve_page.mjs';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

// The page served with `options`, opened in a fresh context; the message it shows, or null once the window shows.
// A box the program shows first, its title, prompt and buttons, is closed with `close`, a key.
async function opened(t, options = {}, prepare = async () => {}, close = 'Enter') {
  const server = await serve(process.env.TESSARIN_PAGE, options);
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  await prepare(page);
  await page.goto(server.url);
  await started(page);
  t.after(async () => {
    assert.deepEqual(problems, []);
    await context.close();
    await server.close();
  });
  let box = null;
  if (await page.$('dialog[open]')) {
    box = [await page.$eval('dialog .title', (title) => title.textContent), await prompt(page),
           await page.$$eval('dialog button', (buttons) => buttons.map((button) => button.textContent))];
    await page.keyboard.press(close);
    await page.waitForSelector('#failure:not([hidden])');
  }
  const message = await page.$eval('#failure', (failure) => (failure.hidden ? null : failure.textContent));
  return {page, message, box, windowShown: (await page.$('#window:not([hidden])')) !== null};
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
    const {page, message, box, windowShown} = await opened(t, options, undefined, close);
    assert.deepEqual(box, ['Tessarin', cause, ['OK']]);
    assert.equal(message, `Tessarin: ${cause}`);
    assert.equal(windowShown, false);
    assert.equal(await page.$$eval('dialog', (boxes) => boxes.length), 0);
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
  const old = await opened(t, {}, (page) => page.evaluateOnNewDocument(() => { delete window.WebAssembly; }));
  assert.equal(old.message, 'Tessarin cannot run in this browser: it needs WebAssembly.');
});

test("a fault in the page's own script stops the game with a message, never a frozen window", async (t) => {
  const server = await serve(process.env.TESSARIN_PAGE);
  const {page, problems, close} = await openPage(browser, server.url);
  t.after(async () => {
    await close();
    await server.close();
  });
  await started(page);
  await page.addScriptTag({content: "setTimeout(() => { throw new Error('a broken handler'); });"});
  await page.waitForSelector('[role=alert]:not([hidden])');
  assert.equal(await page.$eval('[role=alert]', (alert) => alert.textContent),
               'Tessarin: the page stopped: Uncaught Error: a broken handler');
  await play(page, ['new']);
  assert.equal(await page.$eval('[role=status]', (s) => s.textContent), 'Press new game in the file menu to begin');
  assert.deepEqual(problems, ['a broken handler']);
});
