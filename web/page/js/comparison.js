// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison with exact theory, its table area: the case, the summary (in the warning colour
// where construction and theory disagree), the table with the desktop window's rows, columns and
// texts, how to read it, the landmarks of the exact theory, and the table out: "Копировать
// таблицу" and Ctrl+C put the tab-separated text on the clipboard, "Сохранить таблицу…" downloads
// the CSV file.  It follows every Apply while shown; hidden, it costs nothing until shown again.
import { download } from './files.js';
import { showNotice, copyText } from './notice.js';

const byId = (id) => document.getElementById(id);

function element(tag, props = {}, children = []) {
  const node = document.createElement(tag);
  Object.assign(node, props);
  node.append(...children);
  return node;
}

export class ComparisonView {
  constructor(root, app) {
    this.app = app;
    this.root = root;
    this.data = null; // the last refresh's texts
    this.stale = true;
    this.lastRefreshMs = 0;
    this.build();
  }

  build() {
    this.caseLine = element('p', { id: 'compare-case', className: 'compare-case' });
    this.summary = element('p', { id: 'compare-summary', className: 'compare-summary' });
    this.summary.setAttribute('aria-live', 'polite');
    this.table = element('table', { id: 'compare-table', tabIndex: 0 });
    this.table.setAttribute('aria-describedby', 'compare-reading');
    this.reading = element('p', { id: 'compare-reading', className: 'compare-note' });
    this.landmarks = element('p', { id: 'compare-landmarks', className: 'compare-landmarks' });
    this.copyButton = element('button', { type: 'button', id: 'compare-copy', textContent: 'Копировать таблицу' });
    this.saveButton = element('button', { type: 'button', id: 'compare-save', textContent: 'Сохранить таблицу…' });
    this.copyButton.title = 'Таблица как текст с табуляциями, для вставки в электронную таблицу (Ctrl+C)';
    this.saveButton.title = 'Таблица в файл CSV (UTF-8)';
    const box = element('div', { className: 'compare-table-box' }, [this.table]);
    const buttons = element('div', { className: 'compare-buttons' }, [this.copyButton, this.saveButton]);
    this.root.append(this.caseLine, this.summary, box, this.reading, this.landmarks, buttons);
    this.copyButton.addEventListener('click', () => this.copy());
    this.saveButton.addEventListener('click', () => this.save());
    // Ctrl+C in the view copies the whole table, as on the desktop, unless the student copies
    // text of a field or a selection outside the table.
    document.addEventListener('copy', (e) => this.copyEvent(e));
  }

  // The table's frame, made once from the first texts: caption, headers, cells.
  makeTable(data) {
    const head = element('tr', {}, [element('td')]);
    for (const name of data.columns) head.append(element('th', { scope: 'col', textContent: name }));
    const body = element('tbody');
    this.cells = [];
    data.rows.forEach((name, row) => {
      const header = element('th', { scope: 'row', textContent: name });
      if (row === data.span.row) header.title = data.hint;
      const line = element('tr', {}, [header]);
      const cells = [];
      data.columns.forEach((_, column) => {
        const cell = element('td');
        if (row === data.span.row && column === data.span.column + 1) return; // under the span
        if (row === data.span.row && column === data.span.column) cell.colSpan = 2;
        cells[column] = cell;
        line.append(cell);
      });
      this.cells.push(cells);
      body.append(line);
    });
    this.table.append(
      element('caption', { className: 'visually-hidden', textContent: 'Построение и точная теория: слабый и сильный скачок' }),
      element('thead', {}, [head]),
      body,
    );
  }

  // The texts of the case the last Apply left, as the desktop window shows them.
  refresh() {
    const start = performance.now();
    const data = this.app.case.comparison(this.app.separator);
    if (!this.cells) this.makeTable(data);
    this.caseLine.textContent = data.caseLine;
    this.summary.textContent = data.summary;
    this.summary.classList.toggle('warning', data.warning);
    this.reading.textContent = data.reading;
    this.landmarks.textContent = data.landmarks;
    data.cells.forEach((line, row) => line.forEach((text, column) => {
      const cell = this.cells[row][column];
      if (cell) cell.textContent = text;
    }));
    this.data = data;
    this.stale = false;
    this.lastRefreshMs = performance.now() - start;
  }

  shown() {
    return this.app.views && this.app.views.current === 'compare';
  }

  // The texts are brought up to date before they leave the page.
  current() {
    if (this.stale || !this.data) this.refresh();
    return this.data;
  }

  async copy() {
    const text = this.current().tsv;
    if (await copyText(text)) showNotice('Таблица скопирована.', { seconds: 3 });
    else showNotice('Буфер обмена недоступен. Выделите таблицу ниже и скопируйте её сами:', { copyByHand: text });
  }

  save() {
    download(this.current().csv, 'zorkventa-comparison.csv', 'text/csv;charset=utf-8');
  }

  copyEvent(e) {
    const view = byId('view-compare');
    const focused = document.activeElement;
    if (view.hidden || !focused || !view.contains(focused)) return;
    if (focused.matches('input, textarea, [contenteditable]')) return;
    const selection = document.getSelection();
    if (selection && !selection.isCollapsed && !this.table.contains(selection.anchorNode)) return;
    e.clipboardData.setData('text/plain', this.current().tsv);
    e.preventDefault();
  }
}

// The view on the page: refreshed after every Apply while shown and when it is shown again.
export function wireComparison(app) {
  const view = new ComparisonView(byId('compare-main'), app);
  app.comparison = view;
  app.onApplied(() => {
    view.stale = true;
    if (view.shown()) view.refresh();
  });
  app.views.onChange((shown) => {
    if (shown === 'compare' && view.stale) view.refresh();
  });
  if (view.shown()) view.refresh();
  return view;
}
