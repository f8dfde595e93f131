// Writes the C compiler's resources for a C-only playground: the package's
// tar less the C++ library and headers, the headers of other targets and
// the shared libraries, which a C program for WebAssembly never reads.
// With --triple=T, the C library's folders (the package's are named for
// wasm32-wasip1) are named for the target T that the build gives clang,
// where its driver looks for them.
// Usage: node trim-clang-resources.mjs [--triple=T] PACKAGE.tar OUTPUT.tar
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, renameSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { argv, exit } from 'node:process';

// What a C program compiled for wasm32 WASI and linked statically uses:
// the C library's headers, the compiler's own C headers, the start files,
// the C library and its companions, the compiler's run-time builtins.
const KEEP = [
  /^include\/wasm32-wasip1\//,
  /^include\/(__)?(std[a-z_]*|float[a-z_]*|limits|inttypes|iso646|tgmath|varargs|wasm_simd128)\.h$/,
  /^lib\/wasm32-wasip1\/(crt1[a-z-]*\.o|lib(?!c\+\+)[a-z0-9_-]*\.a)$/,
  /^lib\/wasm32-unknown-wasip1\/libclang_rt\.builtins\.a$/,
];
// Files the result must have, or it is not a compiler's resources.
const MUST = ['include/wasm32-wasip1/stdio.h', 'include/stddef.h', 'lib/wasm32-wasip1/libc.a'];
// The archive reader of the package reads only the 100-byte name field.
const NAME_FIELD = 100;

// The package's reader takes a folder's name as written, and a trailing
// slash, which tar writes after a folder's name, would give it a folder
// named "" inside: the slash goes, and the header's checksum is made anew.
function foldersWithoutSlash(archive) {
  const HEADER = 512;
  for (let at = 0; at + HEADER <= archive.length && archive[at] !== 0; ) {
    const header = archive.subarray(at, at + HEADER);
    const size = parseInt(header.subarray(124, 136).toString('latin1').replace(/\0.*$/, '').trim() || '0', 8);
    const nameEnd = header.indexOf(0) === -1 || header.indexOf(0) > 100 ? 100 : header.indexOf(0);
    if (header[156] === 0x35 /* '5' */ && header[nameEnd - 1] === 0x2f /* '/' */) {
      header[nameEnd - 1] = 0;
      header.fill(0x20, 148, 156);
      const sum = header.reduce((total, byte) => total + byte, 0);
      header.write(`${sum.toString(8).padStart(6, '0')}\0 `, 148, 'latin1');
    }
    at += HEADER + Math.ceil(size / HEADER) * HEADER;
  }
  return archive;
}

const fail = (message) => {
  console.error(`trim-clang-resources: ${message}`);
  exit(1);
};
const args = argv.slice(2);
const triple = args[0]?.startsWith('--triple=') ? args.shift().slice('--triple='.length) : null;
const [input, output] = args;
if (!input || !output || (triple !== null && !/^wasm32-[a-z0-9]+$/.test(triple))) {
  console.error('usage: trim-clang-resources.mjs [--triple=wasm32-OS] PACKAGE.tar OUTPUT.tar');
  exit(2);
}
const tar = (...words) => execFileSync('tar', words, { encoding: 'utf8', maxBuffer: 1 << 26 });

const members = tar('-tf', input).split('\n').filter(Boolean);
const kept = members.filter((name) => KEEP.some((rule) => rule.test(name)));
for (const name of MUST) if (!kept.includes(name)) fail(`${input} has no ${name}: is it the compiler's resources?`);
// A folder stays where something in it stays.
const folders = new Set();
for (const name of kept) {
  const parts = name.split('/');
  for (let end = 1; end < parts.length; end++) folders.add(parts.slice(0, end).join('/'));
}
const wanted = members.filter((name) => kept.includes(name) || folders.has(name));

// The driver's folders for a triple wasm32-OS: include/ and lib/ under
// that name, the builtins under wasm32-unknown-OS.
const renames = triple
  ? [
      ['include/wasm32-wasip1', `include/${triple}`],
      ['lib/wasm32-wasip1', `lib/${triple}`],
      ['lib/wasm32-unknown-wasip1', `lib/${triple.replace('-', '-unknown-')}`],
    ]
  : [];
const transforms = renames.flatMap(([from, to]) => ['--transform', `s,^${from}\\(/\\|$\\),${to}\\1,`]);

const work = mkdtempSync(join(tmpdir(), 'clang-resources-'));
try {
  const list = join(work, 'members');
  writeFileSync(list, wanted.map((name) => `${name}\n`).join(''));
  const tree = join(work, 'tree');
  execFileSync('mkdir', [tree]);
  tar('-xf', input, '-C', tree, '--no-recursion', '--verbatim-files-from', '-T', list, ...transforms);
  // Made the same from the same package: names sorted, a folder ahead of
  // what it holds, no owner or time of this machine.
  const tops = [...new Set(wanted.map((name) => name.split('/')[0]))].sort();
  tar('-cf', `${output}.part`, '--format=ustar', '--sort=name', '--mtime=@0', '--owner=0', '--group=0',
    '--numeric-owner', '-C', tree, ...tops);
} finally {
  rmSync(work, { recursive: true, force: true });
}
writeFileSync(`${output}.part`, foldersWithoutSlash(readFileSync(`${output}.part`)));
const left = tar('-tf', `${output}.part`).split('\n').filter(Boolean);
if (left.length !== wanted.length) fail(`${output} holds ${left.length} members, not the ${wanted.length} meant`);
const long = left.find((name) => name.length >= NAME_FIELD);
if (long) fail(`${long} is too long a name for the package's reader`);
renameSync(`${output}.part`, output);
console.log(`trim-clang-resources: kept ${kept.length} files of ${members.length}${triple ? `, for ${triple}` : ''}`);
