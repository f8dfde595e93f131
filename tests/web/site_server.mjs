// A site built from this tree by web/build.mjs into a scratch folder and
// served over HTTP on 127.0.0.1, with a test page (/test/index.html) that
// makes window.playground from web/src/pipeline/playground.js and sets
// window.loaded to 'ready' or the error of its ready. Its pages are
// cross-origin isolated (SharedArrayBuffer is there), as a host that sends
// those headers makes them.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

import { serve } from './serve.mjs';

// What a host that isolates its pages sends with each file.
const ISOLATED = {
  'cross-origin-opener-policy': 'same-origin',
  'cross-origin-embedder-policy': 'require-corp',
};

export async function serveSite(project, zemucweb) {
  const modules = join(project, 'web', 'node_modules');
  const work = mkdtempSync(join(tmpdir(), 'playground-'));
  const site = join(work, 'site');
  execFileSync(process.execPath, [join(project, 'web', 'build.mjs'), site, zemucweb], { stdio: 'inherit' });
  const esbuild = await import(pathToFileURL(join(modules, 'esbuild', 'lib', 'main.js')).href);
  mkdirSync(join(site, 'test'));
  await esbuild.build({
    entryPoints: [join(project, 'web', 'src', 'pipeline', 'playground.js')],
    bundle: true,
    format: 'esm',
    outfile: join(site, 'test', 'playground.js'),
  });
  writeFileSync(
    join(site, 'test', 'index.html'),
    `<!doctype html><meta charset="utf-8"><script type="module">
import { Playground } from './playground.js';
window.playground = new Playground({ base: new URL('../', location.href), lang: 'en' });
window.loaded = window.playground.ready.then(() => 'ready', (error) => String(error));
</script>`,
  );
  const served = await serve(site, '/', 0, { headers: ISOLATED });
  return {
    url: `${served.url}test/index.html`,
    async close() {
      await served.close();
      rmSync(work, { recursive: true, force: true });
    },
  };
}

export async function launchChromium(project, options = {}) {
  const chromium = ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find(existsSync);
  const { default: puppeteer } = await import(
    pathToFileURL(join(project, 'web', 'node_modules', 'puppeteer-core', 'lib', 'esm', 'puppeteer', 'puppeteer-core.js')).href
  );
  return puppeteer.launch({ executablePath: chromium, headless: true, args: ['--no-sandbox'], ...options });
}
