"""Draws pebbles under clear water as a binary PPM (P6) picture.

A bed of rounded stones, each shaded as a low dome lit from the upper left with
a soft shadow to the lower right, seen through water: a blue-green tint that
deepens towards the top, and bright caustic ripples of sunlight on the bottom.
Everything comes from a fixed seed, so the picture is the same on every run.

Usage: python3 pebbles.py WIDTH HEIGHT OUTPUT.ppm
"""
import math
import random
import sys

SEED = 7
STONE_COLOURS = [     # dry-stone colours: greys, ochres, rust, slate, cream
    (150, 146, 138), (120, 116, 110), (178, 168, 150), (196, 186, 168),
    (160, 120, 84), (138, 96, 70), (176, 140, 98), (110, 112, 122),
    (90, 92, 98), (206, 198, 184), (150, 104, 92), (128, 132, 118),
]
SAND = (150, 138, 112)
WATER = (24, 118, 128)
LIGHT = (-0.55, -0.6, 0.58)    # direction to the sun: up and to the left, above


def normalise(v):
    length = math.sqrt(sum(c * c for c in v))
    return tuple(c / length for c in v)


def place_centres(rng, width, height):
    """Centres and sizes of a packed bed: a few big stones, many small ones, rarely overlapping."""
    placed = []
    for _ in range(2200):
        radius = 6 + 27 * rng.random() ** 1.6
        x, y = rng.uniform(-25, width + 25), rng.uniform(-25, height + 25)
        if all((x - px) ** 2 + (y - py) ** 2 > (0.78 * (radius + pr)) ** 2 for px, py, pr in placed):
            placed.append((x, y, radius))
    return placed


def make_stones(rng, width, height):
    """Stones of varied size, shape and colour, big ones first so small ones lie on top."""
    stones = []
    for x, y, radius in place_centres(rng, width, height):
        stones.append({
            "x": x,
            "y": y,
            "rx": radius * rng.uniform(1.0, 1.35),
            "ry": radius * rng.uniform(0.65, 0.95),
            "angle": rng.uniform(0, math.pi),
            "wobble": [(rng.uniform(0, 0.07), rng.uniform(0, 2 * math.pi)) for _ in range(3)],
            "colour": tuple(c * rng.uniform(0.85, 1.12) for c in rng.choice(STONE_COLOURS)),
            "grain": rng.uniform(0.03, 0.10),
            "seed": rng.random() * 1000,
        })
    stones.sort(key=lambda s: -s["rx"] * s["ry"])
    return stones


def stone_radius(stone, dx, dy):
    """Distance from the centre, scaled so the wobbly outline is at 1."""
    cos_a, sin_a = math.cos(stone["angle"]), math.sin(stone["angle"])
    u = (dx * cos_a + dy * sin_a) / stone["rx"]
    v = (-dx * sin_a + dy * cos_a) / stone["ry"]
    theta = math.atan2(v, u)
    edge = 1.0 + sum(a * math.sin((k + 2) * theta + p) for k, (a, p) in enumerate(stone["wobble"]))
    return math.sqrt(u * u + v * v) / edge, u, v, cos_a, sin_a


def paint_shadow(pixels, width, height, stone):
    """Darken the bed below and to the right of the stone."""
    reach = stone["rx"] * 1.35
    cx, cy = stone["x"] + 4, stone["y"] + 5
    for y in range(max(0, int(cy - reach)), min(height, int(cy + reach) + 1)):
        for x in range(max(0, int(cx - reach)), min(width, int(cx + reach) + 1)):
            r = stone_radius(stone, x - cx, y - cy)[0]
            if r < 1.3:
                shade = 0.55 + 0.45 * min(1.0, max(0.0, (r - 0.8) / 0.5))
                i = y * width + x
                pixels[i] = tuple(c * shade for c in pixels[i])


def paint_stone(pixels, width, height, stone, light):
    reach = stone["rx"] * 1.25
    grain_rng = random.Random(stone["seed"])
    for y in range(max(0, int(stone["y"] - reach)), min(height, int(stone["y"] + reach) + 1)):
        for x in range(max(0, int(stone["x"] - reach)), min(width, int(stone["x"] + reach) + 1)):
            r, u, v, cos_a, sin_a = stone_radius(stone, x - stone["x"], y - stone["y"])
            if r >= 1.0:
                continue
            # A rounded dome, a little flattened on top.
            slope = 0.75 * r ** 1.5 / math.sqrt(max(0.04, 1.0 - r * r))
            nu, nv = u / max(r, 1e-6) * slope, v / max(r, 1e-6) * slope
            nx, ny = nu * cos_a - nv * sin_a, nu * sin_a + nv * cos_a
            normal = normalise((nx, ny, 1.0))
            diffuse = max(0.0, sum(a * b for a, b in zip(normal, light)))
            half = normalise((light[0], light[1], light[2] + 1.0))
            specular = max(0.0, sum(a * b for a, b in zip(normal, half))) ** 40 * 0.35
            grain = 1.0 + stone["grain"] * (grain_rng.random() * 2 - 1)
            lit = (0.35 + 0.85 * diffuse) * grain
            edge = min(1.0, (1.0 - r) * 6)           # soften the rim into the bed
            i = y * width + x
            colour = tuple(c * lit + 255 * specular for c in stone["colour"])
            pixels[i] = tuple(p * (1 - edge) + c * edge for p, c in zip(pixels[i], colour))


def caustic_net(rng, cell, width, height):
    """Jittered points on a grid of the given cell size; the edges of their
    Voronoi cells make the net of focused light."""
    cols, rows = int(width / cell) + 3, int(height / cell) + 3
    points = {(i, j): ((i + rng.random()) * cell, (j + rng.random()) * cell)
              for i in range(-3, cols + 2) for j in range(-3, rows + 2)}
    return cell, points


def distance_to_edge(net, x, y):
    """Second-nearest minus nearest point distance: zero on a cell's edge."""
    cell, points = net
    ci, cj = int(x // cell), int(y // cell)
    nearest = second = 1e9
    for i in range(ci - 1, ci + 2):
        for j in range(cj - 1, cj + 2):
            px, py = points[(i, j)]
            d = math.hypot(x - px, y - py)
            if d < nearest:
                nearest, second = d, nearest
            elif d < second:
                second = d
    return second - nearest


def caustic(nets, x, y):
    """Brightness of the ripple light at (x, y), 0 to about 1: a coarse bright
    net and a fine faint one, bent by slow waves so the lines curve."""
    wx = x + 6 * math.sin(y * 0.045 + 1.0) + 3 * math.sin(x * 0.09 + y * 0.03)
    wy = y + 6 * math.sin(x * 0.05 + 2.0) + 3 * math.sin(y * 0.08 - x * 0.02)
    coarse, fine = nets
    return (0.9 * math.exp(-(distance_to_edge(coarse, wx, wy) / 2.4) ** 2)
            + 0.3 * math.exp(-(distance_to_edge(fine, wx + 7, wy + 3) / 1.5) ** 2))


def refracted(pixels, width, height, x, y):
    """The bed seen through a gently rippled surface: a small, smooth displacement."""
    sx = x + 1.6 * math.sin(y * 0.07 + x * 0.02)
    sy = y + 1.6 * math.sin(x * 0.06 - y * 0.015 + 0.8)
    sx = min(width - 1, max(0, round(sx)))
    sy = min(height - 1, max(0, round(sy)))
    return pixels[sy * width + sx]


def through_water(rng, pixels, width, height):
    """Refract, add the caustic light, then tint towards the water colour,
    a little more towards the top where the water is seen at a slant."""
    nets = (caustic_net(rng, 36, width, height), caustic_net(rng, 21, width, height))
    seen = []
    for y in range(height):
        depth = 0.20 + 0.16 * (1 - y / height)
        for x in range(width):
            light = 0.92 + 0.75 * caustic(nets, x, y)
            bed = refracted(pixels, width, height, x, y)
            seen.append(tuple(min(255, max(0, round(c * light * (1 - depth) + w * depth)))
                              for c, w in zip(bed, WATER)))
    return seen


def sand_bed(rng, width, height):
    return [tuple(c * rng.uniform(0.85, 1.1) for c in SAND) for _ in range(width * height)]


def main():
    width, height, output = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    rng = random.Random(SEED)
    pixels = sand_bed(rng, width, height)
    light = normalise(LIGHT)
    for stone in make_stones(rng, width, height):
        paint_shadow(pixels, width, height, stone)
        paint_stone(pixels, width, height, stone, light)
    pixels = through_water(rng, pixels, width, height)
    with open(output, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (width, height))
        out.write(bytes(c for p in pixels for c in p))


if __name__ == "__main__":
    main()
