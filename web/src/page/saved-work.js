// The learner's programs, kept in the browser (localStorage) as they type:
// a reload, a closed tab or a crash brings back the program, its name and
// its files. Opening another program (an example, a file, a share link, a
// new one) keeps the one before it among the recent programs, from which it
// can be opened again; only an example or a new program left as it was
// opened is let go, since the menu gives it back. A reload goes on with the
// tab's own program; another tab (or one after a crash) starts on a copy of
// the program last written in, let go too if left as it was. A program
// written for an exercise is kept with the exercise's id and its latest
// results, found again by the exercise, and not let go for newer programs.
//   program: { name, source, files: Map name → Uint8Array, exercise?, results? }
const KEY = 'zem.saved-work';
const KEPT = 15; // programs in the recent list, the current one included
const FILES_KEPT = 256 * 1024; // a program's files, in bytes, beyond which they are not kept
const SAVE_AFTER_MS = 300;
const TAB_KEY = 'zem.saved-work.tab'; // sessionStorage: the tab's program, for its reloads

function tabStorage(action) {
  try {
    return action(globalThis.sessionStorage);
  } catch {
    return null; // blocked: every load is then as a new tab's
  }
}
const newId = () => `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;

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
  let opened = null; // its source and files as opened, to tell whether they changed
  let timer = null;
  let told = null; // the problem last told, told once until it is gone
  let exercise = null; // the id of the exercise the program is for
  let results = null; // its latest results, as keepResults was given them

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
    let others = 0;
    const wanted = programs.filter((kept) => kept.exercise || ++others <= KEPT);
    let kept = wanted;
    for (;;) {
      try {
        storage.setItem(KEY, JSON.stringify({ programs: kept }));
        if (kept.length < wanted.length) tell('storageTrimmed');
        return kept.length === wanted.length;
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
    const saved = { id, name: program.name, source: program.source, files, time: Date.now(), disposable, big: size > FILES_KEPT };
    if (exercise !== null) Object.assign(saved, { exercise, results });
    return saved;
  }

  function saveNow() {
    clearTimeout(timer);
    timer = null;
    if (id === null) return;
    const program = hooks.current();
    const programs = read();
    const others = programs.filter((kept) => kept.id !== id);
    const was = programs.find((kept) => kept.id === id);
    const saved = entry(program, false);
    saved.disposable = Boolean(was?.disposable) && contents(saved) === opened;
    if (write([saved, ...others])) tell(saved.big ? 'filesNotKept' : null);
  }

  // The programs kept once the current one is left for another.
  function leave() {
    if (id !== null) saveNow();
    return read().filter((kept) => !(kept.id === id && kept.disposable));
  }

  // What a check adds counts as a change too.
  const contents = (kept) => JSON.stringify([kept.source, kept.files, kept.results ?? null]);

  function begin(kept) {
    id = kept.id;
    exercise = kept.exercise ?? null;
    results = kept.results ?? null;
    opened = contents(kept);
    tabStorage((session) => session.setItem(TAB_KEY, id));
  }

  const toProgram = (kept) => ({
    name: kept.name,
    source: kept.source,
    files: new Map(kept.files.map(([name, text]) => [name, fromBase64(text)])),
    exercise: kept.exercise ?? null,
    results: kept.results ?? null,
  });

  // Leaves the current program for a kept one.
  function switchTo(programs, kept) {
    begin(kept);
    write([{ ...kept, time: Date.now() }, ...programs.filter((program) => program.id !== kept.id)]);
    return toProgram(kept);
  }

  return {
    // The program last written in, or null.
    restore() {
      const programs = read();
      const own = tabStorage((session) => session.getItem(TAB_KEY));
      const mine = programs.find((kept) => kept.id === own);
      if (mine) {
        begin(mine);
        return toProgram(mine);
      }
      const [latest] = programs;
      if (!latest) return null;
      const copy = { ...latest, id: newId(), time: Date.now(), disposable: true };
      begin(copy);
      write([copy, ...programs]);
      return toProgram(copy);
    },
    // A program opened: the one before is kept first (an unchanged example
    // or new program let go), then this one is kept as the current one.
    // exercise: the id of the exercise it is written for.
    open(program, { disposable = false, exercise: forExercise = null } = {}) {
      const programs = leave();
      id = newId();
      exercise = forExercise;
      results = null;
      const saved = entry(program, disposable);
      begin(saved);
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
      return kept ? switchTo(programs, kept) : null;
    },
    // The id of the exercise the current program is for, or null, and the
    // latest results kept with it.
    exercise: () => exercise,
    results: () => results,
    // Opens the program last written for an exercise (the current one kept
    // first); null if there is none.
    reopenExercise(exerciseId) {
      if (!read().some((program) => program.exercise === exerciseId)) return null;
      const programs = leave();
      const kept = programs.find((program) => program.exercise === exerciseId);
      return kept ? switchTo(programs, kept) : null;
    },
    // The current program's latest results, kept with it at once.
    keepResults(latest) {
      if (exercise === null) return;
      results = latest;
      saveNow();
    },
  };
}
