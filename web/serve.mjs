// Serves a folder on 127.0.0.1: node web/serve.mjs FOLDER [PORT]. Prints the
// address once it listens (port 0 takes a free one). Every answer asks the
// browser to revalidate (an ETag makes that cheap), so a published release
// reaches the service worker.
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
};

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (!file.startsWith(root + '/') || request.method !== 'GET') {
      response.writeHead(request.method === 'GET' ? 404 : 405).end();
      return;
    }
    let body;
    try {
      body = await readFile(file);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
      return;
    }
    const type = TYPES[extname(file)] || 'application/octet-stream';
    const etag = `"${createHash('sha256').update(body).digest('base64url').slice(0, 16)}"`;
    const headers = { 'Content-Type': type, 'Cache-Control': 'no-cache', ETag: etag };
    if (request.headers['if-none-match'] === etag) {
      response.writeHead(304, headers).end();
      return;
    }
    if (!type.startsWith('image/') && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      body = gzipSync(body, { level: 9 });
      headers['Content-Encoding'] = 'gzip';
    }
    response.writeHead(200, headers).end(body);
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node serve.mjs FOLDER [PORT]');
    process.exit(64);
  }
  const server = await serve(folder, Number(port || 0));
  console.log(`Qilo: http://127.0.0.1:${server.address().port}/`);
}
