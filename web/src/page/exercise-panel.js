// The exercise beside the editor: its title and statement, 確かめる, the
// hand-in download and the results. The panel folds to a narrow strip, so
// that the editor and the terminal keep their room on a small screen; the
// fold is remembered for the page's next visits.
import { showStatement } from './statement.js';
import { langOf } from './exercise-list.js';

const FOLDED_KEY = 'zem.exercise-folded';

function remembered(action) {
  try {
    return action(globalThis.localStorage);
  } catch {
    return null; // no storage: unfolded each visit
  }
}

export function createExercisePanel(panel, fold) {
  const title = panel.querySelector('.exercise-title');
  const statement = panel.querySelector('.statement');

  function setFolded(folded) {
    panel.dataset.folded = String(folded);
    fold.setAttribute('aria-expanded', String(!folded));
    remembered((storage) => storage.setItem(FOLDED_KEY, folded ? '1' : ''));
  }
  fold.addEventListener('click', () => setFolded(panel.dataset.folded !== 'true'));
  setFolded(remembered((storage) => storage.getItem(FOLDED_KEY) === '1') ?? false);

  return {
    // exercise: an entry of exercises.json, or null (no exercise open).
    show(exercise) {
      panel.hidden = exercise === null;
      document.body.classList.toggle('has-exercise', exercise !== null);
      if (exercise === null) return;
      title.textContent = exercise.title || exercise.id;
      showStatement(statement, exercise.statement);
      // The teacher's words, in the teacher's language.
      for (const [element, text] of [[title, title.textContent], [statement, exercise.statement]]) {
        if (langOf(text)) element.lang = langOf(text);
        else element.removeAttribute('lang');
      }
      // A statement that opens with the title says it once, above.
      const first = statement.firstElementChild;
      if (first?.tagName === 'H1' && first.textContent.trim() === title.textContent.trim()) first.remove();
    },
  };
}
