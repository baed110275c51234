// SPDX-License-Identifier: GPL-3.0-or-later
// The program's engine, compiled to WebAssembly: the case of the main window (Apply, the labels,
// the diagram's pixels, the result file, the BMP) and the texts of the guide and "О программе".
import createZorkventa from '../zorkventa.mjs';

export async function loadEngine() {
  return createZorkventa();
}

// The device scale the diagram is drawn at: the next whole number at or above the screen's
// device pixel ratio, as on the desktop.
export function deviceScale() {
  return Math.min(Math.max(Math.ceil(window.devicePixelRatio || 1), 1), 16);
}

// The decimal separator of the reader's language, as the desktop takes its locale's.
export function decimalSeparator() {
  try {
    const part = new Intl.NumberFormat(navigator.language).formatToParts(1.5).find((p) => p.type === 'decimal');
    return part && part.value.length === 1 ? part.value : '.';
  } catch {
    return '.';
  }
}

// An RGBA view of the engine's memory as an ImageData over the same bytes, without a copy: it is
// valid only until the next call into the engine, so it is put on a canvas at once.
export function imageOf(view, width, height) {
  return new ImageData(new Uint8ClampedArray(view.buffer, view.byteOffset, view.byteLength), width, height);
}
