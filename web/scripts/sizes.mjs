// What a first visit downloads: every file of the site's manifest (the
// service worker keeps them all), raw and compressed as a static host
// serves it, gzip -9 and brotli (quality 11 for text, 9 for the big
// binaries, as a host that precompresses them would).
// Usage: node sizes.mjs SITE_DIR
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { argv } from 'node:process';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const site = argv[2];
const { files } = JSON.parse(readFileSync(join(site, 'manifest.json'), 'utf8'));
const rows = [...files.map(({ path }) => path), 'manifest.json'].map((path) => {
  const bytes = readFileSync(join(site, path));
  const quality = bytes.length > 1 << 20 ? 9 : 11;
  const brotli = brotliCompressSync(bytes, {
    params: {
      [constants.BROTLI_PARAM_QUALITY]: quality,
      [constants.BROTLI_PARAM_LGWIN]: 24,
      [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length,
    },
  }).length;
  return { path, raw: bytes.length, gzip: gzipSync(bytes, { level: 9 }).length, brotli };
});
const mb = (n) => (n / 1e6).toFixed(2).padStart(8);
console.log(`${'file'.padEnd(28)}      raw     gzip   brotli  (MB)`);
for (const row of rows) console.log(`${row.path.padEnd(28)} ${mb(row.raw)} ${mb(row.gzip)} ${mb(row.brotli)}`);
const total = (key) => rows.reduce((sum, row) => sum + row[key], 0);
console.log(`${'first visit'.padEnd(28)} ${mb(total('raw'))} ${mb(total('gzip'))} ${mb(total('brotli'))}`);
