// The compiler's loading as the page tells it: how much of it has come (the
// compiler is some 80 MB on a first visit), and a Run pressed meanwhile,
// which waits for it rather than being refused.
import { t } from './i18n.js';

const MB = 1_000_000;
const mb = (bytes) => Math.round(bytes / MB);

export function createLoading() {
  let progress = null; // { done, total } in bytes, once the compiler is fetched
  let cancel = null;
  return {
    setProgress(next) {
      progress = next;
    },
    // 0..1 of the compiler fetched, null before its fetch starts.
    fraction: () => (progress && progress.total > 0 ? Math.min(1, progress.done / progress.total) : null),
    // The state's words: queued, a run waits for the compiler.
    words(queued) {
      const fetched = progress && progress.total > 0 && progress.done < progress.total;
      const count = fetched ? ` ${mb(progress.done)} / ${mb(progress.total)} MB` : '';
      if (queued) return `${t('state_queued')}${count}`;
      if (fetched) return `${t('loadingCompiler')}${count}`;
      return t(progress ? 'preparingCompiler' : 'state_loading');
    },
    // Resolves true once programs can run (ready), false where they cannot
    // or when cancel() ends the wait (Stop).
    wait(ready) {
      return new Promise((resolve) => {
        cancel = () => resolve(false);
        ready.then(
          () => resolve(true),
          () => resolve(false),
        );
      }).finally(() => {
        cancel = null;
      });
    },
    cancel() {
      cancel?.();
    },
  };
}
