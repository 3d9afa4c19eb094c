#!/usr/bin/env python3
"""Writes MRVN7x/actions/ParameterTableData.cpp: every action's parameter keys as its view in
gui/views shows them (kind, label, range, and the value and title of every menu item or radio
button), read once from the Qt Designer files. The table is the one source of choices and
their titles for the command line; the parameter table test checks it against the views.

Usage: scripts/make-parameter-table.py
"""
import os
import plistlib
import shutil
import subprocess
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VIEWS = os.path.join(ROOT, "gui", "views")
RESOURCES = os.path.join(ROOT, "resources")
OUT = os.path.join(ROOT, "MRVN7x", "actions", "ParameterTableData.cpp")


def prop(element, name):
    for p in element.findall("property"):
        if p.get("name") == name and len(p):
            return p[0].text or ""
    return None


def clean(text):
    return (text or "").replace("&&", "\0").replace("&", "").replace("\0", "&").rstrip(":").strip()


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def menu_items(widget):
    resource = prop(widget, "itemsResource")
    if resource:
        with open(os.path.join(RESOURCES, resource + ".plist"), "rb") as f:
            titles = plistlib.load(f)
    else:
        titles = [prop(item, "text") or "" for item in widget.findall("item")]
    values = prop(widget, "itemValues")
    numbers = [int(v) for v in values.split(",")] if values else list(range(len(titles)))
    return list(zip(numbers, titles))


def read_view(view):
    tree = ET.parse(os.path.join(VIEWS, view + ".ui"))
    labels = {}
    for w in tree.getroot().iter("widget"):
        if w.get("class") == "QLabel" and prop(w, "buddy"):
            labels[prop(w, "buddy")] = clean(prop(w, "text"))
    keys = {}  # key -> dict, in order of appearance
    for w in tree.getroot().iter("widget"):
        key = prop(w, "parameterKey")
        kind = w.get("class")
        if not key or kind == "QLabel":
            continue
        entry = keys.setdefault(key, {"kind": None, "label": "", "min": None, "max": None,
                                      "choices": []})
        label = labels.get(w.get("name"), "")
        if kind == "QLineEdit":
            entry["kind"] = "Text"
        elif kind == "QSpinBox":
            entry["kind"] = "Integer"
            entry["min"] = int(prop(w, "minimum") or 0)
            entry["max"] = int(prop(w, "maximum") or 99)
        elif kind == "QCheckBox":
            entry["kind"] = "Flag"
            label = label or clean(prop(w, "text"))
        elif kind == "QComboBox":
            entry["kind"] = "Choice"
            entry["choices"] += menu_items(w)
        elif kind == "QRadioButton":
            entry["kind"] = "Choice"
            entry["choices"].append((int(prop(w, "parameterValue")), clean(prop(w, "text"))))
            label = ""
        if label and not entry["label"]:
            entry["label"] = label
    return keys


def main():
    with open(os.path.join(RESOURCES, "actionNameToNibFileMapping.plist"), "rb") as f:
        mapping = plistlib.load(f)
    out = ["// Written by scripts/make-parameter-table.py from gui/views; do not edit by hand.",
           '#include "MRVN7x/actions/ParameterTable.h"', "",
           "namespace morvane {", "",
           "const std::map<std::string, std::vector<ParameterInfo>>& ParameterTable::views() {",
           "    using K = ParameterInfo::Kind;",
           "    static const std::map<std::string, std::vector<ParameterInfo>> table = {"]
    for action in sorted(mapping):
        keys = read_view(mapping[action])
        out.append("        {%s," % c_string(action))
        out.append("         {")
        for key, e in keys.items():
            choices = ", ".join("{%d, %s}" % (v, c_string(t)) for v, t in e["choices"])
            out.append("             {%s, K::%s, %s, %s, %s, {%s}}," % (
                c_string(key), e["kind"], c_string(e["label"]),
                e["min"] if e["min"] is not None else 0,
                e["max"] if e["max"] is not None else 0, choices))
        out.append("         }},")
    out += ["    };", "    return table;", "}", "", "} // namespace morvane", ""]
    with open(OUT, "w") as f:
        f.write("\n".join(out))
    if shutil.which("clang-format"):
        subprocess.run(["clang-format", "-i", OUT], check=True)


if __name__ == "__main__":
    main()
