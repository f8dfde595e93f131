// The page's Shift-JIS encoder (web/src/page/sjis.js: the bytes a typed
// line goes to the program in) gives, for every character that code page
// 932 holds, the bytes iconv's CP932 gives, which zemuc uses natively; and
// refuses what CP932 does not hold; and data files converted with it.
// Exits 77 where iconv is missing.
//   node sjis_test.mjs PROJECT_DIR
import { execFileSync, spawnSync } from 'node:child_process';
import path from 'node:path';
import assert from 'node:assert/strict';

const project = process.argv[2];
const { encodeSjis, decodeSjis, sjisStream } = await import(path.join(project, 'web/src/page/sjis.js'));
try {
  execFileSync('iconv', ['--version'], { stdio: 'ignore' });
} catch {
  console.log('skipped: iconv missing');
  process.exit(77);
}

// Every character some byte pair or single byte decodes to.
const chars = new Set();
const decoder = new TextDecoder('shift_jis');
for (let lead = 0x81; lead <= 0xfc; lead++) {
  for (let trail = 0x40; trail <= 0xfc; trail++) {
    const text = decoder.decode(Uint8Array.of(lead, trail));
    if (text.length === 1 && text !== '\ufffd') chars.add(text);
  }
}
for (let byte = 0x20; byte <= 0xdf; byte++) {
  const text = decoder.decode(Uint8Array.of(byte));
  if (text.length === 1 && text !== '\ufffd') chars.add(text);
}
// One character a line, through one iconv that drops what CP932 lacks
// (and then exits 1): an empty line is a refused character (no CP932 pair
// has 0x0A in it).
const list = [...chars].filter((c) => c !== '\n');
const converted = spawnSync('iconv', ['-c', '-f', 'UTF-8', '-t', 'CP932'], { input: `${list.join('\n')}\n` });
if (converted.error) throw converted.error;
const lines = [];
for (let start = 0, end; (end = converted.stdout.indexOf(0x0a, start)) !== -1; start = end + 1) {
  lines.push(new Uint8Array(converted.stdout.subarray(start, end)));
}
assert.equal(lines.length, list.length, 'iconv gave a line for every character');
let failures = 0;
let compared = 0;
list.forEach((char, i) => {
  const want = lines[i].length ? lines[i] : null;
  const got = encodeSjis(char).bytes;
  // The WHATWG decoder reads 0x80 and 0xA0 as characters CP932 has not.
  if (want === null && got !== null && got.length === 1) return;
  try {
    assert.deepEqual(got, want, `U+${char.codePointAt(0).toString(16)} ${char}`);
    compared++;
  } catch (error) {
    if (++failures <= 10) console.log(`FAIL: ${error.message.split('\n')[0]}`);
  }
});

// The edges: text beyond CP932 is refused, whole; a character cut between
// two chunks of output is decoded whole.
const CASES = [
  { text: 'a😀b', bytes: null, unencodable: '😀' },
  { text: 'é', bytes: null, unencodable: 'é' },
  { text: '表ソ\n', bytes: Uint8Array.of(0x95, 0x5c, 0x83, 0x5c, 0x0a), unencodable: null },
  { text: '', bytes: new Uint8Array(), unencodable: null },
  { text: 'ｱ~\\', bytes: Uint8Array.of(0xb1, 0x7e, 0x5c), unencodable: null },
];
for (const { text, bytes, unencodable } of CASES) {
  try {
    assert.deepEqual(encodeSjis(text), { bytes, unencodable }, JSON.stringify(text));
  } catch (error) {
    failures++;
    console.log(`FAIL: ${error.message.split('\n')[0]}`);
  }
}
const stream = sjisStream();
const pieces = [stream(Uint8Array.of(0x82)), stream(Uint8Array.of(0xa0, 0x82)), stream(Uint8Array.of(0xa2)), stream()];
if (pieces.join('') !== 'あい' || decodeSjis(Uint8Array.of(0x82)) !== '\ufffd') {
  failures++;
  console.log(`FAIL: a cut character: ${JSON.stringify(pieces)}`);
}

// Data files between the learner's UTF-8 and the program's Shift-JIS
// (web/src/page/data-encoding.js): line ends kept, anything but text left.
const { fromLearner, forLearner } = await import(path.join(project, 'web/src/page/data-encoding.js'));
const utf8 = (text) => new TextEncoder().encode(text);
const UPLOADED = [
  { what: 'CRLF lines', bytes: utf8('あ\r\nい\r\n'), want: { bytes: Uint8Array.of(0x82, 0xa0, 0x0d, 0x0a, 0x82, 0xa2, 0x0d, 0x0a), converted: true } },
  { what: 'Shift-JIS (no UTF-8)', bytes: Uint8Array.of(0x82, 0xa0), want: { bytes: Uint8Array.of(0x82, 0xa0), converted: false } },
  { what: 'empty', bytes: new Uint8Array(), want: { bytes: new Uint8Array(), converted: false } },
  { what: 'an escape among UTF-8', bytes: utf8('\x1bあ'), want: { bytes: utf8('\x1bあ'), converted: false } },
  { what: 'no Shift-JIS form on line 3', bytes: utf8('a\nb\né\n'), want: { bytes: utf8('a\nb\né\n'), converted: false, unconvertedLine: 3 } },
];
const WRITTEN = [
  { what: 'Shift-JIS text', bytes: Uint8Array.of(0x95, 0x5c, 0x0a), want: utf8('表\n') },
  { what: 'ASCII', bytes: utf8('21\n'), want: null },
  { what: 'already UTF-8', bytes: utf8('表'), want: null },
  { what: 'binary', bytes: Uint8Array.of(0x82, 0xa0, 0x00), want: null },
];
for (const [convert, rows] of [[fromLearner, UPLOADED], [forLearner, WRITTEN]]) {
  for (const { what, bytes, want } of rows) {
    try {
      assert.deepEqual(convert(bytes), want, `${convert.name}: ${what}`);
    } catch (error) {
      failures++;
      console.log(`FAIL: ${error.message.split('\n')[0]}`);
    }
  }
}
if (failures) {
  console.log(`${failures} failed`);
  process.exit(1);
}
console.log(`ok: ${compared} characters as iconv's CP932 writes them`);
