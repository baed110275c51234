// SPDX-License-Identifier: GPL-3.0-or-later
// A case in the page's address, for course pages: ?c1=340&gamma=1.4&v1=680&chi=20 (any subset)
// is solved on start instead of the start-up case, each value brought into its field's limits as
// an opened result file's values are; a parameter that is malformed is left out with a notice.
// "Ссылка на этот случай" copies the address of the case Apply last ran, and the address bar
// follows every Apply, so that a reload or a bookmark keeps the case.
import { showNotice, copyText, wireNotice } from './notice.js';

const byId = (id) => document.getElementById(id);
const CASE_NAMES = ['c1', 'gamma', 'v1', 'chi'];

// Whether a query's pair (name=value, as in the address) sets one of the case's values.
function setsCase(pair) {
  let name = pair.split('=')[0].replace(/\+/g, ' ');
  try {
    name = decodeURIComponent(name);
  } catch {
    // a "%" that starts no escape stands for itself
  }
  return CASE_NAMES.includes(name.toLowerCase());
}

// The page's address with the case's four parameters in place of any it had; the page's other
// parameters and its fragment stay.
export function caseAddress(app, location = window.location) {
  const kept = location.search.replace(/^\?/, '').split('&')
    .filter((pair) => pair !== '' && !setsCase(pair));
  const query = [...kept, app.case.linkQuery()].join('&');
  return `${location.origin}${location.pathname}?${query}${location.hash}`;
}

// Solves the case of the address, when it names one; returns whether it did.
function openAddressCase(app) {
  const query = window.location.search.replace(/^\?/, '');
  if (!query.split('&').some(setsCase)) return false;
  const values = app.case.openLink(query);
  if (values.error) {
    showNotice(`Случай из адреса страницы не открыт: ${values.error}. Показан начальный случай.`);
    return false;
  }
  app.v1.value = values.velocity;
  app.settings.setGas(values.soundSpeed, values.gammaTimesTen);
  app.v1.step = app.case.velocityStep();
  if (values.problems.length > 0) {
    showNotice(['Не всё в адресе страницы удалось прочесть; остальные значения взяты из него.',
      ...values.problems].join('\n'));
  }
  app.pickWedge(values.wedge); // the wedge field, then Apply as by the button
  return true;
}

function keepAddress(app) {
  try {
    window.history.replaceState(window.history.state, '', caseAddress(app));
  } catch {
    // An address the page may not change (a sandbox): the button still gives it.
  }
}

export function wireCaseLink(app) {
  wireNotice();
  openAddressCase(app);
  app.onApplied(() => keepAddress(app));
  byId('case-link').addEventListener('click', async () => {
    const address = caseAddress(app);
    if (await copyText(address)) showNotice(`Ссылка на этот случай скопирована: ${address}`, { seconds: 4 });
    else showNotice('Буфер обмена недоступен. Скопируйте адрес сами:', { copyByHand: address });
  });
}
