// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The game's page in one of the three browser engines (engines.mjs),
// driven as a player drives it: the mouse, the touch screen and the
// keyboard. It plays the scenarios that every front-end shares
// (tests/scenarios.json), once with the trick's WebAssembly there and once
// held back until the last step has been made; checks the first frame,
// drawn while the page itself is held back, against the opened window;
// checks every control's place against the
// window's description and every answer whole in its field, plays on a
// phone's screen and offline, checks that the page's policy keeps out
// every script but its own and that its kept copy holds nothing but the
// site's, and has axe-core look for accessibility faults in each phase of
// a round. Screenshots of the window at scale 1 and on a phone are left
// in the build's screens/ for people to look at.
//
//   node page.test.mjs <web build> <engine>   the folder that `make web` built;
//                                             chromium, firefox or webkit
//
// The site is served on 127.0.0.1 by a server started here. Exits 77,
// which CTest counts as a skip, with the reason, where the site is not
// built or the engine cannot start.

import { cpSync, existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { createRequire } from 'node:module';
import { after, before, test as nodeTest } from 'node:test';
import assert from 'node:assert/strict';
import { BrowserEnded, launch, Unavailable } from './engines.mjs';
import { serve } from '../../web/serve.mjs';

const require = createRequire(import.meta.url);
const [build = '', engine = 'chromium'] = process.argv.slice(2);
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
const screens = `${build}/screens`;

// A copy of the site is served, which a test may change as a new version;
// beside it another site, on another port, with a script of its own.
const served = mkdtempSync(`${tmpdir()}/tarvelo-site-`);
const foreign = mkdtempSync(`${tmpdir()}/tarvelo-elsewhere-`);
let server, elsewhere, address, browser;
// What the server holds back, as a slow network would: { path, before,
// until, release }, or null.
let holding = null;
const holdBack = (path, before) => {
    let release;
    const until = new Promise((resolve) => { release = resolve; });
    holding = { path, before, until, release };
};
const letGo = () => {
    holding?.release();
    holding = null;
};

before(async () => {
    cpSync(site, served, { recursive: true });
    writeFileSync(`${foreign}/intruder.js`, 'window.intruded = true;\n');
    server = await serve(served, { hold: (path) => holding?.path === path && holding });
    elsewhere = await serve(foreign, { headers: () => ({ 'Access-Control-Allow-Origin': '*' }) });
    address = server.address;
    try {
        browser = await launch(engine);
    } catch (error) {
        if (!(error instanceof Unavailable))
            throw error;
        await server.stop();
        await elsewhere.stop();
        skip(error.message);
    }
    console.log(`# ${engine} ${browser.version}`);
    mkdirSync(screens, { recursive: true });
});

after(async () => {
    await browser?.close();
    await server.stop();
    await elsewhere.stop();
    rmSync(served, { recursive: true, force: true });
    rmSync(foreign, { recursive: true, force: true });
});

// A test that a browser left by ending by itself is played once more,
// saying so; every other failure stands.
const test = (name, play) => nodeTest(name, async () => {
    try {
        await play();
    } catch (error) {
        if (!(error instanceof BrowserEnded))
            throw error;
        console.log(`# ${error.message}: playing this test again`);
        await play();
    }
});

// Asks the page until `ready()` holds there.
async function until(tab, ready, arg) {
    for (let i = 0; i < 300; ++i) {
        if (await tab.run(ready, arg))
            return;
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
    throw new Error(`not in 15 s: ${ready}`);
}

// The page's faults, recorded from here on.
const recordFaults = (tab) => tab.run(() => {
    window.failures = [];
    addEventListener('error', (event) => window.failures.push(event.message));
    addEventListener('unhandledrejection', (event) => window.failures.push(String(event.reason)));
});
// The trick has taken the window over: a click is taken at once.
const live = () => document.getElementById('Form1')?.dataset.trick === 'ready';

// The window loaded, the trick's WebAssembly come, and ready for a tap,
// with the page's faults recorded.
async function load(tab, path = '') {
    await tab.goto(address + path);
    await until(tab, live);
    await recordFaults(tab);
    return tab;
}

// The page asked for without waiting for its load, which the server may be
// holding back; back once the window's last control has been parsed.
async function begin(tab) {
    await tab.run((url) => {
        window.left = true;
        setTimeout(() => location.assign(url));
    }, address);
    // Asked while the old page goes, a question may find no page to answer.
    const parsed = (url) => !window.left && location.href === url && document.getElementById('Command5') !== null;
    for (let i = 0; !await tab.run(parsed, address).catch(() => false); ++i) {
        if (i === 300)
            throw new Error('the page was not parsed in 15 s');
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
    await recordFaults(tab);
    return tab;
}

// A point of the window, in window pixels, on the page.
async function at(tab, [x, y]) {
    const form = await tab.run(() => {
        const r = document.getElementById('Form1').getBoundingClientRect();
        return [r.left, r.top, r.width];
    });
    const scale = form[2] / layout.client[0];
    // The whole point nearest the pixel's centre: Firefox rounds a point
    // to whole pixels, half up.
    return [Math.ceil(form[0] + (x + 0.5) * scale - 0.5), Math.ceil(form[1] + (y + 0.5) * scale - 0.5)];
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

// One step of a shared scenario, by mouse, touch or keyboard.
async function play(tab, step, touch = false) {
    const [action, ...words] = step.split(' ');
    const hit = async (point) => {
        const [x, y] = await at(tab, point);
        await (touch ? tab.tap(x, y) : tab.click(x, y));
    };
    if (action === 'tap') {
        for (let i = 0; i < Number(words[0]); ++i)
            await hit(i % 2 ? layout.dial : layout.background);
    } else if (action === 'type') {
        await hit(centre(box('Text1')));
        await tab.selectAll();
        await tab.type(step.slice('type '.length));
    } else if (action === 'key') {
        // Tab to the button, then its key: forward to a button later in the
        // Tab order, back to one before, never round past the page's end.
        // (In Firefox a driver's Tab past the end leaves the page's keys to
        // the browser's own controls, and they never come back.)
        const target = buttons[words[1]];
        const back = await tab.run((id) => {
            const order = [...document.querySelectorAll('button, input')]
                .filter((e) => e.tabIndex >= 0 && !e.disabled && !e.closest('[hidden]'));
            return order.indexOf(document.getElementById(id)) < order.indexOf(document.activeElement);
        }, target);
        for (let i = 0; i < 12 && await tab.run(() => document.activeElement?.id) !== target; ++i)
            await tab.press(back ? 'Shift+Tab' : 'Tab');
        await tab.press(words[0]);
    } else if (action === 'click') {
        for (const point of clicks(words))
            await hit(point);
    } else {
        await hit(centre(box(buttons[action])));
    }
}

// What the window shows, in the scenarios' terms, and whether its answer
// stands whole in its field: its text, as the engine measures it in the
// field's face, no wider than the field inside its borders and padding.
async function shows(tab) {
    if (await tab.gone())
        return { closed: true };
    return tab.run(() => {
        if (!document.getElementById('Form1'))
            return { closed: true };
        const shown = (id) => { const e = document.getElementById(id); return !!e && !e.closest('[hidden]'); };
        const answer = document.getElementById('Text7');
        const style = getComputedStyle(answer);
        const context = document.createElement('canvas').getContext('2d');
        context.font = `${style.fontStyle} ${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
        const room = answer.getBoundingClientRect().width - ['borderLeftWidth', 'paddingLeft', 'paddingRight',
            'borderRightWidth'].reduce((sum, side) => sum + parseFloat(style[side]), 0);
        return {
            Text1: document.getElementById('Text1').value,
            Text7: answer.value,
            base: shown('Text6'),
            revealed: shown('Text7') && shown('Label1'),
            lit: [...Array(12).keys()].filter((i) => shown(`Shape1_${i}`)),
            picture: !document.getElementById('Image1_0').disabled,
            rules: shown('Frame1'),
            whole: !shown('Text7') || context.measureText(answer.value).width <= room,
            failures: window.failures,
        };
    });
}

// A window that has gone shows nothing more.
const expected = (scenario) => scenario.closed ? { closed: true } : {
    Text1: scenario.Text1, Text7: scenario.Text7, base: !!scenario.baseShown, revealed: scenario.revealed, lit: scenario.lit,
    picture: scenario.picture, rules: !!scenario.rules, whole: true, failures: [],
};

// A base value spoiled behind the game's back is no player's doing.
const playable = scenarios.filter((scenario) => !scenario.steps.some((step) => step.startsWith('base ')));

test('every shared scenario a player can play ends as it says, each answer whole in its field', async () => {
    let tab = await browser.open();
    for (const scenario of playable) {
        if (await tab.gone())
            tab = await browser.open();
        await load(tab);
        for (const step of scenario.steps)
            await play(tab, step);
        assert.deepEqual(await shows(tab), expected(scenario), scenario.name);
    }
    await tab.close();
});

// The page's clicks and edits wait in turn for the trick, which takes each
// as the window stands once the ones before it have run: a tap after
// «Стоп» or under the open rules panel comes to nothing. Only a key on a
// button that is not shown yet cannot be made before the trick has come.
test('every shared scenario played before the WebAssembly comes ends as it says once it has come', async () => {
    let tab = await browser.open(), ended = false;
    try {
        for (const scenario of playable) {
            if (ended || await tab.gone())
                tab = await browser.open();
            ended = false;
            holdBack('/tarvelo.wasm', '');
            await begin(tab);
            await until(tab, () => document.readyState === 'complete');
            for (const step of scenario.steps) {
                const [action, , name] = step.split(' ');
                if (holding && action === 'key' && await tab.run((id) =>
                    document.getElementById(id).closest('[hidden]') !== null, buttons[name])) {
                    console.log(`# ${scenario.name}: «${step}» needs the trick, which comes first`);
                    letGo();
                    await until(tab, live);
                }
                await play(tab, step);
            }
            assert.equal(await tab.run(live), !holding, `${scenario.name}: the trick came before the last step`);
            letGo();
            // «Выход» takes the window away, and closes the tab, which this
            // test navigated with a script and so left closable, while it
            // is being asked. WebKit's browser ends with its last window.
            const settled = () => document.getElementById('Form1') === null ||
                document.getElementById('Form1').dataset.trick === 'ready';
            let end;
            try {
                for (let i = 0; i < 300 && !await tab.gone() && !await tab.run(settled).catch(() => true); ++i)
                    await new Promise((resolve) => setTimeout(resolve, 50));
                end = await shows(tab);
            } catch (error) {
                if (!(error instanceof BrowserEnded) || !scenario.closed)
                    throw error;
                ended = true;
                end = { closed: true };
            }
            assert.deepEqual(end, expected(scenario), `${scenario.name}, played before the trick came`);
        }
    } finally {
        letGo();
    }
    if (!ended)
        await tab.close();
});

// Held back before the trick's script, the page shows the window as Load
// leaves it, in its place and at its scale, the count focused where there
// is a mouse; nothing of it moves or changes when the trick comes.
test('the first frame is the opened window in its place, and the trick changes nothing of it', async () => {
    const opened = scenarios.find((scenario) => scenario.name === 'opened');
    try {
        for (const [width, height, touch] of [[800, 600, false], [390, 844, true], [844, 390, true]]) {
            const where = `${width} x ${height}`;
            const tab = await browser.open({ width, height, scale: touch ? 3 : 1, touch, whileLoading: true });
            holdBack('/', '<script src="tarvelo.js"');
            await begin(tab);
            const seen = async () => ({
                shows: await shows(tab), boxes: await measure(tab),
                form: await tab.run(() => {
                    const r = document.getElementById('Form1').getBoundingClientRect();
                    return [r.left, r.top, r.width, r.height];
                }),
                focus: await tab.run(() => document.activeElement === document.body ? null : document.activeElement?.id),
            });
            const first = await seen();
            await tab.screenshot(`${screens}/${engine}-first-frame-${width}x${height}.png`);
            assert.equal(await tab.run(() => document.readyState), 'loading', `${where}: the page was not held back`);
            assert.deepEqual(first.shows, expected(opened), where);
            assert.equal(first.focus, tab.touch ? null : 'Text1', where);
            let scale = Math.min(width / layout.client[0], height / layout.client[1]);
            if (!tab.touch)
                scale = Math.min(scale, 1);
            assert.ok(Math.abs(first.form[2] - layout.client[0] * scale) < 0.5, `${where}: ${first.form}`);
            assert.ok(first.form.slice(0, 2).every(Number.isInteger), `${where}: the window at ${first.form}`);
            letGo();
            await until(tab, live);
            assert.deepEqual(await seen(), first, `${where}: the window changed when the trick came`);
            await tab.close();
        }
    } finally {
        letGo();
    }
});

// Each control's box on the page, in window pixels, where it shows.
const measure = (tab) => tab.run((names) => {
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
}, Object.keys(layout.controls));

test('every control stands where the description puts it, at scale 1', async () => {
    const tab = await load(await browser.open());
    const seen = await measure(tab);
    // On whole pixels of the screen, for sharp lines.
    const corner = await tab.run(() => { const r = document.getElementById('Form1').getBoundingClientRect(); return [r.left, r.top]; });
    assert.ok(corner.every(Number.isInteger), `the window at ${corner}`);
    await tab.screenshot(`${screens}/${engine}-opened.png`);
    // Each marker lights within fourteen taps; the answer, its label and
    // the rules panel show as the round goes on.
    for (const step of [...Array(14).fill('tap 1'), 'stop', 'rules']) {
        await play(tab, step);
        Object.assign(seen, await measure(tab));
    }
    await tab.screenshot(`${screens}/${engine}-rules.png`);
    // All but the base value, which no player ever sees.
    const { Text6, ...shown } = layout.controls;
    assert.deepEqual(seen, shown);
    await tab.close();
});

// Only an engine that emulates a touch screen shows the window as large
// as the phone's screen allows; with a mouse the window keeps scale 1
// where it fits.
test('on a phone the window fits the screen whole, and each touch is one tap', async () => {
    if (!browser.touch)
        console.log(`# ${engine} emulates no touch screen: the phone's screen is played with what its driver taps`);
    for (const [width, height] of [[390, 844], [844, 390]]) {
        const tab = await load(await browser.open({ width, height, scale: 3, touch: true }));
        const where = `${width} x ${height}`;
        const { form, coarse, scrolls } = await tab.run(() => {
            const r = document.getElementById('Form1').getBoundingClientRect();
            return { form: [r.left, r.top, r.width, r.height], coarse: matchMedia('(pointer: coarse)').matches,
                scrolls: document.scrollingElement.scrollWidth > innerWidth ||
                    document.scrollingElement.scrollHeight > innerHeight };
        });
        assert.equal(coarse, tab.touch, where);
        let scale = Math.min(width / layout.client[0], height / layout.client[1]);
        if (!coarse)
            scale = Math.min(scale, 1);
        assert.ok(Math.abs(form[2] - layout.client[0] * scale) < 0.5, `${where}: ${form}`);
        assert.ok(form[0] >= -0.5 && form[1] >= -0.5 && form[0] + form[2] <= width + 0.5 &&
            form[1] + form[3] <= height + 0.5, where);
        assert.equal(scrolls, false, where);
        // Quick touches count one each and zoom nothing.
        for (const step of ['new', 'tap 13'])
            await play(tab, step, true);
        assert.equal((await shows(tab)).Text1, '13', where);
        assert.equal(await tab.run(() => visualViewport.scale), 1, where);
        await play(tab, 'stop', true);
        assert.equal((await shows(tab)).Text7, '7', where);
        await tab.screenshot(`${screens}/${engine}-phone-${width}x${height}.png`);
        await tab.close();
    }
});

test('after one visit the game plays offline, and a new version replaces the old on the next load', async () => {
    const tab = await load(await browser.open());
    await until(tab, () => navigator.serviceWorker.controller !== null);
    await server.stop();
    try {
        await load(tab);
        for (const step of ['tap 3', 'stop'])
            await play(tab, step);
        assert.equal((await shows(tab)).Text7, '?');
    } finally {
        await server.start();
    }
    const index = `${served}/index.html`;
    const original = readFileSync(index, 'utf8');
    writeFileSync(index, original.replace('</body>', '<!-- the next version -->\n</body>'));
    try {
        await load(tab);
        assert.ok(await tab.run(() => document.documentElement.innerHTML.includes('<!-- the next version -->')));
    } finally {
        writeFileSync(index, original);
    }
    await tab.close();
});

test('the page runs its own script only, and its kept copy holds only its own successful answers', async () => {
    const tab = await load(await browser.open());
    // Another site's script and one written into the page are refused.
    const refused = await tab.run((from) => new Promise((resolve) => {
        const violations = [];
        document.addEventListener('securitypolicyviolation', (event) => violations.push(event.effectiveDirective));
        const inline = document.createElement('script');
        inline.textContent = 'window.intruded = true;';
        document.body.append(inline);
        const script = document.createElement('script');
        script.src = `${from}intruder.js`;
        script.onload = script.onerror = () => setTimeout(() => resolve({ intruded: !!window.intruded, violations }), 100);
        document.body.append(script);
    }), elsewhere.address);
    assert.equal(refused.intruded, false);
    assert.deepEqual(refused.violations.map((directive) => directive.startsWith('script-src')), [true, true]);
    // The page still plays, its WebAssembly and manifest served as what
    // they are (as make web-run serves them).
    for (const step of ['new', 'tap 15', 'stop'])
        await play(tab, step);
    assert.equal((await shows(tab)).Text7, '5');
    assert.deepEqual(await tab.run(() => Promise.all(['tarvelo.wasm', 'manifest.webmanifest'].map((file) =>
        fetch(file).then((response) => response.headers.get('Content-Type'))))),
        ['application/wasm', 'application/manifest+json']);

    // A page of the site's without the policy asks for another site's
    // file, a missing file and a POST: the worker keeps none of them.
    await until(tab, () => navigator.serviceWorker.controller !== null);
    writeFileSync(`${served}/probe.html`, '<!DOCTYPE html><title>probe</title><p>probe</p>');
    await tab.goto(`${address}probe.html`);
    const kept = await tab.run(async (from) => {
        const statuses = [];
        for (const [url, init] of [[`${from}intruder.js`, { mode: 'cors' }], ['missing.txt', {}],
                                   ['index.html', { method: 'POST' }]])
            statuses.push(await fetch(url, init).then((response) => response.status, () => 0));
        await new Promise((resolve) => setTimeout(resolve, 300));
        const names = await caches.keys();
        const urls = [];
        for (const name of names)
            for (const request of await (await caches.open(name)).keys())
                urls.push(new URL(request.url).pathname);
        return { controlled: navigator.serviceWorker.controller !== null, statuses, urls: [...new Set(urls)].sort() };
    }, elsewhere.address);
    assert.deepEqual(kept, { controlled: true, statuses: [200, 404, 405],
        urls: ['/', '/icon.svg', '/index.html', '/manifest.webmanifest', '/probe.html', '/tarvelo.js', '/tarvelo.wasm'] });
    await tab.close();
});

test('axe-core finds no fault in any phase of a round, but the red texts that the window prescribes', async () => {
    const tab = await load(await browser.open());
    await tab.inject(readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8'));
    for (const [phase, steps] of [['opened', []], ['counting', ['tap 3']], ['revealed', ['tap 10', 'stop']],
                                  ['rules open', ['rules']]]) {
        for (const step of steps)
            await play(tab, step);
        const faults = await tab.run(async () => {
            const result = await axe.run(document, { runOnly: { type: 'tag',
                values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] } });
            // #FF0000 on white is 4.0:1; the window's colours stay.
            return result.violations.flatMap((violation) => violation.nodes
                .filter((node) => violation.id !== 'color-contrast' || node.any[0]?.data?.fgColor !== '#ff0000')
                .map((node) => `${violation.id}: ${node.target}`));
        });
        assert.deepEqual(faults, [], phase);
    }
    await tab.close();
});
