"""Scene parts for the signal, marking and police pictures: road scenes seen from above with
their markings, signal heads with round and arrow lamps, and a traffic police officer who can
take the arm positions of the eight hand signals.

Conventions (all in the 400 x 400 picture):
- Road scenes are seen from above as the driver meets them: traffic in the driver's direction
  runs up the picture, the driver's own car sits near the bottom.
- Markings follow GB 5768.3: yellow lines part opposing traffic, white lines part traffic of the
  same direction; a dashed line may be crossed, a solid one may not. Line widths here are
  schematic (a lane is about 80 units wide, a line 5 to 6 units).
- Signal heads follow GB 14887: lamps top to bottom red, yellow, green (left to right when the
  head is horizontal); an unlit lamp is dark grey and shows its symbol faintly.
- The officer faces the viewer (the driver), so his right arm is on the viewer's left.

Other picture scripts may import these parts; keep the signatures stable.
"""
import math

from parts import (GRASS, ROAD, ROAD_LINE_WHITE, ROAD_LINE_YELLOW, WHITE, car_top,
                   circle, f, g, line, path, poly, rect, text)

RED_LAMP = "#E8231E"
YELLOW_LAMP = "#FFB400"
GREEN_LAMP = "#18B45A"
LAMP_OFF = "#3A3A3A"
HOUSING = "#1E1E1E"
CAR_RED = "#C8202A"
CAR_BLUE = "#2F6DB5"
CAR_WHITE = "#EDEDED"
SIDEWALK = "#C9C2B5"
CURB = "#E2DDD2"
SWING = "#D7000F"

LAMP_COLOURS = {"red": RED_LAMP, "yellow": YELLOW_LAMP, "green": GREEN_LAMP}


# ---------------------------------------------------------------- road scenes

def dashed(x1, y1, x2, y2, color=ROAD_LINE_WHITE, width=5, dash=(30, 22), offset=0):
    """A dashed line from (x1, y1) to (x2, y2) built from separate segments (the dash pattern
    starts at the first point, shifted by `offset`)."""
    length = math.hypot(x2 - x1, y2 - y1)
    ux, uy = (x2 - x1) / length, (y2 - y1) / length
    out, t = [], -offset
    while t < length:
        a, b = max(t, 0), min(t + dash[0], length)
        if b > a:
            out.append(line(x1 + ux * a, y1 + uy * a, x1 + ux * b, y1 + uy * b, color, width))
        t += dash[0] + dash[1]
    return out


def long_line(x, kind, y0=0, y1=400, offset=0):
    """A longitudinal line at x from y0 to y1. `kind` is one of:
    white_dashed, white_solid, yellow_dashed, yellow_solid, double_yellow,
    yellow_solid_dashed (solid on the left, dashed on the right),
    yellow_dashed_solid (dashed on the left, solid on the right), edge (white solid)."""
    W, Y = ROAD_LINE_WHITE, ROAD_LINE_YELLOW
    if kind in ("white_solid", "edge"):
        return [line(x, y0, x, y1, W, 5)]
    if kind == "white_dashed":
        return dashed(x, y1, x, y0, W, 5, offset=offset)
    if kind == "yellow_solid":
        return [line(x, y0, x, y1, Y, 5)]
    if kind == "yellow_dashed":
        return dashed(x, y1, x, y0, Y, 5, offset=offset)
    if kind == "double_yellow":
        return [line(x - 5, y0, x - 5, y1, Y, 4), line(x + 5, y0, x + 5, y1, Y, 4)]
    if kind == "yellow_solid_dashed":
        return [line(x - 5, y0, x - 5, y1, Y, 4)] + dashed(x + 5, y1, x + 5, y0, Y, 4,
                                                         offset=offset)
    if kind == "yellow_dashed_solid":
        return dashed(x - 5, y1, x - 5, y0, Y, 4, offset=offset) + [line(x + 5, y0, x + 5, y1, Y,
                                                                         4)]
    raise ValueError(kind)


def road_scene(left, right, lines, ground=GRASS, y0=0, y1=400):
    """A straight road seen from above between x = left and x = right, on `ground`.
    `lines` is a list of (x, kind) for long_line (edges included when wanted)."""
    out = [rect(0, 0, 400, 400, ground), rect(left, y0, right - left, y1 - y0, ROAD)]
    for x, kind in lines:
        out += long_line(x, kind, y0, y1)
    return out


def crossroad(cx=200, cy=150, half=120, ground=GRASS, lines_ns=None, lines_ew=None,
              stop_lines=True, crosswalks=True):
    """A four-way intersection seen from above, both roads `2 * half` wide, centred on
    (cx, cy); the driver's approach comes from the bottom. `lines_ns` are (dx, kind) offsets
    from cx for the north-south road's longitudinal lines outside the junction (default: a
    double yellow centre line and white dashed lane lines); `lines_ew` likewise for the
    east-west road. Stop lines and crosswalks are drawn on all four arms when asked."""
    if lines_ns is None:
        lines_ns = [(0, "yellow_solid"), (-half / 2, "white_solid"), (half / 2, "white_solid")]
    if lines_ew is None:
        lines_ew = [(0, "yellow_solid"), (-half / 2, "white_dashed"), (half / 2, "white_dashed")]
    top, bot, lft, rgt = cy - half, cy + half, cx - half, cx + half
    out = [rect(0, 0, 400, 400, ground), rect(lft, 0, 2 * half, 400, ROAD),
           rect(0, top, 400, 2 * half, ROAD)]
    gap = 44 if crosswalks else 6
    for dx, kind in lines_ns:
        out += long_line(cx + dx, kind, bot + gap, 400)
        out += long_line(cx + dx, kind, 0, top - gap)
    for dy, kind in lines_ew:
        for a, b in ((0, lft - gap), (rgt + gap, 400)):
            out.append(g(long_line(0, kind, a, b), f"translate(0 {f(cy + dy)}) rotate(-90) "
                                                   f"scale(-1 1)"))
    if crosswalks:
        out += zebra(lft, bot + 8, 2 * half, 30)
        out += zebra(lft, top - 38, 2 * half, 30)
        out.append(g(zebra(0, 0, 2 * half, 30), f"translate({f(lft - 8)} {f(top)}) rotate(90)"))
        out.append(g(zebra(0, 0, 2 * half, 30), f"translate({f(rgt + 38)} {f(top)}) rotate(90)"))
    if stop_lines:
        sl = gap + 4 if crosswalks else 6
        # driving on the right: our approach uses the east half, the opposite one the west
        out.append(line(cx, bot + sl, rgt, bot + sl, ROAD_LINE_WHITE, 6))
        out.append(line(lft, top - sl, cx, top - sl, ROAD_LINE_WHITE, 6))
        out.append(line(lft - sl, cy, lft - sl, bot, ROAD_LINE_WHITE, 6))
        out.append(line(rgt + sl, top, rgt + sl, cy, ROAD_LINE_WHITE, 6))
    return out


def zebra(x, y, width, depth, stripe=14, gap=12, color=ROAD_LINE_WHITE):
    """人行横道线: white bars parallel to the traffic, across `width` starting at x, each
    `depth` long (the crosswalk's width along the road), starting at y."""
    out, t = [], x + gap / 2
    while t + stripe <= x + width:
        out.append(rect(t, y, stripe, depth, color))
        t += stripe + gap
    return out


def stop_line(x0, x1, y, width=7):
    """停止线: a white solid line across the approach lanes."""
    return [line(x0, y, x1, y, ROAD_LINE_WHITE, width)]


def yield_line(x0, x1, y, stop=False):
    """停车让行线 (stop=True: two white solid lines and 停) or 减速让行线 (two white dashed lines
    and an inverted triangle), for the lanes between x0 and x1, lines at y and y + 10; the word
    or triangle sits in the middle of the lanes below the lines."""
    cx = (x0 + x1) / 2
    if stop:
        out = [line(x0, y, x1, y, ROAD_LINE_WHITE, 5), line(x0, y + 11, x1, y + 11,
                                                             ROAD_LINE_WHITE, 5)]
        out.append(g(text(0, 0, "停", 40, ROAD_LINE_WHITE),
                     f"translate({f(cx)} {f(y + 88)}) scale(1 1.8)"))
        return out
    out = dashed(x0, y, x1, y, ROAD_LINE_WHITE, 5, (18, 12)) + dashed(x0, y + 11, x1, y + 11,
                                                                     ROAD_LINE_WHITE, 5,
                                                                     (18, 12))
    out.append(poly([(cx - 22, y + 36), (cx + 22, y + 36), (cx, y + 100)], "none",
                    ROAD_LINE_WHITE, 6))
    return out


def pavement_text(cx, y_bottom, chars, size=30, stretch=1.9, color=ROAD_LINE_WHITE):
    """Words written on the road: characters stretched along the road and read from near to
    far, so the first character lies nearest the driver (lowest in the picture)."""
    out = []
    step = size * stretch + 6
    for i, ch in enumerate(chars):
        yb = y_bottom - i * step
        out.append(g(text(0, 0, ch, size, color), f"translate({f(cx)} {f(yb)}) "
                                                  f"scale(1 {f(stretch)})"))
    return out


def lane_arrow(kind, cx, cy, scale=1.0, color=ROAD_LINE_WHITE):
    """A guide arrow on the road (导向箭头), pointing up the picture, centred on (cx, cy), about
    110 units long at scale 1. `kind`: straight, left, right, straight_left, straight_right,
    uturn, left_uturn, left_right, merge_left, merge_right."""
    s = scale
    w = 9 * s

    def head(x, y, ang):
        # a triangular head with its tip at (x, y) pointing at angle `ang` (0 = up)
        a = math.radians(ang)
        ux, uy = math.sin(a), -math.cos(a)
        px, py = -uy, ux
        hl, hw = 26 * s, 14 * s
        bx, by = x - ux * hl, y - uy * hl
        return poly([(x, y), (bx + px * hw, by + py * hw), (bx - px * hw, by - py * hw)], color)

    def stroke(d):
        return path(d, "none", color, w, "butt", "round")

    top, bot = cy - 55 * s, cy + 55 * s
    out = []
    if kind in ("straight", "straight_left", "straight_right"):
        out += [stroke(f"M {f(cx)} {f(bot)} L {f(cx)} {f(top + 24 * s)}"), head(cx, top, 0)]
    if kind in ("left", "straight_left", "right", "straight_right"):
        sg = -1 if "left" in kind else 1
        if kind in ("left", "right"):
            out.append(stroke(f"M {f(cx)} {f(bot)} L {f(cx)} {f(cy - 14 * s)} "
                              f"Q {f(cx)} {f(cy - 30 * s)} {f(cx + sg * 16 * s)} "
                              f"{f(cy - 30 * s)} L {f(cx + sg * 22 * s)} {f(cy - 30 * s)}"))
            out.append(head(cx + sg * 46 * s, cy - 30 * s, 90 * sg))
        else:
            out.append(stroke(f"M {f(cx)} {f(cy + 10 * s)} L {f(cx + sg * 24 * s)} "
                              f"{f(cy - 8 * s)}"))
            out.append(head(cx + sg * 42 * s, cy - 22 * s, 53 * sg))
    if kind in ("uturn", "left_uturn"):
        x0 = cx + 14 * s
        x1 = cx - 22 * s
        out.append(stroke(f"M {f(x0)} {f(bot)} L {f(x0)} {f(cy - 20 * s)} "
                          f"A {f(18 * s)} {f(18 * s)} 0 0 0 {f(x1)} {f(cy - 20 * s)} "
                          f"L {f(x1)} {f(cy + 10 * s)}"))
        out.append(head(x1, cy + 34 * s, 180))
        if kind == "left_uturn":
            # the left-turn branch leaves the top of the loop and points left, clear of the
            # loop's down leg
            mx = (x0 + x1) / 2
            out.append(stroke(f"M {f(mx)} {f(cy - 38 * s)} L {f(mx - 22 * s)} {f(cy - 44 * s)}"))
            out.append(head(mx - 48 * s, cy - 50 * s, -77))
    if kind == "left_right":
        out.append(stroke(f"M {f(cx)} {f(bot)} L {f(cx)} {f(cy - 22 * s)}"))
        out.append(stroke(f"M {f(cx - 20 * s)} {f(cy - 30 * s)} L {f(cx + 20 * s)} "
                          f"{f(cy - 30 * s)}"))
        out.append(head(cx - 44 * s, cy - 30 * s, -90))
        out.append(head(cx + 44 * s, cy - 30 * s, 90))
    if kind in ("merge_left", "merge_right"):
        sg = -1 if kind == "merge_left" else 1
        out.append(stroke(f"M {f(cx - sg * 10 * s)} {f(bot)} L {f(cx - sg * 10 * s)} "
                          f"{f(cy + 6 * s)} L {f(cx + sg * 14 * s)} {f(cy - 34 * s)}"))
        out.append(head(cx + sg * 28 * s, cy - 58 * s, 31 * sg))
    return out


def hatched_area(points, color=ROAD_LINE_WHITE, spacing=16, angle=45, width=5):
    """A marked area (导流线 when white, the outline solid and the inside filled with parallel
    slanting lines). `points` is the outline polygon; the fill lines are clipped to it."""
    out = []
    a = math.radians(angle)
    dx, dy = math.cos(a), math.sin(a)
    nx, ny = -dy, dx
    ps = [(x * nx + y * ny) for x, y in points]
    lo, hi = min(ps), max(ps)
    t = lo + spacing / 2
    while t < hi:
        cuts = []
        n = len(points)
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            p1, p2 = x1 * nx + y1 * ny, x2 * nx + y2 * ny
            if (p1 - t) * (p2 - t) < 0:
                k = (t - p1) / (p2 - p1)
                cuts.append((x1 + k * (x2 - x1), y1 + k * (y2 - y1)))
        cuts.sort(key=lambda c: c[0] * dx + c[1] * dy)
        for j in range(0, len(cuts) - 1, 2):
            out.append(line(cuts[j][0], cuts[j][1], cuts[j + 1][0], cuts[j + 1][1], color, width))
        t += spacing
    out.append(poly(points, "none", color, width))
    return out


def grid_area(x, y, w, h, color=ROAD_LINE_YELLOW, spacing=22, width=3):
    """网状线: a yellow rectangle crossed by a diagonal grid."""
    out = [rect(x, y, w, h, "none", 0, color, 5)]
    k = -h
    while k < w:
        for sgn in (1, -1):
            pts = []
            # line x' = k + t, y' = t (sgn=1) or x' = k + h - t... clipped to the box
            for t in (0, h):
                xx = k + (t if sgn > 0 else h - t)
                pts.append((xx, t))
            (ax, ay), (bx, by) = pts
            # clip to 0..w
            def clip(px, py, qx, qy):
                if px < 0:
                    py = py + (0 - px) * (qy - py) / (qx - px)
                    px = 0
                if px > w:
                    py = py + (w - px) * (qy - py) / (qx - px)
                    px = w
                return px, py
            ax2, ay2 = clip(ax, ay, bx, by)
            bx2, by2 = clip(bx, by, ax, ay)
            if 0 <= ax2 <= w and 0 <= bx2 <= w and abs(ay2 - by2) > 1:
                out.append(line(x + ax2, y + ay2, x + bx2, y + by2, color, width))
        k += spacing
    return out


def curb_strip(x, width=26, side="right"):
    """A raised curb and pavement strip along the road edge at x (pavement away from the
    road on `side`)."""
    if side == "right":
        return [rect(x, 0, width, 400, CURB), rect(x + width, 0, 400, 400, SIDEWALK)]
    return [rect(x - width, 0, width, 400, CURB), rect(0, 0, x - width, 400, SIDEWALK)]


def the_car(x, y, color=CAR_RED, angle=0, scale=0.8):
    """The driver's car (red unless told) or another car, seen from above."""
    return car_top(x, y, angle, color, scale)


# ---------------------------------------------------------------- signal heads

def _arrow_symbol(direction, cx, cy, r, color):
    """A filled arrow for an arrow lamp: direction left, right, up, down, or uturn."""
    s = r / 40
    if direction == "uturn":
        return [path(f"M {f(cx + 12 * s)} {f(cy + 26 * s)} L {f(cx + 12 * s)} {f(cy - 6 * s)} "
                     f"A {f(14 * s)} {f(14 * s)} 0 0 0 {f(cx - 16 * s)} {f(cy - 6 * s)} "
                     f"L {f(cx - 16 * s)} {f(cy + 4 * s)}", "none", color, 8 * s),
                poly([(cx - 16 * s, cy + 22 * s), (cx - 28 * s, cy + 4 * s),
                      (cx - 4 * s, cy + 4 * s)], color)]
    shape = [(-26, -7), (4, -7), (4, -20), (28, 0), (4, 20), (4, 7), (-26, 7)]  # pointing right
    ang = {"right": 0, "down": 90, "left": 180, "up": -90}[direction]
    a = math.radians(ang)
    pts = [(cx + s * (px * math.cos(a) - py * math.sin(a)),
            cy + s * (px * math.sin(a) + py * math.cos(a))) for px, py in shape]
    return [poly(pts, color)]


def _cross_symbol(cx, cy, r, color):
    d = r * 0.55
    return [line(cx - d, cy - d, cx + d, cy + d, color, r * 0.28, "round"),
            line(cx - d, cy + d, cx + d, cy - d, color, r * 0.28, "round")]


def _walker(cx, cy, r, color, walking):
    s = r / 40
    if walking:
        return [circle(cx + 2 * s, cy - 24 * s, 6 * s, color),
                path(f"M {f(cx)} {f(cy - 16 * s)} L {f(cx - 3 * s)} {f(cy + 6 * s)} "
                     f"L {f(cx - 14 * s)} {f(cy + 28 * s)} M {f(cx - 3 * s)} {f(cy + 6 * s)} "
                     f"L {f(cx + 10 * s)} {f(cy + 28 * s)} M {f(cx - 1 * s)} {f(cy - 12 * s)} "
                     f"L {f(cx - 14 * s)} {f(cy)} M {f(cx - 1 * s)} {f(cy - 12 * s)} "
                     f"L {f(cx + 12 * s)} {f(cy - 2 * s)}", "none", color, 6 * s, "round",
                     "round")]
    return [circle(cx, cy - 25 * s, 6 * s, color),
            path(f"M {f(cx)} {f(cy - 17 * s)} L {f(cx)} {f(cy + 6 * s)} "
                 f"M {f(cx - 4 * s)} {f(cy + 6 * s)} L {f(cx - 4 * s)} {f(cy + 28 * s)} "
                 f"M {f(cx + 4 * s)} {f(cy + 6 * s)} L {f(cx + 4 * s)} {f(cy + 28 * s)} "
                 f"M {f(cx - 5 * s)} {f(cy - 12 * s)} L {f(cx - 9 * s)} {f(cy + 6 * s)} "
                 f"M {f(cx + 5 * s)} {f(cy - 12 * s)} L {f(cx + 9 * s)} {f(cy + 6 * s)}",
                 "none", color, 6 * s, "round", "round")]


def _bike(cx, cy, r, color):
    s = r / 40
    return [circle(cx - 14 * s, cy + 10 * s, 10 * s, "none", color, 4 * s),
            circle(cx + 14 * s, cy + 10 * s, 10 * s, "none", color, 4 * s),
            path(f"M {f(cx - 14 * s)} {f(cy + 10 * s)} L {f(cx - 4 * s)} {f(cy - 6 * s)} "
                 f"L {f(cx + 8 * s)} {f(cy - 6 * s)} L {f(cx + 14 * s)} {f(cy + 10 * s)} "
                 f"M {f(cx - 4 * s)} {f(cy - 6 * s)} L {f(cx + 1 * s)} {f(cy + 10 * s)} "
                 f"L {f(cx + 8 * s)} {f(cy - 6 * s)} M {f(cx - 8 * s)} {f(cy - 14 * s)} "
                 f"L {f(cx)} {f(cy - 14 * s)} M {f(cx + 8 * s)} {f(cy - 6 * s)} "
                 f"L {f(cx + 6 * s)} {f(cy - 16 * s)} L {f(cx + 12 * s)} {f(cy - 16 * s)}",
                 "none", color, 4 * s, "round", "round")]


def lamp(cx, cy, r, colour=None, symbol=None, lit=True):
    """One lamp of a signal head. `colour` is red, yellow or green; `lit` False draws it
    off (dark grey, the symbol shown faintly). `symbol`: None (full round lamp), left, right,
    up, down, uturn (arrows), cross (lane signal), walk, stand (pedestrian), bike."""
    shown = LAMP_COLOURS[colour] if (lit and colour) else "#4A4A4A"
    out = [circle(cx, cy, r, LAMP_OFF, "#111111", 2)]
    if symbol is None:
        out.append(circle(cx, cy, r - 3, shown if lit and colour else LAMP_OFF))
        if lit and colour:
            out.append(circle(cx - r * 0.3, cy - r * 0.3, r * 0.22, WHITE))
            out[-1] = out[-1].replace("/>", ' fill-opacity="0.25"/>')
        return out
    if symbol in ("left", "right", "up", "down", "uturn"):
        out += _arrow_symbol(symbol, cx, cy, r, shown)
    elif symbol == "cross":
        out += _cross_symbol(cx, cy, r, shown)
    elif symbol in ("walk", "stand"):
        out += _walker(cx, cy, r, shown, symbol == "walk")
    elif symbol == "bike":
        out += _bike(cx, cy, r, shown)
    else:
        raise ValueError(symbol)
    return out


def signal_unit(lamps, x, y, r=30, horizontal=False, pad=8):
    """A signal head: a dark housing around `lamps`, each a dict of lamp() arguments
    (colour, symbol, lit). Lamps run top to bottom, or left to right when horizontal; the head
    is centred on (x, y). Returns (parts, (width, height))."""
    n = len(lamps)
    long_side = n * (2 * r + pad) + pad
    short_side = 2 * r + 2 * pad
    w, h = (long_side, short_side) if horizontal else (short_side, long_side)
    out = [rect(x - w / 2, y - h / 2, w, h, HOUSING, r * 0.35)]
    for i, lamp_args in enumerate(lamps):
        off = -long_side / 2 + pad + r + i * (2 * r + pad)
        cx, cy = (x + off, y) if horizontal else (x, y + off)
        out += lamp(cx, cy, r, **lamp_args)
    return out, (w, h)


def traffic_light(state, x, y, r=30, symbol=None, horizontal=False):
    """A three-lamp head (red, yellow, green) with only `state` lit (None: all off); with
    `symbol` (left, up, right) it is a direction indicator head of arrow lamps."""
    lamps = [dict(colour=c, symbol=symbol, lit=(c == state)) for c in ("red", "yellow",
                                                                      "green")]
    return signal_unit(lamps, x, y, r, horizontal)[0]


def pole(x, y_top, y_bottom, width=10, color="#6E6E6E"):
    return [rect(x - width / 2, y_top, width, y_bottom - y_top, color)]


def lights_inset(heads, x=290, y=14, r=15, bg="#FFFFFF"):
    """A small framed panel in a road scene showing the signal heads the driver sees: `heads`
    is a list of lamp lists (top to bottom each). Returns the parts."""
    n = len(heads)
    cell = 2 * r + 20
    w = n * cell + 12
    h = max(len(hd) for hd in heads) * (2 * r + 6) + 26
    out = [rect(x, y, w, h, bg, 8, "#333333", 2)]
    for i, hd in enumerate(heads):
        cx = x + 6 + cell * i + cell / 2
        out += signal_unit(hd, cx, y + h / 2, r, pad=6)[0]
    return out


# ---------------------------------------------------------------- the police officer

NAVY = "#1F2F4F"
VEST = "#C8E62E"
SKIN = "#F1C9A0"
GLOVE = "#FFFFFF"
GLOVE_EDGE = "#8A8A8A"

# Shoulder, hip and head positions of the standing officer (facing the viewer).
_SHOULDER = {"R": (160, 150), "L": (240, 150)}  # R = his right arm, on the viewer's left


def _glove(x, y, palm, angle, big=1.0, mirror=False):
    """A white glove at (x, y): palm 'front' (open hand seen from the palm, fingers along
    `angle` degrees, 0 = up), 'down' (flat hand seen from above its back edge), 'side' (seen
    edge on), or 'fist'."""
    if palm == "front":
        body = [rect(-11 * big, -14 * big, 22 * big, 26 * big, GLOVE, 7 * big, GLOVE_EDGE, 1.5),
                path(f"M {-4 * big} {-12 * big} L {-4 * big} {4 * big} M {3 * big} {-12 * big} "
                     f"L {3 * big} {4 * big}", "none", "#C8C8C8", 1.5),
                rect(-17 * big, -2 * big, 8 * big, 14 * big, GLOVE, 4 * big, GLOVE_EDGE, 1.5)]
    elif palm == "down":
        body = [rect(-8 * big, -15 * big, 16 * big, 28 * big, GLOVE, 7 * big, GLOVE_EDGE, 1.5)]
    elif palm == "side":
        body = [rect(-5 * big, -15 * big, 10 * big, 28 * big, GLOVE, 5 * big, GLOVE_EDGE, 1.5)]
    else:
        body = [circle(0, 0, 11 * big, GLOVE, GLOVE_EDGE, 1.5)]
    flip = " scale(-1 1)" if mirror else ""
    return g(body, f"translate({f(x)} {f(y)}) rotate({f(angle)}){flip}")


def _arm_line(points, width=20):
    d = "M " + " L ".join(f"{f(x)} {f(y)}" for x, y in points)
    return path(d, "none", NAVY, width, "round", "round")


def _arm(side, pose):
    """One arm in a named pose. The arm's own direction is mirrored for the left arm, so
    'out' is to his right for the right arm and to his left for the left arm. Poses:
    down, up_forward (向前上方直伸, palm to the front), side (平伸 to his side, palm front),
    side_low (向下方 45 degrees to his side, palm down), front_side (向右前方平伸, palm down),
    forward (向前平伸, palm front: the arm comes towards the viewer), forward_edge (向前平伸,
    palm to his left: hand edge on), forward_down (向前下方, hand edge on),
    across (swung across the front of the body, fingers at the shirt's middle seam)."""
    sx, sy = _SHOULDER[side]
    o = -1 if side == "R" else 1   # outward direction on the picture
    m = side == "R"                 # the right hand is the mirror image of the left
    if pose == "down":
        pts = [(sx, sy), (sx + o * 10, sy + 55), (sx + o * 12, sy + 108)]
        return [_arm_line(pts), _glove(pts[-1][0], pts[-1][1] + 10, "side", 0)]
    if pose == "up_forward":
        end = (sx + o * 42, sy - 118)
        return [_arm_line([(sx, sy), end]), _glove(end[0] + o * 3, end[1] - 12, "front", o * 15, mirror=m)]
    if pose == "side":
        end = (sx + o * 112, sy - 2)
        return [_arm_line([(sx, sy), end]),
                _glove(end[0] + o * 16, end[1], "front", o * 90, mirror=m)]
    if pose == "side_low":
        end = (sx + o * 84, sy + 74)
        return [_arm_line([(sx, sy), end]), _glove(end[0] + o * 10, end[1] + 9, "down", -o * 48)]
    if pose == "front_side":
        end = (sx + o * 98, sy + 4)
        return [_arm_line([(sx, sy), end]), _glove(end[0] + o * 16, end[1] + 1, "down", o * 90)]
    if pose in ("forward", "forward_edge"):
        end = (sx + o * 16, sy + 6)
        palm = "front" if pose == "forward" else "side"
        return [_arm_line([(sx, sy), end], 24), circle(end[0], end[1], 15, "#2E4470",
                                                        "#111A2E", 2),
                _glove(end[0], end[1] - 14, palm, 0, 1.25, mirror=m)]
    if pose == "forward_down":
        end = (sx - o * 14, sy + 84)
        return [_arm_line([(sx, sy), (sx - o * 2, sy + 44), end], 22),
                circle(end[0], end[1], 13, "#2E4470", "#111A2E", 2),
                _glove(end[0] - o * 2, end[1] + 14, "side", 0, 1.15)]
    if pose == "across":
        elbow = (sx + o * 2, sy + 62)
        end = (200 + o * 10, sy + 92)
        return [_arm_line([(sx, sy), elbow, end], 20),
                _glove(end[0] - o * 12, end[1] + 6, "side", o * 62)]
    raise ValueError(pose)


def swing_arrow(d, head_at, head_angle, color=SWING, width=5):
    """A red arrow showing how an arm swings: the curve `d` (SVG path data) and a head at
    `head_at` pointing `head_angle` degrees (0 = up, clockwise)."""
    x, y = head_at
    a = math.radians(head_angle)
    ux, uy = math.sin(a), -math.cos(a)
    px, py = -uy, ux
    bx, by = x - ux * 16, y - uy * 16
    return [path(d, "none", color, width, "round"),
            poly([(x, y), (bx + px * 9, by + py * 9), (bx - px * 9, by - py * 9)], color)]


def police_officer(right="down", left="down", extras=(), background="#E6EEF3"):
    """A traffic police officer standing in the middle of the picture and facing the viewer:
    white cap, reflective yellow-green vest over the dark uniform, white gloves. `right` and
    `left` are the poses of his right and left arm (see _arm); `extras` are further parts
    drawn on top (swing arrows). Arms that pass in front of the body are drawn over it."""
    out = [rect(0, 0, 400, 400, background), rect(0, 340, 400, 60, "#BFC6CC")]
    # legs and shoes
    out += [rect(170, 258, 27, 92, NAVY), rect(203, 258, 27, 92, NAVY),
            rect(162, 344, 37, 13, "#111111", 5), rect(201, 344, 37, 13, "#111111", 5)]
    front = ("forward", "forward_edge", "forward_down", "across")
    arms_back = []
    arms_front = []
    for side, pose in (("R", right), ("L", left)):
        (arms_front if pose in front else arms_back).extend(_arm(side, pose))
    out += arms_back
    # torso, vest with silver bands, belt
    out += [path("M 158 140 L 242 140 L 238 262 L 162 262 Z", NAVY),
            path("M 161 144 L 192 144 L 192 258 L 165 258 Z", VEST),
            path("M 208 144 L 239 144 L 235 258 L 208 258 Z", VEST),
            rect(163, 206, 74, 7, "#D8D8D8"), rect(163, 226, 74, 7, "#D8D8D8"),
            rect(160, 250, 80, 9, WHITE)]
    # neck, head, cap
    out += [rect(192, 120, 16, 22, SKIN), circle(200, 104, 24, SKIN),
            circle(191, 102, 2.5, "#333333"), circle(209, 102, 2.5, "#333333"),
            path("M 193 114 Q 200 118 207 114", "none", "#9A6B4A", 2),
            path("M 172 88 Q 200 56 228 88 Z", WHITE, NAVY, 3),
            rect(174, 85, 52, 7, NAVY),
            path("M 176 92 L 224 92 L 230 98 L 170 98 Z", "#111111"),
            circle(200, 76, 5, "#D9A520")]
    out += arms_front
    out += list(extras)
    return out
