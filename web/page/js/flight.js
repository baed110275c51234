// SPDX-License-Identifier: GPL-3.0-or-later
// "Полёт частиц": the flight window on the page.  The engine's Flight drives the particles with the
// desktop's model, one motion tick and one scene tick per animation frame (flight-frames.js), in a
// worker that owns the canvas where the browser can hand a canvas over, on the page otherwise.
// Showing the view opens the window as "Графически" does (the settings' particle count is read
// then); hiding it closes the window.  Releasing the mouse button or lifting a finger right of the
// wedge tip picks the wedge angle, applies it in the main view and opens the view again on the new
// solution; the pointer's rules are asked of a Flight of the page's own.
import { deviceScale } from './engine.js';
import { FrameLoop } from './flight-frames.js';
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

// The frames in a worker that owns the canvas.  If the worker cannot start, failed(reason) is
// called once and nothing more is sent to it.
class WorkerFrames {
  constructor(canvas, scale, tell, failed) {
    this.kind = 'worker';
    this.answers = new Map();
    this.next = 0;
    this.broken = false;
    const offscreen = canvas.transferControlToOffscreen();
    this.worker = new Worker(new URL('./flight-worker.js', import.meta.url), { type: 'module' });
    const fail = (reason) => {
      if (this.broken) return;
      this.broken = true;
      this.worker.terminate();
      for (const done of this.answers.values()) done(undefined);
      this.answers.clear();
      failed(reason);
    };
    this.worker.addEventListener('error', (e) => {
      e.preventDefault();
      fail(e.message || 'the worker did not start');
    });
    this.worker.addEventListener('message', ({ data }) => {
      if (data.type === 'answer') {
        const done = this.answers.get(data.id);
        this.answers.delete(data.id);
        if (done) done(data.value);
      } else if (data.type === 'failed') {
        fail(data.message);
      } else {
        tell(data);
      }
    });
    this.worker.postMessage({ type: 'start', canvas: offscreen, scale }, [offscreen]);
  }

  send(message) {
    if (!this.broken) this.worker.postMessage(message);
  }

  ask(what) {
    if (this.broken) return Promise.resolve(undefined);
    const id = ++this.next;
    return new Promise((done) => {
      this.answers.set(id, done);
      this.worker.postMessage({ type: 'query', id, what });
    });
  }
}

// The frames on the page's own thread, with the view's own Flight.
class PageFrames {
  constructor(canvas, flight, tell) {
    this.kind = 'page';
    // The loop's answers come after the current task, as the worker's would.
    this.loop = new FrameLoop(flight, canvas, (message) => queueMicrotask(() => tell(message)));
  }

  send(message) {
    this.loop.handle(message);
  }

  ask(what) {
    return Promise.resolve(this.loop.query(what));
  }
}

class FlightView {
  constructor(app) {
    this.app = app;
    this.shock = byId('show-shock');
    this.streamlines = byId('show-streamlines');
    this.speed = byId('speed');
    this.angle = byId('flight-angle');
    this.closedBox = byId('flight-closed');
    // The page's own Flight answers the pointer's rules; it draws only when the frames run on the
    // page, and is made at scale 1 until then, so a worker's view keeps no second large surface.
    this.engine = new app.engine.Flight(1);
    this.open = false; // the window is shown and its frames run
    this.count = 0; // the particle count of the last opening
    this.keyAngle = 0; // degrees, the angle chosen with the keyboard
    this.canvas = byId('flight');
    this.frames = this.makeFrames();
    this.wire();
    if (app.views.current === 'flight') this.show();
  }

  // The worker where the canvas can be handed over; the page's own thread otherwise, or when the
  // worker fails, on a fresh canvas in the place of the one handed over.
  makeFrames() {
    this.wireCanvas(this.canvas);
    if (typeof Worker === 'function' && typeof this.canvas.transferControlToOffscreen === 'function') {
      try {
        return new WorkerFrames(this.canvas, deviceScale(), (message) => this.told(message),
          () => this.onPage({ replace: true, replay: true }));
      } catch {
        return this.onPage({ replace: true, replay: false });
      }
    }
    return this.onPage({ replace: false, replay: false });
  }

  onPage({ replace, replay }) {
    if (replace) {
      const fresh = this.canvas.cloneNode(true);
      this.canvas.replaceWith(fresh);
      this.canvas = fresh;
      this.wireCanvas(fresh);
    }
    this.frames = new PageFrames(this.canvas, this.engine, (message) => this.told(message));
    this.frames.send({ type: 'scale', value: deviceScale() });
    // The new frames take the view's state as it stands.
    if (replay) this.replay();
    return this.frames;
  }

  replay() {
    this.frames.send({ type: 'shock', value: this.shock.checked });
    this.frames.send({ type: 'streamlines', value: this.streamlines.checked });
    this.frames.send({ type: 'speed', value: Number(this.speed.value) });
    this.frames.send({ type: 'hidden', value: document.hidden });
    if (this.open) {
      this.frames.send({ type: 'count', value: this.count });
      this.frames.send({ type: 'activate', flow: this.app.case.flow() });
    }
  }

  // What the frames say: the check boxes as the scene tick left them, or a fault.
  told(message) {
    if (message.type === 'controls') {
      this.followControls(message.bits);
    } else if (message.type === 'fault') {
      this.closeWith(`Полёт частиц остановлен: ${message.message}`);
      showError(message.message);
    }
  }

  // What scripts and tests ask of the running view: 'ticks', 'running', 'particleCount',
  // 'particles', 'run' (the ticks and particles of one frame), 'speed', 'scrollPosition',
  // 'controls', 'size' (the canvas's pixels), 'pixels' (their red channel), 'hash' (of the picture).
  query(what) {
    return this.frames.ask(what);
  }

  wire() {
    const { app } = this;
    app.views.onChange((shown, hidden) => {
      if (shown === 'flight') this.show();
      else if (hidden === 'flight') this.close();
    });
    // After every Apply the open window takes the new solution; after a fault it keeps the last.
    app.onApplied((result) => {
      if (this.open && !result.error) this.frames.send({ type: 'activate', flow: app.case.flow() });
    });
    document.addEventListener('visibilitychange', () => this.frames.send({ type: 'hidden', value: document.hidden }));
    this.shock.addEventListener('change', () => this.frames.send({ type: 'shock', value: this.shock.checked }));
    this.streamlines.addEventListener('change', () => this.frames.send({ type: 'streamlines', value: this.streamlines.checked }));
    this.speed.addEventListener('input', () => this.frames.send({ type: 'speed', value: Number(this.speed.value) }));
    byId('flight-restart').addEventListener('click', () => this.show());
    this.watchScale();
  }

  wireCanvas(canvas) {
    canvas.addEventListener('pointermove', (e) => this.move(this.pointOf(e)));
    // A finger has no hover: where it touches is where the pointer is.
    canvas.addEventListener('pointerdown', (e) => {
      if (e.pointerType !== 'mouse') this.move(this.pointOf(e));
    });
    canvas.addEventListener('pointerup', (e) => this.release(this.pointOf(e)));
    canvas.addEventListener('keydown', (e) => this.key(e));
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
    this.count = count;
    this.closedBox.hidden = true;
    this.frames.send({ type: 'count', value: count });
    this.frames.send({ type: 'activate', flow: this.app.case.flow() });
    this.open = true;
  }

  close() {
    this.frames.send({ type: 'close' });
    this.open = false;
  }

  // Closed with a notice over the picture and the way to open the view again.
  closeWith(text) {
    this.close();
    byId('flight-closed-text').textContent = text;
    this.closedBox.hidden = false;
  }

  // A detached scene unchecks and disables "Линии тока", an attached one enables it again.
  followControls(bits) {
    const checked = (bits & 2) !== 0;
    const enabled = (bits & 4) !== 0;
    if (this.streamlines.checked !== checked) this.streamlines.checked = checked;
    if (this.streamlines.disabled === enabled) this.streamlines.disabled = !enabled;
  }

  move({ x, y }) {
    const { cross, caption } = this.engine.mouseMove(x, y);
    this.frames.send({ type: 'mouse', x, y });
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
      this.frames.send({ type: 'scale', value: deviceScale() });
      this.watchScale();
    }, { once: true });
  }
}

// The flight view of the page; app.flight holds it for scripts and tests.
export function wireFlight(app) {
  app.flight = new FlightView(app);
  return app.flight;
}
