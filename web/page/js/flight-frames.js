// SPDX-License-Identifier: GPL-3.0-or-later
// The flight view's frames: one motion tick and one scene tick of the engine's Flight per
// animation frame, and what they changed put on the canvas.  The same loop runs in a worker that
// owns the canvas (flight-worker.js), off the page's own thread, or on the page where a canvas
// cannot be handed to a worker.  It takes its orders as messages and says what the view must know
// (the check boxes as the scene tick leaves them, a fault) through `tell`.

export class FrameLoop {
  // flight: the engine's Flight; canvas: the canvas or offscreen canvas it paints;
  // tell(message): {type: 'controls', bits} or {type: 'fault', message}.
  constructor(flight, canvas, tell) {
    this.flight = flight;
    this.canvas = canvas;
    this.tell = tell;
    // Opaque and drawn straight to the screen: the picture has no transparency, and a frame that
    // only moves particles need not wait for the page's compositing.
    this.context = canvas.getContext('2d', { alpha: false, desynchronized: true });
    this.image = null;
    this.hidden = false; // the page is not seen
    this.request = 0;
    this.controls = -1;
    this.sizeCanvas();
  }

  sizeCanvas() {
    const width = this.flight.deviceWidth();
    const height = this.flight.deviceHeight();
    if (this.canvas.width !== width) this.canvas.width = width;
    if (this.canvas.height !== height) this.canvas.height = height;
    this.image = null;
  }

  // An order of the view; the messages are those FlightView sends.
  handle(message) {
    const { flight } = this;
    switch (message.type) {
      case 'count': flight.setParticleCount(message.value); break;
      case 'activate': flight.activate(message.flow); break;
      case 'close': flight.close(); break;
      case 'shock': flight.setShock(message.value); break;
      case 'streamlines': flight.setStreamlines(message.value); break;
      case 'speed': flight.setScrollPosition(message.value); break;
      case 'mouse': flight.mouseMove(message.x, message.y); break;
      case 'scale':
        flight.setScale(message.value);
        this.sizeCanvas();
        break;
      case 'hidden': this.hidden = message.value; break;
      default: return;
    }
    this.schedule();
  }

  // What scripts and tests ask of the running view.
  query(what) {
    const { flight } = this;
    switch (what) {
      case 'ticks': return flight.ticks();
      case 'running': return flight.running();
      case 'particleCount': return flight.particleCount();
      case 'particles': return Array.from(flight.particles());
      // The ticks and the particles after them, of one and the same frame.
      case 'run': return { ticks: flight.ticks(), particles: Array.from(flight.particles()) };
      case 'speed': return flight.speed();
      case 'scrollPosition': return flight.scrollPosition();
      case 'controls': return flight.controls();
      case 'size': return [this.canvas.width, this.canvas.height];
      // The red channel of every pixel the canvas shows.
      case 'pixels': {
        const data = this.context.getImageData(0, 0, this.canvas.width, this.canvas.height).data;
        return Array.from(data.filter((_, i) => i % 4 === 0));
      }
      // A hash of the whole picture the canvas shows.
      case 'hash': {
        const data = this.context.getImageData(0, 0, this.canvas.width, this.canvas.height).data;
        let hash = 0;
        for (let i = 0; i < data.length; i += 4) hash = (hash * 31 + data[i] + data[i + 1] * 7 + data[i + 2] * 13) | 0;
        return hash;
      }
      default: return undefined;
    }
  }

  // Frames run while the view is open and the page is seen.
  schedule() {
    const run = this.flight.running() && !this.hidden;
    if (run && !this.request) {
      this.request = requestAnimationFrame(() => this.frame());
    } else if (!run && this.request) {
      cancelAnimationFrame(this.request);
      this.request = 0;
    }
  }

  frame() {
    this.request = 0;
    if (!this.flight.running() || this.hidden) return;
    const ok = this.flight.frame();
    this.put();
    const bits = this.flight.controls();
    if (bits !== this.controls) {
      this.controls = bits;
      this.tell({ type: 'controls', bits });
    }
    if (!ok) {
      // A fault in a tick would come again in every frame: the view stops and says why.
      this.flight.close();
      this.tell({ type: 'fault', message: this.flight.error() });
      return;
    }
    this.schedule();
  }

  // What the frame changed, from the engine's picture, which the ImageData views without a copy:
  // one rectangle around all of it, since one large put costs less than many small ones.
  put() {
    // A view goes empty when the engine's memory grows; the picture's buffer itself moves only
    // with the scale, when sizeCanvas() drops the view.
    if (!this.image || this.image.data.length === 0) {
      const rgba = this.flight.rgba();
      this.image = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.byteLength),
        this.flight.deviceWidth(), this.flight.deviceHeight());
    }
    const rects = this.flight.changed();
    if (rects.length === 0) return;
    let left = Infinity;
    let top = Infinity;
    let right = 0;
    let bottom = 0;
    for (let i = 0; i < rects.length; i += 4) {
      left = Math.min(left, rects[i]);
      top = Math.min(top, rects[i + 1]);
      right = Math.max(right, rects[i] + rects[i + 2]);
      bottom = Math.max(bottom, rects[i + 1] + rects[i + 3]);
    }
    this.context.putImageData(this.image, 0, 0, left, top, right - left, bottom - top);
  }
}
