// The examples menu: each example by its title in the page's language,
// marked where it fails on purpose; the option's value is its folder name.
import { EXAMPLES } from './examples.js';
import { t } from './i18n.js';

// onOpen(name, example) when one is picked. Returns relabel(lang), which
// titles the options in a language.
export function createExamplesMenu(menu, onOpen) {
  const options = Object.keys(EXAMPLES).map((name) => {
    const option = document.createElement('option');
    option.value = name;
    menu.append(option);
    return option;
  });
  menu.addEventListener('change', () => {
    const name = menu.value;
    // Back to the menu's title, so that the same example can be opened again.
    menu.value = '';
    if (EXAMPLES[name]) onOpen(name, EXAMPLES[name]);
  });
  const relabel = (lang) => {
    for (const option of options) {
      const example = EXAMPLES[option.value];
      option.textContent = example.title[lang] + (example.fails ? t('failsOnPurpose') : '');
    }
  };
  return relabel;
}
