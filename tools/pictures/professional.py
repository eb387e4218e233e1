#!/usr/bin/env python3
"""Pictures for the bus and truck questions (categories 08 and 09): a bus window with its
emergency hammer, a school bus stopped with its stop arm out, a full coach seen from above,
a truck turning right across a cyclist's path, a truck's blind zones and an uncovered load.

Run it again to rewrite the files pro-*.svg in assets/bank/pictures/.
"""
from parts import (BLACK, WHITE, RED, ROAD, ROAD_LINE_WHITE, GRASS, FONT, f, g, text, rect,
                   circle, poly, path, line, write)
from parts_moto_scenes import SIDEWALK, cyclist_top

TYRE = "#1A1A1A"
GLASS = "#BFD9EE"
SCHOOL_YELLOW = "#F5B800"
TRUCK_CAB = "#2F6DB5"
TRUCK_BOX = "#9AA3AB"
SEAT = "#7A8FA6"
SAND = "#D9B26A"


def wheel(cx, cy, r):
    return [circle(cx, cy, r, TYRE), circle(cx, cy, r * 0.45, "#BBBBBB")]


def octagon(cx, cy, r, fill, stroke=None, sw=0):
    import math
    pts = [(cx + r * math.cos(math.radians(22.5 + 45 * i)),
            cy + r * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    return poly(pts, fill, stroke, sw)


def truck_top(x, y, angle=0, length=190, cab=TRUCK_CAB, box=TRUCK_BOX):
    """A rigid truck seen from above, pointing up at angle 0, centred on (x, y)."""
    half = length / 2
    return g([rect(-26, -half + 44, 52, length - 44, box, 3, "#1A1A1A", 2),
              rect(-25, -half, 50, 40, cab, 6, "#1A1A1A", 2),
              rect(-20, -half + 4, 40, 10, GLASS, 2),
              rect(-31, -half + 16, 6, 8, "#1A1A1A", 1), rect(25, -half + 16, 6, 8, "#1A1A1A", 1)],
             f"translate({f(x)} {f(y)}) rotate({f(angle)})")


# ---------------------------------------------------------------- category 08

def bus_hammer():
    """Inside a bus: a side window, the pillar beside it with a red emergency hammer on its
    bracket."""
    b = [rect(0, 0, 400, 400, "#E9E4DA"),
         rect(0, 300, 400, 100, "#CFC8BA"),
         # window frames and glass
         rect(20, 70, 240, 190, "#5C6670", 8), rect(30, 80, 220, 170, "#A9CBE3", 4),
         path("M 60 240 L 150 90 M 110 240 L 200 90", "none", "#D6E8F4", 10, "round"),
         rect(290, 70, 110, 190, "#5C6670", 8), rect(300, 80, 100, 170, "#A9CBE3", 4),
         # pillar between the windows
         rect(258, 60, 34, 250, "#8A939C", 3),
         # seat backs below the windows
         rect(40, 262, 150, 90, "#3F6E9E", 14), rect(300, 262, 100, 90, "#3F6E9E", 14),
         # the hammer bracket and the hammer hanging on it
         rect(262, 120, 26, 16, "#333333", 3),
         rect(271, 128, 8, 80, "#C8102E", 3),
         path("M 252 206 L 298 206 L 292 228 L 258 228 Z", "#C8102E", "#7A0A1C", 2),
         poly([(252, 206), (246, 217), (252, 228)], "#D0D0D0", "#555555", 1.5),
         poly([(298, 206), (304, 217), (298, 228)], "#D0D0D0", "#555555", 1.5),
         line(275, 128, 275, 112, "#333333", 3)]
    return write("pro-bus-hammer.svg", b)


def school_bus_stop():
    """A yellow school bus stopped at the right kerb, seen from its left side, with the red
    octagonal stop arm swung out beside the driver's window."""
    b = [rect(0, 0, 400, 400, "#DCEBF5"),
         rect(0, 300, 400, 100, ROAD), rect(0, 250, 400, 50, SIDEWALK),
         line(0, 372, 400, 372, ROAD_LINE_WHITE, 5, dash="30 22"),
         # bus body (front to the left)
         path("M 40 330 L 40 200 Q 40 180 60 178 L 360 178 Q 376 178 376 196 L 376 330 Z",
              SCHOOL_YELLOW, "#1A1A1A", 2.5),
         rect(40, 300, 336, 14, "#1A1A1A"),
         rect(56, 192, 46, 50, GLASS, 3, "#1A1A1A", 1.5)]
    for i in range(5):
        b.append(rect(116 + i * 50, 192, 42, 44, GLASS, 3, "#1A1A1A", 1.5))
    b += [text(240, 278, "校  车", 30, BLACK),
          rect(40, 304, 10, 14, "#F08300", 2), rect(366, 304, 10, 14, "#F08300", 2)]
    b += wheel(100, 330, 26) + wheel(310, 330, 26)
    # the stop arm on its hinge below the driver's window
    b += [line(70, 262, 30, 262, "#333333", 6),
          octagon(30, 262, 30, RED, WHITE, 3),
          text(30, 274, "停", 32, WHITE)]
    return write("pro-school-bus-stop.svg", b)


def coach_full():
    """A long-distance coach seen from above with the roof cut away: every seat taken and
    three more passengers standing in the aisle."""
    b = [rect(0, 0, 400, 400, "#EEF3F7"),
         rect(110, 20, 180, 360, "#E0E0E0", 18, "#1A1A1A", 3),
         rect(120, 28, 160, 22, GLASS, 6),
         rect(130, 60, 44, 36, "#555555", 6), circle(152, 78, 10, "#3B2A1A"),   # driver
         circle(160, 60, 9, "none", "#1A1A1A", 3),                               # wheel
         rect(232, 60, 40, 36, "#9E9E9E", 4)]                                    # door well
    heads = ["#3B2A1A", "#6B4F2A", "#2A2A2A", "#8A6A3A"]
    k = 0
    for row in range(7):
        y = 112 + row * 38
        for x in (122, 160, 214, 252):
            b.append(rect(x, y, 32, 30, SEAT, 5))
            b.append(circle(x + 16, y + 16, 9, heads[k % 4]))
            k += 1
    # passengers standing in the aisle
    for y in (150, 226, 302):
        b += [path("M 186 %d Q 200 %d 214 %d L 211 %d L 189 %d Z" % (y + 4, y - 8, y + 4,
                                                                  y + 12, y + 12), "#C8102E"),
              circle(200, y + 3, 7, "#3B2A1A")]
    return write("pro-coach-standing.svg", b)


# ---------------------------------------------------------------- category 09

def truck_right_turn():
    """A crossroads seen from above: a long truck starting to turn right; the path of its
    rear wheels (yellow) runs inside the path of its front wheels (white), across the corner
    where a cyclist waits."""
    b = [rect(0, 0, 400, 400, GRASS),
         rect(130, 0, 180, 400, ROAD), rect(130, 110, 270, 150, ROAD),
         line(220, 260, 220, 400, ROAD_LINE_WHITE, 4, dash="24 16"),
         line(220, 0, 220, 110, ROAD_LINE_WHITE, 4, dash="24 16"),
         line(310, 185, 400, 185, ROAD_LINE_WHITE, 4, dash="24 16"),
         # the truck: body still straight, cab already turning right
         rect(224, 262, 52, 150, TRUCK_BOX, 3, "#1A1A1A", 2),
         g([rect(-25, -44, 50, 40, TRUCK_CAB, 6, "#1A1A1A", 2), rect(-20, -40, 40, 10, GLASS, 2)],
           "translate(250 262) rotate(28)"),
         # paths the right-hand front and rear wheels will take
         path("M 286 236 Q 300 205 400 200", "none", WHITE, 4, "round"),
         path("M 276 380 L 276 330 Q 280 262 400 240", "none", "#FFD200", 5, "round"),
         # the cyclist waiting at the corner
         g(cyclist_top(0, 0, 0), "translate(293 292) scale(1.4)")]
    return write("pro-truck-right-turn.svg", b)


def truck_blind_spot():
    """A truck seen from above in the left lane with its blind zones shaded; a car travels in
    the zone on its right."""
    zones = [poly([(162, 150), (324, 120), (324, 360), (196, 341), (196, 335), (162, 335)],
                  "#FF9800"),   # right side
             rect(104, 80, 92, 40, "#FF9800"),                                    # close in front
             rect(104, 335, 92, 57, "#FF9800")]                                   # behind
    b = [rect(0, 0, 400, 400, GRASS), rect(70, 0, 260, 400, ROAD)]
    b += [z.replace('fill="#FF9800"', 'fill="#FF9800" fill-opacity="0.45"') for z in zones]
    # lane lines stay visible on top of the shading
    b += [line(200, 0, 200, 400, ROAD_LINE_WHITE, 5, dash="30 22"),
          line(74, 0, 74, 400, ROAD_LINE_WHITE, 4), line(326, 0, 326, 400, ROAD_LINE_WHITE, 4)]
    b += [truck_top(136, 230, 0, 210),
          g([rect(-22, -40, 44, 80, "#C8102E", 10, "#1A1A1A", 2),
             rect(-17, -26, 34, 14, GLASS, 3), rect(-17, 18, 34, 10, GLASS, 3)],
            "translate(262 236)")]
    return write("pro-truck-blind-spot.svg", b)


def truck_uncovered():
    """A tipper truck heaped with sand above its side boards and no cover; sand blows off
    behind it."""
    b = [rect(0, 0, 400, 400, "#DCEBF5"), rect(0, 290, 400, 110, ROAD),
         line(0, 360, 400, 360, ROAD_LINE_WHITE, 5, dash="30 22"),
         # load heaped above the body
         path("M 56 210 Q 150 120 250 210 Z", SAND, "#A8854A", 2),
         # tipper body and cab (cab to the right)
         rect(50, 200, 210, 78, "#7E8A93", 3, "#1A1A1A", 2),
         line(50, 228, 260, 228, "#5E6A73", 3), line(50, 254, 260, 254, "#5E6A73", 3),
         path("M 266 292 L 266 196 L 326 196 L 352 240 L 352 292 Z", "#C8102E", "#1A1A1A", 2),
         path("M 276 206 L 322 206 L 340 238 L 276 238 Z", "#BFD9EE"),
         rect(44, 280, 312, 12, "#1A1A1A")]
    b += wheel(100, 300, 22) + wheel(156, 300, 22) + wheel(316, 300, 22)
    # sand blowing off the heap behind the truck
    for x, y, r in ((40, 170, 4), (26, 186, 3), (14, 160, 3), (30, 150, 2.5), (8, 200, 2.5),
                    (48, 140, 3), (18, 176, 2), (36, 200, 2), (4, 170, 2)):
        b.append(circle(x, y, r, "#B89050"))
    b += [path("M 60 160 Q 30 150 6 136", "none", "#C9A664", 3, "round"),
          path("M 56 178 Q 30 176 2 186", "none", "#C9A664", 3, "round")]
    return write("pro-truck-uncovered.svg", b)


if __name__ == "__main__":
    for make in (bus_hammer, school_bus_stop, coach_full, truck_right_turn, truck_blind_spot,
                 truck_uncovered):
        print(make())
