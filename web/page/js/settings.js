// SPDX-License-Identifier: GPL-3.0-or-later
// "Настройки": the gas (γ × 10 and c1) and the number of particles.  The main view takes no input
// while the dialog is open; every close, by "OK", Esc or the browser, applies the values.
import { SpinField, wireStepButtons } from './spinfield.js';

export class Settings {
  // onClose(settings) runs after every close.
  constructor(dialog, onClose) {
    this.dialog = dialog;
    this.gamma = new SpinField(document.getElementById('gamma'), { name: 'γ × 10', min: 0, max: 100 });
    // Both limits 0: the speed of sound has no limits.
    this.c1 = new SpinField(document.getElementById('c1'), { name: 'C1', min: 0, max: 0 });
    this.particles = new SpinField(document.getElementById('particles'), { name: 'Число частиц', min: 10, max: 500 });
    wireStepButtons(dialog, { gamma: this.gamma, c1: this.c1, particles: this.particles });
    dialog.addEventListener('close', () => onClose(this));
  }

  open() {
    this.dialog.showModal();
    this.gamma.input.focus();
  }

  // The fields as an opened file sets them.
  setGas(soundSpeedField, gammaTimesTenField) {
    this.c1.value = soundSpeedField;
    this.gamma.value = gammaTimesTenField;
  }
}
