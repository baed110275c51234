// SPDX-License-Identifier: GPL-3.0-or-later
// The page's windows: the error message, the theory picture, the guide and "О программе".

// Shows a fault as the desktop's error box does: the runtime's message under the program's name.
export function showError(message) {
  const box = document.getElementById('error');
  document.getElementById('error-text').textContent = message;
  if (!box.open) box.showModal();
  document.getElementById('error-ok').focus();
}

// The theory picture over the page; a click anywhere on it, or Esc, puts it away.
export function wireTheory(diagram) {
  const theory = document.getElementById('theory');
  const open = () => {
    if (!theory.open) theory.showModal();
  };
  diagram.addEventListener('click', open);
  diagram.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' || e.key === ' ') {
      e.preventDefault();
      open();
    }
  });
  theory.addEventListener('click', () => theory.close());
}

const SCALES = [1, 2, 3, 4];
function srcsetOf(name) {
  return SCALES.map((k) => `pictures/${name}-${k}x.png ${k}x`).join(', ');
}

// The guide, written once for both editions by the engine, with the start-up diagram drawn by the
// engine and the theory picture.
export function wireGuide(button, engine, drawStartup) {
  const guide = document.getElementById('guide');
  const text = document.getElementById('guide-text');
  button.addEventListener('click', () => {
    if (!text.firstChild) {
      text.innerHTML = engine.guideHtml(drawStartup(), 'pictures/theory-1x.png');
      for (const img of text.querySelectorAll('img[src="pictures/theory-1x.png"]')) img.srcset = srcsetOf('theory');
    }
    guide.showModal();
  });
}

export function wireAbout(button, engine) {
  const about = document.getElementById('about');
  button.addEventListener('click', () => {
    document.getElementById('about-text').innerHTML = engine.aboutHtml();
    about.showModal();
  });
}
