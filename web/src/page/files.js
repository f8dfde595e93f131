// The file area: the files a program reads are put here before a run, and
// after it the area holds the files as the run left them. Each file's name
// is a link that downloads it for the learner's editors (a Shift-JIS text
// in UTF-8, anything else as it is); a Shift-JIS text also has a second
// link, class "written", with its bytes exactly as the program wrote them.
import { t } from './i18n.js';
import { fromLearner, forLearner } from './data-encoding.js';

function link(bytes, name, text, className) {
  const anchor = document.createElement('a');
  anchor.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  anchor.download = name;
  anchor.className = className;
  anchor.textContent = text;
  return anchor;
}

function worded(tag, className, key, after = '') {
  const element = document.createElement(tag);
  element.className = className;
  element.dataset.l10n = key;
  element.textContent = t(key) + after;
  return element;
}

export function createFileArea(list, upload, hooks) {
  const files = new Map();
  // name → the note shown beside an uploaded file (its conversion)
  const notes = new Map();
  // The checks' reports a run left: the page's, not the learner's, so the
  // next run neither reads them nor keeps them.
  let reports = new Set();

  function item(name, bytes) {
    const entry = document.createElement('li');
    const utf8 = forLearner(bytes);
    entry.append(link(utf8 ?? bytes, name, name, 'file'));
    if (utf8) {
      const written = link(bytes, name, t('asWritten'), 'written');
      written.dataset.l10n = 'asWritten';
      entry.append(' ', written);
    }
    const size = document.createElement('span');
    size.className = 'size';
    size.textContent = `${bytes.length} `;
    size.append(worded('span', 'unit', 'bytes'));
    const remove = worded('button', 'remove', 'remove');
    remove.type = 'button';
    remove.addEventListener('click', () => {
      files.delete(name);
      notes.delete(name);
      changed();
    });
    entry.append(size, remove);
    const note = notes.get(name);
    if (note) entry.append(note());
    return entry;
  }

  function render() {
    for (const anchor of list.querySelectorAll('a')) URL.revokeObjectURL(anchor.href);
    list.replaceChildren();
    if (files.size === 0) {
      const empty = worded('li', 'empty', 'noFiles');
      list.append(empty);
      return;
    }
    for (const [name, bytes] of [...files].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))) {
      list.append(item(name, bytes));
    }
  }

  function changed() {
    render();
    hooks.onChange?.();
  }

  function take(name, uploaded) {
    const { bytes, converted, unconvertedLine } = fromLearner(uploaded);
    files.set(name, bytes);
    reports.delete(name);
    notes.delete(name);
    if (converted) notes.set(name, () => worded('span', 'note', 'fileConverted'));
    if (unconvertedLine) {
      notes.set(name, () => worded('span', 'note error', 'fileNotConverted', ` ${unconvertedLine}`));
    }
  }

  upload.addEventListener('change', async () => {
    const chosen = [...upload.files];
    upload.value = '';
    try {
      for (const file of chosen) take(file.name, new Uint8Array(await file.arrayBuffer()));
    } catch (error) {
      hooks.onError(error);
    }
    changed();
  });

  render();
  const copy = (entries) => new Map(entries.map(([name, bytes]) => [name, bytes.slice()]));
  return {
    // A copy, so that a run cannot change the area behind its back.
    map: () => copy([...files]),
    // What a run reads: the learner's files, without the last run's reports.
    forRun: () => copy([...files].filter(([name]) => !reports.has(name))),
    add(name, bytes) {
      if (typeof name !== 'string' || name === '' || /[/\\\0]/.test(name)) {
        throw new TypeError(`not a file name: ${name}`);
      }
      files.set(name, bytes instanceof Uint8Array ? bytes.slice() : new Uint8Array(bytes));
      notes.delete(name);
      reports.delete(name);
      changed();
    },
    // newReports: the names among newFiles that are a run's reports.
    replace(newFiles, newReports = []) {
      files.clear();
      notes.clear();
      for (const [name, bytes] of newFiles) files.set(name, bytes);
      reports = new Set(newReports);
      changed();
    },
  };
}
