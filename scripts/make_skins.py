#!/usr/bin/env python3
"""Draws the shipped picture skins (format 2): skins/<name>.she and skins/<name>/*.png.

Every picture is computed here from numbers: anti-aliased shapes by
coverage (16 samples a pixel), gradients, and textures from a seeded
generator, so each run writes the same bytes. Standard library only.

Usage:
  make_skins.py            write the skins into skins/ beside this script's folder
  make_skins.py --check    write nothing; fail when the files in skins/ differ
  make_skins.py --report   print the contrast figures of every skin
  --skincheck              with any of the above: also run dist/skincheck.exe (under
                           Wine, from the Windows build) on the skins, and fail unless
                           each loads as written; left out of the native tests, which
                           run without Wine
"""
import colorsys
import os
import struct
import subprocess
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skins")

# ---- colours and contrast (WCAG 2) ------------------------------------------------


def rgb(text):
    """'#RRGGBB' -> (r, g, b) in 0..1."""
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def luminance(c):
    def lin(v):
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(round(v * 255) / 255.0) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def hue_turned(c, degrees):
    """The colour with its HSV hue turned, saturation and value kept."""
    h, s, v = colorsys.rgb_to_hsv(*c)
    return colorsys.hsv_to_rgb((h + degrees / 360.0) % 1.0, s, v)


# ---- pictures ---------------------------------------------------------------------


class Picture:
    """Straight (not premultiplied) RGBA in 0..1, frames stacked top to bottom."""

    def __init__(self, width, frame_height, frames=1):
        self.w, self.fh, self.frames = width, frame_height, frames
        self.h = frame_height * frames
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.w * self.h)]

    def put(self, x, y, colour, alpha=1.0):
        """Paints colour over pixel (x, y) with the given coverage."""
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        out_a = alpha + p[3] * (1 - alpha)
        for i in range(3):
            p[i] = (colour[i] * alpha + p[i] * p[3] * (1 - alpha)) / out_a
        p[3] = out_a

    def fill(self, frame, inside, colour_at, box=None):
        """Paints colour_at(x, y) (local to the frame) wherever inside(x, y)
        holds, with coverage from 4 x 4 samples per pixel."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.fh)
        for y in range(max(0, y0), min(self.fh, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4)
                           for i in range(4) for j in range(4))
                if hits:
                    self.put(x, frame * self.fh + y, colour_at(x, y), hits / 16.0)

    def get(self, frame, x, y):
        return self.px[(frame * self.fh + y) * self.w + x]

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)  # no filter
            for p in self.px[y * self.w:(y + 1) * self.w]:
                a = round(p[3] * 255)
                raw += bytes((round(p[0] * 255), round(p[1] * 255), round(p[2] * 255), a)
                             if a else (0, 0, 0, 0))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def rounded(x0, y0, x1, y1, r):
    """Inside test of a rectangle with corners rounded by r."""
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def everywhere(x, y):
    return True


def vertical(stops, height):
    """colour_at for a vertical gradient through (position 0..1, colour) stops."""
    def at(x, y):
        t = (y + 0.5) / height
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                return mix(c0, c1, 0 if t1 == t0 else max(0.0, (t - t0) / (t1 - t0)))
        return stops[-1][1]
    return at


def solid(c):
    return lambda x, y: c


class Noise:
    """xorshift32: the same numbers on every machine and Python."""

    def __init__(self, seed):
        self.state = seed or 1

    def next(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s / 4294967296.0


def brushed(width, height, seed, strength):
    """A brushed-metal grain: rows of noise smoothed along x, wrapping at
    the edges so that the texture tiles without a seam either way."""
    noise = Noise(seed)
    grain = []
    for _ in range(height):
        row = [noise.next() - 0.5 for _ in range(width)]
        for _ in range(3):  # three passes of a wrapping box blur: long streaks
            row = [sum(row[(x + k) % width] for k in range(-4, 5)) / 9 for x in range(width)]
        level = (noise.next() - 0.5) * 0.6  # each row a little lighter or darker
        grain.append([(v * 3 + level) * strength for v in row])
    return grain


def streaks(grain, share=0.7, step=0.04):
    """The grain in three levels: the quietest share of it flat (0), the
    rest a step lighter or darker, so that the metal has one colour of
    its own for the text and the buttons to stand on."""
    quiet = sorted(abs(v) for row in grain for v in row)[int(share * sum(map(len, grain)))]
    return [[0.0 if abs(v) < quiet else (step if v > 0 else -step) for v in row] for row in grain]


def shade(c, amount):
    """c lightened (amount > 0) or darkened (amount < 0), hue kept."""
    return mix(c, (1, 1, 1), amount) if amount > 0 else mix(c, (0, 0, 0), -amount)


# ---- the parts, shared by the skins -----------------------------------------------

FRAME_CAPTION_BUTTON = ("normal", "hover", "pressed", "inactive")
FRAME_BUTTON = ("normal", "hover", "pressed", "disabled", "default")


def glass_button(faces, border, ground, w=24, h=22, r=4.0):
    """Push button: a rounded body with a vertical gradient per state and a
    one-pixel light line under its top edge. faces: per frame (top, bottom,
    border or None); the shipped skins give top and bottom alike, one
    colour per state, which text and the state steps are read against. The corners outside the curve are opaque in ground,
    the face the buttons stand on, so that nothing else shows there."""
    pic = Picture(w, h, len(faces))
    for f, (top, bottom, edge) in enumerate(faces):
        pic.fill(f, everywhere, solid(ground))
        pic.fill(f, rounded(0, 0, w, h, r), solid(edge or border))
        pic.fill(f, rounded(1, 1, w - 1, h - 1, r - 1),
                 vertical([(0, top), (0.5, mix(top, bottom, 0.35)), (0.5, mix(top, bottom, 0.6)),
                           (1, bottom)], h))
        pic.fill(f, lambda x, y: 2 <= x < w - 2 and 1 <= y < 2, solid((1, 1, 1)))
    return pic


def pill_thumb(faces, ground, w=15, h=24, r=5.0):
    """Scroll thumb: a rounded body inset a pixel from the channel's edge,
    on the channel's own colour (ground, the scroll_track picture); corners
    keep their curve under the nine-grid."""
    pic = Picture(w, h, len(faces))
    for f, (body, edge) in enumerate(faces):
        pic.fill(f, everywhere, solid(ground))
        pic.fill(f, rounded(1.5, 1.5, w - 1.5, h - 1.5, r), solid(edge))
        pic.fill(f, rounded(2.5, 2.5, w - 2.5, h - 2.5, r - 1), solid(body))
    return pic


def near_polyline(points, width):
    """Inside test of a stroke of the given width along the points."""
    def inside(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= width * width / 4:
                return True
        return False
    return inside


def boxes(ground, looks, radio, size=13):
    """Check or radio boxes, 13 pixels square: frames 1-4 unchecked (normal,
    hover, pressed, disabled), 5-8 the same checked. looks: per frame
    (fill, edge, mark or None). Opaque on ground outside the shape."""
    pic = Picture(size, size, len(looks))
    half = size / 2
    for f, (fill, edge, mark) in enumerate(looks):
        pic.fill(f, everywhere, solid(ground))
        if radio:
            pic.fill(f, disc(half, half, half - 0.25), solid(edge))
            pic.fill(f, disc(half, half, half - 1.25), solid(fill))
            if mark:
                pic.fill(f, disc(half, half, 2.6), solid(mark))
        else:
            pic.fill(f, rounded(0.25, 0.25, size - 0.25, size - 0.25, 2.5), solid(edge))
            pic.fill(f, rounded(1.25, 1.25, size - 1.25, size - 1.25, 1.5), solid(fill))
            if mark:
                pic.fill(f, near_polyline([(3.3, 6.6), (5.5, 8.9), (9.8, 3.9)], 1.7), solid(mark))
    return pic


def box_looks(rest, hover, pressed, off, edge, off_edge, on, on_hover, on_pressed, on_off,
              mark, off_mark):
    """The eight frames of a box from its colours: unchecked states with
    no mark, checked ones filled in the accent with the mark."""
    return [(rest, edge, None), (hover, edge, None), (pressed, edge, None),
            (off, off_edge, None), (on, on, mark), (on_hover, on_hover, mark),
            (on_pressed, on_pressed, mark), (on_off, off_edge, off_mark)]


def caption_faces(shapes, w, h):
    """Caption button faces, one frame per state: shapes gives for each
    frame a list of (inside, colour) or an empty list (transparent)."""
    pic = Picture(w, h, len(shapes))
    for f, layers in enumerate(shapes):
        for inside, colour in layers:
            pic.fill(f, inside, colour if callable(colour) else solid(colour))
    return pic


# ---- the skins ----------------------------------------------------------------------


def pearl():
    """Glossy light: pearl-white surfaces, a glossy deep-azure title bar."""
    c = {k: rgb(v) for k, v in dict(
        face="#EEF2F7", face_text="#16202C", window="#FFFFFF", window_text="#0F1722",
        menu="#E4EBF3", border="#4D6885", caption_active="#16345A",
        caption_active_text="#FFFFFF", caption_inactive="#C2CAD4",
        caption_inactive_text="#141C26", button_face="#F4F7FB", button_text="#101822",
        button_hover="#D1E2F5", button_pressed="#BDD3EC", selection="#16345A",
        selection_text="#FFFFFF", menu_highlight="#16345A", menu_highlight_text="#FFFFFF",
    ).items()}
    pics = {}
    # Title bar: a gloss that steps at the middle, a highlight line on top
    # and a dark line at the bottom; 24 rows that stretch to the band.
    cap = Picture(8, 24, 2)
    # The body is one colour, so that the buttons' quiet steps and the
    # caption text are measured against the band itself; the gloss is a
    # band of four lighter rows under the highlight line.
    gloss = {0: (rgb("#22466C"), rgb("#1B3A5C")), 1: (rgb("#D2D9E1"), rgb("#C3CBD5"))}
    for f in (0, 1):
        cap.fill(f, everywhere, solid(gloss[f][1]))
        cap.fill(f, lambda x, y: y < 5, solid(gloss[f][0]))
        cap.fill(f, lambda x, y: y < 1, solid(rgb("#7496BE") if f == 0 else rgb("#EEF1F5")))
        cap.fill(f, lambda x, y: y >= 23, solid(rgb("#0F2744") if f == 0 else rgb("#A9B3BF")))
    pics["caption"] = (cap, "0 1 0 1")

    # Caption buttons: a glass pane that shows under the mouse.
    w, h, r = 20, 15, 3.5
    pane = rounded(0.5, 0.5, w - 0.5, h - 0.5, r)
    inner = rounded(1.5, 1.5, w - 1.5, h - 1.5, r - 1)

    # At rest the band shows through; under the mouse a pane a quiet step
    # lighter than the band (2:1), held down a step darker than that.
    def glass(body, edge):
        return [(pane, edge), (inner, solid(body))]
    buttons = [[], glass(rgb("#3F6894"), rgb("#7FA3CE")), glass(rgb("#0F2440"), rgb("#0C223B")),
               []]
    close = [[], glass(rgb("#C42B1C"), rgb("#E06A5E")), glass(rgb("#8E1A10"), rgb("#6E120A")),
             []]
    pics["caption_button"] = (caption_faces(buttons, w, h), "5 5 5 5")
    pics["caption_close"] = (caption_faces(close, w, h), "5 5 5 5")

    # Push buttons: white glass, sky glass under the mouse, pressed deeper.
    pics["button"] = (glass_button([
        (rgb("#F7F9FC"), rgb("#F7F9FC"), None),
        (rgb("#CDE1F6"), rgb("#CDE1F6"), rgb("#3C6A9E")),
        (rgb("#B0CAE9"), rgb("#B0CAE9"), rgb("#2D557F")),
        (rgb("#F0F2F6"), rgb("#F0F2F6"), rgb("#A4AFBC")),
        (rgb("#F7F9FC"), rgb("#F7F9FC"), None),  # the focus ring marks it
    ], rgb("#6D839B"), c["face"]), "5 5 5 5")

    bar = Picture(4, 20)
    bar.fill(0, everywhere, solid(rgb("#E8EEF5")))
    bar.fill(0, lambda x, y: y < 1, solid(rgb("#F6F8FB")))
    pics["menubar"] = (bar, "0 0 0 0")

    hl = Picture(12, 20)
    hl.fill(0, rounded(0, 0, 12, 20, 3), solid(rgb("#0F2744")))
    hl.fill(0, rounded(1, 1, 11, 19, 2),
            vertical([(0, rgb("#264C76")), (0.5, rgb("#1E4167")), (0.5, rgb("#16345A")),
                      (1, rgb("#1A3A60"))], 20))
    pics["menu_highlight"] = (hl, "4 4 4 4")

    looks = box_looks(c["window"], rgb("#DCE9F7"), rgb("#BDD3EC"), rgb("#E4E8EE"), rgb("#4D6885"),
                      rgb("#A4AFBC"), rgb("#1F4A7C"), rgb("#2C5A8E"), rgb("#163A62"),
                      rgb("#C2CAD4"), rgb("#FFFFFF"), rgb("#F4F6F9"))
    pics["check"] = (boxes(c["face"], looks, False), "0 0 0 0")
    pics["radio"] = (boxes(c["face"], looks, True), "0 0 0 0")

    track = rgb("#D9E0E8")
    pics["scroll_track"] = (plain(track), "0 0 0 0")
    pics["scroll_thumb"] = (pill_thumb([(rgb("#647E9E"), rgb("#4D6685")),
                                        (rgb("#536F93"), rgb("#405A7A")),
                                        (rgb("#3F5C80"), rgb("#2E4866"))], track), "7 7 7 7")
    return "Pearl", "Pearl: glossy light. Pearl-white surfaces, glass push buttons, a glossy\n" \
        "; deep-azure title bar with glass caption buttons.", c, pics


def slate():
    """Dark, textured: brushed graphite metal, steel caption buttons."""
    c = {k: rgb(v) for k, v in dict(
        face="#24272B", face_text="#E7E9EC", window="#1A1C1F", window_text="#F1F3F5",
        menu="#202327", border="#8794A6", caption_active="#2C3036",
        caption_active_text="#FFFFFF", caption_inactive="#454A51",
        caption_inactive_text="#F2F4F6", button_face="#33373D", button_text="#FFFFFF",
        button_hover="#43484F", button_pressed="#4D5259", selection="#B5C2D3",
        selection_text="#12161B", menu_highlight="#B5C2D3", menu_highlight_text="#12161B",
    ).items()}
    pics = {}
    # Title bar: brushed metal, 128 x 22 of grain that tiles, a light line
    # above and a dark one below.
    width, rows = 128, 22
    cap = Picture(width, rows + 2, 2)
    for f, (base, top, bottom, seed) in enumerate(
            [(rgb("#2F343A"), rgb("#4E555E"), rgb("#15171A"), 20141),
             (rgb("#454A51"), rgb("#5C6168"), rgb("#303439"), 20142)]):
        grain = streaks(brushed(width, rows, seed, 0.045))
        for y in range(rows + 2):
            for x in range(width):
                if y == 0:
                    colour = top
                elif y == rows + 1:
                    colour = bottom
                else:
                    colour = shade(base, grain[y - 1][x])
                cap.put(x, f * cap.fh + y, colour)
    pics["caption"] = (cap, "0 1 0 1, tile")

    # Caption buttons: engraved steel plates with rounded corners.
    w, h, r = 20, 15, 3.0
    plate = rounded(0.5, 0.5, w - 0.5, h - 0.5, r)
    inner = rounded(1.5, 1.5, w - 1.5, h - 1.5, r - 1)

    # At rest the plate is the band's own metal inside an engraved edge;
    # under the mouse a quiet step lighter, held down a step darker.
    def steel(body, edge):
        return [(plate, edge), (inner, solid(body))]
    rest = steel(rgb("#2F343A"), rgb("#3E444B"))
    buttons = [rest, steel(rgb("#575E67"), rgb("#7C848E")), steel(rgb("#1C1F23"), rgb("#5C636C")),
               []]
    close = [rest, steel(rgb("#C42B1C"), rgb("#E2695C")), steel(rgb("#8A1C12"), rgb("#C04A3E")),
             []]
    pics["caption_button"] = (caption_faces(buttons, w, h), "5 5 5 5")
    pics["caption_close"] = (caption_faces(close, w, h), "5 5 5 5")

    pics["button"] = (glass_button([
        (rgb("#3B4047"), rgb("#3B4047"), None),
        (rgb("#545B63"), rgb("#545B63"), rgb("#9AA8BA")),
        (rgb("#17191C"), rgb("#17191C"), rgb("#8C99AA")),
        (rgb("#2C2F34"), rgb("#2C2F34"), rgb("#5A616B")),
        (rgb("#3B4047"), rgb("#3B4047"), rgb("#B8C4D4")),
    ], rgb("#8C99AA"), c["face"]), "5 5 5 5")
    # The glass line under the top edge is too bright on dark steel: dim it.
    btn = pics["button"][0]
    for f in range(btn.frames):
        for x in range(btn.w):
            p = btn.get(f, x, 1)
            if p[3] and min(p[:3]) > 0.99:
                p[0], p[1], p[2] = rgb("#5F6770")

    bar = Picture(64, 20)
    grain = streaks(brushed(64, 20, 20143, 0.035), step=0.03)
    for y in range(20):
        for x in range(64):
            bar.put(x, y, shade(c["menu"], grain[y][x]))
    pics["menubar"] = (bar, "0 0 0 0, tile")

    hl = Picture(12, 20)
    hl.fill(0, rounded(0, 0, 12, 20, 3), solid(rgb("#B5C2D3")))
    pics["menu_highlight"] = (hl, "4 4 4 4")

    looks = box_looks(c["window"], rgb("#3A3F46"), rgb("#4A5058"), rgb("#2A2D31"), rgb("#8C99AA"),
                      rgb("#5A616B"), rgb("#B5C2D3"), rgb("#C8D3E1"), rgb("#9AA9BD"),
                      rgb("#5A616B"), rgb("#12161B"), rgb("#2A2D31"))
    pics["check"] = (boxes(c["face"], looks, False), "0 0 0 0")
    pics["radio"] = (boxes(c["face"], looks, True), "0 0 0 0")

    track = rgb("#33373C")
    pics["scroll_track"] = (plain(track), "0 0 0 0")
    pics["scroll_thumb"] = (pill_thumb([(rgb("#7A8592"), rgb("#A3AEBC")),
                                        (rgb("#909BA8"), rgb("#B6C0CD")),
                                        (rgb("#A8B2BF"), rgb("#C8D1DC"))], track), "7 7 7 7")
    return "Slate", "Slate: dark and textured. Brushed graphite metal in the title bar and\n" \
        "; menu bar, steel plates for caption buttons, light text.", c, pics


def plain(colour, w=8, h=8):
    """One colour: a scroll channel whose colour the thumb's corners share."""
    pic = Picture(w, h)
    pic.fill(0, everywhere, solid(colour))
    return pic


def fret(size):
    """One cell of the key pattern 回纹: a square spiral of one-pixel lines,
    size x size, turning inwards; cells side by side join at their edges."""
    on = set()
    # The spiral's path, as segments on the pixel grid: out edge, then in.
    x0, y0, x1, y1 = 1, 1, size - 2, size - 2
    path = [(0, y1), (x1, y1), (x1, y0), (x0, y0), (x0, y1 - 2), (x1 - 2, y1 - 2),
            (x1 - 2, y0 + 2), (x0 + 2, y0 + 2), (x0 + 2, y1 - 4)]
    for (ax, ay), (bx, by) in zip(path, path[1:]):
        for x in range(min(ax, bx), max(ax, bx) + 1):
            for y in range(min(ay, by), max(ay, by) + 1):
                on.add((x, y))
    on.update((x, y1) for x in range(size))  # the base line runs on into the next cell
    return on


def fretwork():
    """Chinese style: vermilion lacquer with a key-pattern (回纹) title bar,
    ink and gold, caption buttons on lacquer plaques, on rice paper."""
    c = {k: rgb(v) for k, v in dict(
        face="#F5EEE3", face_text="#2A1810", window="#FFFCF6", window_text="#1E120C",
        menu="#EFE3D2", border="#874B40", caption_active="#58140C",
        caption_active_text="#FFFFFF", caption_inactive="#D5B9AA",
        caption_inactive_text="#2A1810", button_face="#F9F3EA", button_text="#24150E",
        button_hover="#EEDCCB", button_pressed="#E0C6B0", selection="#58140C",
        selection_text="#FFFFFF", menu_highlight="#58140C", menu_highlight_text="#FFFFFF",
    ).items()}
    pics = {}
    # Title bar: the key pattern in lacquer a shade lighter than the ground
    # (the caption text reads on both), a gold line and an ink line below.
    cell, cells_x, cells_y = 12, 4, 2
    width, rows = cell * cells_x, cell * cells_y
    cap = Picture(width, rows + 3, 2)
    pattern = fret(cell)
    looks = [(rgb("#5E160E"), rgb("#7A2317"), rgb("#A4473A"), rgb("#D4A24C"), rgb("#2B120C")),
             (rgb("#D8BEB0"), rgb("#CCAE9E"), rgb("#E8D6CB"), rgb("#C49A66"), rgb("#A88C7E"))]
    for f, (ground, line, top, gold, ink) in enumerate(looks):
        for y in range(rows + 3):
            for x in range(width):
                if y == 0:
                    colour = top
                elif y == rows + 1:
                    colour = gold
                elif y == rows + 2:
                    colour = ink
                else:
                    colour = line if (x % cell, (y - 1) % cell) in pattern else ground
                cap.put(x, f * cap.fh + y, colour)
    pics["caption"] = (cap, "0 1 0 2, tile")

    # Caption buttons: lacquer plaques with a gold rim; vermilion under the
    # mouse, ink when held down; a pale plaque on the inactive band. They
    # fill their cell, so that the step under the mouse is the plaque's.
    w, h = 20, 15
    rim = rounded(0.5, 0.5, w - 0.5, h - 0.5, 4.0)
    face = rounded(1.5, 1.5, w - 1.5, h - 1.5, 3.0)

    # At rest the plaque is the band's own lacquer inside a rim the shade of
    # the pattern (a gold rim would read as strokes beside the title); under
    # the mouse a quiet step lighter in a gold rim, held down ink. Close
    # turns red with a rim of deeper red, so that only its glyph stands out.
    def coin(body, edge):
        return [(rim, edge), (face, solid(body))]
    buttons = [coin(rgb("#5E160E"), rgb("#7A2317")), coin(rgb("#A83A28"), rgb("#E2B866")),
               coin(rgb("#24120D"), rgb("#7A2317")), coin(rgb("#E6D3C8"), rgb("#C9AD9C"))]
    close = [buttons[0], coin(rgb("#C42B1C"), rgb("#A82416")),
             coin(rgb("#8E1E12"), rgb("#6E140A")), buttons[3]]
    pics["caption_button"] = (caption_faces(buttons, w, h), "5 5 5 5")
    pics["caption_close"] = (caption_faces(close, w, h), "5 5 5 5")

    pics["button"] = (glass_button([
        (rgb("#FFFBF4"), rgb("#FFFBF4"), None),
        (rgb("#F0DAC5"), rgb("#F0DAC5"), rgb("#7A2E20")),
        (rgb("#DDBDA2"), rgb("#DDBDA2"), rgb("#58140C")),
        (rgb("#F6F0E8"), rgb("#F6F0E8"), rgb("#C2AEA2")),
        (rgb("#FFFBF4"), rgb("#FFFBF4"), rgb("#58140C")),
    ], rgb("#8E5A4A"), c["face"], r=3.0), "5 5 5 5")

    # Menu bar: paper, a shade lighter at the top (the menu bar's items are
    # drawn with it one by one, so it carries no pattern that would restart).
    bar = Picture(4, 20)
    bar.fill(0, everywhere, solid(c["menu"]))
    bar.fill(0, lambda x, y: y < 1, solid(rgb("#F6EDE0")))
    pics["menubar"] = (bar, "0 0 0 0")

    hl = Picture(12, 20)
    hl.fill(0, rounded(0, 0, 12, 20, 2), solid(rgb("#58140C")))
    # Plain lacquer: a line across its foot would read as a separator.
    pics["menu_highlight"] = (hl, "4 4 4 4")

    looks = box_looks(c["window"], rgb("#EEDCCB"), rgb("#E0C6B0"), rgb("#F0E9DF"), rgb("#7A2E20"),
                      rgb("#C2AEA2"), rgb("#58140C"), rgb("#7A2317"), rgb("#3E0E08"),
                      rgb("#D5B9AA"), rgb("#FFFFFF"), rgb("#F6EFE8"))
    pics["check"] = (boxes(c["face"], looks, False), "0 0 0 0")
    pics["radio"] = (boxes(c["face"], looks, True), "0 0 0 0")

    track = rgb("#EADCCB")
    pics["scroll_track"] = (plain(track), "0 0 0 0")
    pics["scroll_thumb"] = (pill_thumb([(rgb("#9A6A5A"), rgb("#7E4A3A")),
                                        (rgb("#98604F"), rgb("#7A4536")),
                                        (rgb("#7E3A2B"), rgb("#5E2519"))], track), "7 7 7 7")
    about = ("回纹: Chinese key pattern. A vermilion lacquer title bar worked with the\n"
             "; key pattern over a gold and an ink line, caption plaques that\n"
             "; show a gold rim under the mouse, ink text on rice paper.")
    # A caption as tall as the picture, so that two whole rows of the
    # pattern show, and the corners of a lacquer box.
    frame = {"caption_height": cap.fh, "corner_radius": 6}
    return "回纹", about, c, pics, frame


SKINS = [pearl, slate, fretwork]

# ---- files --------------------------------------------------------------------------

KEY_ORDER = ["face", "face_text", "window", "window_text", "menu", "border",
             "caption_active", "caption_active_text", "caption_inactive",
             "caption_inactive_text", "button_face", "button_text", "button_hover",
             "button_pressed", "selection", "selection_text", "menu_highlight",
             "menu_highlight_text"]
IMAGE_KEYS = [("caption", "caption"), ("caption_close", "caption_close"),
              ("caption_max", "caption_button"), ("caption_restore", "caption_button"),
              ("caption_min", "caption_button"), ("menubar", "menubar"),
              ("menu_highlight", "menu_highlight"), ("button", "button"),
              ("check", "check"), ("radio", "radio"),
              ("scroll_track", "scroll_track"), ("scroll_thumb", "scroll_thumb")]


def hex_of(c):
    return "#%02X%02X%02X" % tuple(round(v * 255) for v in c)


def she_text(name, about, colours, pics, frame):
    lines = ["; Morvanta skin, format described in docs/skin-format.md.",
             "; " + about, "; Drawn by scripts/make_skins.py; change the script, not the pictures.",
             "she = 2", "name = " + name, ""]
    lines += ["%-21s = %s" % (k, hex_of(colours[k])) for k in KEY_ORDER]
    lines.append("")
    if frame:
        lines += ["%-21s = %d" % item for item in frame.items()]
        lines.append("")
    for key, pic in IMAGE_KEYS:
        if pic in pics:
            picture, margins = pics[pic]
            lines.append("%-21s = %s.png, %d, %s" % ("image_" + key, pic, picture.frames, margins))
    return ("\n".join(lines) + "\n").encode("utf-8")


def outputs():
    """Every file this script makes: {path relative to skins/: bytes}."""
    files = {}
    for make in SKINS:
        name, about, colours, pics, *frame = make()
        name.encode("gbk")  # the program lists skins by names in code page 936
        files[name + ".she"] = she_text(name, about, colours, pics, frame[0] if frame else None)
        for pic, (picture, _) in pics.items():
            files[name + "/" + pic + ".png"] = picture.png()
    return files


def pixels_of(data):
    """The chunks of a PNG with its picture data inflated, to compare
    pictures whatever zlib compressed them; ValueError for anything that
    is not a whole PNG (stray bytes after its end included)."""
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        raise ValueError("not a PNG")
    chunks, at, idat = [], 8, b""
    while at < len(data):
        if at + 12 > len(data):
            raise ValueError("truncated")
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if len(body) != length or data[at + 8 + length:at + 12 + length] != struct.pack(
                ">I", zlib.crc32(kind + body) & 0xFFFFFFFF):
            raise ValueError("damaged chunk")
        if kind == b"IDAT":
            idat += body
        else:
            chunks.append((kind, body))
        at += 12 + length
        if kind == b"IEND":
            break
    if at != len(data):
        raise ValueError("bytes after the end")
    return chunks, zlib.decompress(idat)


def fits(files):
    """Faults of the picture keys against skin format 2: a bare file name
    that this script made, 1-8 frames that divide the height, margins that
    leave room, at most 2048 pixels a side and 16 MiB decoded per skin."""
    faults = []
    for rel, data in sorted(files.items()):
        if not rel.endswith(".she"):
            continue
        name, decoded = rel[:-4], 0
        for line in data.decode("utf-8").splitlines():
            key, _, value = (part.strip() for part in line.partition("="))
            if not key.startswith("image_"):
                continue
            fields = [f.strip() for f in value.split(",")]
            file, frames, margins = fields[0], int(fields[1]), [int(m) for m in fields[2].split()]
            left, top, right, bottom = margins
            ok = (all(ch.isascii() and (ch.isalnum() or ch in "_-.") for ch in file)
                  and not file.startswith(".") and file.lower().endswith(".png")
                  and 1 <= len(file) <= 64 and 1 <= frames <= 8
                  and all(0 <= m <= 255 for m in margins) and fields[3:] in ([], ["tile"]))
            png = files.get(name + "/" + file)
            if not ok or png is None:
                faults.append("%s: %s is not a picture key this script can stand by" % (rel, key))
                continue
            width, height = struct.unpack(">II", png[16:24])
            decoded += width * height * 4
            if (height % frames or left + right >= width or top + bottom >= height // frames
                    or max(width, height) > 2048):
                faults.append("%s: %s does not fit %s (%dx%d)" % (rel, key, file, width, height))
        if decoded > 16 << 20:
            faults.append("%s: over 16 MiB of pictures" % rel)
    return faults


def check(files):
    faults = fits(files)
    for rel, data in sorted(files.items()):
        path = os.path.join(ROOT, rel)
        if not os.path.exists(path):
            faults.append("missing: skins/" + rel)
            continue
        with open(path, "rb") as f:
            old = f.read()
        if old == data:
            continue
        if rel.endswith(".png") and old.startswith(b"\x89PNG"):
            try:
                if pixels_of(old) == pixels_of(data):
                    continue  # another zlib, the same picture
            except (ValueError, zlib.error, struct.error):
                pass
        faults.append("differs: skins/" + rel)
    for make in SKINS:
        name = make()[0]
        folder = os.path.join(ROOT, name)
        if os.path.isdir(folder):
            for f in sorted(os.listdir(folder)):
                if name + "/" + f not in files:
                    faults.append("not made by the script: skins/%s/%s" % (name, f))
    for fault in faults:
        print(fault)
    if faults:
        print("make_skins.py --check: run scripts/make_skins.py and commit its output")
    return not faults


# ---- contrast figures -----------------------------------------------------------

HUES = range(-180, 181, 5)


def over(p, under):
    return mix(under, p[:3], p[3])


def worst(text, picture, frame, under, box, hues=(0,)):
    """Lowest contrast of text on the pixels of box in a frame, at the hues."""
    x0, y0, x1, y1 = box
    low = 99.0
    for hue in hues:
        t = hue_turned(text, hue)
        seen = set()
        for y in range(y0, y1):
            for x in range(x0, x1):
                c = over(picture.get(frame, x, y), under)
                key = tuple(round(v * 255) for v in c)
                if key in seen:
                    continue
                seen.add(key)
                low = min(low, contrast(t, hue_turned(c, hue)))
    return low


def mean(picture, frame, under, box):
    x0, y0, x1, y1 = box
    cs = [over(picture.get(frame, x, y), under) for y in range(y0, y1) for x in range(x0, x1)]
    return tuple(sum(c[i] for c in cs) / len(cs) for i in range(3))


def report_skin(make):
    name, _, c, pics, *_ = make()
    out = ["%s" % name]

    def line(what, value, need):
        out.append("  %-52s %5.2f  (%s)" % (what, value, need))
    for text, back in [("face_text", "face"), ("window_text", "window"),
                       ("button_text", "button_face"),
                       ("caption_active_text", "caption_active"),
                       ("caption_inactive_text", "caption_inactive"),
                       ("selection_text", "selection"), ("menu_highlight_text", "menu_highlight")]:
        line("%s on %s, worst hue" % (text, back),
             min(contrast(hue_turned(c[text], h), hue_turned(c[back], h)) for h in HUES), "7")
    for back in ("face", "window", "menu"):
        line("border on %s, worst hue" % back,
             min(contrast(hue_turned(c["border"], h), hue_turned(c[back], h)) for h in HUES), "3")
    cap = pics["caption"][0]
    body = (0, 1, cap.w, cap.fh - int(pics["caption"][1].split()[3].rstrip(",")))
    for f, text, under in [(0, "caption_active_text", "caption_active"),
                           (1, "caption_inactive_text", "caption_inactive")]:
        line("%s on the caption picture, hue 0" % text, worst(c[text], cap, f, c[under], body), "7")
        line("  the same, worst hue", worst(c[text], cap, f, c[under], body, HUES), "4.5")
    act, ina = mean(cap, 0, c["caption_active"], body), mean(cap, 1, c["caption_inactive"], body)
    line("inactive caption picture off face (mean)", contrast(ina, c["face"]), "1.35")
    line("inactive off active caption picture (mean)", contrast(ina, act), "1.2")
    for part in ("caption_button", "caption_close"):
        pic = pics[part][0]
        # The middle 8 x 8 of the 10-pixel glyph (its tips may touch a rim).
        box = (pic.w // 2 - 4, pic.fh // 2 - 4, pic.w // 2 + 4, pic.fh // 2 + 4)
        for f, state in enumerate(FRAME_CAPTION_BUTTON):
            band = act if f < 3 else ina
            text = c["caption_active_text"] if f < 3 else c["caption_inactive_text"]
            if part == "caption_close" and f in (1, 2):
                text = (1, 1, 1)
            line("glyph on %s %s" % (part, state),
                 worst(text, pic, f, band, box), "4.5")
            if f in (1, 2):
                line("  %s %s off %s" % (part, state, FRAME_CAPTION_BUTTON[f - 1]),
                     contrast(mean(pic, f, band, box), mean(pic, f - 1, band, box)),
                     "1.4" if f == 1 else "1.25")
    btn = pics["button"][0]
    box = (3, 4, btn.w - 3, btn.fh - 4)
    for f, state in enumerate(FRAME_BUTTON):
        text = c["button_text"]
        if state == "disabled":
            continue
        line("button_text on button %s" % state, worst(text, btn, f, c["face"], box), "7")
    face_mean = mean(btn, 0, c["face"], box)
    line("button hover off normal (mean)", contrast(mean(btn, 1, c["face"], box), face_mean), "1.2")
    line("button pressed off normal (mean)",
         contrast(mean(btn, 2, c["face"], box), face_mean), "1.4")
    edge = over(btn.get(0, btn.w // 2, 0), c["face"])
    line("button outline off face", contrast(edge, c["face"]), "3")
    for part in ("check", "radio"):
        pic = pics[part][0]
        mid = pic.w // 2
        for f in (0, 1, 2):
            line("%s edge off face, %s" % (part, FRAME_BUTTON[f]),
                 contrast(over(pic.get(f, mid, 0), c["face"]), c["face"]), "3")
        fill = over(pic.get(4, mid, 2), c["face"])
        line("%s checked fill off face" % part, contrast(fill, c["face"]), "3")
        for f in (4, 5, 6):
            back = over(pic.get(f, mid, 2), c["face"])
            mark = max((over(pic.get(f, x, y), c["face"]) for y in range(pic.fh)
                        for x in range(pic.w)), key=lambda m: contrast(m, back))
            line("%s mark on its fill, checked %s" % (part, FRAME_BUTTON[f - 4]),
                 contrast(mark, back), "3")
    hl = pics["menu_highlight"][0]
    line("menu_highlight_text on the highlight picture",
         worst(c["menu_highlight_text"], hl, 0, c["menu"], (2, 2, hl.w - 2, hl.fh - 2)), "7")
    if "menubar" in pics:
        bar = pics["menubar"][0]
        line("menu_text (face_text) on the menu bar picture",
             worst(c["face_text"], bar, 0, c["menu"], (0, 0, bar.w, bar.fh - 1)), "7")
    thumb = pics["scroll_thumb"][0]
    track = c["window"]
    if "scroll_track" in pics:
        track = over(pics["scroll_track"][0].get(0, 4, 4), c["window"])
    line("scroll channel off window", contrast(track, c["window"]), "1.3")
    line("scroll thumb edge off the channel",
         contrast(over(thumb.get(0, thumb.w // 2, 2), track), track), "3")
    line("scroll thumb body off the channel",
         contrast(over(thumb.get(0, thumb.w // 2, thumb.fh // 2), track), track), "3")
    return "\n".join(out)


def skincheck():
    """The engine's own verdict on each skin made here: skincheck.exe on its file."""
    exe = os.path.join(ROOT, "..", "dist", "skincheck.exe")
    if not os.path.exists(exe):
        print("--skincheck: no dist/skincheck.exe; build it first (scripts/build.sh)")
        return False
    run = os.path.join(ROOT, "..", "scripts", "wine-run.sh")
    names = [make()[0] + ".she" for make in SKINS]
    result = subprocess.run([run, exe] + names, cwd=ROOT, stdout=subprocess.PIPE)
    print(result.stdout.decode("utf-8", "replace").replace("\r\n", "\n"), end="")
    return result.returncode == 0


def main(argv):
    if "--skincheck" in argv:
        status = main([a for a in argv if a != "--skincheck"])
        return status if status else (0 if skincheck() else 1)
    files = outputs()
    if "--check" in argv:
        return 0 if check(files) else 1
    if "--report" in argv:
        print("\n".join(report_skin(make) for make in SKINS))
        return 0
    faults = fits(files)
    if faults:
        print("\n".join(faults))
        return 1
    for rel, data in sorted(files.items()):
        path = os.path.join(ROOT, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    print("wrote %d files into skins/" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
