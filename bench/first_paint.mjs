// First paint of the web page against a bare page that only looks like it (bench/bare_page/: the same menu
// bar markup and a 454 × 486 client area whose 385 × 385 canvas a few lines of script fill), in headless
// Chromium with the cache off and a fresh browser context (so no service worker) for every load, the two pages
// alternated. Reports the medians of the time from navigation start to the frame that first shows the board, their
// ratio, and for the game's page where that time goes.
//   node bench/first_paint.mjs [PAGE_FOLDER (build/web/page)] [ROUNDS (15)]
// Needs the web build and tests/web's node modules (npm ci there, as ./dev.sh test does).
import {spawn} from 'node:child_process';
import {copyFileSync, cpSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

import {launchChromium} from '../tests/web/support/puppeteer.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const folder = process.argv[2] ?? join(root, 'build/web/page');
const rounds = Math.max(11, Number(process.argv[3] ?? 15));

// Runs in each page before its own scripts: the board's first frame, and the game page's milestones.
function watch() {
  const marks = {};
  const now = () => performance.now();
  const wrap = (owner, name, called, done) => {
    const original = owner[name];
    owner[name] = function (...args) {
      called();
      return original.apply(this, args).then((result) => { done(); return result; });
    };
  };
  const first = (name) => () => { marks[name] ??= now(); };
  const last = (name) => () => { marks[name] = Math.max(marks[name] ?? 0, now()); };
  wrap(WebAssembly, 'compileStreaming', first('compiling'), last('compiled'));
  wrap(WebAssembly, 'compile', first('compiling'), last('compiled'));
  wrap(WebAssembly, 'instantiate', () => {}, last('instantiated'));
  wrap(WebAssembly, 'instantiateStreaming', () => {}, last('instantiated'));
  wrap(window, 'createImageBitmap', first('decoding'), last('decoded'));
  window.firstPaint = new Promise((resolve) => {
    new MutationObserver((changes, observer) => {
      if (!document.querySelector('#window:not([hidden]) canvas, canvas[data-painted]')) return;
      observer.disconnect();
      marks.shown = now();
      requestAnimationFrame((frame) => resolve({...marks, painted: frame}));
    }).observe(document, {subtree: true, childList: true, attributes: true});
  });
}

async function load(browser, url) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setCacheEnabled(false);
    await page.setViewport({width: 600, height: 640});
    await page.evaluateOnNewDocument(watch);
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    const marks = await page.evaluate(() => window.firstPaint);
    const resources = await page.evaluate(() => performance.getEntriesByType('resource').map(
      (entry) => ({name: new URL(entry.name).pathname.slice(1), start: entry.startTime, end: entry.responseEnd})));
    const ended = (pattern) => Math.max(...resources.filter((r) => pattern.test(r.name)).map((r) => r.end));
    return {...marks, script: ended(/^tessarin\.js$/), module: ended(/\.wasm$/), pictures: ended(/^Bilder\//)};
  } finally {
    await context.close();
  }
}

const median = (values) => {
  const sorted = values.filter(Number.isFinite).toSorted((a, b) => a - b);
  return sorted.length ? sorted[Math.floor(sorted.length / 2)] : NaN;
};
const ms = (value) => `${value.toFixed(1)} ms`;

// Each page from a server process of its own, so that the driver's work never delays an answer.
async function serveApart(served) {
  const server = spawn(process.execPath, [join(root, 'tools/serve_page.mjs'), served, '0'],
                       {stdio: ['ignore', 'pipe', 'inherit']});
  const said = await new Promise((resolve) => server.stdout.once('data', (data) => resolve(String(data))));
  return {url: said.match(/http:\S+/)[0], close: () => server.kill()};
}

const barePage = mkdtempSync(join(tmpdir(), 'tessarin-bare-'));
cpSync(join(root, 'bench/bare_page'), barePage, {recursive: true});
copyFileSync(join(folder, 'tessarin.css'), join(barePage, 'tessarin.css'));
const game = await serveApart(folder);
const bare = await serveApart(barePage);
const browser = await launchChromium();
const ours = [];
const theirs = [];
try {
  await load(browser, game.url);  // one load of each unmeasured, so both start with a warm browser
  await load(browser, bare.url);
  for (let round = 0; round < rounds; ++round) {
    ours.push(await load(browser, game.url));
    theirs.push(await load(browser, bare.url));
  }
} finally {
  await browser.close();
  game.close();
  bare.close();
  rmSync(barePage, {recursive: true});
}

const at = (name) => median(ours.map((marks) => marks[name]));
const [ourPaint, barePaint] = [at('painted'), median(theirs.map((marks) => marks.painted))];
console.log(`first paint, median of ${rounds} alternated loads each, cache off: game page ${ms(ourPaint)}, ` +
            `bare page ${ms(barePaint)}, ratio ${(ourPaint / barePaint).toFixed(2)}`);
console.log('the game page, median time from navigation start:');
for (const [name, what] of [['module', 'tessarin.wasm fetched'], ['pictures', 'pictures fetched'],
                            ['script', 'tessarin.js fetched'], ['compiling', 'module compiling (start.js)'],
                            ['decoding', 'pictures decoding (start.js)'], ['compiled', 'module compiled'],
                            ['decoded', 'pictures decoded'], ['instantiated', 'module instantiated (tessarin.js ran)'],
                            ['shown', 'window shown (main and the load handler done)'], ['painted', 'board painted']]) {
  console.log(`  ${what.padEnd(48)} ${ms(at(name))}`);
}
