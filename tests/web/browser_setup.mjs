// What a page test needs before it starts: the browser, the site that
// `make web` wrote and puppeteer-core from web/node_modules. Where one is
// missing the test is skipped (77) with a word on what to run.
import fs from 'node:fs';
import path from 'node:path';

export function skip(word) {
  console.log(`skipped: ${word}`);
  process.exit(77);
}

// Resolves with puppeteer-core, or skips.
export async function browserTestSetup(project, siteDir, browser) {
  if (!fs.existsSync(browser)) skip(`${browser} missing (scripts/ensure-tools.sh browser)`);
  if (!fs.existsSync(path.join(siteDir, 'index.html'))) skip(`${siteDir}/index.html missing (make web)`);
  try {
    const module = path.join(project, 'web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js');
    return (await import(module)).default;
  } catch {
    return skip('puppeteer-core missing (npm ci --prefix web)');
  }
}
