// SPDX-License-Identifier: GPL-3.0-or-later
// The flight view's frame timed under node, through the same engine and binding the page calls
// (build-web/node/zorkventa.mjs, `make web-flight-bench`): 500 particles past the attached shock
// of the start-up case, "Ударная волна" checked; the motion tick, the scene tick and the changed
// parts converted, as the page runs them once per animation frame.  Prints the CPU time per frame
// (the least of a few rounds, so that other work on a shared machine does not enter the figure)
// and the share of one core at 60 frames a second.
//   node --no-experimental-fetch bench/web/flight_frame.mjs [particles] [scale]
import createZorkventa from '../../build-web/node/zorkventa.mjs';

const engine = await createZorkventa({ locateFile: (p) => new URL('../../build-web/node/' + p, import.meta.url).pathname });
const particles = Number(process.argv[2] || 500);
const scale = Number(process.argv[3] || 1);
const FRAMES = 1000;
const ROUNDS = 5;

const kase = new engine.Case(1);
const flight = new engine.Flight(scale);
flight.setParticleCount(particles);
flight.setShock(true);
flight.activate(kase.flow());
for (let i = 0; i < 400; ++i) flight.frame(); // the particles spread over the window
let best = Infinity;
for (let round = 0; round < ROUNDS; ++round) {
  const t0 = process.cpuUsage();
  for (let i = 0; i < FRAMES; ++i) {
    if (!flight.frame()) throw new Error(flight.error());
    flight.changed();
  }
  const used = process.cpuUsage(t0);
  best = Math.min(best, (used.user + used.system) / 1000 / FRAMES);
}
console.log(`flight frame, ${particles} particles, scale ${scale}: ${best.toFixed(3)} ms of CPU ` +
  `(${(best * 60 / 10).toFixed(1)} % of one core at 60 frames/s)`);
