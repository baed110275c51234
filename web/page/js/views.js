// SPDX-License-Identifier: GPL-3.0-or-later
// The views below the main one, in tabs: the particles' flight, the comparison with exact theory
// and the construction step by step.  One view is shown at a time; the tabs follow the usual
// keyboard rules of a tab list (Left and Right move between them, Home and End to the ends).
const byId = (id) => document.getElementById(id);

export class Views {
  constructor(root) {
    this.tabs = [...root.querySelectorAll('[role="tab"]')];
    this.listeners = [];
    for (const tab of this.tabs) {
      tab.addEventListener('click', () => this.show(tab.id.replace(/^tab-/, '')));
      tab.addEventListener('keydown', (e) => this.keydown(e, tab));
    }
  }

  // The name of the view shown: 'flight', 'compare' or 'steps'.
  get current() {
    const tab = this.tabs.find((t) => t.getAttribute('aria-selected') === 'true');
    return tab ? tab.id.replace(/^tab-/, '') : null;
  }

  // Shows the view `name` and hides the others; listeners hear of every change.
  show(name, { focus = false } = {}) {
    const before = this.current;
    for (const tab of this.tabs) {
      const selected = tab.id === `tab-${name}`;
      tab.setAttribute('aria-selected', String(selected));
      tab.tabIndex = selected ? 0 : -1;
      byId(tab.getAttribute('aria-controls')).hidden = !selected;
      if (selected && focus) tab.focus();
    }
    if (before !== name) for (const listener of this.listeners) listener(name, before);
  }

  // listener(shown, hidden) runs whenever another view is shown.
  onChange(listener) {
    this.listeners.push(listener);
  }

  keydown(e, tab) {
    const at = this.tabs.indexOf(tab);
    let next = null;
    if (e.key === 'ArrowRight') next = (at + 1) % this.tabs.length;
    else if (e.key === 'ArrowLeft') next = (at + this.tabs.length - 1) % this.tabs.length;
    else if (e.key === 'Home') next = 0;
    else if (e.key === 'End') next = this.tabs.length - 1;
    if (next === null) return;
    e.preventDefault();
    this.show(this.tabs[next].id.replace(/^tab-/, ''), { focus: true });
  }
}
