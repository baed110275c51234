// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison view's three charts: the θ–β chart of the free stream, the θ–β–M family and the
// pressure polar, painted on canvases from the scenes the engine builds (the same the desktop
// paints), at the screen's pixel density.  A click, a drag or the arrow keys on a chart pick the
// wedge angle as on the desktop: the press applies at once, moves are gathered into one Apply per
// animation frame with the latest angle, the release applies what still waits.

const FONT_FACE = '"Times New Roman", "Liberation Serif", serif';
const CHARTS = [
  { id: 'chart-theta-beta', label: 'График θ–β для текущего потока: щелчок или стрелки выбирают угол клина χ' },
  { id: 'chart-family', label: 'Кривые θ–β–M: щелчок или стрелки выбирают угол клина χ' },
  { id: 'chart-pressure', label: 'Поляра давления p₂/p₁ над θ: щелчок или стрелки выбирают угол клина χ' },
];
const DASHES = { solid: [], dash: [4, 2], dot: [1, 2], dashdot: [4, 2, 1, 2] };

function fontOf(pixels, bold) {
  return `${bold ? 'bold ' : ''}${pixels}px ${FONT_FACE}`;
}

// The canvas's text measure, whole pixels as the scenes lay texts out.
export function measureWith(ctx) {
  return (text, pixels, bold) => {
    ctx.font = fontOf(pixels, bold);
    const m = ctx.measureText(text);
    const ascent = Number.isFinite(m.fontBoundingBoxAscent) ? m.fontBoundingBoxAscent : pixels * 0.891;
    const descent = Number.isFinite(m.fontBoundingBoxDescent) ? m.fontBoundingBoxDescent : pixels * 0.216;
    return { advance: Math.round(m.width), ascent: Math.round(ascent), height: Math.round(ascent + descent) };
  };
}

// A whole-pixel line of odd width lies on the pixel centres, as the desktop draws it aliased.
function offset(item) {
  return item.whole && Math.round(item.width) % 2 === 1 ? 0.5 : 0;
}

function paintItem(ctx, item, measure) {
  const color = item.color;
  switch (item.kind) {
    case 'line':
    case 'polyline': {
      const o = offset(item);
      ctx.strokeStyle = color;
      ctx.lineWidth = item.width;
      ctx.setLineDash(DASHES[item.pen].map((d) => d * item.width));
      ctx.beginPath();
      item.points.forEach(([x, y], i) => (i === 0 ? ctx.moveTo(x + o, y + o) : ctx.lineTo(x + o, y + o)));
      ctx.stroke();
      break;
    }
    case 'fill':
      ctx.fillStyle = color;
      ctx.fillRect(item.box[0], item.box[1], item.box[2], item.box[3]);
      break;
    case 'ellipse': {
      const [x, y] = item.points[0];
      ctx.fillStyle = color;
      ctx.strokeStyle = color;
      ctx.lineWidth = item.width;
      ctx.setLineDash([]);
      ctx.beginPath();
      ctx.ellipse(x, y, item.rx, item.ry, 0, 0, 2 * Math.PI);
      ctx.fill();
      ctx.stroke();
      break;
    }
    case 'text': {
      const m = measure(item.text, item.font, item.bold);
      let [x, y] = item.points[0];
      if (item.align === 'center') x -= Math.floor(m.advance / 2);
      else if (item.align === 'right') x -= m.advance;
      if (item.baseline === 'top') y += m.ascent;
      else if (item.baseline === 'middle') y += Math.floor(m.ascent / 2) - 1;
      ctx.font = fontOf(item.font, item.bold);
      ctx.fillStyle = color;
      ctx.textAlign = 'left';
      ctx.textBaseline = 'alphabetic';
      ctx.fillText(item.text, x, y);
      break;
    }
    case 'textbox': {
      // Broken into lines at spaces where it must, each line centred in the box.
      const [bx, by, bw, bh] = item.box;
      const lines = [];
      for (const word of item.text.split(' ')) {
        const last = lines.length ? `${lines[lines.length - 1]} ${word}` : word;
        if (item.wrap && lines.length && measure(last, item.font, item.bold).advance > bw) lines.push(word);
        else if (lines.length) lines[lines.length - 1] = last;
        else lines.push(word);
      }
      const m = measure('0', item.font, item.bold);
      const top = by + (bh - lines.length * m.height) / 2;
      ctx.font = fontOf(item.font, item.bold);
      ctx.fillStyle = color;
      ctx.textAlign = 'left';
      ctx.textBaseline = 'alphabetic';
      lines.forEach((line, i) => {
        const width = measure(line, item.font, item.bold).advance;
        ctx.fillText(line, Math.round(bx + (bw - width) / 2), Math.round(top + i * m.height + m.ascent));
      });
      break;
    }
    default:
      break;
  }
}

// Paints a scene onto a canvas whose backing store is ratio times the scene's size.
export function paintScene(canvas, scene, ratio) {
  const ctx = canvas.getContext('2d');
  const measure = measureWith(ctx);
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  ctx.imageSmoothingEnabled = false;
  ctx.fillStyle = '#ffffff';
  ctx.fillRect(0, 0, scene.width, scene.height);
  for (const item of [...scene.background, ...scene.marks]) {
    if (item.clip) {
      ctx.save();
      ctx.beginPath();
      ctx.rect(item.clip[0], item.clip[1], item.clip[2], item.clip[3]);
      ctx.clip();
      paintItem(ctx, item, measure);
      ctx.restore();
    } else {
      paintItem(ctx, item, measure);
    }
  }
}

export class Charts {
  constructor(app, host) {
    this.app = app;
    this.host = host;
    this.scenes = [];
    this.pending = null;
    this.frame = 0;
    this.canvases = CHARTS.map(({ id, label }) => {
      const canvas = document.createElement('canvas');
      canvas.id = id;
      canvas.className = 'chart';
      canvas.tabIndex = 0;
      canvas.setAttribute('role', 'img');
      canvas.setAttribute('aria-label', label);
      host.append(canvas);
      this.wirePicking(canvas);
      return canvas;
    });
    this.measure = measureWith(this.canvases[0].getContext('2d'));
    app.onApplied(() => {
      if (app.views.current === 'compare') this.refresh();
    });
    app.views.onChange((shown) => {
      if (shown === 'compare') this.refresh();
    });
    if (app.views.current === 'compare') this.refresh();
  }

  // The scenes of the case as the last Apply left it, painted at the screen's density.
  refresh() {
    const started = performance.now();
    const json = this.app.case.chartScenes(this.app.separator, this.measure);
    this.scenes = JSON.parse(json);
    const ratio = window.devicePixelRatio || 1;
    this.scenes.forEach((scene, i) => {
      const canvas = this.canvases[i];
      canvas.width = Math.round(scene.width * ratio);
      canvas.height = Math.round(scene.height * ratio);
      canvas.style.width = `${scene.width}px`;
      canvas.style.aspectRatio = `${scene.width} / ${scene.height}`;
      canvas.title = scene.notice || '';
      paintScene(canvas, scene, ratio);
    });
    this.refreshMilliseconds = performance.now() - started;
  }

  // The whole degree under a pointer, by the desktop's rule, from the chart's own pixels.
  angleAt(index, event) {
    const canvas = this.canvases[index];
    const scene = this.scenes[index];
    if (!scene || !scene.plot) return null;
    const box = canvas.getBoundingClientRect();
    const x = ((event.clientX - box.left) * scene.width) / (box.width || scene.width);
    const theta = ((x - scene.plot[0]) / scene.plot[2]) * scene.thetaLimit;
    return this.app.engine.wedgeAngleFor(theta, scene.thetaLimit, this.app.chi.min, this.app.chi.max);
  }

  // The χ field's value, or null while it holds no number.
  fieldValue() {
    try {
      return this.app.chi.value;
    } catch {
      return null;
    }
  }

  flush() {
    if (this.frame) cancelAnimationFrame(this.frame);
    this.frame = 0;
    const degrees = this.pending;
    this.pending = null;
    if (degrees !== null && degrees !== this.fieldValue()) this.app.pickWedge(degrees);
  }

  wirePicking(canvas) {
    const index = () => this.canvases.indexOf(canvas);
    let dragging = false;
    canvas.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      const degrees = this.angleAt(index(), event);
      if (degrees === null) return;
      dragging = true;
      canvas.setPointerCapture(event.pointerId);
      canvas.focus();
      event.preventDefault();
      if (this.frame) cancelAnimationFrame(this.frame);
      this.frame = 0;
      this.pending = null;
      this.app.pickWedge(degrees);
    });
    canvas.addEventListener('pointermove', (event) => {
      if (!dragging) return;
      const degrees = this.angleAt(index(), event);
      if (degrees === null) return;
      this.pending = degrees;
      if (!this.frame) this.frame = requestAnimationFrame(() => this.flush());
    });
    const release = (event) => {
      if (!dragging) return;
      dragging = false;
      const degrees = this.angleAt(index(), event);
      if (degrees !== null) this.pending = degrees;
      this.flush();
    };
    canvas.addEventListener('pointerup', release);
    canvas.addEventListener('pointercancel', () => {
      dragging = false;
      this.flush();
    });
    canvas.addEventListener('keydown', (event) => {
      const step = { ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1 }[event.key];
      if (!step) return;
      event.preventDefault();
      const value = this.fieldValue();
      if (value === null) return; // the field holds no number: Apply says so, a key steps nothing
      const target = Math.min(Math.max(value + step, this.app.chi.min), this.app.chi.max);
      if (target !== value) this.app.pickWedge(target);
    });
  }
}

export function wireCharts(app) {
  const host = document.getElementById('compare-charts');
  if (host) app.charts = new Charts(app, host);
}
