// The recent programs menu: the programs kept in the browser other than the
// one being written, newest first, each opened again by choosing it.
import { t } from './i18n.js';

// hooks: { others() → [{ id, name, time }], onPick(id) }
export function createRecentMenu(menu, hooks) {
  function render() {
    const title = document.createElement('option');
    title.value = '';
    title.dataset.l10n = 'recentPick';
    title.textContent = t('recentPick');
    const others = hooks.others();
    menu.replaceChildren(
      title,
      ...others.map(({ id, name, time }) => {
        const option = document.createElement('option');
        option.value = id;
        const when = new Date(time).toLocaleString(document.documentElement.lang, { dateStyle: 'short', timeStyle: 'medium' });
        option.textContent = `${name} (${when})`;
        return option;
      }),
    );
    menu.disabled = others.length === 0;
  }
  menu.addEventListener('change', () => {
    const id = menu.value;
    menu.value = '';
    if (id) hooks.onPick(id);
  });
  // The list as it is when the learner looks at it: other tabs keep theirs too.
  menu.addEventListener('focus', render);
  render();
  return { render };
}
