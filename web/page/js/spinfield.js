// SPDX-License-Identifier: GPL-3.0-or-later
// A whole-number field with step buttons and limits, as the program's spin edits behave: reading
// does not clamp, setting clamps to the limits (unless both are equal, which means none), the
// arrows and the Up and Down keys step by the field's step, and leaving the field clamps its
// text.  A number may be typed with a comma or a point; its fraction is rounded off (ties to
// even), because the field holds whole numbers.

const INT32_MIN = -2147483648;
const INT32_MAX = 2147483647;

// The error of a field whose text is no number; its message is shown to the student.
export class FieldError extends Error {}

// Rounds to the nearest whole number, ties to the even one, as the program rounds.
export function roundHalfEven(x) {
  const floor = Math.floor(x);
  const diff = x - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return floor % 2 === 0 ? floor : floor + 1;
}

// The number a text stands for, or null: digits with an optional sign and an optional fraction
// after a comma or a point.
export function parseNumber(text) {
  const t = text.trim().replace(',', '.');
  if (!/^[+-]?(\d+(\.\d*)?|\.\d+)$/.test(t)) return null;
  return Number(t);
}

export class SpinField {
  // input: the text field; name: how messages call it; min, max: limits (equal: none); step.
  constructor(input, { name, min, max, step = 1 }) {
    this.input = input;
    this.name = name;
    this.min = min;
    this.max = max;
    this.step = step;
    this.input.setAttribute('aria-valuemin', String(min));
    this.input.setAttribute('aria-valuemax', String(max));
    this.input.addEventListener('beforeinput', (e) => {
      // Letters are refused as they are typed; only what a number is written with gets in.
      if (e.data && /[^0-9+\-.,\s]/.test(e.data)) e.preventDefault();
    });
    this.input.addEventListener('keydown', (e) => {
      if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
        e.preventDefault();
        this.stepBy(e.key === 'ArrowUp' ? 1 : -1);
      }
    });
    this.input.addEventListener('change', () => this.clampText());
    this.input.addEventListener('input', () => this.updateAria());
    this.updateAria();
  }

  hasLimits() {
    return this.min !== this.max;
  }

  setLimits(min, max) {
    // Only the limits change; the text is clamped the next time it is stepped or left.
    this.min = min;
    this.max = max;
    this.input.setAttribute('aria-valuemin', String(min));
    this.input.setAttribute('aria-valuemax', String(max));
  }

  // The whole number of the text, not clamped; throws FieldError when the text is no number.
  read() {
    const x = parseNumber(this.input.value);
    if (x === null) {
      throw new FieldError(`${this.name}: «${this.input.value.trim()}» — не число. ` +
        'Введите целое число; дробную часть можно отделить запятой или точкой, она округляется.');
    }
    const n = roundHalfEven(x);
    if (!this.hasLimits() && (n < INT32_MIN || n > INT32_MAX)) {
      throw new FieldError(`${this.name}: число ${this.input.value.trim()} слишком велико по модулю.`);
    }
    return Math.min(Math.max(n, INT32_MIN), INT32_MAX);
  }

  // The value as the program reads it: the text's number, unclamped.
  get value() {
    return this.read();
  }

  set value(n) {
    const v = this.hasLimits() ? Math.min(Math.max(n, this.min), this.max) : n;
    this.input.value = String(v);
    this.updateAria();
  }

  // Leaving the field: a number is rounded and clamped; a text that is no number stays as typed,
  // for the student to mend, and is reported when it is used.
  clampText() {
    try {
      this.value = this.read();
    } catch (e) {
      if (!(e instanceof FieldError)) throw e;
    }
  }

  // Makes the text the whole number the program will use, or throws FieldError.
  commit() {
    this.value = this.read();
    return this.value;
  }

  stepBy(direction) {
    let current;
    try {
      current = this.read();
    } catch (e) {
      if (!(e instanceof FieldError)) throw e;
      current = this.min; // a text that is no number reads as the lower limit
    }
    this.value = Math.min(Math.max(current + direction * this.step, INT32_MIN), INT32_MAX);
  }

  updateAria() {
    const x = parseNumber(this.input.value);
    if (x === null) this.input.removeAttribute('aria-valuenow');
    else this.input.setAttribute('aria-valuenow', String(roundHalfEven(x)));
  }
}

// The step buttons beside the fields: a click steps once; held, the button repeats first after
// 400 ms and then every 100 ms.
export function wireStepButtons(root, fields) {
  for (const button of root.querySelectorAll('button.step')) {
    const field = fields[button.dataset.for];
    if (!field) continue;
    const direction = Number(button.dataset.step);
    let timer = null;
    const stop = () => {
      clearTimeout(timer);
      clearInterval(timer);
      timer = null;
    };
    button.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      e.preventDefault(); // the field keeps the focus
      field.stepBy(direction);
      timer = setTimeout(() => {
        timer = setInterval(() => field.stepBy(direction), 100);
      }, 400);
    });
    for (const end of ['pointerup', 'pointerleave', 'pointercancel']) button.addEventListener(end, stop);
    // A click that came from no pointer (assistive technology) steps once.
    button.addEventListener('click', (e) => {
      if (e.detail === 0) field.stepBy(direction);
    });
  }
}
