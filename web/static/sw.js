// Keeps the playground's files for use without a network. Every file of the
// site is fetched from the network when there is one (so that a new version
// of the site is seen at once, the browser's own cache sparing what did not
// change) and the answer kept; without a network the kept copy answers.
// After a run the page asks for the rest: every file manifest.json lists,
// so that a later visit offline loads and runs programs even where the
// first visit fetched some files before this worker took over the page.
// Its documents and workers are also answered cross-origin isolated.
const CACHE = 'zem-playground';
const scope = self.registration.scope;

self.addEventListener('install', () => self.skipWaiting());
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

function inScope(request) {
  return request.method === 'GET' && request.url.startsWith(scope);
}

// A navigation (index.html?lang=en, or the folder itself) answers with the
// kept index.html whatever its query.
function cacheKey(request) {
  if (request.mode === 'navigate') return new URL('index.html', scope).href;
  const url = new URL(request.url);
  url.hash = '';
  return url.href;
}

// Whether two answers are the same version of a file, as the server tells
// it: the compiler's files are tens of megabytes, not to be written again
// on every visit.
function sameVersion(kept, fresh) {
  const tag = fresh.headers.get('etag');
  if (tag) return kept.headers.get('etag') === tag;
  const modified = fresh.headers.get('last-modified');
  return modified !== null && kept.headers.get('last-modified') === modified &&
    kept.headers.get('content-length') === fresh.headers.get('content-length');
}

async function fromNetworkOrCache(request) {
  const cache = await caches.open(CACHE);
  try {
    const response = await fetch(request);
    // Whole answers only: a partial one (206) or an error is not the file.
    if (response.status === 200 && response.type === 'basic') {
      const key = cacheKey(request);
      const kept = await cache.match(key);
      if (!kept || !sameVersion(kept, response)) await cache.put(key, response.clone());
    }
    return response;
  } catch (error) {
    const kept = await cache.match(cacheKey(request), { ignoreSearch: request.mode === 'navigate' });
    if (kept) return kept;
    throw error;
  }
}

// Where the browser cannot suspend a program, it waits for input through
// shared memory, which a page has only when cross-origin isolated; a static
// host sends no headers for that, so the page's documents and workers get
// them here, online and offline (the cache keeps answers as the host gave
// them). require-corp asks nothing of the site's own files, and it loads no
// other origin's; unlike credentialless, every browser that isolates knows it.
const ISOLATED = new Set(['document', 'worker']);
const ISOLATION_HEADERS = {
  'cross-origin-opener-policy': 'same-origin',
  'cross-origin-embedder-policy': 'require-corp',
};

function isolated(request, response) {
  // An opaque answer's body cannot be read, so it cannot be made again.
  if (!ISOLATED.has(request.destination) || response.type !== 'basic') return response;
  const headers = new Headers(response.headers);
  for (const [name, value] of Object.entries(ISOLATION_HEADERS)) headers.set(name, value);
  const { status, statusText } = response;
  return new Response(response.body, { status, statusText, headers });
}

self.addEventListener('fetch', (event) => {
  if (!inScope(event.request) || event.request.headers.has('range')) return;
  event.respondWith(fromNetworkOrCache(event.request).then((response) => isolated(event.request, response)));
});

// manifest.json lists the site's files, relative to its root: an array of
// paths, or {files: [...]} whose items are paths or {path}.
function filesOf(manifest) {
  const list = Array.isArray(manifest) ? manifest : manifest?.files;
  if (!Array.isArray(list)) throw new Error('manifest.json lists no files');
  return list.map((item) => (typeof item === 'string' ? item : item?.path ?? item?.name ?? item?.url));
}

// Whether the kept manifest and every file it lists are in the cache.
async function keptWhole(cache, manifestUrl) {
  const manifest = await cache.match(manifestUrl);
  if (!manifest) return false;
  const urls = filesOf(await manifest.json()).map((path) => new URL(path, scope).href);
  const kept = await Promise.all(urls.map((url) => cache.match(url)));
  return kept.every(Boolean);
}

// Fetches every file the manifest lists (answered from the browser's cache
// where the server says it did not change). True when all are kept.
async function keepSite() {
  const cache = await caches.open(CACHE);
  const manifestUrl = new URL('manifest.json', scope).href;
  let response;
  try {
    response = await fetch(manifestUrl, { cache: 'no-cache' });
  } catch (error) {
    // No network: the site works offline if an earlier visit kept it whole.
    if (await keptWhole(cache, manifestUrl)) return true;
    throw error;
  }
  if (!response.ok) throw new Error(`manifest.json: ${response.status}`);
  const manifestCopy = response.clone();
  const urls = new Set(filesOf(await response.json()).map((path) => new URL(path, scope).href));
  urls.add(new URL('index.html', scope).href);
  urls.add(new URL('sw.js', scope).href);
  await Promise.all(
    [...urls].map(async (url) => {
      // What is kept is asked for only if the server has a newer version.
      const kept = await cache.match(url);
      const headers = {};
      if (kept?.headers.get('etag')) headers['if-none-match'] = kept.headers.get('etag');
      if (kept?.headers.get('last-modified')) headers['if-modified-since'] = kept.headers.get('last-modified');
      const answer = await fetch(url, kept ? { cache: 'no-store', headers } : { cache: 'no-cache' });
      if (answer.status === 304 && kept) return;
      if (answer.status !== 200) throw new Error(`${url}: ${answer.status}`);
      if (!kept || !sameVersion(kept, answer)) await cache.put(url, answer);
    }),
  );
  await cache.put(manifestUrl, manifestCopy);
  return true;
}

self.addEventListener('message', (event) => {
  if (event.data?.type !== 'keep-site') return;
  const port = event.ports[0];
  event.waitUntil(
    keepSite().then(
      () => port?.postMessage({ ok: true }),
      (error) => port?.postMessage({ ok: false, error: String(error?.message ?? error) }),
    ),
  );
});
