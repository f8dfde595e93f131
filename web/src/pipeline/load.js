// Fetches the site's own files, relative to its root (base).
export async function fetchOk(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
  return response;
}

export async function fetchBytes(url) {
  return new Uint8Array(await (await fetchOk(url)).arrayBuffer());
}

// Compiles a module from the response itself where the host says it is
// WebAssembly, so that the browser keeps the compiled code for the URL and
// the next visit skips compiling; a host that says otherwise still works.
export async function compileWasm(url) {
  const response = await fetchOk(url);
  const type = response.headers.get('content-type') ?? '';
  if (typeof WebAssembly.compileStreaming === 'function' && type.startsWith('application/wasm')) {
    return WebAssembly.compileStreaming(response);
  }
  return WebAssembly.compile(await response.arrayBuffer());
}
