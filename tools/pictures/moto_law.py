#!/usr/bin/env python3
"""Pictures for the rider's law questions (category 11): a driving licence whose class field
reads E, a light-motorcycle number plate, and a motorcycle with a sidecar.

Writes assets/bank/pictures/moto-law-*.svg. The plate follows GA 36 for motorcycles: one
plate at the rear, 220 x 140 mm, two rows (province and issuing office above, five
characters below); the light-motorcycle plate is blue with white characters and a white
frame line. Running the script again rewrites the same files.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from parts import (BLACK, FONT, GRASS, ROAD, SKY, WHITE, circle, g, line, path, rect, text,
                   write)

PICS = []

PLATE_BLUE = "#0F4DA8"
CARD = "#E6EDF4"
CARD_EDGE = "#7A8CA3"
CARD_HEAD = "#2B4C7E"
INK = "#1F2D40"


def pic(name, body):
    PICS.append(write("moto-law-" + name + ".svg", body))


# ---------------------------------------------------------------- licence

def licence(vehicle_class, first_date, valid_until):
    """The front page of a driving licence with the class field picked out."""
    rows = [("证号", "1101**********0023"), ("姓名", "李某某"), ("性别", "男"),
            ("国籍", "中国"), ("住址", "某市某区某街2号"), ("出生日期", "1998-06-12"),
            ("初次领证日期", first_date)]
    out = [rect(0, 0, 400, 400, WHITE),
           rect(10, 70, 380, 270, CARD, 12, CARD_EDGE, 2),
           rect(10, 70, 380, 42, CARD_HEAD, 12),
           rect(10, 98, 380, 14, CARD_HEAD),
           text(200, 98, "中华人民共和国机动车驾驶证", 19, WHITE)]
    y = 138
    for label, value in rows:
        out += [text(24, y, label, 13, INK, "normal", "start"),
                text(116, y, value, 13, BLACK, "normal", "start"),
                line(20, y + 6, 280, y + 6, "#B8C6D6", 1)]
        y += 21
    # the class field, framed so that the learner finds it at once
    out += [rect(18, y - 17, 264, 30, "#FFF6CC", 4, "#D7000F", 2),
            text(24, y + 4, "准驾车型", 14, INK, "bold", "start"),
            text(130, y + 7, vehicle_class, 24, BLACK, "bold", "start")]
    y += 31
    out += [text(24, y, "有效期限", 13, INK, "normal", "start"),
            text(116, y, first_date + " 至 " + valid_until, 13, BLACK, "normal", "start")]
    # photo and seal
    out += [rect(294, 126, 82, 104, "#C9D5E2", 0, CARD_EDGE, 1),
            circle(335, 164, 19, "#8FA1B5"),
            path("M 302 230 Q 304 196 335 192 Q 366 196 368 230 Z", "#8FA1B5"),
            circle(336, 290, 30, "none", "#D7000F", 2.5),
            circle(336, 290, 24, "none", "#D7000F", 1),
            text(336, 294, "发证机关", 10, "#D7000F", "normal")]
    return out


# ---------------------------------------------------------------- plate

def moto_plate(ground, ink, top, bottom):
    """A motorcycle plate (GA 36 proportions 220 x 140) centred in the picture."""
    w, h = 352, 224
    x, y = 200 - w / 2, 200 - h / 2
    return [rect(0, 0, 400, 400, WHITE),
            rect(x - 6, y - 6, w + 12, h + 12, "#9AA3AD", 16),
            rect(x, y, w, h, ground, 12),
            rect(x + 8, y + 8, w - 16, h - 16, "none", 9, ink, 3),
            circle(x + 58, y + 30, 6, "#D0D6DC", "#5E6873", 1),
            circle(x + w - 58, y + 30, 6, "#D0D6DC", "#5E6873", 1),
            text(200, y + 88, top, 62, ink, "bold", "middle", FONT),
            text(200, y + 190, bottom, 96, ink, "bold", "middle", FONT)]


# ---------------------------------------------------------------- sidecar outfit

def wheel(cx, cy, r):
    return [circle(cx, cy, r, "#1A1A1A"), circle(cx, cy, r * 0.62, "#9AA4AE"),
            circle(cx, cy, r * 0.2, "#5E6873")]


def sidecar_outfit():
    """A motorcycle with a sidecar on its near side, seen from the side, facing right: the
    motorcycle's rear and front wheels show at either end and the sidecar's own wheel in
    front, so that all three wheels are in view."""
    ground = 318
    out = [rect(0, 0, 400, 400, SKY), rect(0, ground - 8, 400, 400 - ground + 8, ROAD),
           rect(0, 360, 400, 40, GRASS)]
    frame = "#2A2A2A"
    paint = "#1F5FA6"
    tub = "#A8322A"
    skin = "#F1C9A0"
    # motorcycle (far side): wheels, frame, fork, tank, seat, head lamp, handlebar
    out += wheel(86, ground - 34, 34) + wheel(322, ground - 34, 34)
    out += [path("M 86 284 L 140 222 L 250 214 L 300 184", "none", frame, 9, "round", "round"),
            path("M 322 284 L 294 172", "none", "#8C96A0", 9, "round"),            # fork
            path("M 62 232 Q 86 220 114 228", "none", paint, 10, "round"),          # mudguard
            path("M 184 212 Q 214 178 262 196 L 258 216 L 190 218 Z", paint, frame, 2),  # tank
            path("M 112 214 Q 146 198 190 206 L 190 218 L 120 224 Z", "#222222"),  # seat
            path("M 304 180 Q 328 176 330 194 L 310 198 Z", "#FFF5B0", frame, 2),  # head lamp
            path("M 284 166 L 306 156", "none", frame, 7, "round")]                # handlebar
    # rider (the near leg disappears behind the sidecar)
    out += [path("M 150 212 L 170 158 L 196 156 L 200 212 Z", "#3A4A66"),        # body
            path("M 190 168 L 240 180 L 288 164", "none", "#3A4A66", 10, "round", "round"),
            circle(290, 163, 5, skin),
            path("M 162 210 L 214 222 L 218 250", "none", "#2B3A55", 13, "round", "round"),
            circle(184, 138, 20, WHITE, BLACK, 2),                                # helmet
            path("M 190 130 L 204 133 L 204 148 L 190 146 Z", "#2B3A55")]         # visor
    # sidecar (near side): chassis, tub, screen, its wheel
    out += [path("M 120 300 L 280 300", "none", frame, 8, "round"),
            path("M 104 262 Q 106 238 140 236 L 262 236 Q 300 240 306 262 "
                 "Q 300 284 262 288 L 132 288 Q 106 286 104 262 Z", tub, frame, 2.5),
            path("M 228 236 Q 246 214 270 216 L 276 238 Z", "#BFD9EE", frame, 2),  # screen
            path("M 122 256 L 290 256", "none", "#E8D0C8", 3, "round"),            # trim
            path("M 168 288 Q 208 258 248 288", tub, frame, 2.5)]                 # wheel arch
    out += wheel(208, ground - 30, 30)
    return out


def main():
    pic("licence-e", licence("E", "2024-03-01", "2030-03-01"))
    pic("plate-light", moto_plate(PLATE_BLUE, WHITE, "京 A", "12345"))
    pic("sidecar", sidecar_outfit())
    for name in PICS:
        print(name)


if __name__ == "__main__":
    main()
