// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The game's page in Debian's Chromium, headless, driven through
// playwright-core as a player drives it: the mouse, the touch screen and
// the keyboard. It plays the scenarios that every front-end shares
// (tests/scenarios.json), checks every control's place against the
// window's description, plays on a phone's screen by touch and offline,
// and has axe-core look for accessibility faults in each phase of a round.
//
//   node page.test.mjs <web build>   the folder that `make web` built
//
// The site is served on 127.0.0.1 by a server started here and stopped by
// its process id. Exits 77, which CTest counts as a skip, with the reason,
// where the site is not built or Chromium cannot start.

import { spawn, execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';

const require = createRequire(import.meta.url);
const build = process.argv[2] ?? '';
const site = `${build}/site`;
const here = new URL('.', import.meta.url).pathname;
const skip = (reason) => {
    console.log(`SKIP: ${reason}`);
    process.exit(77);
};

if (!existsSync(`${site}/index.html`))
    skip(`no site in ${site}: build it with make web`);
const layout = JSON.parse(readFileSync(`${build}/layout.json`, 'utf8'));
const scenarios = JSON.parse(readFileSync(`${here}/../scenarios.json`, 'utf8'));
let chromium;
try {
    ({ chromium } = require('playwright-core'));
} catch {
    skip('playwright-core is not installed: cd tests/web && npm ci');
}

// A copy of the site is served, which a test may change as a new version.
const served = mkdtempSync(`${tmpdir()}/tarvelo-site-`);
let server, address, browser;

before(async () => {
    cpSync(site, served, { recursive: true });
    server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '--directory', served, '0'],
        { stdio: ['ignore', 'pipe', 'ignore'] });
    address = await new Promise((resolve, reject) => {
        server.stdout.on('data', (data) => {
            const port = /port (\d+)/.exec(String(data));
            if (port)
                resolve(`http://127.0.0.1:${port[1]}/`);
        });
        server.on('exit', () => reject(new Error('the HTTP server did not start')));
    });
    const executablePath = execFileSync('sh', ['-c', 'command -v chromium || true']).toString().trim();
    try {
        browser = await chromium.launch({ executablePath, args: process.getuid() === 0 ? ['--no-sandbox'] : [] });
    } catch (error) {
        process.kill(server.pid);
        skip(`Chromium did not start (Debian package chromium): ${String(error.message).split('\n')[0]}`);
    }
});

after(async () => {
    await browser?.close();
    process.kill(server.pid);
    rmSync(served, { recursive: true, force: true });
});

// A page with the window loaded and ready for a tap.
async function open(context) {
    const page = await context.newPage();
    page.failures = [];
    page.on('pageerror', (error) => page.failures.push(error.message));
    await page.goto(address);
    await page.waitForSelector('#Form1:not([hidden])');
    return page;
}

// A point of the window, in window pixels, on the page.
async function at(page, [x, y]) {
    const form = await page.locator('#Form1').boundingBox();
    const scale = form.width / layout.client[0];
    return [form.x + (x + 0.5) * scale, form.y + (y + 0.5) * scale];
}

const centre = ([left, top, width, height]) => [left + Math.floor((width - 1) / 2), top + Math.floor((height - 1) / 2)];
const box = (name) => layout.controls[name];

// The points of a step "click ..." as the desktop's suite reads it.
function clicks(words) {
    const [left, top, width, height] = box(words[0]);
    if (words[1] === 'corners')
        return [[left, top], [left + width - 1, top], [left, top + height - 1], [left + width - 1, top + height - 1]];
    if (words[1] === 'over' || words[1] === 'beside') {
        const [l2, t2, w2, h2] = box(words[2]);
        if (words[1] === 'over') {
            const l = Math.max(left, l2), t = Math.max(top, t2);
            return [centre([l, t, Math.min(left + width, l2 + w2) - l, Math.min(top + height, t2 + h2) - t])];
        }
        const x = left < l2 ? Math.floor((left + l2 - 1) / 2) : Math.floor((l2 + w2 + left + width - 1) / 2);
        return [[x, centre([left, top, width, height])[1]]];
    }
    return [centre(box(words[0]))];
}

const buttons = { stop: 'Command2', new: 'Command3', rules: 'Command4', ok: 'Command5' };
const keys = { Space: 'Space', Return: 'Enter', Enter: 'NumpadEnter' };

// One step of a shared scenario, by mouse, touch or keyboard.
async function play(page, step, touch = false) {
    const [action, ...words] = step.split(' ');
    const hit = async (point) => {
        const [x, y] = await at(page, point);
        await (touch ? page.touchscreen.tap(x, y) : page.mouse.click(x, y));
    };
    if (action === 'tap') {
        for (let i = 0; i < Number(words[0]); ++i)
            await hit(i % 2 ? layout.dial : layout.background);
    } else if (action === 'type') {
        await hit(centre(box('Text1')));
        await page.keyboard.press('Control+A');
        await page.keyboard.type(step.slice('type '.length));
    } else if (action === 'key') {
        // Tab round to the button, then its key.
        for (let i = 0; i < 12 && await page.evaluate(() => document.activeElement?.id) !== buttons[words[1]]; ++i)
            await page.keyboard.press('Tab');
        await page.keyboard.press(keys[words[0]]);
    } else if (action === 'click') {
        for (const point of clicks(words))
            await hit(point);
    } else {
        await hit(centre(box(buttons[action])));
    }
}

// What the window shows, in the scenarios' terms.
function shows(page) {
    return page.evaluate(() => {
        if (!document.getElementById('Form1'))
            return { closed: true };
        const shown = (id) => { const e = document.getElementById(id); return !!e && !e.closest('[hidden]'); };
        return {
            Text1: document.getElementById('Text1').value,
            Text7: document.getElementById('Text7').value,
            revealed: shown('Text7') && shown('Label1'),
            lit: [...Array(12).keys()].filter((i) => shown(`Shape1_${i}`)),
            picture: !document.getElementById('Image1_0').disabled,
            rules: shown('Frame1'),
        };
    });
}

// A window that has gone shows nothing more.
const expected = (scenario) => scenario.closed ? { closed: true } : {
    Text1: scenario.Text1, Text7: scenario.Text7, revealed: scenario.revealed, lit: scenario.lit,
    picture: scenario.picture, rules: !!scenario.rules,
};

test('every shared scenario a player can play ends as it says', async () => {
    const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
    for (const scenario of scenarios) {
        // A base value spoiled behind the game's back is no player's doing.
        if (scenario.steps.some((step) => step.startsWith('base ')))
            continue;
        const page = await open(context);
        for (const step of scenario.steps)
            await play(page, step);
        assert.deepEqual(await shows(page), expected(scenario), scenario.name);
        assert.deepEqual(page.failures, [], scenario.name);
        await page.close();
    }
    await context.close();
});

test('every control stands where the description puts it, at scale 1', async () => {
    const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
    const page = await open(context);
    const seen = {};
    const measure = async () => Object.assign(seen, await page.evaluate((names) => {
        const form = document.getElementById('Form1').getBoundingClientRect();
        const boxes = {};
        for (const name of names) {
            const element = document.getElementById(name);
            if (element.closest('[hidden]'))
                continue;
            const r = element.getBoundingClientRect();
            boxes[name] = [r.left - form.left, r.top - form.top, r.width, r.height];
        }
        return boxes;
    }, Object.keys(layout.controls)));
    // Each marker lights within fourteen taps; the answer, its label and
    // the rules panel show as the round goes on.
    await measure();
    for (const step of [...Array(14).fill('tap 1'), 'stop', 'rules']) {
        await play(page, step);
        await measure();
    }
    // All but the base value, which no player ever sees.
    const { Text6, ...shown } = layout.controls;
    assert.deepEqual(seen, shown);
    await context.close();
});

test('on a phone the window fits the screen whole, and each touch is one tap', async () => {
    for (const [width, height] of [[390, 844], [844, 390]]) {
        const context = await browser.newContext({ viewport: { width, height }, isMobile: true, hasTouch: true,
            deviceScaleFactor: 3 });
        const page = await open(context);
        const form = await page.locator('#Form1').boundingBox();
        const scale = Math.min(width / layout.client[0], height / layout.client[1]);
        const where = `${width} x ${height}`;
        assert.ok(Math.abs(form.width - layout.client[0] * scale) < 0.5, where);
        assert.ok(form.x >= -0.5 && form.y >= -0.5 && form.x + form.width <= width + 0.5 &&
            form.y + form.height <= height + 0.5, where);
        const scrolls = await page.evaluate(() => document.scrollingElement.scrollWidth > innerWidth ||
            document.scrollingElement.scrollHeight > innerHeight);
        assert.equal(scrolls, false, where);
        // Quick touches count one each and zoom nothing.
        for (const step of ['new', 'tap 13'])
            await play(page, step, true);
        assert.equal(await page.inputValue('#Text1'), '13', where);
        assert.equal(await page.evaluate(() => visualViewport.scale), 1, where);
        await play(page, 'stop', true);
        assert.equal(await page.inputValue('#Text7'), '7', where);
        await context.close();
    }
});

test('after one visit the game plays offline, and a new version replaces the old on the next load', async () => {
    const context = await browser.newContext();
    const page = await open(context);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await context.setOffline(true);
    await page.reload();
    await page.waitForSelector('#Form1:not([hidden])');
    for (const step of ['tap 3', 'stop'])
        await play(page, step);
    assert.equal(await page.inputValue('#Text7'), '?');

    await context.setOffline(false);
    const index = `${served}/index.html`;
    writeFileSync(index, readFileSync(index, 'utf8').replace('</body>', '<!-- the next version -->\n</body>'));
    await page.reload();
    await page.waitForSelector('#Form1:not([hidden])');
    assert.ok((await page.content()).includes('<!-- the next version -->'));
    await context.close();
});

test('axe-core finds no fault in any phase of a round, but the red texts that the window prescribes', async () => {
    const context = await browser.newContext();
    const page = await open(context);
    await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
    for (const [phase, steps] of [['opened', []], ['counting', ['tap 3']], ['revealed', ['tap 10', 'stop']],
                                  ['rules open', ['rules']]]) {
        for (const step of steps)
            await play(page, step);
        const faults = await page.evaluate(async () => {
            const result = await axe.run(document, { runOnly: { type: 'tag',
                values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] } });
            // #FF0000 on white is 4.0:1; the window's colours stay.
            return result.violations.flatMap((violation) => violation.nodes
                .filter((node) => violation.id !== 'color-contrast' || node.any[0]?.data?.fgColor !== '#ff0000')
                .map((node) => `${violation.id}: ${node.target}`));
        });
        assert.deepEqual(faults, [], phase);
    }
    await context.close();
});
