#!/usr/bin/env python3
"""Writes the project fixtures (.sprj) and their expected survey texts.

The byte layout is written out here independently of the C++ reader and writer, so the tests
check them against a second description of the file. Expected texts are literal lines worked out
by hand from the station geometry, not computed. Run from this folder: python3 make_fixtures.py
"""
import struct

HEADER = 664
RECORD = 308


def path_field(text):
    raw = text.encode("cp1251")
    assert len(raw) <= 259
    return raw + b"\0" * (260 - len(raw))


def text_field(raw, width):
    assert len(raw) <= width
    return raw + b"\0" * (width - len(raw))


def header(count, fmt, style, orientation=0.0, plan="plan.bmp", profile="profile.bmp"):
    h = bytearray(HEADER)
    struct.pack_into("<ii", h, 0, count, 1000)
    h[8:268] = path_field(plan)
    h[268:528] = path_field(profile)
    struct.pack_into("<dd", h, 528, 1.0, 0.5)           # zooms
    h[544] = 1                                           # ProfileExtended
    struct.pack_into("<ff", h, 548, 0.5, 0.5)           # pane fractions
    struct.pack_into("<dddd", h, 560, 200.0, 250.0, 0.05, 0.04)  # cell sizes, scales
    struct.pack_into("<iiii", h, 592, 3, -5, 0, 12)     # up-down positions
    struct.pack_into("<ddddd", h, 608, 10.0, 200.0, 10.0, 250.0, orientation)
    h[648:652] = bytes([1, 1, 1, 0])
    struct.pack_into("<ii", h, 652, fmt, style)
    return bytes(h)


def station(x, y, z, label=b"", comment=b"", branch_end=0, profile_x=None):
    """Metre coordinates (plan x, plan y; profile y); pixels follow from the fixture scales."""
    r = bytearray(RECORD)
    px = profile_x if profile_x is not None else x
    struct.pack_into("<7f", r, 0, x / 0.05, y / 0.05, px / 0.04, z / 0.04, x, y, z)
    r[28:48] = text_field(label, 20)
    r[48:304] = text_field(comment, 256)
    r[304] = branch_end
    return bytes(r)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def write_text(name, lines):
    write(name, b"".join(line + b"\r\n" for line in lines))


# The five stations of the user guide's example; station 2 ends its branch and station 3 starts
# a new one at B.
five = [
    station(0, 0, 0, b"A", b"entrance"),
    station(3, -4, 0, b"B"),
    station(3, -10, 2, b"C", branch_end=1),
    station(3, -4, 0, b"B"),
    station(7, -4, -3, b"D", b"sump"),
]
write("five-stations.sprj", header(5, 0, 0) + b"".join(five))
write_text("five-stations.label-angle.cav",
           [b"#label", b" ^A ; entrance", b"5.00\t36.87\t0.00\t ^B", b"6.32\t0.00\t-18.43\t ^C #end", b" ^B",
            b"5.00\t90.00\t36.87\t ^D #end ; sump"])
write_text("five-stations.label-depthchange.cav",
           [b"#label", b"#fall", b" ^A ; entrance", b"5.00\t36.87\t0.00\t ^B", b"6.32\t0.00\t-2.00\t ^C #end", b" ^B",
            b"5.00\t90.00\t3.00\t ^D #end ; sump"])
write_text("five-stations.fromto-angle.cav",
           [b"#from_to", b"A\tB\t5.00\t36.87\t0.00\t", b"B\tC\t6.32\t0.00\t-18.43\t", b"B\tD\t5.00\t90.00\t36.87\t ; sump"])
write_text("five-stations.fromto-depthchange.cav",
           [b"#from_to", b"#fall", b"A\tB\t5.00\t36.87\t0.00\t", b"B\tC\t6.32\t0.00\t-2.00\t",
            b"B\tD\t5.00\t90.00\t3.00\t ; sump"])
write_text("five-stations.survex-angle.svx",
           [b"*begin", b"A\tB\t5.00\t36.87\t0.00\t", b"B\tC\t6.32\t0.00\t-18.43\t", b"B\tD\t5.00\t90.00\t36.87\t ; sump",
            b"*end"])
write_text("five-stations.survex-depthchange.svx",
           [b"*begin", b"*data diving from to tape compass depthchange", b"A\tB\t5.00\t36.87\t0.00\t",
            b"B\tC\t6.32\t0.00\t-2.00\t", b"B\tD\t5.00\t90.00\t3.00\t ; sump", b"*end"])

# Cyrillic texts as stored bytes, a label of the full 20 bytes and a comment of the full 256 bytes
# (neither has a terminating zero), unlabelled stations named by index, and a new branch whose
# first station carries only a comment. Legs run along the axes so their values are plain.
full_label = "Ж" * 20
full_comment = ("сифон " * 43)[:256]
cyr = [
    station(0, 0, 0, "Вход".encode("cp1251"), "грот".encode("cp1251")),
    station(3, 0, 0),                                                    # 3 m east, level
    station(3, 4, 0, full_label.encode("cp1251"), full_comment.encode("cp1251"), branch_end=1),  # 4 m south
    station(0, 0, 0, comment="ход".encode("cp1251")),                    # new branch
    station(0, -2, -2),                                                  # 2 m north, rises 2 m
]
write("cyrillic.sprj", header(5, 1, 0) + b"".join(cyr))
fl, fc = full_label.encode("cp1251"), full_comment.encode("cp1251")
write_text("cyrillic.fromto-angle.cav",
           [b"#from_to", "Вход".encode("cp1251") + b"\t1\t3.00\t90.00\t0.00\t",
            b"1\t" + fl + b"\t4.00\t180.00\t0.00\t ; " + fc, ";ход".encode("cp1251"),
            b"3\t4\t2.83\t0.00\t45.00\t"])
write_text("cyrillic.label-depthchange.cav",
           [b"#label", b"#fall", " ^Вход ; грот".encode("cp1251"), b"3.00\t90.00\t0.00\t",
            b"4.00\t180.00\t0.00\t ^" + fl + b" #end ; " + fc, " ; ход".encode("cp1251"),
            b"2.83\t0.00\t2.00\t #end"])

# Two stations at one place: style Angle cannot give the second leg an inclination.
write("zero-leg.sprj", header(3, 1, 0) + b"".join([
    station(1, 1, 1, b"P1"), station(2, 1, 1, b"P2"), station(2, 1, 1, b"P3")]))

write("empty.sprj", header(0, 2, 1))

# A cave for Survex: legs in every direction with uneven lengths, rising and falling, unlabelled
# stations (named by index), and two side branches tied in by repeating a station's name.
cave = [
    station(10.0, 20.0, 5.0, b"ent"),          # 0
    station(17.35, 16.1, 6.2),                 # 1
    station(22.9, 21.75, 9.85),                # 2
    station(21.4, 30.3, 8.05),                 # 3
    station(13.05, 33.6, 12.4, b"hall"),       # 4
    station(6.7, 27.45, 11.9),                 # 5
    station(2.15, 21.0, 16.75, b"sump", b"sump", branch_end=1),  # 6
    station(22.9, 21.75, 9.85, b"2"),          # 7 restarts at station 2
    station(31.6, 18.05, 4.3),                 # 8
    station(38.25, 9.4, 2.15, b"top", branch_end=1),  # 9
    station(13.05, 33.6, 12.4, b"hall", b"side passage"),  # 10 restarts at hall
    station(13.05, 41.2, 12.4),                # 11 due south, level
    station(13.05, 41.2, 19.9),                # 12 straight down
    station(9.3, 41.2, 21.0),                  # 13 due west
]
write("cave.sprj", header(len(cave), 2, 0) + b"".join(cave))
