"""Parts for the rider's road scenes: a motorcycle seen from above, straight roads and
crossroads seen from above with their markings, signal heads with round, arrow, lane,
bicycle and level-crossing lamps, and a traffic police officer giving the hand signals.

Coordinates are in the 400 x 400 picture. A vehicle is drawn centred on (x, y) pointing up
at angle 0 (degrees clockwise), like parts.car_top.
"""
import math

from parts import (BLACK, WHITE, RED, GREEN, YELLOW, ROAD, ROAD_LINE_WHITE, ROAD_LINE_YELLOW,
                   GRASS, FONT, f, g, text, rect, circle, poly, path, line, arrow_path, car_top)

MOTO_RED = "#C8102E"
LAMP_RED = "#E8231C"
LAMP_YELLOW = "#FFB400"
LAMP_GREEN = "#14B04A"
LAMP_OFF = "#3A3A3A"
HEAD = "#1E1E1E"
SIDEWALK = "#C9C3B6"
NAVY = "#1F2F4F"
VEST = "#C8E62E"
SKIN = "#F1C9A0"
PANEL = "#EEF3F7"
LAMP_COLOURS = {"red": LAMP_RED, "yellow": LAMP_YELLOW, "green": LAMP_GREEN, None: LAMP_OFF}


# ---------------------------------------------------------------- vehicles

def moto_top(x, y, angle=0, color=MOTO_RED, scale=1.0):
    """A motorcycle with its rider seen from above: two narrow tyres, the tank and seat, the
    handlebar with mirrors, and the rider's shoulders and helmet."""
    s = scale
    body = [
        rect(-5 * s, -40 * s, 10 * s, 22 * s, "#1A1A1A", 4 * s),        # front tyre
        rect(-6 * s, 18 * s, 12 * s, 24 * s, "#1A1A1A", 4 * s),         # rear tyre
        path(f"M {f(-9*s)} {f(-22*s)} L {f(9*s)} {f(-22*s)} L {f(11*s)} {f(24*s)} "
             f"L {f(-11*s)} {f(24*s)} Z", color, "#1A1A1A", 1.5),          # tank, seat, tail
        rect(-4 * s, -40 * s, 8 * s, 7 * s, "#FFF5B0", 2 * s),          # head lamp
        line(-20 * s, -18 * s, 20 * s, -18 * s, "#1A1A1A", 3.5 * s, "round"),  # handlebar
        circle(-21 * s, -21 * s, 3.5 * s, "#9AA4AE"), circle(21 * s, -21 * s, 3.5 * s, "#9AA4AE"),
        path(f"M {f(-15*s)} {f(4*s)} Q 0 {f(-8*s)} {f(15*s)} {f(4*s)} L {f(12*s)} {f(14*s)} "
             f"L {f(-12*s)} {f(14*s)} Z", "#2B3A55"),                    # rider's shoulders
        line(-14 * s, 0, -18 * s, -16 * s, "#2B3A55", 5 * s, "round"),  # arms
        line(14 * s, 0, 18 * s, -16 * s, "#2B3A55", 5 * s, "round"),
        circle(0, 3 * s, 9 * s, WHITE, "#1A1A1A", 1.5),                 # helmet
        path(f"M {f(-6*s)} {f(-2*s)} Q 0 {f(-7*s)} {f(6*s)} {f(-2*s)}", "none", "#1A1A1A",
             2.5 * s),                                                  # visor
    ]
    return g(body, f"translate({f(x)} {f(y)}) rotate({f(angle)})")


def bus_top(x, y, angle=0, color="#E8A33C"):
    return g([rect(-24, -70, 48, 140, color, 6, "#1A1A1A", 2),
              rect(-19, -64, 38, 14, "#BFD9EE", 3), rect(-19, -40, 38, 96, "#D58E2A", 2)],
             f"translate({f(x)} {f(y)}) rotate({f(angle)})")


def walker_top(x, y, color="#2B6CB0"):
    """A pedestrian seen from above (shoulders and head)."""
    return g([path("M -11 2 Q 0 -8 11 2 L 9 9 L -9 9 Z", color),
              circle(0, 2, 6, "#3B2A1A")], f"translate({f(x)} {f(y)}) scale(1.6)")


def cyclist_top(x, y, angle=0):
    return g([rect(-2.5, -26, 5, 52, "#1A1A1A", 2), line(-10, -16, 10, -16, "#1A1A1A", 3, "round"),
              path("M -10 -2 Q 0 -10 10 -2 L 8 6 L -8 6 Z", "#2E7D32"), circle(0, -1, 6, "#3B2A1A")],
             f"translate({f(x)} {f(y)}) rotate({f(angle)})")


# ---------------------------------------------------------------- road pieces

def dashed_v(x, y0, y1, color=ROAD_LINE_WHITE, w=5, dash="26 18"):
    return line(x, y0, x, y1, color, w, dash=dash)


def solid_v(x, y0, y1, color=ROAD_LINE_WHITE, w=5):
    return line(x, y0, x, y1, color, w)


def stop_line(x0, x1, y, w=8):
    return line(x0, y, x1, y, ROAD_LINE_WHITE, w)


def crosswalk_h(x0, x1, y0, y1, bar=12, gap=10):
    """Zebra stripes across a vertical road, from y0 to y1."""
    out = []
    x = x0 + 4
    while x + bar <= x1 - 2:
        out.append(rect(x, y0, bar, y1 - y0, ROAD_LINE_WHITE))
        x += bar + gap
    return out


def crosswalk_v(y0, y1, x0, x1, bar=12, gap=10):
    """Zebra stripes across a horizontal road, from x0 to x1."""
    out = []
    y = y0 + 4
    while y + bar <= y1 - 2:
        out.append(rect(x0, y, x1 - x0, bar, ROAD_LINE_WHITE))
        y += bar + gap
    return out


def lane_arrow(kind, cx, cy, scale=1.0, color=ROAD_LINE_WHITE):
    """A road-surface guide arrow pointing up: straight, left, right, straight_left,
    straight_right, left_uturn; about 70 x scale long."""
    s = scale
    w, hd = 7 * s, 18 * s
    top, bot = cy - 36 * s, cy + 36 * s
    out = []
    if kind in ("straight", "straight_left", "straight_right"):
        out += arrow_path([(cx, bot), (cx, top)], w, hd, color)
    if kind in ("left", "straight_left"):
        y = cy - 6 * s if kind != "straight_left" else cy
        x0 = cx + (6 * s if kind != "straight_left" else 0)
        out += arrow_path([(x0, bot), (x0, y), (cx - 26 * s, y)], w, hd, color)
    if kind == "left_uturn":
        # one stem: a left-turn branch from its middle and, at its top, a hook turning back
        # down on the left with the head pointing down (the way back)
        x0 = cx + 8 * s
        xu = cx - 14 * s
        yt = top + 4 * s
        out += arrow_path([(x0, bot), (x0, cy + 12 * s), (cx - 25 * s, cy + 12 * s)], w, hd,
                          color)
        out.append(path(f"M {f(x0)} {f(cy + 12*s)} L {f(x0)} {f(yt + 11*s)} "
                        f"Q {f(x0)} {f(yt)} {f((x0 + xu) / 2)} {f(yt)} "
                        f"Q {f(xu)} {f(yt)} {f(xu)} {f(yt + 11*s)} L {f(xu)} {f(cy - 16*s)}",
                        "none", color, w))
        out.append(poly([(xu - 8 * s, cy - 16 * s), (xu + 8 * s, cy - 16 * s),
                         (xu, cy - 3 * s)], color))
    return out


def road_text(s, cx, cy, size=22, color=ROAD_LINE_WHITE):
    """Characters written on the road, read by a rider coming up the picture (stretched
    lengthways as road writing is)."""
    return g(text(0, 0, s, size, color), f"translate({f(cx)} {f(cy)}) scale(1 1.6)")


def crossroads(x0=60, x1=340, band=(40, 150), sidewalk=True):
    """Grass, a cross road running left-right between band[0] and band[1], and the approach
    road from the bottom between x0 and x1 (the rider comes up from the bottom)."""
    y0, y1 = band
    out = [rect(0, 0, 400, 400, GRASS)]
    if sidewalk:
        out += [rect(0, y0 - 12, 400, y1 - y0 + 24, SIDEWALK), rect(x0 - 12, 0, x1 - x0 + 24, 400,
                                                                       SIDEWALK)]
    out += [rect(0, y0, 400, y1 - y0, ROAD), rect(x0, 0, x1 - x0, 400, ROAD)]
    # far-side centre line of the approach road beyond the crossroads and of the cross road
    return out


def straight_road(x0=60, x1=340, sidewalk=True):
    out = [rect(0, 0, 400, 400, GRASS)]
    if sidewalk:
        out.append(rect(x0 - 12, 0, x1 - x0 + 24, 400, SIDEWALK))
    out.append(rect(x0, 0, x1 - x0, 400, ROAD))
    return out


# ---------------------------------------------------------------- signal heads

def _lamp_symbol(kind, cx, cy, r, colour):
    """A lit symbol drawn inside a dark lamp: full circle, arrows, lane cross, bicycle."""
    c = LAMP_COLOURS.get(colour, colour)
    if kind == "circle":
        return [circle(cx, cy, r, c)]
    out = [circle(cx, cy, r, LAMP_OFF)]
    if colour is None:
        return out
    k = r / 20.0
    if kind == "up":
        out += arrow_path([(cx, cy + 15 * k), (cx, cy - 15 * k)], 7 * k, 18 * k, c)
    elif kind == "left":
        out += arrow_path([(cx + 15 * k, cy), (cx - 15 * k, cy)], 7 * k, 18 * k, c)
    elif kind == "right":
        out += arrow_path([(cx - 15 * k, cy), (cx + 15 * k, cy)], 7 * k, 18 * k, c)
    elif kind == "down":
        out += arrow_path([(cx, cy - 15 * k), (cx, cy + 15 * k)], 8 * k, 20 * k, c)
    elif kind == "cross":
        d = 12 * k
        out += [line(cx - d, cy - d, cx + d, cy + d, c, 6 * k, "round"),
                line(cx - d, cy + d, cx + d, cy - d, c, 6 * k, "round")]
    elif kind == "bicycle":
        out += [circle(cx - 8 * k, cy + 5 * k, 5.5 * k, "none", c, 2.5 * k),
                circle(cx + 8 * k, cy + 5 * k, 5.5 * k, "none", c, 2.5 * k),
                path(f"M {f(cx-8*k)} {f(cy+5*k)} L {f(cx-1*k)} {f(cy+5*k)} L {f(cx+5*k)} "
                     f"{f(cy-4*k)} L {f(cx+8*k)} {f(cy+5*k)} M {f(cx-1*k)} {f(cy+5*k)} "
                     f"L {f(cx-4*k)} {f(cy-6*k)} M {f(cx-7*k)} {f(cy-7*k)} L {f(cx-1*k)} "
                     f"{f(cy-7*k)} M {f(cx-3*k)} {f(cy-4*k)} L {f(cx+5*k)} {f(cy-4*k)} "
                     f"M {f(cx+5*k)} {f(cy-4*k)} L {f(cx+4*k)} {f(cy-9*k)}",
                     "none", c, 2.5 * k, "round", "round")]
    return out


def signal(lamps, x, y, r=16, horizontal=True, rays=()):
    """A signal head centred on (x, y). `lamps` is a list of (kind, colour) with kind
    circle/up/left/right/down/cross/bicycle and colour red/yellow/green or None for dark.
    `rays` lists the indexes of lamps drawn flashing (short rays around them)."""
    n = len(lamps)
    pad = r * 0.45
    long_side = n * 2 * r + (n + 1) * pad
    short_side = 2 * r + 2 * pad
    w, h = (long_side, short_side) if horizontal else (short_side, long_side)
    out = [rect(x - w / 2, y - h / 2, w, h, HEAD, r * 0.5)]
    for i, (kind, colour) in enumerate(lamps):
        off = -long_side / 2 + pad + r + i * (2 * r + pad)
        cx, cy = (x + off, y) if horizontal else (x, y + off)
        out += _lamp_symbol(kind, cx, cy, r * 0.9, colour)
        if i in rays:
            c = LAMP_COLOURS.get(colour, colour)
            for a in (-60, -30, 0, 30, 60, 120, 150, 180, 210, 240):
                ra = math.radians(a - 90)
                out.append(line(cx + (r + 3) * math.cos(ra), cy + (r + 3) * math.sin(ra),
                                cx + (r + 10) * math.cos(ra), cy + (r + 10) * math.sin(ra), c, 3,
                                "round"))
    return out


def panel(x, y, w, h):
    """A light inset frame the signal heads of a scene are shown in."""
    return rect(x, y, w, h, PANEL, 8, "#6B7785", 2)


def label(x, y, s, size=15, color=BLACK):
    return text(x, y, s, size, color, "normal")


# ---------------------------------------------------------------- traffic police officer

def _arm(points, sleeve=NAVY, width=20):
    d = "M " + " L ".join(f"{f(a)} {f(b)}" for a, b in points)
    return path(d, "none", sleeve, width, "round", "round")


def _glove(x, y, big=False, flat=False):
    if big:   # a hand stretched towards the viewer, palm showing
        return g([rect(x - 15, y - 20, 30, 40, WHITE, 10, "#8A8A8A", 2),
                  line(x - 5, y - 14, x - 5, y - 2, "#BBBBBB", 2), line(x + 5, y - 14, x + 5, y - 2,
                                                                       "#BBBBBB", 2)])
    if flat:
        return rect(x - 18, y - 9, 36, 18, WHITE, 8, "#999999", 2)
    return circle(x, y, 12, WHITE, "#999999", 2)


def swing(d, head, color=RED):
    """A red motion arrow along path `d`, `head` the three points of its head."""
    return [path(d, "none", color, 5, "round"), poly(head, color)]


def police(signal_name):
    """The officer in front view (cap, reflective vest, white gloves) giving one of the eight
    hand signals. His left arm is on the viewer's right. Arms stretched towards the viewer are
    drawn short with the open glove in front; red arrows show the swing of an arm."""
    ls, rs = (236, 140), (164, 140)      # left and right shoulder
    out = [rect(0, 0, 400, 400, "#E6EEF3"), rect(0, 330, 400, 70, "#BFC6CC"),
           rect(168, 240, 28, 110, NAVY), rect(204, 240, 28, 110, NAVY),
           rect(160, 345, 38, 14, "#111111", 5), rect(202, 345, 38, 14, "#111111", 5)]
    back, front = [], []          # arms drawn behind the body, and in front of it
    L_down = ([ls, (250, 200), (252, 250)], (252, 258))
    R_down = ([rs, (150, 200), (148, 250)], (148, 258))
    n = signal_name
    if n in ("stop", "pull_over"):
        back.append(_arm([ls, (252, 90), (262, 40)]))
        back.append(_glove(264, 30, flat=False))
    if n == "stop":
        back += [_arm(R_down[0]), _glove(*R_down[1])]
    if n == "straight":
        back += [_arm([ls, (300, 140), (350, 140)]), _glove(362, 140, flat=True),
                 _arm([rs, (100, 140), (50, 140)]), _glove(38, 140, flat=True)]
        back += swing("M 40 110 Q 120 70 170 105", [(180, 112), (160, 112), (168, 94)])
    if n == "left_turn":
        front += [_arm([rs, (146, 150), (146, 160)], width=22), _glove(146, 166, big=True)]
        front += [_arm([ls, (244, 190), (205, 232)]), _glove(198, 238)]
        front += swing("M 268 262 Q 240 282 204 264", [(194, 258), (210, 252), (212, 272)])
    if n == "left_wait":
        back += [_arm([ls, (290, 190), (320, 220)]), _glove(328, 228), _arm(R_down[0]),
                 _glove(*R_down[1])]
        back += swing("M 350 200 Q 362 232 346 262", [(340, 274), (336, 256), (354, 260)])
    if n == "right_turn":
        front += [_arm([ls, (254, 150), (254, 160)], width=22), _glove(254, 166, big=True)]
        front += [_arm([rs, (156, 190), (195, 232)]), _glove(202, 238)]
        front += swing("M 132 262 Q 160 282 196 264", [(206, 258), (190, 252), (188, 272)])
    if n == "lane_change":
        front += [_arm([rs, (150, 146), (150, 156)], width=22), _glove(150, 164, big=True)]
        back += [_arm(L_down[0]), _glove(*L_down[1])]
        front += swing("M 150 186 L 262 186", [(276, 186), (258, 176), (258, 196)])
    if n == "slow":
        back += [_arm([rs, (110, 160), (58, 170)]), _glove(42, 171, flat=True)]
        back += [_arm(L_down[0]), _glove(*L_down[1])]
        back += swing("M 60 140 Q 30 180 46 228", [(50, 242), (38, 226), (56, 222)])
    if n == "pull_over":
        front += [_arm([rs, (152, 200), (160, 240)], width=22), _glove(162, 250, big=True)]
        front += swing("M 128 290 L 236 290", [(250, 290), (232, 280), (232, 300)])
    out += back
    out += [path("M 158 130 L 242 130 L 238 250 L 162 250 Z", NAVY),
            path("M 162 134 L 190 134 L 190 246 L 166 246 Z", VEST),
            path("M 210 134 L 238 134 L 234 246 L 210 246 Z", VEST),
            rect(164, 200, 72, 8, "#DDDDDD"), rect(160, 236, 80, 10, WHITE),
            rect(192, 112, 16, 20, SKIN), circle(200, 96, 24, SKIN),
            path("M 172 80 Q 200 50 228 80 Z", WHITE, NAVY, 3), rect(174, 78, 52, 8, NAVY),
            path("M 176 86 L 224 86 L 230 92 L 170 92 Z", "#111111")]
    out += front
    return out


def dashed_path(d, color=ROAD_LINE_WHITE, w=4, dash="14 10"):
    """A dashed stroke along path `d` (lines guiding through a junction)."""
    return (f'<path d="{d}" fill="none" stroke="{color}" stroke-width="{f(w)}" '
            f'stroke-dasharray="{dash}"/>')
