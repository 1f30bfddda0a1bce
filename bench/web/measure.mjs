// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The game's page measured in Debian's Chromium beside floor pages served
// the same way: a load, from the start of the navigation to the window
// drawn and ready for a tap, against a static page with one line of bold
// text; a tap, from the mouse's press to the page updated and painted,
// against a page whose click changes one text. Prints a table of medians
// and ratios, and the site's compressed size.
//
//   node measure.mjs <site> [--loads N] [--taps N]

import { spawn, execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { gzipSync } from 'node:zlib';

const here = new URL('.', import.meta.url).pathname;
const { chromium } = createRequire(`${here}/../../tests/web/`)('playwright-core');
const site = process.argv[2];
const option = (name, fallback) => {
    const at = process.argv.indexOf(name);
    return at > 0 ? Math.max(1, Number(process.argv[at + 1])) : fallback;
};
const loads = option('--loads', 41), taps = option('--taps', 190);

const served = mkdtempSync(`${tmpdir()}/tarvelo-bench-`);
cpSync(site, served, { recursive: true });
for (const floor of ['floor.html', 'floor-tap.html'])
    cpSync(`${here}/${floor}`, `${served}/${floor}`);
const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '--directory', served, '0'],
    { stdio: ['ignore', 'pipe', 'ignore'] });
const address = await new Promise((resolve) => server.stdout.on('data', (data) => {
    const port = /port (\d+)/.exec(String(data));
    if (port)
        resolve(`http://127.0.0.1:${port[1]}/`);
}));
const browser = await chromium.launch({
    executablePath: execFileSync('sh', ['-c', 'command -v chromium']).toString().trim(),
    args: process.getuid() === 0 ? ['--no-sandbox'] : [],
});

// The same watch on both pages: the moment after the first paint that
// shows `ready`, and a tap's press and the paint after its click.
const watch = (ready) => {
    const painted = (record) => requestAnimationFrame(() => setTimeout(() => record(performance.now())));
    window.ready = new Promise((resolve) => {
        const look = () => {
            const element = document.querySelector(ready);
            if (element && !element.closest('[hidden]') && element.getClientRects().length) {
                observer.disconnect();
                painted(resolve);
            }
        };
        const observer = new MutationObserver(look);
        observer.observe(document, { subtree: true, childList: true, attributes: true });
    });
    addEventListener('mousedown', (event) => { window.pressed = event.timeStamp; }, true);
    addEventListener('click', () => painted((at) => { window.tapped = at - window.pressed; }));
};

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
// No kept copy: each load comes from the server, as a first visit does.
await context.route('**/sw.js', (route) => route.abort());

async function load(path, ready) {
    const page = await context.newPage();
    await page.addInitScript(watch, ready);
    await page.goto(address + path);
    const ms = await page.evaluate(() => window.ready);
    return { page, ms };
}

const game = [], floor = [];
for (let i = 0; i <= loads; ++i) {
    for (const [times, path, ready] of i % 2 ? [[game, '', '#Form1'], [floor, 'floor.html', '#ready']]
                                             : [[floor, 'floor.html', '#ready'], [game, '', '#Form1']]) {
        const { page, ms } = await load(path, ready);
        if (i > 0)  // the first of each warms the caches
            times.push(ms);
        await page.close();
    }
}

async function tapTimes(path, ready, point) {
    const { page } = await load(path, ready);
    const form = await page.locator(ready).boundingBox();
    const times = [];
    for (let i = 0; i < taps; ++i) {
        if (path === '' && i % 19 === 0) {
            const [l, t, w, h] = JSON.parse(readFileSync(`${site}/../layout.json`, 'utf8')).controls.Command3;
            await page.mouse.click(form.x + l + w / 2, form.y + t + h / 2);
        }
        await page.evaluate(() => { window.tapped = undefined; });
        await page.mouse.click(form.x + point[0], form.y + point[1]);
        times.push(await page.waitForFunction(() => window.tapped).then((value) => value.jsonValue()));
    }
    await page.close();
    return times;
}
const background = JSON.parse(readFileSync(`${site}/../layout.json`, 'utf8')).background;
const gameTaps = await tapTimes('', '#Form1', background.map((v) => v + 0.5));
const floorTaps = await tapTimes('floor-tap.html', '#ready', [5, 5]);

let compressed = 0;
for (const name of readdirSync(site))
    compressed += gzipSync(readFileSync(`${site}/${name}`), { level: 9 }).length;

await browser.close();
process.kill(server.pid);
rmSync(served, { recursive: true, force: true });

const row = (what, mine, theirs, unit, goal) => {
    const ratio = mine / theirs;
    console.log(`| ${what} | ${mine.toFixed(1)} ${unit} | ${theirs.toFixed(1)} ${unit} | ${ratio.toFixed(2)} | <= ${goal.toFixed(2)}${ratio <= goal ? ', met' : ', **missed**'} |`);
};
console.log(`${loads} loads and ${taps} taps of each page, medians, in Chromium ${browser.version()}\n`);
console.log('| Measure | Game | Floor | Ratio | Goal |\n|---|---|---|---|---|');
row('Load: navigation to the window drawn, ready for a tap', median(game), median(floor), 'ms', 1.5);
row('Tap: press to the page updated and painted', median(gameTaps), median(floorTaps), 'ms', 1.3);
console.log(`| The site, each file compressed (gzip -9) | ${(compressed / 1024).toFixed(1)} KiB | | | < 150 KB${compressed < 150000 ? ', met' : ', **missed**'} |`);
