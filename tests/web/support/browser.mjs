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

  // `view`: the viewport's width and height, the device pixel ratio (`scale`) and `touch`.
  session.open = async (t, {url = session.server.url, view, beside} = {}) => {
    let context = beside?.context;
    if (!context) {
      context = await session.browser.context();
      context.pages = [];
      t.after(async () => {
        try {
          for (const page of context.pages) assert.deepEqual(await page.problems(), [], 'the page reported problems');
        } finally {
          await context.close();
        }
      });
    }
    const page = await context.open(url, view);
    page.context = context;
    context.pages.push(page);
    await started(page);
    return page;
  };
  return session;
}
