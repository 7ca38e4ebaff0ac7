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


def make_stones(rng, width, height):
    """Stones of varied size, shape and colour, big ones first so small ones lie on top."""
    stones = []
    for _ in range(400):
        radius = rng.uniform(9, 34)
        stones.append({
            "x": rng.uniform(-20, width + 20),
            "y": rng.uniform(-20, height + 20),
            "rx": radius * rng.uniform(1.0, 1.5),
            "ry": radius * rng.uniform(0.6, 1.0),
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
            # A flattened dome: steep only near the rim.
            slope = r ** 3 * 1.6
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


def caustic(x, y):
    """Bright thin bands where several warped waves cross zero: sunlight focused by ripples."""
    a = math.sin(x * 0.061 + 2.1 * math.sin(y * 0.043 + 0.4))
    b = math.sin(y * 0.057 + 1.9 * math.sin(x * 0.039 + 1.3))
    c = math.sin((x + y) * 0.033 + 1.7 * math.sin((x - y) * 0.029))
    return math.exp(-10 * (a + b) ** 2) * 0.6 + math.exp(-12 * (b + c) ** 2) * 0.5


def through_water(pixels, width, height):
    """Add caustics, then tint towards the water colour, more so towards the top."""
    for y in range(height):
        depth = 0.30 + 0.22 * (1 - y / height)
        for x in range(width):
            i = y * width + x
            light = 1.0 + 0.55 * caustic(x, y)
            lit = [c * light for c in pixels[i]]
            pixels[i] = tuple(min(255, max(0, round(c * (1 - depth) + w * depth)))
                              for c, w in zip(lit, WATER))


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
    through_water(pixels, width, height)
    with open(output, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (width, height))
        out.write(bytes(c for p in pixels for c in p))


if __name__ == "__main__":
    main()
