// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The three browser engines behind one small surface, which the page's
// suite and its bench drive alike: Debian's chromium and firefox-esr
// through puppeteer-core (Chromium's own protocol and WebDriver BiDi), and
// WebKitGTK's MiniBrowser through its WebDriver (webkitgtk-webdriver from
// WebKitGTK 2.54, webkit2gtk-driver before) and selenium-webdriver
// (WebDriver), on an X server of its own started here.
//
//   const browser = await launch('firefox');
//   const tab = await browser.open({ width: 390, height: 844, scale: 3, touch: true });
//   await tab.goto(address); await tab.click(x, y); await tab.run(() => document.title);
//
// A tab is a fresh profile: no kept copy, no cookies. Points are CSS
// pixels of the viewport. `touch` asks for a touch screen, which only an
// engine with `browser.touch` emulates; the others get a mouse and their
// taps stay what their drivers send (Firefox: touch events; WebKit: mouse
// events). `whileLoading` asks for a tab that answers while its page is
// still loading, which only WebKit's driver must be told. launch() throws
// an Unavailable error, with the reason, where
// the engine cannot start at all.

import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';

const require = createRequire(import.meta.url);
export const engines = ['chromium', 'firefox', 'webkit'];

export class Unavailable extends Error {}
// A browser that ended by itself in the middle of a command.
export class BrowserEnded extends Error {}

// Two frames, so that a screenshot shows what the page last changed: WebKit's
// shows the last frame it composited.
const painted = () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));

const shell = (command) => execFileSync('sh', ['-c', command]).toString().trim();
// The path of a program on PATH, or nothing.
export const found = (name) => shell(`command -v ${name} || true`);
const first = (message) => String(message).split('\n')[0];

// Keys by the names the suite uses: Return is the main Enter key, Enter
// the keypad's. Over BiDi puppeteer-core knows no keypad keys by name and
// sends its "Enter" as WebDriver's keypad Enter, so WebDriver's own key
// values go as they are.
const puppeteerKeys = {
    chromium: { Tab: 'Tab', Space: ' ', Return: 'Enter', Enter: 'NumpadEnter' },
    firefox: { Tab: 'Tab', Space: ' ', Return: '\uE006', Enter: '\uE007' },
};

async function puppeteerEngine(engine) {
    let puppeteer;
    try {
        puppeteer = require('puppeteer-core');
    } catch {
        throw new Unavailable('puppeteer-core is not installed: cd tests/web && npm ci');
    }
    const chromium = engine === 'chromium';
    const executablePath = found(chromium ? 'chromium' : 'firefox-esr');
    if (!executablePath)
        throw new Unavailable(`${chromium ? 'chromium' : 'firefox-esr'} is not installed (scripts/install-deps web)`);
    let browser;
    try {
        browser = await puppeteer.launch({
            browser: chromium ? 'chrome' : 'firefox', executablePath, headless: true,
            args: chromium && process.getuid() === 0 ? ['--no-sandbox'] : [],
        });
    } catch (error) {
        throw new Unavailable(`${engine} did not start: ${first(error.message)}`);
    }
    const version = await browser.version();
    return {
        name: engine, version, touch: chromium,
        async open({ width = 800, height = 600, scale = 1, touch = false } = {}) {
            const context = await browser.createBrowserContext();
            const page = await context.newPage();
            const emulated = touch && chromium;
            await page.setViewport({ width, height, deviceScaleFactor: scale,
                ...(emulated ? { isMobile: true, hasTouch: true } : {}) });
            return {
                touch: emulated,
                async goto(url) { await page.goto(url); },
                async reload() { await page.reload(); },
                run: (fn, ...args) => page.evaluate(fn, ...args),
                inject: (source) => page.evaluate(source),
                gone: () => page.isClosed(),
                click: (x, y) => page.mouse.click(x, y),
                tap: (x, y) => page.touchscreen.tap(x, y),
                async press(key) {
                    if (key === 'Shift+Tab')
                        await page.keyboard.down('Shift');
                    await page.keyboard.press(puppeteerKeys[engine][key.replace('Shift+', '')]);
                    if (key === 'Shift+Tab')
                        await page.keyboard.up('Shift');
                },
                async selectAll() {
                    await page.keyboard.down('Control');
                    await page.keyboard.press('KeyA');
                    await page.keyboard.up('Control');
                },
                type: (text) => page.keyboard.type(text),
                async screenshot(path) {
                    await page.evaluate(painted);
                    await page.screenshot({ path });
                },
                close: () => context.close(),
            };
        },
        close: () => browser.close(),
    };
}

// An X server of the given size, on a display it picks itself; stop() ends
// it by its process id.
async function startX(width, height) {
    const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', `${width}x${height}x24`, '-nolisten', 'tcp'],
        { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    const display = await new Promise((resolve, reject) => {
        let text = '';
        server.stdio[3].on('data', (data) => {
            text += data;
            if (text.includes('\n'))
                resolve(`:${text.trim()}`);
        });
        server.on('error', reject);
        server.on('exit', () => reject(new Error('Xvfb did not start')));
    });
    return { display, stop: () => server.kill() };
}

const webkitKeys = (Key) => ({ Tab: Key.TAB, Space: Key.SPACE, Return: Key.RETURN, Enter: Key.ENTER });

// The browser that WebKit's driver started for a session, which the driver
// does not name: the one MiniBrowser process with the session's own home.
function browserWithHome(home) {
    for (const pid of readdirSync('/proc').filter((name) => /^[0-9]+$/.test(name))) {
        try {
            if (readFileSync(`/proc/${pid}/comm`, 'utf8').trim() === 'MiniBrowser'
                && readFileSync(`/proc/${pid}/environ`, 'utf8').split('\0').includes(`HOME=${home}`))
                return pid;
        } catch {
            // Gone meanwhile, or another user's.
        }
    }
    return undefined;
}
const running = (pid) => {
    try {
        return !/^[0-9]+ \(.*\) Z/.test(readFileSync(`/proc/${pid}/stat`, 'utf8'));
    } catch {
        return false;
    }
};

async function webkitEngine() {
    let webdriver, remote;
    try {
        webdriver = require('selenium-webdriver');
        remote = require('selenium-webdriver/remote');
    } catch {
        throw new Unavailable('selenium-webdriver is not installed: cd tests/web && npm ci');
    }
    const installed = 'scripts/install-deps web: webkitgtk-webdriver or webkit2gtk-driver';
    const driverPath = found('WebKitWebDriver');
    if (!driverPath)
        throw new Unavailable(`WebKitWebDriver is not installed (${installed})`);
    if (!found('Xvfb'))
        throw new Unavailable('Xvfb is not installed (scripts/install-deps web: xvfb), and WebKit needs a display');
    // The driver's own browser, where the release's multiarch path keeps it.
    const browserPath = shell('ls /usr/lib/*/webkit2gtk-4.1/MiniBrowser 2>/dev/null | head -n 1 || true');
    if (!browserPath)
        throw new Unavailable(`MiniBrowser is not installed (${installed})`);
    const { Builder, Capabilities, Key, Origin } = webdriver;
    const keys = webkitKeys(Key);

    // Each tab is a browser of its own, on one X server big enough for a
    // phone's screen at pixel ratio 3, which GDK_SCALE sets. Full-screen,
    // the browser has no toolbar and its window is the viewport, which
    // WebDriver then sizes; with the toolbar it cannot be narrower than
    // about 450 pixels.
    let x;
    try {
        x = await startX(2600, 2600);
    } catch (error) {
        throw new Unavailable(`WebKit has no display: ${error.message}`);
    }
    // The browsers' homes, removed with the X server once the last of them
    // has gone.
    const homes = mkdtempSync(`${tmpdir()}/tarvelo-webkit-`);
    const session = async ({ width, height, scale, whileLoading }) => {
        const home = mkdtempSync(`${homes}/`);
        const service = new remote.DriverService.Builder(driverPath).setLoopback(true)
            .setEnvironment({ ...process.env, DISPLAY: x.display, GDK_SCALE: String(scale), HOME: home,
                XDG_CACHE_HOME: `${home}/cache`, XDG_DATA_HOME: `${home}/data`, MESA_SHADER_CACHE_DISABLE: 'true' })
            .build();
        let driver, pid;
        const stop = async () => {
            if (!pid || running(pid))
                await driver?.quit().catch(() => {});
            await service.kill();
        };
        // A command during which the browser ended fails as such, and ends
        // the session: WebKit's driver (2.50) answers it with an error
        // without a message, or, as it did once here under load, never.
        const ended = () => stop().then(() => {
            throw new BrowserEnded(`WebKit's browser ${pid} ended by itself`);
        });
        const answer = (command) => pid === undefined ? command : new Promise((resolve, reject) => {
            const watch = setInterval(() => {
                if (!running(pid)) {
                    clearInterval(watch);
                    ended().catch(reject);
                }
            }, 250);
            command.then(resolve, (error) => (running(pid) ? Promise.reject(error) : ended()).catch(reject))
                .finally(() => clearInterval(watch));
        });
        try {
            // The driver answers no command while a page loads, unless told
            // to wait for no load at all.
            const capabilities = new Capabilities({ browserName: 'MiniBrowser',
                'webkitgtk:browserOptions': { binary: browserPath, args: ['--automation', '--full-screen'] },
                ...(whileLoading ? { pageLoadStrategy: 'none' } : {}) });
            driver = await new Builder().usingServer(await service.start()).withCapabilities(capabilities).build();
            await driver.manage().window().setRect({ x: 0, y: 0, width, height });
            await driver.manage().setTimeouts({ script: 60000, pageLoad: 60000 });
            pid = browserWithHome(home);
        } catch (error) {
            await stop();
            throw error;
        }
        return { driver, stop, answer };
    };
    let version;
    try {
        const probe = await session({ width: 800, height: 600, scale: 1 });
        version = (await probe.driver.getCapabilities()).get('browserVersion');
        await probe.stop();
    } catch (error) {
        x.stop();
        rmSync(homes, { recursive: true, force: true, maxRetries: 10 });
        throw new Unavailable(`WebKit did not start: ${first(error.message)}`);
    }

    return {
        name: 'webkit', version, touch: false,
        async open({ width = 800, height = 600, scale = 1, whileLoading = false } = {}) {
            const { driver, stop, answer } = await session({ width, height, scale, whileLoading });
            let closed = false;
            const pointer = (x, y) => answer(driver.actions({ async: true })
                .move({ x: Math.floor(x), y: Math.floor(y), origin: Origin.VIEWPORT, duration: 0 })
                .press().release().perform());
            return {
                touch: false,
                goto: (url) => answer(driver.get(url)),
                reload: () => answer(driver.navigate().refresh()),
                // Async functions are awaited, as the other drivers do.
                async run(fn, ...args) {
                    const result = await answer(driver.executeAsyncScript(`const done = arguments[arguments.length - 1];
                        Promise.resolve().then(() => (${fn}).apply(null, ${JSON.stringify(args)}))
                            .then((value) => done({ value }), (error) => done({ error: String(error) }));`));
                    if (result.error)
                        throw new Error(result.error);
                    return result.value;
                },
                inject: (source) => answer(driver.executeScript(source)),
                async gone() {
                    if (!closed)
                        closed = (await answer(driver.getAllWindowHandles()).catch((error) => {
                            if (error instanceof BrowserEnded)
                                throw error;
                            return [];
                        })).length === 0;
                    return closed;
                },
                click: pointer,
                tap: pointer,
                press: (key) => answer(key === 'Shift+Tab'
                    ? driver.actions({ async: true }).keyDown(Key.SHIFT).sendKeys(Key.TAB).keyUp(Key.SHIFT).perform()
                    : driver.actions({ async: true }).sendKeys(keys[key]).perform()),
                selectAll: () => answer(driver.actions({ async: true }).keyDown(Key.CONTROL).sendKeys('a')
                    .keyUp(Key.CONTROL).perform()),
                type: (text) => answer(driver.actions({ async: true }).sendKeys(text).perform()),
                async screenshot(path) {
                    await this.run(painted);
                    writeFileSync(path, await answer(driver.takeScreenshot()), 'base64');
                },
                close: stop,
            };
        },
        close: async () => {
            x.stop();
            rmSync(homes, { recursive: true, force: true, maxRetries: 10 });
        },
    };
}

// `measure(browser)` in each engine named, in turn, for the benches: each
// engine's name with its version and what measure returned, or with why
// it was not measured.
export async function eachEngine(names, measure) {
    const results = [];
    for (const engine of names) {
        let browser;
        try {
            browser = await launch(engine);
        } catch (error) {
            if (!(error instanceof Unavailable))
                throw error;
            results.push({ engine, missing: error.message });
            continue;
        }
        try {
            results.push({ engine: `${engine} ${browser.version.replace(/^\D*/, '')}`, ...await measure(browser) });
        } finally {
            await browser.close();
        }
    }
    return results;
}

export async function launch(engine) {
    if (engine === 'webkit')
        return webkitEngine();
    if (engines.includes(engine))
        return puppeteerEngine(engine);
    throw new Error(`no engine ${engine}: one of ${engines.join(', ')}`);
}

