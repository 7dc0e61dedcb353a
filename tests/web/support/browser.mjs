// The one way the page's tests set up a browser: one browser of the test file's engine (engines.mjs) and one server
// of the built page a test file. `open` gives a test a page, started, in a context of its own (or beside another
// page, sharing its storage); every uncaught exception and console error on it fails the test, unless the test took
// it first (page.problems()).
import assert from 'node:assert/strict';
import {after, before} from 'node:test';

import {serve} from '../../../tools/serve_page.mjs';
import {launch} from './engines.mjs';
import {started} from './game.mjs';

export function browsing() {
  const session = {};
  before(async () => {
    session.browser = await launch();
    session.server = await serve(process.env.TESSARIN_PAGE);
  });
  after(async () => {
    await session.browser?.close();
    await session.server?.close();
  });

  // A server of the page (or of the folder `root`) for this test alone: `options` as serve_page.mjs takes them.
  session.serve = async (t, {root = process.env.TESSARIN_PAGE, ...options} = {}) => {
    const server = await serve(root, options);
    t.after(() => server.close());
    return server;
  };

  // A context whose pages' problems fail the test, closed after it.
  const contextFor = async (t) => {
    const context = await session.browser.context();
    context.pages = [];
    t.after(async () => {
      try {
        for (const page of context.pages) assert.deepEqual(await page.problems(), [], 'the page reported problems');
      } finally {
        await context.close();
      }
    });
    return context;
  };

  // `view`: the viewport's width and height, the device pixel ratio (`scale`) and `touch`. WebKitGTK 2.50's page
  // process at times dies while the page starts, its shader compiler failing on its own shaders ("integer is too
  // large: 255") on this machine's software GL; that start is said and made once more in a new context.
  session.open = async (t, {url = session.server.url, view, beside} = {}, again = true) => {
    const context = beside?.context ?? await contextFor(t);
    let page;
    try {
      page = await context.open(url, view);
      await started(page);
    } catch (error) {
      if (beside || !again || !/page crash/.test(error.message)) throw error;
      t.diagnostic(`the browser's page process ended while the page started (${error.message}); opened again`);
      return session.open(t, {url, view}, false);
    }
    page.context = context;
    context.pages.push(page);
    return page;
  };
  return session;
}
