#!/usr/bin/env python3
"""Writes the small generated seeds of fuzz/corpus/ (the real images and audio
files of tests/data/real are passed to the fuzzers as seeds directly).

    fuzz/make-seeds.py        (run from anywhere; rewrites fuzz/corpus/)
"""
import os
import plistlib
import random

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
rng = random.Random(19)


def write(target, name, data):
    folder = os.path.join(root, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8", "surrogateescape")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# Rename lists: plain names and tab-separated pairs, with the awkward cases.
write("list_file", "plain", "first.txt\nsecond name\r\n\n  third\u2028fourth\n")
write("list_file", "pairs", "/tmp/a.txt\tb.txt\r\n/tmp/\u00e9t\u00e9\t\u00c9T\u00c9\n")
write("list_file", "bom-and-bad-bytes", b"\xef\xbb\xbfname\n\xff\xfe bad\n\xed\xa0\x80\n")
write("list_file", "long-line", "x" * 300 + "\n" + "/p\t" + "y" * 300 + "\n")

steps = [
    {"action name": "Add to front", "action parameter list": {"string": "x ", "fragmentSelection": 0}},
    {"action name": "Replace text", "action parameter list": {"searchString": "a", "replaceString": "%@"}},
    {"action name": "Produce numbered list", "action parameter list": {"startValue": -3, "padding": 300}},
    {"action name": "Reg Ex Substitution", "action parameter list": {"regex": "(.)(.)", "replacement": "$2$1"}},
    {"action name": "Convert to NTFS", "action parameter list": {"filler character": "."}},
]
chain = {"composite actions array": steps, "currentActionIndex": 7}
domain = {"composite action": chain, "actions": {"Add to end": {"string": "_end", "fragmentSelection": 9}}}
droplet = {"Host Application Settings": {"composite action": chain}}

write("settings_domain", "xml", plistlib.dumps(domain, fmt=plistlib.FMT_XML))
write("settings_domain", "binary", plistlib.dumps(domain, fmt=plistlib.FMT_BINARY))
write("settings_domain", "not-a-dictionary", plistlib.dumps(["a", 1], fmt=plistlib.FMT_XML))
write("settings_domain", "cut", plistlib.dumps(domain, fmt=plistlib.FMT_XML)[:200])
write("droplet_settings", "xml", plistlib.dumps(droplet, fmt=plistlib.FMT_XML))
write("droplet_settings", "binary", plistlib.dumps(droplet, fmt=plistlib.FMT_BINARY))
write("droplet_settings", "flat", plistlib.dumps(chain, fmt=plistlib.FMT_BINARY))

# Hand-over records: a run, an edit, an old droplet's record without a chain.
record = {"composite action": chain, "global settings": {"silentDroplet": 1, "processSubfolders": 1},
          "file list": ["/tmp/a", b"/tmp/\xff"], "settings plist path": "/tmp/D.app/Contents/Resources/Settings.plist",
          "hand-over id": "1-2-3", "posted": 1765000000}
write("droplet_record", "run", plistlib.dumps(record, fmt=plistlib.FMT_XML))
write("droplet_record", "edit", plistlib.dumps(dict(record, **{"file list": []}), fmt=plistlib.FMT_BINARY))
write("droplet_record", "old", plistlib.dumps({"file list": ["/tmp/a"]}, fmt=plistlib.FMT_XML))

# The structured targets read their bytes through FuzzedDataProvider: random seeds.
for target in ("chain", "name_actions", "journal"):
    for n in range(4):
        write(target, f"random-{n}", bytes(rng.randrange(256) for _ in range(64 + 64 * n)))
