// Offline use: the service worker (sw.js, beside index.html) keeps every
// file of the site it serves; after a run, when the page has fetched all it
// needs, it is asked to complete its copy from manifest.json. Where service
// workers are not offered (an http:// host other than localhost), the page
// works online only.
let registered = null;

export function registerServiceWorker() {
  if (!('serviceWorker' in navigator)) return Promise.resolve(false);
  registered = navigator.serviceWorker.register('sw.js').then(() => true);
  return registered;
}

// On a first visit, the service worker is waited for (briefly) before the
// playground loads, so that it sees and keeps the compiler's files as they
// come rather than fetch them a second time after the run: the largest is
// more than the browser's own cache keeps. Later visits find it in control.
const CONTROL_WAIT_MS = 3000;
export function serviceWorkerInControl() {
  if (registered === null || navigator.serviceWorker.controller) return Promise.resolve();
  return new Promise((resolve) => {
    const timer = setTimeout(resolve, CONTROL_WAIT_MS);
    const done = () => {
      clearTimeout(timer);
      resolve();
    };
    navigator.serviceWorker.addEventListener('controllerchange', done, { once: true });
    registered.catch(done);
  });
}

// Without JSPI a program waits for input through shared memory, which the
// page has only when cross-origin isolated: the service worker's answers
// make it so, but not the load it took control during, hence one reload.
// Once only per tab: where the reload does not isolate the page, the run
// tells why it cannot wait for input.
const RELOADED = 'zem-isolation-reload';
export function reloadToIsolate(canSuspend) {
  if (canSuspend || !navigator.serviceWorker?.controller) return false;
  try {
    if (crossOriginIsolated) sessionStorage.removeItem(RELOADED);
    if (crossOriginIsolated || sessionStorage.getItem(RELOADED)) return false;
    sessionStorage.setItem(RELOADED, '1');
  } catch {
    return false; // no sessionStorage to guard the reload with
  }
  location.reload();
  return true;
}

// The files are fetched again only where they changed, but a first copy of
// a slow school network's site may take long: past this, the page gives up
// telling (the worker goes on).
const KEEP_TIMEOUT_MS = 10 * 60 * 1000;
let asked = null;

// Resolves true when the site is kept for offline use, false where it cannot
// be; asked once per page while it succeeds.
export function keepSiteOffline() {
  if (registered === null) return Promise.resolve(false);
  asked ??= registered
    .then(() => navigator.serviceWorker.ready)
    .then(
      (registration) =>
        new Promise((resolve) => {
          const channel = new MessageChannel();
          const timer = setTimeout(() => resolve(false), KEEP_TIMEOUT_MS);
          channel.port1.onmessage = (event) => {
            clearTimeout(timer);
            resolve(event.data?.ok === true);
          };
          registration.active.postMessage({ type: 'keep-site' }, [channel.port2]);
        }),
    )
    .catch(() => false)
    .then((ok) => {
      if (!ok) asked = null;
      return ok;
    });
  return asked;
}
