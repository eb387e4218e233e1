#!/usr/bin/env python3
"""Warning signs (yellow triangles) and prohibition signs (red rings) of GB 5768.2 for the
road-signal questions. Writes assets/bank/pictures/sign-warn-*.svg and sign-ban-*.svg.

The warning symbols are drawn for the yellow field of parts.warning(): apex near (200, 93),
base near y = 325, so a symbol fits roughly between y = 130 and y = 315 and widens downwards.
The prohibition symbols fit inside the white disc of parts.prohibition() (radius about 148).
"""
import math

import parts as P
from parts import BLACK, RED, WHITE, YELLOW, circle, g, line, path, poly, rect, text

GREYNUM = "#9A9A9A"


# ---------------------------------------------------------------- small helpers

def head(x, y, angle, size=64, fill=BLACK):
    """An arrow head with its tip at (x, y) pointing at `angle` (degrees, 0 = right,
    90 = down, -90 = up)."""
    a = math.radians(angle)
    ux, uy = math.cos(a), math.sin(a)
    nx, ny = -uy, ux
    bx, by = x - ux * size * 0.85, y - uy * size * 0.85
    return poly([(x, y), (bx + nx * size / 2, by + ny * size / 2),
                 (bx - nx * size / 2, by - ny * size / 2)], fill)


def stroke(d, w=30, color=BLACK, cap="butt", join="miter"):
    return path(d, "none", color, w, cap, join)


def mirror(body):
    """The body mirrored about the vertical axis x = 200."""
    return g(body, "translate(400 0) scale(-1 1)")


def waves(x0, x1, y, amp=7, period=34, w=7, color=BLACK):
    d = f"M {x0} {y}"
    x = x0
    while x < x1:
        d += f" q {period / 4} {-amp} {period / 2} 0 q {period / 4} {amp} {period / 2} 0"
        x += period
    return stroke(d, w, color, "round", "round")


def car_rear(cx, base, color=BLACK, s=1.0, glass=WHITE):
    """A car seen from behind, wheels standing on `base`, centred on cx."""
    return g([path(f"M -46 -20 L -46 -62 Q -44 -76 -34 -78 L -26 -108 Q -22 -120 -10 -120 "
                   f"L 10 -120 Q 22 -120 26 -108 L 34 -78 Q 44 -76 46 -62 L 46 -20 Z", color),
              path("M -22 -80 L -16 -106 L 16 -106 L 22 -80 Z", glass),
              rect(-46, -20, 22, 20, color), rect(24, -20, 22, 20, color),
              rect(-36, -48, 16, 10, glass), rect(20, -48, 16, 10, glass)],
             f"translate({cx} {base}) scale({s})")


def car_profile(cx, base, s=1.0, color=BLACK, glass=YELLOW, right=True):
    """A compact car pictogram from the side, wheels on `base`."""
    body = [path("M -60 -14 L -60 -34 Q -58 -40 -50 -42 L -30 -44 L -16 -66 Q -12 -70 -4 -70 "
                 "L 30 -70 Q 36 -70 40 -64 L 52 -44 Q 60 -42 62 -34 L 62 -14 Z", color),
            path("M -10 -62 L 4 -62 L 4 -46 L -22 -46 Z", glass),
            path("M 10 -62 L 28 -62 Q 32 -62 34 -58 L 42 -46 L 10 -46 Z", glass),
            circle(-34, -12, 13, color, glass, 3), circle(36, -12, 13, color, glass, 3)]
    flip = "" if right else " scale(-1 1)"
    return g(body, f"translate({cx} {base}) scale({s}){flip}")


def warn(name, *symbol):
    P.write(name + ".svg", P.warning(list(symbol)))


def ban(name, *symbol, bar=True):
    P.write(name + ".svg", P.prohibition(list(symbol), bar=bar))


# ---------------------------------------------------------------- warning signs

def junctions():
    # T形交叉: the road ahead ends at a crossing road.
    warn("sign-warn-t-junction", rect(110, 196, 180, 36, BLACK), rect(182, 196, 36, 104, BLACK))
    # T形交叉 with the side road joining from the right.
    warn("sign-warn-side-road-right", rect(182, 150, 36, 150, BLACK),
         rect(182, 222, 96, 36, BLACK))
    # Y形交叉.
    warn("sign-warn-y-junction", stroke("M 200 302 L 200 240", 36),
         stroke("M 150 176 L 200 244 L 250 176", 34))
    # 环形交叉: three arrows running anticlockwise round the island.
    cx, cy, r = 200, 238, 54
    body = []
    for k in range(3):
        t0 = math.radians(100 + 120 * k)
        t1 = t0 - math.radians(78)
        x0, y0 = cx + r * math.cos(t0), cy + r * math.sin(t0)
        x1, y1 = cx + r * math.cos(t1), cy + r * math.sin(t1)
        body.append(stroke(f"M {x0:.1f} {y0:.1f} A {r} {r} 0 0 0 {x1:.1f} {y1:.1f}", 18))
        tx, ty = math.sin(t1), -math.cos(t1)
        hx, hy = x1 + tx * 26, y1 + ty * 26
        body.append(head(hx, hy, math.degrees(math.atan2(ty, tx)), 42))
    warn("sign-warn-roundabout", *body)


def curves():
    # 向右急弯路 (the left one drawn mirrored).
    left = [stroke("M 222 324 L 222 272 Q 222 236 186 236 L 168 236", 34),
            head(118, 236, 180, 70)]
    warn("sign-warn-sharp-right-curve", mirror(left))
    # 反向弯路: first a bend to the left, then one to the right.
    warn("sign-warn-reverse-curve",
         stroke("M 226 306 L 226 276 C 226 238 172 248 172 212 L 172 200", 28),
         head(172, 150, -90, 60))
    # 连续弯路: three and more bends.
    warn("sign-warn-winding-road",
         stroke("M 200 306 C 236 290 236 270 200 258 C 164 246 164 226 200 214 "
                "C 228 204 228 194 212 186", 26, cap="butt", join="round"),
         head(190, 150, -118, 56))


def slopes_and_widths():
    # 上陡坡: the slope rises to the right, the car climbs it.
    car = g(car_profile(0, 0, 0.86), "translate(186 262) rotate(-33.3)")
    warn("sign-warn-steep-ascent", poly([(272, 212), (272, 325), (100, 325)], BLACK), car)
    # 窄路, both sides narrowing.
    warn("sign-warn-narrow-both",
         stroke("M 150 322 L 150 256 L 178 218 L 178 150", 22),
         stroke("M 250 322 L 250 256 L 222 218 L 222 150", 22))
    # 右侧变窄.
    warn("sign-warn-narrow-right",
         stroke("M 160 322 L 160 150", 22),
         stroke("M 256 322 L 256 256 L 222 216 L 222 150", 22))
    # 左侧变窄.
    warn("sign-warn-narrow-left",
         stroke("M 144 322 L 144 256 L 178 216 L 178 150", 22),
         stroke("M 240 322 L 240 150", 22))
    # 窄桥: a narrow bridge with its parapet ends flared.
    warn("sign-warn-narrow-bridge",
         stroke("M 136 318 L 174 270 L 174 196 L 150 164", 20),
         stroke("M 264 318 L 226 270 L 226 196 L 250 164", 20))
    # 双向交通: own direction up on the right, oncoming traffic down on the left.
    warn("sign-warn-two-way",
         stroke("M 166 160 L 166 262", 24), head(166, 318, 90, 60),
         stroke("M 234 318 L 234 214", 24), head(234, 158, -90, 60))


def people_and_animals():
    warn("sign-warn-pedestrians", P.person(200, 306, 1.6))
    warn("sign-warn-cyclists", P.bicycle(200, 300, 1.55))
    # 注意牲畜: a cow seen from the side, head and horns to the right.
    cow = [path("M -78 -92 Q -80 -112 -60 -114 L 40 -114 Q 56 -114 62 -104 L 76 -110 "
                "L 92 -112 Q 100 -104 104 -90 L 110 -72 Q 112 -62 102 -60 L 92 -60 "
                "Q 84 -64 80 -74 L 66 -70 Q 64 -58 58 -52 L -64 -50 Q -76 -58 -78 -70 Z",
                BLACK),
           stroke("M 80 -108 Q 84 -124 96 -128 M 90 -110 Q 100 -120 110 -118", 6,
                  cap="round", join="round"),
           stroke("M -72 -100 Q -90 -90 -88 -56", 6, cap="round", join="round"),
           circle(-88, -52, 6, BLACK),
           rect(-64, -56, 14, 56, BLACK), rect(-40, -56, 14, 56, BLACK),
           rect(24, -56, 14, 56, BLACK), rect(46, -56, 14, 56, BLACK)]
    warn("sign-warn-cattle", g(cow, "translate(194 300) scale(0.64)"))
    # 注意野生动物: a deer leaping to the right, antlers up.
    deer = [g([path("M -56 0 A 56 18 0 1 0 56 0 A 56 18 0 1 0 -56 0 Z", BLACK)],
              "rotate(-14)"),
            stroke("M 38 -8 L 62 -48", 18, cap="round"),
            poly([(54, -62), (80, -54), (86, -46), (80, -40), (60, -40)], BLACK),
            poly([(54, -60), (48, -74), (62, -62)], BLACK),
            stroke("M 62 -60 L 56 -88 M 58 -76 L 44 -84 M 68 -58 L 76 -86 M 73 -74 L 84 -80",
                   5, cap="round", join="round"),
            stroke("M 38 4 L 62 22 L 82 30 M 30 10 L 50 30 L 58 46", 9, cap="round",
                   join="round"),
            stroke("M -44 12 L -62 30 L -76 44 M -50 8 L -70 22 L -86 30", 9, cap="round",
                   join="round"),
            stroke("M -52 -8 L -64 -16", 7, cap="round")]
    warn("sign-warn-wild-animals", g(deer, "translate(172 255) scale(0.9)"))
    # 注意残疾人: a wheelchair user.
    wc = [circle(-8, -150, 14, BLACK),
          stroke("M -12 -128 L -18 -78 L 30 -78 L 44 -34 L 58 -36", 18, cap="round",
                 join="round"),
          stroke("M -14 -112 L 18 -110", 12, cap="round"),
          path("M -44 -82 A 44 44 0 1 0 22 -66", "none", BLACK, 11)]
    warn("sign-warn-disabled", g(wc, "translate(206 322) scale(1.05)"))
    # 注意电动自行车 is not drawn here.


def road_hazards():
    # 注意落石 (rocks falling from the right-hand slope).
    warn("sign-warn-falling-rocks",
         poly([(234, 150), (300, 318), (234, 318), (226, 250), (240, 214), (222, 176)], BLACK),
         poly([(168, 170), (190, 162), (198, 184), (178, 196)], BLACK),
         poly([(140, 222), (166, 214), (174, 240), (150, 250)], BLACK),
         poly([(178, 262), (200, 256), (206, 278), (184, 286)], BLACK),
         poly([(112, 296), (140, 290), (146, 314), (116, 318)], BLACK))
    # 傍山险路: the mountain on the left, the road cut into its flank as a shelf, the cliff
    # falling away on the right with stones tumbling down it.
    warn("sign-warn-mountain-road",
         poly([(84, 300), (150, 198), (176, 154), (190, 172), (202, 212), (210, 226),
               (262, 226), (262, 240), (244, 300)], BLACK),
         poly([(272, 250), (286, 248), (288, 262), (274, 264)], BLACK),
         poly([(262, 276), (276, 274), (278, 288), (264, 290)], BLACK))
    # 堤坝路: road on top of an embankment with water on the left.
    warn("sign-warn-embankment",
         poly([(166, 232), (256, 232), (300, 312), (124, 312)], BLACK),
         rect(160, 222, 102, 8, BLACK),
         waves(104, 136, 270, 6, 24, 6), waves(92, 128, 290, 6, 24, 6))
    # 村庄: two houses.
    house = [poly([(-44, -60), (0, -100), (44, -60)], BLACK), rect(-36, -62, 72, 62, BLACK),
             rect(-10, -36, 20, 36, YELLOW), rect(-28, -50, 14, 14, YELLOW)]
    warn("sign-warn-village", g(house, "translate(160 316) scale(1.1)"),
         g(house, "translate(252 316) scale(0.8)"), rect(96, 314, 208, 6, BLACK))
    # 隧道: a tunnel portal in the hillside.
    warn("sign-warn-tunnel",
         path("M 86 318 L 150 176 Q 200 150 250 176 L 314 318 Z", BLACK),
         path("M 146 318 L 146 262 A 54 54 0 0 1 254 262 L 254 318 Z", YELLOW),
         poly([(186, 318), (194, 266), (206, 266), (214, 318)], BLACK))
    # 驼峰桥.
    warn("sign-warn-hump-bridge",
         path("M 82 318 Q 200 170 318 318 L 280 318 Q 200 236 120 318 Z", BLACK),
         stroke("M 96 292 Q 200 162 304 292", 8))
    # 路面不平: two bumps.
    warn("sign-warn-uneven-road",
         path("M 86 318 L 86 300 L 124 300 Q 150 240 176 300 L 224 300 Q 250 240 276 300 "
              "L 314 300 L 314 318 Z", BLACK))
    # 路面高凸: one hump.
    warn("sign-warn-road-hump",
         path("M 86 318 L 86 300 L 140 300 Q 200 214 260 300 L 314 300 L 314 318 Z", BLACK))
    # 过水路面: a car driving through water.
    warn("sign-warn-ford", car_profile(200, 282, 1.25),
         waves(90, 310, 292, 7, 30, 7), waves(104, 296, 312, 7, 30, 7))
    # 注意横风 is in moto-warn-crosswind.svg.


def crossings():
    # 有人看守铁道路口: a fence (barrier).
    fence = [rect(104, 232, 192, 20, BLACK), rect(104, 272, 192, 20, BLACK)]
    for x in (116, 158, 200, 242, 284):
        fence.append(poly([(x - 10, 308), (x - 10, 214), (x, 198), (x + 10, 214),
                           (x + 10, 308)], BLACK))
    warn("sign-warn-level-crossing-guarded", *fence)
    # 叉形符号: a white cross with a red edge, set at an unguarded railway crossing.
    arm = [rect(-180, -24, 360, 48, RED, 4), rect(-172, -16, 344, 32, WHITE, 2)]
    cross = [g(arm, "rotate(35)"), g(arm, "rotate(-35)"),
             g([rect(-172, -16, 344, 32, WHITE, 2)], "rotate(35)")]
    P.write("sign-warn-crossbuck.svg", [rect(0, 0, 400, 400, "#DCEBF5"),
                                    g(cross, "translate(200 200)")])


def other_warnings():
    # 事故易发路段: two cars in a collision.
    crash = [g(car_profile(0, 0, 0.9), "translate(138 300) rotate(12)"),
             g(car_profile(0, 0, 0.9, right=False), "translate(262 300) rotate(-12)"),
             poly([(200, 186), (208, 214), (232, 204), (214, 228), (236, 246), (208, 242),
                   (200, 270), (192, 242), (164, 246), (186, 228), (168, 204), (192, 214)],
                  BLACK)]
    warn("sign-warn-accident-area", *crash)
    # 左右绕行: an obstruction in the middle, pass it on either side.
    warn("sign-warn-detour-both", rect(180, 170, 40, 64, BLACK),
         stroke("M 200 306 L 200 272 M 200 276 L 148 248 L 148 200 M 200 276 L 252 248 "
                "L 252 200", 20, join="round"),
         head(148, 154, -90, 50), head(252, 154, -90, 50))
    # 注意危险.
    warn("sign-warn-danger", path("M 186 150 L 214 150 L 208 268 L 192 268 Z", BLACK),
         circle(200, 298, 16, BLACK))
    # 施工: a worker digging beside a heap.
    worker = [circle(-6, -150, 13, BLACK),
              stroke("M -4 -132 L 12 -82", 18, cap="round"),
              stroke("M 12 -84 L -6 -44 L -10 0 M 12 -84 L 34 -46 L 40 -6", 14, cap="round",
                     join="round"),
              stroke("M 0 -124 L -28 -104 L -50 -90 M 2 -122 L -22 -96", 10, cap="round",
                     join="round"),
              stroke("M -14 -130 L -70 -44", 7, cap="round"),
              poly([(-82, -50), (-64, -38), (-74, -20), (-92, -30)], BLACK)]
    warn("sign-warn-roadworks", g(worker, "translate(222 318)"),
         path("M 92 318 Q 110 276 140 290 Q 160 300 168 318 Z", BLACK))
    # 注意合流: a lane joining the road from the right.
    warn("sign-warn-merge", stroke("M 184 322 L 184 130", 30),
         stroke("M 262 322 Q 262 244 196 204", 24))


# ---------------------------------------------------------------- prohibition signs

def turn_bans():
    def up_left(s=1):
        return [stroke(f"M {200 + 32 * s} 300 L {200 + 32 * s} 178 Q {200 + 32 * s} 150 "
                       f"{200 + 4 * s} 150 L {200 - 34 * s} 150", 40),
                head(200 - 96 * s, 150, 180 if s == 1 else 0, 92)]
    ban("sign-ban-no-right-turn", mirror(up_left()))
    ban("sign-ban-no-straight", stroke("M 200 320 L 200 150", 44), head(200, 78, -90, 100))
    ban("sign-ban-no-left-right",
        stroke("M 200 316 L 200 170 M 120 170 L 280 170", 38, join="miter"),
        head(86, 170, 180, 86), head(314, 170, 0, 86),
        rect(181, 151, 38, 38, BLACK))
    straight_left = [stroke("M 224 318 L 224 150", 38),
                     stroke("M 224 222 Q 224 200 200 200 L 160 200", 34),
                     head(224, 84, -90, 86), head(96, 200, 180, 80)]
    ban("sign-ban-no-straight-right", mirror(straight_left))
    ban("sign-ban-no-straight-left",
        stroke("M 224 318 L 224 150", 38),
        stroke("M 224 222 Q 224 200 200 200 L 160 200", 34),
        head(224, 84, -90, 86), head(96, 200, 180, 80))


def priority_and_overtaking():
    # 会车让行: the oncoming (black, down) has priority over our own (red, up) direction.
    ban("sign-ban-give-way-oncoming",
        stroke("M 156 96 L 156 236", 40), head(156, 312, 90, 92),
        stroke("M 244 304 L 244 168", 34, RED), head(244, 92, -90, 84, RED), bar=False)
    ban("sign-ban-no-overtaking", car_rear(150, 282, RED), car_rear(250, 282, BLACK))
    end = [circle(200, 200, 191, WHITE, "#BBBBBB", 1), circle(200, 200, 180, "none", BLACK, 8),
           car_rear(150, 282, GREYNUM), car_rear(250, 282, GREYNUM)]
    P.write("sign-ban-end-no-overtaking.svg", end + end_stripes())


def end_stripes():
    """Five thin black stripes from top right to bottom left: the mark of the end of a
    restriction."""
    out = []
    for k in range(-2, 3):
        off = k * 15
        a = math.radians(45)
        nx, ny = math.cos(a), math.sin(a)
        dx, dy = 170 * math.cos(math.radians(135)), 170 * math.sin(math.radians(135))
        out.append(line(200 + off * nx + dx, 200 + off * ny + dy,
                        200 + off * nx - dx, 200 + off * ny - dy, BLACK, 5))
    return out


def limits():
    ban("sign-ban-speed-limit-60", text(200, 246, "60", 150, BLACK, family="Arial, " + P.FONT),
        bar=False)
    end = [circle(200, 200, 191, WHITE, "#BBBBBB", 1), circle(200, 200, 180, "none", BLACK, 8),
           text(200, 250, "40", 156, GREYNUM, family="Arial, " + P.FONT)]
    P.write("sign-ban-end-speed-limit-40.svg", end + end_stripes())
    ban("sign-ban-width-limit", text(200, 228, "3m", 96, BLACK, family="Arial, " + P.FONT),
        poly([(60, 160), (60, 240), (108, 200)], BLACK),
        poly([(340, 160), (340, 240), (292, 200)], BLACK), bar=False)
    ban("sign-ban-weight-limit", text(200, 238, "20t", 118, BLACK, family="Arial, " + P.FONT),
        bar=False)
    axle = [rect(110, 136, 180, 14, BLACK), rect(96, 112, 22, 62, BLACK, 4),
            rect(122, 112, 22, 62, BLACK, 4), rect(256, 112, 22, 62, BLACK, 4),
            rect(282, 112, 22, 62, BLACK, 4)]
    ban("sign-ban-axle-limit", *axle,
        text(200, 280, "10t", 104, BLACK, family="Arial, " + P.FONT), bar=False)
    ban("sign-ban-stop-check", text(200, 190, "停车", 92, BLACK),
        text(200, 292, "检查", 92, BLACK), bar=False)
    # 禁止鸣喇叭: a horn.
    horn = [path("M 110 176 L 150 176 L 262 110 L 262 290 L 150 224 L 110 224 Z", BLACK),
            rect(270, 170, 26, 60, BLACK, 6)]
    ban("sign-ban-no-horn", *horn)
    # 区域限制速度 and its end: a white board with the sign and the word 区域.
    zone = [rect(30, 10, 340, 380, WHITE, 20, BLACK, 6),
            g(P.prohibition([text(200, 246, "30", 150, BLACK, family="Arial, " + P.FONT)],
                            bar=False), "translate(70 30) scale(0.65)"),
            text(200, 350, "区域", 72, BLACK)]
    P.write("sign-ban-zone-speed-limit-30.svg", zone)
    zpark = [rect(30, 10, 340, 380, WHITE, 20, BLACK, 6),
             g([circle(200, 200, 185, RED), circle(200, 200, 148, P.BLUE),
                line(95, 95, 305, 305, RED, 28)], "translate(70 30) scale(0.65)"),
             text(200, 350, "区域", 72, BLACK)]
    P.write("sign-ban-zone-no-long-parking.svg", zpark)
    zend = [rect(30, 10, 340, 380, WHITE, 20, BLACK, 6),
            g([circle(200, 200, 180, "none", GREYNUM, 10),
               text(200, 250, "30", 156, GREYNUM, family="Arial, " + P.FONT)],
              "translate(70 30) scale(0.65)"),
            text(200, 350, "区域", 72, GREYNUM)]
    for k in range(-2, 3):
        zend.append(line(330 + k * 16, 30 + k * 0, 70 + k * 16, 370, BLACK, 5))
    P.write("sign-ban-zone-speed-limit-end.svg", zend)


def vehicle_bans():
    ban("sign-ban-no-trucks", P.truck_side(200, 268, 1.05))
    bus = [rect(-118, -96, 236, 78, BLACK, 10),
           rect(-104, -86, 34, 26, WHITE, 3), rect(-62, -86, 34, 26, WHITE, 3),
           rect(-20, -86, 34, 26, WHITE, 3), rect(22, -86, 34, 26, WHITE, 3),
           rect(66, -86, 38, 40, WHITE, 3),
           circle(-74, -16, 16, BLACK, WHITE, 4), circle(70, -16, 16, BLACK, WHITE, 4)]
    ban("sign-ban-no-buses", g(bus, "translate(200 268)"))
    rig = [rect(-130, -86, 150, 62, BLACK, 3), rect(-130, -24, 150, 8, BLACK),
           circle(-100, -12, 13, BLACK, WHITE, 3), circle(-68, -12, 13, BLACK, WHITE, 3),
           path("M 34 -14 L 34 -60 L 60 -80 L 92 -80 L 120 -50 L 124 -14 Z", BLACK),
           path("M 62 -72 L 88 -72 L 108 -50 L 62 -50 Z", WHITE),
           rect(18, -26, 30, 8, BLACK),
           circle(44, -12, 13, BLACK, WHITE, 3), circle(100, -12, 13, BLACK, WHITE, 3)]
    ban("sign-ban-no-trailers", g(rig, "translate(200 256) scale(1.05)"))
    tractor = [circle(-48, -40, 40, BLACK, WHITE, 5), circle(-48, -40, 12, WHITE),
               circle(64, -22, 22, BLACK, WHITE, 4),
               path("M -60 -84 L -60 -150 L -4 -150 L 4 -84 L 80 -84 L 88 -48 L -10 -48 Z",
                    BLACK),
               rect(-50, -140, 44, 40, WHITE, 3), rect(40, -116, 10, 34, BLACK)]
    ban("sign-ban-no-tractors", g(tractor, "translate(206 280) scale(1.0)"))
    ban("sign-ban-no-trucks-tractors", P.truck_side(128, 256, 0.6),
        g(tractor, "translate(276 256) scale(0.62)"))
    ban("sign-ban-no-bicycles", P.bicycle(200, 268, 1.8))
    ban("sign-ban-no-pedestrians", P.person(200, 320, 1.9))


def main():
    junctions()
    curves()
    slopes_and_widths()
    people_and_animals()
    road_hazards()
    crossings()
    other_warnings()
    turn_bans()
    priority_and_overtaking()
    limits()
    vehicle_bans()


if __name__ == "__main__":
    main()
