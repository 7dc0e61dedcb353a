// Debian's Chromium, headless, driven by puppeteer-core; each test gets a page of its own, in a context of its own,
// and every uncaught exception or unhandled rejection on it is kept.
import assert from 'node:assert/strict';
import {after, before} from 'node:test';
import puppeteer from 'puppeteer-core';

import {serve} from '../../../tools/serve_page.mjs';
import {started} from './game.mjs';

const flags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'];

export async function launch() {
  return puppeteer.launch({executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: flags,
                           protocolTimeout: 60000});
}

export async function openPage(browser, url, {scale = 1, viewport = {width: 600, height: 640, deviceScaleFactor: scale}} = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error' && !message.text().startsWith('Failed to load resource')) problems.push(message.text());
  });
  await page.setViewport(viewport);
  await page.goto(url);
  return {page, problems, close: () => context.close()};
}

// One browser and one server of the built page for a test file; `open` gives a test the page, started, in a context
// of its own whose uncaught exceptions fail the test.
export function browsing() {
  const session = {};
  before(async () => {
    session.browser = await launch();
    session.server = await serve(process.env.TESSARIN_PAGE);
  });
  after(async () => {
    await session.browser.close();
    await session.server.close();
  });
  session.open = async (t, options = {}, url = session.server.url) => {
    const opened = await openPage(session.browser, url, options);
    t.after(async () => {
      assert.deepEqual(opened.problems, []);
      await opened.close();
    });
    await started(opened.page);
    return opened.page;
  };
  return session;
}
