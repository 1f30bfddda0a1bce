// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Runs Lighthouse in Debian's chromium on a served site, on its mobile or
// its desktop settings, for the page's test (the untimed categories) and
// for the bench (performance, whose audits are timings). Leaves the
// reports in the folder given, as JSON and as HTML for people to open.

import { spawn } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { found, Unavailable } from './engines.mjs';

const require = createRequire(import.meta.url);

// Lighthouse's command line and chromium, or Unavailable with the reason.
export function lighthouse() {
    let cli;
    try {
        cli = require.resolve('lighthouse/cli/index.js');
    } catch {
        throw new Unavailable('Lighthouse is not installed: cd tests/web && npm ci');
    }
    const chromium = found('chromium');
    if (!chromium)
        throw new Unavailable('chromium is not installed (scripts/install-deps web)');
    return { cli, chromium };
}

// The report of one audit of `address` on `preset` ('mobile' or
// 'desktop'), written to <reports>/<name>.report.{json,html}.
export async function audit(address, preset, categories, reports, name = preset) {
    const { cli, chromium } = lighthouse();
    mkdirSync(reports, { recursive: true });
    const sandbox = process.getuid() === 0 ? ' --no-sandbox' : '';
    // Not spawnSync: the site is usually served from this process.
    const run = spawn(process.execPath, [cli, address, '--quiet',
        `--chrome-flags=--headless=new${sandbox}`, ...(preset === 'desktop' ? ['--preset=desktop'] : []),
        `--only-categories=${categories.join(',')}`, '--output=json', '--output=html',
        `--output-path=${reports}/${name}`], { env: { ...process.env, CHROME_PATH: chromium },
        stdio: ['ignore', 'ignore', 'pipe'] });
    let errors = '';
    run.stderr.on('data', (data) => { errors += data; });
    const status = await new Promise((resolve) => run.on('exit', resolve));
    if (status !== 0)
        throw new Error(`Lighthouse exited with ${status}: ${errors}`);
    const report = JSON.parse(readFileSync(`${reports}/${name}.report.json`, 'utf8'));
    if (report.runtimeError)
        throw new Error(`Lighthouse: ${JSON.stringify(report.runtimeError)}`);
    return report;
}
