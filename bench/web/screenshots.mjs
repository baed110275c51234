// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the page's views for the README: the flight view, the comparison view and the
// steps view, on a desktop (1280 × 900) and on a phone (360 × 740 at pixel ratio 2, touch).
//
//   sh web/tests/page/run.sh bench/web/screenshots.mjs build-web/site --out docs
// writes docs/web-{flight,compare,steps}-{desktop,phone}.png.
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { options, serve, siteUrl, openContext, openPage } from '../../web/tests/page/browser.mjs';

const args = options(process.argv.slice(2));
const site = resolve(args.site ?? 'build-web/site');
const out = resolve(args.out ?? 'docs');
const scratch = mkdtempSync(join(tmpdir(), 'zk-shots-'));
mkdirSync(out, { recursive: true });

const DEVICES = {
  desktop: { viewport: { width: 1280, height: 900 }, deviceScaleFactor: 1 },
  phone: { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
};
const VIEWS = ['flight', 'compare', 'steps'];

const server = await serve(site);
try {
  for (const [device, settings] of Object.entries(DEVICES)) {
    const context = await openContext(scratch, settings);
    try {
      const page = await openPage(context, siteUrl(server));
      for (const view of VIEWS) {
        await page.click(`#tab-${view}`);
        // The view's first frames (the particles move, the charts are drawn).
        await page.waitForTimeout(1500);
        const file = join(out, `web-${view}-${device}.png`);
        if (device === 'desktop') {
          // The views sit below the main view: the picture starts at the tabs and is the
          // viewport's height, so the main view's lower part shows above the view.
          const top = await page.evaluate(() => document.getElementById('views').getBoundingClientRect().top + window.scrollY);
          await page.evaluate((y) => window.scrollTo(0, Math.max(0, y - 160)), top);
          await page.screenshot({ path: file });
        } else {
          // On a phone the view, from its tabs down, as the student scrolls to it.
          const views = await page.$('#views');
          await views.screenshot({ path: file });
        }
        console.log(file);
      }
    } finally {
      await context.close();
    }
  }
} finally {
  server.close();
  rmSync(scratch, { recursive: true, force: true });
}
