#!/usr/bin/env python3
"""Pictures for the motorcycle questions on signal lights, road markings and police hand
signals: the rider (a motorcycle seen from above) in a lane of a road, at a crossroads or in
front of a signal; the officer giving each of the eight hand signals.

Run from anywhere: writes assets/bank/pictures/moto-scene-*, moto-mark-*, moto-light-* and
moto-police-*.svg; running it again reproduces the same files.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from parts import (WHITE, ROAD, ROAD_LINE_WHITE as LW, ROAD_LINE_YELLOW as LY, GRASS, rect,
                   circle, poly, line, path, g, write, car_top, truck_side)
from parts_moto_scenes import (moto_top, bus_top, walker_top, cyclist_top, dashed_v, solid_v,
                               stop_line, crosswalk_h, crosswalk_v, lane_arrow, road_text,
                               crossroads, straight_road, signal, panel, police, label, dashed_path,
                               SIDEWALK)

RED_CAR = "#B8262E"
WHITE_CAR = "#E9E9E9"
STOP_Y = 226            # stop line of the approach at a crossroads
RED3 = [("circle", "red"), ("circle", None), ("circle", None)]
YEL3 = [("circle", None), ("circle", "yellow"), ("circle", None)]
GRN3 = [("circle", None), ("circle", None), ("circle", "green")]


def arrow_head(kind, colour):
    """Three lamps of one direction head with the lit one in `colour`."""
    order = ["red", "yellow", "green"]
    return [(kind, c if c == colour else None) for c in order]


def approach(arrows=("left", "straight", "straight_right"), solid=True, crosswalk=True,
             stop=True, right_bike=False):
    """A crossroads with the rider's approach coming up from the bottom: a double yellow centre
    line, len(arrows) lanes of ours between x=200 and x=340 with their guide arrows, the guide
    lane lines solid near the stop line, a crosswalk before the cross road."""
    x1 = 340
    out = crossroads(60, x1)
    out += [line(196, 0, 196, 28, LY, 3), line(204, 0, 204, 28, LY, 3),
            line(0, 91, 48, 91, LY, 3), line(0, 99, 48, 99, LY, 3),
            line(352, 91, 400, 91, LY, 3), line(352, 99, 400, 99, LY, 3)]
    if crosswalk:
        out += crosswalk_h(60, x1, 168, 212)
    out += [line(196, STOP_Y - 4, 196, 400, LY, 3), line(204, STOP_Y - 4, 204, 400, LY, 3),
            dashed_v(130, STOP_Y + 30, 400)]
    if stop:
        out.append(stop_line(204, x1, STOP_Y))
    n = len(arrows)
    w = (x1 - 204) / n
    for i in range(1, n):
        x = 204 + i * w
        out.append(solid_v(x, STOP_Y, 330) if solid else dashed_v(x, STOP_Y, 400))
        if solid:
            out.append(dashed_v(x, 348, 400))
    for i, a in enumerate(arrows):
        out += lane_arrow(a, 204 + (i + 0.5) * w, 280, 0.8)
    return out


def lane_x(i, n=3):
    w = (340 - 204) / n
    return 204 + (i + 0.5) * w


def sig_panel(heads, rays=()):
    """Signal heads in an inset at the top right, one head per row."""
    h = 14 + 44 * len(heads)
    out = [panel(236, 4, 160, h)]
    for i, lamps in enumerate(heads):
        out += signal(lamps, 316, 28 + 44 * i, r=15, rays=rays if i == 0 else ())
    return out


def scene(name, body):
    return write(name, body)


# ---------------------------------------------------------------- signal lights

def lights():
    a3 = ("left", "straight", "straight_right")
    scene("moto-light-green-go.svg",
          approach(a3) + [moto_top(lane_x(1), 352)] + sig_panel([GRN3]))
    scene("moto-light-red-right.svg",
          approach(("left", "straight", "right")) + [moto_top(lane_x(2), 352),
                                                     car_top(lane_x(1), 272)] + sig_panel([RED3]))
    scene("moto-light-red-over.svg",
          approach(a3) + [moto_top(lane_x(1), 206), car_top(lane_x(0), 272)] + sig_panel([RED3]))
    scene("moto-light-yellow-over.svg",
          approach(a3) + [moto_top(lane_x(1), 196)] + sig_panel([YEL3]))
    # arrow lights
    body = approach(a3) + [moto_top(lane_x(0), 352)]
    scene("moto-light-arrow-left-green.svg",
          body + sig_panel([arrow_head("left", "green"), arrow_head("up", "red")]))
    body = approach(a3) + [moto_top(lane_x(1), 352)]
    scene("moto-light-arrow-straight-red.svg",
          body + sig_panel([arrow_head("left", "green"), arrow_head("up", "red")]))
    body = approach(("left", "straight", "right")) + [moto_top(lane_x(2), 352)]
    scene("moto-light-arrow-right-red.svg",
          body + sig_panel([GRN3, arrow_head("right", "red")]))
    body = approach(a3) + [moto_top(lane_x(1), 330)]
    scene("moto-light-arrows-three.svg",
          body + sig_panel([arrow_head("left", "red"), arrow_head("up", "green"),
                            arrow_head("right", "green")]))
    # lane signals over a three-lane carriageway
    for name, lane in (("moto-light-lane-green.svg", 1), ("moto-light-lane-red.svg", 2)):
        body = straight_road(60, 340) + [dashed_v(153, 0, 400), dashed_v(247, 0, 400),
                                         solid_v(64, 0, 400), solid_v(336, 0, 400)]
        body += [rect(56, 10, 288, 4, "#55606B"), panel(66, 18, 268, 62)]
        for i, (k, c) in enumerate((("cross", "red"), ("down", "green"), ("cross", "red")
                                    if lane == 2 else ("down", "green"))):
            body += signal([(k, c)], 107 + 93 * i, 49, r=22)
        body += [car_top(107, 300, 0, WHITE_CAR), moto_top(107 + 93 * lane, 330)]
        scene(name, body)
    # level crossing seen from above, the crossing's red lamps in the inset
    def crossing(lamps, rays, name):
        body = straight_road(100, 300)
        body += [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3)]
        body += [rect(100, 110, 200, 70, "#6E6A62")]
        for x in range(104, 300, 16):
            body.append(rect(x, 116, 8, 58, "#7A5A3A"))
        body += [rect(0, 110, 100, 70, "#A9A296"), rect(300, 110, 100, 70, "#A9A296"),
                 line(0, 130, 400, 130, "#4A4A4A", 5), line(0, 160, 400, 160, "#4A4A4A", 5),
                 stop_line(204, 300, 236)]
        body += [moto_top(252, 286)]
        body += [panel(236, 4, 160, 82), rect(306, 52, 12, 32, "#333333")]
        body += signal(lamps, 316, 40, r=15, rays=rays)
        scene(name, body)
    crossing([("circle", "red"), ("circle", None)], (0,), "moto-light-rail-flash.svg")
    crossing([("circle", None), ("circle", None)], (), "moto-light-rail-off.svg")
    # a motor-vehicle head and a bicycle head, the rider beside a bicycle lane
    body = crossroads(60, 360) + crosswalk_h(60, 360, 168, 212)
    body += [line(196, STOP_Y - 4, 196, 400, LY, 3), line(204, STOP_Y - 4, 204, 400, LY, 3),
             stop_line(204, 360, STOP_Y), solid_v(290, STOP_Y, 400), dashed_v(247, STOP_Y, 400)]
    body += [cyclist_top(325, 300), moto_top(268, 266)]
    body += [g(lane_arrow("straight", 0, 0, 0.8), "translate(226 310)")]
    body += [panel(200, 4, 196, 96)] + signal(RED3, 268, 28, r=14)
    body += signal([("bicycle", None), ("bicycle", None), ("bicycle", "green")], 268, 74, r=14)
    scene("moto-light-bike-signal.svg", body)
    # flashing yellow warning light over a crosswalk between junctions
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(270, 0, 400)]
    body += crosswalk_h(60, 340, 120, 180) + [walker_top(150, 150), moto_top(235, 300)]
    body += [panel(276, 4, 120, 64)] + signal([("circle", "yellow")], 336, 36, r=16, rays=(0,))
    scene("moto-light-flash-crosswalk.svg", body)
    # pedestrian signal green for the crosswalk the rider turns across
    body = approach(("left", "straight", "right")) + crosswalk_v(40, 150, 352, 396)
    body += [walker_top(374, 92), moto_top(lane_x(2), 352)]
    body += [panel(236, 4, 160, 60), rect(292, 12, 48, 46, "#1E1E1E", 6),
             rect(348, 12, 40, 46, "#1E1E1E", 6), circle(316, 35, 18, "#3A3A3A")]
    body += [_walker_lamp(368, 35)]
    scene("moto-light-walk-signal.svg", body)

    # more arrow and round-light situations
    body = approach(("left", "straight", "right")) + [moto_top(lane_x(2), 352)]
    scene("moto-light-arrow-right-green.svg",
          body + sig_panel([RED3, arrow_head("right", "green")]))
    body = approach(a3) + [moto_top(lane_x(0), 352), car_top(lane_x(1), 272, 0, WHITE_CAR)]
    scene("moto-light-red-left-lane.svg", body + sig_panel([RED3]))
    body = approach(a3) + [moto_top(lane_x(0), 352)]
    scene("moto-light-green-left-lane.svg", body + sig_panel([GRN3]))


def _walker_lamp(cx, cy):
    """A lit green walking figure of a crosswalk signal."""
    c = "#14B04A"
    return g([circle(0, -14, 3.5, c), line(0, -9, 0, 4, c, 4, "round"),
              line(0, 4, -6, 15, c, 3.5, "round"), line(0, 4, 6, 15, c, 3.5, "round"),
              line(0, -6, -7, 3, c, 3, "round"), line(0, -6, 7, 1, c, 3, "round")],
             f"translate({cx} {cy})")


# ---------------------------------------------------------------- road markings

def two_way(center, moto_x=250, moto_y=300, extra=()):
    body = straight_road(60, 340) + [solid_v(64, 0, 400), solid_v(336, 0, 400)] + list(center)
    body += list(extra) + [moto_top(moto_x, moto_y)]
    return body


def markings():
    # same-direction dashed lane line, the rider in the right lane
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(270, 0, 400), solid_v(336, 0, 400),
                                     car_top(130, 120, 180, WHITE_CAR), moto_top(305, 300)]
    scene("moto-mark-white-dashed.svg", body)
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     solid_v(270, 0, 400), solid_v(336, 0, 400),
                                     car_top(235, 150, 0, WHITE_CAR), moto_top(305, 300)]
    scene("moto-mark-white-solid.svg", body)
    # change lanes with a car coming up close behind in the left lane
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(270, 0, 400), solid_v(336, 0, 400),
                                     car_top(235, 350, 0, RED_CAR), moto_top(300, 260, -12)]
    body += [path("M 300 226 Q 290 190 240 160", "none", "#FFD23F", 3, "round"),
             poly([(232, 154), (248, 152), (240, 168)], "#FFD23F")]
    scene("moto-mark-dashed-change.svg", body)
    # double yellow, the rider thinking of a U-turn
    c = [line(195, 0, 195, 400, LY, 4), line(205, 0, 205, 400, LY, 4)]
    ex = [path("M 262 240 Q 262 170 200 170 Q 140 170 140 240", "none", "#FFD23F", 3, "round"),
          poly([(140, 252), (131, 236), (149, 236)], "#FFD23F")]
    scene("moto-mark-double-yellow.svg", two_way(c, 262, 300, ex))
    # solid-dashed yellow, dashed on the rider's side
    # single yellow solid, a gate on the left
    c = [line(200, 0, 200, 400, LY, 4)]
    ex = [rect(0, 140, 60, 60, "#9C9C9C"), rect(48, 140, 16, 60, ROAD),
          path("M 262 260 Q 262 170 40 170", "none", "#FFD23F", 3, "round"),
          poly([(28, 170), (42, 161), (42, 179)], "#FFD23F"), label(30, 130, "单位", 16)]
    scene("moto-mark-yellow-solid-gate.svg", two_way(c, 262, 310, ex))
    # guide lanes with solid lines, rider in the straight lane
    body = approach(("left", "straight", "straight_right")) + [moto_top(lane_x(1), 346)]
    scene("moto-mark-guide-lanes.svg", body)
    for name, arrows, lane in (("moto-mark-arrow-left.svg", ("left", "straight", "right"), 0),
                               ("moto-mark-arrow-straight-right.svg",
                                ("left", "straight", "straight_right"), 2),
                               ("moto-mark-arrow-straight.svg", ("left", "straight", "right"), 1),
                               ("moto-mark-arrow-uturn.svg", ("left_uturn", "straight", "right"),
                                0),
                               ("moto-mark-arrow-right.svg", ("left", "straight", "right"), 2)):
        body = approach(arrows) + [moto_top(lane_x(lane), 364)]
        scene(name, body)
    # stop-and-yield and slow-and-yield lines where a side road meets a main road
    def side_road(kind, name):
        body = [rect(0, 0, 400, 400, GRASS), rect(0, 48, 400, 12, SIDEWALK),
                rect(0, 172, 400, 12, SIDEWALK), rect(0, 60, 400, 112, ROAD),
                rect(138, 172, 124, 228, ROAD), line(0, 113, 400, 113, LY, 3),
                line(0, 119, 400, 119, LY, 3), line(200, 190, 200, 400, LY, 4),
                car_top(80, 145, 90, WHITE_CAR)]
        if kind == "stop":
            body += [line(200, 186, 262, 186, LW, 5), line(200, 196, 262, 196, LW, 5),
                     road_text("停", 231, 232, 28)]
        else:
            body += [line(200, 186, 262, 186, LW, 5, dash="12 8"),
                     line(200, 196, 262, 196, LW, 5, dash="12 8"),
                     poly([(216, 218), (246, 218), (231, 262)], "none", LW, 4)]
        body += [moto_top(231, 320)]
        scene(name, body)
    side_road("stop", "moto-mark-stop-yield.svg")
    side_road("slow", "moto-mark-slow-yield.svg")
    # crosswalk between junctions
    def midblock(name, walkers=(), moto=(250, 300), extra=()):
        body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3),
                                         line(204, 0, 204, 400, LY, 3), solid_v(336, 0, 400)]
        body += [dashed_v(270, 0, 100), dashed_v(270, 190, 400)]
        body += crosswalk_h(60, 340, 110, 170)
        for x in walkers:
            body.append(walker_top(x, 140))
        body += list(extra) + [moto_top(*moto)]
        scene(name, body)
    midblock("moto-mark-crosswalk-empty.svg", (), (305, 300))
    midblock("moto-mark-crosswalk-parked.svg", (), (305, 150))
    midblock("moto-mark-crosswalk-overtake.svg", (), (305, 320),
             extra=[car_top(235, 230, 0, WHITE_CAR)])
    # more lane and crosswalk situations
    body = approach(("straight_left", "straight", "right")) + [moto_top(lane_x(0), 364)]
    scene("moto-mark-arrow-straight-left.svg", body)
    midblock("moto-mark-crosswalk-far-walker.svg", (84,), (305, 300))
    # single yellow dashed centre line, nobody else about
    scene("moto-mark-yellow-dashed.svg",
          two_way([line(200, 0, 200, 400, LY, 4, dash="26 18")], 262, 300))
    # tidal lane between two double yellow dashed lines
    body = straight_road(40, 360) + [solid_v(44, 0, 400), solid_v(356, 0, 400),
                                     dashed_v(90, 0, 400), dashed_v(310, 0, 400)]
    for x in (140, 260):
        body += [line(x - 5, 0, x - 5, 400, LY, 4, dash="26 18"),
                 line(x + 5, 0, x + 5, 400, LY, 4, dash="26 18")]
    body += [car_top(200, 150, 0, WHITE_CAR), car_top(115, 90, 180, "#2F6DB5"),
             moto_top(285, 300)]
    scene("moto-mark-tidal.svg", body)
    # white edge line of the carriageway with a strip of paved shoulder beyond it
    body = straight_road(60, 360) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(262, 0, 400), solid_v(320, 0, 400),
                                     solid_v(64, 0, 400)]
    body += [car_top(130, 140, 180, WHITE_CAR), moto_top(291, 300)]
    scene("moto-mark-edge-line.svg", body)
    # white chevrons where a lane splits off
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3)]
    body += [solid_v(336, 0, 400), dashed_v(270, 250, 400), solid_v(270, 40, 250)]
    body += [poly([(270, 40), (300, 40), (270, 250)], "none", LW, 4)]
    for y in range(60, 240, 28):
        body.append(line(270, y + 24, 270 + 30 * (250 - y) / 210, y, LW, 4))
    body += [path("M 270 40 L 300 40 L 300 0", "none", LW, 4), solid_v(300, 0, 40)]
    body += [moto_top(287, 270, -8), path("M 286 238 L 290 140", "none", "#FFD23F", 3, "round"),
             poly([(290, 128), (282, 144), (298, 144)], "#FFD23F")]
    scene("moto-mark-channel.svg", body)
    # yellow grid at a junction with a queue beyond it
    body = crossroads(60, 340)
    body += [line(196, 226, 196, 400, LY, 3), line(204, 226, 204, 400, LY, 3), dashed_v(270, 226, 400),
             stop_line(204, 340, 226)]
    body.append(rect(60, 40, 280, 110, "none", 0, LY, 4))
    for k in range(-110, 280, 26):
        body.append(line(60 + max(0, k), 40 + max(0, -k), 60 + min(280, k + 110),
                         150 - max(0, k + 110 - 280), LY, 3))
        body.append(line(60 + max(0, k), 150 - max(0, -k), 60 + min(280, k + 110),
                         40 + max(0, k + 110 - 280), LY, 3))
    body += [car_top(235, -10, 0, WHITE_CAR), car_top(305, -20, 0, RED_CAR),
             moto_top(235, 266)]
    scene("moto-mark-grid-queue.svg", body)
    # yellow dashed line on the kerb
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(270, 0, 400), rect(340, 0, 12, 400, SIDEWALK),
                                     line(343, 0, 343, 400, LY, 5, dash="30 20")]
    body += [moto_top(318, 220), path("M 300 330 Q 300 280 318 262", "none", "#FFD23F", 3,
                                      "round")]
    scene("moto-mark-kerb-yellow-dashed.svg", body)
    # centre circle of a crossroads, the rider turning left across it
    body = crossroads(60, 340, (100, 260))
    body += [line(196, 300, 196, 400, LY, 3), line(204, 300, 204, 400, LY, 3),
             stop_line(204, 340, 300), dashed_v(270, 300, 400), circle(200, 180, 26, "none", LW, 4)]
    body += [moto_top(205, 210, -60),
             path("M 235 300 Q 240 250 210 214", "none", "#FFD23F", 3, "round")]
    scene("moto-mark-center-circle.svg", body)
    # bicycle lane on the right of the carriageway
    body = straight_road(40, 360) + [line(146, 0, 146, 400, LY, 3), line(154, 0, 154, 400, LY, 3),
                                     dashed_v(222, 0, 400), solid_v(290, 0, 400)]
    body += [g(_bike_mark(), "translate(325 160)"), cyclist_top(325, 300), moto_top(256, 300)]
    scene("moto-mark-bike-lane.svg", body)
    # turning right across the bicycle lane at a junction
    body = crossroads(40, 360) + [line(146, 226, 146, 400, LY, 3), line(154, 226, 154, 400, LY, 3),
                                  stop_line(154, 360, 226), solid_v(290, 226, 400),
                                  dashed_v(222, 226, 400)]
    body += [g(_bike_mark(), "translate(325 330)"), cyclist_top(325, 200),
             moto_top(262, 250, 20), path("M 268 220 Q 300 150 390 136", "none", "#FFD23F", 3,
                                           "round"), poly([(398, 134), (384, 126), (386, 144)],
                                                          "#FFD23F")]
    scene("moto-mark-bike-right-turn.svg", body)
    # bus lane
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(250, 0, 400), line(294, 0, 294, 400, LY, 5,
                                                                 dash="40 40")]
    body += [road_text("公交", 317, 170, 18), road_text("专用", 317, 215, 18),
             bus_top(317, 340), moto_top(227, 300)]
    scene("moto-mark-bus-lane.svg", body)
    # left-turn waiting area, the rider already in it
    body = approach(("left", "straight", "straight_right"), crosswalk=False)
    body += [dashed_path("M 204 226 Q 204 160 172 122"), dashed_path("M 249 226 Q 249 150 214 112"),
             line(170, 124, 216, 110, LW, 5)]
    body += [moto_top(226, 165, -25), car_top(lane_x(1), 272, 0, WHITE_CAR)]
    body += sig_panel([arrow_head("left", "red"), arrow_head("up", "green")])
    scene("moto-mark-left-wait-area.svg", body)
    # transverse and lengthways slow-down lines
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     dashed_v(270, 0, 400), solid_v(336, 0, 400)]
    for y in range(40, 240, 34):
        body.append(line(208, y, 332, y, LW, 7, dash="20 10"))
    body += [moto_top(305, 320)]
    scene("moto-mark-slow-transverse.svg", body)
    body = straight_road(60, 340) + [line(196, 0, 196, 400, LY, 3), line(204, 0, 204, 400, LY, 3),
                                     solid_v(336, 0, 400)]
    for y in range(10, 400, 50):
        for x in (214, 326):
            body.append(poly([(x, y), (x + 7, y + 15), (x, y + 30), (x - 7, y + 15)], LW))
    body += [moto_top(270, 300)]
    scene("moto-mark-slow-lengthways.svg", body)
    # approach to an obstacle in the middle of the road
    body = straight_road(40, 360) + [line(200, 0, 200, 70, LY, 4), line(200, 330, 200, 400, LY, 4),
                                     solid_v(44, 0, 400), solid_v(356, 0, 400)]
    body += [poly([(200, 70), (230, 150), (230, 250), (200, 330), (170, 250), (170, 150)],
                  "none", LY, 4)]
    for y in range(100, 310, 22):
        body.append(line(176, y, 224, y - 22, LY, 3))
    body += [rect(182, 160, 36, 80, "#B8B0A0", 4, "#555555", 2),
             moto_top(280, 330)]
    scene("moto-mark-obstacle.svg", body)


def _bike_mark():
    return g([circle(-16, 10, 11, "none", LW, 4), circle(16, 10, 11, "none", LW, 4),
              path("M -16 10 L -2 10 L 10 -6 L 16 10 M -2 10 L -8 -10 M -13 -12 L -2 -12 "
                   "M -6 -6 L 10 -6 L 8 -14", "none", LW, 4, "round", "round")],
             "rotate(-90) scale(1.2)")


# ---------------------------------------------------------------- police hand signals

def police_pictures():
    for n in ("stop", "straight", "left_turn", "left_wait", "right_turn", "lane_change", "slow",
              "pull_over"):
        scene(f"moto-police-{n.replace('_', '-')}.svg", police(n))


if __name__ == "__main__":
    lights()
    markings()
    police_pictures()
