#!/usr/bin/env python3
"""What moment_e2e.sh reads from the clock, against the host's tz database.

  moment_check.py LABELS now
  moment_check.py LABELS shifted [ROW before|after]
  moment_check.py --plan LABELS ROW

LABELS is qvprobe's read-labels output (child, name, description, help or
value). Places: 1 New York, 2 London, 3 Sydney, 4 Tokyo by their zones, 5
Honolulu 19 hours behind the computer (Tokyo); business hours 09:00-17:00.
"""
import sys
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

ZONES = {1: "America/New_York", 2: "Europe/London", 3: "Australia/Sydney", 4: "Asia/Tokyo"}
FIXED = {5: -19}
TOKYO = ZoneInfo("Asia/Tokyo")
WEEKDAYS = "月火水木金土日"  # Monday first, as weekday() counts
HALF_HOUR = timedelta(minutes=30)
NOW_TEXT = "現在の時刻"


def read(path):
    labels = {}
    for line in open(path, encoding="utf-8").read().splitlines():
        child, *rest = (line.split("\t") + ["", "", ""])[:4]
        labels[int(child)] = rest
    return labels


def shown_instant(labels, now):
    """The instant Tokyo's time label shows, in the year that puts it nearest now."""
    text = labels[11][0]
    month, day, hour, minute = int(text[0:2]), int(text[3:5]), int(text[6:8]), int(text[9:11])
    candidates = []
    for year in (now.year - 1, now.year, now.year + 1):
        try:
            candidates.append(datetime(year, month, day, hour, minute, tzinfo=TOKYO))
        except ValueError:
            pass
    return min(candidates, key=lambda t: abs(t - now)).astimezone(timezone.utc)


def place_time(row, at):
    if row in ZONES:
        local = at.astimezone(ZoneInfo(ZONES[row]))
        return local, bool(local.dst())
    return at.astimezone(TOKYO).replace(tzinfo=None) + timedelta(hours=FIXED[row]), False


def offset(row, at):
    return at.astimezone(ZoneInfo(ZONES[row])).utcoffset()


def problems(labels, at):
    found = []
    for row in range(1, 6):
        name, name_description, _ = labels[2 * row + 2]
        text, description, _ = labels[2 * row + 3]
        local, summer = place_time(row, at)
        want = local.strftime("%m/%d %H:%M")
        work = "09:00" <= local.strftime("%H:%M") <= "17:00"
        if text != want:
            found.append(f"{name}: shows {text}, tz database {want}")
        if (description == "サマータイム") != summer:
            found.append(f"{name}: summer [{description}], tz database {summer}")
        if (name_description == "就業時間中") != work:
            found.append(f"{name}: business [{name_description}] at {want}")
    return found


def next_change(row, at, days=200):
    """The first change after `at` (changes fall on half hours, so the walk starts on one)."""
    epoch = datetime(1970, 1, 1, tzinfo=timezone.utc)
    step, t = HALF_HOUR, epoch + (at - epoch) // HALF_HOUR * HALF_HOUR
    for _ in range(days * 48):
        if offset(row, t + step) != offset(row, t):
            return t + step
        t += step
    return None


def help_problems(labels, now):
    """Each place's help: its zone or numbers, its difference now, a zone's change within 90 days."""
    found = []
    for row in range(1, 6):
        lines = labels[2 * row + 2][2].split(" | ")
        ahead = offset(row, now) - now.astimezone(TOKYO).utcoffset() if row in ZONES else timedelta(hours=FIXED[row])
        minutes = int(ahead.total_seconds() // 60)
        hours, rest = divmod(abs(minutes), 60)
        want = ["このPCと同じ時刻" if minutes == 0 else "このPCより" + (f"{hours}時間" if hours else "") +
                (f"{rest}分" if rest else "") + ("遅い" if minutes < 0 else "進んでいる")]
        if row in FIXED:
            want.insert(0, f"時差 {FIXED[row]:+g}")
        else:
            want.insert(0, lines[0])  # the system's display name
            change = next_change(row, now, 90)
            if change:
                before = change - HALF_HOUR
                wall = (change.astimezone(timezone.utc) + offset(row, before)).replace(tzinfo=None)
                step = int((offset(row, change) - offset(row, before)).total_seconds() // 3600)
                kind = "開始" if step > 0 else "終了"
                want.append(f"{wall:%Y/%m/%d} {wall.hour}:{wall:%M} サマータイム{kind} ({step:+d}時間)")
        if lines != want:
            found.append(f"help of row {row}: {lines}, wanted {want}")
    return found


def main():
    now = datetime.now(timezone.utc)
    if sys.argv[1] == "--plan":
        labels, row = read(sys.argv[2]), int(sys.argv[3])
        value = labels[0][2]
        at = now.replace(second=0, microsecond=0) if value == NOW_TEXT else shown_instant(labels, now)
        change = next_change(row, at)
        if change is None:
            sys.exit(f"no change of row {row} within 200 days of {at}")
        # Day steps leave the moment within a day before the change; then the
        # first notch goes to the next half hour, each further one 30 minutes.
        days = -((at - change) // timedelta(days=1)) - 1
        at += timedelta(days=days)
        first = (at.astimezone(timezone.utc) - datetime(1970, 1, 1, tzinfo=timezone.utc)) // HALF_HOUR
        first = datetime(1970, 1, 1, tzinfo=timezone.utc) + (first + 1) * HALF_HOUR
        notches = 1 + max(0, -((first - change) // HALF_HOUR))
        print(days, notches)
        return 0

    labels, mode = read(sys.argv[1]), sys.argv[2]
    value = labels[0][2]
    if mode == "now":
        # The minute may turn while the labels are read.
        tries = [problems(labels, now - timedelta(minutes=m)) for m in (0, 1)]
        found = min(tries, key=len)
        if value != NOW_TEXT:
            found.append(f"the clock's value is [{value}], not now")
        found += help_problems(labels, now)
        at = now
    else:
        at = shown_instant(labels, now)
        found = problems(labels, at)
        local = at.astimezone(TOKYO)
        want = f"{local:%m/%d}({WEEKDAYS[local.weekday()]}) {local:%H:%M}"
        if value[:1] not in "+-" or not value.endswith(" · " + want):
            found.append(f"the clock's value is [{value}], wanted a difference and {want}")
        if len(sys.argv) > 3:
            row, side = int(sys.argv[3]), sys.argv[4]
            near = at + HALF_HOUR if side == "before" else at - HALF_HOUR
            if offset(row, near) == offset(row, at):
                found.append(f"row {row} is not just {side} a change at {at}")
    for line in found:
        print(line, file=sys.stderr)
    print(f"{mode} {at:%Y-%m-%d %H:%M} UTC: " + " | ".join(labels[2 * r + 3][0] for r in range(1, 6)))
    return 1 if found else 0


sys.exit(main())
