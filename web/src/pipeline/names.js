// NAME.zem's stem: what the translator names its C file and program after.
export function stemOf(name) {
  return name.endsWith('.zem') ? name.slice(0, -'.zem'.length) : name;
}
