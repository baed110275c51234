// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison view's table and its way out (copy, Ctrl+C, the CSV download), the link to a
// case and the layout of the views, in Debian's Chromium.  The expected table comes from the
// native program (zk_comparison_table, the desktop's texts), the labels from the batch tool.
//
//   sh web/tests/page/run.sh web/tests/page/views-test.mjs build-web/site
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { options, openPage, suite } from './browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const batch = resolve(args.batch ?? 'build/zorkventa-batch');
const tableTool = join(dirname(batch), 'zk_comparison_table');
const { scratch, url: base, test, openContext, closeContexts, run } = await suite('zk-views-', site);

function psr(c1, gammaTimes100, v1, chi) {
  const file = join(scratch, `case-${c1}-${gammaTimes100}-${v1}-${chi}.psr`);
  writeFileSync(file, `${c1}\r\n${gammaTimes100}\r\n${v1}\r\n${chi}\r\n`);
  return file;
}

// The desktop's table of a case: the clipboard's text with a separator, or the CSV file's bytes.
function nativeTable(file, separator) {
  return execFileSync(tableTool, ['--decimal-separator', separator, file], { encoding: 'utf8' });
}
function nativeCsv(file) {
  return execFileSync(tableTool, ['--csv', file]);
}

function nativeLines(file, separator) {
  let out;
  try {
    out = execFileSync(batch, ['--decimal-separator', separator, file], { encoding: 'utf8' });
  } catch (e) {
    out = e.stdout;
  }
  return Object.fromEntries(out.trim().split('\n').map((line) => {
    const at = line.indexOf(': ');
    return [line.slice(0, at), line.slice(at + 2)];
  }));
}

const LABELS = { mach: 'mach', p2p1: 'p2_p1', rho1rho2: 'rho1_rho2', v2v1: 'v2_v1', t2t1: 't2_t1', chimax: 'chi_max' };

async function expectLabels(page, file, what) {
  const separator = await page.evaluate(() => window.zorkventa.separator);
  const native = nativeLines(file, separator);
  const shown = await page.evaluate((ids) => Object.fromEntries(ids.map((id) => {
    const out = document.getElementById(id);
    return [id, out.hidden ? '-' : out.textContent];
  })), Object.keys(LABELS));
  for (const [id, key] of Object.entries(LABELS)) {
    if (shown[id] !== native[key]) throw new Error(`${what}: ${id} shows "${shown[id]}", the native program "${native[key]}"`);
  }
}

const CLIPBOARD = { permissions: ['clipboard-read', 'clipboard-write'] };

async function clipboard(page) {
  return page.evaluate(() => navigator.clipboard.readText());
}

async function setClipboard(page, text) {
  await page.evaluate((t) => navigator.clipboard.writeText(t), text);
}

// The table as shown: its cells row by row, the spanned one given for both of its columns.
async function shownTable(page) {
  return page.evaluate(() => [...document.querySelectorAll('#compare-table tbody tr')].map((tr) => {
    const cells = [];
    for (const cell of tr.children) for (let k = 0; k < cell.colSpan; ++k) cells.push(cell.textContent);
    return cells;
  }));
}

// The rows of a native table text as the page's table shows them: empty fields as dashes.
function rowsOfText(text) {
  return text.split('\n').slice(3, 11).map((line) => line.split('\t').map((field, i) => (i > 0 && field === '' ? '—' : field)));
}

async function apply(page, chi, v1) {
  await page.fill('#chi', String(chi));
  await page.fill('#v1', String(v1));
  await page.click('#apply');
}

test('the table shows the desktop\'s rows and follows every Apply while shown', async () => {
  const page = await openPage(await openContext(CLIPBOARD), base);
  const separator = await page.evaluate(() => window.zorkventa.separator);
  await page.click('#tab-compare');
  for (const [chi, v1] of [[20, 680], [10, 1000], [30, 680], [0, 680], [1, 680]]) {
    if (chi !== 20) await apply(page, chi, v1);
    const want = rowsOfText(nativeTable(psr(340, 140, v1, chi), separator));
    const shown = await shownTable(page);
    // The spanned cell's text stands for the weak and the strong column: both hold θmax.
    if (JSON.stringify(shown) !== JSON.stringify(want)) {
      throw new Error(`χ = ${chi}, V1 = ${v1}: the table shows ${JSON.stringify(shown)}, the desktop ${JSON.stringify(want)}`);
    }
    const caseLine = await page.textContent('#compare-case');
    if (!caseLine.includes(`χ = ${chi}°`) || !caseLine.includes(`V₁ = ${v1} м/с`)) throw new Error(`case line ${caseLine}`);
  }
  const warning = await page.evaluate(() => document.getElementById('compare-summary').classList.contains('warning'));
  if (!warning) throw new Error('χ = 1°: the construction below the Mach angle is told in the warning colour');
  await apply(page, 20, 680);
  if (await page.evaluate(() => document.getElementById('compare-summary').classList.contains('warning'))) {
    throw new Error('the start-up case agrees: no warning');
  }
  const names = await page.evaluate(() => ({
    caption: document.querySelector('#compare-table caption').textContent,
    cols: [...document.querySelectorAll('#compare-table thead th')].map((th) => th.scope),
    rows: [...document.querySelectorAll('#compare-table tbody th')].map((th) => th.scope),
  }));
  if (!names.caption || names.cols.length !== 5 || names.rows.length !== 8 || ![...names.cols, ...names.rows].every((s) => s === 'col' || s === 'row')) {
    throw new Error(`the table's caption and headers for screen readers: ${JSON.stringify(names)}`);
  }
});

test('a hidden view is not refreshed; shown again, it holds the last Apply', async () => {
  const page = await openPage(await openContext(), base);
  await page.click('#tab-compare');
  await page.click('#tab-flight');
  const before = await page.evaluate(() => window.zorkventa.comparison.data.caseLine);
  await apply(page, 12, 900);
  const hidden = await page.evaluate(() => ({ stale: window.zorkventa.comparison.stale, line: window.zorkventa.comparison.data.caseLine }));
  if (!hidden.stale || hidden.line !== before) throw new Error('the hidden view was refreshed');
  await page.click('#tab-compare');
  const separator = await page.evaluate(() => window.zorkventa.separator);
  const want = rowsOfText(nativeTable(psr(340, 140, 900, 12), separator));
  if (JSON.stringify(await shownTable(page)) !== JSON.stringify(want)) throw new Error('shown again: not the last Apply');
});

test('the copy control and Ctrl+C yield the desktop\'s text; Ctrl+C in a text field copies the field', async () => {
  const page = await openPage(await openContext(CLIPBOARD), base);
  const separator = await page.evaluate(() => window.zorkventa.separator);
  await apply(page, 15, 1020);
  await page.click('#tab-compare');
  const want = nativeTable(psr(340, 140, 1020, 15), separator);
  await setClipboard(page, 'before');
  await page.click('#compare-copy');
  await page.waitForFunction(() => !document.getElementById('notice').hidden);
  if ((await clipboard(page)) !== want) throw new Error(`the copy control gave ${JSON.stringify(await clipboard(page))}`);

  for (const target of ['#compare-table', '#view-compare', '#compare-save']) {
    await setClipboard(page, 'before');
    await page.focus(target);
    await page.keyboard.press('Control+C');
    const got = await clipboard(page);
    if (got !== want) throw new Error(`Ctrl+C on ${target} gave ${JSON.stringify(got)}`);
  }
  // The wedge field keeps its own Ctrl+C.
  await page.focus('#chi');
  await page.evaluate(() => document.getElementById('chi').select());
  await page.keyboard.press('Control+C');
  if ((await clipboard(page)) !== '15') throw new Error(`Ctrl+C in the wedge field gave ${JSON.stringify(await clipboard(page))}`);
});

test('"Сохранить таблицу…" downloads the desktop\'s CSV bytes; after a fault the table is empty', async () => {
  const page = await openPage(await openContext(), base);
  await page.click('#tab-compare');
  await apply(page, 25, 1360);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#compare-save')]);
  const path = join(scratch, download.suggestedFilename());
  await download.saveAs(path);
  if (!path.endsWith('.csv')) throw new Error(`download named ${path}`);
  if (!readFileSync(path).equals(nativeCsv(psr(340, 140, 1360, 25)))) throw new Error('the CSV differs from the desktop\'s');

  // c1 = 0 from an address: Apply faults, the table holds no number of the former case.
  const faulted = await openPage(await openContext(), `${base}?c1=0`);
  await faulted.click('#error-ok');
  await faulted.click('#tab-compare');
  const summary = await faulted.textContent('#compare-summary');
  if (!summary.includes('прерван ошибкой')) throw new Error(`after a fault: ${summary}`);
  const separator = await faulted.evaluate(() => window.zorkventa.separator);
  const want = rowsOfText(nativeTable(psr(0, 140, 680, 20), separator));
  if (JSON.stringify(await shownTable(faulted)) !== JSON.stringify(want)) throw new Error('after a fault: not the desktop\'s empty table');
});

test('?v1=1000&chi=10 solves that case; the link gives it back', async () => {
  const page = await openPage(await openContext(CLIPBOARD), `${base}?v1=1000&chi=10`);
  await expectLabels(page, psr(340, 140, 1000, 10), '?v1=1000&chi=10');
  if (await page.evaluate(() => !document.getElementById('notice').hidden)) throw new Error('a notice for a good link');
  await page.click('#case-link');
  await page.waitForFunction(() => !document.getElementById('notice').hidden);
  const link = new URL(await clipboard(page));
  if (link.search !== '?c1=340&gamma=1.4&v1=1000&chi=10') throw new Error(`the link is ${link}`);
  // The address bar follows Apply.
  await apply(page, 14, 800);
  const search = await page.evaluate(() => window.location.search);
  if (search !== '?c1=340&gamma=1.4&v1=800&chi=14') throw new Error(`the address bar holds ${search}`);

  // The gas of a link: c1 and γ as the result file's values are taken.
  const gas = await openPage(await openContext(), `${base}?c1=300&gamma=1.3&v1=900&chi=12`);
  await expectLabels(gas, psr(300, 130, 900, 12), 'the gas from a link');
  const fields = await gas.evaluate(() => [document.getElementById('c1').value, document.getElementById('gamma').value]);
  if (fields.join() !== '300,13') throw new Error(`the settings' fields show ${fields}`);
  // A value beyond its field's limits is brought into them, as from a file.
  const clamped = await openPage(await openContext(), `${base}?chi=250&v1=5000000`);
  const values = await clamped.evaluate(() => [document.getElementById('chi').value, document.getElementById('v1').value]);
  if (values.join() !== '180,1000000') throw new Error(`the fields show ${values}`);
  await expectLabels(clamped, psr(340, 140, 1000000, 180), 'clamped');
});

test('a malformed parameter is left out with a message; the others still count', async () => {
  const cases = [
    { query: '?v1=abc', file: psr(340, 140, 680, 20), names: ['v1', 'целое число'] },
    { query: '?v1=&chi=NaN', file: psr(340, 140, 680, 20), names: ['v1 пуст', 'chi = «NaN»'] },
    { query: '?chi=Infinity&v1=1e400', file: psr(340, 140, 680, 20), names: ['chi = «Infinity»', 'v1 = «1e400»'] },
    { query: '?chi=1e400&v1=1000', file: psr(340, 140, 1000, 20), names: ['chi = «1e400»'] },
    { query: '?v1=700&v1=800&chi=10', file: psr(340, 140, 680, 10), names: ['v1 указан несколько раз'] },
    { query: '?gamma=%zz&c1=%FF', file: psr(340, 140, 680, 20), names: ['c1 = «', 'gamma = «%zz»'] },
  ];
  for (const c of cases) {
    const errors = [];
    const context = await openContext();
    const page = context.pages()[0] ?? (await context.newPage());
    page.on('pageerror', (e) => errors.push(e.message));
    await openPage(context, base + c.query);
    await expectLabels(page, c.file, c.query);
    const notice = await page.evaluate(() => !document.getElementById('notice').hidden && document.getElementById('notice-text').textContent);
    if (!notice) throw new Error(`${c.query}: no message`);
    for (const name of c.names) if (!notice.includes(name)) throw new Error(`${c.query}: the message does not say "${name}": ${notice}`);
    if (await page.evaluate(() => document.getElementById('error').open)) throw new Error(`${c.query}: an error box instead of a notice`);
    if (errors.length) throw new Error(`${c.query}: ${errors}`);
    const labels = await page.evaluate(() => document.querySelector('.results').textContent);
    if (/NaN|Infinity|undefined/.test(labels)) throw new Error(`${c.query}: ${labels}`);
    await closeContexts();
  }
});

test('on a 360 × 740 phone no view scrolls sideways', async () => {
  const page = await openPage(await openContext({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true }), base);
  for (const view of ['flight', 'compare', 'steps']) {
    await page.click(`#tab-${view}`);
    await page.waitForTimeout(100);
    const size = await page.evaluate(() => ({ scroll: document.documentElement.scrollWidth, inner: window.innerWidth }));
    if (size.scroll > size.inner) throw new Error(`the ${view} view is ${size.scroll} px wide on a ${size.inner} px screen`);
  }
  // The table scrolls in its own box if it must, never the page.
  const box = await page.evaluate(() => document.querySelector('.compare-table-box').getBoundingClientRect().right);
  if (box > 360) throw new Error(`the table's box reaches ${box} px`);
});

test('every control of the views and the bar has a name; the link button works by the keyboard', async () => {
  const page = await openPage(await openContext(CLIPBOARD), base);
  await page.click('#tab-compare');
  const unnamed = await page.evaluate(() => [...document.querySelectorAll('button, input, canvas[tabindex], table[tabindex]')]
    .filter((el) => !el.hidden && el.type !== 'file' && el.offsetParent !== null)
    .filter((el) => !(el.getAttribute('aria-label') || el.labels?.length || el.textContent.trim() || el.querySelector?.('caption')))
    .map((el) => el.id || el.outerHTML.slice(0, 40)));
  if (unnamed.length) throw new Error(`controls without a name: ${unnamed}`);
  await page.focus('#case-link');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.getElementById('notice').hidden);
  if (new URL(await clipboard(page)).search !== '?c1=340&gamma=1.4&v1=680&chi=20') throw new Error('Enter on the link button');
  await page.focus('#notice-close');
  await page.keyboard.press('Enter');
  if (await page.evaluate(() => !document.getElementById('notice').hidden)) throw new Error('the notice stays after its close button');
});

test('the comparison\'s refresh time in Chromium', async () => {
  const page = await openPage(await openContext(), base);
  await page.click('#tab-compare');
  const times = await page.evaluate(() => {
    const app = window.zorkventa;
    const out = { first: app.comparison.lastRefreshMs, newSpeed: [], sameSpeed: [] };
    for (let i = 0; i < 10; ++i) {
      app.v1.value = 700 + 10 * i; // a new V1: the largest attached wedge is searched again
      app.pickWedge(20);
      out.newSpeed.push(app.comparison.lastRefreshMs);
      app.pickWedge(15 + (i % 5)); // the same V1: the wedge search is kept
      out.sameSpeed.push(app.comparison.lastRefreshMs);
    }
    return out;
  });
  const median = (a) => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)];
  console.log(`     refresh: first ${times.first.toFixed(1)} ms, new V1 median ${median(times.newSpeed).toFixed(1)} ms, same V1 median ${median(times.sameSpeed).toFixed(1)} ms`);
});

await run();
