#!/usr/bin/env python3
"""How long `bivox-cli lsp` takes for an editor, on generated scores (Linux).

    bench/lsp_latency.py build/src/bivox-cli build/bench/bivox-scoregen [BYTES ...]

For each size: a keystroke (an incremental change) until its diagnostics are published,
40 times, and a hover on a note after each of 10 changes (each runs the stereo conversion
of the new text), as wall-clock time (median) and as the server's processor time per
operation, which other work on a shared machine disturbs far less; then a burst of 30
keystrokes sent without waiting, and how many publications the server made for them.
Nothing depends on these numbers.
"""
import json
import os
import statistics
import subprocess
import sys
import time

URI = "file:///tmp/generated.zrb"
TICK = os.sysconf("SC_CLK_TCK")


class Server:
    def __init__(self, cli):
        self.proc = subprocess.Popen([cli, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.last_id = 0
        self.version = 1
        self.request("initialize", {})

    def send(self, message):
        body = json.dumps(dict(message, jsonrpc="2.0")).encode()
        self.proc.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.proc.stdin.flush()

    def receive(self):
        length = 0
        while line := self.proc.stdout.readline().strip():
            name, value = line.split(b":", 1)
            if name.lower() == b"content-length":
                length = int(value)
        return json.loads(self.proc.stdout.read(length))

    def request(self, method, params):
        self.last_id += 1
        self.send({"id": self.last_id, "method": method, "params": params})
        while (reply := self.receive()).get("id") != self.last_id:
            pass
        return reply

    def notify(self, method, params):
        self.send({"method": method, "params": params})

    def change(self, line, text):
        self.version += 1
        self.notify("textDocument/didChange", {
            "textDocument": {"uri": URI, "version": self.version},
            "contentChanges": [{"range": {"start": {"line": line, "character": 0},
                                          "end": {"line": line, "character": 0}},
                                "text": text}]})

    def publications_until(self, accept=lambda diagnostics: True):
        count = 0
        while True:
            message = self.receive()
            if message.get("method") == "textDocument/publishDiagnostics":
                count += 1
                if accept(message["params"]["diagnostics"]):
                    return count

    def processor_seconds(self):
        with open(f"/proc/{self.proc.pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICK

    def close(self):
        self.request("shutdown", None)
        self.notify("exit", None)
        self.proc.wait()


def timed(server, count, action):
    """Median wall-clock ms of the actions, and the server's processor ms per action."""
    walls = []
    processor = 0.0
    for _ in range(count):
        before = server.processor_seconds()
        start = time.perf_counter()
        action()
        walls.append((time.perf_counter() - start) * 1000)
        processor += server.processor_seconds() - before
    return statistics.median(walls), processor * 1000 / count


def measure(cli, text):
    server = Server(cli)
    lines = text.count("\n")
    server.notify("textDocument/didOpen", {"textDocument": {
        "uri": URI, "languageId": "zrb", "version": 1, "text": text}})
    server.publications_until()
    results = {}

    def keystroke():
        server.change(lines // 2, " ")
        server.publications_until()
    results["keystroke to diagnostics"] = timed(server, 40, keystroke)

    position = {"textDocument": {"uri": URI}, "position": {"line": lines // 2, "character": 1}}
    walls, processor = [], 0.0
    for _ in range(10):
        keystroke()
        wall, cpu = timed(server, 1, lambda: server.request("textDocument/hover", position))
        walls.append(wall)
        processor += cpu
    results["hover after a change"] = (statistics.median(walls), processor / 10)
    results["hover again"] = timed(
        server, 10, lambda: server.request("textDocument/hover", position))

    # A burst that ends in a change that stops the parse: its error marks the last text.
    for _ in range(29):
        server.change(lines // 2, " ")
    server.change(lines - 1, "$$$ ")
    publications = server.publications_until(
        lambda d: any(x["message"] == "not understood from here on" for x in d))
    server.close()
    return results, publications


def main():
    cli, scoregen = sys.argv[1], sys.argv[2]
    sizes = [int(s) for s in sys.argv[3:]] or [80_000, 150_000]
    print(f"{'score':>22} {'operation':26} {'wall ms':>8} {'processor ms':>13}")
    for size in sizes:
        score = subprocess.run([scoregen, str(size)], check=True, capture_output=True).stdout
        text = score.decode("cp932")
        results, publications = measure(cli, text)
        label = f"{size // 1000} KB, {text.count(chr(10))} lines"
        for name, (wall, processor) in results.items():
            print(f"{label:>22} {name:26} {wall:8.1f} {processor:13.1f}")
            label = ""
        print(f"{'':>22} 30 changes in a burst: {publications} publication(s)")


if __name__ == "__main__":
    main()
