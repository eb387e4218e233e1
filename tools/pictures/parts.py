"""Shared parts for the question pictures: sign frames, arrows, vehicles, people, roads.

Every picture script in this folder imports these helpers and writes plain SVG files into
assets/bank/pictures/, which stay the sources the bank build rasterises (400 x 400, Qt's SVG
renderer: SVG 1.2 Tiny, so no markers, masks, filters, patterns, clip paths or CSS).

Sign proportions follow GB 5768.2: a warning triangle's black border is about 1/13 of its
side with rounded corners, a prohibition ring about 1/10 of the diameter with the bar at 45
degrees from top left to bottom right, mandatory discs are blue with a thin white edge.
All coordinates are in the 400 x 400 picture; a symbol is drawn centred on (200, 200).
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "..", "assets", "bank", "pictures"))

# Sign colours (GB 5768 / GB 2893 hues as sRGB).
RED = "#D7000F"
YELLOW = "#FFD200"
BLUE = "#005BAC"
GREEN = "#00874F"
BROWN = "#7A4A22"
ORANGE = "#F08300"
BLACK = "#000000"
WHITE = "#FFFFFF"
GREY = "#8C8C8C"
ROAD = "#5A5A5A"
ROAD_LINE_WHITE = "#F4F4F4"
ROAD_LINE_YELLOW = "#F2C200"
SKY = "#DCEBF5"
GRASS = "#8DBF6A"
FONT = "WenQuanYi Zen Hei, sans-serif"


def svg(body, width=400, height=400):
    """A whole SVG document around `body` (a string or a list of strings)."""
    if isinstance(body, (list, tuple)):
        body = "\n".join(body)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{width}" '
            f'height="{height}" viewBox="0 0 {width} {height}">\n{body}\n</svg>\n')


def write(name, body, width=400, height=400):
    """Writes assets/bank/pictures/NAME (NAME ends in .svg) and returns NAME."""
    assert name.endswith(".svg") and "/" not in name
    with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
        f.write(svg(body, width, height))
    return name


def f(v):
    """A number as the files write it: no trailing zeros."""
    s = f"{v:.1f}"
    return s[:-2] if s.endswith(".0") else s


def g(body, transform=None):
    if isinstance(body, (list, tuple)):
        body = "\n".join(body)
    t = f' transform="{transform}"' if transform else ""
    return f"<g{t}>\n{body}\n</g>"


def text(x, y, s, size=40, fill=BLACK, weight="bold", anchor="middle", family=FONT):
    return (f'<text x="{f(x)}" y="{f(y)}" font-family="{family}" font-size="{f(size)}" '
            f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}">{s}</text>')


def rect(x, y, w, h, fill, rx=0, stroke=None, sw=0):
    s = f' stroke="{stroke}" stroke-width="{f(sw)}"' if stroke else ""
    r = f' rx="{f(rx)}"' if rx else ""
    return f'<rect x="{f(x)}" y="{f(y)}" width="{f(w)}" height="{f(h)}"{r} fill="{fill}"{s}/>'


def circle(cx, cy, r, fill, stroke=None, sw=0):
    s = f' stroke="{stroke}" stroke-width="{f(sw)}"' if stroke else ""
    return f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}" fill="{fill}"{s}/>'


def poly(points, fill, stroke=None, sw=0, join="miter"):
    pts = " ".join(f"{f(x)},{f(y)}" for x, y in points)
    s = f' stroke="{stroke}" stroke-width="{f(sw)}" stroke-linejoin="{join}"' if stroke else ""
    return f'<polygon points="{pts}" fill="{fill}"{s}/>'


def path(d, fill="none", stroke=None, sw=0, cap="butt", join="miter"):
    s = (f' stroke="{stroke}" stroke-width="{f(sw)}" stroke-linecap="{cap}" '
         f'stroke-linejoin="{join}"') if stroke else ""
    return f'<path d="{d}" fill="{fill}"{s}/>'


def line(x1, y1, x2, y2, stroke, sw, cap="butt", dash=None):
    d = f' stroke-dasharray="{dash}"' if dash else ""
    return (f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" stroke="{stroke}" '
            f'stroke-width="{f(sw)}" stroke-linecap="{cap}"{d}/>')


# ---------------------------------------------------------------- sign frames

def _triangle(cx, cy, side, up=True):
    h = side * math.sqrt(3) / 2
    if up:
        return [(cx, cy - 2 * h / 3), (cx + side / 2, cy + h / 3), (cx - side / 2, cy + h / 3)]
    return [(cx, cy + 2 * h / 3), (cx + side / 2, cy - h / 3), (cx - side / 2, cy - h / 3)]


def warning(symbol, side=360):
    """A warning sign: yellow triangle, apex up, black border with rounded corners, a thin
    yellow edge outside it; `symbol` is black, drawn for the area around (200, 215)."""
    cy = 230
    return [
        poly(_triangle(200, cy, side), YELLOW, YELLOW, 14, "round"),
        poly(_triangle(200, cy, side - 22), BLACK, BLACK, 16, "round"),
        poly(_triangle(200, cy, side - 22 - 2 * 0.077 * side * math.sqrt(3)), YELLOW, YELLOW, 10,
             "round"),
        g(symbol),
    ]


def prohibition(symbol, bar=True, r=185):
    """A prohibition sign: white disc, red ring of a tenth of the diameter, black symbol under
    a red bar from top left to bottom right (bar=False for limits and the like)."""
    ring = 0.1 * 2 * r
    out = [circle(200, 200, r + 6, WHITE, "#BBBBBB", 1), circle(200, 200, r, RED),
           circle(200, 200, r - ring, WHITE), g(symbol)]
    if bar:
        w = 0.075 * 2 * r
        inner = r - ring + 2
        a = math.radians(45)
        dx, dy = inner * math.cos(a), inner * math.sin(a)
        out.append(line(200 - dx, 200 - dy, 200 + dx, 200 + dy, RED, w))
    return out


def mandatory(symbol, r=185):
    """A mandatory sign: blue disc with a thin white edge; `symbol` is white."""
    return [circle(200, 200, r + 6, WHITE, "#BBBBBB", 1), circle(200, 200, r, BLUE), g(symbol)]


def board(x, y, w, h, color=BLUE, edge=WHITE, rx=14, edge_width=6):
    """A guide, tourist, work-zone or mandatory rectangle: coloured board with an inset edge."""
    return [rect(x, y, w, h, color, rx),
            rect(x + 8, y + 8, w - 16, h - 16, "none", rx - 5, edge, edge_width)]


def octagon_stop(r=185):
    """停车让行: red octagon, white edge, white 停."""
    pts = [(200 + r * math.cos(math.radians(22.5 + 45 * i)),
            200 + r * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    inner = [(200 + (r - 12) * math.cos(math.radians(22.5 + 45 * i)),
              200 + (r - 12) * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    return [poly(pts, RED), poly(inner, "none", WHITE, 8), text(200, 262, "停", 180, WHITE)]


def yield_triangle(side=360):
    """减速让行: triangle apex down, red border, white ground, black 让."""
    return [poly(_triangle(200, 170, side, up=False), RED, RED, 10, "round"),
            poly(_triangle(200, 170, side - 2 * 0.1 * side * math.sqrt(3), up=False), WHITE,
                 WHITE, 6, "round"),
            text(200, 185, "让", 110, BLACK)]


def plate(lines, color=WHITE, ink=BLACK, y=120, h=160, w=360, size=56):
    """An auxiliary plate: a rectangle with one or more lines of text."""
    out = [rect(200 - w / 2, y, w, h, color, 10, ink, 6)]
    n = len(lines)
    for i, s in enumerate(lines):
        out.append(text(200, y + h * (i + 1) / (n + 1) + size * 0.36, s, size, ink))
    return out


# ---------------------------------------------------------------- arrows

def arrow_path(points, width=44, head=90, fill=WHITE):
    """A thick arrow along a polyline `points` (at least two), head at the last point."""
    (x1, y1), (x2, y2) = points[-2], points[-1]
    ang = math.atan2(y2 - y1, x2 - x1)
    hl = head * 0.9
    bx, by = x2 - hl * math.cos(ang), y2 - hl * math.sin(ang)
    nx, ny = -math.sin(ang), math.cos(ang)
    shaft = points[:-1] + [(bx, by)]
    d = "M " + " L ".join(f"{f(x)} {f(y)}" for x, y in shaft)
    head_pts = [(x2, y2), (bx + nx * head / 2, by + ny * head / 2),
                (bx - nx * head / 2, by - ny * head / 2)]
    return [path(d, "none", fill, width, "butt", "miter"), poly(head_pts, fill)]


def arrow_straight(cx=200, y0=320, y1=80, **kw):
    return arrow_path([(cx, y0), (cx, y1)], **kw)


def arrow_turn(left=True, cx=200, **kw):
    """Straight up then turning left or right."""
    s = -1 if left else 1
    return arrow_path([(cx + 30 * -s, 320), (cx + 30 * -s, 170), (cx + 110 * s, 170)], **kw)


def arrow_uturn(left=True, cx=200, fill=WHITE, width=40):
    s = -1 if left else 1
    x0, x1 = cx - 50 * s, cx + 50 * s
    d = f"M {f(x0)} 320 L {f(x0)} 170 A 50 50 0 0 {0 if left else 1} {f(x1)} 170 L {f(x1)} 220"
    return [path(d, "none", fill, width), poly([(x1, 290), (x1 - 45, 215), (x1 + 45, 215)], fill)]


# ---------------------------------------------------------------- vehicles and people

def car_top(x, y, angle=0, color="#2F6DB5", scale=1.0):
    """A car seen from above, centred on (x, y), pointing up at angle 0 (degrees clockwise)."""
    w, h = 44 * scale, 80 * scale
    return g([rect(-w / 2, -h / 2, w, h, color, 10 * scale, "#1A1A1A", 2),
              rect(-w / 2 + 5 * scale, -h / 2 + 14 * scale, w - 10 * scale, 16 * scale, "#BFD9EE",
                   3 * scale),
              rect(-w / 2 + 5 * scale, h / 2 - 20 * scale, w - 10 * scale, 12 * scale, "#BFD9EE",
                   3 * scale)],
             f"translate({f(x)} {f(y)}) rotate({f(angle)})")


def car_side(x, y, color="#2F6DB5", scale=1.0, facing_right=True):
    """A car seen from the side, wheels standing on y, centred on x."""
    s = scale
    body = [path(f"M {-90*s} {-20*s} L {-80*s} {-45*s} L {-40*s} {-48*s} L {-15*s} {-80*s} "
                 f"L {45*s} {-80*s} L {70*s} {-48*s} L {88*s} {-42*s} L {92*s} {-20*s} Z", color,
                 "#1A1A1A", 2),
            path(f"M {-8*s} {-73*s} L {40*s} {-73*s} L {58*s} {-50*s} L {-28*s} {-50*s} Z",
                 "#BFD9EE"),
            rect(-92 * s, -22 * s, 184 * s, 10 * s, "#1A1A1A", 3),
            circle(-55 * s, -14 * s, 16 * s, "#1A1A1A"), circle(-55 * s, -14 * s, 7 * s, "#BBBBBB"),
            circle(55 * s, -14 * s, 16 * s, "#1A1A1A"), circle(55 * s, -14 * s, 7 * s, "#BBBBBB")]
    flip = "" if facing_right else " scale(-1 1)"
    return g(body, f"translate({f(x)} {f(y)}){flip}")


def person(x, y, scale=1.0, color=BLACK, walking=True):
    """A pedestrian pictogram standing on y, centred on x (walking or standing)."""
    s = scale
    legs = (f"M 0 {-40*s} L {-16*s} 0 M 0 {-40*s} L {14*s} 0" if walking
            else f"M {-5*s} {-40*s} L {-6*s} 0 M {5*s} {-40*s} L {6*s} 0")
    arms = (f"M 0 {-72*s} L {-16*s} {-50*s} M 0 {-72*s} L {16*s} {-52*s}" if walking
            else f"M {-4*s} {-74*s} L {-10*s} {-46*s} M {4*s} {-74*s} L {10*s} {-46*s}")
    return g([circle(0, -94 * s, 11 * s, color),
              path(f"M 0 {-80*s} L 0 {-40*s}", "none", color, 14 * s, "round"),
              path(legs, "none", color, 11 * s, "round", "round"),
              path(arms, "none", color, 9 * s, "round", "round")],
             f"translate({f(x)} {f(y)})")


def bicycle(x, y, scale=1.0, color=BLACK):
    """A bicycle pictogram, wheels standing on y, centred on x."""
    s = scale
    return g([circle(-34 * s, -22 * s, 20 * s, "none", color, 6 * s),
              circle(34 * s, -22 * s, 20 * s, "none", color, 6 * s),
              path(f"M {-34*s} {-22*s} L {-8*s} {-22*s} L {20*s} {-50*s} L {34*s} {-22*s} "
                   f"M {-8*s} {-22*s} L {-20*s} {-52*s} M {-28*s} {-54*s} L {-12*s} {-54*s} "
                   f"M {20*s} {-50*s} L {16*s} {-62*s} L {26*s} {-62*s} M {-20*s} {-52*s} "
                   f"L {20*s} {-50*s}",
                   "none", color, 6 * s, "round", "round")],
             f"translate({f(x)} {f(y)})")


def motorcycle(x, y, scale=1.0, color=BLACK):
    """A motorcycle pictogram (side view), wheels standing on y, centred on x."""
    s = scale
    return g([circle(-46 * s, -24 * s, 22 * s, "none", color, 8 * s),
              circle(46 * s, -24 * s, 22 * s, "none", color, 8 * s),
              path(f"M {-46*s} {-24*s} L {-20*s} {-52*s} L {22*s} {-52*s} L {46*s} {-24*s} "
                   f"M {22*s} {-52*s} L {30*s} {-72*s} L {44*s} {-72*s}",
                   "none", color, 9 * s, "round", "round"),
              path(f"M {-30*s} {-58*s} L {-4*s} {-66*s} L {20*s} {-58*s} Z", color, color,
                   6 * s, "round", "round")],
             f"translate({f(x)} {f(y)})")


def truck_side(x, y, scale=1.0, color=BLACK):
    """A truck pictogram (side view, cab to the right), wheels standing on y, centred on x."""
    s = scale
    return g([rect(-100 * s, -90 * s, 130 * s, 70 * s, color, 2 * s),
              path(f"M {36*s} {-20*s} L {36*s} {-74*s} L {78*s} {-74*s} L {100*s} {-46*s} "
                   f"L {100*s} {-20*s} Z", color),
              circle(-70 * s, -16 * s, 16 * s, color), circle(60 * s, -16 * s, 16 * s, color)],
             f"translate({f(x)} {f(y)})")


# ---------------------------------------------------------------- roads

def road_ground(color=GRASS):
    return rect(0, 0, 400, 400, color)


def road_vertical(x0=80, x1=320, color=ROAD):
    """A straight road seen from above, running up the picture between x0 and x1."""
    return rect(x0, 0, x1 - x0, 400, color)


def lane_line(x, y0=0, y1=400, color=ROAD_LINE_WHITE, dashed=False, width=6):
    return line(x, y0, x, y1, color, width, dash="36 24" if dashed else None)


def signal_head(states, horizontal=False, x=200, y=200, lamp=46):
    """A signal head with len(states) lamps, each state a colour or None (off).
    The lamps run top to bottom (red, yellow, green) or left to right when horizontal."""
    n = len(states)
    pad = 12
    long_side = n * (2 * lamp + pad) + pad
    short_side = 2 * lamp + 2 * pad
    w, h = (long_side, short_side) if horizontal else (short_side, long_side)
    out = [rect(x - w / 2, y - h / 2, w, h, "#1E1E1E", 16)]
    for i, colour in enumerate(states):
        off = -long_side / 2 + pad + lamp + i * (2 * lamp + pad)
        cx, cy = (x + off, y) if horizontal else (x, y + off)
        out.append(circle(cx, cy, lamp, colour or "#3A3A3A"))
    return out
