// SPDX-License-Identifier: GPL-3.0-or-later
// "Построение по шагам": the diagram of the last Apply built up again one step at a time, with
// each step's title and caption.  "Назад", "Далее", "С начала", the keys Left, Right or Space and
// Home while the view has the focus, and a horizontal swipe on a touch screen.  Every Apply starts
// it again at the first step; it is drawn only while shown.
import { imageOf } from './engine.js';

const SWIPE_DISTANCE = 40; // CSS pixels a finger must travel sideways to turn a step
const SWIPE_SLOPE = 1.5; // the sideways travel must be this many times the vertical one

export class StepsView {
  constructor(app, root) {
    this.app = app;
    this.root = root;
    this.step = 0;
    this.texts = null; // the last run's titles and captions, read when first shown after an Apply
    root.innerHTML = `
      <div class="steps-layout">
        <canvas id="steps" class="steps-picture" tabindex="0" role="img"
                aria-label="Построение по шагам: диаграмма до этого шага"></canvas>
        <div class="steps-side">
          <p id="step-number" class="step-number"></p>
          <div aria-live="polite">
            <h3 id="step-title" class="step-title"></h3>
            <p id="step-caption" class="step-caption"></p>
          </div>
          <div class="step-buttons">
            <button type="button" id="step-first">С начала</button>
            <button type="button" id="step-prev">Назад</button>
            <button type="button" id="step-next">Далее</button>
          </div>
        </div>
      </div>`;
    const byId = (id) => root.querySelector(`#${id}`);
    this.canvas = byId('steps');
    this.number = byId('step-number');
    this.title = byId('step-title');
    this.caption = byId('step-caption');
    this.first = byId('step-first');
    this.prev = byId('step-prev');
    this.next = byId('step-next');
    this.first.addEventListener('click', () => this.show(0));
    this.prev.addEventListener('click', () => this.show(this.step - 1));
    this.next.addEventListener('click', () => this.show(this.step + 1));
    root.addEventListener('keydown', (e) => this.keydown(e));
    this.wireSwipe();
    app.onApplied(() => {
      this.step = 0;
      this.texts = null;
      if (this.shown) this.show(0);
    });
    app.views.onChange((shown) => {
      if (shown === 'steps') this.show(this.step);
    });
    if (this.shown) this.show(0);
  }

  get shown() {
    return this.app.views.current === 'steps';
  }

  get count() {
    return this.texts ? this.texts.count : 0;
  }

  // Shows step `index` (brought into 0 .. count − 1): its number, title, caption and picture.
  show(index) {
    if (!this.texts) this.texts = this.app.case.steps(this.app.separator);
    const count = this.count;
    this.step = count === 0 ? 0 : Math.min(Math.max(index, 0), count - 1);
    if (count === 0) {
      this.number.textContent = '';
      this.title.textContent = '';
      this.caption.textContent = this.texts.empty;
    } else {
      this.number.textContent = `Шаг ${this.step + 1} из ${count}`;
      this.title.textContent = this.texts.titles[this.step];
      this.caption.textContent = this.texts.captions[this.step];
      this.draw();
    }
    this.prev.disabled = this.step === 0;
    this.first.disabled = this.step === 0;
    this.next.disabled = this.step + 1 >= count;
  }

  draw() {
    const picture = this.app.case.stepPixels(this.step);
    if (picture.error) {
      this.caption.textContent = picture.error;
      return;
    }
    if (this.canvas.width !== picture.width) this.canvas.width = picture.width;
    if (this.canvas.height !== picture.height) this.canvas.height = picture.height;
    this.canvas.getContext('2d').putImageData(imageOf(picture.data, picture.width, picture.height), 0, 0);
  }

  keydown(e) {
    // Keys typed into a field are the field's.
    if (e.target.closest('input, textarea, select, [contenteditable="true"]')) return;
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    let to = null;
    if (e.key === 'ArrowLeft') to = this.step - 1;
    else if (e.key === 'ArrowRight' || e.key === ' ') to = this.step + 1;
    else if (e.key === 'Home') to = 0;
    if (to === null) return;
    // Space on a button would also click it: the view's own rule takes it.
    e.preventDefault();
    this.show(to);
  }

  // A finger drawn sideways across the picture: to the left for the next step, to the right for
  // the one before.  A mostly vertical movement is left to the page's scrolling.
  wireSwipe() {
    let start = null;
    this.canvas.addEventListener('pointerdown', (e) => {
      if (e.pointerType === 'mouse') return;
      start = { id: e.pointerId, x: e.clientX, y: e.clientY };
    });
    const end = (e) => {
      if (!start || e.pointerId !== start.id) return;
      const dx = e.clientX - start.x;
      const dy = e.clientY - start.y;
      start = null;
      if (Math.abs(dx) < SWIPE_DISTANCE || Math.abs(dx) < SWIPE_SLOPE * Math.abs(dy)) return;
      this.show(dx < 0 ? this.step + 1 : this.step - 1);
    };
    this.canvas.addEventListener('pointerup', end);
    this.canvas.addEventListener('pointercancel', () => {
      start = null;
    });
  }
}
