// Whether this browser can run a program on this page, told before the
// compiler (80 MB) is fetched. A program that reads typed input waits for it
// either by suspending (JavaScript Promise Integration) or by blocking on
// shared memory, which a page has only when cross-origin isolated; the
// service worker's answers isolate it, but a service worker runs only in a
// secure context (https, localhost). Writing, checking and the C view need
// neither.

// How a program runs here: 'suspend' (JSPI), 'isolated' (shared memory),
// 'after-reload' (the service worker isolates the page once it controls it),
// or 'none'. reloaded: this tab already reloaded to be isolated, in vain.
export function runAbility({ canSuspend, isolated, serviceWorker, reloaded }) {
  if (canSuspend) return 'suspend';
  if (isolated) return 'isolated';
  if (serviceWorker && !reloaded) return 'after-reload';
  return 'none';
}

// This page's, as it loads (see offline.js for the reload it may take).
export function pageRunAbility(canSuspend, reloaded) {
  return runAbility({
    canSuspend,
    isolated: globalThis.crossOriginIsolated === true,
    serviceWorker: globalThis.isSecureContext === true && 'serviceWorker' in navigator,
    reloaded,
  });
}
