#!/usr/bin/env python3
"""Traffic-sign pictures for the motorcycle signal questions (category 12, signs chapter).

Writes assets/bank/pictures/moto-sign-*.svg. Signs are drawn after GB 5768.2 with the frames
of parts.py; symbols that parts.py lacks (motorcycle, horn, slope, rocks, houses, ...) are
drawn here. Running the script again rewrites the same files.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from parts import (BLACK, BLUE, BROWN, FONT, GREEN, GREY, ORANGE, RED, WHITE, YELLOW, ROAD, GRASS,
                   ROAD_LINE_WHITE, SKY, arrow_path, board, car_side, car_top, circle, g,
                   line, mandatory, path, person, plate, poly, prohibition, rect, text,
                   truck_side, bicycle, warning, write)

PICS = []


def pic(name, body):
    PICS.append(write("moto-sign-" + name + ".svg", body))


def orange(parts_):
    """The same elements with the warning yellow turned into work-zone orange."""
    return [p.replace(YELLOW, ORANGE) for p in parts_]


def white_bg():
    return rect(0, 0, 400, 400, WHITE)


# ---------------------------------------------------------------- symbols

def moto(x, y, s=1.0, color=BLACK, hole=WHITE):
    """A motorcycle seen from the side, front to the right, wheels standing on y."""
    def P(px, py):
        return f"{x + px * s:.1f} {y + py * s:.1f}"
    out = []
    for wx in (-78, 78):
        out += [circle(x + wx * s, y - 40 * s, 40 * s, color),
                circle(x + wx * s, y - 40 * s, 21 * s, hole),
                circle(x + wx * s, y - 40 * s, 8 * s, color)]
    out += [
        path(f"M {P(-78, -40)} L {P(-16, -70)}", "none", color, 14 * s, "round"),
        path(f"M {P(46, -106)} L {P(78, -40)}", "none", color, 13 * s, "round"),
        path(f"M {P(30, -114)} L {P(58, -106)}", "none", color, 11 * s, "round"),
        path(f"M {P(-26, -96)} Q {P(0, -122)} {P(46, -110)} L {P(42, -78)} L {P(-20, -74)} Z",
             color),
        path(f"M {P(-106, -90)} L {P(-24, -94)} L {P(-22, -74)} L {P(-52, -68)} "
             f"L {P(-98, -68)} Z", color),
        rect(x - 32 * s, y - 78 * s, 66 * s, 46 * s, color, 8 * s),
    ]
    return out


def truck(x, y, s=1.0, color=BLACK):
    return [truck_side(x, y, s, color)]


def horn(x, y, s=1.0, color=BLACK):
    """A horn: mouthpiece on the left widening to a bell on the right."""
    def P(px, py):
        return f"{x + px * s:.1f} {y + py * s:.1f}"
    return [path(f"M {P(-90, -14)} L {P(-20, -14)} L {P(60, -60)} L {P(60, 60)} L {P(-20, 14)} "
                 f"L {P(-90, 14)} Z", color),
            rect(x - 100 * s, y - 24 * s, 16 * s, 48 * s, color, 4 * s),
            rect(x + 60 * s, y - 66 * s, 16 * s, 132 * s, color, 4 * s)]


def disc_arrow_up(cx=200):
    return arrow_path([(cx, 330), (cx, 80)], width=56, head=120)


def turn_arrow(points, fill=BLACK, width=44, head=100):
    return arrow_path(points, width=width, head=head, fill=fill)


# ---------------------------------------------------------------- prohibition signs

def prohibition_pictures():
    pic("no-moto-truck", [white_bg(), *prohibition(
        [g(moto(0, 0, 0.46), "translate(122 236)"), g(truck(0, 0, 0.62), "translate(272 244)")])])
    pic("no-moto-time", [white_bg(), g(prohibition(moto(200, 276, 0.9)),
                                       "translate(75 0) scale(0.625)"),
                         rect(60, 250, 280, 110, WHITE, 8, BLACK, 6),
                         text(200, 322, "7:00-22:00", 46, BLACK)])
    pic("no-nonmotor", [white_bg(), *prohibition([bicycle(200, 262, 2.3)])])
    pic("no-pedestrians", [white_bg(), *prohibition([person(200, 310, 2.1)])])
    pic("no-trucks", [white_bg(), *prohibition(truck(200, 262, 1.3))])
    pic("no-right-turn", [white_bg(), *prohibition(
        turn_arrow([(170, 320), (170, 175), (300, 175)]))])
    pic("no-straight", [white_bg(), *prohibition(turn_arrow([(200, 325), (200, 75)]))])
    pic("no-left-right", [white_bg(), *prohibition(
        [path("M 200 320 L 200 190", "none", BLACK, 44),
         *turn_arrow([(200, 190), (90, 190)], head=96),
         *turn_arrow([(200, 190), (310, 190)], head=96)], bar=True)])
    pic("no-straight-left", [white_bg(), *prohibition(
        [*turn_arrow([(215, 325), (215, 80)], head=96),
         *turn_arrow([(215, 230), (90, 230)], head=90)])])
    pic("no-straight-right", [white_bg(), *prohibition(
        [*turn_arrow([(185, 325), (185, 80)], head=96),
         *turn_arrow([(185, 230), (310, 230)], head=90)])])
    pic("no-horn", [white_bg(), *prohibition(horn(200, 200, 1.05))])
    pic("speed-limit-30", [white_bg(), *prohibition([text(200, 255, "30", 165, BLACK)],
                                                      bar=False)])
    pic("speed-limit-60", [white_bg(), *prohibition([text(200, 255, "60", 165, BLACK)],
                                                      bar=False)])
    # 解除限制速度: white disc, black edge, black figure crossed by thin black oblique lines.
    end = [circle(200, 200, 191, WHITE, "#BBBBBB", 1), circle(200, 200, 185, BLACK),
           circle(200, 200, 175, WHITE), text(200, 255, "40", 165, BLACK)]
    for k in (-2, -1, 0, 1, 2):
        d = k * 16
        a = math.radians(45)
        cx, cy = 200 + d * math.cos(a), 200 + d * math.sin(a)
        half = math.sqrt(max(175 ** 2 - d * d, 0)) - 2
        end.append(line(cx + half * math.cos(a), cy - half * math.sin(a),
                        cx - half * math.cos(a), cy + half * math.sin(a), BLACK, 5))
    pic("end-speed-40", [white_bg(), *end])
    # 解除禁止超车: the two cars of 禁止超车 in black and grey, crossed the same way.
    cars = []
    for cx, colour in ((148, "#555555"), (252, BLACK)):
        cars.append(g([path("M-46 262 L-46 206 Q-44 192 -34 190 L-26 160 Q-22 148 -10 148 "
                            "L10 148 Q22 148 26 160 L34 190 Q44 192 46 206 L46 262 Z", colour),
                       path("M-22 188 L-16 162 L16 162 L22 188 Z", WHITE),
                       rect(-46, 262, 22, 20, colour), rect(24, 262, 22, 20, colour),
                       rect(-36, 220, 16, 10, WHITE), rect(20, 220, 16, 10, WHITE)],
                      f"translate({cx} 0)"))
    end2 = [circle(200, 200, 191, WHITE, "#BBBBBB", 1), circle(200, 200, 185, BLACK),
            circle(200, 200, 175, WHITE), *cars]
    for k in (-2, -1, 0, 1, 2):
        d = k * 16
        a = math.radians(45)
        cx, cy = 200 + d * math.cos(a), 200 + d * math.sin(a)
        half = math.sqrt(max(175 ** 2 - d * d, 0)) - 2
        end2.append(line(cx + half * math.cos(a), cy - half * math.sin(a),
                         cx - half * math.cos(a), cy + half * math.sin(a), BLACK, 5))
    pic("end-no-overtaking", [white_bg(), *end2])
    # 区域限制速度 and its end.
    zone = [white_bg(), rect(40, 20, 320, 360, WHITE, 16, BLACK, 6),
            g(prohibition([text(200, 255, "30", 165, BLACK)], bar=False),
              "translate(80 40) scale(0.6)"),
            text(200, 340, "区域", 64, BLACK)]
    pic("zone-speed-30", zone)
    zend = [white_bg(), rect(40, 20, 320, 360, WHITE, 16, BLACK, 6),
            g([circle(200, 200, 185, "#888888"), circle(200, 200, 157, WHITE),
               text(200, 255, "30", 165, "#888888")], "translate(80 40) scale(0.6)"),
            text(200, 340, "区域", 64, "#888888")]
    for k in (-1, 0, 1):
        zend.append(line(100 + k * 16, 300 + k * 0, 300 + k * 16, 40, BLACK, 5))
    pic("zone-speed-30-end", zend)
    pic("speed-50-moto-plate", [white_bg(), g(prohibition([text(200, 255, "50", 165, BLACK)],
                                                          bar=False),
                                              "translate(75 0) scale(0.625)"),
                                rect(80, 250, 240, 120, WHITE, 8, BLACK, 6),
                                g(moto(0, 0, 0.5), "translate(200 342)")])
    pic("width-limit", [white_bg(), *prohibition(
        [text(200, 232, "3m", 110, BLACK),
         poly([(102, 200), (62, 176), (62, 224)], BLACK),
         poly([(298, 200), (338, 176), (338, 224)], BLACK)], bar=False)])
    pic("weight-limit", [white_bg(), *prohibition([text(200, 245, "10t", 140, BLACK)],
                                                    bar=False)])
    pic("stop-check", [white_bg(), *prohibition([text(200, 185, "停车", 84, BLACK),
                                                 text(200, 285, "检查", 84, BLACK)], bar=False)])


# ---------------------------------------------------------------- warning signs

def warning_pictures():
    W = lambda name, sym: pic(name, [white_bg(), *warning(sym)])
    # 反向弯路 (first to the left)
    W("warn-reverse-curve", [path("M 222 318 L 222 286 C 222 250 160 252 160 214 "
                                  "C 160 184 222 180 222 156", "none", BLACK, 30),
                             poly([(222, 100), (262, 160), (182, 160)], BLACK)])
    # 连续弯路
    W("warn-winding", [path("M 190 318 C 236 306 236 278 196 264 C 156 250 156 222 196 208 "
                            "C 236 194 236 170 206 158", "none", BLACK, 26),
                       poly([(184, 106), (236, 150), (184, 180)], BLACK)])
    # 上陡坡: the slope rises to the right, the car climbs it.
    W("warn-steep-ascent", [poly([(100, 325), (300, 325), (300, 212)], BLACK),
                            g(car_side(0, 0, BLACK, 0.7), "translate(196 268) rotate(-29.5)")])
    # 两侧变窄
    W("warn-narrow-both", [path("M 150 312 L 150 250 L 178 200 L 178 130", "none", BLACK, 22),
                           path("M 250 312 L 250 250 L 222 200 L 222 130", "none", BLACK, 22)])
    # 窄桥
    W("warn-narrow-bridge", [path("M 136 306 L 170 266 L 170 184 L 136 144", "none", BLACK, 20),
                             path("M 264 306 L 230 266 L 230 184 L 264 144", "none", BLACK,
                                  20)])
    # 双向交通
    # (right-hand traffic: own direction up on the right, oncoming down on the left)
    W("warn-two-way", [*arrow_path([(168, 128), (168, 320)], 30, 70, BLACK),
                       *arrow_path([(232, 320), (232, 128)], 30, 70, BLACK)])
    W("warn-pedestrians", [person(200, 305, 1.7)])
    W("warn-cyclists", [bicycle(200, 290, 1.7)])
    # 注意落石 (rocks from the left)
    W("warn-falling-rocks", [poly([(90, 322), (130, 140), (160, 140), (150, 322)], BLACK),
                             circle(186, 176, 18, BLACK), circle(214, 232, 22, BLACK),
                             circle(246, 292, 26, BLACK), circle(176, 280, 14, BLACK)])
    # 隧道
    W("warn-tunnel", [path("M 96 322 L 96 210 C 96 130 304 130 304 210 L 304 322 Z", BLACK),
                      path("M 150 322 L 150 226 C 150 178 250 178 250 226 L 250 322 Z",
                           YELLOW)])
    # 驼峰桥
    W("warn-hump-bridge", [path("M 86 300 L 130 300 C 160 300 170 228 200 228 C 230 228 240 300 "
                                "270 300 L 314 300", "none", BLACK, 22),
                           rect(170, 262, 60, 40, BLACK)])
    # 路面不平
    W("warn-uneven", [path("M 92 300 L 118 300 C 132 246 168 246 182 300 L 218 300 "
                           "C 232 246 268 246 282 300 L 308 300 Z", BLACK)])
    # 过水路面
    W("warn-ford", [g(car_side(0, 0, BLACK, 0.75), "translate(200 250)"),
                    path("M 96 282 Q 116 266 136 282 T 176 282 T 216 282 T 256 282 T 296 282 "
                         "T 310 276", "none", BLACK, 10),
                    path("M 112 312 Q 132 296 152 312 T 192 312 T 232 312 T 272 312 T 292 306",
                         "none", BLACK, 10)])
    # 有人看守铁道路口: the barrier gate
    gate = [rect(108, 176, 184, 28, BLACK), rect(108, 236, 184, 28, BLACK)]
    for x in (116, 156, 196, 236, 276):
        gate.append(rect(x, 186, 14, 124, BLACK))
    W("warn-level-crossing-guarded", gate)
    W("warn-slow", [text(200, 288, "慢", 116, BLACK)])
    W("warn-danger", [rect(184, 126, 32, 126, BLACK, 8), circle(200, 292, 20, BLACK)])
    W("warn-accidents", [text(200, 274, "事故", 88, BLACK)])
    # T 形交叉 (side road to the right)
    W("warn-t-junction", [rect(134, 214, 132, 40, BLACK), rect(180, 250, 40, 68, BLACK)])
    # 注意合流 (merging from the right)
    W("warn-merge", [rect(150, 120, 34, 204, BLACK),
                     path("M 270 322 L 270 270 C 270 230 184 226 184 186", "none", BLACK, 30)])
    # 村庄
    houses = []
    for x0, y0, s in ((112, 312, 1.0), (210, 292, 0.8)):
        houses += [poly([(x0, y0 - 70 * s), (x0 + 52 * s, y0 - 118 * s),
                         (x0 + 104 * s, y0 - 70 * s)], BLACK),
                   rect(x0 + 12 * s, y0 - 74 * s, 80 * s, 74 * s, BLACK),
                   rect(x0 + 40 * s, y0 - 40 * s, 24 * s, 40 * s, YELLOW)]
    W("warn-village", houses)
    # 施工: a worker digging beside a heap
    worker = [circle(170, 150, 16, BLACK),
              path("M 168 170 L 188 238", "none", BLACK, 24, "round"),
              path("M 188 238 L 170 312 M 188 238 L 214 306", "none", BLACK, 16, "round"),
              path("M 176 186 L 226 214", "none", BLACK, 12, "round"),
              path("M 190 180 L 250 250", "none", BLACK, 8, "round"),
              poly([(240, 246), (266, 258), (258, 278), (232, 266)], BLACK),
              path("M 236 312 C 250 268 300 268 316 312 Z", BLACK)]
    # work-zone signs are orange (GB 5768.4): the same triangle with the yellow turned orange
    pic("warn-roadworks", [white_bg(), *orange(warning(worker))])
    # the same 施工 sign over a 40 limit, as set up in front of a work zone
    pic("work-speed-40", [white_bg(), rect(195, 150, 10, 250, GREY),
                          g(orange(warning(worker)), "translate(100 2) scale(0.5)"),
                          g(prohibition([text(200, 255, "40", 165, BLACK)], bar=False),
                            "translate(100 180) scale(0.5)")])
    # 环形交叉
    ring = []
    for k in range(3):
        a0 = math.radians(k * 120 + 20)
        a1 = math.radians(k * 120 + 95)
        a0, a1 = a1, a0
        r = 62
        x0, y0 = 200 + r * math.cos(a0), 225 + r * math.sin(a0)
        x1, y1 = 200 + r * math.cos(a1), 225 + r * math.sin(a1)
        ring.append(path(f"M {x0:.1f} {y0:.1f} A {r} {r} 0 0 0 {x1:.1f} {y1:.1f}", "none",
                         BLACK, 22))
        a2 = math.radians(k * 120 - 3)
        tip = (200 + r * math.cos(a2), 225 + r * math.sin(a2))
        tx, ty = math.sin(a2), -math.cos(a2)   # direction of travel: anticlockwise
        nx, ny = math.cos(a2), math.sin(a2)
        bx, by = tip[0] - 30 * tx, tip[1] - 30 * ty
        ring.append(poly([tip, (bx + 26 * nx, by + 26 * ny), (bx - 26 * nx, by - 26 * ny)],
                         BLACK))
    W("warn-roundabout", ring)



# ---------------------------------------------------------------- mandatory signs

def mandatory_pictures():
    M = lambda name, sym: pic(name, [white_bg(), *mandatory(sym)])
    M("straight-left", [*arrow_path([(225, 330), (225, 80)], 48, 104),
                        *arrow_path([(225, 240), (130, 240), (80, 240)], 44, 96)])
    M("straight-right", [*arrow_path([(175, 330), (175, 80)], 48, 104),
                         *arrow_path([(175, 240), (270, 240), (320, 240)], 44, 96)])
    M("left-right", [path("M 200 330 L 200 190", "none", WHITE, 48),
                     *arrow_path([(224, 190), (78, 190)], 48, 100),
                     *arrow_path([(176, 190), (322, 190)], 48, 100)])
    M("keep-right", arrow_path([(110, 110), (292, 292)], 52, 120))
    M("keep-left", arrow_path([(290, 110), (108, 292)], 52, 120))
    M("turn-left", arrow_path([(235, 330), (235, 190), (70, 190)], 52, 112))
    M("walk", [person(200, 320, 2.2, WHITE)])
    M("horn", horn(200, 200, 1.05, WHITE))
    M("motor-vehicles", [g(car_side(0, 0, WHITE, 1.45), "translate(200 268)")])
    M("nonmotor", [bicycle(200, 270, 2.3, WHITE)])
    M("u-turn", arrow_path([(240, 330), (240, 170), (240, 140), (160, 140), (160, 170),
                            (160, 290)], 44, 100))
    # 单行路: blue rectangles with a white arrow
    pic("one-way-left", [white_bg(), *board(20, 110, 360, 180),
                         *arrow_path([(340, 200), (60, 200)], 56, 120)])
    pic("one-way-straight", [white_bg(), *board(110, 20, 180, 360),
                             *arrow_path([(200, 350), (200, 50)], 56, 120)])
    # 车道 signs hung over a lane: a symbol above a down arrow
    pic("motor-lane", [white_bg(), *board(40, 20, 320, 360),
                       g(car_side(0, 0, WHITE, 1.2), "translate(200 170)"),
                       *arrow_path([(200, 190), (200, 350)], 44, 96)])
    pic("nonmotor-lane", [white_bg(), *board(40, 20, 320, 360),
                          bicycle(200, 180, 1.9, WHITE),
                          *arrow_path([(200, 200), (200, 350)], 44, 96)])


# ---------------------------------------------------------------- guide, work-zone, plates

def guide_pictures():
    # 地点距离
    rows = [("城关", "5"), ("河口", "28"), ("清江", "63")]
    body = [white_bg(), *board(20, 80, 360, 240)]
    for i, (name, km) in enumerate(rows):
        y = 150 + i * 68
        body += [text(60, y, name, 48, WHITE, anchor="start"),
                 text(340, y, km + " km", 48, WHITE, anchor="end")]
    pic("place-distance", body)
    # 国道 / 省道 编号
    pic("route-national", [white_bg(), rect(60, 110, 280, 180, RED, 12),
                           rect(70, 120, 260, 160, "none", 8, WHITE, 6),
                           text(200, 240, "G105", 100, WHITE)])
    pic("route-provincial", [white_bg(), rect(60, 110, 280, 180, YELLOW, 12),
                             rect(70, 120, 260, 160, "none", 8, BLACK, 6),
                             text(200, 240, "S203", 100, BLACK)])
    # 高速公路入口, with the prohibition plate under it
    ent = [rect(0, 0, 400, 400, SKY), rect(194, 250, 12, 150, GREY),
           *board(30, 24, 340, 150, GREEN),
           text(200, 86, "滨江高速", 50, WHITE), text(160, 150, "入口", 54, WHITE),
           *arrow_path([(250, 132), (330, 132)], 20, 44),
           rect(40, 186, 320, 110, WHITE, 10, BLACK, 4)]
    for i, sym in enumerate(([person(200, 310, 2.1)], [bicycle(200, 262, 2.3)],
                             moto(200, 276, 0.9))):
        cx = 100 + i * 100
        ent.append(g(prohibition(sym), f"translate({cx - 45} 196) scale(0.225)"))
    pic("expressway-entrance", ent)
    # 服务区预告
    pic("service-area", [white_bg(), *board(30, 90, 340, 220, GREEN),
                         text(200, 180, "服务区", 72, WHITE), text(200, 270, "2 km", 64, WHITE)])
    # 前方施工
    pic("works-ahead", [white_bg(), *board(30, 90, 340, 220, ORANGE, BLACK),
                        text(200, 185, "前方施工", 72, BLACK), text(200, 270, "300 m", 64, BLACK)])
    # 施工区的锥桶与路栏 (a scene seen by the rider)
    sc = [rect(0, 0, 400, 160, SKY), rect(0, 160, 400, 240, GRASS),
          poly([(140, 160), (260, 160), (380, 400), (20, 400)], ROAD),
          line(200, 160, 200, 400, ROAD_LINE_WHITE, 4, dash="20 16"),
          rect(212, 176, 50, 26, WHITE, 2, BLACK, 2),
          rect(212, 182, 50, 7, RED), rect(212, 194, 50, 5, RED)]
    for i, (cx, cy, s) in enumerate(((290, 380, 1.0), (262, 318, 0.8), (244, 270, 0.65),
                                     (230, 236, 0.5), (220, 212, 0.4))):
        sc += [poly([(cx, cy - 60 * s), (cx + 20 * s, cy), (cx - 20 * s, cy)], "#F06000"),
               rect(cx - 12 * s, cy - 36 * s, 24 * s, 10 * s, WHITE),
               rect(cx - 26 * s, cy - 4 * s, 52 * s, 8 * s, "#F06000")]
    pic("work-zone-cones", sc)


def plate_pictures():
    def combo(sign, plate_lines, size=50):
        out = [white_bg(), g(sign, "translate(75 0) scale(0.625)")]
        out.append(rect(40, 250, 320, 120, WHITE, 8, BLACK, 6))
        n = len(plate_lines)
        for i, s in enumerate(plate_lines):
            out.append(text(200, 250 + 120 * (i + 1) / (n + 1) + size * 0.36, s, size, BLACK))
        return out
    no_parking = [circle(200, 200, 191, WHITE, "#BBBBBB", 1), circle(200, 200, 185, RED),
                  circle(200, 200, 152, BLUE),
                  line(93, 93, 307, 307, RED, 30), line(307, 93, 93, 307, RED, 30)]
    pic("no-parking-ahead", combo(no_parking, ["向前 200 m"]))
    pic("no-moto-except-time", combo(prohibition(moto(200, 276, 0.9)), ["7:30-19:00"]))
    pic("school-plate", combo(warning([person(200, 305, 1.7)]), ["学校"]))
    pic("no-left-except-bus", combo(prohibition(turn_arrow([(230, 320), (230, 175), (100, 175)])),
                                    ["除公共汽车外"]))


def main():
    prohibition_pictures()
    warning_pictures()
    mandatory_pictures()
    guide_pictures()
    plate_pictures()
    print(len(PICS), "pictures")


if __name__ == "__main__":
    main()
