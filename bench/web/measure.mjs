// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The game's page measured in each of the three browser engines (Chromium,
// Firefox and WebKit, as the page's suite drives them) beside floor pages
// served the same way: a load, from the start of the navigation to the
// window drawn and ready for a tap, against a static page with one line of
// bold text; a tap, from the mouse's press to the page updated and
// painted, against a page whose click changes one text. Prints one table
// of medians and ratios, where the game's load time goes in each engine,
// and the site's compressed size.
//
//   node measure.mjs <site> [--loads N] [--taps N] [--engines a,b]

import { mkdtempSync, cpSync, readdirSync, readFileSync, rmSync, unlinkSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { gzipSync } from 'node:zlib';
import { eachEngine, engines } from '../../tests/web/engines.mjs';
import { serve } from '../../web/serve.mjs';

const here = new URL('.', import.meta.url).pathname;
const site = process.argv[2];
const option = (name, fallback) => {
    const at = process.argv.indexOf(name);
    return at > 0 ? process.argv[at + 1] : fallback;
};
const loads = Math.max(1, Number(option('--loads', 41))), taps = Math.max(1, Number(option('--taps', 190)));
const chosen = option('--engines', engines.join(',')).split(',');
const layout = JSON.parse(readFileSync(`${site}/../layout.json`, 'utf8'));

// The same watch on every page, first in its head, before the page's own
// policy takes effect: the moment after the first paint that shows the
// page's ready element, and a tap's press and the paint after its click.
// Without the service worker, each load comes from the server, as a first
// visit does.
const watch = `<script>(() => {
    const painted = (record) => requestAnimationFrame(() => setTimeout(() => record(performance.now())));
    window.ready = new Promise((resolve) => {
        const look = () => {
            const element = document.querySelector(document.documentElement.dataset.ready);
            if (element && !element.closest('[hidden]') && element.getClientRects().length) {
                observer.disconnect();
                window.shown = performance.now();
                painted(resolve);
            }
        };
        const observer = new MutationObserver(look);
        observer.observe(document, { subtree: true, childList: true, attributes: true });
    });
    addEventListener('mousedown', (event) => { window.pressed = event.timeStamp; }, true);
    addEventListener('click', () => painted((at) => { window.tapped = at - window.pressed; }));
})();</script>`;
const served = mkdtempSync(`${tmpdir()}/tarvelo-bench-`);
cpSync(site, served, { recursive: true });
unlinkSync(`${served}/sw.js`);
for (const [name, ready] of [['index.html', '#Form1'], ['floor.html', '#ready'], ['floor-tap.html', '#ready']]) {
    const page = readFileSync(name === 'index.html' ? `${site}/${name}` : `${here}/${name}`, 'utf8');
    writeFileSync(`${served}/${name}`, page.replace('<html lang="ru">', `<html lang="ru" data-ready="${ready}">`)
        .replace(/<head>/, `<head>\n${watch}`));
}
const server = await serve(served);

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

async function measure(browser) {
    const tab = await browser.open({ width: 800, height: 600 });
    const load = async (path) => {
        await tab.goto(server.address + path);
        return tab.run(async () => {
            const drawn = await window.ready;
            const [navigation] = performance.getEntriesByType('navigation');
            const wasm = performance.getEntriesByType('resource').find((entry) => entry.name.endsWith('.wasm'));
            return { drawn, html: navigation.responseEnd, parsed: navigation.domContentLoadedEventEnd,
                wasm: wasm?.responseEnd, shown: window.shown };
        });
    };
    const game = [], floor = [];
    for (let i = 0; i <= loads; ++i) {
        for (const [times, path] of i % 2 ? [[game, ''], [floor, 'floor.html']] : [[floor, 'floor.html'], [game, '']]) {
            const entry = await load(path);
            if (i > 0)  // the first of each warms the caches
                times.push(entry);
        }
    }
    const tapTimes = async (path, ready, point) => {
        await load(path);
        // The window shows before the trick has come; a tap is timed once
        // the trick takes it at once.
        while (path === '' && !await tab.run(() => document.querySelector('#Form1[data-trick="ready"]')))
            await new Promise((resolve) => setTimeout(resolve, 5));
        const form = await tab.run((ready) => {
            const r = document.querySelector(ready).getBoundingClientRect();
            return [r.left, r.top];
        }, ready);
        const times = [];
        for (let i = 0; i < taps; ++i) {
            if (path === '' && i % 19 === 0) {
                const [l, t, w, h] = layout.controls.Command3;
                await tab.click(Math.round(form[0] + l + w / 2), Math.round(form[1] + t + h / 2));
            }
            await tab.run(() => { window.tapped = undefined; });
            await tab.click(Math.round(form[0] + point[0]), Math.round(form[1] + point[1]));
            let tapped;
            while ((tapped = await tab.run(() => window.tapped)) === undefined || tapped === null)
                await new Promise((resolve) => setTimeout(resolve, 2));
            times.push(tapped);
        }
        return times;
    };
    const gameTaps = await tapTimes('', '#Form1', layout.background);
    const floorTaps = await tapTimes('floor-tap.html', '#ready', [5, 5]);
    await tab.close();
    const part = (name) => median(game.map((times) => times[name]).filter((value) => value !== undefined));
    return {
        load: [median(game.map((times) => times.drawn)), median(floor.map((times) => times.drawn))],
        tap: [median(gameTaps), median(floorTaps)],
        parts: { html: part('html'), parsed: part('parsed'), wasm: part('wasm'), shown: part('shown'),
            drawn: part('drawn') },
    };
}

const results = await eachEngine(chosen, measure);
await server.stop();
rmSync(served, { recursive: true, force: true });

let compressed = 0;
for (const name of readdirSync(site))
    compressed += gzipSync(readFileSync(`${site}/${name}`), { level: 9 }).length;

const ms = (value) => `${value.toFixed(1)} ms`;
const ratio = ([mine, theirs], goal) => {
    const r = mine / theirs;
    return `${r.toFixed(2)}${r <= goal ? ', met' : ', **missed**'}`;
};
console.log(`${loads} loads and ${taps} taps of each page, medians; goals: load <= 1.5, tap <= 1.3\n`);
console.log('| Engine | Load: game | Floor | Ratio | Tap: game | Floor | Ratio |\n|---|---|---|---|---|---|---|');
for (const result of results) {
    if (result.missing)
        console.log(`| ${result.engine} | not measured: ${result.missing} | | | | | |`);
    else
        console.log(`| ${result.engine} | ${ms(result.load[0])} | ${ms(result.load[1])} | ` +
            `${ratio(result.load, 1.5)} | ${ms(result.tap[0])} | ${ms(result.tap[1])} | ${ratio(result.tap, 1.3)} |`);
}
console.log('\nWhere the game\'s load goes, from the start of the navigation (medians):\n');
console.log('| Engine | Page received | Page parsed | WebAssembly received | Window shown | Window drawn |\n|---|---|---|---|---|---|');
for (const { engine, parts } of results.filter((result) => !result.missing))
    console.log(`| ${engine} | ${ms(parts.html)} | ${ms(parts.parsed)} | ${parts.wasm === undefined ? '-' : ms(parts.wasm)} | ` +
        `${ms(parts.shown)} | ${ms(parts.drawn)} |`);
console.log(`\nThe site, each file compressed (gzip -9): ${(compressed / 1024).toFixed(1)} KiB (goal < 150 KB` +
    `${compressed < 150000 ? ', met' : ', **missed**'})`);
