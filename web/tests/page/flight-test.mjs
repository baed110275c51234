// SPDX-License-Identifier: GPL-3.0-or-later
// The flight view in a real browser: the animation, the wedge picked by mouse, touch and keys,
// the settings' particle count, and the particles against the native batch tool's flight run.
//
//   sh web/tests/page/run.sh web/tests/page/flight-test.mjs build-web/site
import { execFileSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { options, openPage, suite } from './browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const batch = resolve(args.batch ?? 'build/zorkventa-batch');
const { scratch, url, test, openContext, run } = await suite('zk-flight-', site);

function psr(c1, gammaTimes100, v1, chi) {
  const file = join(scratch, `case-${c1}-${gammaTimes100}-${v1}-${chi}.psr`);
  writeFileSync(file, `${c1}\r\n${gammaTimes100}\r\n${v1}\r\n${chi}\r\n`);
  return file;
}

// The batch tool's lines for a case: {key: value} and the particle lines as number arrays.
function native(file, extra = []) {
  let out;
  try {
    out = execFileSync(batch, ['--decimal-separator', ',', ...extra, file], { encoding: 'utf8', maxBuffer: 1 << 24 });
  } catch (e) {
    out = e.stdout;
  }
  const lines = {};
  const particles = [];
  for (const line of out.trim().split('\n')) {
    const at = line.indexOf(': ');
    const key = line.slice(0, at);
    if (key === 'particle') particles.push(line.slice(at + 2).split(' ').slice(1).map(Number));
    else lines[key] = line.slice(at + 2);
  }
  return { lines, particles };
}

const LABELS = { mach: 'mach', p2p1: 'p2_p1', rho1rho2: 'rho1_rho2', v2v1: 'v2_v1', t2t1: 't2_t1', chimax: 'chi_max' };

// What the view's frames report (they may run in a worker that owns the canvas).
function query(page, what) {
  return page.evaluate((w) => window.zorkventa.flight.query(w), what);
}

// Polls query(what) until holds(value), for at most 10 s.
async function waitFor(page, what, holds, why) {
  const until = Date.now() + 10000;
  for (;;) {
    const value = await query(page, what);
    if (holds(value)) return value;
    if (Date.now() > until) throw new Error(`${why}: ${what} is still ${JSON.stringify(value)}`);
    await page.waitForTimeout(20);
  }
}

// init: a script run in the page before its own, to take a browser's feature away.
async function flightPage(extra = {}, init = null) {
  const context = await openContext(extra);
  if (init) await context.addInitScript(init);
  const page = await openPage(context, url);
  await page.waitForFunction(() => window.zorkventa.flight);
  await waitFor(page, 'ticks', (t) => t > 2, 'the first frames');
  await page.locator('#flight').scrollIntoViewIfNeeded();
  return page;
}

async function expectMainLabels(page, degrees, what) {
  const shown = await page.evaluate((ids) => Object.fromEntries(ids.map((id) => {
    const out = document.getElementById(id);
    return [id, out.hidden ? '-' : out.textContent];
  })), Object.keys(LABELS));
  const { lines } = native(psr(340, 140, 680, degrees));
  for (const [id, key] of Object.entries(LABELS)) {
    if (shown[id] !== lines[key]) throw new Error(`${what}: ${id} shows "${shown[id]}", the native program "${lines[key]}"`);
  }
}

// The client point over the centre of picture pixel (x, y), however large the canvas is shown.
async function clientPoint(page, x, y) {
  const box = await page.evaluate(() => {
    const r = document.getElementById('flight').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
  return { x: box.left + ((x + 0.5) * box.width) / 591, y: box.top + ((y + 0.5) * box.height) / 498 };
}

async function chiField(page) {
  return page.inputValue('#chi');
}

async function ticks(page) {
  return query(page, 'ticks');
}

async function errorShown(page) {
  return page.evaluate(() => (document.getElementById('error').open ? document.getElementById('error-text').textContent : null));
}

// Releases the mouse at picture pixel (x, y) after moving there.
async function releaseAt(page, x, y) {
  const p = await clientPoint(page, x, y);
  await page.mouse.move(p.x, p.y);
  await page.mouse.down();
  await page.mouse.up();
}

// The wedge angle the desktop's rule gives for a release point right of the tip: the angle seen
// from the tip (200, 250), the same below the axis as above, no steeper than 88 degrees.
const PICKS = [
  { point: [300, 150], degrees: 45, what: 'up and right at 45°' },
  { point: [300, 350], degrees: 45, what: 'below the axis: its mirror\'s angle' },
  { point: [201, 30], degrees: 88, what: 'steeper than 88°: 88°' },
  { point: [585, 100], degrees: 21, what: 'right of the pick field still picks (atan 150/385)' },
  { point: [500, 197], degrees: 10, what: 'a shallow angle (atan 53/300 = 10.02°)' },
];

// ---------------------------------------------------------------------------------------------
// The picture as the canvas shows it, with the ticks so far.
async function picture(page) {
  return { hash: await query(page, 'hash'), ticks: await query(page, 'ticks') };
}

async function expectMoving(page, what) {
  const first = await picture(page);
  await waitFor(page, 'ticks', (t) => t > first.ticks + 1, what);
  const second = await picture(page);
  if (first.hash === second.hash) throw new Error(`${what}: the picture did not change from tick ${first.ticks} to ${second.ticks}`);
}

test('the picture moves between two frames; a hidden view or page stops it', async () => {
  const page = await flightPage();
  const kind = await page.evaluate(() => window.zorkventa.flight.frames.kind);
  if (kind !== 'worker') throw new Error(`the frames run on the ${kind}'s thread, not in a worker`);
  await expectMoving(page, 'in the worker');
  // Another view shown: the frames stop; the flight view shown again starts afresh.
  await page.click('#tab-steps');
  const stopped = await ticks(page);
  await page.waitForTimeout(300);
  if ((await ticks(page)) !== stopped) throw new Error('the hidden view went on ticking');
  await page.click('#tab-flight');
  await waitFor(page, 'ticks', (t) => t > 0, 'shown again');
  if ((await ticks(page)) > stopped) throw new Error('the view shown again did not start afresh');
  // The speed bar at 0: the particles stand still.
  await page.fill('#speed', '0');
  const standing = await query(page, 'particles');
  const now = await ticks(page);
  await waitFor(page, 'ticks', (t) => t > now + 3, 'with the speed bar at 0');
  const after = await query(page, 'particles');
  if (standing.join() !== after.join()) throw new Error('particles moved with the speed bar at 0');
  const speed = await query(page, 'speed');
  if (speed !== 0) throw new Error(`the speed at position 0 is ${speed}`);
});

test('a mouse release right of the tip picks the angle of the desktop\'s rule and applies it', async () => {
  const page = await flightPage();
  for (const { point, degrees, what } of PICKS) {
    await releaseAt(page, ...point);
    if (await errorShown(page)) throw new Error(`${what}: "${await errorShown(page)}"`);
    if ((await chiField(page)) !== String(degrees)) throw new Error(`${what}: χ is ${await chiField(page)}, not ${degrees}`);
    await expectMainLabels(page, degrees, what);
    // Re-opened on the new solution: the snapshot is the new wedge's, and the frames run.
    const state = await page.evaluate(async () => ({
      running: await window.zorkventa.flight.query('running'),
      closed: !document.getElementById('flight-closed').hidden,
      cursor: document.getElementById('flight').style.cursor,
    }));
    if (!state.running || state.closed) throw new Error(`${what}: the view did not open again: ${JSON.stringify(state)}`);
    if (state.cursor !== 'crosshair') throw new Error(`${what}: the cursor is "${state.cursor}" right of the tip`);
  }
  // The panel shows the angle under the pointer.
  const p = await clientPoint(page, 300, 150);
  await page.mouse.move(p.x, p.y);
  if ((await page.textContent('#flight-angle')) !== '45') throw new Error(`the panel shows "${await page.textContent('#flight-angle')}" at (300, 150)`);
  // On or left of the tip: the arrow, the panel keeps its number, and a release does nothing.
  await page.fill('#chi', '20');
  await page.click('#apply');
  await releaseAt(page, 150, 100);
  await releaseAt(page, 200, 100);
  if ((await chiField(page)) !== '20') throw new Error(`a release left of the tip set χ to ${await chiField(page)}`);
  if ((await page.textContent('#flight-angle')) !== '45') throw new Error('a move left of the tip changed the panel');
  const cursor = await page.evaluate(() => document.getElementById('flight').style.cursor);
  if (cursor !== 'default') throw new Error(`the cursor is "${cursor}" left of the tip`);
});

test('a release on the axis gives 0°: no shock, the view stays closed with a notice and opens again', async () => {
  const page = await flightPage();
  await releaseAt(page, 400, 250);
  if ((await chiField(page)) !== '0') throw new Error(`χ is ${await chiField(page)}`);
  const closed = await page.evaluate(async () => ({
    running: await window.zorkventa.flight.query('running'),
    notice: document.getElementById('flight-closed').hidden ? null : document.getElementById('flight-closed-text').textContent,
  }));
  if (closed.running || !closed.notice?.includes('скачка уплотнения нет')) throw new Error(`after 0°: ${JSON.stringify(closed)}`);
  const frozen = await ticks(page);
  await page.waitForTimeout(200);
  if ((await ticks(page)) !== frozen) throw new Error('the closed view went on ticking');
  // A release over the closed view picks nothing.
  await page.fill('#chi', '20');
  await page.click('#apply');
  if (await query(page, 'running')) throw new Error('an Apply opened the closed view');
  await page.click('#flight-restart');
  await waitFor(page, 'running', (running) => running, 'shown again');
  if (!(await page.evaluate(() => document.getElementById('flight-closed').hidden))) throw new Error('the notice stayed over the view shown again');
  const shock = await page.evaluate(() => window.zorkventa.case.flow().ShockAngle);
  if (!(shock > 0)) throw new Error(`reopened on a flow with shock angle ${shock}`);
});

test('a tap on a touch screen picks as a release does; the phone shows the view without sideways scrolling', async () => {
  const page = await flightPage({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  const layout = await page.evaluate(() => ({
    scroll: document.documentElement.scrollWidth,
    client: document.documentElement.clientWidth,
    shown: document.getElementById('flight').getBoundingClientRect().width,
    touchAction: getComputedStyle(document.getElementById('flight')).touchAction,
  }));
  if (layout.scroll > layout.client) throw new Error(`the page is ${layout.scroll} px wide in a ${layout.client} px viewport`);
  if (layout.shown > 360) throw new Error(`the flight picture is ${layout.shown} px wide`);
  const pixels = await query(page, 'size');
  if (pixels.join() !== '1773,1494') throw new Error(`the picture is ${pixels} device pixels at ratio 3`);
  if (layout.touchAction !== 'none') throw new Error(`touch-action is ${layout.touchAction}`);
  // The picture is shown smaller than its own pixels: the tap's point is mapped back.
  for (const { point, degrees, what } of PICKS.slice(0, 3)) {
    const p = await clientPoint(page, ...point);
    await page.touchscreen.tap(p.x, p.y);
    if ((await chiField(page)) !== String(degrees)) throw new Error(`tap, ${what}: χ is ${await chiField(page)}, not ${degrees}`);
    await expectMainLabels(page, degrees, `tap, ${what}`);
  }
});

test('the keyboard turns the line from the tip and Enter applies its angle', async () => {
  const page = await flightPage();
  await page.focus('#flight');
  for (let i = 0; i < 3; ++i) await page.keyboard.press('PageUp');
  for (let i = 0; i < 3; ++i) await page.keyboard.press('ArrowUp');
  await page.keyboard.press('ArrowDown');
  if ((await page.textContent('#flight-angle')) !== '32') throw new Error(`the panel shows ${await page.textContent('#flight-angle')}`);
  await page.keyboard.press('Enter');
  if ((await chiField(page)) !== '32') throw new Error(`Enter set χ to ${await chiField(page)}`);
  await expectMainLabels(page, 32, 'picked with the keyboard');
  await page.focus('#flight');
  await page.keyboard.press('End');
  await page.keyboard.press('PageUp');
  await page.keyboard.press('Enter');
  if ((await chiField(page)) !== '88') throw new Error(`End, PageUp, Enter set χ to ${await chiField(page)}`);
  // The controls have names and take the keyboard.
  await page.focus('#speed');
  await page.keyboard.press('ArrowLeft');
  const position = await waitFor(page, 'scrollPosition', (p) => p !== 50, 'ArrowLeft on the speed bar');
  if (position !== 49) throw new Error(`ArrowLeft on the speed bar left it at ${position}`);
  await page.focus('#show-shock');
  await page.keyboard.press('Space');
  if (((await query(page, 'controls')) & 1) === 0) throw new Error('Space did not check "Ударная волна"');
  const names = await page.evaluate(() => ['speed', 'show-shock', 'show-streamlines', 'flight']
    .map((id) => document.getElementById(id))
    .map((el) => el.getAttribute('aria-label') || el.labels?.[0]?.textContent.trim() || ''));
  if (names.join('|') !== ['скорость', 'Ударная волна', 'Линии тока'].join('|') + '|' + names[3] || !names[3])
    throw new Error(`the controls' names: ${names}`);
});

test('a detached scene unchecks and disables "Линии тока"; an attached one enables it, unchecked', async () => {
  const page = await flightPage();
  await page.check('#show-streamlines');
  await page.fill('#chi', '40');
  await page.click('#apply');
  await waitFor(page, 'ticks', (t) => t > 1, 'the detached scene');
  await page.waitForFunction(() => document.getElementById('show-streamlines').disabled);
  const detached = await page.evaluate(() => [document.getElementById('show-streamlines').checked, document.getElementById('show-streamlines').disabled]);
  if (detached.join() !== 'false,true') throw new Error(`detached: checked, disabled = ${detached}`);
  await page.fill('#chi', '20');
  await page.click('#apply');
  await page.waitForFunction(() => !document.getElementById('show-streamlines').disabled);
  if (await page.isChecked('#show-streamlines')) throw new Error('the attached scene checked "Линии тока" again');
});

test('the settings\' particle count is read when the view opens; the particles equal the native model\'s', async () => {
  const page = await flightPage();
  // The view opened at start-up, the generator's first draws: the native batch tool's run of the
  // start-up case for as many ticks as the page has run.
  const run = await query(page, 'run');
  const expected = native(psr(340, 140, 680, 20), ['--flight', String(run.ticks), '--particles', '100']).particles;
  if (expected.length !== 100 || run.particles.length !== 400) throw new Error(`${run.particles.length / 4} particles in the page, ${expected.length} native`);
  let differing = 0;
  let first = null;
  for (let i = 0; i < 100; ++i) {
    for (let k = 0; k < 4; ++k) {
      if (run.particles[i * 4 + k] !== expected[i][k]) {
        ++differing;
        first ??= `particle ${i}: page ${run.particles.slice(i * 4, i * 4 + 4)}, native ${expected[i]}`;
      }
    }
  }
  if (differing) throw new Error(`after ${run.ticks} ticks ${differing} values differ; ${first}`);
  const visible = run.particles.filter((_, i) => i % 4 === 0).filter((x) => x >= 0).length;
  if (run.ticks > 120 && visible !== 100) throw new Error(`${visible} particles visible after ${run.ticks} ticks`);
  // The settings' field is read at the next opening, brought into 10..500.
  for (const [typed, used] of [['37', 37], ['3', 10], ['800', 500]]) {
    await page.click('#open-settings');
    await page.fill('#particles', typed);
    await page.click('#settings-ok');
    if ((await query(page, 'particleCount')) === used && typed !== '37')
      throw new Error('the count changed before the view was opened again');
    await page.click('#tab-compare');
    await page.click('#tab-flight');
    const count = [await query(page, 'particleCount'), (await query(page, 'particles')).length];
    if (count.join() !== `${used},${used * 4}`) throw new Error(`typed ${typed}: the view runs ${count[0]} particles (${count[1] / 4} given out)`);
  }
});

test('without a worker for the canvas, or when the worker fails, the frames run on the page and a release still picks', async () => {
  const cases = [
    ['a browser that cannot hand a canvas over', () => { delete HTMLCanvasElement.prototype.transferControlToOffscreen; }],
    ['a worker that fails as it starts', () => {
      const Real = window.Worker;
      window.Worker = class extends Real {
        constructor(_, options) {
          super(URL.createObjectURL(new Blob(['throw new Error("no engine here")'], { type: 'text/javascript' })), options);
        }
      };
    }],
  ];
  for (const [what, init] of cases) {
    const page = await flightPage({}, init);
    const kind = await page.evaluate(() => window.zorkventa.flight.frames.kind);
    if (kind !== 'page') throw new Error(`${what}: the frames run in the ${kind}`);
    await expectMoving(page, what);
    await releaseAt(page, 300, 150);
    if ((await chiField(page)) !== '45') throw new Error(`${what}: χ is ${await chiField(page)} after a release at 45°`);
    await expectMainLabels(page, 45, what);
    await expectMoving(page, `${what}, after the pick`);
  }
});

// ---------------------------------------------------------------------------------------------
await run();
