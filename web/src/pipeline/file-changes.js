// The files a program changes, handed on while it runs: a program the
// learner stops (its worker ended) then leaves what a killed native program
// leaves on disk, what it had written and its closed files whole. A busy
// program gives its worker's event loop no turn, so no timer could do this:
// the copies go from inside the calls that change files, at once when a
// written file is closed or the program may wait for input, and during a
// long run of writes at most every kEveryMs.
const kEveryMs = 200;

export class FileChanges {
  #list;
  #post;
  #now;
  #changed = new Set();
  #postedAt = -Infinity;

  // list(wanted): the files whose entry wanted() takes, name → bytes (the
  // shim's own arrays); post(files): hands on copies, name → Uint8Array;
  // now(): milliseconds, for the tests.
  constructor(list, post, now = () => performance.now()) {
    this.#list = list;
    this.#post = post;
    this.#now = now;
  }

  // A file created, emptied or written (its entry).
  changed(file) {
    this.#changed.add(file);
    if (this.#now() - this.#postedAt >= kEveryMs) this.flush();
  }

  closed(file) {
    if (this.#changed.has(file)) this.flush();
  }

  // Copies, since the program goes on writing into the arrays listed.
  flush() {
    if (this.#changed.size === 0) return;
    const changed = this.#changed;
    this.#changed = new Set();
    this.#postedAt = this.#now();
    const listed = this.#list((file) => changed.has(file));
    if (listed.size > 0) this.#post(new Map([...listed].map(([name, bytes]) => [name, bytes.slice()])));
  }
}
