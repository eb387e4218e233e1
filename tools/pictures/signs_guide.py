#!/usr/bin/env python3
"""Pictures of mandatory, guide, expressway, tourist, work-zone and auxiliary signs.

Writes sign-must-*, sign-guide-*, sign-way-*, sign-tour-*, sign-work-* and sign-aux-* into
assets/bank/pictures/. Colours after GB 5768.2: mandatory and ordinary-road guide signs blue
with white, expressway guide signs green with white, tourist signs brown with white,
work-zone signs orange with black after GB 5768.4, auxiliary plates white with black.
Run again to reproduce every file.
"""
import math

from parts import (BLUE, GREEN, BROWN, ORANGE, RED, YELLOW, WHITE, BLACK, write, g, text,
                   rect, circle, poly, path, line, arrow_path, arrow_uturn, mandatory,
                   prohibition, person, bicycle, f, warning, car_top, GRASS, ROAD)

HORN_GREY = "#BBBBBB"


def car_top_red(x, y):
    return car_top(x, y, 0, "#C8202A", 0.9)


# ---------------------------------------------------------------- local helpers

def square(color=BLUE):
    """A square mandatory or guide sign filling the picture, with a thin white edge."""
    return [rect(12, 12, 376, 376, WHITE, 26, HORN_GREY, 1), rect(22, 22, 356, 356, color, 20)]


def panel(x, y, w, h, color, edge=WHITE):
    """A rectangular board with a white edge just inside its outline (guide-sign style)."""
    return [rect(x, y, w, h, color, 12, HORN_GREY, 1),
            rect(x + 7, y + 7, w - 14, h - 14, "none", 8, edge, 5)]


def row(x, y, left, right, size, fill=WHITE, width=300):
    """A place name flush left and a distance flush right on one line."""
    return [text(x, y, left, size, fill, anchor="start"),
            text(x + width, y, right, size, fill, anchor="end")]


def scaled(body, scale, cx, cy):
    """`body` (drawn for a 400 x 400 picture) shrunk by `scale` and centred on (cx, cy)."""
    return g(body, f"translate({f(cx - 200 * scale)} {f(cy - 200 * scale)}) scale({scale})")


def with_plate(main, lines, size=44, h=None):
    """A main sign in the upper part and an auxiliary plate (white, black text) below it."""
    n = len(lines)
    h = h or (40 + 58 * n)
    y = 392 - h
    sc = min(0.62, (y - 24) / 400)
    out = [scaled(main, sc, 200, 12 + sc * 200)]
    out.append(rect(40, y, 320, h, WHITE, 10, BLACK, 5))
    for i, s in enumerate(lines):
        out.append(text(200, y + 20 + 58 * i + 29 + size * 0.36, s, size, BLACK))
    return out


def car_icon(x, y, s=1.0, fill=WHITE):
    """A car silhouette seen from the side, wheels on y, centred on x."""
    return g([path(f"M {-92*s} {-22*s} L {-86*s} {-50*s} L {-50*s} {-56*s} L {-26*s} {-86*s} "
                   f"L {40*s} {-86*s} L {66*s} {-56*s} L {90*s} {-50*s} L {94*s} {-22*s} Z", fill),
              path(f"M {-16*s} {-78*s} L {34*s} {-78*s} L {52*s} {-58*s} L {-34*s} {-58*s} Z",
                   BLUE if fill == WHITE else WHITE),
              circle(-54 * s, -20 * s, 19 * s, fill),
              circle(56 * s, -20 * s, 19 * s, fill)],
             f"translate({f(x)} {f(y)})")


def bus_icon(x, y, s=1.0, fill=WHITE, back=BLUE):
    """A bus silhouette seen from the side, wheels on y, centred on x."""
    win = [rect((-100 + 34 * i) * s, -82 * s, 26 * s, 26 * s, back, 3) for i in range(6)]
    return g([rect(-110 * s, -96 * s, 220 * s, 78 * s, fill, 10 * s)] + win +
             [circle(-62 * s, -18 * s, 18 * s, fill), circle(-62 * s, -18 * s, 8 * s, back),
              circle(64 * s, -18 * s, 18 * s, fill), circle(64 * s, -18 * s, 8 * s, back)],
             f"translate({f(x)} {f(y)})")


def horn_symbol(fill=WHITE):
    """A horn with three sound arcs, opening to the right."""
    return [rect(92, 178, 34, 44, fill, 4),
            poly([(124, 182), (226, 128), (226, 272), (124, 218)], fill),
            path("M 252 160 Q 272 200 252 240", "none", fill, 14, "round"),
            path("M 280 134 Q 312 200 280 266", "none", fill, 14, "round"),
            path("M 308 108 Q 352 200 308 292", "none", fill, 14, "round")]


def place_arrow(x, y, direction, size=60, fill=WHITE):
    """A short block arrow centred on (x, y) pointing up, left, right or up-right."""
    a = {"up": -90, "left": 180, "right": 0, "upright": -45, "downright": 45, "down": 90}[direction]
    r = math.radians(a)
    dx, dy = math.cos(r) * size / 2, math.sin(r) * size / 2
    return arrow_path([(x - dx, y - dy), (x + dx, y + dy)], width=size * 0.3, head=size * 0.62,
                      fill=fill)


# ---------------------------------------------------------------- mandatory signs

def must_pictures():
    w = {}
    w["sign-must-turn-left.svg"] = mandatory(
        arrow_path([(240, 325), (240, 190), (80, 190)], 46, 100))
    w["sign-must-turn-right.svg"] = mandatory(
        arrow_path([(160, 325), (160, 190), (320, 190)], 46, 100))
    w["sign-must-straight-left.svg"] = mandatory(
        arrow_path([(235, 330), (235, 70)], 44, 92) +
        arrow_path([(235, 205), (75, 205)], 44, 92))
    w["sign-must-straight-right.svg"] = mandatory(
        arrow_path([(165, 330), (165, 70)], 44, 92) +
        arrow_path([(165, 205), (325, 205)], 44, 92))
    w["sign-must-left-right.svg"] = mandatory(
        arrow_path([(200, 330), (200, 200), (75, 200)], 44, 92) +
        arrow_path([(200, 200), (325, 200)], 44, 92))
    w["sign-must-keep-right.svg"] = mandatory(arrow_path([(112, 112), (292, 292)], 48, 110))
    w["sign-must-keep-left.svg"] = mandatory(arrow_path([(288, 112), (108, 292)], 48, 110))
    # Cloverleaf: straight on, and a left turn made by a loop to the right after the crossing.
    w["sign-must-interchange-left.svg"] = mandatory(
        [path("M 176 150 L 236 150 A 60 60 0 0 1 236 270 L 110 270", "none", WHITE, 30),
         poly([(58, 270), (114, 236), (114, 304)], WHITE),
         rect(150, 246, 52, 48, BLUE)] +
        arrow_path([(176, 345), (176, 55)], 34, 84))
    w["sign-must-u-turn.svg"] = mandatory(arrow_uturn(left=True, width=42))
    w["sign-must-walk.svg"] = mandatory([person(200, 330, 2.4, WHITE)])
    w["sign-must-horn.svg"] = mandatory(horn_symbol())
    w["sign-must-motor-vehicles.svg"] = mandatory([car_icon(200, 250, 1.35)])
    w["sign-must-bicycles.svg"] = mandatory([bicycle(200, 272, 2.6, WHITE)])
    # Rectangular and square mandatory signs.
    w["sign-must-one-way-right.svg"] = [rect(10, 110, 380, 180, WHITE, 16, HORN_GREY, 1),
                                        rect(18, 118, 364, 164, BLUE, 12)] + \
        arrow_path([(50, 200), (350, 200)], 56, 120)
    w["sign-must-one-way-straight.svg"] = [rect(110, 10, 180, 380, WHITE, 16, HORN_GREY, 1),
                                           rect(118, 18, 164, 364, BLUE, 12)] + \
        arrow_path([(200, 350), (200, 50)], 56, 120)
    w["sign-must-priority.svg"] = square() + [rect(60, 188, 280, 24, WHITE)] + \
        arrow_path([(200, 345), (200, 55)], 70, 150)
    # Own direction (white, up) drawn larger than the oncoming one (red, down).
    w["sign-must-oncoming-first.svg"] = square() + \
        arrow_path([(136, 92), (136, 312)], 30, 74, RED) + \
        arrow_path([(258, 340), (258, 60)], 46, 104, WHITE)
    zebra = [rect(74 + 44 * i, 292, 26, 40, BLACK) for i in range(6)]
    w["sign-must-crosswalk.svg"] = square() + \
        [poly([(200, 44), (356, 340), (44, 340)], WHITE, WHITE, 10, "round")] + zebra + \
        [person(200, 286, 1.7, BLACK)]
    lanes = [rect(10, 80, 380, 240, WHITE, 16, HORN_GREY, 1), rect(18, 88, 364, 224, BLUE, 12)]
    for x in (140, 260):
        lanes.append(line(x, 96, x, 304, WHITE, 6, dash="26 16"))
    lanes += arrow_path([(105, 295), (105, 190), (36, 190)], 24, 52)
    lanes += arrow_path([(200, 295), (200, 110)], 24, 52)
    lanes += arrow_path([(300, 295), (300, 110)], 24, 52)
    lanes += arrow_path([(300, 200), (366, 200)], 24, 52)
    w["sign-must-lanes.svg"] = lanes
    w["sign-must-bus-lane.svg"] = [rect(10, 70, 380, 260, WHITE, 16, HORN_GREY, 1),
                                   rect(18, 78, 364, 244, BLUE, 12),
                                   bus_icon(200, 205, 1.25),
                                   text(200, 290, "公交专用", 62, WHITE)]
    w["sign-must-bicycle-lane.svg"] = [rect(50, 10, 300, 380, WHITE, 16, HORN_GREY, 1),
                                       rect(58, 18, 284, 364, BLUE, 12),
                                       bicycle(200, 180, 1.9, WHITE)] + \
        arrow_path([(200, 220), (200, 360)], 36, 80)
    return w


# ---------------------------------------------------------------- guide signs (ordinary roads)

def guide_pictures():
    w = {}
    # Crossroads ahead: the layout of the junction with the places each way leads.
    cr = panel(10, 30, 380, 340, BLUE)
    cr += [rect(182, 160, 36, 190, WHITE), rect(70, 236, 260, 36, WHITE)]
    cr += [poly([(200, 112), (164, 170), (236, 170)], WHITE),
           poly([(34, 254), (86, 220), (86, 288)], WHITE),
           poly([(366, 254), (314, 220), (314, 288)], WHITE)]
    cr += [text(200, 96, "临安", 48, WHITE), text(96, 208, "桐庐", 48, WHITE),
           text(304, 208, "杭州", 48, WHITE), text(300, 342, "500 m", 40, WHITE)]
    w["sign-guide-crossroads-ahead.svg"] = cr
    # Junction notice: the roads each turn leads to.
    jn = panel(10, 70, 380, 260, BLUE)
    jn += place_arrow(60, 130, "left", 64) + [text(110, 148, "人民路", 48, WHITE, anchor="start")]
    jn += place_arrow(60, 204, "up", 64) + [text(110, 222, "中山路", 48, WHITE, anchor="start")]
    jn += place_arrow(60, 278, "right", 64) + [text(110, 296, "解放路", 48, WHITE, anchor="start")]
    w["sign-guide-junction.svg"] = jn
    dist = panel(10, 70, 380, 260, BLUE)
    dist += row(48, 142, "东阳", "12 km", 50)
    dist += row(48, 218, "义乌", "45 km", 50)
    dist += row(48, 294, "金华", "86 km", 50)
    w["sign-guide-distance.svg"] = dist
    # Footbridge: a walker climbing the stairs up to a deck above the road.
    fb = square() + [rect(190, 120, 160, 22, WHITE), rect(320, 142, 18, 210, WHITE)]
    steps = "M 50 352 " + " ".join(f"L {50 + 24 * i} {352 - 30 * (i + 1)} L {74 + 24 * i} "
                                   f"{352 - 30 * (i + 1)}" for i in range(7)) + \
        " L 218 142 L 218 352 Z"
    fb += [path(steps, WHITE), person(140, 230, 1.05, WHITE)]
    w["sign-guide-footbridge.svg"] = fb
    # Underpass: a walker going down the stairs below the ground line.
    up = square() + [rect(40, 110, 320, 18, WHITE)]
    up += [path("M 40 360 L 40 160 " + " ".join(
        f"L {70 + 30 * i} {160 + 30 * i} L {100 + 30 * i} {160 + 30 * i}" for i in range(6)) +
        " L 360 310 L 360 360 Z", WHITE), person(250, 310, 0.95, WHITE)]
    w["sign-guide-underpass.svg"] = up
    w["sign-guide-route-g318.svg"] = [rect(40, 110, 320, 180, RED, 14, HORN_GREY, 1),
                                      rect(50, 120, 300, 160, "none", 8, WHITE, 6),
                                      text(200, 240, "G318", 110, WHITE)]
    w["sign-guide-route-s212.svg"] = [rect(40, 110, 320, 180, YELLOW, 14, HORN_GREY, 1),
                                      rect(50, 120, 300, 160, "none", 8, BLACK, 6),
                                      text(200, 240, "S212", 110, BLACK)]
    return w


# ---------------------------------------------------------------- expressway guide signs

def way_pictures():
    w = {}
    ea = panel(10, 80, 380, 240, GREEN)
    ea += [text(200, 160, "诸暨  枫桥", 56, WHITE),
           rect(44, 196, 312, 4, WHITE),
           text(120, 270, "出口", 54, WHITE), text(290, 270, "2 km", 54, WHITE)]
    w["sign-way-exit-ahead.svg"] = ea
    ex = panel(10, 80, 380, 240, GREEN)
    ex += [text(150, 170, "诸暨", 64, WHITE), text(150, 262, "出口", 64, WHITE)]
    ex += arrow_path([(262, 276), (346, 132)], 34, 76)
    w["sign-way-exit.svg"] = ex
    w["sign-way-end-ahead.svg"] = panel(10, 80, 380, 240, GREEN) + [
        text(200, 162, "沪昆高速", 56, WHITE), rect(44, 196, 312, 4, WHITE),
        text(120, 270, "终点", 54, WHITE), text(290, 270, "2 km", 54, WHITE)]
    w["sign-way-next-exit.svg"] = panel(40, 80, 320, 240, GREEN) + [
        text(200, 176, "下一出口", 62, WHITE), text(200, 270, "8 km", 62, WHITE)]
    # Service area ahead: fuel, food and repair symbols over the distance.
    sv = panel(10, 50, 380, 300, GREEN)
    sv += [rect(46, 82, 92, 92, WHITE, 8), rect(154, 82, 92, 92, WHITE, 8),
           rect(262, 82, 92, 92, WHITE, 8)]
    sv += [rect(72, 100, 30, 60, GREEN, 3), rect(77, 106, 20, 14, WHITE),
           path("M 102 110 L 114 120 L 114 150", "none", GREEN, 5)]
    sv += [path("M 186 98 L 186 158 M 176 98 L 176 122 Q 186 132 196 122 L 196 98", "none",
                GREEN, 6),
           path("M 214 158 L 214 98 Q 228 110 222 132 L 214 132", GREEN, GREEN, 4)]
    sv += [path("M 282 158 L 322 112", "none", GREEN, 12, "round"),
           circle(324, 108, 16, GREEN), circle(328, 104, 8, WHITE)]
    sv += [text(120, 290, "服务区", 54, WHITE), text(300, 290, "2 km", 54, WHITE)]
    w["sign-way-service-ahead.svg"] = sv
    pk = panel(10, 50, 380, 300, GREEN)
    pk += [rect(96, 82, 92, 92, WHITE, 8), text(142, 156, "P", 80, GREEN),
           rect(212, 82, 92, 92, WHITE, 8)]
    pk += [person(240, 166, 0.72, GREEN, walking=False), circle(276, 96, 8, GREEN),
           path("M 276 108 L 262 150 L 290 150 Z", GREEN),
           path("M 270 150 L 270 166 M 282 150 L 282 166", "none", GREEN, 6)]
    pk += [text(120, 290, "停车区", 54, WHITE), text(300, 290, "1 km", 54, WHITE)]
    w["sign-way-parking-ahead.svg"] = pk
    # Emergency telephone: a handset.
    ph = square(GREEN)
    ph += [path("M 110 150 Q 110 110 150 104 L 250 104 Q 290 110 290 150 L 290 170 L 246 170 "
                "L 246 146 L 154 146 L 154 170 L 110 170 Z", WHITE),
           path("M 150 196 L 250 196 L 300 320 L 100 320 Z", WHITE),
           circle(200, 262, 34, GREEN), circle(200, 262, 14, WHITE),
           rect(176, 160, 48, 40, WHITE)]
    w["sign-way-emergency-phone.svg"] = ph
    w["sign-way-distance-check.svg"] = panel(40, 40, 320, 320, GREEN) + [
        text(200, 160, "车距确认", 62, WHITE), rect(74, 196, 252, 4, WHITE),
        text(200, 290, "50 m", 80, WHITE)]
    w["sign-way-toll-ahead.svg"] = panel(40, 80, 320, 240, GREEN) + [
        text(200, 176, "收费站", 62, WHITE), text(200, 270, "1 km", 62, WHITE)]
    # National expressway number: red cap with 国家高速, green field with the number.
    w["sign-way-route-g15.svg"] = [
        rect(60, 50, 280, 300, WHITE, 18, HORN_GREY, 1),
        path("M 68 130 L 68 76 Q 68 58 86 58 L 314 58 Q 332 58 332 76 L 332 130 Z", RED),
        text(200, 114, "国家高速", 50, WHITE),
        path("M 68 138 L 332 138 L 332 324 Q 332 342 314 342 L 86 342 Q 68 342 68 324 Z", GREEN),
        text(200, 280, "G15", 120, WHITE)]
    # Overhead lane guidance: two through lanes and the exit lane on the right.
    gt = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 300, 400, 100, "#5A5A5A"),
          rect(14, 50, 372, 200, WHITE, 12, HORN_GREY, 1),
          rect(20, 56, 240, 188, GREEN, 8), rect(266, 56, 114, 188, GREEN, 8),
          rect(26, 62, 228, 176, "none", 6, WHITE, 4), rect(272, 62, 102, 176, "none", 6, WHITE, 4),
          text(140, 120, "杭州", 54, WHITE), text(323, 112, "诸暨", 40, WHITE),
          text(323, 158, "出口", 40, WHITE)]
    gt += place_arrow(86, 186, "down", 80) + place_arrow(194, 186, "down", 80)
    gt += place_arrow(323, 202, "downright", 62)
    for x in (133, 266):
        gt.append(line(x, 300, x, 400, WHITE, 5, dash="24 14"))
    w["sign-way-lane-guide.svg"] = gt
    return w


# ---------------------------------------------------------------- tourist signs

def tour_pictures():
    w = {}
    td = panel(10, 80, 380, 240, BROWN)
    td += [rect(40, 120, 110, 110, WHITE, 8),
           path("M 52 214 L 80 160 L 96 184 L 112 148 L 140 214 Z", BROWN),
           path("M 52 214 Q 96 198 140 214", "none", WHITE, 4),
           text(270, 196, "千岛湖", 60, WHITE)]
    td += arrow_path([(170, 272), (350, 272)], 26, 58)
    w["sign-tour-direction.svg"] = td
    tdi = panel(10, 110, 380, 180, BROWN)
    tdi += [rect(36, 142, 116, 116, WHITE, 8),
            path("M 48 244 L 76 176 L 94 206 L 112 164 L 140 244 Z", BROWN),
            text(268, 198, "雁荡山", 56, WHITE), text(268, 262, "18 km", 52, WHITE)]
    w["sign-tour-distance.svg"] = tdi
    camp = square(BROWN)
    camp += [poly([(200, 90), (340, 320), (60, 320)], WHITE),
             poly([(200, 190), (246, 320), (154, 320)], BROWN),
             line(200, 70, 200, 96, WHITE, 8), rect(40, 320, 320, 10, WHITE)]
    w["sign-tour-camping.svg"] = camp
    cab = square(BROWN)
    cab += [line(30, 110, 370, 60, WHITE, 8), line(200, 85, 200, 170, WHITE, 8),
            rect(120, 170, 160, 150, WHITE, 18),
            rect(138, 196, 56, 60, BROWN, 6), rect(206, 196, 56, 60, BROWN, 6),
            circle(200, 84, 12, WHITE)]
    w["sign-tour-cableway.svg"] = cab
    return w


# ---------------------------------------------------------------- work-zone signs

# The worker digging beside a heap, as on the 施工 warning sign (drawn around (222, 318)).
WORKER = [circle(-6, -150, 13, BLACK),
          path("M -4 -132 L 12 -82", "none", BLACK, 18, "round"),
          path("M 12 -84 L -6 -44 L -10 0 M 12 -84 L 34 -46 L 40 -6", "none", BLACK, 14,
               "round", "round"),
          path("M 0 -124 L -28 -104 L -50 -90 M 2 -122 L -22 -96", "none", BLACK, 10, "round",
               "round"),
          path("M -14 -130 L -70 -44", "none", BLACK, 7, "round"),
          poly([(-82, -50), (-64, -38), (-74, -20), (-92, -30)], BLACK)]
CONE = "#F26B00"


def work_triangle():
    """The work-zone 施工 sign: the warning triangle in orange with the digging worker."""
    out = warning([g(WORKER, "translate(222 318)"),
                   path("M 92 318 Q 110 276 140 290 Q 160 300 168 318 Z", BLACK)])
    return [e.replace(YELLOW, ORANGE) for e in out]


def speed_limit(value):
    return prohibition([text(200, 254, value, 150, BLACK)], bar=False)


def cone_top(x, y, r=13):
    """A traffic cone seen from above: orange with a white reflective ring."""
    return [circle(x, y, r, CONE, "#333333", 1.5), circle(x, y, r * 0.62, WHITE),
            circle(x, y, r * 0.36, CONE)]


def work_pictures():
    w = {}
    w["sign-work-ahead.svg"] = with_plate(work_triangle(), ["1 km"], 52)
    # The 施工 sign with a speed limit below it on the same post.
    sp = [rect(194, 180, 12, 220, "#8C8C8C"),
          scaled(work_triangle(), 0.46, 200, 100), scaled(speed_limit("40"), 0.46, 200, 296)]
    w["sign-work-speed.svg"] = sp
    # Two lanes seen from above; cones close the right lane ahead of a works area.
    sc = [rect(0, 0, 400, 400, GRASS), rect(70, 0, 260, 400, ROAD),
          line(76, 0, 76, 400, WHITE, 5), line(324, 0, 324, 400, WHITE, 5),
          line(200, 0, 200, 400, WHITE, 5, dash="30 22"),
          rect(214, 0, 104, 130, "#7A7A7A")]
    sc += [circle(250, 50, 20, "#C9A46A"), rect(262, 62, 44, 54, "#FFB400", 6, "#333333", 2)]
    for i in range(7):
        sc += cone_top(316 - 17 * i, 262 - 22 * i)
    for y in (100, 68, 36, 4):
        sc += cone_top(214, y)
    sc += [car_top_red(264, 356)]
    sc += [rect(352, 290, 6, 60, "#8C8C8C"),
           scaled(work_triangle(), 0.16, 355, 272)]
    w["sign-work-zone-right.svg"] = sc
    # A works vehicle with a lamp arrow board on its back, telling traffic to pass on the left.
    mb = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 330, 400, 70, "#5A5A5A"),
          rect(40, 250, 320, 80, "#F5F5F5", 6, "#333333", 2),
          rect(44, 290, 312, 14, ORANGE), rect(44, 312, 312, 14, ORANGE),
          circle(90, 338, 22, "#222222"), circle(310, 338, 22, "#222222"),
          rect(186, 220, 28, 34, "#555555"),
          rect(50, 40, 300, 190, "#1A1A1A", 8, "#555555", 3)]
    lamps = [(84 + 24 * i, 135) for i in range(11)]
    lamps += [(84 + 22 * k, 135 + sgn * 20 * k) for k in (1, 2, 3) for sgn in (-1, 1)]
    mb += [circle(x, y, 9, "#FFC000") for x, y in lamps]
    w["sign-work-mobile.svg"] = mb
    return w


# ---------------------------------------------------------------- auxiliary plates

def no_parking_symbol():
    return [circle(200, 200, 190, WHITE, HORN_GREY, 1), circle(200, 200, 181, RED),
            circle(200, 200, 143, BLUE),
            rect(57, 186, 286, 28, RED) .replace("/>", ' transform="rotate(45 200 200)"/>'),
            rect(57, 186, 286, 28, RED) .replace("/>", ' transform="rotate(-45 200 200)"/>')]


def aux_pictures():
    w = {}
    w["sign-aux-time.svg"] = with_plate(no_parking_symbol(), ["7:00-19:00"], 52)
    no_left = prohibition(arrow_path([(240, 320), (240, 190), (90, 190)], 40, 90, BLACK))
    w["sign-aux-vehicle.svg"] = with_plate(no_left, ["货车"], 56)
    no_horn = prohibition(horn_symbol(BLACK))
    w["sign-aux-distance.svg"] = with_plate(no_horn, ["向前200 m"], 52)
    no_entry = [circle(200, 200, 190, WHITE, HORN_GREY, 1), circle(200, 200, 181, RED),
                rect(60, 172, 280, 56, WHITE)]
    w["sign-aux-combined.svg"] = with_plate(no_entry, ["7:00-22:00", "货车"], 46)
    bus = [rect(10, 70, 380, 260, WHITE, 16, HORN_GREY, 1), rect(18, 78, 364, 244, BLUE, 12),
           bus_icon(200, 205, 1.25), text(200, 290, "公交专用", 62, WHITE)]
    w["sign-aux-bus-lane-time.svg"] = with_plate(bus, ["7:00-9:00", "17:00-19:00"], 44)
    return w


def main():
    names = []
    for group in (must_pictures, guide_pictures, way_pictures, tour_pictures, work_pictures,
                  aux_pictures):
        for name, body in group().items():
            names.append(write(name, body))
    return names


if __name__ == "__main__":
    for n in main():
        print(n)
