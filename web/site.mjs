// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Puts the site together: index.html with what the window needs inside
// it (the style with its faces, the picture, the trick's script and the
// page's), so that the browser asks for nothing more than the trick's
// WebAssembly before it draws the window; beside it the manifest and the
// icon, and the service worker with the list of files to keep, in a cache
// named after their contents.
//
//   node site.mjs <source> <assets> <window.html> <fonts> <tarvelo.js> <site>

import { createHash } from 'node:crypto';
import { copyFileSync, readFileSync, writeFileSync } from 'node:fs';

const [source, assets, window, fonts, trick, site] = process.argv.slice(2);
const read = (file, encoding = 'utf8') => readFileSync(file, encoding);
const data = (type, file) => `data:${type};base64,${read(file, 'base64')}`;

const style = read(`${source}/tarvelo.css`)
    .replace(/url\(([\w-]+\.woff2)\)/g, (_, font) => `url(${data('font/woff2', `${fonts}/${font}`)})`);
const body = read(window).replace('src="clock-face.svg"', `src="${data('image/svg+xml', `${assets}/clock-face.svg`)}"`);
const page = read(`${source}/index.html.in`)
    .replace('@STYLE@', () => style)
    .replace('@WINDOW@', () => body)
    .replace('@SCRIPT@', () => `${read(trick)}\n${read(`${source}/app.js`)}`);
writeFileSync(`${site}/index.html`, page);
copyFileSync(`${source}/manifest.webmanifest`, `${site}/manifest.webmanifest`);
copyFileSync(`${assets}/icon.svg`, `${site}/icon.svg`);
copyFileSync(trick.replace(/\.js$/, '.wasm'), `${site}/tarvelo.wasm`);

const kept = ['index.html', 'tarvelo.wasm', 'manifest.webmanifest', 'icon.svg'];
const version = createHash('sha256');
for (const name of kept)
    version.update(read(`${site}/${name}`, null));
writeFileSync(`${site}/sw.js`, read(`${source}/sw.js.in`)
    .replace('@VERSION@', version.digest('hex').slice(0, 16))
    .replace('@FILES@', ["'./'", ...kept.map((name) => `'${name}'`)].join(', ')));
