// Data files between the learner's computer and the program. The program
// reads and writes Shift-JIS; the learner's editors write UTF-8 and open
// UTF-8 best. A text file put in the file area in UTF-8 is given to the
// program in Shift-JIS, and a Shift-JIS text file the program wrote is
// offered back in UTF-8. Anything else (not text, plain ASCII which is the
// same in both, a file already in the other form) is left byte for byte.
import { decodeSjis, encodeSjis } from './sjis.js';

// Control characters other than tab, line and page ends, and the old end of
// file mark (0x1A) say that a file is not text.
const NOT_TEXT = /[\x00-\x08\x0e-\x19\x1b-\x1f\x7f]/;
const BOM = '\ufeff';

const isAscii = (bytes) => bytes.every((byte) => byte < 0x80);

function decodes(encoding, bytes) {
  try {
    const text = new TextDecoder(encoding, { fatal: true, ignoreBOM: true }).decode(bytes);
    return NOT_TEXT.test(text) ? null : text;
  } catch {
    return null;
  }
}

// An uploaded file as the program gets it: { bytes, converted }, or, where
// a character of the UTF-8 text has no Shift-JIS form, the bytes unchanged
// and unconvertedLine, the first line (from 1) that holds one.
export function fromLearner(bytes) {
  if (isAscii(bytes)) return { bytes, converted: false };
  const text = decodes('utf-8', bytes);
  if (text === null) return { bytes, converted: false };
  const lines = text.replace(/^\ufeff/, '').split('\n');
  const out = [];
  for (const [index, line] of lines.entries()) {
    const { bytes: encoded } = encodeSjis(line);
    if (encoded === null) return { bytes, converted: false, unconvertedLine: index + 1 };
    out.push(encoded);
  }
  const joined = new Uint8Array(out.reduce((sum, line) => sum + line.length, 0) + out.length - 1);
  let at = 0;
  for (const [index, line] of out.entries()) {
    joined.set(line, at);
    at += line.length;
    if (index < out.length - 1) joined[at++] = 0x0a;
  }
  return { bytes: joined, converted: true };
}

// A file the program wrote, in UTF-8 for the learner; null where it is no
// Shift-JIS text or reads the same in UTF-8.
export function forLearner(bytes) {
  if (isAscii(bytes) || decodes('utf-8', bytes) !== null) return null;
  const text = decodes('shift_jis', bytes);
  if (text === null || text.startsWith(BOM)) return null;
  return new TextEncoder().encode(text);
}
