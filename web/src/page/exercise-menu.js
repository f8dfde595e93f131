// The exercises menu: each exercise by its title; choosing one opens it
// (the page sets #exercise=ID). Hidden where the site has none. The titles
// are the teacher's, in the teacher's language, marked as such.
import { langOf } from './exercise-list.js';

export function createExerciseMenu(menu, onPick) {
  menu.addEventListener('change', () => {
    const id = menu.value;
    // Back to the menu's title, so that the same exercise can be chosen again.
    menu.value = '';
    if (id) onPick(id);
  });
  return {
    fill(exercises) {
      const title = menu.querySelector('option[value=""]');
      const options = exercises.map(({ id, title: name }) => {
        const option = document.createElement('option');
        option.value = id;
        option.textContent = name || id;
        if (langOf(option.textContent)) option.lang = langOf(option.textContent);
        return option;
      });
      menu.replaceChildren(title, ...options);
      menu.hidden = exercises.length === 0;
    },
  };
}
