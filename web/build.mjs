// Builds the playground's static site.
// Usage: node web/build.mjs OUT_DIR ZEMUCWEB_WASM [EXERCISES_JSON]
// OUT_DIR gets the bundles (the page, the toolchain and run workers, the C
// compiler's module), zemucweb.wasm, delkai.c, the compiler's files with
// its resources trimmed to C, web/static/ as it is, the exercises that
// zemuc exercise pack wrote as exercises.json when given, and manifest.json:
// every file of the site with its size and a hash of its content, from
// which the service worker caches the site. All paths are relative.
import { createHash } from 'node:crypto';
import { execFileSync } from 'node:child_process';
import { copyFileSync, cpSync, existsSync, mkdirSync, readFileSync, readdirSync, renameSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { dirname, join, relative, sep } from 'node:path';
import { argv, exit } from 'node:process';
import { brotliCompressSync, constants as zlibConstants, gzipSync } from 'node:zlib';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const web = dirname(fileURLToPath(import.meta.url));
const project = dirname(web);
const [out, zemucweb, exercises] = argv.slice(2);
if (!out || !zemucweb) {
  console.error('usage: node web/build.mjs OUT_DIR ZEMUCWEB_WASM [EXERCISES_JSON]');
  exit(2);
}
const clangPackage = join(web, 'node_modules', '@yowasp', 'clang', 'gen');

// The compiler's package wraps each file it fetches in a Response of its
// own (to count progress), which has no URL: the browser then cannot keep
// the compiled module for the next visit. Its modules are fetched with the
// plain fetch instead, so that WebAssembly.compileStreaming sees the
// site's own response, and counted through a copy of it: the progress the
// page shows is then of every byte, out of the site's own total (the
// package's counts the untrimmed resources).
const PATCHES = [
  ['resourceModule.modules(fetchFn)', 'resourceModule.modules(fetchFn === fetch_default ? fetch_default : countedFetch)'],
  [
    'const status = { source: this, totalLength: resourceModule.totalSize, doneLength: 0 };',
    `var status = { source: this, totalLength: resourceModule.totalSize, doneLength: 0 };
      var countedFetch = (input, init) => fetch_default(input, init).then((response) => {
        response.clone().body.pipeTo(new WritableStream({ write(chunk) {
          status.doneLength += chunk.length;
          fetchProgress(status);
        } })).catch(() => {});
        return response;
      });`,
  ],
];
const keepModuleURLs = (totalSize) => ({
  name: 'clang-module-urls',
  setup(build) {
    build.onLoad({ filter: /[\\/]@yowasp[\\/]clang[\\/]gen[\\/]bundle\.js$/ }, (args) => {
      let text = readFileSync(args.path, 'utf8');
      for (const [from, to] of [...PATCHES, [/^var totalSize = \d+;$/m, `var totalSize = ${totalSize};`]]) {
        if (text.split(from).length !== 2) throw new Error(`${args.path}: "${from}" is not there once; see web/build.mjs`);
        text = text.replace(from, to);
      }
      return { contents: text, loader: 'js' };
    });
  },
});

// The target the build gives clang, from zemucweb itself: the C library's
// folders in the trimmed resources are named for it.
const { Zemucweb, sourceFiles } = await import('./src/pipeline/zemucweb.js');
let prepared;
try {
  ({ value: prepared } = await new Zemucweb(await WebAssembly.compile(readFileSync(zemucweb))).call('prepare', {
    files: sourceFiles('はじめ\nおわり\n', 'prog.zem'),
  }));
} catch (error) {
  console.error(`build: ${zemucweb} cannot serve the playground: ${error.message}`);
  exit(1);
}
const target = prepared.compile?.find((arg) => arg.startsWith('--target='));
if (!target) {
  console.error(`build: ${zemucweb} prepare gives clang no --target`);
  exit(1);
}
rmSync(out, { recursive: true, force: true });
mkdirSync(join(out, 'clang'), { recursive: true });

const common = {
  bundle: true,
  format: 'esm',
  minify: true,
  legalComments: 'linked',
  target: ['chrome120', 'firefox121', 'safari17'],
  logLevel: 'warning',
};
const entries = {
  'toolchain-worker': join(web, 'src', 'pipeline', 'toolchain-worker.js'),
  'run-worker': join(web, 'src', 'pipeline', 'run-worker.js'),
};
const page = join(web, 'src', 'page', 'main.js');
if (existsSync(page)) entries.main = page;
else console.warn('build: web/src/page/main.js is missing; the site has no page bundle');
await esbuild.build({ ...common, entryPoints: entries, outdir: out, platform: 'browser' });
for (const file of readdirSync(clangPackage).filter((name) => name.endsWith('.wasm'))) {
  copyFileSync(join(clangPackage, file), join(out, 'clang', file));
}
execFileSync(process.execPath, [
  join(web, 'scripts', 'trim-clang-resources.mjs'),
  `--triple=${target.slice('--target='.length)}`,
  join(clangPackage, 'llvm-resources.tar'),
  join(out, 'clang', 'llvm-resources.tar'),
], { stdio: 'inherit' });
// The compiler stays a module of its own, beside its files: it finds them
// relative to its own URL, and the tests load it as the site does.
const compilerBytes = readdirSync(join(out, 'clang'))
  .filter((file) => file.startsWith('llvm'))
  .reduce((sum, file) => sum + readFileSync(join(out, 'clang', file)).length, 0);
await esbuild.build({
  ...common,
  entryPoints: { clang: join(clangPackage, 'bundle.js') },
  outdir: join(out, 'clang'),
  platform: 'neutral',
  external: ['node:*'],
  plugins: [keepModuleURLs(compilerBytes)],
});

copyFileSync(zemucweb, join(out, 'zemucweb.wasm'));
copyFileSync(join(project, 'runtime', 'delkai.c'), join(out, 'delkai.c'));
const staticDir = join(web, 'static');
if (existsSync(staticDir)) cpSync(staticDir, out, { recursive: true });
// Beside index.html, where the page looks for it; in the manifest and
// precompressed as every other file.
if (exercises) copyFileSync(exercises, join(out, 'exercises.json'));

function filesUnder(dir) {
  return readdirSync(dir, { withFileTypes: true }).flatMap((entry) => {
    const path = join(dir, entry.name);
    return entry.isDirectory() ? filesUnder(path) : [path];
  });
}
const files = filesUnder(out)
  .map((path) => relative(out, path).split(sep).join('/'))
  .filter((path) => path !== 'manifest.json')
  .sort()
  .map((path) => {
    const bytes = readFileSync(join(out, path));
    return { path, size: bytes.length, sha256: createHash('sha256').update(bytes).digest('hex') };
  });
// The site's version: a hash of every file's path and hash.
const version = createHash('sha256')
  .update(files.map(({ path, sha256 }) => `${path} ${sha256}\n`).join(''))
  .digest('hex')
  .slice(0, 16);
writeFileSync(join(out, 'manifest.json'), `${JSON.stringify({ version, files }, null, 1)}\n`);
const total = files.reduce((sum, { size }) => sum + size, 0);
console.log(`build: ${files.length} files, ${(total / 1e6).toFixed(1)} MB, in ${out}`);

// Text, WebAssembly and archives shrink; images are compressed already. A
// copy is kept only where it saves a twentieth, or what the server's
// headers cost for a small file.
const COMPRESSIBLE = /\.(html|js|mjs|css|json|wasm|tar|c|h|txt|svg)$/;
const worthIt = (size, packed) => packed < size * 0.95 && size - packed > 256;
const precompressed = { br: 0, gz: 0 };
// Brotli at quality 11 takes minutes over the compiler's 75 MB, which do
// not change from one build to the next: copies are kept by the hash of
// what they compress, beside OUT_DIR, and made again only for new content.
const cache = `${out.replace(/[\\/]+$/, '')}-precompressed`;
mkdirSync(cache, { recursive: true });
const kept = new Set();
for (const path of [...files.map((file) => file.path), 'manifest.json'].filter((path) => COMPRESSIBLE.test(path))) {
  const bytes = readFileSync(join(out, path));
  const hash = createHash('sha256').update(bytes).digest('hex');
  const copies = {
    br: () => brotliCompressSync(bytes, {
      params: {
        [zlibConstants.BROTLI_PARAM_QUALITY]: zlibConstants.BROTLI_MAX_QUALITY,
        [zlibConstants.BROTLI_PARAM_LGWIN]: zlibConstants.BROTLI_MAX_WINDOW_BITS,
        [zlibConstants.BROTLI_PARAM_SIZE_HINT]: bytes.length,
      },
    }),
    gz: () => gzipSync(bytes, { level: 9 }),
  };
  for (const [suffix, compress] of Object.entries(copies)) {
    const cached = join(cache, `${hash}.${suffix}`);
    kept.add(`${hash}.${suffix}`);
    // Whole or not at all: a build cut short leaves no half copy to reuse.
    if (!existsSync(cached)) {
      writeFileSync(`${cached}.part`, compress());
      renameSync(`${cached}.part`, cached);
    }
    const packed = readFileSync(cached);
    if (!worthIt(bytes.length, packed.length)) continue;
    writeFileSync(join(out, `${path}.${suffix}`), packed);
    precompressed[suffix] += packed.length;
  }
}
for (const name of readdirSync(cache).filter((name) => !kept.has(name))) rmSync(join(cache, name));
console.log(`build: precompressed copies: brotli ${(precompressed.br / 1e6).toFixed(1)} MB, gzip ${(precompressed.gz / 1e6).toFixed(1)} MB`);
