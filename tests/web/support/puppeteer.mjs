// Chromium over the DevTools protocol and Firefox over WebDriver BiDi, both through puppeteer-core: a browser
// context per test, and its pages with the operations every engine gives (engines.mjs).
import puppeteer from 'puppeteer-core';

import {decodedPng, onDevicePixels} from './screen.mjs';

const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                       '--disable-background-networking', '--disable-component-update', '--disable-sync',
                       '--disable-dev-shm-usage'];

// Debian's Chromium, headless, as the tests and the first-paint benchmark drive it.
export const launchChromium = () => puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: chromiumFlags, protocolTimeout: 60000});

export const launchFirefox = () => puppeteer.launch({
  browser: 'firefox', executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr', protocolTimeout: 60000});

// The browser, opening contexts whose pages give the operations every engine gives.
export function driven(browser) {
  return {
    context: async () => {
      const context = await browser.createBrowserContext();
      return {open: (url, view) => opened(context, url, view), close: () => context.close()};
    },
    close: () => browser.close(),
  };
}

// The browser's own report of a response that failed is not the page's fault: the page's tests check what it does
// with one.
const browserOwn = /^Failed to load resource/;

async function opened(context, url, {width = 600, height = 640, scale = 1, touch = false} = {}) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error' && !browserOwn.test(message.text())) problems.push(message.text());
  });
  // The browser's own question on leaving a page that is still playing.
  page.on('dialog', (dialog) => dialog.accept());
  // A touch screen is a phone's or a tablet's.
  const viewport = {width, height, deviceScaleFactor: scale, hasTouch: touch, isMobile: touch};
  await page.setViewport(viewport);
  await page.goto(url);
  // Where the browser cannot present a touch screen, puppeteer goes on without one.
  if (touch && !(await page.evaluate(() => navigator.maxTouchPoints > 0))) {
    throw new Error(`${await page.browser().version()}: the page sees no touch screen`);
  }
  return {
    native: page,
    problems: async () => problems.splice(0),
    evaluate: (script, ...args) => page.evaluate(script, ...args),
    goto: async (address) => { await page.goto(address); },
    reload: async () => { await page.reload(); },
    click: (x, y, button = 'left') => page.mouse.click(x, y, {button}),
    tap: (x, y) => page.touchscreen.tap(x, y),
    down: (key) => page.keyboard.down(key),
    up: (key) => page.keyboard.up(key),
    resize: (across, down) => page.setViewport(Object.assign(viewport, {width: across, height: down})),
    screenshot: async (rect) => decodedPng(await page.screenshot({captureBeyondViewport: false}),
                                           onDevicePixels(rect, await page.evaluate(() => devicePixelRatio))),
    close: () => page.close(),
  };
}
