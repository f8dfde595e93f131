// The program's standard input. A reader gives bytes through take(max),
// which never blocks: an empty array means end of input. Where the program
// must wait for the learner, ready() resolves once take() has something to
// give (bytes, or the end); the caller waits on it before take().

// The reader `input` that does first() before each ready() and take():
// what must reach the page before the program may wait for the learner.
export function beforeInput(input, first) {
  return {
    ready: () => (first(), input.ready()),
    take: (size) => (first(), input.take(size)),
  };
}

// Input known in full before the program starts (the tests, zemucweb's
// commands).
export class FixedInput {
  #bytes;
  #at = 0;
  constructor(bytes = new Uint8Array(0)) {
    this.#bytes = bytes;
  }
  ready() {
    return Promise.resolve();
  }
  take(max) {
    const piece = this.#bytes.subarray(this.#at, this.#at + max);
    this.#at += piece.length;
    return piece;
  }
}

// Input that arrives while the program runs (typed lines), kept in the
// order given; end() closes it after what was already given.
export class QueuedInput {
  #pieces = [];
  #ended = false;
  #wake = null;
  push(bytes) {
    if (this.#ended) throw new Error('input after its end');
    if (bytes.length === 0) return;
    this.#pieces.push(bytes.slice());
    this.#wakeReader();
  }
  end() {
    this.#ended = true;
    this.#wakeReader();
  }
  ready() {
    if (this.#pieces.length > 0 || this.#ended) return Promise.resolve();
    return new Promise((resolve) => {
      this.#wake = resolve;
    });
  }
  take(max) {
    const first = this.#pieces[0];
    if (first === undefined) return new Uint8Array(0);
    if (first.length <= max) {
      this.#pieces.shift();
      return first;
    }
    this.#pieces[0] = first.subarray(max);
    return first.subarray(0, max);
  }
  #wakeReader() {
    const wake = this.#wake;
    this.#wake = null;
    if (wake) wake();
  }
}

// Input through a SharedArrayBuffer, for a worker that cannot suspend its
// program: the reader blocks in Atomics.wait until the writer (the page's
// thread) has put bytes in or ended the input. The buffer holds a header
// of two Int32s (the state, the read offset) and the bytes. The state is
// the count of bytes available, 0 when empty, ENDED after the end: the
// writer stores only into an empty state and the reader changes only a
// state that holds bytes, and the reader sleeps only while the state is 0,
// so no wake-up is lost.
const STATE = 0;
const OFFSET = 1;
const ENDED = -1;
const HEADER = 8;

export function sharedInputBuffer(capacity = 64 * 1024) {
  return new SharedArrayBuffer(HEADER + capacity);
}

export class SharedInputWriter {
  #header;
  #data;
  #queue = new QueuedInput();
  #ended = false;
  constructor(buffer) {
    this.#header = new Int32Array(buffer, 0, 2);
    this.#data = new Uint8Array(buffer, HEADER);
  }
  push(bytes) {
    this.#queue.push(bytes);
    this.refill();
  }
  end() {
    this.#ended = true;
    this.refill();
  }
  // Called again whenever the reader tells it emptied the buffer.
  refill() {
    if (Atomics.load(this.#header, STATE) !== 0) return;
    const piece = this.#queue.take(this.#data.length);
    if (piece.length > 0) {
      this.#data.set(piece);
      Atomics.store(this.#header, OFFSET, 0);
      Atomics.store(this.#header, STATE, piece.length);
    } else if (this.#ended) {
      Atomics.store(this.#header, STATE, ENDED);
    } else {
      return;
    }
    Atomics.notify(this.#header, STATE);
  }
}

export class SharedInputReader {
  #header;
  #data;
  #emptied;
  // emptied(): tells the writer the buffer is empty (a message to it).
  constructor(buffer, emptied) {
    this.#header = new Int32Array(buffer, 0, 2);
    this.#data = new Uint8Array(buffer, HEADER);
    this.#emptied = emptied;
  }
  ready() {
    return Promise.resolve();
  }
  take(max) {
    for (;;) {
      const state = Atomics.load(this.#header, STATE);
      if (state === ENDED) return new Uint8Array(0);
      if (state > 0) {
        const count = Math.min(max, state);
        const offset = Atomics.load(this.#header, OFFSET);
        const piece = this.#data.slice(offset, offset + count);
        Atomics.store(this.#header, OFFSET, offset + count);
        if (Atomics.sub(this.#header, STATE, count) === count) this.#emptied();
        return piece;
      }
      Atomics.wait(this.#header, STATE, 0);
    }
  }
}
