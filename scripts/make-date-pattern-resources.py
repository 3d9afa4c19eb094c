#!/usr/bin/env python3
"""Writes the six date-pattern resources from one table (run by hand after editing it).

The formats use the percent escapes of DateFormatter. Entry 0 of every table stands for
"left out" and is never formatted. The menu titles show what 4 March 2007, 10:05:09 in the
morning looks like in each format, in the same order as the formats.

Settings saved without a "version" key number their formats by the old tables; the old
tables hold only formats that the current ones still offer, so every old setting maps onto
the same format under its new number.
"""
import plistlib
import pathlib

# (format, menu title); the first row is "left out".
DATES = [
    ("", "No Date"),
    ("%Y-%m-%d", "2007-03-04 (ISO 8601)"),
    ("%Y%m%d", "20070304"),
    ("%Y_%m_%d", "2007_03_04"),
    ("%y%m%d", "070304"),
    ("%d.%m.%Y", "04.03.2007"),
    ("%d-%m-%Y", "04-03-2007"),
    ("%d%m%Y", "04032007"),
    ("%m-%d-%y", "03-04-07"),
    ("%m-%d-%Y", "03-04-2007"),
    ("%m.%d.%y", "03.04.07"),
    ("%e %B %Y", "4 March 2007"),
    ("%e %b %Y", "4 Mar 2007"),
    ("%A %e %B %Y", "Sunday 4 March 2007"),
    ("%a %e %b %Y", "Sun 4 Mar 2007"),
    ("%B %e, %Y", "March 4, 2007"),
    ("%A, %B %e, %Y", "Sunday, March 4, 2007"),
    ("%Y-%m-%d %A", "2007-03-04 Sunday"),
    ("%Y-%m-%d %a", "2007-03-04 Sun"),
    ("%Y-%m", "2007-03"),
    ("%B %Y", "March 2007"),
    ("%Y", "2007"),
    ("%Y-%j", "2007-063 (day of the year)"),
]

TIMES = [
    ("", "No Time"),
    ("%H.%M", "10.05"),
    ("%H.%M.%S", "10.05.09"),
    ("%H-%M", "10-05"),
    ("%H-%M-%S", "10-05-09"),
    ("%H%M", "1005"),
    ("%H%M%S", "100509"),
    ("%Hh%M", "10h05"),
    ("%Hh%Mm%Ss", "10h05m09s"),
    ("%I.%M %p", "10.05 AM"),
    ("%I.%M.%S %p", "10.05.09 AM"),
    ("%I-%M %p", "10-05 AM"),
    ("%I%M%p", "1005AM"),
]

# The old numbering, as formats.
OLD_DATES = ["", "%d.%m.%Y", "%Y-%m-%d", "%m-%d-%y", "%Y%m%d", "%e %B %Y", "%A %e %B %Y",
             "%d-%m-%Y", "%y%m%d"]
OLD_TIMES = ["", "%H%M", "%H.%M", "%Hh%M", "%H-%M-%S", "%I.%M %p", "%H.%M.%S"]


def main():
    formats = {"dates": [f for f, _ in DATES], "times": [f for f, _ in TIMES]}
    for old, new in ((OLD_DATES, formats["dates"]), (OLD_TIMES, formats["times"])):
        missing = [f for f in old if f not in new]
        assert not missing, f"old formats missing from the current table: {missing}"
        assert old != new[:len(old)], "the old numbering must differ from the current one"
    folder = pathlib.Path(__file__).resolve().parent.parent / "resources"
    tables = {
        "datePatterns": formats["dates"],
        "timePatterns": formats["times"],
        "datePatterns menu": [t for _, t in DATES],
        "timePatterns menu": [t for _, t in TIMES],
        "datePatterns0": OLD_DATES,
        "timePatterns0": OLD_TIMES,
    }
    for name, value in tables.items():
        with open(folder / f"{name}.plist", "wb") as out:
            plistlib.dump(value, out, fmt=plistlib.FMT_XML)


main()
