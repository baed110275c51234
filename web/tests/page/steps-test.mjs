// SPDX-License-Identifier: GPL-3.0-or-later
// The page's "Построение по шагам" in Chromium: the steps' texts against what the desktop's steps
// window says for the same case (printed by the native build/zk_step_texts), the buttons, keys
// and a touch swipe moving between the steps and stopping at the ends, an Apply starting it again,
// the last step against the main diagram's pixels, and the view on a phone-sized screen.
//
//   sh web/tests/page/run.sh web/tests/page/steps-test.mjs build-web/site
import { execFileSync } from 'node:child_process';
import { dirname, join, resolve } from 'node:path';
import { options, openPage, suite } from './browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const batch = resolve(args.batch ?? 'build/zorkventa-batch');
const stepTexts = resolve(args['step-texts'] ?? join(dirname(batch), 'zk_step_texts'));
const { url, test, openContext, run } = await suite('zk-steps-', site);

// What the desktop window says for V1 and χ (start-up gas), with the decimal comma of ru-RU.
function nativeSteps(v1, chi) {
  return JSON.parse(execFileSync(stepTexts, [String(v1), String(chi), ','], { encoding: 'utf8' }));
}

// The page with the case solved and the steps view shown.
async function stepsPage(extra = {}, v1 = 680, chi = 20) {
  const page = await openPage(await openContext(extra), url);
  await solve(page, v1, chi);
  await page.click('#tab-steps');
  return page;
}

async function solve(page, v1, chi) {
  await page.evaluate(([v, c]) => {
    window.zorkventa.v1.value = v;
    window.zorkventa.pickWedge(c);
  }, [v1, chi]);
}

async function shown(page) {
  return page.evaluate(() => ({
    number: document.getElementById('step-number').textContent,
    title: document.getElementById('step-title').textContent,
    caption: document.getElementById('step-caption').textContent,
    first: document.getElementById('step-first').disabled,
    prev: document.getElementById('step-prev').disabled,
    next: document.getElementById('step-next').disabled,
  }));
}

async function stepNumber(page) {
  const { number } = await shown(page);
  const match = /^Шаг (\d+) из (\d+)$/.exec(number);
  if (!match) throw new Error(`the view shows "${number}" for the step's number`);
  return { step: Number(match[1]), count: Number(match[2]) };
}

async function expectStep(page, step, what) {
  const at = await stepNumber(page);
  if (at.step !== step) throw new Error(`${what}: step ${at.step} of ${at.count} shown, ${step} expected`);
  return at;
}

function canvasPixels(page, id) {
  return page.evaluate((canvasId) => {
    const canvas = document.getElementById(canvasId);
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return { width: canvas.width, height: canvas.height, rgba: Array.from(data) };
  }, id);
}

// ---------------------------------------------------------------------------------------------
// Cases that end differently: the start-up case, an attached shock at a high Mach number, a wedge
// too wide for an attached shock (the detached search), no wedge at all, and a fault (V1 below c1
// is refused by Apply).
const CASES = [
  { v1: 680, chi: 20 },
  { v1: 1000, chi: 10 },
  { v1: 680, chi: 40 },
  { v1: 2000, chi: 0 },
  { v1: 365, chi: 60 },
];

test('every step says what the desktop window says, and the view stops at both ends', async () => {
  const page = await stepsPage();
  for (const { v1, chi } of CASES) {
    await solve(page, v1, chi);
    const native = nativeSteps(v1, chi);
    const what = `V1 = ${v1}, χ = ${chi}`;
    if (native.count < 2) throw new Error(`${what}: the native run has ${native.count} steps`);
    const start = await shown(page);
    if (!start.first || !start.prev || start.next) throw new Error(`${what}: the buttons at the first step are ${JSON.stringify(start)}`);
    for (let i = 0; i < native.count; ++i) {
      const now = await shown(page);
      const expected = `Шаг ${i + 1} из ${native.count}`;
      if (now.number !== expected) throw new Error(`${what}: "${now.number}" shown, "${expected}" expected`);
      if (now.title !== native.titles[i]) throw new Error(`${what}, step ${i + 1}: title "${now.title}", the desktop's "${native.titles[i]}"`);
      if (now.caption !== native.captions[i]) throw new Error(`${what}, step ${i + 1}: caption\n  "${now.caption}"\n  the desktop's\n  "${native.captions[i]}"`);
      if (i + 1 < native.count) await page.click('#step-next');
    }
    const end = await shown(page);
    if (!end.next || end.prev || end.first) throw new Error(`${what}: the buttons at the last step are ${JSON.stringify(end)}`);
    await page.click('#step-prev');
    await expectStep(page, native.count - 1, `${what}, "Назад" from the last step`);
    await page.click('#step-first');
    await expectStep(page, 1, `${what}, "С начала"`);
  }
});

test('the keys move between the steps while the view has the focus, not while a field has it', async () => {
  const page = await stepsPage();
  await page.focus('#steps');
  const { count } = await stepNumber(page);
  // [key, the step shown after it]
  const moves = [['ArrowLeft', 1], ['ArrowRight', 2], [' ', 3], ['ArrowRight', 4], ['ArrowLeft', 3], ['Home', 1], ['Home', 1]];
  for (const [key, step] of moves) {
    await page.keyboard.press(key === ' ' ? 'Space' : key);
    await expectStep(page, step, `after ${JSON.stringify(key)}`);
  }
  for (let i = 0; i < count + 3; ++i) await page.keyboard.press('ArrowRight');
  await expectStep(page, count, 'Right pressed past the last step');
  // The buttons take the keys of the view too: Space on "Далее" moves one step, not two.
  await page.click('#step-first');
  await page.focus('#step-next');
  await page.keyboard.press('Space');
  await expectStep(page, 2, 'Space on "Далее"');
  // The wedge field keeps its arrow keys.
  await page.focus('#chi');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Home');
  await expectStep(page, 2, 'keys typed into the wedge field');
});

test('every Apply starts the view again at its first step, also while it is hidden', async () => {
  const page = await stepsPage();
  for (let i = 0; i < 4; ++i) await page.click('#step-next');
  await expectStep(page, 5, 'four times "Далее"');
  await solve(page, 1000, 15);
  const after = await expectStep(page, 1, 'after an Apply');
  if (after.count !== nativeSteps(1000, 15).count) throw new Error(`${after.count} steps after the Apply, the desktop has ${nativeSteps(1000, 15).count}`);
  for (let i = 0; i < 3; ++i) await page.click('#step-next');
  await page.click('#tab-flight');
  await solve(page, 680, 20);
  await page.click('#tab-steps');
  await expectStep(page, 1, 'an Apply while the view was hidden');
});

test('the last step is the main diagram pixel for pixel, an earlier one is not', async () => {
  for (const scale of [1, 2]) {
    const page = await stepsPage({ deviceScaleFactor: scale }, 1000, 10);
    const { count } = await stepNumber(page);
    const before = await canvasPixels(page, 'steps');
    for (let i = 1; i < count; ++i) await page.click('#step-next');
    const last = await canvasPixels(page, 'steps');
    const diagram = await canvasPixels(page, 'diagram');
    const what = `at device scale ${scale}`;
    if (last.width !== diagram.width || last.height !== diagram.height) {
      throw new Error(`${what}: the last step is ${last.width} x ${last.height}, the diagram ${diagram.width} x ${diagram.height}`);
    }
    if (last.width !== 609 * scale) throw new Error(`${what}: the step's picture is ${last.width} pixels wide`);
    const differing = last.rgba.findIndex((v, i) => v !== diagram.rgba[i]);
    if (differing >= 0) {
      const p = differing >> 2;
      throw new Error(`${what}: pixel (${p % last.width}, ${Math.floor(p / last.width)}) differs from the diagram's`);
    }
    if (before.rgba.every((v, i) => v === diagram.rgba[i])) throw new Error(`${what}: the first step shows the whole diagram`);
  }
});

// A finger on the picture through the DevTools protocol, as a touch screen delivers it.
async function swipe(page, dx, dy) {
  await page.locator('#steps').scrollIntoViewIfNeeded();
  const box = await page.locator('#steps').boundingBox();
  const x = box.x + box.width / 2;
  const y = box.y + box.height / 2;
  const session = await page.context().newCDPSession(page);
  const touch = (type, points) => session.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  await touch('touchStart', [{ x, y }]);
  for (let k = 1; k <= 8; ++k) await touch('touchMove', [{ x: x + (dx * k) / 8, y: y + (dy * k) / 8 }]);
  await touch('touchEnd', []);
  await session.detach();
}

// On a phone and on a tablet, whose width takes the wide screen's layout.
const TOUCH_SCREENS = [
  { viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  { viewport: { width: 800, height: 900 }, isMobile: true, hasTouch: true },
];

test('a swipe on a touch screen turns the steps: left for the next, right for the one before', async () => {
  for (const screen of TOUCH_SCREENS) {
    const page = await stepsPage(screen);
    const what = `${screen.viewport.width} px wide`;
    const { count } = await stepNumber(page);
    // [sideways, down, the step shown after it] in CSS pixels.
    const swipes = [[120, 0, 1], [-120, 0, 2], [-120, 10, 3], [120, -10, 2], [-20, 0, 2], [-60, 120, 2], [-120, 0, 3]];
    for (const [dx, dy, step] of swipes) {
      await swipe(page, dx, dy);
      await expectStep(page, step, `${what}, after a swipe of (${dx}, ${dy})`);
    }
    for (let i = 0; i < count; ++i) await swipe(page, -120, 0);
    await expectStep(page, count, `${what}, swiped past the last step`);
  }
});

test('the steps view fits a 360 x 740 phone without scrolling sideways', async () => {
  const page = await stepsPage({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  const layout = await page.evaluate(() => {
    const picture = document.getElementById('steps').getBoundingClientRect();
    const next = document.getElementById('step-next').getBoundingClientRect();
    return {
      scroll: document.documentElement.scrollWidth,
      client: document.documentElement.clientWidth,
      pictureRight: picture.right,
      pictureRatio: picture.width / picture.height,
      nextRight: next.right,
    };
  });
  if (layout.scroll > layout.client) throw new Error(`the page is ${layout.scroll} px wide in a ${layout.client} px viewport`);
  if (layout.pictureRight > layout.client || layout.nextRight > layout.client) throw new Error(`the view reaches beyond the screen: ${JSON.stringify(layout)}`);
  if (Math.abs(layout.pictureRatio - 609 / 449) > 0.02) throw new Error(`the picture is squeezed to ${layout.pictureRatio}`);
});

// ---------------------------------------------------------------------------------------------
await run();
