#!/usr/bin/env python3
"""Writes engine/holidays_table.inc: mainland China's official days off (休) and
make-up working days (班) of every announced year, with the holiday's name.

The arrangements are fetched from the npm registry (`npm pack`) in two
independent collections: holiday-calendar (data/CN, one JSON file per year) and
chinese-days (dist/chinese-days.json).  Where both cover a year, every day on
which they disagree is printed to standard error and must carry a decision in
RESOLVED, taken from the State Council's notice of that year; where only one
covers a year, CORRECTED holds the days that its notice contradicts.  A
disagreement without a decision, or a decision that no longer meets a
disagreement, stops the generator: a new package version is looked at by a
person before the table changes.

What counts as a day off: every day of a range the notice gives ("10月1日至7日
放假调休"), weekends within it included, and a day it names alone ("补休");
a weekend it only mentions ("与周末连休") stays an ordinary weekend.

A year's arrangement reaches back into the year before: the New Year's Day
holiday may begin, or its make-up days fall, on 28..31 December.  Those days
belong to the following year's arrangement (the notices list them there).

The package versions are pinned so that the output is reproducible; pass
--holiday-calendar and --chinese-days to move on, --packages DIR to read the
.tgz files from a folder instead of the registry.

Usage: tools/make_holidays.py > engine/holidays_table.inc
"""
import argparse
import datetime
import hashlib
import io
import json
import os
import subprocess
import sys
import tarfile
import tempfile

HOLIDAY_CALENDAR_VERSION = "1.3.3"
CHINESE_DAYS_VERSION = "1.5.7"

OFF, WORK = "休", "班"

# The holiday names as the notices write them, from each package's wording.
CHINESE_DAYS_NAMES = {
    "元旦": "元旦", "春节": "春节", "清明": "清明节", "劳动节": "劳动节", "端午": "端午节",
    "中秋": "中秋节", "国庆节": "国庆节",
    "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日": "抗战胜利纪念日",
}

# Years whose Mid-Autumn Festival fell within the National Day holiday: the
# notice names the merged holiday in one item, and its days (make-up days
# included) carry that item's name.
MERGED_AUTUMN = {
    2009: "国庆节、中秋节",  # 六、国庆节、中秋节 10月1日至8日放假
    2012: "中秋节、国庆节",  # 六、中秋节、国庆节：9月30日至10月7日放假调休
    2017: "中秋节、国庆节",  # 六、中秋节、国庆节：10月1日至8日放假调休
    2020: "国庆节、中秋节",  # 国庆节、中秋节：10月1日至8日放假调休
    2023: "中秋节、国庆节",  # 六、中秋节、国庆节：9月29日至10月6日放假调休
    2025: "国庆节、中秋节",  # 六、国庆节、中秋节：10月1日至8日放假调休
}

# Days on which the packages disagree: date -> (mark or None for an ordinary
# day, the notice's words that decide).  HC is holiday-calendar, CD chinese-days.
RESOLVED = {
    # 2004: from reports of the notice made at the time (its text was not at
    # hand): 元旦 one day, a Thursday; after 五一 and 十一 the next weekend worked.
    "2004-01-02": (None, "2004: 元旦 1月1日（星期四）only (CD)"),
    "2004-01-03": (None, "2004: 元旦 1月1日 only (CD)"),
    "2004-04-25": (None, "2004: 五一 5月8日、9日上班, not 4月25日 (CD)"),
    "2004-05-09": (WORK, "2004: 五一 5月8日、9日上班 (CD)"),
    "2004-09-26": (None, "2004: 十一 10月9日、10日上班, not 9月26日 (CD)"),
    "2004-10-10": (WORK, "2004: 十一 10月9日、10日上班 (CD)"),
    "2005-12-31": (WORK, "2006: 元旦 12月31日（星期六）上班 (HC)"),
    "2007-12-29": (WORK, "2008: 元旦 12月29日（星期六）上班 (CD)"),
    "2007-12-30": (OFF, "2008: 元旦 2007年12月30日—2008年1月1日放假 (CD)"),
    "2007-12-31": (OFF, "2008: 元旦 2007年12月30日—2008年1月1日放假 (CD)"),
    "2008-05-04": (WORK, "2008: 五一 5月4日（星期日）上班 (CD)"),
    "2008-06-07": (OFF, "2008: 端午节 6月7日—9日放假 (CD)"),
    "2008-09-13": (OFF, "2008: 中秋节 9月13日—15日放假 (CD)"),
    "2009-01-04": (WORK, "2009: 元旦 1月4日（星期日）上班 (CD)"),
    "2009-09-27": (WORK, "2009: 国庆节、中秋节 9月27日（星期日）上班 (CD)"),
    "2011-06-05": (OFF, "2011: 端午节 6月4日至6日放假公休 (HC)"),
    "2011-12-31": (WORK, "2012: 元旦 2011年12月31日（星期六）上班 (CD)"),
    "2012-06-23": (OFF, "2012: 端午节 6月22日至24日放假公休 (HC)"),
    "2015-01-04": (WORK, "2015: 元旦 1月4日（星期日）上班 (CD)"),
    "2015-05-02": (None, "2015: 劳动节 5月1日放假，与周末连休 (CD)"),
    "2015-05-03": (None, "2015: 劳动节 5月1日放假，与周末连休 (CD)"),
    "2015-06-21": (None, "2015: 端午节 6月20日放假，6月22日补休 (CD)"),
    "2015-09-05": (OFF, "2015: 纪念日 9月3日至5日调休放假，共3天 (HC)"),
    "2016-01-02": (None, "2016: 元旦 1月1日放假，与周末连休 (CD)"),
    "2016-01-03": (None, "2016: 元旦 1月1日放假，与周末连休 (CD)"),
    "2016-04-02": (None, "2016: 清明节 4月4日放假，与周末连休; no make-up day (CD)"),
    "2016-04-30": (None, "2016: 劳动节 5月1日放假，5月2日补休 (CD)"),
    "2018-06-16": (None, "2018: 端午节 6月18日放假，与周末连休; no make-up day (CD)"),
    "2018-09-22": (None, "2018: 中秋节 9月24日放假，与周末连休; no make-up day (CD)"),
    "2020-02-02": (OFF, "2020: 春节假期延长至2月2日（农历正月初九，星期日） (CD)"),
}

# Days of single-source years that their notices contradict.
CORRECTED = {
    # 2001: the notice arranged 春节, 五一 and 十一 only; 元旦 was its statutory
    # day, a Monday, and the weekend before an ordinary one.
    "2000-12-30": (None, "2001: 元旦 not in the notice; 1月1日 only"),
    "2000-12-31": (None, "2001: 元旦 not in the notice; 1月1日 only"),
    # 2003: 元旦 (a Wednesday) was its statutory day alone, as in 2004 (both
    # packages): three days off without make-up days would exceed the year's
    # statutory days (statutory_days), and python-holidays, checked against the
    # notices from 2001, gives one day too.  The notice's text was not at hand.
    "2003-01-02": (None, "2003: 元旦 1月1日 only"),
    "2003-01-03": (None, "2003: 元旦 1月1日 only"),
    # 2003 (SARS): 国务院办公厅关于2003年"五一"放假调休安排的通知 of 21 April
    # replaced the week: 5月1日-3日为法定假日，5月3日的公休调至5月5日休息，5月4日
    # 照常公休 -- 1..5 May off, no make-up days.
    "2003-04-27": (None, "2003: 五一 shortened (SARS); no make-up day"),
    "2003-05-06": (None, "2003: 五一 shortened (SARS) to 5月1日-5日"),
    "2003-05-07": (None, "2003: 五一 shortened (SARS) to 5月1日-5日"),
    "2003-05-10": (None, "2003: 五一 shortened (SARS); no make-up day"),
}


# The statutory days of a year (全国年节及纪念日放假办法, 1999, 2007 and 2024
# versions): weekdays off less make-up working days come to this number, a
# statutory day on a weekend being made good on a weekday.
def statutory_days(year):
    return 10 if year < 2008 else 11 if year < 2025 else 13


# Days off beyond the statutory ones: 2015's 纪念日 (9月3日, one day), 2020's
# extended 春节 (1月31日 off and 2月1日 no longer a working day).
EXTRA_DAYS = {2015: 1, 2020: 2}


def fetch(name, version, packages, workdir):
    """The package's .tgz bytes: from the folder, or by `npm pack`."""
    filename = "%s-%s.tgz" % (name, version)
    if packages:
        path = os.path.join(packages, filename)
    else:
        subprocess.run(["npm", "pack", "--silent", "%s@%s" % (name, version)], cwd=workdir, check=True,
                       stdout=subprocess.DEVNULL)
        path = os.path.join(workdir, filename)
    with open(path, "rb") as f:
        return f.read()


def members(tgz):
    with tarfile.open(fileobj=io.BytesIO(tgz), mode="r:gz") as tar:
        return {m.name: tar.extractfile(m).read() for m in tar.getmembers() if m.isfile()}


def arrangement_year(date):
    """28..31 December belong to the next year's arrangement."""
    d = datetime.date.fromisoformat(date)
    return d.year + 1 if (d.month, d.day) >= (12, 28) else d.year


def read_holiday_calendar(files):
    index = json.loads(files["package/data/index.json"])
    region = next(r for r in index["regions"] if r["name"] == "CN")
    days = {}
    for year in range(region["startYear"], region["endYear"] + 1):
        data = json.loads(files["package/data/CN/%d.json" % year])
        assert data["year"] == year and data["region"] == "CN", year
        for e in data["dates"]:
            mark = {"public_holiday": OFF, "transfer_workday": WORK}[e["type"]]
            name = e["name_cn"].removesuffix("补班")
            assert e["date"] not in days, e
            days[e["date"]] = (mark, name)
    return (region["startYear"], region["endYear"]), days


def read_chinese_days(files):
    data = json.loads(files["package/dist/chinese-days.json"])
    days = {}
    for key, mark in (("holidays", OFF), ("workdays", WORK)):
        for date, text in data[key].items():
            assert date not in days, date
            days[date] = (mark, CHINESE_DAYS_NAMES[text.split(",")[1]])
    years = sorted({arrangement_year(d) for d in days})
    assert years == list(range(years[0], years[-1] + 1)), years
    return (years[0], years[-1]), days


def merged_autumn_years(*sources):
    """Years in which a source puts a Mid-Autumn day next to or within the National Day days off."""
    years = set()
    for days in sources:
        for date, (mark, name) in days.items():
            if mark != OFF or "中秋" not in name or date[5:7] not in ("09", "10"):
                continue
            national = [datetime.date.fromisoformat(d) for d, (m, n) in days.items()
                        if m == OFF and d[:4] == date[:4] and "国庆" in n]
            day, one = datetime.date.fromisoformat(date), datetime.timedelta(days=1)
            if national and min(national) - one <= day <= max(national) + one:
                years.add(day.year)
    return years


def named(date, mark, name):
    year = int(date[:4])
    if year in MERGED_AUTUMN and date[5:7] in ("09", "10") and ("国庆" in name or "中秋" in name):
        name = MERGED_AUTUMN[year]
    elif "国庆" in name and "中秋" in name:
        name = name.replace("和", "、")
    return mark, name


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--holiday-calendar", default=HOLIDAY_CALENDAR_VERSION)
    parser.add_argument("--chinese-days", default=CHINESE_DAYS_VERSION)
    parser.add_argument("--packages", help="a folder holding the two .tgz files")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as workdir:
        hc_tgz = fetch("holiday-calendar", args.holiday_calendar, args.packages, workdir)
        cd_tgz = fetch("chinese-days", args.chinese_days, args.packages, workdir)
    (hc_first, hc_last), hc = read_holiday_calendar(members(hc_tgz))
    (cd_first, cd_last), cd = read_chinese_days(members(cd_tgz))

    log = sys.stderr
    first, last = min(hc_first, cd_first), max(hc_last, cd_last)
    both = range(max(hc_first, cd_first), min(hc_last, cd_last) + 1)
    log.write("holiday-calendar %s: %d..%d; chinese-days %s: %d..%d\n" %
              (args.holiday_calendar, hc_first, hc_last, args.chinese_days, cd_first, cd_last))
    for year in range(first, last + 1):
        if year not in both:
            log.write("%d: only %s\n" % (year, "holiday-calendar" if hc_first <= year <= hc_last else "chinese-days"))

    found = merged_autumn_years(hc, cd) & set(range(first, last + 1))
    if found != set(MERGED_AUTUMN) & set(range(first, last + 1)):
        sys.exit("merged Mid-Autumn/National Day years %s do not match MERGED_AUTUMN" % sorted(found))

    table, problems = {}, []
    for date in sorted(set(hc) | set(cd)):
        year = arrangement_year(date)
        if not first <= year <= last:
            log.write("%s: outside the years covered, left out\n" % date)
            continue
        a, b = hc.get(date), cd.get(date)
        if year in both:
            same = a and b and a[0] == b[0]
            decision = RESOLVED.get(date)
            if same and decision:
                problems.append("%s: RESOLVED, but the packages agree" % date)
            if not same:
                log.write("%s: holiday-calendar %s, chinese-days %s" % (date, a and " ".join(a), b and " ".join(b)))
                if not decision:
                    log.write("  -- no decision\n")
                    problems.append("%s: the packages disagree and RESOLVED has no decision" % date)
                    continue
                log.write("  -> %s (%s)\n" % (decision[0] or "ordinary", decision[1]))
                if decision[0]:
                    source = a if a and a[0] == decision[0] else b
                    table[date] = named(date, decision[0], source[1])
                continue
            table[date] = named(date, *a)
            if named(date, *b) != table[date]:
                log.write("%s: named %s by holiday-calendar, %s by chinese-days; the first is kept\n" %
                          (date, a[1], b[1]))
        else:
            entry = a or b
            correction = CORRECTED.get(date)
            if correction:
                log.write("%s: %s -> %s (%s)\n" % (date, " ".join(entry), correction[0] or "ordinary", correction[1]))
                if correction[0]:
                    table[date] = named(date, correction[0], entry[1])
                continue
            table[date] = named(date, *entry)
    for date in RESOLVED:
        if arrangement_year(date) not in both:
            problems.append("%s: RESOLVED outside the years both packages cover" % date)
    for date in CORRECTED:
        if date not in hc and date not in cd or arrangement_year(date) in both:
            problems.append("%s: CORRECTED meets no single-source day" % date)
    if problems:
        sys.exit("\n".join(problems))

    balance = {}
    for date, (mark, name) in table.items():
        d = datetime.date.fromisoformat(date)
        year = arrangement_year(date)
        if mark == WORK:
            assert d.weekday() >= 5, "a make-up working day on a weekday: %s" % date
            balance[year] = balance.get(year, 0) - 1
        elif d.weekday() < 5:
            balance[year] = balance.get(year, 0) + 1
    for year in range(first, last + 1):
        expected = statutory_days(year) + EXTRA_DAYS.get(year, 0)
        if balance.get(year, 0) != expected:
            problems.append("%d: weekdays off less make-up days come to %d, not %d" %
                            (year, balance.get(year, 0), expected))
    if problems:
        sys.exit("\n".join(problems))

    for date, (_, name) in table.items():
        name.encode("gbk")
        d = datetime.date.fromisoformat(date)
        assert d.month != 12 or d.day < 28 or name == "元旦", date
        assert name != "元旦" or d.month == 1 or (d.month, d.day) >= (12, 28), date

    write(sys.stdout, table, first, last, args, hc_tgz, cd_tgz, (hc_first, hc_last), (cd_first, cd_last), both)


def write(out, table, first, last, args, hc_tgz, cd_tgz, hc_years, cd_years, both):
    def sha(b):
        return hashlib.sha256(b).hexdigest()

    w = out.write
    w("// Generated by tools/make_holidays.py; do not edit.\n")
    w("//\n")
    w("// Official days off (休) and make-up working days (班) of mainland China, the\n")
    w("// arrangements of %d..%d.  Last year covered: %d.\n" % (first, last, last))
    w("// Sources, the npm registry's packages:\n")
    w("//   holiday-calendar %s (data/CN, %d..%d),\n" % (args.holiday_calendar, *hc_years))
    w("//     .tgz sha256 %s\n" % sha(hc_tgz))
    w("//   chinese-days %s (dist/chinese-days.json, %d..%d),\n" % (args.chinese_days, *cd_years))
    w("//     .tgz sha256 %s\n" % sha(cd_tgz))
    w("// chinese-days does not cover %d..%d, golden-week years (7 days at 春节, 五一\n" % (first, both[0] - 1))
    w("// and 十一, 2000..2007); those years rest on holiday-calendar alone, corrected\n")
    w("// where the notices say otherwise; not every day of them was checked against\n")
    w("// a notice's text, but each year's count agrees with the statutory days.\n")
    w("//\n")
    w("// A day off is every day of a range the State Council's notice gives, weekends\n")
    w("// within it included, and a day it names alone; a weekend it only mentions\n")
    w("// (\"与周末连休\") stays an ordinary weekend.  28..31 December belong to the next\n")
    w("// year's arrangement, where the notices put them.  Names are the notices':\n")
    w("// a merged Mid-Autumn and National Day holiday carries the item's name.\n")
    w("// Every year checks against the statutory days: weekdays off less make-up\n")
    w("// working days are 10 (to 2007), 11 (2008..2024), 13 (from 2025), one more in\n")
    w("// 2015 (纪念日) and two more in 2020 (春节 extended); make-up days are weekends.\n")
    w("//\n")
    w("// Where the packages disagree, the notice of the year decides (HC: as\n")
    w("// holiday-calendar has it, CD: as chinese-days has it; -- an ordinary day):\n")
    for date, (mark, reason) in sorted(RESOLVED.items()):
        w("//   %s %s  %s\n" % (date, mark or "--", reason))
    w("// Corrections of the single-source years:\n")
    for date, (mark, reason) in sorted(CORRECTED.items()):
        w("//   %s %s  %s\n" % (date, mark or "--", reason))
    w("\n")
    w("inline constexpr std::int32_t kBuiltInFirstYear = %d;\n" % first)
    w("inline constexpr std::int32_t kBuiltInLastYear = %d;\n" % last)
    w("\n")
    w("// Date as YYYYMMDD, 休 or 班, the holiday's name; in date order.\n")
    w("inline constexpr BuiltInDay kBuiltInDays[] = {\n")
    for date in sorted(table):
        mark, name = table[date]
        w("    {%s, %s, \"%s\"},\n" % (date.replace("-", ""), "kOff" if mark == OFF else "kWork", name))
    w("};\n")


if __name__ == "__main__":
    main()
