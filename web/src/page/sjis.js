// The page's one Shift-JIS decoder and one encoder. The language's console
// and files are Shift-JIS (code page 932); the browser decodes it
// (TextDecoder) but has no encoder, so the encoder's table is built once
// from the decoder itself: every character the decoder gives for a byte
// pair maps back to that pair.

// A streaming decoder: bytes in as they come (a character may be cut
// between two chunks), text out; call it with no argument at the end.
export function sjisStream() {
  const decoder = new TextDecoder('shift_jis');
  return (bytes) =>
    bytes === undefined ? decoder.decode() : decoder.decode(bytes, { stream: true });
}

// fatal: throw on bytes that are no Shift-JIS rather than put U+FFFD.
export function decodeSjis(bytes, { fatal = false } = {}) {
  return new TextDecoder('shift_jis', { fatal }).decode(bytes);
}

let table = null;

// Code page 932 holds some characters twice (NEC's row 13 and IBM's
// extensions repeat JIS symbols; NEC's selection of IBM's extensions, lead
// bytes 0xED and 0xEE, repeats IBM's own at 0xFA to 0xFC). Windows writes
// the JIS form first, then NEC's row 13, then IBM's: so the pairs are read
// in that order and the first one a character meets is kept.
function buildTable() {
  const map = new Map();
  const decoder = new TextDecoder('shift_jis');
  const leads = [];
  for (let lead = 0x81; lead <= 0xfc; lead++) {
    if (lead >= 0xa0 && lead <= 0xdf) continue;
    if (lead === 0xed || lead === 0xee) continue;
    leads.push(lead);
  }
  leads.push(0xed, 0xee);
  const pair = new Uint8Array(2);
  for (const lead of leads) {
    for (let trail = 0x40; trail <= 0xfc; trail++) {
      if (trail === 0x7f) continue;
      pair[0] = lead;
      pair[1] = trail;
      const text = decoder.decode(pair);
      if (text.length === 1 && text !== '\ufffd' && !map.has(text)) {
        map.set(text, [lead, trail]);
      }
    }
  }
  // Half-width katakana are single bytes.
  for (let byte = 0xa1; byte <= 0xdf; byte++) {
    map.set(decoder.decode(new Uint8Array([byte])), [byte]);
  }
  return map;
}

// The Shift-JIS bytes of text, or null with the first character that has no
// Shift-JIS form (so that the caller refuses it rather than send a '?').
export function encodeSjis(text) {
  table ??= buildTable();
  const out = [];
  for (const char of text) {
    const code = char.codePointAt(0);
    if (code < 0x80) {
      out.push(code);
      continue;
    }
    const bytes = table.get(char);
    if (bytes === undefined) return { bytes: null, unencodable: char };
    out.push(...bytes);
  }
  return { bytes: Uint8Array.from(out), unencodable: null };
}
