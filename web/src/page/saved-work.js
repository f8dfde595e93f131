// The learner's programs, kept in the browser (localStorage) as they type:
// a reload, a closed tab or a crash brings back the program, its name and
// its files. Opening another program (an example, a file, a share link, a
// new one) keeps the one before it among the recent programs, from which it
// can be opened again; only an example or a new program left as it was
// opened is let go, since the menu gives it back.
//   program: { name, source, files: Map name → Uint8Array }
const KEY = 'zem.saved-work';
const KEPT = 15; // programs in the recent list, the current one included
const FILES_KEPT = 256 * 1024; // a program's files, in bytes, beyond which they are not kept
const SAVE_AFTER_MS = 300;

function toBase64(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(binary);
}
const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

// A browser that keeps no storage for the page (a blocked one throws at
// the first touch) keeps nothing, and says so at the first save.
function browserStorage() {
  try {
    if (globalThis.localStorage) return globalThis.localStorage;
  } catch {
    // Blocked: the stand-in below.
  }
  return {
    getItem: () => null,
    setItem() {
      throw new Error('no storage');
    },
  };
}

// hooks: { current() → program, onProblem(wordKey) } ; storage: localStorage
// or a stand-in with its getItem and setItem.
export function createSavedWork(hooks, storage = browserStorage()) {
  let id = null; // the program being written
  let opened = null; // its source as opened, to tell whether it was written in
  let timer = null;
  let told = null; // the problem last told, told once until it is gone

  function read() {
    try {
      const kept = JSON.parse(storage.getItem(KEY));
      if (Array.isArray(kept?.programs)) return kept.programs;
    } catch {
      // Unreadable (another page's format, or no storage at all): nothing kept.
    }
    return [];
  }

  function tell(problem) {
    if (problem !== told && problem) hooks.onProblem(problem);
    told = problem;
  }

  // Newest first; where the browser's share is full, the oldest programs
  // give way to the one being written, and the learner is told either way.
  function write(programs) {
    let kept = programs.slice(0, KEPT);
    for (;;) {
      try {
        storage.setItem(KEY, JSON.stringify({ programs: kept }));
        if (kept.length < Math.min(programs.length, KEPT)) tell('storageTrimmed');
        return kept.length === Math.min(programs.length, KEPT);
      } catch {
        if (kept.length <= 1) {
          tell('storageFull');
          return false;
        }
        kept = kept.slice(0, -1);
      }
    }
  }

  function entry(program, disposable) {
    const size = [...program.files.values()].reduce((sum, bytes) => sum + bytes.length, 0);
    const files = size <= FILES_KEPT ? [...program.files].map(([name, bytes]) => [name, toBase64(bytes)]) : [];
    return { id, name: program.name, source: program.source, files, time: Date.now(), disposable, big: size > FILES_KEPT };
  }

  function saveNow() {
    clearTimeout(timer);
    timer = null;
    if (id === null) return;
    const program = hooks.current();
    const others = read().filter((kept) => kept.id !== id);
    const was = read().find((kept) => kept.id === id);
    const disposable = Boolean(was?.disposable) && program.source === opened;
    const saved = entry(program, disposable);
    if (write([saved, ...others])) tell(saved.big ? 'filesNotKept' : null);
  }

  // The programs kept once the current one is left for another.
  function leave() {
    if (id !== null) saveNow();
    return read().filter((kept) => !(kept.id === id && kept.disposable));
  }

  function begin(newId, source) {
    id = newId;
    opened = source;
  }

  const toProgram = (kept) => ({
    name: kept.name,
    source: kept.source,
    files: new Map(kept.files.map(([name, text]) => [name, fromBase64(text)])),
  });

  return {
    // The program last written in, or null.
    restore() {
      const [latest] = read();
      if (!latest) return null;
      begin(latest.id, latest.source);
      return toProgram(latest);
    },
    // A program opened: the one before is kept first (an unchanged example
    // or new program let go), then this one is kept as the current one.
    open(program, { disposable = false } = {}) {
      const programs = leave();
      begin(`${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`, program.source);
      const saved = entry(program, disposable);
      if (write([saved, ...programs])) tell(saved.big ? 'filesNotKept' : null);
    },
    // Something changed: kept a moment later, or at once with flush().
    changed() {
      if (timer === null && id !== null) timer = setTimeout(saveNow, SAVE_AFTER_MS);
    },
    flush: saveNow,
    // The other programs kept, newest first: [{ id, name, time }].
    others: () => read().filter((kept) => kept.id !== id).map(({ id, name, time }) => ({ id, name, time })),
    // Opens a kept program again (the current one kept first); null if gone.
    reopen(otherId) {
      const programs = leave();
      const kept = programs.find((program) => program.id === otherId);
      if (!kept) return null;
      begin(kept.id, kept.source);
      write([{ ...kept, time: Date.now() }, ...programs.filter((program) => program.id !== otherId)]);
      return toProgram(kept);
    },
  };
}
