// First paint of the web page against two pages that only look like it, in headless Chromium with the cache off and a
// fresh browser context (so no service worker) for every load, the pages alternated:
// - the bare page (bench/bare_page/index.html): the same menu bar markup and a 454 × 486 client area whose 385 × 385
//   canvas a few lines of script fill;
// - the floor page (the same with pictures.js): it fetches the game's pictures beside it, as preload hints ask, in
//   parallel, decodes them and draws them into that canvas. No page that shows the board can be faster.
// Each profile loads them all: `desktop` as the machine is, `phone` as phone page-load tests do (a 150 ms round
// trip, 1.6 Mbit/s down and 750 kbit/s up, a processor 4 times slower, a 412 × 823 screen at 1.75 device pixels to
// the CSS pixel). Reports the medians of the time from navigation start to the frame that first shows the board, the
// game page's ratios against the goals (phone: within 1.5 times the floor page; desktop: within 2 times the bare
// page), and where the game page's time goes.
//   node bench/first_paint.mjs [PAGE_FOLDER (build/web/page)] [ROUNDS (15)] [--profile=desktop|phone] [--uncompressed]
// The pages are served by tools/serve_page.mjs, gzipped as a host should (--uncompressed: as one that does not).
// Needs the web build and tests/web's node modules (npm ci there, as ./dev.sh test does).
import {spawn} from 'node:child_process';
import {copyFileSync, cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

import {launchChromium} from '../tests/web/support/puppeteer.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const options = process.argv.slice(2).filter((arg) => arg.startsWith('--'));
const [folder = join(root, 'build/web/page'), asked = '15'] =
  process.argv.slice(2).filter((arg) => !arg.startsWith('--'));
const rounds = Math.max(11, Number(asked));
const uncompressed = options.includes('--uncompressed');

// The phone's are Lighthouse's mobile figures (its screen too), as Chromium's developer tools apply them.
const profiles = {
  desktop: {goal: 2, against: 'bare', viewport: {width: 600, height: 640}},
  phone: {goal: 1.5, against: 'floor', cpu: 4,
          network: {offline: false, latency: 150, downloadThroughput: (1.6 * 1024 * 1024) / 8,
                    uploadThroughput: (750 * 1024) / 8},
          viewport: {width: 412, height: 823, deviceScaleFactor: 1.75, isMobile: true, hasTouch: true}},
};
const picked = options.find((arg) => arg.startsWith('--profile='))?.slice('--profile='.length);
if (picked && !profiles[picked]) throw new Error(`no profile '${picked}': desktop or phone`);
const unknown = options.filter((arg) => arg !== '--uncompressed' && !arg.startsWith('--profile='));
if (unknown.length) throw new Error(`unknown option ${unknown.join(' ')}`);

// Runs in each page before its own scripts: the board's first frame, and the game page's milestones.
function watch() {
  const marks = {};
  const now = () => performance.now();
  const wrap = (owner, name, called, done) => {
    const original = owner[name];
    if (!original) return;
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
      // The comparison pages' board (#board) counts once their script marks it painted.
      if (!document.querySelector('#window:not([hidden]) canvas:not(#board), canvas[data-painted]')) return;
      observer.disconnect();
      marks.shown = now();
      requestAnimationFrame((frame) => resolve({...marks, painted: frame}));
    }).observe(document, {subtree: true, childList: true, attributes: true});
  });
}

async function load(browser, url, profile) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setCacheEnabled(false);
    await page.setViewport(profile.viewport);
    const session = await page.createCDPSession();
    let bytes = 0;
    session.on('Network.loadingFinished', (event) => { bytes += event.encodedDataLength; });
    await session.send('Network.enable');
    if (profile.network) await session.send('Network.emulateNetworkConditions', profile.network);
    if (profile.cpu) await session.send('Emulation.setCPUThrottlingRate', {rate: profile.cpu});
    await page.evaluateOnNewDocument(watch);
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    const marks = await page.evaluate(() => window.firstPaint);
    const resources = await page.evaluate(() => performance.getEntriesByType('resource').map((entry) =>
      ({name: new URL(entry.name).pathname.slice(1), end: entry.responseEnd})));
    const ended = (pattern) => Math.max(...resources.filter((r) => pattern.test(r.name)).map((r) => r.end));
    return {...marks, script: ended(/^tessarin\.js$/), module: ended(/\.wasm$/), pictures: ended(/^Bilder\//), bytes};
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
  const server = spawn(process.execPath, [join(root, 'tools/serve_page.mjs'), served, '0',
                                          ...(uncompressed ? ['--uncompressed'] : [])],
                       {stdio: ['ignore', 'pipe', 'inherit']});
  const said = await new Promise((resolve) => server.stdout.once('data', (data) => resolve(String(data))));
  return {url: said.match(/http:\S+/)[0], close: () => server.kill()};
}

// The bare page and the floor page side by side, with the game's style and pictures.
function comparisonPages() {
  const made = mkdtempSync(join(tmpdir(), 'tessarin-bare-'));
  cpSync(join(root, 'bench/bare_page'), made, {recursive: true});
  copyFileSync(join(folder, 'tessarin.css'), join(made, 'tessarin.css'));
  cpSync(join(folder, 'Bilder'), join(made, 'Bilder'), {recursive: true});
  const hints = readdirSync(join(made, 'Bilder')).map((name) =>
    `<link rel="preload" href="Bilder/${name}" as="image">`);
  const bare = readFileSync(join(made, 'index.html'), 'utf8');
  const floor = bare.replace('<script src="bare.js" defer></script>',
                             ['<script src="pictures.js" defer></script>', ...hints].join('\n'));
  if (floor === bare) throw new Error('bench/bare_page/index.html no longer loads bare.js');
  writeFileSync(join(made, 'floor.html'), floor);
  return made;
}

async function measure(browser, urls, profile) {
  const loads = {game: [], bare: [], floor: []};
  for (const name of Object.keys(loads)) await load(browser, urls[name], profile);  // each once, unmeasured
  for (let round = 0; round < rounds; ++round) {
    for (const name of Object.keys(loads)) loads[name].push(await load(browser, urls[name], profile));
  }
  return loads;
}

function report(name, profile, loads) {
  const at = (page, mark) => median(loads[page].map((marks) => marks[mark]));
  const paint = (page) => at(page, 'painted');
  const ratio = (page) => (paint('game') / paint(page)).toFixed(2);
  const goal = paint('game') <= profile.goal * paint(profile.against) ? 'met' : 'missed';
  console.log(`${name}: first paint, median of ${rounds} alternated loads each, cache off` +
              `${uncompressed ? ', served uncompressed' : ''}: game page ${ms(paint('game'))}, ` +
              `bare page ${ms(paint('bare'))}, floor page ${ms(paint('floor'))}`);
  console.log(`  game / bare ${ratio('bare')}, game / floor ${ratio('floor')}; goal: within ${profile.goal} × the ` +
              `${profile.against} page, ${goal}`);
  console.log(`  bytes on the wire: game page ${at('game', 'bytes')}, floor page ${at('floor', 'bytes')}`);
  console.log('  the game page, median time from navigation start:');
  for (const [mark, what] of [['module', 'tessarin.wasm fetched'], ['pictures', 'pictures fetched'],
                              ['script', 'tessarin.js fetched'], ['compiling', 'module compiling (start.js)'],
                              ['decoding', 'pictures decoding (start.js)'], ['compiled', 'module compiled'],
                              ['decoded', 'pictures decoded'],
                              ['instantiated', 'module instantiated (tessarin.js ran)'],
                              ['shown', 'window shown (main and the load handler done)'],
                              ['painted', 'board painted']]) {
    console.log(`    ${what.padEnd(48)} ${ms(at('game', mark))}`);
  }
}

const comparison = comparisonPages();
const game = await serveApart(folder);
const others = await serveApart(comparison);
const browser = await launchChromium();
try {
  const urls = {game: game.url, bare: others.url, floor: `${others.url}floor.html`};
  for (const name of picked ? [picked] : Object.keys(profiles)) {
    report(name, profiles[name], await measure(browser, urls, profiles[name]));
  }
} finally {
  await browser.close();
  game.close();
  others.close();
  rmSync(comparison, {recursive: true});
}
