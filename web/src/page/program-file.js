// A program opened from a file: UTF-8 as editors save it (a byte-order mark
// dropped), or Shift-JIS as the translator reads it. Resolves with its text,
// or with null where it is neither.
import { decodeSjis } from './sjis.js';

export async function readProgramFile(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  let text;
  try {
    text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    try {
      text = decodeSjis(bytes, { fatal: true });
    } catch {
      return null;
    }
  }
  return text.replace(/^\ufeff/, '');
}
