// SPDX-License-Identifier: GPL-3.0-or-later
// A notice below the bar that does not stop the student: what a link's parameters left out, that
// a text went to the clipboard, or a text to copy by hand where the clipboard cannot be used.
// The text is copied by hand from a field that holds it, selected.
const byId = (id) => document.getElementById(id);

let timer = null;

// Shows message (lines joined by line ends); copyByHand: a text to offer for copying;
// seconds: hides itself after that long (0: stays until closed).
export function showNotice(message, { copyByHand = null, seconds = 0 } = {}) {
  const box = byId('notice');
  byId('notice-text').textContent = message;
  const field = byId('notice-copy');
  field.hidden = copyByHand === null;
  field.value = copyByHand ?? '';
  box.hidden = false;
  clearTimeout(timer);
  if (seconds > 0) timer = setTimeout(hideNotice, seconds * 1000);
  if (copyByHand !== null) {
    field.focus();
    field.select();
  }
}

export function hideNotice() {
  clearTimeout(timer);
  byId('notice').hidden = true;
}

export function wireNotice() {
  byId('notice-close').addEventListener('click', hideNotice);
  byId('notice').addEventListener('keydown', (e) => {
    if (e.key === 'Escape') hideNotice();
  });
}

// Puts text on the clipboard; resolves to whether it went there.  The asynchronous clipboard
// first, the older copy command where that is missing or refused.
export async function copyText(text) {
  if (navigator.clipboard && window.isSecureContext) {
    try {
      await navigator.clipboard.writeText(text);
      return true;
    } catch {
      // refused: try the copy command
    }
  }
  const area = document.createElement('textarea');
  area.value = text;
  area.setAttribute('readonly', '');
  area.className = 'visually-hidden';
  const focused = document.activeElement;
  document.body.append(area);
  area.select();
  let copied = false;
  try {
    copied = document.execCommand('copy');
  } catch {
    copied = false;
  }
  area.remove();
  if (focused && focused.focus) focused.focus();
  return copied;
}
