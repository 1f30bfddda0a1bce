// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Lighthouse's audits of the served site in Debian's chromium, on its
// mobile and its desktop settings: performance, accessibility, best
// practices and SEO at 100 each, and every audit passed but the timings,
// which count through their category. The one audit let fail is named
// below with its reason. The reports are left in the build's lighthouse/
// (mobile.report.html, desktop.report.html) for people to open.
//
//   node lighthouse.test.mjs <web build>   the folder that `make web` built
//
// Exits 77, which CTest counts as a skip, with the reason, where the site
// is not built or Lighthouse or chromium is missing.

import { spawn } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { serve } from '../../web/serve.mjs';
import { found } from './engines.mjs';

const require = createRequire(import.meta.url);
const build = process.argv[2] ?? '';
const reports = `${build}/lighthouse`;
const skip = (reason) => {
    console.log(`SKIP: ${reason}`);
    process.exit(77);
};

if (!existsSync(`${build}/site/index.html`))
    skip(`no site in ${build}/site: build it with make web`);
let cli;
try {
    cli = require.resolve('lighthouse/cli/index.js');
} catch {
    skip('Lighthouse is not installed: cd tests/web && npm ci');
}
const chromium = found('chromium');
if (!chromium)
    skip('chromium is not installed (scripts/install-deps web)');

const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
// On a phone the window is drawn scaled up to the screen (a transform,
// which keeps its every line where it is at scale 1), but the audit reads
// the texts' own sizes: the window's 11-pixel face, which it prescribes.
const excused = { mobile: { 'font-size': "the window's 11-pixel texts, which the phone shows scaled up" } };

let site;
before(async () => {
    site = await serve(`${build}/site`);
    mkdirSync(reports, { recursive: true });
});
after(() => site.stop());

for (const preset of ['mobile', 'desktop']) {
    test(`Lighthouse on its ${preset} settings scores 100 in each category`, async () => {
        const sandbox = process.getuid() === 0 ? ' --no-sandbox' : '';
        // Not spawnSync: the site is served from this process.
        const lighthouse = spawn(process.execPath, [cli, site.address, '--quiet',
            `--chrome-flags=--headless=new${sandbox}`, ...(preset === 'desktop' ? ['--preset=desktop'] : []),
            `--only-categories=${categories.join(',')}`, '--output=json', '--output=html',
            `--output-path=${reports}/${preset}`], { env: { ...process.env, CHROME_PATH: chromium },
            stdio: ['ignore', 'ignore', 'pipe'] });
        let errors = '';
        lighthouse.stderr.on('data', (data) => { errors += data; });
        const status = await new Promise((resolve) => lighthouse.on('exit', resolve));
        assert.equal(status, 0, errors);
        const report = JSON.parse(readFileSync(`${reports}/${preset}.report.json`, 'utf8'));
        assert.deepEqual(report.runtimeError, undefined);
        const failed = {};
        for (const category of categories) {
            const scored = report.categories[category];
            for (const { id, weight } of scored.auditRefs) {
                const audit = report.audits[id];
                if (weight === 0 || audit.score === null || audit.score === 1)
                    continue;
                const shown = `${category}: ${audit.title} ${audit.displayValue ?? ''}`.trim();
                // A timing is simulated from one load, and moves a little
                // from run to run (Largest Contentful Paint 1.5 or 1.7 s
                // here, 1 or 0.99): it counts through its category's score.
                if (audit.scoreDisplayMode === 'numeric')
                    console.log(`# ${preset} ${shown}, scored ${audit.score}`);
                else
                    failed[id] = shown;
            }
            console.log(`# ${preset} ${category}: ${Math.round(scored.score * 100)}`);
            if (!Object.keys(failed).some((id) => excused[preset]?.[id]))
                assert.equal(scored.score, 1, `${preset} ${category}: ${JSON.stringify(failed)}`);
        }
        for (const [id, reason] of Object.entries(excused[preset] ?? {})) {
            console.log(`# ${preset}: ${id} is let fail: ${reason}`);
            delete failed[id];
        }
        assert.deepEqual(failed, {}, preset);
    });
}
