// SPDX-License-Identifier: GPL-3.0-or-later
// The flight view's frames in a worker of their own: the page hands over its canvas, and the
// engine's Flight ticks and paints here, so the animation costs the page's own thread nothing.
// The first message brings the canvas and the device scale; the engine is loaded meanwhile, and
// orders that come before it is ready wait.  Replies: {type: 'ready'}, {type: 'controls', bits},
// {type: 'fault', message}, {type: 'answer', id, value}, {type: 'failed', message}.
import createZorkventa from '../zorkventa.mjs';
import { FrameLoop } from './flight-frames.js';

let loop = null;
const waiting = [];

function take(message) {
  if (message.type === 'query') {
    postMessage({ type: 'answer', id: message.id, value: loop.query(message.what) });
  } else {
    loop.handle(message);
  }
}

async function start({ canvas, scale }) {
  try {
    const engine = await createZorkventa();
    loop = new FrameLoop(new engine.Flight(scale), canvas, (message) => postMessage(message));
    postMessage({ type: 'ready' });
    for (const message of waiting.splice(0)) take(message);
  } catch (e) {
    postMessage({ type: 'failed', message: String(e && e.message ? e.message : e) });
  }
}

onmessage = (event) => {
  const message = event.data;
  if (message.type === 'start') start(message);
  else if (loop) take(message);
  else waiting.push(message);
};
