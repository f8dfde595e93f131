// The Save link: the program downloaded as NAME.zem in UTF-8, as the
// learner's editors write it; zemuc and the page's Open read it again. A
// link the learner clicks, rather than one the page clicks for them: a
// browser lets a page start only so many downloads by itself.
export function createSaveLink(anchor, current) {
  anchor.addEventListener('click', () => {
    const { name, source } = current();
    if (anchor.href.startsWith('blob:')) URL.revokeObjectURL(anchor.href);
    anchor.href = URL.createObjectURL(new Blob([new TextEncoder().encode(source)], { type: 'application/octet-stream' }));
    anchor.download = name;
  });
}
