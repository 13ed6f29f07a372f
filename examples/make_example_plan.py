#!/usr/bin/env python3
"""Writes the example plan (plan.lns and plan.cve) that goes with the example marks (marks.csv).

The plan is a small subdivision in Adelaide connected to four PSMs of the list, as the KESTRAL
plan-calculation program would write it: CR LF line ends, "from,to,bearing,distance" with ddd.mmss
bearings to whole seconds and distances in metres to millimetres. Points 1 to 9 are the plan's own
points; points above 4600 are PSM keys.

The lines are derived from MGA coordinates: each bearing is the grid bearing, each distance the
grid length reduced to ground by the line's combined scale factor (GRS80, transverse Mercator
with k0 = 0.9996, at the average height of the listed marks). So the comparison judges the plan as
a surveyor's plan on an MGA bearing datum, with these deliberate features:
- PSM 6628/1946 is placed 56 mm north of its MGA position: its join with 6628/1173 fails the
  "Urban Areas" distance allowance, its other joins pass;
- PSM 6628/1600 is on the plan but not in the mark list;
- PSM 6628/1926 has order 6, above the default "Compare up to Order" of 5;
- three curves, whose curve-file records give the chord (bearing and length), the tangent bearing
  at the first point with 999 for the length, and a chord listed from its far end;
- one line without a usable bearing (999).

Run it from this folder: python3 make_example_plan.py
"""

import csv
import math

A_GRS80 = 6378137.0
F_GRS80 = 1.0 / 298.257222101
K0 = 0.9996
FALSE_EASTING = 500000.0
FALSE_NORTHING = 10000000.0


def meridian_distance(phi, a, e2):
    e4 = e2 * e2
    e6 = e4 * e2
    a0 = 1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256
    a2 = 3 / 8 * (e2 + e4 / 4 + 15 * e6 / 128)
    a4 = 15 / 256 * (e4 + 3 * e6 / 4)
    a6 = 35 * e6 / 3072
    return a * (a0 * phi - a2 * math.sin(2 * phi) + a4 * math.sin(4 * phi) - a6 * math.sin(6 * phi))


def line_scale_factor(e1, n1, e2, n2):
    """The transverse Mercator scale factor of a whole line (Redfearn's series), with the radii
    of curvature at the foot-point latitude of the mid-point: close enough for a plan's
    distances."""
    a = A_GRS80
    ecc2 = 2 * F_GRS80 - F_GRS80 * F_GRS80
    m = ((n1 + n2) / 2 - FALSE_NORTHING) / K0
    phi = m / a
    for _ in range(10):
        phi -= (meridian_distance(phi, a, ecc2) - m) / a
    w = math.sqrt(1 - ecc2 * math.sin(phi) ** 2)
    rho = a * (1 - ecc2) / w ** 3
    nu = a / w
    q = 1 / (6 * rho * nu * K0 * K0)
    d1 = e1 - FALSE_EASTING
    d2 = e2 - FALSE_EASTING
    return K0 * (1 + (d1 * d1 + d1 * d2 + d2 * d2) * q)


def dms(degrees):
    """A bearing in degrees as a ddd.mmss text to whole seconds."""
    total = round(degrees * 3600)
    d, rest = divmod(total, 3600)
    m, s = divmod(rest, 60)
    return f"{d}.{m:02d}{s:02d}"


def grid_bearing(p, q):
    return math.degrees(math.atan2(q[0] - p[0], q[1] - p[1])) % 360


def read_marks(path):
    marks = {}
    heights = []
    with open(path, newline="", encoding="cp1252") as f:
        for row in csv.reader(f):
            if row[0].startswith("Map"):
                continue
            marks[int(row[0] + row[1])] = (float(row[6]), float(row[7]))
            heights.append(float(row[21]) if float(row[21]) > 0 else 0.0)
    return marks, round(sum(heights) / len(heights), 3)


def main():
    marks, average_height = read_marks("marks.csv")
    height_factor = 1 - average_height * 0.157e-6

    points = {key: marks[key] for key in (66281583, 66281173, 66281618, 66281926)}
    east, north = marks[66281946]
    points[66281946] = (east, north + 0.056)  # disturbed by 56 mm
    points[66281600] = (283148.020, 6132136.410)  # not in the mark list
    points.update({
        1: (282905.310, 6131962.140),
        2: (282986.770, 6131976.480),
        3: (282999.160, 6132061.930),
        4: (282917.430, 6132047.690),
        5: (283062.580, 6132015.240),
        6: (283078.900, 6131853.360),
        7: (283071.470, 6132112.850),
        8: (283885.120, 6131047.770),
        9: (284612.540, 6130196.030),
    })

    def ground(p, q):
        grid = math.dist(points[p], points[q])
        csf = height_factor * line_scale_factor(*points[p], *points[q])
        return grid / csf

    lines = []
    curves = []

    def straight(p, q):
        lines.append(f"{p},{q},{dms(grid_bearing(points[p], points[q]))},{ground(p, q):.3f}")

    def curve(p, q, radius, left, form):
        chord = ground(p, q)
        half = math.asin(chord / (2 * radius))
        lines.append(f"{p},{q},{1000 + radius:.3f},{2 * radius * half:.3f}")
        bearing = grid_bearing(points[p], points[q])
        turn = "L" if left else "R"
        if form == "chord":
            curves.append(f"{p},{q},{turn},{dms(bearing)},{chord:.3f}")
        elif form == "tangent":
            tangent = bearing + math.degrees(half) * (1 if left else -1)
            curves.append(f"{p},{q},{turn},{dms(tangent % 360)},999")
        else:  # the chord listed from the far end; that way round the curve turns the other way
            back = "R" if left else "L"
            curves.append(f"{q},{p},{back},{dms((bearing + 180) % 360)},{chord:.3f}")

    straight(66281583, 1)
    straight(1, 2)
    straight(2, 3)
    straight(3, 4)
    straight(4, 1)
    straight(3, 66281173)
    curve(2, 5, 60.0, True, "chord")
    straight(5, 6)
    straight(6, 66281946)
    curve(3, 7, 120.0, False, "tangent")
    straight(7, 66281600)
    curve(6, 8, 2500.0, True, "reversed")
    straight(8, 9)
    straight(9, 66281618)
    straight(66281583, 66281926)
    lines.append("4,66281173,999,0")

    with open("plan.lns", "w", newline="", encoding="ascii") as f:
        f.write("".join(line + "\r\n" for line in lines))
    with open("plan.cve", "w", newline="", encoding="ascii") as f:
        f.write("".join(record + "\r\n" for record in curves))


if __name__ == "__main__":
    main()
