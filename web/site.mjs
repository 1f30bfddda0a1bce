// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Puts the site together: index.html with all that the window's first
// frame needs inside it (the window as Load leaves it, the style with its
// faces and places, the picture, and the page's own script that places the
// window and keeps the player's clicks), so that the browser asks for
// nothing more before it draws the window; beside it the trick's script
// (emscripten's runtime and app.js) and WebAssembly, which take the window
// over when they come, the manifest and the icon, and the service worker
// with the list of files to keep, in a cache named after the release and
// the files' contents.
//
// The page's policy lets run only the script and style inside it, by
// their hashes, and the site's own script file; it lets load only the
// site's own files and the faces and picture inside the page: nothing from
// elsewhere.
//
//   node site.mjs <source> <assets> <metainfo> <built> <tarvelo.js> <site> <version>
//
// <built> holds the window's body and places (window.html, window.css)
// and its faces (*.woff2).

import { createHash } from 'node:crypto';
import { copyFileSync, readFileSync, writeFileSync } from 'node:fs';

const [source, assets, metainfo, built, trick, site, release] = process.argv.slice(2);
const read = (file, encoding = 'utf8') => readFileSync(file, encoding);
const data = (type, file) => `data:${type};base64,${read(file, 'base64')}`;
const hash = (text) => `'sha256-${createHash('sha256').update(text).digest('base64')}'`;

const style = `\n${read(`${source}/tarvelo.css`)}\n${read(`${built}/window.css`)}`
    .replace(/url\(([\w-]+\.woff2)\)/g, (_, font) => `url(${data('font/woff2', `${built}/${font}`)})`);
const script = `\n${read(`${source}/window.js`)}`;
const body = read(`${built}/window.html`)
    .replace('src="clock-face.svg"', `src="${data('image/svg+xml', `${assets}/clock-face.svg`)}"`);
// The same words that software centres show.
const description = /<summary xml:lang="ru">([^<]*)<\/summary>/.exec(read(metainfo))[1];
// WebAssembly compiles only where the policy allows it ('wasm-unsafe-eval'),
// in every engine; the service worker is a file of the site's.
const policy = [
    "default-src 'none'", `script-src ${hash(script)} 'self' 'wasm-unsafe-eval'`, `style-src ${hash(style)}`,
    "img-src 'self' data:", 'font-src data:', "connect-src 'self'", "manifest-src 'self'", "worker-src 'self'",
    "base-uri 'none'", "form-action 'none'",
].join('; ');
const page = read(`${source}/index.html.in`)
    .replace('@POLICY@', () => policy)
    .replace('@DESCRIPTION@', () => description)
    .replace('@STYLE@', () => style)
    .replace('@WINDOW@', () => body)
    .replace('@SCRIPT@', () => script);
writeFileSync(`${site}/index.html`, page);
writeFileSync(`${site}/manifest.webmanifest`, read(`${source}/manifest.webmanifest`).replace('@VERSION@', release));
copyFileSync(`${assets}/icon.svg`, `${site}/icon.svg`);
writeFileSync(`${site}/tarvelo.js`, `${read(trick)}\n${read(`${source}/app.js`)}`);
copyFileSync(trick.replace(/\.js$/, '.wasm'), `${site}/tarvelo.wasm`);

const kept = ['index.html', 'tarvelo.js', 'tarvelo.wasm', 'manifest.webmanifest', 'icon.svg'];
const version = createHash('sha256');
for (const name of kept)
    version.update(read(`${site}/${name}`, null));
writeFileSync(`${site}/sw.js`, read(`${source}/sw.js.in`)
    .replace('@VERSION@', `${release}-${version.digest('hex').slice(0, 16)}`)
    .replace('@FILES@', ["'./'", ...kept.map((name) => `'${name}'`)].join(', ')));
