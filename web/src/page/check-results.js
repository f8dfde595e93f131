// The results of 確かめる: a table of the cases (○/×, number, sample or
// hidden, why), the first failing sample's explanation, and the status
// line, all in zemuc test's own words (its case lines and summary).
import { t } from './i18n.js';
import { withoutToolLines } from './outcome.js';

// zemuc test's case line ("× 2 (例)  出力が違います"): the words after its
// number are why the case failed.
export function whyOf(line) {
  return line.trim().split(/ {2,}/).slice(1).join('  ');
}

// The summary, zemuc test's last line.
export const summaryOf = (text) => text.trimEnd().split('\n').at(-1) ?? '';

// The first failing sample's line and explanation, or the build's messages
// where it did not build.
export function explanationOf(results) {
  if (!results.built) return withoutToolLines(results.shown);
  const first = results.cases.find(({ result }) => !result.hidden && result.result !== 'passed');
  return first ? first.line + first.explanation : '';
}

function cell(tag, text, className = '') {
  const element = document.createElement(tag);
  element.textContent = text;
  if (className) element.className = className;
  return element;
}

export function createCheckResults(container) {
  const status = container.querySelector('.check-status');
  const table = container.querySelector('table');
  const explanation = container.querySelector('.check-explanation');
  let shown = null;

  function render() {
    table.tHead.replaceChildren();
    table.tBodies[0].replaceChildren();
    explanation.textContent = '';
    if (shown === null) {
      status.textContent = t('notChecked');
      table.hidden = true;
      explanation.hidden = true;
      return;
    }
    status.textContent = summaryOf(shown.text);
    status.dataset.passed = String(shown.json.all_passed === true);
    const head = document.createElement('tr');
    for (const key of ['colResult', 'colNumber', 'colKind', 'colWhy']) head.append(cell('th', t(key)));
    table.tHead.append(head);
    for (const { result, line } of shown.cases) {
      const passed = result.result === 'passed';
      const row = document.createElement('tr');
      row.className = passed ? 'passed' : 'failed';
      row.append(
        cell('td', passed ? '○' : '×', 'mark'),
        cell('td', String(result.number)),
        cell('td', t(result.hidden ? 'kindHidden' : 'kindSample')),
        cell('td', whyOf(line)),
      );
      table.tBodies[0].append(row);
    }
    table.hidden = false;
    explanation.textContent = explanationOf(shown);
    explanation.hidden = explanation.textContent === '';
  }

  return {
    // results: what checkExercise gave, or null (not checked yet).
    show(results) {
      shown = results;
      render();
    },
    // A case under way: the status line says which.
    progress(number, count) {
      status.textContent = `${t('checkingCase')} ${number} / ${count}`;
      delete status.dataset.passed;
    },
    relabel: render,
  };
}
