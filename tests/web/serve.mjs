// A plain static file server for the playground's tests and benchmark: the
// site's folder served under a path prefix (the page must work from any
// path), no special headers, nothing but GET and HEAD; Last-Modified and
// If-Modified-Since as every static host has them, so that the browser's
// cache asks again rather than fetching again.
//   node serve.mjs DIR [PREFIX] [PORT]   prints the site's URL, serves until killed
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
};

// Starts the server; resolves to { url, close() }. headers: sent with
// every file besides its own (a host's cross-origin isolation, say); host:
// the address it listens on and names in url; hold(file): a promise the
// answer for that file (a path under root) waits for, or nothing.
export function serve(root, prefix = '/', port = 0, { headers = {}, host = '127.0.0.1', hold = () => null } = {}) {
  const base = prefix.endsWith('/') ? prefix : `${prefix}/`;
  const rootDir = path.resolve(root);
  const server = http.createServer((request, response) => {
    const fail = (status) => {
      response.writeHead(status, { 'content-type': 'text/plain' });
      response.end(String(status));
    };
    if (request.method !== 'GET' && request.method !== 'HEAD') return fail(405);
    let pathname;
    try {
      pathname = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    } catch {
      return fail(400);
    }
    if (!pathname.startsWith(base)) return fail(404);
    let file = path.join(rootDir, pathname.slice(base.length));
    if (file !== rootDir && !file.startsWith(rootDir + path.sep)) return fail(403);
    // The file's answer, once hold lets it go.
    const answer = (file) =>
      fs.stat(file, (error, stat) => {
        if (!error && stat.isDirectory()) {
          file = path.join(file, 'index.html');
        }
        fs.readFile(file, (readError, data) => {
          if (readError) return fail(404);
          const modified = new Date(Math.floor(fs.statSync(file).mtimeMs / 1000) * 1000);
          const since = Date.parse(request.headers['if-modified-since'] ?? '');
          if (!Number.isNaN(since) && modified.getTime() <= since) {
            response.writeHead(304, { 'last-modified': modified.toUTCString() });
            return response.end();
          }
          response.writeHead(200, {
            ...headers,
            'content-type': TYPES[path.extname(file)] ?? 'application/octet-stream',
            'content-length': data.length,
            'last-modified': modified.toUTCString(),
          });
          response.end(request.method === 'HEAD' ? undefined : data);
        });
      });
    Promise.resolve(hold(path.relative(rootDir, file))).then(() => answer(file));
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, host, () => {
      let closed = null;
      resolve({
        url: `http://${host}:${server.address().port}${base}`,
        // Ends at once, kept-alive connections too; again, it does nothing.
        close() {
          closed ??= new Promise((done) => {
            server.close(() => done());
            server.closeAllConnections();
          });
          return closed;
        },
      });
    });
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [root, prefix = '/', port = '0'] = process.argv.slice(2);
  if (!root) {
    console.error('usage: node serve.mjs DIR [PREFIX] [PORT]');
    process.exit(2);
  }
  const { url } = await serve(root, prefix, Number(port));
  console.log(url);
}
