// SPDX-License-Identifier: GPL-3.0-or-later
// The main view: the inputs V1 and χ, "Применить", the diagram and the result labels, and the
// commands of the bar.  The one object `app` holds the current case; teachers' scripts find it as
// window.zorkventa.
import { loadEngine, deviceScale, decimalSeparator, imageOf } from './engine.js';
import { SpinField, FieldError, wireStepButtons } from './spinfield.js';
import { Settings } from './settings.js';
import { download, pickFile, encodePng } from './files.js';
import { showError, wireTheory, wireGuide, wireAbout } from './dialogs.js';
import { Views } from './views.js';
import { wireFlight } from './flight.js';
import { wireComparison } from './comparison.js';
import { wireCaseLink } from './caselink.js';
import { wireCharts } from './charts.js';
import { StepsView } from './steps.js';

const LABEL_IDS = ['mach', 'chimax', 'p2p1', 'rho1rho2', 'v2v1', 't2t1'];
const PNG_SCALE = 4; // the exported PNG: the diagram drawn at four times its size

const byId = (id) => document.getElementById(id);

const app = {
  engine: null,
  case: null, // the engine's case: flow state, labels, picture
  chi: null,
  v1: null,
  settings: null,
  views: null, // the tabs of the flight, comparison and steps views
  separator: '.',
  appliedListeners: [],
  // listener(result) runs after every Apply, also one a fault ended (result.error holds its text).
  onApplied(listener) {
    this.appliedListeners.push(listener);
  },
  // A wedge angle picked in another view (the flight scene, a chart): it goes into the wedge field,
  // which brings it into its limits, and Apply runs as by the button.  Returns whether Apply ended
  // without a fault.
  pickWedge(degrees) {
    this.chi.value = degrees;
    return apply();
  },
};
window.zorkventa = app;

// Shows what the case holds: the labels and formula pictures as the last Apply left them, the
// gas and the diagram.
function render() {
  const labels = app.case.labels(app.separator);
  for (const id of LABEL_IDS) {
    const out = byId(id);
    out.textContent = labels[id].text;
    out.hidden = !labels[id].shown;
  }
  for (const id of ['p2p1', 'v2v1', 't2t1', 'rho1rho2']) {
    byId(`${id}-formula`).hidden = !labels.formulas[id];
    // A row whose label and formula are both hidden takes no room.
    byId(`${id}-row`).classList.toggle('empty', !labels[id].shown && !labels.formulas[id]);
  }
  byId('c1-shown').textContent = labels.c1.text;
  byId('gamma-shown').textContent = labels.gamma.text;
  drawDiagram();
}

function drawDiagram() {
  const canvas = byId('diagram');
  const width = app.case.deviceWidth();
  const height = app.case.deviceHeight();
  if (canvas.width !== width) canvas.width = width;
  if (canvas.height !== height) canvas.height = height;
  canvas.getContext('2d').putImageData(imageOf(app.case.pixels(), width, height), 0, 0);
}

function reportFault(error) {
  if (error instanceof FieldError) showError(error.message);
  else throw error;
}

// "Применить": the two fields as the program reads them, then Apply; a fault is reported, and what
// Apply drew and wrote before it stays shown.
function apply() {
  let wedge;
  let velocity;
  try {
    wedge = app.chi.commit();
    velocity = app.v1.commit();
  } catch (e) {
    reportFault(e);
    return false;
  }
  const result = app.case.apply(wedge, velocity);
  render();
  for (const listener of app.appliedListeners) listener(result);
  if (result.error) {
    showError(result.error);
    return false;
  }
  return true;
}

// The window gains the focus: one arrow click of V1 is one speed of sound.
function activate() {
  app.v1.step = app.case.velocityStep();
}

function settingsClosed(settings) {
  let soundSpeed;
  let gammaTimesTen;
  try {
    gammaTimesTen = settings.gamma.commit();
    soundSpeed = settings.c1.commit();
    settings.particles.commit();
  } catch (e) {
    reportFault(e);
    return;
  }
  app.case.setGas(soundSpeed, gammaTimesTen);
  activate();
  if (apply()) app.v1.setLimits(app.engine.velocityLowerLimit(soundSpeed), app.v1.max);
}

async function openCase() {
  const bytes = await pickFile(byId('open-file'));
  if (!bytes) return;
  const values = app.case.open(bytes);
  if (values.error) {
    showError(values.error); // nothing has changed
    return;
  }
  app.chi.value = values.wedge;
  app.v1.value = values.velocity;
  app.settings.setGas(values.soundSpeed, values.gammaTimesTen);
  apply();
}

async function exportPng() {
  const picture = app.case.pixelsAtScale(PNG_SCALE);
  if (picture.error) {
    showError(picture.error);
    return;
  }
  const image = imageOf(picture.data, picture.width, picture.height);
  try {
    download(await encodePng(image), 'zorkventa.png', 'image/png');
  } catch (e) {
    showError(e.message);
  }
}

// The start-up case's diagram as a picture for the guide.
function startupDiagram() {
  const startup = new app.engine.Case(1);
  try {
    const canvas = document.createElement('canvas');
    canvas.width = startup.deviceWidth();
    canvas.height = startup.deviceHeight();
    canvas.getContext('2d').putImageData(imageOf(startup.pixels(), canvas.width, canvas.height), 0, 0);
    return canvas.toDataURL('image/png');
  } finally {
    startup.delete();
  }
}

// The screen's pixel ratio changed (another screen, zoom): the diagram is drawn again at the new scale.
function watchScale() {
  const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
  query.addEventListener('change', () => {
    app.case.setScale(deviceScale());
    drawDiagram();
    watchScale();
  }, { once: true });
}

function wire() {
  app.chi = new SpinField(byId('chi'), { name: 'χ', min: 0, max: 180 });
  app.v1 = new SpinField(byId('v1'), { name: 'V1', min: 365, max: 1000000 });
  wireStepButtons(byId('inputs'), { chi: app.chi, v1: app.v1 });
  app.settings = new Settings(byId('settings'), settingsClosed);

  byId('inputs').addEventListener('submit', (e) => {
    e.preventDefault();
    apply();
  });
  // A click into the velocity's text shows its Mach number at once, without an Apply.
  byId('v1').addEventListener('click', () => {
    let velocity;
    try {
      velocity = app.v1.read();
    } catch {
      velocity = app.v1.min;
    }
    const result = app.case.followVelocity(velocity);
    byId('mach').textContent = app.case.labels(app.separator).mach.text;
    if (result.error) showError(result.error);
  });
  byId('open').addEventListener('click', () => openCase());
  byId('save').addEventListener('click', () => download(app.case.save(), 'zorkventa.psr', 'application/x-zorkventa-case'));
  byId('export-bmp').addEventListener('click', () => download(app.case.bmp(), 'zorkventa.bmp', 'image/bmp'));
  byId('export-png').addEventListener('click', () => exportPng());
  byId('print').addEventListener('click', () => window.print());
  byId('open-settings').addEventListener('click', () => app.settings.open());
  wireTheory(byId('diagram'));
  wireGuide(byId('open-guide'), app.engine, startupDiagram);
  wireAbout(byId('open-about'), app.engine);
  app.views = new Views(byId('views'));
  wireComparison(app);
  new StepsView(app, byId('view-steps'));
  window.addEventListener('focus', activate);
}

async function start() {
  try {
    app.engine = await loadEngine();
  } catch (e) {
    byId('loading').textContent = `Программа не загрузилась: ${e.message}`;
    return;
  }
  app.separator = decimalSeparator();
  // As the main window is created: the start-up case, V1 = 2 c1 = 680, χ = 20, already solved.
  app.case = new app.engine.Case(deviceScale());
  wire();
  app.v1.value = 680;
  app.chi.value = 20;
  activate();
  render();
  wireCaseLink(app);
  byId('loading').hidden = true;
  performance.mark('zorkventa-drawn');
  document.documentElement.dataset.ready = 'true';
  watchScale();
  wireCharts(app);
  app.chi.input.focus();
  if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('sw.js').catch(() => {
      // Without a service worker the page works as well; it only needs the network to load.
    });
  }
  wireFlight(app);
}

start();
