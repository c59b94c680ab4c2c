#!/usr/bin/env python3
"""Round trips of `tovani ics` through a real iCalendar parser (python3-icalendar).

Usage: ics_check.py PATH-TO-TOVANI.  The expected dates are published ones:
冬至 2024-12-21 and 2025-12-21, 春分 2024-03-20; 中秋节 2024-09-17 and
2025-10-06, 春节 2024-02-10 and 2025-01-29, 除夕 2025-01-28 (腊月廿九);
the official arrangement of 2024's 国庆节 (休 10-01..10-07, 班 09-29 and
10-12); 2023's 闰二月 (闰二月廿九 = 2023-04-19).
"""
import datetime
import os
import subprocess
import sys

try:
    import icalendar
except ImportError:
    sys.exit("ics_check.py: the Python module icalendar is missing (Debian: python3-icalendar)")

TOVANI = sys.argv[1]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def export(args, epoch):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    run = subprocess.run([TOVANI, "ics", *args], env=env, capture_output=True, check=False)
    if run.returncode != 0:
        sys.exit(f"tovani ics {' '.join(args)} ended with {run.returncode}: {run.stderr.decode(errors='replace')}")
    return run.stdout


def raw_lines_are_sound(data, what):
    check(data.endswith(b"\r\n"), f"{what}: the file ends with CRLF")
    lines = data[:-2].split(b"\r\n")
    check(all(b"\n" not in line and b"\r" not in line for line in lines), f"{what}: a bare CR or LF")
    check(all(len(line) <= 75 for line in lines), f"{what}: a line longer than 75 octets")
    for line in lines:
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            failures.append(f"{what}: a line splits a UTF-8 character: {line!r}")
            break


def events(data):
    calendar = icalendar.Calendar.from_ical(data)
    check(str(calendar["VERSION"]) == "2.0", "VERSION 2.0")
    check(str(calendar["PRODID"]) == "-//Tovani//Tovani 4.1//ZH", "PRODID")
    check(str(calendar["CALSCALE"]) == "GREGORIAN", "CALSCALE")
    found = []
    for e in calendar.walk("VEVENT"):
        start, end = e.decoded("DTSTART"), e.decoded("DTEND")
        check(type(start) is datetime.date and type(end) is datetime.date, f"all-day dates: {e['SUMMARY']}")
        check(end - start == datetime.timedelta(days=1), f"one day long: {e['SUMMARY']} {start}")
        found.append({"uid": str(e["UID"]), "summary": str(e["SUMMARY"]), "start": start,
                      "category": str(e.get("CATEGORIES").cats[0]) if e.get("CATEGORIES") else "",
                      "description": str(e.get("DESCRIPTION", "")), "stamp": e.decoded("DTSTAMP")})
    return found


def dates_of(found, summary):
    return sorted(e["start"] for e in found if e["summary"] == summary)


D = datetime.date
title = "妈妈的生日, 团圆; 快乐 \\ 一家人在一起吃月饼赏月的日子，这一行很长很长，要折行"
args = ["2024-01-01", "2025-12-31", "--terms", "--festivals", "--holidays",
        "--lunar", "08-15", title, "--lunar", "14-30", "闰二月三十"]
first = export(args, 1700000000)
raw_lines_are_sound(first, "2024-2025")
found = events(first)

terms = [e for e in found if e["category"] == "节气"]
check(len(terms) == 48, f"24 terms a year: {len(terms)}")
check(dates_of(found, "冬至") == [D(2024, 12, 21), D(2025, 12, 21)], f"冬至: {dates_of(found, '冬至')}")
check(dates_of(found, "春分") == [D(2024, 3, 20), D(2025, 3, 20)], f"春分: {dates_of(found, '春分')}")
check(all("UTC+8" in e["description"] for e in terms), "terms carry their instant")
check(dates_of(found, "中秋节") == [D(2024, 9, 17), D(2025, 10, 6)], f"中秋节: {dates_of(found, '中秋节')}")
check(dates_of(found, "春节") == [D(2024, 2, 10), D(2025, 1, 29)], f"春节: {dates_of(found, '春节')}")
check(dates_of(found, "除夕") == [D(2024, 2, 9), D(2025, 1, 28)], f"除夕: {dates_of(found, '除夕')}")
check(dates_of(found, "国庆节") == [D(2024, 10, 1), D(2025, 10, 1)], f"国庆节: {dates_of(found, '国庆节')}")
check(dates_of(found, "休 国庆节")[:7] == [D(2024, 10, d) for d in range(1, 8)], "2024's 国庆节 days off")
check([d for d in dates_of(found, "班 国庆节") if d.year == 2024] == [D(2024, 9, 29), D(2024, 10, 12)],
      "2024's 国庆节 working days")
check(dates_of(found, title) == [D(2024, 9, 17), D(2025, 10, 6)], f"八月十五: {dates_of(found, title)}")
# No 闰二月 in 2024 and 2025: 二月三十 (2024) and 二月廿九 (2025, a 29-day 二月).
check(dates_of(found, "闰二月三十") == [D(2024, 4, 8), D(2025, 3, 28)], f"闰二月三十: {dates_of(found, '闰二月三十')}")
uids = [e["uid"] for e in found]
check(len(set(uids)) == len(uids), "unique UIDs")
check(all(e["stamp"] == datetime.datetime(2023, 11, 14, 22, 13, 20, tzinfo=datetime.timezone.utc) for e in found),
      "DTSTAMP from SOURCE_DATE_EPOCH")

# Another export, another time, a part of the span: the same events keep their UIDs.
again = events(export(args, 1800000000))
check(sorted(uids) == sorted(e["uid"] for e in again), "the same UIDs in a second export")
part = events(export(["2025-01-01", "2025-12-31", "--terms", "--festivals", "--holidays",
                      "--lunar", "08-15", title], 0))
check(part and {e["uid"] for e in part} <= set(uids), "a part of the span: a subset of the UIDs")

# 2023 has a 闰二月 of 29 days.
leap = events(export(["2023-01-01", "2023-12-31", "--lunar", "14-30", "x"], 0))
check([e["start"] for e in leap] == [D(2023, 4, 19)], f"闰二月三十 in 2023: {[e['start'] for e in leap]}")

# Without a choice: terms and festivals.
plain = events(export(["2024-01-01", "2024-12-31"], 0))
check({e["category"] for e in plain} == {"节气", "节日"}, f"default sets: {({e['category'] for e in plain})}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"ok: {len(found)} events")
