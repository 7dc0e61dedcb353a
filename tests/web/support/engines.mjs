// The browser engines the page's tests run in, one a test file (TESSARIN_ENGINE, Chromium unless named), and what
// each cannot show. Each launches a browser that opens contexts; a context opens pages at a viewport size, a device
// pixel ratio and on a touch screen (`{width, height, scale, touch}`), and a page gives the same few operations in
// every engine:
//   evaluate(function, ...args)     the function's result in the page, awaited; JSON values in and out
//   click(x, y, button)             a press and release of 'left', 'middle' or 'right' at CSS pixels of the viewport
//   tap(x, y)                       a touch there
//   down(key), up(key)              a key by its KeyboardEvent key name ('ArrowDown', 'F10', 'Alt', ' ', 'y')
//   screenshot({x, y, width, height})   the viewport's rectangle, in device pixels: {width, height, rgb}
//   resize(width, height)           the viewport's new size, as when a phone turns
//   goto(url), reload(), close()    a reload passes the browser's question on leaving the page
//   problems()                      the uncaught exceptions and console errors since the last call, taken
//   native                          the engine's own page (puppeteer's) or driver (selenium's)
import {driven, launchChromium, launchFirefox} from './puppeteer.mjs';
import {launchWebKit, narrowest} from './webkit.mjs';

const engines = {
  chromium: {launch: async () => driven(await launchChromium()), lacks: {}},
  firefox: {
    launch: async () => driven(await launchFirefox()),
    lacks: {
      devtools: 'Firefox speaks WebDriver BiDi, not the DevTools protocol that gives the accessibility tree, the ' +
                "page's installability and emulated media features",
      touchScreen: 'its WebDriver BiDi cannot emulate a touch screen: a tap arrives as touch pointer events, but the ' +
                   'page sees no touch points and a fine pointer',
    },
  },
  webkit: {
    launch: launchWebKit,
    lacks: {
      devtools: "WebDriver classic gives no accessibility tree, installability or emulated media features",
      touch: "WebKitGTK's driver plays a touch as a mouse press without pointer events",
      touchScreen: 'the window has no touch points',
      otherButtons: "WebKitGTK's driver releases every button as the left one, so that a right press stays down, " +
                    'and presses the middle one without pointer events; real X presses give the page both',
      fractionalScale: 'GTK scales a window by a whole factor only',
      turnNarrow: `a viewport narrower than MiniBrowser's toolbar (${narrowest} CSS pixels) is its window in full ` +
                  'screen on an X server of that size, which does not turn',
      tinyViewport: "MiniBrowser's window is never narrower than 334 CSS pixels, even in full screen",
    },
    narrowest,
    tiniest: 334,
  },
};

export const engineName = process.env.TESSARIN_ENGINE ?? 'chromium';
const engine = engines[engineName];
if (!engine) throw new Error(`TESSARIN_ENGINE=${engineName}: no such engine (${Object.keys(engines).join(', ')})`);

export const launch = engine.launch;

// Why this engine cannot show `what` (a reason to skip a test with), or false where it can.
export const lacking = (what) => (engine.lacks[what] ? `${engineName}: ${engine.lacks[what]}` : false);

// Why this engine cannot open a page at `view` (as a context's open takes it), or false where it can.
export const lackingView = ({width = 600, scale = 1, touch = false}) =>
  (touch && lacking('touchScreen')) || (!Number.isInteger(scale) && lacking('fractionalScale')) ||
  (width < (engine.tiniest ?? 0) && lacking('tinyViewport'));

// Why this engine cannot turn a page at `view` (swap its width and height), or false where it can.
export const lackingTurn = ({width = 600, height = 640}) =>
  Math.min(width, height) < (engine.narrowest ?? 0) && lacking('turnNarrow');
