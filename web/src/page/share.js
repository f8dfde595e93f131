// The share link: index.html#code=<base64url of the UTF-8 source, no
// padding>&name=NAME.zem, and for each data file that fits
// &file=<base64url of its UTF-8 name>.<base64url of its bytes>. The hash
// never reaches the server, so a program shared this way stays between the
// learners who pass the link.

const DEFAULT_NAME = 'prog.zem';
// The data files a link carries, in bytes all told: a link is typed, mailed
// and pasted into class pages, some of which cut long ones.
export const SHARED_FILES_LIMIT = 2048;

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

const utf8 = (text) => new TextEncoder().encode(text);
const fromUtf8 = (bytes) => new TextDecoder('utf-8', { fatal: true }).decode(bytes);

// { hash, left }: the smallest files first while they fit; left names the
// files the link does not carry.
export function shareHash(source, name, files = new Map()) {
  let hash = `#code=${toBase64Url(utf8(source))}&name=${encodeURIComponent(cleanName(name))}`;
  const left = [];
  let room = SHARED_FILES_LIMIT;
  for (const [file, bytes] of [...files].sort(([, a], [, b]) => a.length - b.length)) {
    if (bytes.length > room) {
      left.push(file);
      continue;
    }
    room -= bytes.length;
    hash += `&file=${toBase64Url(utf8(file))}.${toBase64Url(bytes)}`;
  }
  return { hash, left: left.sort() };
}

function readFiles(values) {
  const files = new Map();
  for (const value of values) {
    const [file, bytes] = value.split('.').map(fromBase64Url);
    if (value.split('.').length !== 2 || !file || !bytes) return null;
    const fileName = fromUtf8(file);
    if (fileName === '' || /[/\\\0]/.test(fileName)) return null;
    files.set(fileName, bytes);
  }
  return files;
}

// {source, name, files} from a location's hash; null when it holds no
// program; {error: true} when its code is not base64url of UTF-8 text or a
// file is not as shareHash writes it. A link without files has none.
export function readShareHash(hash) {
  const params = new URLSearchParams(hash.replace(/^#/, ''));
  if (!params.has('code')) return null;
  // URLSearchParams reads '+' as a space; base64url has neither.
  const bytes = fromBase64Url(params.get('code'));
  if (bytes === null) return { error: true };
  try {
    const files = readFiles(params.getAll('file'));
    if (files === null) return { error: true };
    return { source: fromUtf8(bytes), name: cleanName(params.get('name')), files };
  } catch {
    return { error: true };
  }
}
