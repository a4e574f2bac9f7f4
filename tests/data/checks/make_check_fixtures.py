#!/usr/bin/env python3
"""Writes the survey check's fixture projects (.sprj) and what the check must say about them.

Each project has simple geometry (legs along the axes and 3-4-5 triangles) so every number of
the expected CSV and report is worked out by hand below, not computed by the program. The byte
layout is written out here as in ../make_fixtures.py. Run from this folder:
python3 make_check_fixtures.py
"""
import struct

HEADER = 664
RECORD = 308
PLAN_MPP = 0.05     # metres per pixel of the plan ...
PROFILE_MPP = 0.04  # ... and of the profile


def path_field(text):
    raw = text.encode("cp1251")
    return raw + b"\0" * (260 - len(raw))


def header(count, fmt=2, style=0, profile_kind=1):
    h = bytearray(HEADER)
    struct.pack_into("<ii", h, 0, count, 1000)
    h[8:268] = path_field("plan.png")
    h[268:528] = path_field("profile.png")
    struct.pack_into("<dd", h, 528, 1.0, 1.0)                   # zooms
    h[544] = profile_kind                                        # 1 extended, 0 none
    struct.pack_into("<ff", h, 548, 0.5, 0.5)                   # pane fractions
    struct.pack_into("<dddd", h, 560, 200.0, 250.0, PLAN_MPP, PROFILE_MPP)
    struct.pack_into("<iiii", h, 592, 0, 0, 0, 0)
    struct.pack_into("<ddddd", h, 608, 10.0, 200.0, 10.0, 250.0, 0.0)
    h[648:652] = bytes([1, 1, 1, 1])
    struct.pack_into("<ii", h, 652, fmt, style)
    return bytes(h)


def station(x, y, z, dev, label=b"", comment=b"", branch_end=0):
    """Plan x (east), plan y (south) and profile y (down) in metres; dev is the profile's
    horizontal position in metres. Pixels follow from the scales."""
    r = bytearray(RECORD)
    struct.pack_into("<7f", r, 0, x / PLAN_MPP, y / PLAN_MPP, dev / PROFILE_MPP, z / PROFILE_MPP, x, y, z)
    r[28:28 + len(label)] = label
    r[48:48 + len(comment)] = comment
    r[304] = branch_end
    return bytes(r)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def write_lines(name, lines, end):
    write(name, b"".join(line.encode("utf-8") + end for line in lines))


CSV_HEADER = ("from,to,tape_m,compass_deg,clino_deg,depth_change_m,plan_horizontal_m,profile_horizontal_m,"
              "disagreement_m,disagreement_pct,flag,comment")
# Three pixels for each of a leg's four clicks: 3 * sqrt(2 * 0.05^2 + 2 * 0.04^2) = 0.27 m; a loop
# closing at a station placed twice, on both drawings each time, allows the same.
RULE = "0.50 m or 5.00 % of the longer length, whichever is larger"
TOLERANCE = ("Tolerance: 3.00 pixels for each click on the drawings, 0.27 m on a leg or where a loop closes at "
             "0.05 m per pixel on the plan and 0.04 on the profile; where a scale is unknown, " + RULE + ".")
TIES = "Likely ties (different names at one point of the plan and at one depth): "

# A square loop of 8 m sides whose last leg comes back 1 m short of A: a planted misclosure of
# 1.00 m north-south over 10 + 8 + 10 + 7 = 35 m of legs (2.86 %). B and C lie 6 m above A and D.
loop = [
    station(0, 0, 0, 0, b"A", b"entrance"),
    station(8, 0, -6, 8, b"B"),        # 8 m east, 6 m up: tape 10, clino 36.87
    station(8, 8, -6, 16, b"C"),       # 8 m south, level
    station(0, 8, 0, 24, b"D"),        # 8 m west, 6 m down
    station(0, 1, 0, 31, b"A", b'back at the entrance, "A"'),  # 7 m north, 1 m short of A
]
write("loop.sprj", header(len(loop)) + b"".join(loop))
write_lines("loop.csv", [
    CSV_HEADER,
    "A,B,10.00,90.00,36.87,6.00,8.00,8.00,0.00,0.00,0,",
    "B,C,8.00,180.00,0.00,0.00,8.00,8.00,0.00,0.00,0,",
    "C,D,10.00,270.00,-36.87,-6.00,8.00,8.00,0.00,0.00,0,",
    'D,A,7.00,0.00,0.00,0.00,7.00,7.00,0.00,0.00,0,"back at the entrance, ""A"""',
], b"\r\n")
loop_report = [
    "Survey check: 4 stations (5 table entries), 4 legs.",
    TOLERANCE,
    "",
    "Legs whose plan and profile lengths disagree: 0",
    "",
    "Zero-length legs: 0",
    "",
    "Repeated stations: 1",
    "  A: table entries 0 and 4",
    "",
    "Loops: 1",
    "  closed at A (table entry 4): misclosure 1.00 m (dE 0.00, dN -1.00, dZ 0.00) over 35.00 m of 4 legs (2.86 %)",
    "",
    "Pieces not tied to station 0: 0",
    "",
    TIES + "0",
    "",
    "Nothing flagged.",
]
# Under the rule of 0.5 m or 5 % the metre is within 1.75 m ...
write_lines("loop.rule.check.txt", ["Tolerance: " + RULE + "." if i == 1 else line
                                    for i, line in enumerate(loop_report)], b"\n")
# ... with 0.5 m or 1 %, the loop may be off by 0.50 m only ...
tight = list(loop_report)
tight[1] = "Tolerance: 0.50 m or 1.00 % of the longer length, whichever is larger."
tight[11] += ", more than the 0.50 m allowed"
tight[-1] = "Flagged: 1 loop misclosed beyond the tolerance."
write_lines("loop.tight.check.txt", tight, b"\n")
# ... and from the clicks, 20 plan pixels are far more than the 0.27 m two placements of A allow.
clicks = list(tight)
clicks[1] = TOLERANCE
clicks[11] = clicks[11].replace("0.50 m allowed", "0.27 m allowed")
write_lines("loop.check.txt", clicks, b"\n")

# A branch tied in at B, a leg whose profile is 20 % short (4.80 m for 6.00 m on the plan), two
# pieces tied to nothing, and E, one pixel from D on both drawings but named otherwise.
branches = [
    station(0, 0, 0, 0, b"A", b"entrance"),
    station(3, -4, 0, 5, b"B"),                                  # 5 m at 36.87
    station(3, -10, 0, 9.8, b"C", b'sump, "blue"', branch_end=1),  # 6 m north; profile 4.8 m
    station(3, -4, 0, 5, b"B"),                                  # a new branch, tied at B
    station(7, -4, -3, 9, b"D", branch_end=1),                   # 4 m east, 3 m up
    station(20, 0, 0, 30, b"X"),                                 # a new branch named nowhere else
    station(20, 3, 0, 33, b"Y", branch_end=1),                   # 3 m south
    station(7.05, -4, -3, 9.04, b"E"),                           # 1 pixel from D on both
    station(7.05, -1, -3, 12.04, b"F"),                          # 3 m south
]
write("branches.sprj", header(len(branches)) + b"".join(branches))
write_lines("branches.csv", [
    CSV_HEADER,
    "A,B,5.00,36.87,0.00,0.00,5.00,5.00,0.00,0.00,0,",
    'B,C,6.00,0.00,0.00,0.00,6.00,4.80,-1.20,-20.00,1,"sump, ""blue"""',
    "B,D,5.00,90.00,36.87,3.00,4.00,4.00,0.00,0.00,0,",
    "X,Y,3.00,180.00,0.00,0.00,3.00,3.00,0.00,0.00,0,",
    "E,F,3.00,180.00,0.00,0.00,3.00,3.00,0.00,0.00,0,",
], b"\r\n")
branches_report = [
    "Survey check: 8 stations (9 table entries), 5 legs.",
    TOLERANCE,
    "",
    "Legs whose plan and profile lengths disagree: 1",
    "  B - C: plan 6.00 m, profile 4.80 m, difference -1.20 m (-20.00 %), 0.27 m allowed",
    "",
    "Zero-length legs: 0",
    "",
    "Repeated stations: 1",
    "  B: table entries 1 and 3",
    "",
    "Loops: 0",
    "",
    "Pieces not tied to station 0: 2",
    "  from X (table entry 5): 2 stations, placed where the drawings put it",
    "  from E (table entry 7): 2 stations, placed where the drawings put it",
    "",
    TIES + "1",
    "  D and E (table entries 4 and 7): 0.05 m apart on the plan, depths 0.00 m apart",
    "",
    "Flagged: 1 leg that disagrees, 2 pieces not tied, 1 likely tie.",
]
write_lines("branches.check.txt", branches_report, b"\n")

# The same survey without a profile: no profile lengths, nothing flagged for them; the plan
# alone shows the likely tie.
write("branches-noprofile.sprj", header(len(branches), profile_kind=0) + b"".join(branches))
write_lines("branches-noprofile.csv", [
    CSV_HEADER,
    "A,B,5.00,36.87,0.00,0.00,5.00,,,,0,",
    'B,C,6.00,0.00,0.00,0.00,6.00,,,,0,"sump, ""blue"""',
    "B,D,5.00,90.00,36.87,3.00,4.00,,,,0,",
    "X,Y,3.00,180.00,0.00,0.00,3.00,,,,0,",
    "E,F,3.00,180.00,0.00,0.00,3.00,,,,0,",
], b"\r\n")
noprofile = list(branches_report)
noprofile[1] = ("Tolerance: 3.00 pixels for each click on the drawings, 0.21 m where a loop closes at 0.05 m per "
                "pixel on the plan; where a scale is unknown, " + RULE + ".")
noprofile[3:5] = ["Legs whose plan and profile lengths disagree: not compared, the survey has no profile."]
noprofile[-1] = "Flagged: 2 pieces not tied, 1 likely tie."
write_lines("branches-noprofile.check.txt", noprofile, b"\n")

# ../zero-leg.sprj: P3 stands where P2 does, in style Angle. Its profile x is plan x / 0.04.
write_lines("zero-leg.csv", [
    CSV_HEADER,
    "P1,P2,1.00,90.00,0.00,0.00,1.00,1.00,0.00,0.00,0,",
    "P2,P3,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,",
], b"\r\n")
write_lines("zero-leg.check.txt", [
    "Survey check: 3 stations (3 table entries), 2 legs.",
    TOLERANCE,
    "",
    "Legs whose plan and profile lengths disagree: 0",
    "",
    "Zero-length legs: 1",
    "  P2 - P3 (table entries 1 and 2)",
    "",
    "Repeated stations: 0",
    "",
    "Loops: 0",
    "",
    "Pieces not tied to station 0: 0",
    "",
    TIES + "0",
    "",
    "Flagged: 1 zero-length leg.",
], b"\n")

# ../cyrillic.sprj: names and comments in UTF-8. Its stations all stand at profile x 0 or 75
# pixels (3 m), so the legs to the south and north have no length on the profile at all.
full_label = "Ж" * 20
full_comment = ("сифон " * 43)[:256]
write_lines("cyrillic.csv", [
    CSV_HEADER,
    "Вход,1,3.00,90.00,0.00,0.00,3.00,3.00,0.00,0.00,0,",
    "1," + full_label + ",4.00,180.00,0.00,0.00,4.00,0.00,-4.00,-100.00,1," + full_comment,
    "3,4,2.83,0.00,45.00,2.00,2.00,0.00,-2.00,-100.00,1,",
], b"\r\n")
