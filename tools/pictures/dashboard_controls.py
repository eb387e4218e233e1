#!/usr/bin/env python3
"""Pictures of the instrument panel and the controls: warning and indicator lamps of a car
(dash-*.svg) and the handlebar controls and instruments of a motorcycle (moto-part-*.svg).

Lamp symbols follow the shapes of GB 4094 (the symbols for controls, indicators and tell-tales)
in the colours they light up in: red for a fault or a state the driver must deal with at once,
amber for a fault to have checked soon, green for a function that is switched on.
Each lamp is drawn alone, lit, on the dark face of an instrument panel.

Run it again to rewrite every file:  python3 tools/pictures/dashboard_controls.py
"""
import math

from parts import (BLACK, WHITE, circle, g, line, path, poly, rect, text, write)

# Lamp colours as they look lit on a dark panel.
LAMP_RED = "#F0281E"
LAMP_AMBER = "#FFA000"
LAMP_GREEN = "#1FC44E"
PANEL = "#17191C"
PANEL_EDGE = "#3A3E44"

# Colours of the motorcycle cockpit.
BAR = "#9AA0A6"
RUBBER = "#202020"
SWITCH = "#2A2A2A"
ARROW = "#FFD200"


def panel(symbol):
    """One lit lamp on the dark instrument face."""
    return [rect(0, 0, 400, 400, "#2B2E33"),
            rect(14, 14, 372, 372, PANEL, 36, PANEL_EDGE, 6),
            g(symbol)]


def stroke(d, colour, width, cap="round", join="round"):
    return path(d, "none", colour, width, cap, join)


# ---------------------------------------------------------------- lamp symbols (centre 200, 200)

def oil_pressure(c=LAMP_RED):
    """机油压力: an oil can, spout to the right, a drop falling from the spout."""
    return [
        poly([(128, 205), (232, 205), (300, 168), (308, 178), (250, 258), (128, 258)], c),
        rect(160, 186, 40, 14, c, 3),
        rect(172, 176, 16, 14, c, 2),
        stroke("M 128 214 L 96 200 L 80 212 L 100 246 L 128 250", c, 12),
        path("M 312 202 C 304 220 298 230 298 238 A 14 14 0 0 0 326 238 C 326 230 320 220 312 202 Z",
             c),
    ]


def _waves(y, c, x0=96, x1=304, width=12):
    n = max(1, round((x1 - x0) / 52))
    step = (x1 - x0) / n
    d = f"M {x0} {y}"
    for i in range(n):
        xa = x0 + step * i
        d += f" Q {xa + step / 4:.1f} {y - 14} {xa + step / 2:.1f} {y} T {xa + step:.1f} {y}"
    return stroke(d, c, width)


def coolant_temperature(c=LAMP_RED):
    """冷却液温度: a thermometer standing in waves."""
    return [
        rect(189, 84, 22, 160, c, 11),
        circle(200, 250, 26, c),
        line(216, 112, 252, 112, c, 12, "round"),
        line(216, 146, 242, 146, c, 12, "round"),
        line(216, 180, 252, 180, c, 12, "round"),
        _waves(296, c, 96, 168), _waves(296, c, 232, 304),
        _waves(330, c, 96, 304),
    ]


def charging(c=LAMP_RED):
    """充电: a battery with its two terminals and the − and + signs."""
    return [
        rect(132, 128, 40, 22, c, 3), rect(228, 128, 40, 22, c, 3),
        rect(104, 150, 192, 132, "none", 3, c, 16),
        line(134, 212, 178, 212, c, 14),
        line(222, 212, 266, 212, c, 14), line(244, 190, 244, 234, c, 14),
    ]


def _brake_frame(c):
    """The circle with the two arcs either side, shared by the brake and ABS lamps."""
    arcs = []
    for s in (-1, 1):
        a0, a1 = math.radians(-48), math.radians(48)
        r = 112
        x0, y0 = 200 + s * r * math.cos(a0), 200 + r * math.sin(a0)
        x1, y1 = 200 + s * r * math.cos(a1), 200 + r * math.sin(a1)
        sweep = 1 if s > 0 else 0
        arcs.append(stroke(f"M {x0:.1f} {y0:.1f} A {r} {r} 0 0 {sweep} {x1:.1f} {y1:.1f}", c, 14))
    return [circle(200, 200, 76, "none", c, 14)] + arcs


def brake_system(c=LAMP_RED):
    """制动系统: an exclamation mark in the brake circle."""
    return _brake_frame(c) + [rect(191, 152, 18, 66, c, 6), circle(200, 240, 11, c)]


def abs_lamp(c=LAMP_AMBER):
    """ABS: the letters ABS in the brake circle."""
    return _brake_frame(c) + [text(200, 217, "ABS", 46, c, "bold", family="DejaVu Sans, sans-serif")]


def airbag(c=LAMP_RED):
    """安全气囊: a seated person with the inflated bag in front of the chest."""
    return [
        circle(246, 112, 24, c),
        stroke("M 252 150 L 262 232 L 196 242 L 190 306", c, 26),
        stroke("M 292 140 L 300 250", c, 10),
        circle(168, 172, 52, c),
    ]


def seat_belt(c=LAMP_RED):
    """安全带未系: a seated person with the belt across the chest and lap."""
    body = path("M 150 300 L 150 196 C 150 160 170 146 200 146 C 230 146 250 160 250 196 "
                "L 250 300 Z", c)
    return [
        circle(200, 108, 28, c),
        body,
        line(158, 162, 244, 262, PANEL, 14),
        line(150, 262, 250, 262, PANEL, 14),
        rect(232, 252, 24, 20, c, 3),
        rect(120, 296, 160, 14, c, 6),
    ]


def door_open(c=LAMP_RED):
    """车门未关: a car seen from above with its doors standing open."""
    return [
        rect(152, 70, 96, 262, "none", 30, c, 12),
        line(162, 132, 238, 132, c, 10, "round"),
        line(162, 272, 238, 272, c, 10, "round"),
        line(152, 150, 100, 196, c, 12, "round"),
        line(152, 214, 100, 260, c, 12, "round"),
        line(248, 150, 300, 196, c, 12, "round"),
        line(248, 214, 300, 260, c, 12, "round"),
    ]


def low_fuel(c=LAMP_AMBER):
    """燃油不足: a fuel pump with its hose and nozzle."""
    return [
        path("M 130 310 L 130 108 C 130 96 138 90 150 90 L 218 90 C 230 90 238 96 238 108 "
             "L 238 310 Z", c),
        rect(150, 112, 68, 56, PANEL, 6),
        rect(112, 304, 144, 18, c, 4),
        stroke("M 238 208 L 262 208 C 272 208 276 214 276 224 L 276 270 C 276 286 300 286 300 270 "
               "L 300 150 L 278 126", c, 12),
        rect(262, 104, 30, 22, c, 4),
    ]


def _lamp_body(flat_x, bulge_x, c, y0=132, y1=268):
    mid = (y0 + y1) / 2
    return path(f"M {flat_x} {y0} C {bulge_x} {y0} {bulge_x} {y1} {flat_x} {y1} Z", c)


def _wavy_vertical(x, c, y0=108, y1=292, amp=10):
    n = 4
    step = (y1 - y0) / n
    d = f"M {x} {y0}"
    for i in range(n):
        ya = y0 + step * i
        d += f" Q {x + amp * 1.6:.1f} {ya + step / 4:.1f} {x:.1f} {ya + step / 2:.1f} T {x:.1f} {ya + step:.1f}"
    return stroke(d, c, 10)


def front_fog(c=LAMP_GREEN):
    """前雾灯: the lamp shines to the left, rays dipped, crossed by a wavy line."""
    rays = [line(200, y, 96, y + 26, c, 12, "round") for y in (150, 200, 250)]
    return [_lamp_body(222, 320, c)] + rays + [_wavy_vertical(150, c)]


def rear_fog(c=LAMP_AMBER):
    """后雾灯: the lamp shines to the right, rays level, crossed by a wavy line."""
    rays = [line(200, y, 306, y, c, 12, "round") for y in (150, 200, 250)]
    return [_lamp_body(178, 80, c)] + rays + [_wavy_vertical(252, c)]


def position_lamps(c=LAMP_GREEN):
    """示廓灯: two small lamps back to back, each shining outwards."""
    out = []
    for s in (-1, 1):
        flat = 200 + s * 56
        bulge = 200 + s * 4
        out.append(path(f"M {flat} 150 C {bulge} 150 {bulge} 250 {flat} 250 Z", c))
        for dy, tilt in ((-34, -14), (0, 0), (34, 14)):
            x0 = 200 + s * 72
            out.append(line(x0, 200 + dy, x0 + s * 56, 200 + dy + tilt, c, 11, "round"))
    return out


def engine_fault(c=LAMP_AMBER):
    """发动机故障: the outline of an engine."""
    d = ("M 112 178 L 132 178 L 132 152 L 178 152 L 178 134 L 150 134 L 150 116 L 250 116 "
         "L 250 134 L 222 134 L 222 152 L 262 152 L 282 176 L 300 176 L 300 156 L 318 156 "
         "L 318 262 L 300 262 L 300 240 L 282 240 L 254 282 L 150 282 L 132 262 L 132 240 "
         "L 112 240 Z")
    return [path(d, "none", c, 14, "butt", "round"),
            line(88, 178, 88, 240, c, 14), line(88, 209, 112, 209, c, 14)]


def tyre_pressure(c=LAMP_AMBER):
    """胎压: the cross-section of a tyre with an exclamation mark."""
    tread = "".join(f" L {x + 14} 300 L {x + 28} 284" for x in range(124, 264, 28))
    return [
        stroke("M 140 104 C 96 150 96 230 124 276 L 276 276 C 304 230 304 150 260 104", c, 16),
        stroke("M 124 284" + tread, c, 8, "round", "miter"),
        rect(191, 132, 18, 82, c, 6),
        circle(200, 240, 11, c),
    ]


LAMPS = [
    ("dash-oil-pressure.svg", oil_pressure),
    ("dash-coolant-temperature.svg", coolant_temperature),
    ("dash-charging.svg", charging),
    ("dash-brake-system.svg", brake_system),
    ("dash-abs.svg", abs_lamp),
    ("dash-airbag.svg", airbag),
    ("dash-seat-belt.svg", seat_belt),
    ("dash-door-open.svg", door_open),
    ("dash-low-fuel.svg", low_fuel),
    ("dash-front-fog.svg", front_fog),
    ("dash-rear-fog.svg", rear_fog),
    ("dash-position-lamps.svg", position_lamps),
    ("dash-engine-fault.svg", engine_fault),
    ("dash-tyre-pressure.svg", tyre_pressure),
]


# ---------------------------------------------------------------- car controls

def arrow_to(x, y, angle, length=110, colour=ARROW):
    """A pointer arrow whose tip is at (x, y), coming from the direction `angle` (degrees,
    0 = from the right, 90 = from below)."""
    a = math.radians(angle)
    ux, uy = math.cos(a), math.sin(a)
    nx, ny = -uy, ux
    head, hw, sw = 40, 26, 14
    bx, by = x + ux * head, y + uy * head
    ex, ey = x + ux * length, y + uy * length
    pts = [(x, y), (bx + nx * hw, by + ny * hw), (bx + nx * sw / 2, by + ny * sw / 2),
           (ex + nx * sw / 2, ey + ny * sw / 2), (ex - nx * sw / 2, ey - ny * sw / 2),
           (bx - nx * sw / 2, by - ny * sw / 2), (bx - nx * hw, by - ny * hw)]
    return poly(pts, colour, BLACK, 3, "round")


def hazard_switch():
    """危险报警闪光灯开关: a push button with the red double triangle, in the centre console."""
    tri = lambda r: [(200 + r * math.cos(math.radians(-90 + 120 * i)),
                      212 + r * math.sin(math.radians(-90 + 120 * i))) for i in range(3)]
    return [
        rect(0, 0, 400, 400, "#4A4D52"),
        rect(30, 60, 340, 280, "#2F3236", 30),
        rect(40, 70, 90, 30, "#1E2023", 6), rect(270, 70, 90, 30, "#1E2023", 6),
        rect(40, 300, 320, 24, "#1E2023", 6),
        rect(96, 108, 208, 208, "#151618", 34),
        rect(110, 120, 180, 180, "#3B3E43", 28, "#55595F", 4),
        poly(tri(86), "none", LAMP_RED, 16, "round"),
        poly(tri(40), "none", LAMP_RED, 12, "round"),
    ]


def pedals():
    """The three pedals of a manual-gearbox car seen from the driver's seat; the arrow
    points at the left one (the clutch)."""
    def pedal(x, y, w, h, rx):
        ribs = [line(x + 10, y + i, x + w - 10, y + i, "#3C3C3C", 4) for i in
                range(16, int(h) - 8, 14)]
        return [rect(x + w / 2 - 7, y - 130, 14, 140, "#555555", 4),
                rect(x, y, w, h, "#111111", rx, "#5A5A5A", 3)] + ribs
    return ([rect(0, 0, 400, 400, "#3A3A3A"),
             path("M 0 0 L 400 0 L 400 150 L 0 190 Z", "#2A2A2A"),
             rect(0, 330, 400, 70, "#4A4A4A")]
            + pedal(52, 178, 82, 84, 14)
            + pedal(160, 170, 112, 90, 14)
            + [rect(308, 138, 58, 180, "#111111", 10, "#5A5A5A", 3)]
            + [line(318, y, 356, y, "#3C3C3C", 4) for y in range(156, 306, 16)]
            + [arrow_to(93, 272, 90, 100)])


# ---------------------------------------------------------------- motorcycle cockpit

def dial(cx, cy, r, labels, unit, red_from=None, reading=0.0):
    """A round gauge from 8 to 4 o'clock with its numbers inside the ticks; the needle shows
    `reading` (0 to 1 of the scale)."""
    out = [circle(cx, cy, r + 6, "#5C6066"), circle(cx, cy, r, "#0E0F10")]
    n = len(labels)
    a0, a1 = 150, 390
    for i, s in enumerate(labels):
        a = math.radians(a0 + (a1 - a0) * i / (n - 1))
        out.append(line(cx + (r - 4) * math.cos(a), cy + (r - 4) * math.sin(a),
                        cx + (r - 13) * math.cos(a), cy + (r - 13) * math.sin(a), WHITE, 3))
        tx, ty = cx + (r - 28) * math.cos(a), cy + (r - 28) * math.sin(a) + 6
        red = red_from is not None and i >= red_from
        out.append(text(tx, ty, s, 16, LAMP_RED if red else WHITE, "bold",
                        family="DejaVu Sans, sans-serif"))
    out.append(text(cx, cy + r * 0.66, unit, 13, WHITE, "normal", family="DejaVu Sans, sans-serif"))
    a = math.radians(a0 + (a1 - a0) * reading)
    out.append(line(cx, cy, cx + (r - 10) * math.cos(a), cy + (r - 10) * math.sin(a),
                    LAMP_RED, 4, "round"))
    out.append(circle(cx, cy, 6, "#777777"))
    return out


def cockpit(arrow=None):
    """A motorcycle's handlebar and instruments as the rider sees them: speedometer on the left,
    rev counter on the right, indicator lamps below them; clutch lever and switches on the left
    grip; throttle grip, front brake lever and the engine stop switch on the right."""
    out = [rect(0, 0, 400, 400, "#C9D6E0"),
           path("M 70 400 C 100 356 300 356 330 400 Z", "#3C3F44"),
           rect(60, 8, 280, 196, "#2A2C30", 40)]
    out += dial(134, 92, 64, ["0", "40", "80", "120", "160"], "km/h", reading=0.375)
    out += dial(266, 92, 64, ["0", "2", "4", "6", "8", "10"], "×1000r/min", red_from=5,
                reading=0.3)
    # indicator lamps: left turn, neutral, right turn
    out += [poly([(160, 182), (176, 171), (176, 193)], LAMP_GREEN),
            circle(200, 182, 11, LAMP_GREEN),
            text(200, 188, "N", 15, BLACK, "bold", family="DejaVu Sans, sans-serif"),
            poly([(240, 182), (224, 171), (224, 193)], LAMP_GREEN)]
    # handlebar
    out.append(stroke("M 24 316 C 110 296 290 296 376 316", BAR, 20))
    out.append(rect(182, 290, 36, 40, "#55595F", 6))
    # left: clutch lever in front of the grip, switch box, grip
    out += [stroke("M 140 292 C 104 264 62 256 22 260", "#5E646B", 14),
            circle(140, 294, 10, "#777777"),
            rect(98, 300, 46, 50, SWITCH, 8),
            rect(106, 306, 30, 10, "#555555", 3),
            rect(108, 322, 26, 12, "#555555", 3),
            text(121, 332, "&lt; &gt;", 10, WHITE, "bold", family="DejaVu Sans, sans-serif"),
            circle(121, 343, 5, "#555555"),
            rect(16, 306, 84, 32, RUBBER, 12)]
    # right: front brake lever, switch box with the red stop switch, throttle grip
    out += [stroke("M 260 292 C 296 264 338 256 378 260", "#5E646B", 14),
            circle(260, 294, 10, "#777777"),
            rect(256, 300, 46, 50, SWITCH, 8),
            rect(264, 305, 30, 16, LAMP_RED, 4),
            circle(279, 337, 8, "#8A8F95"),
            rect(300, 306, 84, 32, RUBBER, 12)]
    out += [line(x, 308, x, 336, "#3A3A3A", 3) for x in (316, 332, 348, 364)]
    if arrow:
        out.append(arrow_to(*arrow))
    return out


def switch_box_left():
    """Close view of the left handlebar switches (grip on the left, the bar running to the
    middle on the right): dip switch, turn-signal slider, horn button;
    the arrow points at the turn-signal switch."""
    return [rect(0, 0, 400, 400, "#C9D6E0"),
            stroke("M 400 210 L 250 210", BAR, 34),
            rect(0, 176, 150, 70, RUBBER, 20),
            rect(120, 110, 140, 210, SWITCH, 22),
            # dip switch: main beam / dipped beam symbols
            rect(150, 124, 80, 50, "#444444", 8),
            path("M 176 138 C 160 138 160 160 176 160 Z", WHITE),
            line(180, 142, 208, 142, WHITE, 3), line(180, 149, 208, 149, WHITE, 3),
            line(180, 156, 208, 156, WHITE, 3),
            # turn-signal slider with its two arrows
            rect(140, 190, 100, 44, "#444444", 8),
            poly([(150, 212), (166, 200), (166, 224)], LAMP_GREEN),
            poly([(230, 212), (214, 200), (214, 224)], LAMP_GREEN),
            rect(182, 196, 16, 32, "#9A9A9A", 4),
            # horn button
            circle(190, 280, 28, "#444444"),
            path("M 176 272 L 186 272 L 200 262 L 200 298 L 186 288 L 176 288 Z", WHITE),
            arrow_to(206, 230, 40, 130)]


def _circular_arrow(cx, cy, r, colour, sw=4):
    """An arrow running clockwise three quarters round a circle, from the top to the left,
    its head at the left pointing up."""
    return [stroke(f"M {cx} {cy - r} A {r} {r} 0 1 1 {cx - r} {cy}", colour, sw, "butt"),
            poly([(cx - r - 8, cy), (cx - r + 8, cy), (cx - r, cy - 10)], colour)]


def switch_box_right():
    """Close view of the right handlebar switches (the bar from the middle on the left, the
    throttle grip on the right): the red engine stop switch above the start button; the
    arrow points at the stop switch. The stop switch carries the stop mark (circular arrow
    struck through) and the run mark (circular arrow); the start button the circular arrow
    round a lightning flash."""
    flash = [(214, 238), (200, 264), (210, 264), (204, 284), (222, 256), (212, 256), (218, 238)]
    return ([rect(0, 0, 400, 400, "#C9D6E0"),
             stroke("M 0 210 L 150 210", BAR, 34),
             rect(250, 176, 150, 70, RUBBER, 20),
             line(310, 180, 310, 242, "#3A3A3A", 4), line(340, 180, 340, 242, "#3A3A3A", 4),
             line(370, 180, 370, 242, "#3A3A3A", 4),
             rect(140, 110, 140, 210, SWITCH, 22),
             # engine stop switch: red rocker, stop and run marks
             rect(166, 128, 88, 70, LAMP_RED, 10)]
            + _circular_arrow(188, 165, 13, WHITE)
            + [line(174, 179, 202, 151, WHITE, 4, "round")]
            + _circular_arrow(232, 165, 13, WHITE)
            # start button
            + [circle(210, 262, 34, "#777777")]
            + _circular_arrow(210, 262, 24, WHITE)
            + [poly(flash, WHITE),
               arrow_to(254, 176, -30, 120)])


def main():
    for name, symbol in LAMPS:
        write(name, panel(symbol()))
    write("dash-hazard-switch.svg", hazard_switch())
    write("dash-pedal-left.svg", pedals())
    write("moto-part-clutch-lever.svg", cockpit((62, 262, 250, 80)))
    write("moto-part-throttle.svg", cockpit((350, 340, 60, 70)))
    write("moto-part-speedometer.svg", cockpit((84, 130, 150, 84)))
    write("moto-part-tachometer.svg", cockpit((316, 130, 30, 84)))
    write("moto-part-turn-switch.svg", switch_box_left())
    write("moto-part-stop-switch.svg", switch_box_right())


if __name__ == "__main__":
    main()
