// SPDX-License-Identifier: GPL-3.0-or-later
// The web page's figures, measured in headless Chromium: the time from navigation to the first
// diagram, Apply in the page over every wedge angle at V1 = 1 000 000 (the fields read, the
// engine's Apply, the labels and the diagram put on the canvas, timed with performance.now()
// around a click of "Применить"), and the site's size as a web server sends it compressed.
// With --screenshots DIR also the README's screenshots on a desktop and on a phone.
//
//   sh web/tests/page/run.sh bench/web/page.mjs build-web/site [--screenshots docs]
import { mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';
import { options, serve, siteUrl, openContext, openPage } from '../../web/tests/page/browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const scratch = mkdtempSync(join(tmpdir(), 'zk-page-bench-'));
const server = await serve(site);
const url = siteUrl(server);

// Five fresh loads: the first diagram's time after navigation start.
const loads = [];
for (let i = 0; i < 5; ++i) {
  const context = await openContext(scratch);
  const page = await openPage(context, url);
  loads.push(await page.evaluate(() => performance.getEntriesByName('zorkventa-drawn')[0].startTime));
  await context.close();
}

const context = await openContext(scratch);
const page = await openPage(context, url);
const times = await page.evaluate(() => {
  const chi = document.getElementById('chi');
  const apply = document.getElementById('apply');
  document.getElementById('v1').value = '1000000';
  const spent = [];
  for (let round = 0; round < 3; ++round) {
    for (let degrees = 0; degrees <= 180; ++degrees) {
      chi.value = String(degrees);
      const start = performance.now();
      apply.click();
      const ms = performance.now() - start;
      // The first round warms the engine up; the worst of the other two counts.
      if (round > 0) spent[degrees] = Math.max(spent[degrees] ?? 0, ms);
    }
  }
  return spent;
});
await context.close();

let raw = 0;
let compressed = 0;
const walk = (dir) => {
  for (const entry of readdirSync(dir, { withFileTypes: true })) {
    const path = join(dir, entry.name);
    if (entry.isDirectory()) walk(path);
    else {
      const bytes = readFileSync(path);
      raw += bytes.length;
      compressed += extname(path) === '.png' ? bytes.length : gzipSync(bytes, { level: 9 }).length;
    }
  }
};
walk(site);

const worst = Math.max(...times);
const sorted = [...loads].sort((a, b) => a - b);
console.log(`site: ${(raw / 1024).toFixed(0)} KiB, ${(compressed / 1024).toFixed(0)} KiB compressed (gzip -9; PNG as it is)`);
console.log(`first diagram drawn after navigation start: median ${sorted[2].toFixed(0)} ms, worst ${sorted[4].toFixed(0)} ms (5 loads)`);
console.log(`Apply at V1 = 1000000, chi 0..180: mean ${(times.reduce((a, b) => a + b, 0) / times.length).toFixed(2)} ms, ` +
  `worst ${worst.toFixed(2)} ms (chi = ${times.indexOf(worst)})`);

if (args.screenshots) {
  const shots = [
    { file: 'web-desktop.png', viewport: { width: 1280, height: 720 }, deviceScaleFactor: 1 },
    { file: 'web-phone.png', viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true },
  ];
  for (const shot of shots) {
    const { file, ...view } = shot;
    const shotContext = await openContext(scratch, view);
    const shotPage = await openPage(shotContext, url);
    await shotPage.evaluate(() => document.activeElement.blur());
    await shotPage.screenshot({ path: join(resolve(args.screenshots), file), fullPage: Boolean(shot.isMobile) });
    await shotContext.close();
  }
}

server.close();
rmSync(scratch, { recursive: true, force: true });
