#!/usr/bin/env node
// What a class's first visits cost from `zemuc serve` on this machine,
// over loopback only: the bytes one first visit transfers with brotli and
// with gzip (every file of the site's manifest, which the service worker
// keeps, and the page itself), and the time for 40 learners at once, each
// fetching that whole list over six connections as a browser does. These
// are HTTP clients, not browsers: what is measured is the server.
//   node bench/serve_load.mjs SITE_DIR ZEMUC [LEARNERS]
// web_timing.mjs calls firstVisits() as well.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const CONNECTIONS_PER_LEARNER = 6;
// Bounds, not goals: a server that stops answering ends the benchmark.
const START_MS = 10_000;
const VISITS_MS = 600_000;

function withTimeout(promise, ms, what) {
  let timer;
  const limit = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no end after ${ms} ms`)), ms);
  });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

// Starts zemuc serve on a free loopback port; resolves with its URL and a
// stop function.
async function startServe(zemuc, siteDir) {
  const child = spawn(zemuc, ['serve', siteDir, '--bind', '127.0.0.1', '--port', '0'], {
    stdio: ['ignore', 'pipe', 'inherit'],
    env: { ...process.env, LC_ALL: 'C.UTF-8' },
  });
  let said = '';
  const url = await withTimeout(new Promise((resolve, reject) => {
    child.stdout.on('data', (chunk) => {
      said += chunk;
      const found = said.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) resolve(found[0]);
    });
    child.on('exit', (status) => reject(new Error(`zemuc serve ended with ${status}: ${said}`)));
  }), START_MS, 'zemuc serve');
  const stop = () => new Promise((resolve) => {
    child.once('exit', resolve);
    child.kill('SIGINT');
  });
  return { url, stop };
}

// Every path a first visit ends up fetching.
function firstVisitPaths(siteDir) {
  const manifest = JSON.parse(fs.readFileSync(path.join(siteDir, 'manifest.json'), 'utf8'));
  return [...new Set(['index.html', 'sw.js', 'manifest.json', ...manifest.files.map((file) => file.path)])];
}

// Fetches one file as sent (no decoding); resolves with the body's bytes.
function fetchBytes(agent, url, coding) {
  return new Promise((resolve, reject) => {
    http.get(url, { agent, headers: { 'accept-encoding': coding } }, (response) => {
      if (response.statusCode !== 200) reject(new Error(`${url}: ${response.statusCode}`));
      let bytes = 0;
      response.on('data', (chunk) => { bytes += chunk.length; });
      response.on('end', () => resolve(bytes));
      response.on('error', reject);
    }).on('error', reject);
  });
}

// One learner's first visit: the list over a browser's six connections.
async function visit(url, paths, coding) {
  const agent = new http.Agent({ keepAlive: true, maxSockets: CONNECTIONS_PER_LEARNER });
  try {
    const sizes = await Promise.all(paths.map((file) => fetchBytes(agent, new URL(file, url), coding)));
    return sizes.reduce((sum, size) => sum + size, 0);
  } finally {
    agent.destroy();
  }
}

export async function firstVisits(siteDir, zemuc, learners = 40) {
  const paths = firstVisitPaths(siteDir);
  const server = await startServe(zemuc, siteDir);
  try {
    const bytes = {};
    for (const coding of ['br', 'gzip', 'identity']) bytes[coding] = await visit(server.url, paths, coding);
    const started = performance.now();
    const all = await withTimeout(
      Promise.all(Array.from({ length: learners }, () => visit(server.url, paths, 'br, gzip'))),
      VISITS_MS, `${learners} first visits`);
    const ms = performance.now() - started;
    return { files: paths.length, bytes, learners, ms, total: all.reduce((sum, size) => sum + size, 0) };
  } finally {
    await server.stop();
  }
}

export function printFirstVisits({ files, bytes, learners, ms, total }) {
  const mb = (value) => `${(value / 1e6).toFixed(1)} MB`;
  console.log(`| first visit from zemuc serve (${files} files): bytes with brotli | ${mb(bytes.br)} | |`);
  console.log(`| first visit from zemuc serve: bytes with gzip | ${mb(bytes.gzip)} | uncompressed ${mb(bytes.identity)} |`);
  console.log(`| ${learners} simultaneous first visits from zemuc serve, loopback | ${Math.round(ms)} ms | ${mb(total)} in all |`);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [siteDir, zemuc, learners] = process.argv.slice(2);
  if (!siteDir || !zemuc) {
    console.error('usage: node bench/serve_load.mjs SITE_DIR ZEMUC [LEARNERS]');
    process.exit(2);
  }
  printFirstVisits(await firstVisits(siteDir, zemuc, Number(learners ?? 40)));
}
