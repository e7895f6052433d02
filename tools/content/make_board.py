#!/usr/bin/python3
"""Lays out the board and writes content/board/board.txt.

The board is described here as squares (named, placed on map cells) and corridors (polylines
between two squares), then drawn onto the 64 x 74 map with water and raised rock around it.
Before writing, the layout is checked the way the game will walk it:

- the board compiler's corridor rules (no corridor cell with more than two ways on, no loop of
  corridor without a square);
- every square reachable from the human player's start;
- the twelve request routes, walked from their giver's square with the game's rules (a route
  direction is taken on a square without a test, corridors are followed by corridor_turn, one
  stop after each die value): every direction must leave its square along a corridor, one stop
  must be on the square that sells the request's item, and the route must end on its giver.

Run from the repository root:
    /usr/bin/python3 tools/content/make_board.py [--print-routes] [--picture docs/story/board_plan.png]
(--picture needs Pillow and fonts-noto-cjk: a labelled plan of the squares for the story's notes.)
The C++ test tests/field/board_routes_test.cpp walks the same routes with the game's own code.
"""
import sys
from collections import deque

WIDTH, HEIGHT = 64, 74
FILL, RAISED, WATER = 15, 30, 45

# --- Squares: name -> (column, row). Lattice of 4 cells; the three regions are named after
# the request whose routes run there.
SQUARES = {}


def sq(name, col, row):
    assert name not in SQUARES, name
    SQUARES[name] = (col, row)


# Region of request 2 (routes 0..3), giver "A" (square 31), in the west.
for name, col, row in [
    ("A", 38, 22), ("Aa", 38, 26), ("Ab", 30, 26), ("Ac", 30, 22), ("Ad", 26, 22),
    ("AX", 26, 26), ("AY", 26, 30), ("Ae", 26, 18), ("Af", 26, 14), ("Ag", 26, 10),
    ("Ag2", 26, 6), ("At", 26, 2), ("At2", 30, 2), ("At3", 22, 2), ("Ah", 30, 10),
    ("Ai", 30, 6), ("Av2", 30, 18), ("Av3", 34, 18),
]:
    sq(name, col, row)
# Region of request 1 (routes 4..7), giver "B" (square 8), around the start in the south-east.
for name, col, row in [
    ("B", 43, 59), ("Bs1", 47, 59), ("Bs2", 47, 63), ("Bs3", 51, 63), ("Bs4", 51, 59),
    ("Bs5", 55, 59), ("Bs6", 55, 63), ("Bs7", 59, 63), ("Bs8", 59, 71), ("Bq1", 59, 59),
    ("Bq2", 59, 52), ("Bq3", 55, 52), ("Bp", 51, 52), ("Br3", 47, 67), ("Br4", 47, 71),
    ("Br5", 51, 71), ("Br11", 43, 71), ("Br12", 43, 67), ("Br13", 43, 63),
    ("S45", 59, 45),
]:
    sq(name, col, row)
# Region of request 3 (routes 8..11), giver "C" (square 35), in the north-east.
for name, col, row in [
    ("C", 50, 4), ("Cc1", 50, 8), ("Cc2", 50, 12), ("Cc3", 50, 16), ("Cc4", 50, 20),
    ("Cc5", 50, 24), ("Cc6", 50, 28), ("Cc7", 50, 32), ("Cw1", 46, 32), ("Cw2", 46, 28),
    ("Cw3", 46, 24), ("Cw4", 46, 20), ("Cw5", 46, 16), ("Cw6", 46, 12), ("Ce1", 54, 24),
    ("Ce2", 58, 24), ("Ce3", 58, 28), ("Ce4", 54, 28),
]:
    sq(name, col, row)
# The four destinations (terrain 1..4), each a square of its own.
DESTINATIONS = {"D1": 1, "D2": 2, "D3": 3, "D4": 4}
for name, col, row in [("D1", 10, 8), ("D2", 30, 30), ("D3", 58, 4), ("D4", 30, 46)]:
    sq(name, col, row)

# --- Corridors: polylines of corner cells, from a square to a square.
CORRIDORS = [
    # Region A.
    [(38, 22), (38, 26)],                      # A.S - a
    [(38, 26), (30, 26)],                      # a.W - b
    [(30, 26), (30, 22)],                      # b.N - c
    [(30, 26), (26, 26)],                      # b.W - X
    [(30, 22), (26, 22)],                      # c.W - d
    [(26, 22), (26, 18)],                      # d.N - e
    [(26, 22), (26, 26)],                      # d.S - X
    [(26, 26), (26, 30)],                      # X.S - Y
    [(26, 30), (26, 32), (40, 32), (40, 22), (38, 22)],  # Y.S - A.E, round the east
    [(26, 18), (26, 14)],                      # e - f
    [(26, 14), (26, 10)],                      # f - g
    [(26, 10), (26, 6)],                       # g - g'
    [(26, 6), (26, 2)],                        # g' - t
    [(26, 10), (30, 10)],                      # g.E - h
    [(30, 10), (30, 6)],                       # h.N - i
    [(30, 6), (26, 6)],                        # i.W - g'
    [(26, 2), (30, 2)],                        # t.E - t2
    [(26, 2), (22, 2)],                        # t.W - t3
    [(22, 2), (22, 6), (26, 6)],               # t3.S - g'.W
    [(26, 18), (30, 18)],                      # e.E - v2
    [(30, 18), (34, 18)],                      # v2.E - v3
    [(34, 18), (34, 22), (38, 22)],            # v3.S - A.W
    # Region B.
    [(43, 59), (47, 59)],                      # B.E - s1
    [(47, 59), (47, 63)],                      # s1.S - s2
    [(47, 63), (51, 63)],                      # s2.E - s3
    [(51, 63), (51, 59)],                      # s3.N - s4
    [(51, 59), (55, 59)],                      # s4.E - s5
    [(55, 59), (55, 63)],                      # s5.S - s6
    [(55, 63), (59, 63)],                      # s6.E - s7
    [(59, 63), (59, 71)],                      # s7.S - s8
    [(59, 63), (59, 59)],                      # s7.N - q1
    [(59, 59), (59, 52)],                      # q1.N - q2
    [(59, 52), (55, 52)],                      # q2.W - q3
    [(55, 52), (55, 59)],                      # q3.S - s5
    [(51, 59), (47, 59)],                      # s4.W - s1
    [(47, 59), (47, 57), (43, 57), (43, 59)],  # s1.N - B.N
    [(51, 59), (51, 52)],                      # s4.N - p
    [(51, 52), (40, 52), (40, 59), (43, 59)],  # p.W - B.W, round the west
    [(47, 63), (47, 67)],                      # s2.S - r3
    [(47, 67), (47, 71)],                      # r3 - r4
    [(47, 71), (51, 71)],                      # r4.E - r5
    [(51, 71), (59, 71)],                      # r5.E - s8
    [(47, 71), (43, 71)],                      # r4.W - r11
    [(43, 71), (43, 67)],                      # r11.N - r12
    [(43, 67), (43, 63)],                      # r12 - r13
    [(43, 63), (42, 63), (42, 61), (43, 61), (43, 59)],  # r13.W - B.S
    [(59, 52), (59, 45)],                      # q2.N - the square above the start
    [(59, 59), (55, 59)],                      # q1.W - s5.E (a short way to the giver)
    # Region C.
    [(50, 4), (50, 8)], [(50, 8), (50, 12)], [(50, 12), (50, 16)], [(50, 16), (50, 20)],
    [(50, 20), (50, 24)], [(50, 24), (50, 28)], [(50, 28), (50, 32)],
    [(50, 32), (46, 32)],                      # c7.W - w1
    [(46, 32), (46, 28)],                      # w1.N - w2
    [(46, 28), (44, 28), (44, 26), (46, 26), (46, 24)],  # w2.W - w3.S
    [(46, 24), (50, 24)],                      # w3.E - c5
    [(46, 24), (46, 20)], [(46, 20), (46, 16)], [(46, 16), (46, 12)],
    [(46, 12), (46, 4), (50, 4)],              # w6.N - C.W
    [(50, 24), (54, 24)], [(54, 24), (58, 24)],  # c5.E - e1 - e2
    [(58, 24), (58, 28)],                      # e2.S - e3
    [(58, 28), (54, 28)], [(54, 28), (50, 28)],  # e3.W - e4 - c6
    # Between the regions and to the destinations.
    [(30, 2), (50, 2), (50, 4)],               # t2.E - C.N: the north road
    [(34, 18), (42, 18), (42, 20), (46, 20)],  # v3.E - w4.W
    [(50, 32), (50, 49), (51, 49), (51, 52)],  # c7.S - p.N
    [(59, 45), (59, 30), (58, 30), (58, 28)],  # the square above the start - e3.S
    [(22, 2), (10, 2), (10, 8)],               # t3.W - D1
    [(26, 10), (10, 10), (10, 8)],             # g.W - D1
    [(30, 26), (30, 30)],                      # b.S - D2
    [(26, 30), (30, 30)],                      # Y.E - D2
    [(38, 26), (38, 30), (30, 30)],            # a.S - D2
    [(50, 4), (58, 4)],                        # C.E - D3
    [(58, 24), (58, 4)],                       # e2.N - D3
    [(26, 30), (22, 30), (22, 46), (30, 46)],  # Y.W - D4
    [(46, 32), (46, 46), (30, 46)],            # w1.S - D4
    [(43, 67), (30, 67), (30, 46)],            # r12.W - D4, closed by a rockfall (GATE)
]
# A rockfall on the way from square r12 to D4; an event opens it (terrain 0).
GATE = (30, 60)
# A dead end north of the giver of request 2 (routes 0..3 end by walking into it).
DEAD_ENDS = [[(38, 22), (38, 20)]]

# --- Square numbers. Fixed by the event script table: givers, opening, shops, places.
NUMBERS = {
    "B": 8, "A": 31, "C": 35,          # request givers 1, 2, 3
    "Bq2": 41,                         # the opening square, where the human player starts
    "S45": 42,                         # the per-character square, right above the start
    "Bs8": 16, "Ae": 37, "Cw5": 7,     # the shops selling items 11, 5 and 12
    "D1": 12, "D2": 20, "D3": 23, "D4": 25,  # the four destinations
    "Cc3": 26, "At": 27,               # scripts opened by another script
}
# What each request needs: giver, item, shop square, routes.
REQUESTS = [
    # (request, giver, item, shop, routes)
    (1, "B", 11, "Bs8", [4, 5, 6, 7]),
    (2, "A", 5, "Ae", [0, 1, 2, 3]),
    (3, "C", 12, "Cw5", [8, 9, 10, 11]),
]

START = (59, 52)
STARTS = [(59, 52), (59, 45), (59, 59)]

# --- The route tables the computer players follow.
ROUTE_DICE = [
    [3, 2, 4, 2, 4, 3], [5, 3, 1, 3, 4, 2], [3, 2, 3, 2, 2, 2, 3, 3], [1, 2, 3, 1, 2, 2, 2, 1, 4],
    [2, 4, 2, 4, 1, 3], [1, 5, 2, 2, 3, 3], [2, 2, 2, 1, 3, 1, 3], [1, 3, 2, 1, 1, 1, 3, 2],
    [1, 3, 3, 2, 3, 1, 3, 2], [1, 3, 3, 2, 3, 1, 3, 2], [2, 2, 3, 3, 3, 2, 3, 2],
    [1, 1, 4, 4, 1, 5, 2, 2],
]
_R0 = [270, 180, 90, 180, 90, 90, 90, 0, 90, 270, 180, 270, 270, 270, 270, 270, 270, 90]
_R6 = [0, 270, 270, 270, 0, 0, 90, 270, 180, 180, 180, 90, 90, 180]
_R8 = [270] * 7 + [90, 90, 270, 270, 180, 90, 180, 90, 90, 90, 90]
_R10 = [270] * 5 + [0, 0, 270, 180, 180, 0, 0, 90, 180, 180, 180, 90, 90, 90, 90]
ROUTE_DIRS = [
    _R0, _R0,
    [270, 180, 180, 90, 90, 90, 90, 90, 90, 0, 180, 180, 270, 270, 270, 270, 0, 0, 270, 90],
    [270, 180, 90, 180, 90, 90, 90, 90, 0, 180, 270, 270, 270, 270, 270, 270, 270, 90],
    [0, 270, 0, 90, 0, 270, 0, 270, 90, 90, 90, 180, 270, 180, 90, 180],
    [0, 270, 0, 90, 0, 270, 0, 270, 90, 90, 90, 180, 270, 180, 180, 90],
    _R6, _R6, _R8, _R8, _R10, _R10,
]
STEP = {0: (1, 0), 90: (0, -1), 180: (-1, 0), 270: (0, 1)}
CORRIDOR_ORDER = {0: [0, 270, 90, 180], 180: [180, 270, 90, 0], 270: [270, 0, 180, 90],
                  90: [90, 0, 180, 270]}


def cells_of(polyline):
    out = []
    for (c0, r0), (c1, r1) in zip(polyline, polyline[1:]):
        assert c0 == c1 or r0 == r1, (polyline, "corridors run straight between corners")
        dc = (c1 > c0) - (c1 < c0)
        dr = (r1 > r0) - (r1 < r0)
        c, r = c0, r0
        while (c, r) != (c1, r1):
            out.append((c, r))
            c, r = c + dc, r + dr
    out.append(polyline[-1])
    return out


def build():
    terrain = [[FILL] * WIDTH for _ in range(HEIGHT)]
    squares = [[0] * WIDTH for _ in range(HEIGHT)]
    names = {}
    for name, (c, r) in SQUARES.items():
        names[(c, r)] = name
        terrain[r][c] = DESTINATIONS.get(name, 0)
    for line in CORRIDORS + DEAD_ENDS:
        assert line[0] in names, ("a corridor starts on a square", line)
        if line not in DEAD_ENDS:
            assert line[-1] in names, ("a corridor ends on a square", line)
        for cell in cells_of(line):
            c, r = cell
            if cell in names:
                if cell not in (line[0], line[-1]):
                    sys.exit(f"corridor {line} runs over square {names[cell]}")
                continue
            if terrain[r][c] == 0:
                sys.exit(f"corridor {line} crosses another at {cell}")
            terrain[r][c] = 0
    # Numbers: the fixed ones, then the others in reading order.
    fixed = set(NUMBERS.values())
    assert len(fixed) == len(NUMBERS)
    free = [n for n in range(1, 61) if n not in fixed]
    number_of = dict(NUMBERS)
    for r in range(HEIGHT):
        for c in range(WIDTH):
            name = names.get((c, r))
            if name and name not in number_of:
                number_of[name] = free.pop(0)
    assert not free, f"{len(free)} square numbers unused"
    for name, (c, r) in SQUARES.items():
        squares[r][c] = number_of[name]
    return terrain, squares, names, number_of


def passable(terrain, c, r):
    return 0 <= c < WIDTH and 0 <= r < HEIGHT and terrain[r][c] <= 14


def check_corridors(terrain, squares):
    for r in range(HEIGHT):
        for c in range(WIDTH):
            if not passable(terrain, c, r) or squares[r][c]:
                continue
            ways = sum(passable(terrain, c + dc, r + dr) for dc, dr in STEP.values())
            if ways > 2:
                sys.exit(f"corridor cell ({c}, {r}) has {ways} ways on")


def reachable(terrain, start):
    seen = {start}
    todo = deque([start])
    while todo:
        c, r = todo.popleft()
        for dc, dr in STEP.values():
            n = (c + dc, r + dr)
            if n not in seen and passable(terrain, *n):
                seen.add(n)
                todo.append(n)
    return seen


def walk_route(terrain, squares, start, route):
    """The squares a route passes and where it stops, walked as the game walks it."""
    c, r = start
    dirs = iter(ROUTE_DIRS[route])
    stops, passed = [], []
    for die in ROUTE_DICE[route]:
        for _ in range(die):
            facing = next(dirs)
            dc, dr = STEP[facing]
            if not passable(terrain, c + dc, r + dr):
                raise ValueError(f"route {route}: direction {facing} from square "
                                 f"{squares[r][c]} at ({c}, {r}) runs into a wall")
            for _ in range(1000):
                c, r = c + dc, r + dr
                if not passable(terrain, c, r):
                    raise ValueError(f"route {route} walked into a wall at ({c}, {r})")
                if squares[r][c]:
                    break
                for d in CORRIDOR_ORDER[facing]:
                    if passable(terrain, c + STEP[d][0], r + STEP[d][1]):
                        facing = d
                        break
                dc, dr = STEP[facing]
            else:
                raise ValueError(f"route {route} never reaches a square")
            passed.append(squares[r][c])
        stops.append(squares[r][c])
    return passed, stops


def decorate(terrain):
    """Water and raised rock on blocked cells; roads keep a fill-value verge of one cell."""
    def near_road(c, r):
        return any(passable(terrain, c + dc, r + dr)
                   for dc in (-1, 0, 1) for dr in (-1, 0, 1))

    def paint(c0, r0, c1, r1, value):
        for r in range(max(r0, 0), min(r1, HEIGHT - 1) + 1):
            for c in range(max(c0, 0), min(c1, WIDTH - 1) + 1):
                if terrain[r][c] == FILL and not near_road(c, r):
                    terrain[r][c] = value

    # The great lake in the south-west, and the ponds.
    paint(0, 34, 20, 73, WATER)
    paint(20, 48, 29, 66, WATER)
    paint(31, 48, 41, 66, WATER)
    paint(24, 34, 45, 44, WATER)
    paint(52, 33, 57, 48, WATER)
    paint(13, 12, 23, 28, WATER)
    paint(0, 12, 8, 32, WATER)
    # Raised rock: hills between the roads.
    paint(27, 11, 29, 16, RAISED)
    paint(31, 11, 45, 16, RAISED)
    paint(35, 5, 44, 9, RAISED)
    paint(51, 9, 57, 21, RAISED)
    paint(0, 0, 8, 6, RAISED)
    paint(13, 3, 21, 8, RAISED)
    paint(60, 0, 63, 22, RAISED)
    paint(28, 68, 41, 73, RAISED)
    paint(52, 64, 57, 69, RAISED)


def picture(terrain, squares, path):
    """A labelled plan of the board for the story's notes: every square with its number."""
    from PIL import Image, ImageDraw, ImageFont
    k = 12
    colours = {FILL: (92, 140, 72), RAISED: (150, 146, 140), WATER: (64, 120, 200), 0: (232, 214, 170),
               1: (231, 76, 60), 2: (52, 152, 219), 3: (241, 196, 15), 4: (236, 240, 241)}
    img = Image.new("RGB", (WIDTH * k, HEIGHT * k))
    d = ImageDraw.Draw(img)
    for r in range(HEIGHT):
        for c in range(WIDTH):
            d.rectangle((c * k, r * k, c * k + k - 1, r * k + k - 1), fill=colours[terrain[r][c]])
    font = ImageFont.truetype("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", 11)
    givers = {number: request for request, giver, _, _, _ in REQUESTS
              for name, number in NUMBERS.items() if name == giver}
    shops = {NUMBERS[shop] for _, _, _, shop, _ in REQUESTS}
    for r in range(HEIGHT):
        for c in range(WIDTH):
            n = squares[r][c]
            if not n:
                continue
            fill = (255, 255, 255)
            if n in givers:
                fill = (255, 140, 140)
            elif n in shops:
                fill = (140, 220, 140)
            x, y = c * k + k // 2, r * k + k // 2
            d.ellipse((x - 10, y - 10, x + 10, y + 10), fill=fill, outline=(20, 20, 20), width=2)
            d.text((x, y), str(n), fill=(0, 0, 0), font=font, anchor="mm")
    for c in range(0, WIDTH, 8):
        d.text((c * k + 2, 1), str(c), fill=(255, 255, 255), font=font)
    for r in range(8, HEIGHT, 8):
        d.text((2, r * k), str(r), fill=(255, 255, 255), font=font)
    img.save(path)


def main():
    terrain, squares, names, number_of = build()
    c, r = GATE
    assert terrain[r][c] == 0 and not squares[r][c], "the rockfall lies on a corridor"
    terrain[r][c] = RAISED
    check_corridors(terrain, squares)
    decorate(terrain)
    seen = reachable(terrain, START)
    for name, (c, r) in SQUARES.items():
        if (c, r) not in seen:
            sys.exit(f"square {name} ({number_of[name]}) cannot be reached from the start")
    for c, r in STARTS:
        assert squares[r][c], ("players start on squares", (c, r))
    assert sorted(number_of.values()) == list(range(1, 61))

    report = []
    for request, giver, item, shop, routes in REQUESTS:
        for route in routes:
            passed, stops = walk_route(terrain, squares, SQUARES[giver], route)
            if stops[-1] != number_of[giver]:
                sys.exit(f"route {route} ends on {stops[-1]}, not on its giver")
            if number_of[shop] not in stops:
                sys.exit(f"route {route} never stops on the shop {number_of[shop]}")
            report.append((request, route, passed, stops))
    if "--print-routes" in sys.argv:
        for request, route, passed, stops in report:
            print(f"request {request} route {route:2}: stops {stops}")
            print(f"                   passes {passed}")
        by_number = {n: name for name, n in number_of.items()}
        print(" ".join(f"{n}={by_number[n]}" for n in range(1, 61)))

    legend = {0: ".", 1: "1", 2: "2", 3: "3", 4: "4", FILL: "#", RAISED: "^", WATER: "~"}
    out = [
        "# The board: roads between sixty numbered squares, four destinations, water and rock.",
        "# Written by tools/content/make_board.py (edit the layout there and run it again).",
        "# Compiled into mappack.dat by tessaly-mapc at every build.",
        "#",
        "# Legend: '.' road, '#' grass (blocked), '~' water, '^' raised rock, '1'..'4' the",
        "# destinations. Squares are listed after the map as \"square NUMBER COLUMN ROW\".",
        "# The players start on column 59, rows 52 (the human player, square 41), 45 and 59.",
        f"size {WIDTH} {HEIGHT}",
        "legend . 0", "legend 1 1", "legend 2 2", "legend 3 3", "legend 4 4",
        f"legend # {FILL}", f"legend ^ {RAISED}", f"legend ~ {WATER}",
        "map",
    ]
    for r in range(HEIGHT):
        out.append("".join(legend[terrain[r][c]] for c in range(WIDTH)))
    for n in range(1, 61):
        for name, num in number_of.items():
            if num == n:
                c, r = SQUARES[name]
                out.append(f"square {n} {c} {r}")
    with open("content/board/board.txt", "w") as f:
        f.write("\n".join(out) + "\n")
    if "--picture" in sys.argv:
        picture(terrain, squares, sys.argv[sys.argv.index("--picture") + 1])


if __name__ == "__main__":
    main()
