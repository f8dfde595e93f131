// Writes the C compiler's resources for a C-only playground: the package's
// tar less the C++ library and headers, the headers of other targets and
// the shared libraries, which a C program for wasm32-wasip1 never reads.
// Members are copied as they are (GNU tar deletes the others in a copy).
// Usage: node trim-clang-resources.mjs PACKAGE.tar OUTPUT.tar
import { execFileSync } from 'node:child_process';
import { copyFileSync, rmSync, writeFileSync } from 'node:fs';
import { argv, exit } from 'node:process';

// What a C program compiled for wasm32-wasip1 and linked statically uses:
// the C library's headers, the compiler's own C headers, the start files,
// the C library and its companions, the compiler's run-time builtins.
const KEEP = [
  /^include\/wasm32-wasip1\//,
  /^include\/(__)?(std[a-z_]*|float[a-z_]*|limits|inttypes|iso646|tgmath|varargs|wasm_simd128)\.h$/,
  /^lib\/wasm32-wasip1\/(crt1[a-z-]*\.o|lib(?!c\+\+)[a-z0-9_-]*\.a)$/,
  /^lib\/wasm32-unknown-wasip1\/libclang_rt\.builtins\.a$/,
];
// The archive reader of the package reads only the 100-byte name field.
const NAME_FIELD = 100;

const [input, output] = argv.slice(2);
if (!input || !output) {
  console.error('usage: trim-clang-resources.mjs PACKAGE.tar OUTPUT.tar');
  exit(2);
}
const members = execFileSync('tar', ['-tf', input], { encoding: 'utf8', maxBuffer: 1 << 26 })
  .split('\n')
  .filter(Boolean);
const kept = members.filter((name) => KEEP.some((rule) => rule.test(name)));
// A folder stays where something in it stays.
const keptSet = new Set(kept);
const folders = new Set();
for (const name of kept) {
  const parts = name.split('/');
  for (let end = 1; end < parts.length; end++) folders.add(parts.slice(0, end).join('/'));
}
const dropped = members.filter((name) => !keptSet.has(name) && !folders.has(name));
for (const [what, pattern] of [['stdio.h', 'include/wasm32-wasip1/stdio.h'], ['libc.a', 'lib/wasm32-wasip1/libc.a'], ['stddef.h', 'include/stddef.h']]) {
  if (!keptSet.has(pattern)) {
    console.error(`trim-clang-resources: ${input} has no ${what} (${pattern}): is it the compiler's resources?`);
    exit(1);
  }
}
const long = kept.find((name) => name.length >= NAME_FIELD);
if (long) {
  console.error(`trim-clang-resources: ${long} is too long a name for the package's reader`);
  exit(1);
}
const list = `${output}.dropped`;
copyFileSync(input, `${output}.part`);
writeFileSync(list, dropped.map((name) => `${name}\n`).join(''));
execFileSync('tar', ['--delete', '--no-recursion', '--verbatim-files-from', '-f', `${output}.part`, '-T', list]);
rmSync(list);
execFileSync('mv', [`${output}.part`, output]);
const left = execFileSync('tar', ['-tf', output], { encoding: 'utf8', maxBuffer: 1 << 26 }).split('\n').filter(Boolean);
if (left.length !== members.length - dropped.length) {
  console.error(`trim-clang-resources: ${output} holds ${left.length} members, not the ${members.length - dropped.length} meant`);
  exit(1);
}
console.log(`trim-clang-resources: kept ${kept.length} files of ${members.length}`);
