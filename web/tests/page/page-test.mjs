// SPDX-License-Identifier: GPL-3.0-or-later
// The web page in a real browser: Debian's Chromium, headless, driven by playwright-core.  Every
// expected value comes from the native program: the start-up diagram from the native batch tool's
// BMP, the labels from its lines for the same case.
//
//   sh web/tests/page/run.sh web/tests/page/page-test.mjs build-web/site
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { options, openPage, suite } from './browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const batch = resolve(args.batch ?? 'build/zorkventa-batch');
const dataDir = resolve(args.data ?? 'tests/data');
const { scratch, url, test, openContext, run } = await suite('zk-page-', site);

// ---------------------------------------------------------------------------------------------
// The native program's answers.
function psr(c1, gammaTimes100, v1, chi) {
  const file = join(scratch, `case-${c1}-${gammaTimes100}-${v1}-${chi}.psr`);
  writeFileSync(file, `${c1}\r\n${gammaTimes100}\r\n${v1}\r\n${chi}\r\n`);
  return file;
}

// The batch tool's `key: value` lines for a case file, with the page's decimal separator.
function nativeLines(file, extra = []) {
  let out;
  try {
    out = execFileSync(batch, ['--decimal-separator', ',', ...extra, file], { encoding: 'utf8' });
  } catch (e) {
    out = e.stdout; // a faulting case ends with status 1 and still prints its lines
  }
  return Object.fromEntries(out.trim().split('\n').map((line) => {
    const at = line.indexOf(': ');
    return [line.slice(0, at), line.slice(at + 2)];
  }));
}

// The page's label ids and the batch tool's keys.
const LABELS = { mach: 'mach', p2p1: 'p2_p1', rho1rho2: 'rho1_rho2', v2v1: 'v2_v1', t2t1: 't2_t1', chimax: 'chi_max' };

// A 24-bit bottom-up BMP as top-down RGB triples.
function bmpPixels(bytes) {
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  const stride = Math.ceil((width * 3) / 4) * 4;
  const rgb = new Uint8Array(width * height * 3);
  for (let y = 0; y < height; ++y) {
    const row = offset + (height - 1 - y) * stride;
    for (let x = 0; x < width; ++x) {
      rgb[(y * width + x) * 3] = bytes[row + x * 3 + 2];
      rgb[(y * width + x) * 3 + 1] = bytes[row + x * 3 + 1];
      rgb[(y * width + x) * 3 + 2] = bytes[row + x * 3];
    }
  }
  return { width, height, rgb };
}

async function labelsOf(page) {
  return page.evaluate((ids) => Object.fromEntries(ids.map((id) => {
    const out = document.getElementById(id);
    return [id, out.hidden ? '-' : out.textContent];
  })), Object.keys(LABELS));
}

function expectLabels(shown, native, what) {
  for (const [id, key] of Object.entries(LABELS)) {
    if (shown[id] !== native[key]) throw new Error(`${what}: ${id} shows "${shown[id]}", the native program "${native[key]}"`);
  }
}

async function errorShown(page) {
  return page.evaluate(() => {
    const box = document.getElementById('error');
    return box.open ? document.getElementById('error-text').textContent : null;
  });
}

async function dismissError(page) {
  if (await errorShown(page)) await page.click('#error-ok');
}

async function typeInto(page, id, text) {
  await page.fill(`#${id}`, text);
}

// The settings as a student sets them: open, type, close with "OK".  The close event comes after
// the click, so the labels are blanked first and the run the close starts is waited for: it
// writes them again or shows its fault.
async function setGas(page, c1, gammaTimesTen) {
  await page.click('#open-settings');
  await typeInto(page, 'c1', String(c1));
  await typeInto(page, 'gamma', String(gammaTimesTen));
  await page.evaluate((ids) => ids.forEach((id) => { document.getElementById(id).textContent = ''; }), Object.keys(LABELS));
  await page.click('#settings-ok');
  await page.waitForFunction(() => !document.getElementById('settings').open &&
    (document.getElementById('error').open || document.getElementById('chimax').textContent !== ''));
}

async function canvasRgb(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('diagram');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const rgb = [];
    for (let i = 0; i < data.length; i += 4) rgb.push(data[i], data[i + 1], data[i + 2]);
    return { width: canvas.width, height: canvas.height, rgb };
  });
}

function equalPixels(shown, native) {
  if (shown.width !== native.width || shown.height !== native.height)
    throw new Error(`the diagram is ${shown.width} x ${shown.height}, the native BMP ${native.width} x ${native.height}`);
  let differing = 0;
  for (let i = 0; i < native.rgb.length; i += 3) {
    if (shown.rgb[i] !== native.rgb[i] || shown.rgb[i + 1] !== native.rgb[i + 1] || shown.rgb[i + 2] !== native.rgb[i + 2]) ++differing;
  }
  if (differing) throw new Error(`${differing} pixels of the diagram differ from the native BMP`);
}

// ---------------------------------------------------------------------------------------------
test('the start-up diagram equals the native BMP pixel for pixel', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  const bmp = join(scratch, 'startup.bmp');
  execFileSync(batch, ['--bmp', bmp, join(dataDir, 'startup.psr')]);
  equalPixels(await canvasRgb(page), bmpPixels(readFileSync(bmp)));
  expectLabels(await labelsOf(page), nativeLines(join(dataDir, 'startup.psr')), 'start-up');
});

test('typed inputs and "Применить" give the native labels: attached, detached, faulting', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  const cases = [
    { what: 'attached', c1: 340, gamma: 14, v1: '1020', chi: '15', file: psr(340, 140, 1020, 15) },
    { what: 'detached', c1: 340, gamma: 14, v1: '680', chi: '40', file: psr(340, 140, 680, 40) },
    { what: 'attached, another gas, typed with a fraction', c1: 300, gamma: 13, v1: '1500,4', chi: '25.6',
      file: psr(300, 130, 1500, 26) },
  ];
  for (const c of cases) {
    await setGas(page, c.c1, c.gamma);
    await dismissError(page);
    await typeInto(page, 'v1', c.v1);
    await typeInto(page, 'chi', c.chi);
    await page.click('#apply');
    if (await errorShown(page)) throw new Error(`${c.what}: unexpected error "${await errorShown(page)}"`);
    expectLabels(await labelsOf(page), nativeLines(c.file), c.what);
  }
  // Faults: the message is the runtime's, the labels the run wrote are the native ones, and the
  // page goes on working.
  const faults = [
    { what: 'γ below 1', c1: 340, gamma: 9, file: psr(340, 90, 680, 20) },
    { what: 'c1 = 0', c1: 0, gamma: 14, file: psr(0, 140, 680, 20) },
  ];
  for (const f of faults) {
    await typeInto(page, 'v1', '680');
    await typeInto(page, 'chi', '20');
    await setGas(page, f.c1, f.gamma);
    const native = nativeLines(f.file);
    const message = await errorShown(page);
    if (message !== native.error) throw new Error(`${f.what}: the page says "${message}", the native program "${native.error}"`);
    await dismissError(page);
    const shown = await labelsOf(page);
    for (const [id, key] of Object.entries(LABELS)) {
      if (native[key] !== '-' && shown[id] !== native[key]) throw new Error(`${f.what}: ${id} "${shown[id]}" against "${native[key]}"`);
    }
  }
  await setGas(page, 340, 14);
  if (await errorShown(page)) throw new Error('the page did not recover after the faults');
  expectLabels(await labelsOf(page), nativeLines(psr(340, 140, 680, 20)), 'after the faults');
  // Letters are refused as they are typed; a text that is still no number (pasted, say) is
  // refused with a message and changes nothing.
  await page.fill('#chi', '2o');
  if ((await page.inputValue('#chi')) !== '20') throw new Error(`typing a letter left "${await page.inputValue('#chi')}"`);
  await page.evaluate(() => { document.getElementById('chi').value = '1-2'; });
  await page.click('#apply');
  if (!(await errorShown(page))?.includes('не число')) throw new Error('a text that is no number gave no message');
  await dismissError(page);
  expectLabels(await labelsOf(page), nativeLines(psr(340, 140, 680, 20)), 'after a bad text');
});

test('opening a good and a broken .psr', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  const open = async (file) => {
    const [chooser] = await Promise.all([page.waitForEvent('filechooser'), page.click('#open')]);
    await chooser.setFiles(file);
    await page.waitForFunction(() => window.zorkventa && document.activeElement !== null);
  };
  const good = psr(300, 130, 1000, 15);
  await open(good);
  await page.waitForFunction(() => document.getElementById('chi').value === '15');
  expectLabels(await labelsOf(page), nativeLines(good), 'opened file');
  const fields = await page.evaluate(() => ['v1', 'c1', 'gamma'].map((id) => document.getElementById(id).value));
  if (fields.join() !== '1000,300,13') throw new Error(`the opened file set the fields to ${fields}`);
  const before = await canvasRgb(page);
  await open(join(dataDir, 'letter-in-gamma.psr'));
  await page.waitForSelector('#error[open]');
  const message = await errorShown(page);
  if (message !== 'Invalid numeric input') throw new Error(`the broken file gave "${message}"`);
  await dismissError(page);
  expectLabels(await labelsOf(page), nativeLines(good), 'after the broken file');
  equalPixels(await canvasRgb(page), before);
  // A gas the fields show rounded (γ = 1.67 as 17) is kept by a settings close that changed
  // nothing: the labels stay those of 1.67, not of 1.7.
  const monatomic = psr(340, 167, 680, 20);
  await open(monatomic);
  await page.waitForFunction(() => document.getElementById('gamma').value === '17');
  await page.click('#open-settings');
  // The close applies the gas: the labels, blanked here, are written again by that run.
  await page.evaluate((ids) => ids.forEach((id) => { document.getElementById(id).textContent = ''; }), Object.keys(LABELS));
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !document.getElementById('settings').open && document.getElementById('chimax').textContent !== '');
  expectLabels(await labelsOf(page), nativeLines(monatomic), 'the settings closed untouched');
});

test('the PNG download is the diagram at four times its size; BMP and .psr downloads', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  const fetchDownload = async (button) => {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
    const path = join(scratch, download.suggestedFilename());
    await download.saveAs(path);
    return readFileSync(path);
  };
  const png = await fetchDownload('#export-png');
  const width = png.readUInt32BE(16);
  const height = png.readUInt32BE(20);
  if (png.toString('latin1', 1, 4) !== 'PNG' || width !== 2436 || height !== 1796)
    throw new Error(`the PNG is ${width} x ${height}`);
  const bmp = await fetchDownload('#export-bmp');
  const nativeBmp = join(scratch, 'startup-native.bmp');
  execFileSync(batch, ['--bmp', nativeBmp, join(dataDir, 'startup.psr')]);
  if (!bmp.equals(readFileSync(nativeBmp))) throw new Error('the BMP download differs from the native BMP');
  const saved = await fetchDownload('#save');
  if (saved.toString('latin1') !== '340\r\n140\r\n680\r\n20\r\n') throw new Error(`the saved case is ${JSON.stringify(saved.toString())}`);
});

test('a click on the diagram shows the theory picture; a click puts it away', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  await page.click('#diagram');
  await page.waitForSelector('#theory[open]');
  await page.waitForFunction(() => document.getElementById('theory-picture').complete);
  const size = await page.evaluate(() => {
    const img = document.getElementById('theory-picture');
    return [img.naturalWidth, img.naturalHeight];
  });
  if (size.join() !== '758,527') throw new Error(`the theory picture is ${size}`);
  await page.click('#theory-picture');
  if (await page.evaluate(() => document.getElementById('theory').open)) throw new Error('the theory picture stayed open');
});

test('printing puts the inputs, the diagram and the results on one landscape page', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  await page.emulateMedia({ media: 'print' });
  const shown = await page.evaluate(() => ['inputs', 'diagram', 'mach', 'p2p1', 'apply', 'open'].map((id) => {
    const box = document.getElementById(id).getBoundingClientRect();
    return box.width > 0 && box.height > 0;
  }));
  if (shown.join() !== 'true,true,true,true,false,false') throw new Error(`printed (inputs, diagram, mach, p2p1, apply, open): ${shown}`);
  const pdf = (await page.pdf({ preferCSSPageSize: true, printBackground: true })).toString('latin1');
  const pages = pdf.match(/\/Type\s*\/Page[^s]/g) ?? [];
  const box = pdf.match(/\/MediaBox\s*\[\s*0 0 ([\d.]+) ([\d.]+)\s*\]/);
  if (pages.length !== 1) throw new Error(`the printout has ${pages.length} pages`);
  if (!box || Number(box[1]) <= Number(box[2])) throw new Error(`the page is not landscape: ${box && box.slice(1)}`);
});

test('a reload with the network off after the first visit still draws', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller)
      await new Promise((done) => navigator.serviceWorker.addEventListener('controllerchange', done, { once: true }));
  });
  await context.setOffline(true);
  await page.reload();
  await page.waitForSelector('html[data-ready="true"]', { timeout: 15000 });
  const bmp = join(scratch, 'startup.bmp');
  equalPixels(await canvasRgb(page), bmpPixels(readFileSync(bmp)));
  // The flight view's worker and its scripts come from the cache too: its frames run there (a
  // worker that failed to load would have handed the frames to the page by now).
  const until = Date.now() + 10000;
  while (!((await page.evaluate(() => window.zorkventa.flight.query('ticks'))) >= 3)) {
    if (Date.now() > until) throw new Error('offline, the flight view does not tick');
    await page.waitForTimeout(20);
  }
  const kind = await page.evaluate(() => window.zorkventa.flight.frames.kind);
  if (kind !== 'worker') throw new Error(`offline, the flight frames run on the ${kind}'s thread`);
  await context.setOffline(false);
});

test('a 360 x 740 phone needs no horizontal scrolling; the diagram is drawn at its pixel ratio', async () => {
  const context = await openContext({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  const page = await openPage(context, url);
  const layout = await page.evaluate(() => ({
    scroll: document.documentElement.scrollWidth,
    client: document.documentElement.clientWidth,
    canvas: [document.getElementById('diagram').width, document.getElementById('diagram').height],
    shown: document.getElementById('diagram').getBoundingClientRect().width,
  }));
  if (layout.scroll > layout.client) throw new Error(`the page is ${layout.scroll} px wide in a ${layout.client} px viewport`);
  if (layout.canvas.join() !== '1827,1347') throw new Error(`the canvas is ${layout.canvas} at pixel ratio 3`);
  if (layout.shown > 360) throw new Error(`the diagram is ${layout.shown} px wide`);
  for (const dialog of ['#open-settings', '#open-guide']) {
    await page.click(dialog);
    const wide = await page.evaluate(() => document.documentElement.scrollWidth > document.documentElement.clientWidth);
    if (wide) throw new Error(`${dialog} makes the page scroll sideways`);
    await page.keyboard.press('Escape');
  }
});

test('the keyboard alone reaches "Применить" and applies', async () => {
  const context = await openContext();
  const page = await openPage(context, url);
  await page.evaluate(() => document.activeElement.blur());
  const reached = [];
  for (let i = 0; i < 30 && (await page.evaluate(() => document.activeElement.id)) !== 'apply'; ++i) {
    await page.keyboard.press('Tab');
    const id = await page.evaluate(() => document.activeElement.id);
    reached.push(id);
    if (id === 'chi') {
      await page.keyboard.press('Control+A');
      await page.keyboard.type('40');
    }
    if (id === 'v1') for (let k = 0; k < 2; ++k) await page.keyboard.press('ArrowDown'); // 680 - 2 x 340, clamped to 365
  }
  if ((await page.evaluate(() => document.activeElement.id)) !== 'apply') throw new Error(`Tab went through ${reached}`);
  // Every control that Tab passes has a name for a screen reader.
  const unnamed = await page.evaluate(() => [...document.querySelectorAll('button, input, canvas[tabindex]')]
    .filter((el) => !el.hidden && el.type !== 'file')
    .filter((el) => !(el.getAttribute('aria-label') || el.labels?.length || el.textContent.trim()))
    .map((el) => el.id || el.outerHTML.slice(0, 40)));
  if (unnamed.length) throw new Error(`controls without a name: ${unnamed}`);
  await page.keyboard.press('Enter');
  expectLabels(await labelsOf(page), nativeLines(psr(340, 140, 365, 40)), 'applied by the keyboard');
});

// ---------------------------------------------------------------------------------------------
await run();
