#!/usr/bin/env python3
"""Checks the parameter views in gui/views against the contract of the view binder.

Usage: scripts/check-parameter-views.py [--keys FILE] [--uic PATH]

--keys FILE  lines "action name<TAB>view name<TAB>key<TAB>key...": every parameter key
             of each action (for example printed from ActionFactory::create(name)
             ->parameterList()); an integer default may follow a key as "key=N". With
             it, every control's key must be one of its action's keys, every integer
             default must be a value its control can show, and the keys without a
             control are listed.
--uic PATH   the uic to compile every view with (default: Qt 6's, when installed).

Exit status 0 when every view passes, 1 otherwise.
"""
import argparse
import os
import plistlib
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VIEWS = os.path.join(ROOT, "gui", "views")
MAPPING = os.path.join(ROOT, "resources", "actionNameToNibFileMapping.plist")
RESOURCES = os.path.join(ROOT, "resources")
DEFAULT_UIC = "/usr/lib/qt6/libexec/uic"

BOUND = {"QLineEdit", "QSpinBox", "QCheckBox", "QComboBox", "QRadioButton", "QLabel"}
FOCUSABLE = {"QLineEdit", "QSpinBox", "QComboBox", "QCheckBox", "QRadioButton", "QPushButton",
             "QToolButton"}
COMMANDS = {"help", "browse", "reload", "clear", "selectPreset"}
ITEM_RESOURCES = {"datePatterns menu", "timePatterns menu"}
# Keys an action reads without carrying them in its defaults.
EXTRA_KEYS = {"Manually rename": {"select string"}}
# Keys no control edits: set by the program, fixed by the action, or shown by the window.
INTERNAL_KEYS = {"active", "fragmentSelection", "version"}


def prop(element, name):
    """The text of a property (string, number, bool, enum, set, cstring) or None."""
    for p in element.findall("property"):
        if p.get("name") == name and len(p):
            return p[0].text or ""
    return None


def widgets(tree):
    return tree.getroot().iter("widget")


def check_view(path, view, problems):
    """Checks one file; returns {key: [widget classes]} of its bound controls."""
    def bad(message):
        problems.append("%s: %s" % (view, message))

    try:
        tree = ET.parse(path)
    except ET.ParseError as e:
        bad("not well-formed XML: %s" % e)
        return {}
    root = tree.getroot()
    top = root.find("widget")
    if root.findtext("class") != view or top is None or top.get("name") != view:
        bad("the root widget and <class> must be named %s" % view)
    elif top.get("class") != "QWidget":
        bad("the root widget must be a QWidget")
    if top is not None and (prop(top, "geometry") is not None
                            or prop(top, "minimumSize") is not None):
        bad("the root widget has a fixed size")
    if root.find(".//spacer") is None:
        bad("no spacer keeps the view at the top")

    names = {w.get("name") for w in widgets(tree)}
    keys = {}
    mnemonics = {}
    focusable = []
    for w in widgets(tree):
        cls, name = w.get("class"), w.get("name")
        key, command = prop(w, "parameterKey"), prop(w, "command")
        if cls in FOCUSABLE:
            focusable.append(name)
        text = prop(w, "text") if cls != "QGroupBox" else prop(w, "title")
        if text and prop(w, "textFormat") != "Qt::PlainText":
            for m in re.finditer(r"&(.)", text.replace("&&", "")):
                letter = m.group(1).lower()
                if letter in mnemonics:
                    bad("mnemonic '%s' used by %s and %s" % (letter, mnemonics[letter], name))
                mnemonics[letter] = name
        buddy = prop(w, "buddy")
        if buddy is not None:
            if buddy not in names:
                bad("%s's buddy %s does not exist" % (name, buddy))
            if not (text or "").endswith(":"):
                bad("label %s does not end with ':'" % name)
        if command is not None:
            if command not in COMMANDS:
                bad("%s: unknown command %r" % (name, command))
            if key is not None:
                bad("%s has both a command and a parameterKey" % name)
        if key is None:
            continue
        if cls not in BOUND:
            bad("%s: a %s cannot edit a key" % (name, cls))
        keys.setdefault(key, []).append((cls, control_values(w, cls)))
        if prop(w, "oneCharacter") is not None and cls != "QLineEdit":
            bad("%s: oneCharacter on a %s" % (name, cls))
        if cls == "QSpinBox":
            lo, hi = prop(w, "minimum"), prop(w, "maximum")
            if lo is None or hi is None:
                bad("spin box %s needs an explicit minimum and maximum" % name)
            elif int(lo) > int(hi):
                bad("spin box %s: minimum above maximum" % name)
        if cls == "QRadioButton" and prop(w, "parameterValue") is None:
            bad("radio button %s has no parameterValue" % name)
        if cls == "QComboBox":
            check_combo(w, name, bad)
    for key, controls in keys.items():
        classes = [c for c, _ in controls]
        if len(classes) > 1 and set(classes) != {"QRadioButton"}:
            bad("key %r is edited by %d controls" % (key, len(classes)))

    check_radio_groups(tree, bad)
    stops = [t.text for t in root.findall("tabstops/tabstop")]
    for stop in stops:
        if stop not in names:
            bad("tab stop %s does not exist" % stop)
    if len(focusable) > 1 and sorted(stops) != sorted(focusable):
        bad("the tab order must list every control once")
    return keys


def check_radio_groups(tree, bad):
    """Radios of several keys in one view need one button group per key."""
    groups = {}
    for w in widgets(tree):
        if w.get("class") == "QRadioButton" and prop(w, "parameterKey") is not None:
            attribute = w.find("attribute[@name='buttonGroup']")
            group = attribute[0].text if attribute is not None and len(attribute) else None
            groups.setdefault(prop(w, "parameterKey"), set()).add(group)
    if len(groups) < 2:
        return
    seen = {}
    for key, names in groups.items():
        if None in names or len(names) != 1:
            bad("the radio buttons of %r need one button group of their own" % key)
            continue
        name = next(iter(names))
        if name in seen:
            bad("%r and %r share the button group %s" % (seen[name], key, name))
        seen[name] = key


def control_values(w, cls):
    """A test for the integer values the control can show, or None for text controls."""
    if cls == "QSpinBox":
        lo, hi = prop(w, "minimum"), prop(w, "maximum")
        if lo is None or hi is None:
            return None
        return lambda v: int(lo) <= v <= int(hi)
    if cls == "QCheckBox":
        return lambda v: v in (0, 1)
    if cls == "QRadioButton":
        value = prop(w, "parameterValue")
        return lambda v: value is not None and v == int(value)
    if cls == "QComboBox":
        values = prop(w, "itemValues")
        if values is not None:
            allowed = {int(n) for n in values.split(",") if n.strip().lstrip("-").isdigit()}
            return lambda v: v in allowed
        resource = prop(w, "itemsResource")
        if resource is not None:
            path = os.path.join(RESOURCES, resource + ".plist")
            if not os.path.exists(path):
                return None
            with open(path, "rb") as f:
                count = len(plistlib.load(f))
        else:
            count = len(w.findall("item"))
        return lambda v: 0 <= v < count
    return None


def check_combo(w, name, bad):
    items = len(w.findall("item"))
    resource = prop(w, "itemsResource")
    values = prop(w, "itemValues")
    if resource is not None:
        if items:
            bad("%s: items and itemsResource" % name)
        if resource not in ITEM_RESOURCES:
            bad("%s: unknown itemsResource %r" % (name, resource))
        elif not os.path.exists(os.path.join(RESOURCES, resource + ".plist")):
            bad("%s: resource %r is missing" % (name, resource))
    elif items == 0:
        bad("combo box %s has no items" % name)
    if values is not None:
        numbers = values.split(",")
        if not all(re.fullmatch(r"\s*-?\d+\s*", n) for n in numbers):
            bad("%s: itemValues must be integers" % name)
        if resource is None and len(numbers) != items:
            bad("%s: %d itemValues for %d items" % (name, len(numbers), items))


def read_keys(path):
    """{action: (view, {key: integer default or None})}"""
    keys = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) < 2:
                continue
            defaults = {}
            for field in fields[2:]:
                key, _, value = field.partition("=")
                defaults[key] = int(value) if re.fullmatch(r"-?\d+", value) else None
            keys[fields[0]] = (fields[1], defaults)
    return keys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--keys")
    parser.add_argument("--uic", default=DEFAULT_UIC if os.path.exists(DEFAULT_UIC) else None)
    args = parser.parse_args()

    with open(MAPPING, "rb") as f:
        mapping = plistlib.load(f)
    problems = []
    present = {f[:-3] for f in os.listdir(VIEWS) if f.endswith(".ui")}
    for view in sorted(set(mapping.values()) - present):
        problems.append("%s: missing" % view)
    for view in sorted(present - set(mapping.values())):
        problems.append("%s: no action uses it" % view)

    action_keys = read_keys(args.keys) if args.keys else None
    for action, view in sorted(mapping.items()):
        path = os.path.join(VIEWS, view + ".ui")
        if not os.path.exists(path):
            continue
        bound = check_view(path, view, problems)
        line = "%-40s %s" % (action, ", ".join(sorted(bound)) or "(none)")
        if action_keys is not None:
            if action not in action_keys:
                problems.append("%s: no keys listed for %r" % (view, action))
                continue
            listed_view, defaults = action_keys[action]
            if listed_view != view:
                problems.append("%s: the action names the view %s" % (view, listed_view))
            known = set(defaults) | EXTRA_KEYS.get(action, set())
            for key in sorted(set(bound) - known):
                problems.append("%s: %r is not a key of %r" % (view, key, action))
            for key, controls in sorted(bound.items()):
                default = defaults.get(key)
                tests = [test for _, test in controls if test is not None]
                if default is not None and tests and not any(t(default) for t in tests):
                    problems.append("%s: the default %d of %r is outside its control" %
                                    (view, default, key))
            unbound = sorted(known - set(bound) - INTERNAL_KEYS)
            if unbound:
                line += "   [no control: %s]" % ", ".join(unbound)
        print(line)
        if args.uic:
            result = subprocess.run([args.uic, path, "-o", os.devnull], capture_output=True,
                                    text=True)
            if result.returncode != 0 or result.stderr.strip():
                problems.append("%s: uic: %s" % (view, result.stderr.strip()))

    for problem in problems:
        print("PROBLEM " + problem)
    print("%d views, %d problems%s" % (len(present), len(problems),
                                       "" if args.uic else " (uic not run)"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
