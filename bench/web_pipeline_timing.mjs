// How fast the playground runs a program in Chromium: a site built from
// this tree, served on 127.0.0.1. Each visit is a new browser on one
// profile, so that from the second visit on the compiled modules come from
// the browser's code cache. Tells, per visit, the time to ready and, over
// EXAMPLE's runs, the medians of run() to the first output and to the end.
// Usage: node bench/web_pipeline_timing.mjs PROJECT_DIR ZEMUCWEB_WASM [VISITS] [RUNS]
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { argv } from 'node:process';
import { launchChromium, serveSite } from '../tests/web/site_server.mjs';

const [project, zemucweb, visits = '3', runs = '5'] = argv.slice(2);
const example = join(project, 'examples', 'keisan');
const source = [...readFileSync(join(example, 'keisan.zem'))];
const files = [['in.txt', [...readFileSync(join(example, 'in.txt'))]]];
const stdin = readFileSync(join(example, 'stdin'), 'utf8');
const median = (list) => [...list].sort((a, b) => a - b)[list.length >> 1];

const served = await serveSite(project, zemucweb);
const profile = mkdtempSync(join(tmpdir(), 'playground-profile-'));
try {
  for (let visit = 1; visit <= Number(visits); visit++) {
    const browser = await launchChromium(project, { userDataDir: profile });
    try {
      const page = await browser.newPage();
      const opened = Date.now();
      await page.goto(served.url);
      const loaded = await page.evaluate('window.loaded');
      if (loaded !== 'ready') throw new Error(loaded);
      const ready = Date.now() - opened;
      const times = await page.evaluate(
        async ({ source, files, stdin, runs }) => {
          const list = [];
          for (let i = 0; i < runs; i++) {
            const started = performance.now();
            let first = null;
            const result = window.playground.run(Uint8Array.from(source), 'keisan.zem', {
              files: new Map(files.map(([name, data]) => [name, Uint8Array.from(data)])),
              onOutput: () => (first ??= performance.now() - started),
            });
            window.playground.input(new TextEncoder().encode(stdin));
            const { status } = await result;
            if (status !== 0) throw new Error(`status ${status}`);
            list.push({ first, total: performance.now() - started });
          }
          return list;
        },
        { source, files, stdin, runs: Number(runs) },
      );
      const firsts = times.map((time) => time.first);
      console.log(
        `visit ${visit}: ready in ${ready} ms; first run's first output ${Math.round(firsts[0])} ms; ` +
          `median first output ${Math.round(median(firsts))} ms, median whole run ${Math.round(median(times.map((time) => time.total)))} ms`,
      );
      // The browser writes its code cache in the background.
      await new Promise((resolve) => setTimeout(resolve, 5000));
    } finally {
      await browser.close();
    }
  }
} finally {
  served.close();
  rmSync(profile, { recursive: true, force: true });
}
