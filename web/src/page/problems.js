// The messages list (#problems): one item per line as zemuc prints it, its
// severity in the page's words; a line on a place of the program takes the
// editor there; zemuc's lines about its tools are shown on request.
import { inPageWords } from './i18n.js';
import { isToolLine } from './outcome.js';

export function createProblemList(list, toggle, details, { goTo }) {
  let lines = [];
  details.addEventListener('change', () => list.classList.toggle('details', details.checked));

  function item(line) {
    const element = document.createElement('li');
    element.textContent = inPageWords(line);
    if (isToolLine(line)) element.classList.add('tool');
    // FILE:LINE:COL: takes the editor there (columns count from 1).
    const place = /^[^:]*\.zem:(\d+):(\d+):/.exec(line);
    if (place) {
      element.classList.add('place');
      element.tabIndex = 0;
      const go = () => goTo(Number(place[1]) - 1, Number(place[2]) - 1);
      element.addEventListener('click', go);
      element.addEventListener('keydown', (event) => event.key === 'Enter' && go());
    }
    return element;
  }

  return {
    show(next) {
      lines = Array.isArray(next) ? [...next] : [];
      list.replaceChildren(...lines.map(item));
      toggle.hidden = !lines.some(isToolLine);
    },
    lines: () => [...lines],
  };
}
