#!/usr/bin/env python3
"""Writes a made-up survey for the batch program's diagnose cases: survey.csv (PSM number, east,
north) and survey.lns (the plan's lines).

Eight PSMs are placed in MGA about a hub on the central meridian (easting 500000 m), where the
grid is the ground times 0.9996 at height 0; the plan is written from them as lines: one from the
hub (point 1) to each PSM, with whole-second bearings and the ground distance, then one from each
PSM to the next, which the plan does not need and so checks it. Deliberate faults:
- 6628/1004 is listed 0.12 m away from where the plan puts it (bearing 30 degrees);
- the plan gives 66281234 and 66281243 each other's numbers;
- the line from 66281006 to 66281007 carries 0.2 m too much;
- 66281008 is on the plan but not in the list.

Run it from this folder: python3 make_survey.py
"""

import math

HUB_EAST, HUB_NORTH, GRID_SCALE = 500000.0, 6130000.0, 0.9996
KEYS = [66281001, 66281234, 66281243, 66281004, 66281005, 66281006, 66281007, 66281008]
SECONDS_PER_RADIAN = 206264.80625


def dms(seconds):
    seconds = round(seconds) % 1296000
    return "%d.%02d%02d" % (seconds // 3600, seconds // 60 % 60, seconds % 60)


def main():
    n = len(KEYS)
    bearings = [round(i * 1296000 / n) + 1234 * i for i in range(n)]
    lengths = [1100.0 + 377.0 * (i % 5) for i in range(n)]
    rows = []
    for i, key in enumerate(KEYS):
        angle = bearings[i] / SECONDS_PER_RADIAN
        east = HUB_EAST + GRID_SCALE * lengths[i] * math.sin(angle)
        north = HUB_NORTH + GRID_SCALE * lengths[i] * math.cos(angle)
        if key == 66281004:
            east += 0.12 * math.sin(math.pi / 6)
            north += 0.12 * math.cos(math.pi / 6)
        if key != 66281008:
            rows.append("%d/%d,%.4f,%.4f" % (key // 10000, key % 10000, east, north))
    plan_keys = list(KEYS)
    plan_keys[1], plan_keys[2] = plan_keys[2], plan_keys[1]
    lines = ["1,%d,%s,%.3f" % (plan_keys[i], dms(bearings[i]), lengths[i]) for i in range(n)]
    for i in range(n - 1):
        a, b = bearings[i] / SECONDS_PER_RADIAN, bearings[i + 1] / SECONDS_PER_RADIAN
        d_east = lengths[i + 1] * math.sin(b) - lengths[i] * math.sin(a)
        d_north = lengths[i + 1] * math.cos(b) - lengths[i] * math.cos(a)
        extra = 0.2 if plan_keys[i] == 66281006 else 0.0
        seconds = math.atan2(d_east, d_north) * SECONDS_PER_RADIAN
        lines.append("%d,%d,%s,%.3f" % (plan_keys[i], plan_keys[i + 1], dms(seconds),
                                        math.hypot(d_east, d_north) + extra))
    with open("survey.csv", "w", newline="") as f:
        f.write("\r\n".join(rows) + "\r\n")
    with open("survey.lns", "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    main()
