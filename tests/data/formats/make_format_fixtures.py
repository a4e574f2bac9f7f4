#!/usr/bin/env python3
"""Writes the fixtures of the data files for other cave-survey programs: a project whose labels
Survex cannot read as they are (Cyrillic, a space, a dot, names that meet once changed, a branch
tied by a repeated label), and the files expected from it.

The project layout is written out here independently of the C++ reader and writer. Expected texts
are literal lines worked out by hand from the geometry. Run from this folder:
python3 make_format_fixtures.py
"""
import struct

HEADER = 664
RECORD = 308


def header(count, fmt, style):
    h = bytearray(HEADER)
    struct.pack_into("<ii", h, 0, count, 1000)
    h[8:268] = b"plan.bmp".ljust(260, b"\0")
    h[268:528] = b"profile.bmp".ljust(260, b"\0")
    struct.pack_into("<dd", h, 528, 1.0, 0.5)
    h[544] = 1
    struct.pack_into("<ff", h, 548, 0.5, 0.5)
    struct.pack_into("<dddd", h, 560, 200.0, 250.0, 0.05, 0.04)
    struct.pack_into("<ddddd", h, 608, 10.0, 200.0, 10.0, 250.0, 0.0)
    h[648:652] = bytes([1, 1, 1, 0])
    struct.pack_into("<ii", h, 652, fmt, style)
    return bytes(h)


def station(x, y, z, label="", comment="", branch_end=0):
    r = bytearray(RECORD)
    struct.pack_into("<7f", r, 0, x / 0.05, y / 0.05, x / 0.04, z / 0.04, x, y, z)
    r[28:48] = label.encode("cp1251").ljust(20, b"\0")
    r[48:304] = comment.encode("cp1251").ljust(256, b"\0")
    r[304] = branch_end
    return bytes(r)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def write_text(name, lines):
    write(name, b"".join(line.encode("cp1251") + b"\r\n" for line in lines))


# Legs run along the axes or 3-4-5 triangles so their values are plain. Station 3 "St_12" is a
# name Survex reads, so the changed "St 12" must step aside to "St_12_2"; "вход" meets "Вход"
# once Survex lowers them; the two long labels agree in their first 12 letters for Compass;
# station 4 restarts at "St 12" and ties the second branch to the first.
labels = [
    station(0, 0, 0, "Вход", "грот"),                     # 0
    station(3, 0, 0, "St 12"),                             # 1: 3 m east
    station(6, -4, 0, "1.5", "узость"),                    # 2: 5 m at 36.87
    station(6, -4, -3, "St_12", branch_end=1),             # 3: 3 m straight up
    station(3, 0, 0, "St 12"),                             # 4: new branch
    station(7, 3, 0, "вход"),                              # 5: 5 m at 126.87
    station(7, 3, 3, "Очень длинное имя"),                 # 6: 3 m straight down
    station(10, 3, 3, "Очень длинное эхо"),                # 7: 3 m east
    station(10, 3, 7),                                     # 8: 4 m straight down, named 8
]
write("labels.sprj", header(len(labels), 2, 0) + b"".join(labels))

survex_legs = [
    "Vxod\tSt_12_2\t3.00\t90.00\t0.00\t ; Vxod = Вход; St_12_2 = St 12",
    "St_12_2\t1_5\t5.00\t36.87\t0.00\t ; узость; 1_5 = 1.5",
    "1_5\tSt_12\t3.00\t0.00\t90.00\t",
    "St_12_2\tvxod_2\t5.00\t126.87\t0.00\t ; vxod_2 = вход",
    "vxod_2\tOchen_dlinnoe_imya\t3.00\t0.00\t-90.00\t ; Ochen_dlinnoe_imya = Очень длинное имя",
    "Ochen_dlinnoe_imya\tOchen_dlinnoe_exo\t3.00\t90.00\t0.00\t ; Ochen_dlinnoe_exo = Очень длинное эхо",
    "Ochen_dlinnoe_exo\t8\t4.00\t0.00\t-90.00\t",
]
write_text("labels.survex-angle.svx", ["*begin"] + survex_legs + ["*end"])


# --- The survey details section, also written independently of the C++ code: a version number,
# then the fields through QDataStream (big-endian, Qt 6.0). ---

def qstring(text):
    if text is None:
        return struct.pack(">I", 0xFFFFFFFF)
    raw = text.encode("utf-16-be")
    return struct.pack(">I", len(raw)) + raw


def qdate(year, month, day):
    # Julian day number of a Gregorian date.
    a = (14 - month) // 12
    y = year + 4800 - a
    m = month + 12 * a - 3
    jd = day + (153 * m + 2) // 5 + 365 * y + y // 4 - y // 100 + y // 400 - 32045
    return struct.pack(">q", jd)


def details(cave, date, team, tape, compass, clino, source, north, auto, declination, entrance,
            coordinates=None, epsg=0):
    out = struct.pack(">I", 1) + qstring(cave) + qdate(*date) + struct.pack(">i", len(team))
    for name, roles in team:
        out += qstring(name) + struct.pack(">I", len(roles)) + b"".join(qstring(r) for r in roles)
    out += qstring(tape) + qstring(compass) + qstring(clino) + qstring(source) + struct.pack(">i", north)
    out += struct.pack(">?d", auto, declination) + qstring(entrance)
    east, north_m, altitude = coordinates or (0.0, 0.0, 0.0)
    out += struct.pack(">?dddi", coordinates is not None, east, north_m, altitude, epsg)
    return out


def fnv1a(data):
    h = 2166136261
    for b in data:
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
    return h


def extras(sections):
    out = b"SPMKEXT1" + struct.pack("<I", len(sections))
    for tag, content in sorted(sections.items()):
        out += tag + struct.pack("<I", len(content)) + content
    return out + struct.pack("<I", fnv1a(out))


# The same stations with every kind of detail: magnetic north 7.5 degrees east, the entrance
# "Вход" fixed in UTM zone 37N.
section = details("Учебная пещера", (2023, 7, 15),
                  [("Иван Петрович Сидоров", ["compass", "clino"]), ("Olga", ["tape", "notes"])],
                  "Disto X2", "Suunto KB-14", "", "Лист 3, архив клуба", 0, False, 7.5, "Вход",
                  (500000.0, 4500000.5, 312.0), 32637)
write("labels-details.sprj", header(len(labels), 2, 1) + b"".join(labels) + extras({b"DETL": section}))

survex_depth_legs = [
    "Vxod\tSt_12_2\t3.00\t90.00\t0.00\t ; Vxod = Вход; St_12_2 = St 12",
    "St_12_2\t1_5\t5.00\t36.87\t0.00\t ; узость; 1_5 = 1.5",
    "1_5\tSt_12\t3.00\t0.00\t3.00\t",
    "St_12_2\tvxod_2\t5.00\t126.87\t0.00\t ; vxod_2 = вход",
    "vxod_2\tOchen_dlinnoe_imya\t3.00\t0.00\t-3.00\t ; Ochen_dlinnoe_imya = Очень длинное имя",
    "Ochen_dlinnoe_imya\tOchen_dlinnoe_exo\t3.00\t90.00\t0.00\t ; Ochen_dlinnoe_exo = Очень длинное эхо",
    "Ochen_dlinnoe_exo\t8\t4.00\t0.00\t-4.00\t",
]
write_text("labels-details.survex-depthchange.svx",
           ["*begin Uchebnaya_peshhera",
            '*title "Учебная пещера"',
            "*date 2023.07.15",
            '*team "Иван Петрович Сидоров" compass clino',
            '*team "Olga" tape notes',
            '*instrument tape "Disto X2"',
            '*instrument compass "Suunto KB-14"',
            '*ref "Лист 3, архив клуба"',
            "*cs EPSG:32637",
            "*cs out EPSG:32637",
            "*declination 7.5 degrees",
            "*fix Vxod 500000 4500000.5 312",
            "*entrance Vxod",
            "*data diving from to tape compass depthchange"]
           + survex_depth_legs + ["*end Uchebnaya_peshhera"])

write_text("labels-details.therion-angle.th",
           ["encoding cp1251",
            "# scans: Лист 3, архив клуба",
            'survey Uchebnaya_peshhera -title "Учебная пещера" -entrance Vxod',
            "  centreline",
            "    date 2023.07.15",
            '    team "Иван Петрович/Сидоров" compass clino',
            '    team "Olga" tape notes',
            '    instrument tape "Disto X2"',
            '    instrument compass "Suunto KB-14"',
            "    cs EPSG:32637",
            "    fix Vxod 500000 4500000.5 312",
            '    station Vxod "" entrance',
            "    declination 7.5 degrees",
            "    data normal from to length compass clino"]
           + ["    " + line.replace("\t ; ", "\t# ") for line in survex_legs]
           + ["  endcentreline", "endsurvey"])

# Compass: feet (3 m = 9.84 ft, 4 m = 13.12 ft, 5 m = 16.40 ft), no passage dimensions.
MISSING = "  -999.00  -999.00  -999.00  -999.00"
compass_legs = [
    "Vxod         St_12_2          9.84    90.00     0.00" + MISSING + "  Vxod = Вход; St_12_2 = St 12",
    "St_12_2      1_5             16.40    36.87     0.00" + MISSING + "  узость; 1_5 = 1.5",
    "1_5          St_12            9.84     0.00    90.00" + MISSING,
    "St_12_2      vxod_2          16.40   126.87     0.00" + MISSING + "  vxod_2 = вход",
    "vxod_2       Ochen_dlinno     9.84     0.00   -90.00" + MISSING + "  Ochen_dlinno = Очень длинное имя",
    "Ochen_dlinno Ochen_dlin_2     9.84    90.00     0.00" + MISSING + "  Ochen_dlin_2 = Очень длинное эхо",
    "Ochen_dlin_2 8               13.12     0.00   -90.00" + MISSING,
]
COLUMNS = "FROM         TO             LENGTH  BEARING      INC     LEFT       UP     DOWN    RIGHT   COMMENTS"
write_text("labels.compass.dat",
           ["Survey", "SURVEY NAME: SURVEY", "SURVEY DATE: 1 1 1900  COMMENT:", "SURVEY TEAM:", "",
            "DECLINATION: 0.00  FORMAT: DDDDUDLRLADN  CORRECTIONS: 0.00 0.00 0.00", "", COLUMNS, ""]
           + compass_legs + ["\f"])
write_text("labels-details.compass.dat",
           ["Учебная пещера", "SURVEY NAME: Uchebnaya_pe", "SURVEY DATE: 7 15 2023  COMMENT:Лист 3, архив клуба",
            "SURVEY TEAM:", "Иван Петрович Сидоров, Olga",
            "DECLINATION: 7.50  FORMAT: DDDDUDLRLADN  CORRECTIONS: 0.00 0.00 0.00", "", COLUMNS, ""]
           + compass_legs + ["\f"])
