// SPDX-License-Identifier: GPL-3.0-or-later
// "Полёт частиц": the flight window on the page.  The engine's Flight drives the particles with the
// desktop's model; here one motion tick and one scene tick run per animation frame, and only the
// rectangles they changed are put on the canvas.  Showing the view opens the window as
// "Графически" does (the settings' particle count is read then); hiding it closes the window.
// Releasing the mouse button or lifting a finger right of the wedge tip picks the wedge angle,
// applies it in the main view and opens the view again on the new solution.
import { deviceScale } from './engine.js';
import { FieldError } from './spinfield.js';
import { showError } from './dialogs.js';

const byId = (id) => document.getElementById(id);

const WIDTH = 591; // picture pixels, the window's client area
const HEIGHT = 498;
const TIP_X = 200; // the wedge tip, picture pixels
const AXIS_Y = 250;
const FIELD = { left: 200, right: 580, top: 20, bottom: 480 }; // the pick field, bounds excluded
const MAX_KEY_ANGLE = 88; // degrees: a steeper pick is taken as 88 anyway

// The picture pixel under a pointer at client point (clientX, clientY) of an element whose box is
// `box` (the canvas may be shown smaller or larger than its own pixels).
export function picturePoint(box, clientX, clientY) {
  const x = Math.floor(((clientX - box.left) * WIDTH) / box.width);
  const y = Math.floor(((clientY - box.top) * HEIGHT) / box.height);
  return { x, y };
}

// A point inside the pick field on the ray from the tip at `degrees` above the axis, as far out as
// the field allows, so that the model's rule gives those whole degrees back.
export function pointAtAngle(degrees) {
  const slope = Math.tan((degrees * Math.PI) / 180);
  const reach = AXIS_Y - FIELD.top - 1; // rows above the axis inside the field
  let dx = FIELD.right - 1 - TIP_X;
  if (slope * dx > reach) dx = Math.max(1, Math.floor(reach / slope));
  return { x: TIP_X + dx, y: AXIS_Y - Math.round(slope * dx) };
}

class FlightView {
  constructor(app) {
    this.app = app;
    this.canvas = byId('flight');
    // Opaque and drawn straight to the screen: the picture has no transparency, and a frame that
    // only moves particles need not wait for the page's compositing.
    this.context = this.canvas.getContext('2d', { alpha: false, desynchronized: true });
    this.shock = byId('show-shock');
    this.streamlines = byId('show-streamlines');
    this.speed = byId('speed');
    this.angle = byId('flight-angle');
    this.closedBox = byId('flight-closed');
    this.engine = new app.engine.Flight(deviceScale());
    this.open = false; // the window is shown and its frames run
    this.frameRequest = 0;
    this.image = null;
    this.keyAngle = 0; // degrees, the angle chosen with the keyboard
    this.sizeCanvas();
    this.wire();
    if (app.views.current === 'flight') this.show();
  }

  sizeCanvas() {
    this.canvas.width = this.engine.deviceWidth();
    this.canvas.height = this.engine.deviceHeight();
    this.image = null;
  }

  wire() {
    const { app } = this;
    app.views.onChange((shown, hidden) => {
      if (shown === 'flight') this.show();
      else if (hidden === 'flight') this.close();
    });
    // After every Apply the open window takes the new solution; after a fault it keeps the last.
    app.onApplied((result) => {
      if (this.open && !result.error) {
        this.engine.activate(app.case.flow());
        this.schedule();
      }
    });
    document.addEventListener('visibilitychange', () => this.schedule());
    this.shock.addEventListener('change', () => this.engine.setShock(this.shock.checked));
    this.streamlines.addEventListener('change', () => this.engine.setStreamlines(this.streamlines.checked));
    this.speed.addEventListener('input', () => this.engine.setScrollPosition(Number(this.speed.value)));
    byId('flight-restart').addEventListener('click', () => this.show());

    this.canvas.addEventListener('pointermove', (e) => this.move(this.pointOf(e)));
    // A finger has no hover: where it touches is where the pointer is.
    this.canvas.addEventListener('pointerdown', (e) => {
      if (e.pointerType !== 'mouse') this.move(this.pointOf(e));
    });
    this.canvas.addEventListener('pointerup', (e) => this.release(this.pointOf(e)));
    this.canvas.addEventListener('keydown', (e) => this.key(e));
    this.watchScale();
  }

  pointOf(e) {
    return picturePoint(this.canvas.getBoundingClientRect(), e.clientX, e.clientY);
  }

  // "Графически": the particle count from the settings, then a fresh start.
  show() {
    const field = this.app.settings.particles;
    let count;
    try {
      count = field.read();
    } catch (e) {
      if (!(e instanceof FieldError)) throw e;
      count = field.min;
      showError(`${e.message}\nПолёт показан с наименьшим числом частиц: ${count}.`);
    }
    this.engine.setParticleCount(count);
    this.closedBox.hidden = true;
    this.engine.activate(this.app.case.flow());
    this.open = true;
    this.schedule();
  }

  close() {
    this.engine.close();
    this.open = false;
    this.schedule();
  }

  // Closed with a notice over the picture and the way to open the view again.
  closeWith(text) {
    this.close();
    byId('flight-closed-text').textContent = text;
    this.closedBox.hidden = false;
  }

  // Frames run while the window is open and the page is seen.
  schedule() {
    const run = this.open && !document.hidden;
    if (run && !this.frameRequest) {
      this.frameRequest = requestAnimationFrame(() => this.frame());
    } else if (!run && this.frameRequest) {
      cancelAnimationFrame(this.frameRequest);
      this.frameRequest = 0;
    }
  }

  frame() {
    this.frameRequest = 0;
    if (!this.open || document.hidden) return;
    const ok = this.engine.frame();
    this.put();
    this.followControls();
    if (!ok) {
      // A fault in a tick would come again in every frame: the window stops and says why.
      const error = this.engine.error();
      this.closeWith(`Полёт частиц остановлен: ${error}`);
      showError(error);
      return;
    }
    this.schedule();
  }

  // The changed rectangles from the engine's picture, which the ImageData views without a copy.
  put() {
    // A view goes empty when the engine's memory grows; the picture's buffer itself moves only
    // with the scale, when sizeCanvas() drops the view.
    if (!this.image || this.image.data.length === 0) {
      const rgba = this.engine.rgba();
      this.image = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.byteLength),
        this.engine.deviceWidth(), this.engine.deviceHeight());
    }
    const rects = this.engine.changed();
    for (let i = 0; i < rects.length; i += 4) {
      this.context.putImageData(this.image, 0, 0, rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
    }
  }

  // A detached scene unchecks and disables "Линии тока", an attached one enables it again.
  followControls() {
    const bits = this.engine.controls();
    const checked = (bits & 2) !== 0;
    const enabled = (bits & 4) !== 0;
    if (this.streamlines.checked !== checked) this.streamlines.checked = checked;
    if (this.streamlines.disabled === enabled) this.streamlines.disabled = !enabled;
  }

  move({ x, y }) {
    const { cross, caption } = this.engine.mouseMove(x, y);
    const cursor = cross ? 'crosshair' : 'default';
    if (this.canvas.style.cursor !== cursor) this.canvas.style.cursor = cursor;
    if (this.angle.textContent !== caption) this.angle.textContent = caption;
  }

  release({ x, y }) {
    if (!this.open) return;
    const { picked, degrees } = this.engine.pick(x, y);
    if (!picked) return;
    // Apply as by the button; a fault leaves the window open and running on the last solution.
    if (!this.app.pickWedge(degrees)) return;
    this.close();
    if (this.app.case.flow().ShockAngle > 0) {
      this.show();
    } else {
      this.closeWith(`При угле клина χ = ${this.app.chi.value}° скачка уплотнения нет, и частицам не на чем ` +
        'поворачивать. Выберите другой угол клина и нажмите «Применить» или покажите полёт снова.');
    }
  }

  // The keyboard's way to pick: Up and Down (Page Up and Page Down by ten) turn the line from the
  // tip, Enter or Space applies its angle.
  key(e) {
    const steps = { ArrowUp: 1, ArrowRight: 1, ArrowDown: -1, ArrowLeft: -1, PageUp: 10, PageDown: -10 };
    if (e.key in steps || e.key === 'Home' || e.key === 'End') {
      e.preventDefault();
      if (e.key === 'Home') this.keyAngle = 0;
      else if (e.key === 'End') this.keyAngle = MAX_KEY_ANGLE;
      else this.keyAngle = Math.min(Math.max(this.keyAngle + steps[e.key], 0), MAX_KEY_ANGLE);
      this.move(pointAtAngle(this.keyAngle));
    } else if (e.key === 'Enter' || e.key === ' ') {
      e.preventDefault();
      const point = pointAtAngle(this.keyAngle);
      this.move(point);
      this.release(point);
    }
  }

  // Another screen or zoom: the picture is made anew at the new device scale.
  watchScale() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener('change', () => {
      this.engine.setScale(deviceScale());
      this.sizeCanvas();
      this.watchScale();
    }, { once: true });
  }
}

// The flight view of the page; app.flight holds it for scripts and tests.
export function wireFlight(app) {
  app.flight = new FlightView(app);
  return app.flight;
}
