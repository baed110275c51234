// SPDX-License-Identifier: GPL-3.0-or-later
// The service worker: after the first visit the page loads and works with no network.  Every file
// of the site is kept in one cache; a request is answered from it at once and the copy is renewed
// from the network in the background, so a new version of the site arrives with the next visit.
const CACHE = 'zorkventa-2';

const PICTURES = ['task-sketch', 'velocity-density', 'pressure-ratio', 'speed-ratio', 'temperature-ratio',
  'sound-speed', 'gamma', 'chi-max', 'chi', 'velocity', 'gamma-times-ten', 'theory'];
const SITE = [
  './', 'index.html', 'style.css', 'manifest.webmanifest',
  'js/main.js', 'js/engine.js', 'js/spinfield.js', 'js/settings.js', 'js/files.js', 'js/dialogs.js',
  'js/views.js', 'js/flight.js', 'js/flight-frames.js', 'js/flight-worker.js', 'js/notice.js', 'js/comparison.js', 'js/caselink.js', 'js/charts.js', 'js/steps.js',
  'zorkventa.mjs', 'zorkventa.wasm',
  'icons/zorkventa.svg', 'icons/zorkventa-64.png', 'icons/zorkventa-128.png',
  ...PICTURES.flatMap((name) => [1, 2, 3, 4].map((k) => `pictures/${name}-${k}x.png`)),
];

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    await cache.addAll(SITE.map((url) => new Request(url, { cache: 'reload' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) if (name !== CACHE) await caches.delete(name);
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(request, { ignoreSearch: true });
    const fresh = fetch(request).then((response) => {
      if (response.ok) cache.put(request, response.clone());
      return response;
    });
    if (kept) {
      event.waitUntil(fresh.catch(() => undefined)); // offline: the kept copy serves
      return kept;
    }
    return fresh;
  })());
});
