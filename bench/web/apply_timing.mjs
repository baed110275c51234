// SPDX-License-Identifier: GPL-3.0-or-later
// The page's Apply timed under node: every wedge angle from 0 to 180 at one speed, through the
// same engine and binding the page calls (build-web/node/zorkventa.mjs, `make web-bench`).
//   node --no-experimental-fetch bench/web/apply_timing.mjs [V1] [c1] [gamma x 10]
// Each angle is applied three times and the least CPU time of this process counts, so that other
// work on a shared machine does not enter the figure; prints the worst and the mean.
import createZorkventa from '../../build-web/node/zorkventa.mjs';

const engine = await createZorkventa({ locateFile: (p) => new URL('../../build-web/node/' + p, import.meta.url).pathname });
const v1 = Number(process.argv[2] || 1000000);
const c1 = Number(process.argv[3] || 340);
const gammaTimesTen = Number(process.argv[4] || 14);
// The main view's case, as the page holds it: the settings' fields, then Apply and the pixels.
const kase = new engine.Case(1);
kase.setGas(c1, gammaTimesTen);
const apply = (chi) => {
  kase.apply(chi, v1);
  kase.pixels();
};
apply(20); // compiled and warmed
let worst = 0, worstChi = -1, total = 0;
for (let chi = 0; chi <= 180; ++chi) {
  let best = Infinity;
  for (let rep = 0; rep < 3; ++rep) {
    const t0 = process.cpuUsage();
    apply(chi);
    const used = process.cpuUsage(t0);
    best = Math.min(best, (used.user + used.system) / 1000);
  }
  total += best;
  if (best > worst) {
    worst = best;
    worstChi = chi;
  }
}
console.log(`Apply at V1 = ${v1} (c1 = ${c1}, gamma = ${gammaTimesTen / 10}), chi 0..180: worst ${worst.toFixed(2)} ms ` +
            `(chi = ${worstChi}), mean ${(total / 181).toFixed(2)} ms`);
