// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests and its benchmark share: a plain static server of the site, as a
// teacher's web server would serve it, and Debian's Chromium, headless, with a fresh profile for
// every context; and the run of one script's tests.
import { chromium } from 'playwright-core';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';

// The command line's --name value pairs.
export function options(argv) {
  const pairs = {};
  for (let i = 0; i < argv.length; ++i) if (argv[i].startsWith('--')) pairs[argv[i].slice(2)] = argv[i + 1];
  return pairs;
}

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.css': 'text/css', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json',
};

// Serves the folder site on a free port of 127.0.0.1; resolves to the server.
export function serve(site) {
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    let file = join(site, path);
    if (!file.startsWith(site)) file = site;
    try {
      if (statSync(file).isDirectory()) file = join(file, 'index.html');
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': TYPES[extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done(server)));
}

export function siteUrl(server) {
  return `http://127.0.0.1:${server.address().port}/`;
}

const CHROMIUM_ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// A browser with a fresh profile under scratch, in a Russian locale at pixel ratio 1 unless told.
export function openContext(scratch, extra = {}) {
  return chromium.launchPersistentContext(mkdtempSync(join(scratch, 'profile-')), {
    executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_ARGS, locale: 'ru-RU',
    acceptDownloads: true, viewport: { width: 1280, height: 900 }, deviceScaleFactor: 1, ...extra,
  });
}

// The page loaded and its first diagram drawn.
export async function openPage(context, url) {
  const page = context.pages()[0] ?? (await context.newPage());
  await page.goto(url);
  await page.waitForSelector('html[data-ready="true"]', { timeout: 15000 });
  return page;
}

// One script's tests against the site: a scratch folder (named from prefix) for the browsers'
// profiles and the script's files, the site served, and the browsers a test opens closed when it
// ends.  test(name, body) adds a test; run() runs them in order, prints "ok   name" or
// "FAIL name" with the reason for each, cleans up and ends the process with status 1 if any failed.
export async function suite(prefix, site) {
  const scratch = mkdtempSync(join(tmpdir(), prefix));
  const server = await serve(site);
  const tests = [];
  const contexts = [];
  const closeContexts = async () => {
    while (contexts.length) await contexts.pop().close();
  };
  return {
    scratch,
    url: siteUrl(server),
    test: (name, body) => tests.push({ name, body }),
    async openContext(extra = {}) {
      const context = await openContext(scratch, extra);
      contexts.push(context);
      return context;
    },
    closeContexts,
    async run() {
      let failed = 0;
      for (const { name, body } of tests) {
        try {
          await body();
          console.log(`ok   ${name}`);
        } catch (e) {
          ++failed;
          console.log(`FAIL ${name}\n     ${e.message}`);
        }
        await closeContexts();
      }
      server.close();
      rmSync(scratch, { recursive: true, force: true });
      process.exit(failed ? 1 : 0);
    },
  };
}
