#!/usr/bin/env python3
"""Writes the three action-registry resources from one table (run by hand after editing it)."""
import plistlib
import pathlib

# (action name, menu title); None is a separator line.
MENU = [
    ("Add to front", "Add Text to Front"), ("Add to end", "Add Text to End"),
    ("Insert at position", "Insert Text at Position"), ("Completely rename", "Completely Rename"),
    ("Add folder name to front", "Add Folder Name to Front"),
    ("Add folder name to end", "Add Folder Name to End"), None,
    ("Replace text", "Replace Text"), ("Replace at front", "Replace Text at Front"),
    ("Replace at end", "Replace Text at End"), ("Replace characters", "Replace Characters"),
    ("Insert in front of text", "Insert in Front of Text"),
    ("Insert at end of text", "Insert After Text"), None,
    ("Remove text", "Remove Text"), ("Remove text at front", "Remove Text at Front"),
    ("Remove text at end", "Remove Text at End"), ("Remove at front", "Remove Characters at Front"),
    ("Remove from end", "Remove Characters from End"), ("Remove anywhere", "Remove Range"),
    ("Remove characters", "Remove Characters"), ("Remove vowels", "Remove Vowels"),
    ("Remove trailing spaces", "Remove Trailing Spaces"), ("Truncate", "Truncate"), None,
    ("Make uppercase", "Make Uppercase"), ("Make lowercase", "Make Lowercase"),
    ("Make propercase", "Make Proper Case"), None,
    ("Produce numbered list", "Produce Numbered List"), ("Add number to start", "Add Number to Start"),
    ("Add number to end", "Add Number to End"), ("Insert number at position", "Insert Number at Position"),
    ("Insert number in front of existing text", "Insert Number in Front of Text"),
    ("Insert number after existing text", "Insert Number After Text"),
    ("Change numbers", "Change Numbers"), None,
    ("Produce alphabetical list", "Produce Alphabetical List"),
    ("Add alphabetical sequence to start", "Add Letters to Start"),
    ("Add alphabetical sequence to end", "Add Letters to End"), None,
    ("Rename to date", "Rename to Date"), ("Add date to front", "Add Date to Front"),
    ("Add date to end", "Add Date to End"), None,
    ("MP3 rename", "Rename from Audio Tags"), ("Add dimensions", "Add Image Dimensions"),
    ("Add dimensions to start", "Add Image Dimensions to Start"),
    ("Add dimensions to end", "Add Image Dimensions to End"),
    ("Rename to dimensions", "Rename to Image Dimensions"), None,
    ("Rename from list", "Rename from List"), ("Reg Ex Substitution", "Regular Expression"),
    ("Manually rename", "Manually Rename"), None,
    ("Convert to NTFS", "Make Legal for NTFS"), ("Truncate to DOS", "Make Legal for DOS (8.3)"),
    ("Convert to Mac OS 9", "Make Legal for Mac OS 9"),
]


def view_name(action_name):
    return "".join(w[:1].upper() + w[1:] for w in action_name.split()) + "View"


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "resources"
    names = [entry[0] if entry else "" for entry in MENU]
    titles = [entry[1] if entry else "" for entry in MENU]
    mapping = {entry[0]: view_name(entry[0]) for entry in MENU if entry}
    for name, value in (("popUpIndexToNameMapping", names), ("actionPopUpMenuItems", titles),
                        ("actionNameToNibFileMapping", mapping)):
        with open(folder / f"{name}.plist", "wb") as out:
            plistlib.dump(value, out, fmt=plistlib.FMT_XML, sort_keys=True)


main()
