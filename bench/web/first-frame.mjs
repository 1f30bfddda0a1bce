// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The game's first frame in each of the three browser engines, served
// compressed as a host serves it: from the start of the navigation to the
// first paint of the loaded window, and to its WebAssembly ready for a
// click, beside two floors made of the same page at run time: every script
// inert (the same document and policy, nothing run, so nothing fetched for
// them) and no script at all. Then a returning player's visit, with the
// service worker in place, and Lighthouse's largest contentful paint on
// its simulated phone. Prints Markdown tables.
//
//   node first-frame.mjs <site> [--rounds N] [--returning N] [--audits N (0: none)] [--engines a,b]

import { cpSync, mkdtempSync, readFileSync, rmSync, unlinkSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { eachEngine, engines, Unavailable } from '../../tests/web/engines.mjs';
import { audit } from '../../tests/web/lighthouse.mjs';
import { serve } from '../../web/serve.mjs';

const site = process.argv[2];
const option = (name, fallback) => {
    const at = process.argv.indexOf(name);
    return at > 0 ? process.argv[at + 1] : fallback;
};
const [rounds, returning, audits] = [['--rounds', 61, 1], ['--returning', 21, 1], ['--audits', 5, 0]]
    .map(([name, fallback, least]) => Math.max(least, Number(option(name, fallback))));
const chosen = option('--engines', engines.join(',')).split(',');
const size = { width: 800, height: 600 };

// The same watch on every page measured, right after its charset: before
// its policy, which so leaves the page's own scripts and their hashes as
// they are. The window counts as shown once the parser has passed it (or,
// in a page that hides it until its WebAssembly has run, once it shows);
// its first frame is the first contentful paint from then on, which all
// three engines report (Chromium, Firefox, WebKitGTK 2.50), else the frame
// after it showed. Ready is the page's mark that its trick takes clicks,
// or for a page that hid the window, the window shown.
const watch = `<script>(() => {
    const seen = window.seen = { violations: 0 };
    const note = (name, value) => { seen[name] ??= value; seen.changed?.(); };
    document.addEventListener('securitypolicyviolation', () => { seen.violations += 1; });
    if (PerformanceObserver.supportedEntryTypes?.includes('paint')) {
        seen.paints = true;
        new PerformanceObserver((list) => list.getEntriesByName('first-contentful-paint')
            .forEach((entry) => note('contentful', entry.startTime))).observe({ type: 'paint', buffered: true });
    }
    const look = () => {
        const form = document.getElementById('Form1');
        if (!form)
            return;
        seen.hidden ??= form.hidden;
        if (seen.shown === undefined && !form.hidden && (form.nextSibling || document.readyState !== 'loading')) {
            note('shown', performance.now());
            requestAnimationFrame(() => setTimeout(() => note('after', performance.now())));
        }
        if (form.dataset.trick === 'ready' || (seen.hidden && seen.shown !== undefined))
            note('ready', performance.now());
    };
    new MutationObserver(look).observe(document, { subtree: true, childList: true, attributes: true });
    document.addEventListener('DOMContentLoaded', look);
})();</script>`;

// The page and its floors, in three folders: the first visit's (no
// service worker), the returning player's (the real one) and
// Lighthouse's (no watch). A floor shows the window even where the page
// hid it until its trick ran.
const files = { page: 'index.html', inert: 'inert.html', bare: 'bare.html' };
const built = readFileSync(`${site}/index.html`, 'utf8');
const shown = built.replace(/(<main id="Form1"[^>]*?) hidden>/, '$1>');
const pages = { page: built, inert: shown.replace(/<script(?=[\s>])/g, '<script type="text/plain"'),
    bare: shown.replace(/<script[^>]*>[\s\S]*?<\/script>\n?/g, '') };
const served = mkdtempSync(`${tmpdir()}/tarvelo-first-frame-`);
for (const [folder, watched, worker] of [['first', true, false], ['returning', true, true], ['plain', false, false]]) {
    cpSync(site, `${served}/${folder}`, { recursive: true });
    if (!worker)
        unlinkSync(`${served}/${folder}/sw.js`);
    for (const [name, page] of Object.entries(pages))
        writeFileSync(`${served}/${folder}/${files[name]}`,
            watched ? page.replace('<meta charset="utf-8">', `$&\n${watch}`) : page);
}
// The first visit's files are never kept (no-store), since WebKit loads
// them all in one browser. The requests for scripts and WebAssembly are
// counted, to know that each load of the page fetched its own.
const scripts = (built.match(/<script[^>]* src=/g) ?? []).length + 1;
let fetched = 0;
const server = await serve(served, { compress: true, headers: (path) => {
    fetched += /\.(js|wasm)$/.test(path);
    return path.startsWith('/first/') ? { 'Cache-Control': 'no-store' } : {};
} });

// Runs in the page: what the watch saw, once it has all it waits for.
const settled = (page) => new Promise((resolve) => {
    const seen = window.seen;
    const report = (late) => resolve({ ...seen, changed: undefined, late, ran: 'tarveloReady' in window
        || 'createTarvelo' in window, controlled: Boolean(navigator.serviceWorker?.controller) });
    seen.changed = () => seen.after !== undefined && (!seen.paints || seen.contentful !== undefined)
        && (!page || seen.ready !== undefined) && report(false);
    seen.changed();
    setTimeout(() => report(true), 20000);
});

async function load(tab, address, page) {
    const before = fetched;
    await tab.goto(address);
    const seen = await tab.run(settled, page);
    const fault = seen.violations ? 'blocked by its policy' : seen.late ? 'not drawn or not ready within 20 s'
        : !page && (seen.ran || seen.ready !== undefined) ? 'ran a script'
            : page && fetched - before < scripts ? 'took its script or WebAssembly from a cache' : '';
    if (fault)
        throw new Error(`${address}: ${fault}`);
    const painted = seen.contentful >= seen.shown;
    return { frame: painted ? seen.contentful : seen.after, ready: seen.ready, painted, controlled: seen.controlled };
}

// WebKit's driver waited for ever, once here, on a browser that ended as
// it started: a tab gets a minute to open, then one more try.
async function open(browser, tries = 2) {
    let timer;
    const tab = await Promise.race([browser.open(size), new Promise((resolve) => { timer = setTimeout(resolve, 60000); })]);
    clearTimeout(timer);
    if (tab)
        return tab;
    if (tries === 1)
        throw new Error(`${browser.name} opened no tab within 60 s`);
    return open(browser, tries - 1);
}

// Each round loads the three in one of the six orders, in turn. Chromium
// and Firefox open each in a fresh context of one warm browser. A WebKit
// tab is a browser of its own, whose start-up would swamp the load, so
// there one tab loads them all, each at an address of its own, with
// nothing kept; its web process may still hold the page's decoded faces
// and picture, alike for the page and both floors. The first round warms
// the server and the browser, and is left out.
const orders = [['page', 'inert', 'bare'], ['inert', 'bare', 'page'], ['bare', 'page', 'inert'],
    ['bare', 'inert', 'page'], ['inert', 'page', 'bare'], ['page', 'bare', 'inert']];
async function firstVisits(browser) {
    const kept = browser.name === 'webkit' ? await open(browser) : null;
    const times = { page: [], inert: [], bare: [] };
    for (let round = 0; round <= rounds; ++round) {
        for (const name of orders[round % orders.length]) {
            const tab = kept ?? await open(browser);
            const result = await load(tab, `${server.address}first/${files[name]}?${round}`, name === 'page');
            if (!kept)
                await tab.close();
            if (round > 0)
                times[name].push(result);
        }
    }
    await kept?.close();
    return times;
}

// The second visit of a fresh context (in WebKit a fresh browser), once
// the first has the service worker active.
async function returns(browser) {
    const times = [];
    for (let round = 0; round < returning; ++round) {
        const tab = await open(browser);
        await load(tab, `${server.address}returning/`, true);
        const active = await tab.run(() => Promise.race([navigator.serviceWorker.ready.then(() => true),
            new Promise((resolve) => setTimeout(resolve, 20000, false))]));
        const again = active && await load(tab, `${server.address}returning/?again`, true);
        await tab.close();
        if (!again?.controlled)
            throw new Error(`the service worker did not ${active ? 'take the second visit' : 'start within 20 s'}`);
        times.push(again);
    }
    return times;
}

const results = await eachEngine(chosen, async (browser) => {
    try {
        return { first: await firstVisits(browser), again: await returns(browser) };
    } catch (error) {
        process.exitCode = 1;
        return { missing: `failed: ${error.message.split('\n')[0]}` };
    }
});

// Lighthouse's audits, the three pages in turn.
let contentful = { page: [], inert: [], bare: [] };
const reports = mkdtempSync(`${tmpdir()}/tarvelo-lighthouse-`);
try {
    for (let run = 0; run < audits; ++run) {
        for (const name of orders[run % orders.length]) {
            const report = await audit(`${server.address}plain/${files[name]}`, 'mobile', ['performance'], reports, name);
            contentful[name].push(report.audits['largest-contentful-paint'].numericValue);
        }
    }
} catch (error) {
    const missing = error instanceof Unavailable;
    contentful = missing ? error.message : `failed: ${error.message.split('\n')[0]}`;
    if (!missing)
        process.exitCode = 1;
}
rmSync(reports, { recursive: true, force: true });
await server.stop();
rmSync(served, { recursive: true, force: true });

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b), half = sorted.length >> 1;
    return sorted.length % 2 ? sorted[half] : (sorted[half - 1] + sorted[half]) / 2;
};
// The medians of 2000 resamples of the rounds, seeded so that the same
// times give the same table: their 2.5th and 97.5th percentiles.
let seed = 1;
const random = () => (seed = seed * 48271 % 2147483647) / 2147483647;
const ratio = (mine, theirs, goal) => {
    const ratios = mine.map((times, i) => times.frame / theirs[i].frame);
    const medians = Array.from({ length: 2000 },
        () => median(ratios.map(() => ratios[Math.floor(random() * ratios.length)]))).sort((a, b) => a - b);
    const r = median(ratios), met = goal === undefined ? '' : r <= goal ? ', met' : ', **missed**';
    return `${r.toFixed(2)} (${medians[50].toFixed(2)} to ${medians[1949].toFixed(2)})${met}`;
};
const ms = (value) => `${value.toFixed(1)} ms`;
const of = (times, name) => ms(median(times.map((entry) => entry[name])));
// Where the first contentful paint came before the window was whole, the
// frame after it: how often, over all loads and the page's.
const painted = (all, page) => {
    const after = (times) => times.filter((entry) => !entry.painted).length;
    return after(all) === 0 ? 'first contentful paint' : after(all) === all.length ? 'frame after'
        : `first contentful paint, the frame after in ${after(all)} of ${all.length} loads (${after(page)} of the page)`;
};
console.log(`${rounds} rounds of the page and its floors on a first visit, served compressed, a fresh context each ` +
    'load: medians from the start of the navigation, and of the rounds\' ratios with a bootstrap 95% interval; goal: ' +
    'first frame <= 1.10 x the inert-script floor\'s\n');
console.log('| Engine | First frame | WebAssembly ready | Inert-script floor | No-script floor | Frame / inert-script floor | ' +
    'Frame / no-script floor | Frame from |\n|---|---|---|---|---|---|---|---|');
for (const { engine, missing, first } of results) {
    if (missing) {
        console.log(`| ${engine} | not measured: ${missing} | | | | | | |`);
        continue;
    }
    const { page, inert, bare } = first;
    console.log(`| ${engine} | ${of(page, 'frame')} | ${of(page, 'ready')} | ${of(inert, 'frame')} | ${of(bare, 'frame')} | ` +
        `${ratio(page, inert, 1.1)} | ${ratio(page, bare)} | ${painted([...page, ...inert, ...bare], page)} |`);
}
console.log(`\nA returning player, the second visit with the service worker active, ${returning} rounds (medians):\n`);
console.log('| Engine | First frame | WebAssembly ready |\n|---|---|---|');
for (const { engine, missing, again } of results)
    console.log(missing ? `| ${engine} | not measured | |` : `| ${engine} | ${of(again, 'frame')} | ${of(again, 'ready')} |`);
if (typeof contentful === 'string') {
    console.log(`\nLighthouse's largest contentful paint not measured: ${contentful}`);
} else if (audits) {
    const [page, inert, bare] = [contentful.page, contentful.inert, contentful.bare].map(median);
    console.log(`\nLighthouse's largest contentful paint on its simulated phone, served compressed, median of ${audits} ` +
        'audits; goal: the page within 0.1 s of the inert-script floor\'s\n');
    console.log('| Page | Inert-script floor | No-script floor | Page - inert-script floor |\n|---|---|---|---|');
    console.log(`| ${ms(page)} | ${ms(inert)} | ${ms(bare)} | ${ms(page - inert)}, ` +
        `${page - inert <= 100 ? 'met' : '**missed**'} |`);
}
// With the exit status set above; nothing waits on a tab that never opened.
process.exit();
