// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// Lighthouse's performance category for the site, on its mobile and its
// desktop settings, beside its goal of 100 on each. Its audits are timings
// simulated from one load, which move with the machine's load, so each
// setting is audited several times and the table gives the median run
// (by score) with its timings, and the lowest and highest score.
//
//   node lighthouse.mjs <site> [--runs N]

import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { serve } from '../../web/serve.mjs';
import { Unavailable } from '../../tests/web/engines.mjs';
import { audit, lighthouse } from '../../tests/web/lighthouse.mjs';

const at = process.argv.indexOf('--runs');
const runs = Math.max(1, Number(at > 0 ? process.argv[at + 1] : 3));
try {
    lighthouse();
} catch (error) {
    if (!(error instanceof Unavailable))
        throw error;
    console.log(`Lighthouse not measured: ${error.message}`);
    process.exit(0);
}

const timings = ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift',
    'speed-index'];
const site = await serve(process.argv[2]);
const reports = mkdtempSync(`${tmpdir()}/tarvelo-lighthouse-`);
const rows = [];
try {
    for (const preset of ['mobile', 'desktop']) {
        const scored = [];
        for (let run = 0; run < runs; ++run) {
            const report = await audit(site.address, preset, ['performance'], reports);
            scored.push({ score: Math.round(report.categories.performance.score * 100), report });
        }
        scored.sort((a, b) => a.score - b.score);
        const { score, report } = scored[scored.length >> 1];
        const met = score >= 100 ? 'met' : '**missed**';
        rows.push(`| ${preset} | ${score}, ${met} | ${scored[0].score} to ${scored[scored.length - 1].score} | ` +
            `${timings.map((id) => report.audits[id].displayValue).join(' | ')} |`);
    }
} finally {
    await site.stop();
    rmSync(reports, { recursive: true, force: true });
}
console.log(`Lighthouse's performance, ${runs} audits on each setting, the median's timings; goal: 100 on each\n`);
console.log('| Setting | Performance | Range | First contentful paint | Largest contentful paint | Total blocking time | ' +
    'Cumulative layout shift | Speed index |\n|---|---|---|---|---|---|---|---|');
for (const row of rows)
    console.log(row);
