// The file area: the files a program reads are put here before a run, and
// after it the area holds the files as the run left them, each with a link
// that downloads its bytes exactly as the program wrote them.
import { t } from './i18n.js';

export function createFileArea(list, upload, hooks) {
  const files = new Map();
  const urls = [];

  function render() {
    for (const url of urls.splice(0)) URL.revokeObjectURL(url);
    list.replaceChildren();
    if (files.size === 0) {
      const empty = document.createElement('li');
      empty.className = 'empty';
      empty.dataset.l10n = 'noFiles';
      empty.textContent = t('noFiles');
      list.append(empty);
      return;
    }
    for (const [name, bytes] of [...files].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))) {
      const item = document.createElement('li');
      const link = document.createElement('a');
      const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      urls.push(url);
      link.href = url;
      link.download = name;
      link.textContent = name;
      const size = document.createElement('span');
      size.className = 'size';
      size.textContent = `${bytes.length} `;
      const unit = document.createElement('span');
      unit.dataset.l10n = 'bytes';
      unit.textContent = t('bytes');
      size.append(unit);
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.className = 'remove';
      remove.dataset.l10n = 'remove';
      remove.textContent = t('remove');
      remove.addEventListener('click', () => {
        files.delete(name);
        render();
      });
      item.append(link, size, remove);
      list.append(item);
    }
  }

  upload.addEventListener('change', async () => {
    const chosen = [...upload.files];
    upload.value = '';
    try {
      for (const file of chosen) {
        files.set(file.name, new Uint8Array(await file.arrayBuffer()));
      }
    } catch (error) {
      hooks.onError(error);
    }
    render();
  });

  render();
  return {
    // A copy, so that a run cannot change the area behind its back.
    map: () => new Map([...files].map(([name, bytes]) => [name, bytes.slice()])),
    add(name, bytes) {
      if (typeof name !== 'string' || name === '' || /[/\\\0]/.test(name)) {
        throw new TypeError(`not a file name: ${name}`);
      }
      files.set(name, bytes instanceof Uint8Array ? bytes.slice() : new Uint8Array(bytes));
      render();
    },
    replace(newFiles) {
      files.clear();
      for (const [name, bytes] of newFiles) files.set(name, bytes);
      render();
    },
  };
}
