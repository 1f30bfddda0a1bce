// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Serves a folder on 127.0.0.1, as `make web-run` does and the page's
// tests and bench do: GET and HEAD of its files only, each with its media
// type (browsers compile WebAssembly while it arrives only as
// application/wasm) and never a file outside the folder.
//
//   node serve.mjs <folder> [port]          serves until stopped
//   const site = await serve(folder);       site.address, site.stop(), site.start()

import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';

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

function handler(root, headers) {
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
            response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                'Content-Length': size, ...headers(path) });
            if (request.method === 'HEAD')
                response.end();
            else
                createReadStream(file).pipe(response);
        } catch {
            response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('Not found\n');
        }
    };
}

// `headers(path)` adds headers of the caller's to each file served.
export async function serve(folder, { port = 0, headers = () => ({}) } = {}) {
    const root = normalize(folder).replace(/\/+$/, '');
    const server = createServer(handler(root, headers));
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
