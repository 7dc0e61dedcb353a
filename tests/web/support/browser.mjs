// Debian's Chromium, headless, driven by puppeteer-core; each test gets a page of its own, in a context of its own,
// and every uncaught exception or unhandled rejection on it is kept.
import puppeteer from 'puppeteer-core';

const flags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'];

export async function launch() {
  return puppeteer.launch({executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: flags,
                           protocolTimeout: 60000});
}

export async function openPage(browser, url, {scale = 1} = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error' && !message.text().startsWith('Failed to load resource')) problems.push(message.text());
  });
  await page.setViewport({width: 600, height: 640, deviceScaleFactor: scale});
  await page.goto(url);
  return {page, problems, close: () => context.close()};
}
