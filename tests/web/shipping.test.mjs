// The page as it ships: the zip's contents played under a sub-path, the size budget, offline play after one visit
// and a new release taking over, and a strict content security policy with nothing asked of another origin.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync} from 'node:fs';
import {get} from 'node:http';
import {tmpdir} from 'node:os';
import {basename, join} from 'node:path';
import {test} from 'node:test';
import {gunzipSync, gzipSync} from 'node:zlib';

import {browsing} from './support/browser.mjs';
import {lacking} from './support/engines.mjs';
import {chord, play, started, status, until} from './support/game.mjs';
import {serve} from '../../tools/serve_page.mjs';

const folder = process.env.TESSARIN_PAGE;
const budget = 100 * 1000;  // gzipped bytes of the page's own files
const ownFiles = ['index.html', 'tessarin.css', 'start.js', 'tessarin.js', 'tessarin.wasm', 'sw.js',
                  'tessarin.webmanifest'];
const icons = ['icons/tessarin.svg', 'icons/tessarin-128.png', 'icons/tessarin-256.png'];
const pictures = readdirSync(join(process.env.TESSARIN_SOURCE, 'Bilder')).map((name) => `Bilder/${name}`);
const csp = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' blob: data:";

const session = browsing();

const workerReady = (page) => page.evaluate(async () => (await navigator.serviceWorker.ready).active.scriptURL);
const cacheNames = (page) => page.evaluate(() => caches.keys());

async function reload(page) {
  await page.reload();
  await started(page);
}

// The zip's entries, and its page unpacked and served under a sub-path.
async function unpacked(t) {
  const zip = process.env.TESSARIN_WEB_ZIP;
  const top = basename(zip, '.zip');
  const cmake = process.env.CMAKE_COMMAND;
  const entries = execFileSync(cmake, ['-E', 'tar', 'tf', zip], {encoding: 'utf8'}).trim().split('\n');
  const into = mkdtempSync(join(tmpdir(), 'tessarin-zip-'));
  t.after(() => rmSync(into, {recursive: true}));
  execFileSync(cmake, ['-E', 'tar', 'xf', zip], {cwd: into});
  const server = await session.serve(t, {root: join(into, top), prefix: '/games/tessarin/'});
  return {top, entries, server};
}

test('the zip holds the page in a folder of its name, relative paths only, and plays under any sub-path', async (t) => {
  const {top, entries, server} = await unpacked(t);
  const expected = [...ownFiles, ...icons, ...pictures].map((file) => `${top}/${file}`);
  assert.deepEqual(entries.toSorted(), expected.toSorted());
  const page = await session.open(t, {url: server.url});
  await play(page, ['new', '1,1', '0,0']);
  assert.equal(await status(page), "It's player blues turn");
  assert.match(await workerReady(page), /\/games\/tessarin\/sw\.js$/);
  assert.deepEqual(server.requests.filter((path) => !path.startsWith('/games/tessarin/')), []);
});

test('the page as the zip holds it is installable', {skip: lacking('devtools')}, async (t) => {
  const {server} = await unpacked(t);
  const page = await session.open(t, {url: server.url});
  await workerReady(page);
  const devtools = await page.native.createCDPSession();
  const {installabilityErrors} = await devtools.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors.filter((error) => error.errorId !== 'in-incognito'), []);
});

test("the page's own files stay within the size budget gzipped, and are all it fetches besides pictures", async (t) => {
  const sizes = Object.fromEntries(ownFiles.map((file) =>
    [file, gzipSync(readFileSync(join(folder, file)), {level: 9}).length]));
  const total = Object.values(sizes).reduce((sum, size) => sum + size, 0);
  assert.ok(total <= budget, `${total} bytes gzipped, over ${budget}: ${JSON.stringify(sizes)}`);
  const server = await session.serve(t);
  const page = await session.open(t, {url: server.url});
  await workerReady(page);
  const fetched = new Set(server.requests.map((path) => path.slice(1) || 'index.html'));
  assert.deepEqual([...fetched].filter((file) => !ownFiles.includes(file) && !/^(Bilder|icons)\//.test(file)), []);
});

test('after one visit the page plays with the network gone, Ctrl+N starts a game, and a new release replaces the ' +
     'old one cleanly', async (t) => {
  let server = await serve(folder);
  const port = Number(new URL(server.url).port);
  const first = await session.open(t, {url: server.url});
  await workerReady(first);
  const [kept] = await cacheNames(first);
  await server.close();
  await reload(first);
  await chord(first, 'Control', 'n');
  await play(first, ['1,1']);
  assert.equal(await status(first), "It's player reds turn");

  const worker = readFileSync(join(folder, 'sw.js'), 'utf8');
  const next = worker.replace(/const release = '[^']*'/, "const release = 'next'");
  assert.notEqual(next, worker);
  server = await serve(folder, {port, replaced: {'sw.js': next}});
  t.after(() => server.close());
  await reload(first);
  await first.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
  await until(first, async () => (await navigator.serviceWorker.getRegistration()).waiting !== null);
  await first.close();
  const second = await session.open(t, {url: server.url, beside: first});
  await until(second, async (old) => {
    const names = await caches.keys();
    return names.length === 1 && names[0] !== old && names[0].endsWith(' next');
  }, kept);
});

// What the page fetched, the service worker's answers among them, as the page's own resource timing lists it.
test('the server sends what a static host that compresses would: text and the module gzipped when asked', async (t) => {
  const cases = [
    // path, what the browser accepts, whether the server compresses, whether the answer comes gzipped
    ['tessarin.wasm', 'gzip, deflate, br', true, true],
    ['', 'gzip', true, true],
    ['tessarin.js', 'deflate', true, false],
    ['Bilder/BarkGold.gif', 'gzip', true, false],
    ['tessarin.css', 'gzip', false, false],
  ];
  for (const [path, accepted, compress, gzipped] of cases) {
    const server = await serve(folder, {compress});
    t.after(() => server.close());
    const answer = await new Promise((resolve, reject) => {
      get(server.url + path, {headers: {'Accept-Encoding': accepted}}, (response) => {
        const parts = [];
        response.on('data', (part) => parts.push(part));
        response.on('end', () => resolve({headers: response.headers, body: Buffer.concat(parts)}));
      }).on('error', reject);
    });
    const expected = readFileSync(join(folder, path || 'index.html'));
    assert.equal(answer.headers['content-encoding'], gzipped ? 'gzip' : undefined, path);
    assert.equal(Number(answer.headers['content-length']), answer.body.length, path);
    assert.deepEqual(gzipped ? gunzipSync(answer.body) : answer.body, expected, path);
  }
});

test('under a strict content security policy the page plays and asks nothing of another origin', async (t) => {
  const server = await session.serve(t, {headers: {'Content-Security-Policy': csp}});
  const page = await session.open(t, {url: server.url});
  await play(page, ['computer', '1,1', 'red-begins', '0,0']);
  assert.equal(await status(page), "It's player blues turn");
  const origins = await page.evaluate(() => [...new Set([location.href, ...performance.getEntriesByType('resource')
    .map((entry) => entry.name)].map((address) => new URL(address).origin))]);
  assert.deepEqual(origins, [new URL(server.url).origin]);
});

test('the page server refuses a folder that is not there, rather than leave each request unanswered', async () => {
  await assert.rejects(serve(join(folder, 'no such folder')), /^Error: serve_page: not a folder: /);
  await assert.rejects(serve(undefined), /^Error: serve_page: not a folder: undefined$/);
});
