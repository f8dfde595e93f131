// A site built from this tree by web/build.mjs into a scratch folder and
// served over HTTP on 127.0.0.1, with a test page (/test/index.html) that
// makes window.playground from web/src/pipeline/playground.js and sets
// window.loaded to 'ready' or the error of its ready. Its pages are
// cross-origin isolated (SharedArrayBuffer is there), as a host that sends
// those headers makes them.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = { '.wasm': 'application/wasm', '.js': 'text/javascript', '.html': 'text/html', '.json': 'application/json' };

export async function serveSite(project, zemucweb) {
  const modules = join(project, 'web', 'node_modules');
  const work = mkdtempSync(join(tmpdir(), 'playground-'));
  const site = join(work, 'site');
  execFileSync(process.execPath, [join(project, 'web', 'build.mjs'), site, zemucweb], { stdio: 'inherit' });
  const esbuild = await import(pathToFileURL(join(modules, 'esbuild', 'lib', 'main.js')).href);
  const facade = (
    await esbuild.build({
      entryPoints: [join(project, 'web', 'src', 'pipeline', 'playground.js')],
      bundle: true,
      format: 'esm',
      write: false,
    })
  ).outputFiles[0].text;
  const page = `<!doctype html><meta charset="utf-8"><script type="module">
import { Playground } from './playground.js';
window.playground = new Playground({ base: new URL('../', location.href), lang: 'en' });
window.loaded = window.playground.ready.then(() => 'ready', (error) => String(error));
</script>`;
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const answer = (type, body) =>
      response
        .writeHead(200, {
          'content-type': type,
          'cross-origin-opener-policy': 'same-origin',
          'cross-origin-embedder-policy': 'require-corp',
        })
        .end(body);
    if (path === '/test/index.html') return answer('text/html', page);
    if (path === '/test/playground.js') return answer('text/javascript', facade);
    const file = join(site, normalize(path));
    if (!file.startsWith(site) || !existsSync(file)) return response.writeHead(404).end();
    answer(TYPES[extname(file)] ?? 'application/octet-stream', readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/test/index.html`,
    close() {
      server.close();
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
