#!/usr/bin/env python3
"""How fast `zemuc lsp` answers an editor: the time from didOpen to the
published diagnostics, and of a hover on the last statement line (the first
hover of a version translates the document; later ones reuse it), on the
largest example and on a generated source of one megabyte; and, for each
example, the time from the last didChange that removes a line's `;` to the
publishDiagnostics that holds the compiler's error on that line (the text
rests, then is built: the build is most of it). Medians of RUNS runs.

    bench/lsp_timing.py ZEMUC [RUNS]
"""
import json
import os
import pathlib
import statistics
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent


class Server:
    def __init__(self, zemuc):
        env = dict(os.environ, LC_ALL="C.UTF-8")
        self.process = subprocess.Popen([zemuc, "lsp"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, env=env)
        self.next_id = 0

    def send(self, message):
        body = json.dumps(dict(jsonrpc="2.0", **message)).encode()
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def receive(self):
        length = None
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("the server ended")
            if line in (b"\r\n", b"\n"):
                break
            name, _, value = line.decode().partition(":")
            if name.lower() == "content-length":
                length = int(value)
        return json.loads(self.process.stdout.read(length))

    def request(self, method, params):
        self.next_id += 1
        self.send(dict(id=self.next_id, method=method, params=params))
        while True:
            message = self.receive()
            if message.get("id") == self.next_id and "method" not in message:
                return message

    def wait_for(self, method, uri):
        while True:
            message = self.receive()
            if message.get("method") == method and message["params"]["uri"] == uri:
                return message

    def close(self):
        self.request("shutdown", None)
        self.send(dict(method="exit"))
        return self.process.wait()


def largest_example():
    sources = sorted(ROOT.glob("examples/*/*.zem"), key=lambda p: p.stat().st_size)
    return sources[-1].name, sources[-1].read_bytes().decode("cp932")


def megabyte_source():
    lines = ["はじめ"]
    size, i = 0, 0
    while size < 1 << 20:
        line = "\t数v%d=数v%d+1;\n\t見る(\"値\",数v%d);" % (i % 5000, i % 7, i % 5000)
        lines.append(line)
        size += len(line.encode()) + 1
        i += 1
    lines += ["\t見る \"x\";", "おわり", ""]
    return "1 MB (generated)", "\n".join(lines)


def measure(server, name, text, runs):
    last_line = text.rstrip("\n").count("\n") - 1
    opened, first_hover, later_hover = [], [], []
    for run in range(runs):
        uri = "file:///bench/%d/prog.zem" % run
        start = time.perf_counter()
        server.send(dict(method="textDocument/didOpen", params=dict(textDocument=dict(
            uri=uri, languageId="zem", version=1, text=text))))
        server.wait_for("textDocument/publishDiagnostics", uri)
        opened.append(time.perf_counter() - start)
        params = dict(textDocument=dict(uri=uri), position=dict(line=last_line, character=1))
        for times in (first_hover, later_hover):
            start = time.perf_counter()
            answer = server.request("textDocument/hover", params)
            times.append(time.perf_counter() - start)
            assert answer.get("result"), answer
        server.send(dict(method="textDocument/didClose",
                         params=dict(textDocument=dict(uri=uri))))
    ms = lambda values: "%.1f" % (statistics.median(values) * 1000)
    print("| %s | %d bytes | %s | %s | %s |" % (name, len(text.encode()),
                                            ms(opened), ms(first_hover), ms(later_hover)))


def semicolon_removed(server, name, text, runs):
    lines = text.split("\n")
    # An assignment in the middle of the program: its C is the learner's,
    # where a statement's is the translator's, which ends it itself.
    ends = [i for i, line in enumerate(lines)
            if line.rstrip().endswith(";") and "=" in line and "(" not in line]
    if not ends:
        return None
    line = ends[len(ends) // 2]
    broken = lines[:]
    broken[line] = broken[line].rstrip()[:-1]
    times = []
    for run in range(runs):
        uri = "file:///bench/semicolon/%d/%s" % (run, name)
        server.send(dict(method="textDocument/didOpen", params=dict(textDocument=dict(
            uri=uri, languageId="zem", version=1, text=text))))
        server.wait_for("textDocument/publishDiagnostics", uri)
        start = time.perf_counter()
        server.send(dict(method="textDocument/didChange", params=dict(
            textDocument=dict(uri=uri, version=2),
            contentChanges=[dict(text="\n".join(broken))])))
        while True:
            params = server.wait_for("textDocument/publishDiagnostics", uri)["params"]
            if params.get("version") == 2 or any(
                    d["severity"] == 1 and d.get("code") == "compiler"
                    and d["range"]["start"]["line"] == line
                    for d in params["diagnostics"]):
                break
        if not any(d["severity"] == 1 and d["range"]["start"]["line"] == line
                   for d in params["diagnostics"]):
            # zemuc run finds nothing wrong there either (the next line
            # continues the expression): no figure.
            print("| %s | line %d | no error (nor from zemuc run) |" % (name, line + 1))
            return None
        times.append(time.perf_counter() - start)
        server.send(dict(method="textDocument/didClose",
                         params=dict(textDocument=dict(uri=uri))))
    print("| %s | line %d | %.1f |" % (name, line + 1,
                                       statistics.median(times) * 1000))
    return statistics.median(times)


def main():
    zemuc = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    server = Server(zemuc)
    server.request("initialize", dict(capabilities={}))
    server.send(dict(method="initialized", params={}))
    print("| Source | Size | didOpen to diagnostics (ms) | first hover (ms) | next hover (ms) |")
    print("|---|---|---|---|---|")
    for name, text in (largest_example(), megabyte_source()):
        measure(server, name, text, runs)
    print()
    print("| Example | `;` removed on | last didChange to the compiler's error (ms) |")
    print("|---|---|---|")
    medians = [semicolon_removed(server, path.name, path.read_bytes().decode("cp932"), runs)
               for path in sorted(ROOT.glob("examples/*/*.zem"))]
    medians = [m for m in medians if m is not None]
    print("| all examples, slowest | | %.1f |" % (max(medians) * 1000))
    sys.exit(server.close())


if __name__ == "__main__":
    main()
