// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison view's charts in a real browser: what the canvas painter draws is the scene the
// engine built, the engine's scenes equal the native library's, and a drag, a touch drag or the
// arrow keys on a chart pick the wedge angle so that the main view shows the native labels.
//
//   sh web/tests/page/run.sh web/tests/page/charts-test.mjs build-web/site
import { execFileSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { options, openPage, suite } from './browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const batch = resolve(args.batch ?? 'build/zorkventa-batch');
const scenesTool = resolve(args.scenes ?? 'build/zk-chart-scenes');
const { scratch, url, test, openContext, run } = await suite('zk-charts-', site);

function psr(c1, gammaTimes100, v1, chi) {
  const file = join(scratch, `case-${c1}-${gammaTimes100}-${v1}-${chi}.psr`);
  writeFileSync(file, `${c1}\r\n${gammaTimes100}\r\n${v1}\r\n${chi}\r\n`);
  return file;
}

function nativeLines(file) {
  let out;
  try {
    out = execFileSync(batch, ['--decimal-separator', ',', file], { encoding: 'utf8' });
  } catch (e) {
    out = e.stdout;
  }
  return Object.fromEntries(out.trim().split('\n').map((line) => {
    const at = line.indexOf(': ');
    return [line.slice(0, at), line.slice(at + 2)];
  }));
}

const LABELS = { mach: 'mach', p2p1: 'p2_p1', rho1rho2: 'rho1_rho2', v2v1: 'v2_v1', t2t1: 't2_t1', chimax: 'chi_max' };

async function expectNativeLabels(page, chi, what) {
  const shown = await page.evaluate((ids) => Object.fromEntries(ids.map((id) => {
    const out = document.getElementById(id);
    return [id, out.hidden ? '-' : out.textContent];
  })), Object.keys(LABELS));
  const native = nativeLines(psr(340, 140, 680, chi));
  for (const [id, key] of Object.entries(LABELS)) {
    if (shown[id] !== native[key]) throw new Error(`${what}: ${id} shows "${shown[id]}", the native program "${native[key]}"`);
  }
}

async function compareView(extra = {}) {
  const page = await openPage(await openContext(extra), url);
  await page.evaluate(() => window.zorkventa.views.show('compare'));
  return page;
}

async function chi(page) {
  return page.evaluate(() => window.zorkventa.chi.value);
}

// The page column of a deflection on a chart, in CSS pixels of the viewport.
async function pointOf(page, id, thetaDegrees) {
  await page.locator(`#${id}`).scrollIntoViewIfNeeded();
  return page.evaluate(([id, theta]) => {
    const charts = window.zorkventa.charts;
    const index = charts.canvases.findIndex((c) => c.id === id);
    const scene = charts.scenes[index];
    const box = charts.canvases[index].getBoundingClientRect();
    const x = scene.plot[0] + (theta / scene.thetaLimit) * scene.plot[2];
    const y = scene.plot[1] + scene.plot[3] / 2;
    return { x: box.left + (x * box.width) / scene.width, y: box.top + (y * box.height) / scene.height };
  }, [id, thetaDegrees]);
}

const CASES = [20, 30, 100];

// Where two scenes part: the same items, texts and flags, coordinates within 1e-9 pixel (the
// WebAssembly build's mathematical library may round a curve point's last bit otherwise).
function differs(a, b, path) {
  if (typeof a === 'number' && typeof b === 'number')
    return Math.abs(a - b) <= 1e-9 * Math.max(1, Math.abs(b)) ? '' : `${path}: ${a} against ${b}`;
  if (Array.isArray(a) && Array.isArray(b)) {
    if (a.length !== b.length) return `${path}: ${a.length} entries against ${b.length}`;
    for (let i = 0; i < a.length; ++i) {
      const d = differs(a[i], b[i], `${path}[${i}]`);
      if (d) return d;
    }
    return '';
  }
  if (a && b && typeof a === 'object' && typeof b === 'object') {
    const keys = Object.keys(b);
    if (Object.keys(a).join() !== keys.join()) return `${path}: fields ${Object.keys(a)} against ${keys}`;
    for (const key of keys) {
      const d = differs(a[key], b[key], `${path}.${key}`);
      if (d) return d;
    }
    return '';
  }
  return a === b ? '' : `${path}: ${JSON.stringify(a)} against ${JSON.stringify(b)}`;
}

test('the engine\'s scenes equal the native library\'s for the same cases', async () => {
  const page = await compareView();
  for (const wedge of CASES) {
    await page.evaluate((w) => window.zorkventa.pickWedge(w), wedge);
    const web = JSON.parse(await page.evaluate(() => window.zorkventa.case.chartScenes('.', undefined)));
    const native = Object.values(JSON.parse(execFileSync(scenesTool, ['340', '1.4', '680', String(wedge)], { encoding: 'utf8' })))[0];
    if (web.length !== 3) throw new Error(`χ = ${wedge}: ${web.length} scenes`);
    for (let i = 0; i < 3; ++i) {
      const difference = differs(web[i], native[i], native[i].name);
      if (difference) throw new Error(`χ = ${wedge}: ${difference}`);
    }
  }
});

test('the canvas painter draws the scenes: polylines, lines, dots and texts', async () => {
  const page = await compareView({ deviceScaleFactor: 2 });
  for (const wedge of CASES) {
    await page.evaluate((w) => window.zorkventa.pickWedge(w), wedge);
    const problem = await page.evaluate(() => {
      const charts = window.zorkventa.charts;
      // Record the 2D context's calls while the charts paint.
      const calls = [];
      const proto = CanvasRenderingContext2D.prototype;
      const saved = {};
      for (const name of ['moveTo', 'lineTo', 'fillText', 'ellipse', 'fillRect', 'stroke']) {
        saved[name] = proto[name];
        proto[name] = function (...a) {
          calls.push({ canvas: this.canvas.id, name, args: a, font: this.font, style: name === 'fillText' || name === 'fillRect' ? this.fillStyle : this.strokeStyle });
          return saved[name].apply(this, a);
        };
      }
      try {
        charts.refresh();
      } finally {
        Object.assign(proto, saved);
      }
      for (const [index, scene] of charts.scenes.entries()) {
        const mine = calls.filter((c) => c.canvas === charts.canvases[index].id);
        let at = 1; // the first call whitens the picture
        for (const item of [...scene.background, ...scene.marks]) {
          const o = item.whole && Math.round(item.width) % 2 === 1 ? 0.5 : 0;
          if (item.kind === 'line' || item.kind === 'polyline') {
            for (const [k, [x, y]] of item.points.entries()) {
              const c = mine[at++];
              if (!c || c.name !== (k ? 'lineTo' : 'moveTo') || c.args[0] !== x + o || c.args[1] !== y + o)
                return `${scene.name}: point ${k} of a ${item.kind} at ${x},${y}, drawn ${JSON.stringify(c)}`;
            }
            const c = mine[at++];
            if (c.name !== 'stroke' || c.style !== item.color) return `${scene.name}: ${item.kind} stroked ${JSON.stringify(c)} for ${item.color}`;
          } else if (item.kind === 'text') {
            const c = mine[at++];
            if (!c || c.name !== 'fillText' || c.args[0] !== item.text) return `${scene.name}: text "${item.text}" drawn as ${JSON.stringify(c)}`;
            // Left-aligned on its baseline: the anchor itself.
            if (item.align === 'left' && item.baseline === 'baseline' && (c.args[1] !== item.points[0][0] || c.args[2] !== item.points[0][1]))
              return `${scene.name}: "${item.text}" at ${c.args.slice(1)} for ${item.points[0]}`;
          } else if (item.kind === 'ellipse') {
            const c = mine[at++];
            if (c.name !== 'ellipse' || c.args[0] !== item.points[0][0] || c.args[1] !== item.points[0][1] || c.args[2] !== item.rx)
              return `${scene.name}: dot at ${item.points[0]} drawn as ${JSON.stringify(c)}`;
            ++at; // its outline
          } else if (item.kind === 'fill') {
            const c = mine[at++];
            if (c.name !== 'fillRect' || c.args.join() !== item.box.join()) return `${scene.name}: rectangle ${item.box} drawn as ${JSON.stringify(c)}`;
          } else if (item.kind === 'textbox') {
            while (mine[at] && mine[at].name === 'fillText' && item.text.includes(mine[at].args[0])) ++at;
          }
        }
        if (at !== mine.length) return `${scene.name}: ${mine.length - at} calls more than the scene lists`;
        const canvas = charts.canvases[index];
        if (canvas.width !== scene.width * 2) return `${scene.name}: backing store ${canvas.width} for ratio 2`;
      }
      return '';
    });
    if (problem) throw new Error(`χ = ${wedge}: ${problem}`);
  }
});

test('a drag on each chart picks the wedge angle and the main view follows', async () => {
  const page = await compareView();
  for (const [id, from, to] of [['chart-theta-beta', 5, 12], ['chart-family', 8, 17], ['chart-pressure', 3, 9]]) {
    const a = await pointOf(page, id, from);
    const b = await pointOf(page, id, to);
    await page.mouse.move(a.x, a.y);
    await page.mouse.down();
    if ((await chi(page)) !== from) throw new Error(`${id}: the press picked ${await chi(page)}, not ${from}`);
    await page.mouse.move(b.x, b.y, { steps: 6 });
    await page.mouse.up();
    if ((await chi(page)) !== to) throw new Error(`${id}: the drag ended on χ = ${await chi(page)}, not ${to}`);
    await expectNativeLabels(page, to, `${id} dragged to ${to}`);
  }
});

test('the arrow keys on a chart step the wedge angle by one degree', async () => {
  const page = await compareView();
  await page.focus('#chart-family');
  const start = await chi(page);
  await page.keyboard.press('ArrowRight');
  if ((await chi(page)) !== start + 1) throw new Error(`ArrowRight gave ${await chi(page)} from ${start}`);
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowDown');
  if ((await chi(page)) !== start - 1) throw new Error(`two steps down gave ${await chi(page)}`);
  await expectNativeLabels(page, start - 1, 'stepped by the keys');
  const named = await page.evaluate(() => ['chart-theta-beta', 'chart-family', 'chart-pressure']
    .every((id) => document.getElementById(id).getAttribute('aria-label') && document.getElementById(id).tabIndex === 0));
  if (!named) throw new Error('a chart without an accessible name or the keyboard');
});

// A phone, and a tablet wide enough for the wide screen's rules.
const TOUCH_SCREENS = [{ width: 360, height: 740 }, { width: 800, height: 900 }];

test('a touch drag on a chart picks the wedge angle', async () => {
  for (const viewport of TOUCH_SCREENS) {
    const what = `${viewport.width} px wide`;
    const page = await compareView({ hasTouch: true, isMobile: true, viewport });
    const a = await pointOf(page, 'chart-family', 6);
    const b = await pointOf(page, 'chart-family', 14);
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: a.x, y: a.y }] });
    for (let k = 1; k <= 5; ++k)
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: [{ x: a.x + ((b.x - a.x) * k) / 5, y: a.y }] });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await page.waitForFunction(() => window.zorkventa.chi.value === 14, null, { timeout: 3000 }).catch(() => {});
    if ((await chi(page)) !== 14) throw new Error(`${what}: the touch drag ended on χ = ${await chi(page)}`);
    await expectNativeLabels(page, 14, `${what}, touch drag`);
    const wide = await page.evaluate(() => document.documentElement.scrollWidth > window.innerWidth);
    if (wide) throw new Error(`the comparison view scrolls sideways at ${viewport.width} px`);
  }
});

await run();
