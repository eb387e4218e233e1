#!/usr/bin/env python3
"""Pictures for the road marking, signal light and police hand signal questions of category 02
(files mark-*.svg, light-*.svg, police-hand-*.svg). Run it again to rewrite them all."""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from parts import (GRASS, ROAD, ROAD_LINE_WHITE, WHITE, f, g,  # noqa: E402
                   line, path, person, poly, rect, text, write)
from parts_scenes import (CAR_BLUE, CAR_WHITE, crossroad, curb_strip, dashed,  # noqa: E402
                          hatched_area, lane_arrow, long_line, pavement_text, police_officer,
                          pole, road_scene, signal_unit, stop_line, swing_arrow, the_car,
                          yield_line, zebra)

PICTURES = {}


def picture(name):
    def register(fn):
        PICTURES[name] = fn
        return fn
    return register


# ---------------------------------------------------------------- police hand signals

@picture("police-hand-stop.svg")
def _():
    return police_officer(right="down", left="up_forward")


@picture("police-hand-straight.svg")
def _():
    return police_officer(right="side", left="side", extras=swing_arrow(
        "M 30 176 Q 50 214 104 212", (118, 210), 95))


@picture("police-hand-left-turn.svg")
def _():
    return police_officer(right="forward", left="across", extras=swing_arrow(
        "M 300 232 Q 300 292 246 300", (232, 300), -95))


@picture("police-hand-left-wait.svg")
def _():
    return police_officer(right="down", left="side_low", extras=swing_arrow(
        "M 352 196 Q 372 236 350 272", (342, 284), 205))


@picture("police-hand-right-turn.svg")
def _():
    return police_officer(right="across", left="forward", extras=swing_arrow(
        "M 100 232 Q 100 292 154 300", (168, 300), 95))


@picture("police-hand-lane-change.svg")
def _():
    return police_officer(right="forward_edge", left="down", extras=swing_arrow(
        "M 112 190 L 196 190", (212, 190), 90))


@picture("police-hand-slow.svg")
def _():
    return police_officer(right="front_side", left="down", extras=swing_arrow(
        "M 30 128 Q 16 168 30 200", (36, 214), 160))


@picture("police-hand-pull-over.svg")
def _():
    return police_officer(right="forward_down", left="up_forward", extras=swing_arrow(
        "M 120 262 L 196 262", (212, 262), 90))


# ---------------------------------------------------------------- signal lights

def _inset(states, x=282, y=8, r=13):
    """A small panel with horizontal heads, each `states` item a list of lamp dicts."""
    n = len(states)
    heads = []
    width = 0
    for lamps in states:
        w = len(lamps) * (2 * r + 6) + 6
        heads.append((lamps, w))
        width += w + 8
    out = [rect(x, y, width + 8, 2 * r + 28, WHITE, 8, "#333333", 2)]
    cx = x + 8
    for lamps, w in heads:
        out += signal_unit(lamps, cx + w / 2, y + r + 14, r, horizontal=True, pad=6)[0]
        cx += w + 8
    return out


def _round(state):
    return [dict(colour=c, lit=(c == state)) for c in ("red", "yellow", "green")]


def _arrows(direction, state):
    return [dict(colour=c, symbol=direction, lit=(c == state)) for c in ("red", "yellow",
                                                                         "green")]


def _approach(state_heads, car_y=300, extras=()):
    """Our approach to a crossroad at the top: two lanes up the right half of the road, a
    stop line and a crosswalk, the signal heads shown in a panel on the right."""
    out = crossroad(180, 40, 100, lines_ns=[(0, "double_yellow"), (-50, "white_solid"),
                                            (50, "white_solid")], lines_ew=[(0, "double_yellow")])
    out += [the_car(205, car_y), *_inset(state_heads, 288, 300, r=12)]
    out += list(extras)
    return out


@picture("light-green-left-turn.svg")
def _():
    out = crossroad(200, 170, 100, lines_ns=[(0, "double_yellow"), (-50, "white_solid"),
                                             (50, "white_solid")])
    out += [the_car(232, 236, angle=-28), the_car(152, 96, CAR_BLUE, angle=180)]
    out += swing_arrow("M 212 212 Q 190 170 150 160", (136, 158), -80, color="#FFFFFF", width=4)
    out += _inset([_round("green")], 8, 320)
    return out


@picture("light-red-stop-line.svg")
def _():
    return _approach([_round("red")])


@picture("light-yellow-stop-line.svg")
def _():
    return _approach([_round("yellow")], car_y=250)


@picture("light-red-right-turn-walkers.svg")
def _():
    out = crossroad(200, 170, 100, lines_ns=[(0, "double_yellow"), (-50, "white_solid"),
                                             (50, "white_solid")])
    out += [the_car(272, 262, angle=30)]
    out += [person(328, 170, 0.55), person(354, 240, 0.55)]
    out += _inset([_round("red")], 8, 8)
    return out


def _gantry_heads(heads, r=34, y=200, gap=30):
    """Signal heads hanging from an arm across the top, each a list of lamp dicts."""
    out = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 46, 400, 14, "#6E6E6E")]
    n = len(heads)
    w = 2 * r + 16
    total = n * w + (n - 1) * gap
    x = 200 - total / 2 + w / 2
    for lamps in heads:
        out += [rect(x - 4, 60, 8, 30, "#6E6E6E")]
        out += signal_unit(lamps, x, y, r)[0]
        x += w + gap
    return out


@picture("light-arrows-right-red.svg")
def _():
    return _gantry_heads([_arrows("left", "green"), _arrows("up", "green"),
                          _arrows("right", "red")], r=32)


@picture("light-right-arrow-red-lane.svg")
def _():
    out = road_scene(40, 360, [(40, "edge"), (120, "double_yellow"), (360, "edge")])
    out += long_line(200, "white_solid", 120, 400) + long_line(280, "white_solid", 120, 400)
    out += stop_line(120, 360, 116)
    out += lane_arrow("left", 160, 230, 0.8) + lane_arrow("straight", 240, 230, 0.8)
    out += lane_arrow("right", 320, 230, 0.8)
    out += [the_car(320, 340)]
    out += _inset([_round("green"), _arrows("right", "red")], 150, 10)
    return out


@picture("light-red-round-green-left.svg")
def _():
    return _gantry_heads([_arrows("left", "green"), _round("red")], r=36)


@picture("light-yellow-left-arrow.svg")
def _():
    return _gantry_heads([_arrows("left", "yellow"), _round("red")], r=36)


@picture("light-lane-signals.svg")
def _():
    out = road_scene(40, 360, [(40, "edge"), (146, "white_dashed"), (253, "white_dashed"),
                               (360, "edge")], y0=120)
    out[0] = rect(0, 0, 400, 400, GRASS)
    out.insert(1, rect(0, 0, 400, 120, "#DCEBF5"))
    out += [rect(30, 30, 10, 100, "#6E6E6E"), rect(360, 30, 10, 100, "#6E6E6E"),
            rect(30, 26, 340, 12, "#6E6E6E")]
    for x, lamp_args in ((93, dict(colour="red", symbol="cross")),
                    (200, dict(colour="green", symbol="down")),
                    (306, dict(colour="green", symbol="down"))):
        out += signal_unit([lamp_args], x, 72, 26)[0]
    out += [the_car(200, 310), the_car(306, 200, CAR_WHITE)]
    return out


@picture("light-pedestrian-red.svg")
def _():
    out = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 290, 400, 110, ROAD)]
    for x in range(-40, 440, 40):
        k = (x - 200) * 0.45
        out.append(poly([(x, 300), (x + 18, 300), (x + 18 + k, 392), (x + k, 392)],
                        ROAD_LINE_WHITE))
    out += pole(120, 180, 320)
    out += signal_unit([dict(colour="red", symbol="stand"),
                        dict(colour="green", symbol="walk", lit=False)], 120, 130, 38)[0]
    out += [person(262, 372, 0.62)]
    return out


@picture("light-bicycle.svg")
def _():
    out = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 340, 400, 60, "#BFC6CC")]
    out += pole(200, 300, 340)
    out += signal_unit([dict(colour="red", symbol="bike"),
                        dict(colour="yellow", symbol="bike", lit=False),
                        dict(colour="green", symbol="bike", lit=False)], 200, 170, 40)[0]
    return out


@picture("light-crossing-one-red.svg")
def _():
    out = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 320, 400, 80, "#8C7A66")]
    for x in range(8, 400, 34):
        out.append(rect(x, 336, 18, 50, "#5A4632"))
    out += [rect(0, 346, 400, 8, "#BBBBBB"), rect(0, 368, 400, 8, "#BBBBBB")]
    out += pole(200, 200, 330)
    out += signal_unit([dict(colour="red"), dict(colour="red", lit=False)], 200, 150, 46,
                       horizontal=True)[0]
    return out


# ---------------------------------------------------------------- road markings

def _two_way(center, car_x=250, car_y=310, extras=()):
    """A two-lane road (one lane each way) with the centre line `center`."""
    out = road_scene(100, 300, [(100, "edge"), (200, center), (300, "edge")])
    out += list(extras)
    out += [the_car(car_x, car_y)]
    return out


def _our_lanes(divider, extras=()):
    """The driver's two lanes on the right of a double yellow centre line."""
    out = road_scene(40, 360, [(40, "edge"), (120, "double_yellow"), (240, divider),
                               (360, "edge")])
    out += [the_car(80, 90, CAR_BLUE, angle=180), the_car(180, 160, CAR_WHITE)]
    out += [the_car(300, 300)]
    out += list(extras)
    return out


@picture("mark-white-dashed-lanes.svg")
def _():
    return _our_lanes("white_dashed")


@picture("mark-white-solid-lanes.svg")
def _():
    return _our_lanes("white_solid")


@picture("mark-yellow-solid-center.svg")
def _():
    return _two_way("yellow_solid", extras=[the_car(250, 170, CAR_WHITE),
                                            the_car(150, 60, CAR_BLUE, angle=180)])


@picture("mark-yellow-dashed-side-turn.svg")
def _():
    drive = [rect(0, 110, 100, 70, "#9A9A9A"), rect(10, 40, 60, 70, "#B9A88E"),
             rect(22, 60, 36, 40, "#8E7E66")]
    return [*drive[:0]] + road_scene(100, 300, [(100, "edge"), (200, "yellow_solid_dashed"),
                                                (300, "edge")])[:2] + drive + \
        long_line(100, "edge", 0, 110) + long_line(100, "edge", 180, 400) + \
        long_line(200, "yellow_solid_dashed") + long_line(300, "edge") + \
        [the_car(250, 300)]


@picture("mark-stop-line.svg")
def _():
    out = crossroad(200, 90, 80, lines_ns=[(0, "double_yellow"), (-40, "white_solid"),
                                           (40, "white_solid")], lines_ew=[(0, "double_yellow")],
                    crosswalks=False)
    out += [the_car(240, 320)]
    return out


def _minor_road(line_parts):
    out = [rect(0, 0, 400, 400, GRASS), rect(0, 40, 400, 120, ROAD), rect(130, 160, 140, 240,
                                                                         ROAD)]
    out += [g(long_line(0, "double_yellow", 0, 400), "translate(0 100) rotate(-90) scale(-1 1)")]
    out += long_line(200, "yellow_solid", 176, 400)
    out += line_parts
    out += [the_car(235, 340), the_car(300, 72, CAR_BLUE, angle=-90)]
    return out


@picture("mark-stop-give-way-line.svg")
def _():
    return _minor_road(yield_line(200, 270, 168, stop=True))


@picture("mark-slow-give-way-line.svg")
def _():
    return _minor_road(yield_line(200, 270, 168, stop=False))


def _three_lanes(arrows, car_lane, solid=True, extras=()):
    """Three lanes up the picture between x = 80 and 320 (centre line on the left), guide
    arrows in each, a stop line at the top, the red car in lane `car_lane` (0 = left)."""
    kind = "white_solid" if solid else "white_dashed"
    out = road_scene(20, 380, [(20, "edge"), (80, "double_yellow"), (380, "edge")])
    out[1] = rect(20, 0, 360, 400, ROAD)
    out += [rect(80, 0, 300, 40, ROAD)]
    out += long_line(180, kind, 48, 400) + long_line(280, kind, 48, 400)
    out += stop_line(80, 380, 46)
    for i, a in enumerate(arrows):
        out += lane_arrow(a, 130 + 100 * i, 150, 0.9)
    out += [the_car(130 + 100 * car_lane, 320)]
    out += list(extras)
    return out


@picture("mark-arrow-uturn.svg")
def _():
    return _three_lanes(["uturn", "straight", "right"], 0)


@picture("mark-arrow-straight-left.svg")
def _():
    return _three_lanes(["straight_left", "straight", "right"], 0)


@picture("mark-arrow-left-uturn.svg")
def _():
    return _three_lanes(["left_uturn", "straight", "straight_right"], 0)


@picture("mark-guide-lanes-wrong.svg")
def _():
    return _three_lanes(["left", "straight", "right"], 1)


@picture("mark-arrow-merge-left.svg")
def _():
    out = [rect(0, 0, 400, 400, GRASS),
           poly([(100, 0), (220, 0), (220, 60), (300, 180), (300, 400), (100, 400)], ROAD)]
    out += long_line(100, "double_yellow") + long_line(200, "white_dashed", 150, 400)
    out += [line(220, 0, 220, 60, ROAD_LINE_WHITE, 5), line(220, 60, 300, 180, ROAD_LINE_WHITE,
                                                              5),
            line(300, 180, 300, 400, ROAD_LINE_WHITE, 5)]
    out += lane_arrow("merge_left", 252, 250, 0.8)
    out += [the_car(250, 350), the_car(150, 200, CAR_WHITE)]
    return out


@picture("mark-arrow-left-right.svg")
def _():
    out = [rect(0, 0, 400, 400, GRASS), rect(0, 30, 400, 130, ROAD), rect(120, 160, 160, 240,
                                                                         ROAD)]
    out += [g(long_line(0, "yellow_solid", 0, 400), "translate(0 95) rotate(-90) scale(-1 1)")]
    out += long_line(200, "yellow_solid", 176, 400) + long_line(120, "edge", 160, 400)
    out += long_line(280, "edge", 160, 400) + stop_line(200, 280, 172)
    out += lane_arrow("left_right", 240, 250, 0.8)
    out += [the_car(240, 350)]
    return out


def _crossing_road():
    out = road_scene(60, 340, [(60, "edge"), (200, "double_yellow"), (340, "edge")])
    out += zebra(60, 110, 280, 60)
    out += [the_car(270, 320)]
    return out


@picture("mark-crosswalk.svg")
def _():
    return _crossing_road()


@picture("mark-channel-lines.svg")
def _():
    out = road_scene(40, 360, [(40, "edge"), (360, "edge")])
    out += long_line(120, "white_dashed") + long_line(280, "white_dashed")
    out += hatched_area([(200, 30), (240, 330), (160, 330)], spacing=18, angle=35)
    out += [the_car(300, 300), the_car(80, 250, CAR_WHITE)]
    return out


def _curb_road(kind):
    out = road_scene(40, 300, [(40, "edge"), (170, "white_dashed")])
    out += curb_strip(300)
    out += long_line(292, kind)
    out += [the_car(235, 300)]
    return out


@picture("mark-curb-yellow-solid.svg")
def _():
    return _curb_road("yellow_solid")


@picture("mark-curb-yellow-dashed.svg")
def _():
    return _curb_road("yellow_dashed")


@picture("mark-exit-gore.svg")
def _():
    out = [rect(0, 0, 400, 400, GRASS), rect(40, 0, 200, 400, ROAD),
           poly([(240, 400), (300, 400), (300, 300), (400, 70), (400, 0), (240, 0)], ROAD)]
    out += long_line(40, "edge") + long_line(140, "white_dashed")
    out += hatched_area([(240, 0), (330, 0), (240, 230)], spacing=16, angle=-30)
    out += dashed(240, 400, 240, 232, ROAD_LINE_WHITE, 5, (18, 12))
    out += [line(300, 400, 300, 300, ROAD_LINE_WHITE, 5), line(300, 300, 400, 70,
                                                               ROAD_LINE_WHITE, 5)]
    out += [rect(306, 320, 86, 48, "#00874F", 6), text(349, 354, "出口", 28, WHITE)]
    out += [the_car(192, 120, angle=0)]
    return out


@picture("mark-bus-lane.svg")
def _():
    out = road_scene(40, 360, [(40, "edge"), (146, "white_dashed"), (360, "edge")])
    out += long_line(253, "yellow_dashed")
    out += pavement_text(306, 352, "公交专用", 34, 1.7, ROAD_LINE_WHITE)
    out += [the_car(200, 300), the_car(93, 140, CAR_WHITE)]
    return out


@picture("mark-left-wait-zone.svg")
def _():
    out = crossroad(200, 120, 110, lines_ns=[(0, "double_yellow"), (-55, "white_solid"),
                                             (55, "white_solid")], crosswalks=False)
    # the waiting zone runs from our left lane's stop line into the junction
    out += dashed(202, 234, 188, 110, ROAD_LINE_WHITE, 4, (16, 10))
    out += dashed(255, 234, 238, 110, ROAD_LINE_WHITE, 4, (16, 10))
    out += dashed(188, 110, 238, 110, ROAD_LINE_WHITE, 4, (12, 8))
    out += lane_arrow("left", 228, 300, 0.6) + lane_arrow("straight", 282, 300, 0.6)
    out += [the_car(222, 160, scale=0.7), the_car(282, 372, CAR_WHITE, scale=0.7)]
    out += _inset([_arrows("left", "red"), _arrows("up", "green")], 8, 336)
    return out


@picture("mark-junction-guide-lines.svg")
def _():
    out = crossroad(200, 130, 110, lines_ns=[(0, "double_yellow"), (-55, "white_solid"),
                                             (55, "white_solid")], crosswalks=False)
    for x0, y1 in ((200, 130), (255, 75)):
        d = []
        # quarter curves from our left lane into the western arm
        pts = [(x0 + (90 - x0 + 90 * 0) * 0, 0)]
        cx, cy = 90, 246
        rx, ry = x0 - cx, cy - y1
        n = 14
        for i in range(n):
            a0 = math.radians(90 * i / n)
            a1 = math.radians(90 * (i + 0.55) / n)
            out.append(path(f"M {f(cx + rx * math.cos(a0))} {f(cy - ry * math.sin(a0))} "
                            f"L {f(cx + rx * math.cos(a1))} {f(cy - ry * math.sin(a1))}",
                            "none", ROAD_LINE_WHITE, 4))
    out += [the_car(228, 300, scale=0.7)]
    out += lane_arrow("left", 228, 360, 0.45)
    return out


def _zigzag(x, y0, y1, amp=8, step=24):
    pts = []
    y, k = y1, 0
    while y >= y0:
        pts.append((x + (amp if k % 2 else -amp), y))
        y -= step
        k += 1
    return path("M " + " L ".join(f"{f(a)} {f(b)}" for a, b in pts), "none", ROAD_LINE_WHITE, 5)


@picture("mark-variable-lane.svg")
def _():
    out = _three_lanes(["left", "straight", "right"], 1)
    # repaint the middle lane's borders as zigzag lines with no arrow inside
    out += [rect(175, 48, 10, 352, ROAD), rect(275, 48, 10, 352, ROAD), rect(186, 90, 88, 130, ROAD)]
    out += [_zigzag(180, 52, 400), _zigzag(280, 52, 400)]
    return out


@picture("mark-transverse-slow.svg")
def _():
    out = road_scene(100, 300, [(100, "edge"), (200, "yellow_solid"), (300, "edge")])
    for y in (40, 60, 80, 140, 160, 180):
        out += dashed(202, y, 298, y, ROAD_LINE_WHITE, 6, (20, 10))
    out += [the_car(250, 320)]
    return out


@picture("mark-longitudinal-slow.svg")
def _():
    out = road_scene(100, 300, [(100, "edge"), (200, "yellow_solid"), (300, "edge")])
    for y in range(20, 260, 34):
        for x in (214, 286):
            out.append(poly([(x, y), (x + 6, y + 12), (x, y + 24), (x - 6, y + 12)],
                            ROAD_LINE_WHITE))
    out += [the_car(250, 330)]
    return out


@picture("mark-distance-check.svg")
def _():
    out = road_scene(40, 320, [(40, "edge"), (133, "white_dashed"), (227, "white_dashed"),
                               (320, "edge")])
    for y, label in ((40, "100 m"), (160, "50 m"), (280, "0 m")):
        out += [rect(40, y, 280, 14, ROAD_LINE_WHITE)]
        out += [rect(326, y - 8, 70, 30, "#00874F", 4), text(361, y + 13, label, 18, WHITE)]
    out += [the_car(180, 350), the_car(273, 100, CAR_WHITE)]
    return out


def main(names=None):
    for name, fn in PICTURES.items():
        if names and name not in names:
            continue
        write(name, fn())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
