// WebKitGTK's MiniBrowser on an X server of its own, under a window manager, driven by WebKitWebDriver over W3C
// WebDriver classic through selenium-webdriver, with the operations every engine gives (engines.mjs). A context is
// one WebDriver session: a MiniBrowser with a private store of its own. GTK scales a window by a whole factor read at
// its start, so the context's first page sets the device pixel ratio of all its pages. MiniBrowser's toolbar keeps
// its window wider than a phone: a viewport narrower than that is the browser in full screen on an X server of the
// viewport's size, which the context's first page sets too.
import {spawn} from 'node:child_process';
import {createRequire} from 'node:module';

import {decodedPng, onDevicePixels} from './screen.mjs';

const require = createRequire(import.meta.url);
const {Builder, Button, Key, Origin} = require('selenium-webdriver');
const {findFreePort} = require('selenium-webdriver/net/portprober');
const {waitForServer} = require('selenium-webdriver/http/util');

const miniBrowser = process.env.MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const buttons = {left: Button.LEFT, middle: Button.MIDDLE, right: Button.RIGHT};

// A child process that ends with this one, however this one ends.
function child(command, args, options) {
  const spawned = spawn(command, args, options);
  const end = () => spawned.kill();
  process.once('exit', end);
  return {process: spawned, end: () => { process.off('exit', end); end(); }};
}

// The X server takes the first free display, by default with room for a large window at three device pixels per CSS
// pixel. A window manager gives the newest window the focus, as a desktop does; without one no page would have it.
async function xServer(size = '4096x4096') {
  const server = child('Xvfb', ['-displayfd', '3', '-screen', '0', `${size}x24`, '-nolisten', 'tcp'],
                       {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
  const display = await said(server.process, server.process.stdio[3], 'Xvfb');
  const manager = child('openbox', ['--sm-disable', '--startup', 'echo started'],
                        {env: {...process.env, DISPLAY: `:${display}`}, stdio: ['ignore', 'pipe', 'ignore']});
  await said(manager.process, manager.process.stdout, 'openbox');
  return {display: `:${display}`, end: () => { manager.end(); server.end(); }};
}

// The first line a starting process writes to `stream`, trimmed.
const said = (started, stream, name) => new Promise((resolve, reject) => {
  stream.once('data', (data) => resolve(String(data).trim()));
  started.once('exit', (code) => reject(new Error(`${name} ended with status ${code} before it started`)));
});

export async function launchWebKit() {
  const x = await xServer();
  return {context: async () => context(x.display), close: async () => x.end()};
}

// The viewport width under which MiniBrowser's window goes full screen on an X server of the viewport's size.
export const narrowest = 447;

function context(display) {
  let session = null;
  const current = {handle: null};
  return {
    open: async (url, view = {}) => {
      session ??= await started(display, view);
      if ((view.scale ?? 1) !== session.scale) throw new Error('WebKit: the pages of a context share one scale');
      if (session.fullScreen && (view.width !== session.fullScreen.width || view.height !== session.fullScreen.height))
        throw new Error('WebKit: the pages of a context in full screen share one size');
      return opened(session, current, url, view);
    },
    // A browser that went away has ended its session already; the test that saw it go has failed.
    close: async () => {
      if (!session) return;
      await session.driver.quit().catch(() => {});
      session.end();
    },
  };
}

async function started(shared, {width = 600, height = 640, scale = 1}) {
  if (!Number.isInteger(scale)) throw new Error(`WebKit: GTK scales by whole factors only, not ${scale}`);
  const own = width < narrowest ? await xServer(`${width * scale}x${height * scale}`) : null;
  const display = own?.display ?? shared;
  const port = await findFreePort();
  const server = child('WebKitWebDriver', [`--port=${port}`],
                       {env: {...process.env, DISPLAY: display, GDK_SCALE: String(scale)}, stdio: 'ignore'});
  const url = `http://127.0.0.1:${port}/`;
  await waitForServer(url, 20000);
  const driver = await new Builder().usingServer(url).withCapabilities({
    browserName: 'MiniBrowser',
    // The browser's own question on leaving a page that is still playing.
    unhandledPromptBehavior: 'accept',
    timeouts: {pageLoad: 30000},
    'webkitgtk:browserOptions': {binary: miniBrowser, args: own ? ['--automation', '--full-screen'] : ['--automation']},
  }).build();
  // The browser's own bars around the viewport, measured while nothing resizes the window.
  const bars = await driver.executeScript('return [outerWidth - innerWidth, outerHeight - innerHeight]');
  return {driver, scale, bars, fullScreen: own && {width, height}, spare: await driver.getWindowHandle(),
          end: () => { server.end(); own?.end(); }};
}

// WebDriver classic has no script that runs before the page's own, and no log of the page: from each load on, the
// page keeps its uncaught exceptions, refused content and console errors where the test takes them.
function recorder() {
  if (window.tessarinProblems) return;
  const problems = window.tessarinProblems = [];
  addEventListener('error', (event) => { if (event instanceof ErrorEvent) problems.push(event.message); }, true);
  addEventListener('unhandledrejection', (event) => problems.push(String(event.reason)));
  addEventListener('securitypolicyviolation', (event) => problems.push(`refused ${event.blockedURI}`));
  const original = console.error;
  console.error = (...args) => {
    problems.push(args.join(' '));
    original.apply(console, args);
  };
}

const lost = (error) => error.name === 'WebDriverError' && /^(Could not parse script result)?$/.test(error.message);
const keyOf = (name) => (name.length === 1 ? name : Key[name.replace(/([a-z])([A-Z])/g, '$1_$2').toUpperCase()]);

async function opened(session, current, url, {width = 600, height = 640, touch = false}) {
  const {driver} = session;
  if (touch) throw new Error('WebKit: the page sees no touch screen');
  // A window the session keeps blank, or a new one.
  if (session.spare) await driver.switchTo().window(session.spare);
  else await driver.switchTo().newWindow('window');
  session.spare = null;
  const handle = await driver.getWindowHandle();
  current.handle = handle;
  const at = async () => {
    if (current.handle === handle) return;
    await driver.switchTo().window(handle);
    current.handle = handle;
  };
  // The driver at times loses a script's answer while the page starts ('Could not parse script result', or none):
  // the call is asked again under the same number, and the page answers a call it has run with its first result.
  let calls = 0;
  const evaluate = async (script, ...args) => {
    await at();
    const call = ++calls;
    for (let attempt = 1; ; ++attempt) {
      try {
        const result = await driver.executeAsyncScript(`const done = arguments[arguments.length - 1];
          const args = Array.prototype.slice.call(arguments, 0, -1);
          const calls = window.tessarinCalls ??= new Map();
          if (!calls.has(${call})) calls.set(${call}, Promise.resolve().then(() => (${script})(...args)));
          calls.get(${call}).then((value) => done({value}),
                                 (error) => done({error: String(error && error.stack || error)}));`, ...args);
        if ('error' in result) throw new Error(`in the page: ${result.error}`);
        return result.value;
      } catch (error) {
        if (attempt === 3 || !lost(error)) throw error;
      }
    }
  };
  const record = () => evaluate(recorder);
  const taken = [];
  let closed = false;
  const keep = async () => {
    if (!closed) taken.push(...await evaluate(() => window.tessarinProblems?.splice(0) ?? []));
  };
  const navigated = async (go) => {
    await keep();
    await go();
    await record();
  };
  const actions = async (build) => {
    await at();
    await build(driver.actions()).perform();
  };
  await sized(session, width, height);
  await driver.get(url);
  await record();
  return {
    native: driver,
    problems: async () => {
      await keep();
      return taken.splice(0);
    },
    evaluate,
    goto: (address) => navigated(() => driver.get(address)),
    reload: () => navigated(() => driver.navigate().refresh()),
    // WebDriver takes whole CSS pixels.
    click: (x, y, button = 'left') => actions((a) =>
      a.move({x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT}).press(buttons[button])
        .release(buttons[button])),
    tap: () => { throw new Error('WebKit: no touch'); },
    down: (key) => actions((a) => a.keyDown(keyOf(key))),
    up: (key) => actions((a) => a.keyUp(keyOf(key))),
    resize: async (across, down) => {
      if (session.fullScreen) throw new Error('WebKit: a window in full screen on its own X server does not turn');
      await at();
      await sized(session, across, down);
    },
    // The driver's screenshot is the viewport's, in device pixels, as last shown: a canvas drawn since shows once
    // the page has drawn a frame.
    screenshot: async (rect) => {
      const ratio = await evaluate(() =>
        new Promise((shown) => requestAnimationFrame(() => requestAnimationFrame(() => shown(devicePixelRatio)))));
      return decodedPng(Buffer.from(await driver.takeScreenshot(), 'base64'), onDevicePixels(rect, ratio));
    },
    // The session ends with its last window; a blank one keeps it for the context's next page.
    close: async () => {
      await keep();
      if ((await driver.getAllWindowHandles()).length === 1) {
        await driver.switchTo().newWindow('window');
        session.spare = await driver.getWindowHandle();
        await driver.switchTo().window(handle);
      }
      await driver.close();
      closed = true;
      current.handle = null;
    },
  };
}

// The window is sized so that its viewport, inside the browser's own bars, has the size asked for, which the page
// learns a moment later; the toolbar keeps the window from being narrower than itself. A window in full screen has
// the size of its X server.
async function sized({driver, bars: [across, down], fullScreen}, width, height) {
  if (!fullScreen) await driver.manage().window().setRect({width: width + across, height: height + down});
  let shown;
  for (const ends = Date.now() + 5000; Date.now() < ends;) {
    shown = await driver.executeScript('return [innerWidth, innerHeight]');
    if (shown[0] === width && shown[1] === height) return;
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
  throw new Error(`WebKit: MiniBrowser gives a viewport of ${shown.join(' x ')}, not ${width} x ${height}`);
}
