// SPDX-License-Identifier: GPL-3.0-or-later
// The flight view's cost in headless Chromium: 500 particles ("Настройки", then the view opened
// again), "Ударная волна" checked, the animation running; the CPU time (utime + stime from
// /proc/<pid>/stat) of the browser's processes over 10 s, as a percentage of one core: the
// renderers' sum (the page's own work: the ticks, the conversion, putImageData, painting) and the
// whole browser's (with the GPU/compositor and the browser process).  The frames run where the
// page runs them (in a worker that owns the canvas in Chromium); the bench says where.  Then two pictures of the
// canvas 0.5 s apart, which must differ.  Each measurement is run ROUNDS times (default 3); the
// machine's load average is printed beside them.
//
//   sh web/tests/page/run.sh bench/web/flight.mjs build-web/site [--rounds N] [--particles K]
import { mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { options, serve, siteUrl, openContext, openPage } from '../../web/tests/page/browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const rounds = Number(args.rounds ?? 3);
const particles = Number(args.particles ?? 500);
const MEASURE_SECONDS = 10;
const SETTLE_MS = 2000;
const TICKS_PER_SECOND = 100; // clock ticks of /proc/<pid>/stat (USER_HZ)

// The processes descended from this one: pid, parent, kind (renderer, gpu-process, ... or
// browser) and CPU ticks so far.
function processes() {
  const all = [];
  for (const entry of readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = readFileSync(`/proc/${entry}/stat`, 'utf8');
      // The command name may hold blanks and parentheses: the fields follow the last ')'.
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      // A child process may have written its whole command line into one string.
      const cmdline = readFileSync(`/proc/${entry}/cmdline`, 'utf8').replaceAll('\0', ' ');
      const type = cmdline.match(/--type=(\S+)/);
      all.push({ pid: Number(entry), ppid: Number(fields[1]), kind: type ? type[1] : 'browser',
        ticks: Number(fields[11]) + Number(fields[12]), chromium: cmdline.includes('chromium') });
    } catch {
      // The process ended meanwhile.
    }
  }
  const mine = new Set([process.pid]);
  for (let grew = true; grew;) {
    grew = false;
    for (const p of all) if (!mine.has(p.pid) && mine.has(p.ppid)) { mine.add(p.pid); grew = true; }
  }
  return all.filter((p) => mine.has(p.pid) && p.chromium);
}

function ticksBy(list) {
  const sums = { renderer: 0, all: 0 };
  for (const p of list) {
    sums.all += p.ticks;
    if (p.kind === 'renderer') sums.renderer += p.ticks;
  }
  return sums;
}

// The CPU share of one core over the interval, for the processes alive at both ends.
async function measure() {
  const before = new Map(processes().map((p) => [p.pid, p]));
  const start = process.hrtime.bigint();
  await new Promise((done) => setTimeout(done, MEASURE_SECONDS * 1000));
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  const after = processes().filter((p) => before.has(p.pid)).map((p) => ({ ...p, ticks: p.ticks - before.get(p.pid).ticks }));
  const sums = ticksBy(after);
  return { renderer: (100 * sums.renderer) / TICKS_PER_SECOND / seconds, all: (100 * sums.all) / TICKS_PER_SECOND / seconds };
}

async function canvasBytes(page) {
  return page.evaluate(() => window.zorkventa.flight.query('pixels'));
}

const scratch = mkdtempSync(join(tmpdir(), 'zk-flight-bench-'));
const server = await serve(site);
const url = siteUrl(server);
const results = [];
let moved = true;
for (let round = 0; round < rounds; ++round) {
  const context = await openContext(scratch);
  const page = await openPage(context, url);
  await page.waitForFunction(() => window.zorkventa.flight);
  // The settings' particle count, taken when the view is opened again.
  await page.click('#open-settings');
  await page.fill('#particles', String(particles));
  await page.click('#settings-ok');
  await page.click('#tab-steps');
  await page.click('#tab-flight');
  await page.check('#show-shock');
  const kind = await page.evaluate(() => window.zorkventa.flight.frames.kind);
  const used = await page.evaluate(() => window.zorkventa.flight.query('particleCount'));
  if (used !== particles) throw new Error(`the view runs ${used} particles, not ${particles}`);
  await page.waitForTimeout(SETTLE_MS);
  const ticks0 = await page.evaluate(() => window.zorkventa.flight.query('ticks'));
  const share = await measure();
  const ticks1 = await page.evaluate(() => window.zorkventa.flight.query('ticks'));
  const first = await canvasBytes(page);
  await page.waitForTimeout(500);
  const second = await canvasBytes(page);
  const differing = first.filter((v, i) => v !== second[i]).length;
  if (differing === 0) moved = false;
  results.push({ ...share, kind, fps: (ticks1 - ticks0) / MEASURE_SECONDS, differing, load: loadavg()[0] });
  await context.close();
}
server.close();
rmSync(scratch, { recursive: true, force: true });

const fmt = (x) => x.toFixed(1);
for (const [i, r] of results.entries()) {
  console.log(`round ${i + 1}: renderer ${fmt(r.renderer)} % of one core, whole browser ${fmt(r.all)} %, ` +
    `${fmt(r.fps)} frames/s (frames in the ${r.kind === 'worker' ? 'worker' : 'page\'s own thread'}), ${r.differing} pixels changed in 0.5 s, load average ${r.load.toFixed(2)}`);
}
const renderer = results.map((r) => r.renderer).sort((a, b) => a - b);
const all = results.map((r) => r.all).sort((a, b) => a - b);
console.log(`flight view, ${particles} particles, ${MEASURE_SECONDS} s: renderer ${fmt(renderer[0])}..${fmt(renderer.at(-1))} % ` +
  `(median ${fmt(renderer[Math.floor(renderer.length / 2)])} %), whole browser ${fmt(all[0])}..${fmt(all.at(-1))} % of one core`);
if (!moved) {
  console.log('FAIL the picture did not move');
  process.exit(1);
}
