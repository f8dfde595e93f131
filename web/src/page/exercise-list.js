// The exercises a teacher put beside index.html (exercises.json, as zemuc
// exercise pack writes it). A site without them has no menu and says
// nothing; a file that is there but unreadable is told.
export async function loadExercises(base) {
  let response;
  try {
    response = await fetch(new URL('exercises.json', base));
  } catch {
    return []; // offline and never fetched: as a site without them
  }
  if (response.status === 404) return [];
  if (!response.ok) throw new Error(`exercises.json: ${response.status} ${response.statusText}`);
  const data = await response.json();
  if (!Array.isArray(data?.exercises)) throw new Error('exercises.json lists no exercises');
  return data.exercises.filter((one) => typeof one?.id === 'string' && Array.isArray(one.cases));
}

// The exercise #exercise=ID names, or null.
export function exerciseInHash(hash) {
  const params = new URLSearchParams(hash.replace(/^#/, ''));
  return params.get('exercise') || null;
}

// The language a teacher's text is in, for a screen reader's voice: 'ja'
// where it has kana or kanji, else that of the page ('').
export const langOf = (text) => (/[\u3040-\u30ff\u3400-\u9fff\uff00-\uffef]/.test(text ?? '') ? 'ja' : '');
