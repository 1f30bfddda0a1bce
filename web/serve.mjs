// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Serves a folder on 127.0.0.1, as `make web-run` does and the page's
// tests and bench do: GET and HEAD of its files only, each with its media
// type (browsers compile WebAssembly while it arrives only as
// application/wasm) and never a file outside the folder; on request
// compressed, as a real host sends it, for the bench.
//
//   node serve.mjs <folder> [port]          serves until stopped
//   const site = await serve(folder);       site.address, site.stop(), site.start()
//   await serve(folder, { compress: true }); Brotli or gzip, as the browser accepts

import { createReadStream, readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';
import { brotliCompressSync, gzipSync } from 'node:zlib';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.json': 'application/json',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
    '.woff2': 'font/woff2',
    '.txt': 'text/plain; charset=utf-8',
};

// Text and WebAssembly shrink; the faces and pictures are compressed already.
const compressible = new Set(['.html', '.js', '.mjs', '.css', '.json', '.wasm', '.webmanifest', '.svg', '.txt']);
const coders = { br: brotliCompressSync, gzip: (bytes) => gzipSync(bytes, { level: 9 }) };

// Brotli where the browser takes it, else gzip, else nothing: a coding
// it lists without q=0.
function coding(request) {
    const accepted = (request.headers['accept-encoding'] ?? '').toLowerCase().split(',')
        .map((part) => part.trim().split(/\s*;\s*/))
        .filter(([, ...parameters]) => !parameters.some((parameter) => /^q=0(\.0*)?$/.test(parameter)))
        .map(([name]) => name);
    return Object.keys(coders).find((name) => accepted.includes(name));
}

function handler(root, headers, hold, compress) {
    // Each file compressed once, as a host keeps it, until it changes.
    const kept = new Map();
    const compressed = (file, encoding) => {
        const key = `${encoding} ${statSync(file).mtimeMs} ${file}`;
        if (!kept.has(key))
            kept.set(key, coders[encoding](readFileSync(file)));
        return kept.get(key);
    };
    return (request, response) => {
        if (request.method !== 'GET' && request.method !== 'HEAD') {
            response.writeHead(405, { Allow: 'GET, HEAD' }).end();
            return;
        }
        let path;
        try {
            path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        } catch {
            response.writeHead(400).end();
            return;
        }
        let file = normalize(join(root, path));
        if (file !== root && !file.startsWith(root + sep)) {
            response.writeHead(404).end();
            return;
        }
        try {
            if (statSync(file).isDirectory())
                file = join(file, 'index.html');
            const size = statSync(file).size;
            const held = request.method === 'GET' && hold(path);
            // A file held back in part goes as it is.
            const encoding = compress && !held && compressible.has(extname(file)) ? coding(request) : undefined;
            const body = encoding && compressed(file, encoding);
            response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                'Content-Length': body ? body.length : size, ...(compress ? { Vary: 'Accept-Encoding' } : {}),
                ...(encoding ? { 'Content-Encoding': encoding } : {}), ...headers(path) });
            if (request.method === 'HEAD')
                response.end();
            else if (held)
                sendHeld(file, held, response);
            else if (body)
                response.end(body);
            else
                createReadStream(file).pipe(response);
        } catch {
            response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('Not found\n');
        }
    };
}

// The file up to the first `before` in it (all of it held where that is
// empty), then the rest once `until` has settled.
async function sendHeld(file, { before, until }, response) {
    const bytes = readFileSync(file);
    const at = Math.max(0, bytes.indexOf(before));
    response.write(bytes.subarray(0, at));
    await until;
    response.end(bytes.subarray(at));
}

// `headers(path)` adds headers of the caller's to each file served.
// `hold(path)` may hold a file back in part, as a slow network does, for a
// test of what the page shows meanwhile: { before, until } sends it up to
// the text `before` and the rest once the promise `until` has settled.
// `compress` sends text and WebAssembly compressed where the browser
// accepts it.
export async function serve(folder, { port = 0, headers = () => ({}), hold = () => null, compress = false } = {}) {
    const root = normalize(folder).replace(/\/+$/, '');
    const server = createServer(handler(root, headers, hold, compress));
    const listen = (at) => new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(at, '127.0.0.1', () => resolve(server.address().port));
    });
    const bound = await listen(port);
    return {
        address: `http://127.0.0.1:${bound}/`,
        // Gone from the network, as when the player is offline, and back
        // at the same address.
        stop: () => new Promise((resolve) => {
            server.close(resolve);
            server.closeAllConnections();
        }),
        start: () => listen(bound),
    };
}

if (import.meta.url === `file://${process.argv[1]}`) {
    const [folder, port = '8000'] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node serve.mjs <folder> [port]');
        process.exit(2);
    }
    const site = await serve(folder, { port: Number(port) });
    console.log(`Tarvelo is at ${site.address} (Ctrl+C stops the server)`);
}
