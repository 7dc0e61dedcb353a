// The web page's folder served over HTTP on 127.0.0.1, as any static host would serve it, with what a test
// changes: the page under a sub-path, files that are missing or replaced, headers on every answer.
//   node tools/serve_page.mjs FOLDER [PORT]    serves FOLDER and prints its address
import {createServer} from 'node:http';
import {readFile, stat} from 'node:fs/promises';
import {extname, join, normalize} from 'node:path';
import {fileURLToPath} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml',
  '.png': 'image/png', '.gif': 'image/gif', '.jpg': 'image/jpeg',
};

// `missing`: paths (relative to the page) answered 404; `replaced`: path -> bytes served instead.
export async function serve(root, {prefix = '/', missing = [], replaced = {}, headers = {}, port = 0} = {}) {
  // Otherwise each request would fail alone, unanswered.
  if (typeof root !== 'string' || !(await stat(root).catch(() => null))?.isDirectory()) {
    throw new Error(`serve_page: not a folder: ${root}`);
  }
  const requests = [];
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    requests.push(path);
    const relative = path.startsWith(prefix) ? normalize(path.slice(prefix.length) || 'index.html') : null;
    const file = relative && !relative.startsWith('..') ? relative.replace(/\/$/, '/index.html') : null;
    let body = null;
    if (file && !missing.includes(file)) body = replaced[file] ?? await readFile(join(root, file)).catch(() => null);
    if (!body) {
      response.writeHead(404, headers).end('not found');
      return;
    }
    response.writeHead(200, {'Content-Type': types[extname(file)] ?? 'application/octet-stream', ...headers});
    response.end(body);
  });
  await new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}${prefix}`,
    requests,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const {url} = await serve(process.argv[2], {port: Number(process.argv[3] ?? 8080)});
  console.log(`Tessarin is served at ${url} (Ctrl+C stops it)`);
}
