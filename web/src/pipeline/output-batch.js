// What a program writes, handed to the page a message at a time. A program
// that prints without end writes faster than the page can take messages:
// one message a write drowns the page, and then its stop button too. So
// writes pass at once while they come at a human pace, and are gathered
// once they come faster than kBurst a window: then each message carries up
// to kPiece bytes, and past kHeld bytes waiting the oldest are let go, as
// a terminal's scrolling would (the page keeps only the latest screenfuls).
const kWindowMs = 100;
const kBurst = 20;
const kPiece = 64 * 1024;
const kHeld = 1024 * 1024;

export class OutputBatch {
  #post;
  #now;
  #held = [];
  #heldBytes = 0;
  #windowStart = -Infinity;
  #sentInWindow = 0;

  // post(bytes): hands a piece on; now(): milliseconds, for the tests.
  constructor(post, now = () => performance.now()) {
    this.#post = post;
    this.#now = now;
  }

  // The bytes are copied: the caller may reuse its array.
  push(bytes) {
    if (bytes.length === 0) return;
    this.#held.push(bytes.slice());
    this.#heldBytes += bytes.length;
    while (this.#heldBytes > kHeld && this.#held.length > 1) this.#heldBytes -= this.#held.shift().length;
    const now = this.#now();
    if (now - this.#windowStart >= kWindowMs) {
      this.#windowStart = now;
      this.#sentInWindow = 0;
    }
    if (this.#sentInWindow < kBurst || this.#heldBytes >= kPiece) this.flush();
  }

  // Everything held goes now: before the program waits for input (its
  // prompt must show) and at its end.
  flush() {
    if (this.#heldBytes === 0) return;
    const piece = new Uint8Array(this.#heldBytes);
    let at = 0;
    for (const bytes of this.#held) {
      piece.set(bytes, at);
      at += bytes.length;
    }
    this.#held = [];
    this.#heldBytes = 0;
    this.#sentInWindow += 1;
    this.#post(piece);
  }
}
