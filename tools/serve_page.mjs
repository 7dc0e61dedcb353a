// The web page's folder served over HTTP on 127.0.0.1, as any static host would serve it, with what a test
// changes: the page under a sub-path, files that are missing or replaced, headers on every answer. Text and the
// module go gzipped to a browser that takes it, as README asks of a host; `--uncompressed` (compress: false) serves
// every file as it lies, as a host that does not compress would.
//   node tools/serve_page.mjs FOLDER [PORT] [--uncompressed]    serves FOLDER and prints its address
import {createServer} from 'node:http';
import {readFile, stat} from 'node:fs/promises';
import {extname, join, normalize} from 'node:path';
import {fileURLToPath} from 'node:url';
import {gzipSync} from 'node:zlib';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml',
  '.png': 'image/png', '.gif': 'image/gif', '.jpg': 'image/jpeg',
};
// Pictures are compressed already; gzip would only cost time.
const compressible = new Set(['.html', '.js', '.css', '.wasm', '.json', '.webmanifest', '.svg']);

// What a host that keeps a gzipped copy beside each file (gzip -9) sends: the copy, made again only when the file
// changed, so that no answer waits for the compression.
function gzipper() {
  const kept = new Map();
  return (file, body) => {
    const copy = kept.get(file);
    if (copy && copy.source.equals(body)) return copy.body;
    kept.set(file, {source: body, body: gzipSync(body, {level: 9})});
    return kept.get(file).body;
  };
}

// `missing`: paths (relative to the page) answered 404; `replaced`: path -> bytes served instead; `broken`: paths
// whose answer breaks off after half of the body, as a dropped connection does.
export async function serve(root, {prefix = '/', missing = [], replaced = {}, broken = [], headers = {}, port = 0,
                                   compress = true} = {}) {
  // Otherwise each request would fail alone, unanswered.
  if (typeof root !== 'string' || !(await stat(root).catch(() => null))?.isDirectory()) {
    throw new Error(`serve_page: not a folder: ${root}`);
  }
  const requests = [];
  const gzipped = gzipper();
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
    body = Buffer.from(body);
    const type = {'Content-Type': types[extname(file)] ?? 'application/octet-stream'};
    if (compress && compressible.has(extname(file))) {
      type.Vary = 'Accept-Encoding';
      if (/\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
        body = gzipped(file, body);
        type['Content-Encoding'] = 'gzip';
      }
    }
    response.writeHead(200, {...type, 'Content-Length': body.length, ...headers});
    if (broken.includes(file)) {
      response.write(body.subarray(0, body.length >> 1), () => response.destroy());
      return;
    }
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
  const [folder, port = '8080'] = process.argv.slice(2).filter((arg) => !arg.startsWith('--'));
  const {url} = await serve(folder, {port: Number(port), compress: !process.argv.includes('--uncompressed')});
  console.log(`Tessarin is served at ${url} (Ctrl+C stops it)`);
}
