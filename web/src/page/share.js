// The share link: index.html#code=<base64url of the UTF-8 source, no
// padding>&name=NAME.zem. The hash never reaches the server, so a program
// shared this way stays between the learners who pass the link.

const DEFAULT_NAME = 'prog.zem';

// A program's name as messages and the C file take it: NAME.zem, no folder.
export function cleanName(name) {
  return typeof name === 'string' && /^[^/\\\0]+\.zem$/.test(name) && name !== '.zem'
    ? name
    : DEFAULT_NAME;
}

function toBase64Url(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

export function shareHash(source, name) {
  const code = toBase64Url(new TextEncoder().encode(source));
  return `#code=${code}&name=${encodeURIComponent(cleanName(name))}`;
}

// {source, name} from a location's hash; null when it holds no program;
// {error: true} when its code is not base64url of UTF-8 text.
export function readShareHash(hash) {
  const params = new URLSearchParams(hash.replace(/^#/, ''));
  if (!params.has('code')) return null;
  // URLSearchParams reads '+' as a space; base64url has neither.
  const bytes = fromBase64Url(params.get('code'));
  if (bytes === null) return { error: true };
  let source;
  try {
    source = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return { error: true };
  }
  return { source, name: cleanName(params.get('name')) };
}
