// First paint of the web page against a bare page that only looks like it (bench/bare_page/: the same menu bar
// markup and a 454 × 486 client area whose 385 × 385 canvas a few lines of script fill), in headless Chromium with the
// cache off and a fresh browser context (so no service worker) for every load, the two pages alternated. Reports the
// medians of the time from navigation start to the frame that first shows the board, their ratio, and for the game's
// page where that time goes.
//   node bench/first_paint.mjs [PAGE_FOLDER (build/web/page)] [ROUNDS (15)]
// Needs the web build and tests/web's node modules (npm ci there, as ./dev.sh test does).
import {readFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

import {launch} from '../tests/web/support/browser.mjs';
import {serve} from '../tools/serve_page.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const folder = process.argv[2] ?? join(root, 'build/web/page');
const rounds = Math.max(11, Number(process.argv[3] ?? 15));

// Runs in each page before its own scripts: the board's first frame, and the game page's milestones.
function watch() {
  const marks = {};
  const now = () => performance.now();
  const wrap = (owner, name, mark) => {
    const original = owner[name];
    owner[name] = function (...args) {
      return original.apply(this, args).then((result) => { mark(); return result; });
    };
  };
  wrap(WebAssembly, 'instantiateStreaming', () => { marks.instantiated = now(); });
  wrap(WebAssembly, 'instantiate', () => { marks.instantiated = now(); });
  wrap(window, 'createImageBitmap', () => { marks.decoded = Math.max(marks.decoded ?? 0, now()); });
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
    const started = (pattern) => Math.min(...resources.filter((r) => pattern.test(r.name)).map((r) => r.start));
    return {...marks, started: started(/^Bilder\//), script: ended(/^tessarin\.js$/), module: ended(/\.wasm$/),
            pictures: ended(/^Bilder\//)};
  } finally {
    await context.close();
  }
}

const median = (values) => {
  const sorted = values.filter(Number.isFinite).toSorted((a, b) => a - b);
  return sorted.length ? sorted[Math.floor(sorted.length / 2)] : NaN;
};
const ms = (value) => `${value.toFixed(1)} ms`;

const game = await serve(folder);
const bare = await serve(join(root, 'bench/bare_page'), {replaced: {'tessarin.css': readFileSync(join(folder, 'tessarin.css'))}});
const browser = await launch();
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
  await game.close();
  await bare.close();
}

const at = (name) => median(ours.map((marks) => marks[name]));
const [page, barePage] = [at('painted'), median(theirs.map((marks) => marks.painted))];
console.log(`first paint, median of ${rounds} alternated loads each, cache off: game page ${ms(page)}, ` +
            `bare page ${ms(barePage)}, ratio ${(page / barePage).toFixed(2)}`);
console.log('the game page, median time from navigation start:');
for (const [name, what] of [['started', 'start script running (first picture asked)'],
                            ['script', 'tessarin.js fetched'], ['module', 'tessarin.wasm fetched'], ['instantiated', 'module compiled and instantiated'],
                            ['pictures', 'pictures fetched'], ['decoded', 'pictures decoded'],
                            ['shown', 'window shown (main and the load handler done)'], ['painted', 'board painted']]) {
  console.log(`  ${what.padEnd(48)} ${ms(at(name))}`);
}
