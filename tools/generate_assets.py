#!/usr/bin/python3
"""Draws the program's six skin images (the window background and the two buttons' states) as PNGs.

Run with Debian's python3 and python3-pil:  /usr/bin/python3 tools/generate_assets.py
  (no option)      writes assets/*.png
  --check          draws them again and fails unless the committed files are byte for byte the same
  --preview FILE   also writes a picture of the window as it is composed, over a desktop-like backdrop

The output is deterministic: the same PIL, FreeType and zlib give the same bytes on every run. Shapes
are drawn at four times the size and box-filtered down, so every edge is anti-aliased; text is
rendered by FreeType, which anti-aliases it itself.
"""

import argparse
import io
import math
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = Path(__file__).resolve().parent.parent
ASSETS = ROOT / "assets"
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
LATIN_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
LATIN_BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SUPERSAMPLE = 4

# The window is 560 x 416; the background is drawn stretched onto it.
WINDOW_WIDTH, WINDOW_HEIGHT = 560, 416
BACKGROUND_WIDTH, BACKGROUND_HEIGHT = 567, 425

# Where the controls sit in the window (left, top, width, height): the art under them stays plain.
TEXT_BOXES = [(201, 187, 215, 30), (201, 227, 215, 30), (201, 267, 215, 30)]
MODIFY_BUTTON = (296, 294, 141, 58)
CLOSE_BUTTON = (458, 33, 61, 35)

# The background's translucent panel: a margin of 34 transparent pixels, then four pixels that fade
# in, then the body. The edge alphas are exact on the straight edges (pixel centres at depth 0.5,
# 1.5, 2.5 and 3.5 pixels inside the panel's outline).
PANEL_MARGIN = 34
PANEL_RADIUS = 12
EDGE_ALPHAS = (6, 36, 78, 96)
BODY_ALPHA_RANGE = (166, 234)


def font(path, size, index=0):
    # The basic layout engine does not depend on whether libraqm happens to be installed.
    return ImageFont.truetype(path, size, index=index, layout_engine=ImageFont.Layout.BASIC)


def to_image_x(window_x):
    return window_x * BACKGROUND_WIDTH / WINDOW_WIDTH


def to_image_y(window_y):
    return window_y * BACKGROUND_HEIGHT / WINDOW_HEIGHT


# ----------------------------------------------------------------------------------------------
# Drawing helpers


def supersampled_mask(size, draw):
    """A coverage mask (mode L) of what draw(ImageDraw, scale) paints at SUPERSAMPLE times the size."""
    width, height = size
    big = Image.new("L", (width * SUPERSAMPLE, height * SUPERSAMPLE), 0)
    draw(ImageDraw.Draw(big), SUPERSAMPLE)
    return big.reduce(SUPERSAMPLE)


def rounded_rectangle_mask(size, box, radius):
    """Coverage of a rounded rectangle; box is (left, top, right, bottom) in pixel edges."""
    left, top, right, bottom = box

    def draw(canvas, scale):
        canvas.rounded_rectangle(
            (left * scale, top * scale, right * scale - 1, bottom * scale - 1),
            radius=radius * scale,
            fill=255,
        )

    return supersampled_mask(size, draw)


def ring_mask(size, box, radius, width):
    """Coverage of a rounded rectangle's outline of the given width, inside the box."""
    outer = rounded_rectangle_mask(size, box, radius)
    left, top, right, bottom = box
    inner = rounded_rectangle_mask(
        size, (left + width, top + width, right - width, bottom - width), max(radius - width, 0)
    )
    return ImageChops.subtract(outer, inner)


def cross_mask(size, centre, half_length, stroke):
    """Coverage of an "x" of two strokes with round ends."""
    cx, cy = centre

    def draw(canvas, scale):
        for dx in (-1, 1):
            start = ((cx - half_length) * scale, (cy - dx * half_length) * scale)
            end = ((cx + half_length) * scale, (cy + dx * half_length) * scale)
            canvas.line([start, end], fill=255, width=round(stroke * scale))
            for x, y in (start, end):
                r = stroke * scale / 2
                canvas.ellipse((x - r, y - r, x + r, y + r), fill=255)

    return supersampled_mask(size, draw)


def text_mask(size, position, text, text_font, anchor="la"):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).text(position, text, fill=255, font=text_font, anchor=anchor)
    return mask


def bold_text_mask(size, position, text, font_path, font_size, weight, anchor="la"):
    """Text drawn at SUPERSAMPLE times the size with a stroke of weight pixels (at that size) round
    each glyph: a heavier face from a font that has only one weight."""
    big_font = font(font_path, font_size * SUPERSAMPLE)
    x, y = position

    def draw(canvas, scale):
        canvas.text((x * scale, y * scale), text, fill=255, font=big_font, anchor=anchor,
                    stroke_width=weight, stroke_fill=255)

    return supersampled_mask(size, draw)


def scaled_mask(mask, opacity):
    return mask.point(lambda value: value * opacity // 255)


def vertical_gradient(size, top_colour, bottom_colour, top=0, bottom=None):
    """An RGB(A) image whose colour runs from top_colour at row top to bottom_colour at row bottom."""
    width, height = size
    bottom = height - 1 if bottom is None else bottom
    mode = "RGBA" if len(top_colour) == 4 else "RGB"
    column = Image.new(mode, (1, height))
    for y in range(height):
        t = min(max((y - top) / max(bottom - top, 1), 0.0), 1.0)
        column.putpixel(
            (0, y), tuple(round(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour))
        )
    return column.resize((width, height), Image.NEAREST)


def paint(image, mask, colour):
    """Composites colour (RGB, or RGBA with its own opacity) over image where mask covers."""
    if image.mode == "RGB":
        fill = Image.new("RGB", image.size, colour[:3])
        if len(colour) == 4:
            mask = scaled_mask(mask, colour[3])
        image.paste(fill, (0, 0), mask)
        return
    layer = Image.new("RGBA", image.size, colour[:3] + (0,))
    opacity = colour[3] if len(colour) == 4 else 255
    layer.putalpha(scaled_mask(mask, opacity))
    image.alpha_composite(layer)


def paint_image(image, mask, source):
    """Composites the source image (same size) over image where mask covers."""
    if source.mode == "RGBA":
        mask = ImageChops.multiply(source.getchannel("A"), mask)
    if image.mode == "RGB":
        image.paste(source.convert("RGB"), (0, 0), mask)
        return
    layer = source.convert("RGBA")
    layer.putalpha(mask)
    image.alpha_composite(layer)


# ----------------------------------------------------------------------------------------------
# Background


def rounded_rectangle_depth(x, y, box, radius):
    """How far the point lies inside the rounded rectangle's outline (negative outside)."""
    left, top, right, bottom = box
    centre_x, centre_y = (left + right) / 2, (top + bottom) / 2
    qx = abs(x - centre_x) - ((right - left) / 2 - radius)
    qy = abs(y - centre_y) - ((bottom - top) / 2 - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - radius
    return -outside


def edge_alpha(depth, body_alpha):
    """Alpha at a depth inside the panel's outline: through the edge alphas at the pixel centres."""
    points = [(-0.5, 0)] + [(0.5 + i, a) for i, a in enumerate(EDGE_ALPHAS)] + [(4.5, body_alpha)]
    if depth <= points[0][0]:
        return 0
    for (d0, a0), (d1, a1) in zip(points, points[1:]):
        if depth <= d1:
            return round(a0 + (a1 - a0) * (depth - d0) / (d1 - d0))
    return body_alpha


def background_alpha(panel_box, body_alpha_at, ink):
    """The alpha channel: margin, fading edge, body; text and icons make the body more opaque."""
    width, height = BACKGROUND_WIDTH, BACKGROUND_HEIGHT
    low, high = BODY_ALPHA_RANGE
    alpha = Image.new("L", (width, height), 0)
    pixels = alpha.load()
    ink_pixels = ink.load()
    for y in range(height):
        for x in range(width):
            depth = rounded_rectangle_depth(x + 0.5, y + 0.5, panel_box, PANEL_RADIUS)
            if depth <= -0.5:
                continue
            body = body_alpha_at(x, y)
            if depth < 4.5:
                pixels[x, y] = edge_alpha(depth, body)
            else:
                pixels[x, y] = min(high, max(low, body + (high - body) * ink_pixels[x, y] // 255))
    return alpha


def gear_mask(size, centre, outer_radius, root_radius, hole_radius, teeth):
    cx, cy = centre

    def draw(canvas, scale):
        points = []
        steps = teeth * 16
        for step in range(steps):
            angle = 2 * math.pi * step / steps
            phase = (step % 16) / 16  # position within one tooth period
            # Tooth top over 0.1..0.4 of the period, flanks 0.0..0.1 and 0.4..0.5, root after.
            if 0.1 <= phase <= 0.4:
                radius = outer_radius
            elif phase < 0.1:
                radius = root_radius + (outer_radius - root_radius) * phase / 0.1
            elif phase < 0.5:
                radius = outer_radius - (outer_radius - root_radius) * (phase - 0.4) / 0.1
            else:
                radius = root_radius
            points.append(((cx + radius * math.cos(angle)) * scale,
                           (cy + radius * math.sin(angle)) * scale))
        canvas.polygon(points, fill=255)
        r = hole_radius * scale
        canvas.ellipse(((cx * scale) - r, (cy * scale) - r, (cx * scale) + r, (cy * scale) + r),
                       fill=0)

    return supersampled_mask(size, draw)


def circle_mask(size, centre, radius):
    cx, cy = centre

    def draw(canvas, scale):
        canvas.ellipse(((cx - radius) * scale, (cy - radius) * scale,
                        (cx + radius) * scale, (cy + radius) * scale), fill=255)

    return supersampled_mask(size, draw)


def draw_background():
    size = (BACKGROUND_WIDTH, BACKGROUND_HEIGHT)
    panel_box = (PANEL_MARGIN, PANEL_MARGIN,
                 BACKGROUND_WIDTH - PANEL_MARGIN, BACKGROUND_HEIGHT - PANEL_MARGIN)
    inner_box = (50, 128, 517, 366)

    # Colours are painted opaque here; the alpha channel is made separately from the panel's shape.
    art = vertical_gradient(size, (30, 37, 52), (17, 21, 31), top=34, bottom=391)
    ink = Image.new("L", size, 0)  # what should read clearly: text, icons, lines

    def ink_paint(mask, colour):
        paint(art, mask, colour)
        nonlocal ink
        ink = ImageChops.lighter(ink, mask)

    # A faint sheen over the top of the panel.
    sheen = vertical_gradient(size, (255, 255, 255, 18), (255, 255, 255, 0), top=38, bottom=120)
    paint_image(art, rounded_rectangle_mask(size, panel_box, PANEL_RADIUS), sheen)

    # Gear icon and title block.
    gear_centre = (82, 80)
    gear = gear_mask(size, gear_centre, 25, 19.5, 7.5, 9)
    gear_fill = vertical_gradient(size, (150, 205, 255), (62, 128, 222), top=55, bottom=105)
    paint_image(art, gear, gear_fill)
    ink = ImageChops.lighter(ink, gear)
    hub = ImageChops.subtract(circle_mask(size, gear_centre, 12.5), circle_mask(size, gear_centre, 7.5))
    ink_paint(scaled_mask(hub, 150), (230, 242, 255))

    title_font = font(LATIN_BOLD_FONT, 27)
    version_font = font(LATIN_FONT, 15)
    small_font = font(CJK_FONT, 13)
    title_x, title_y = 122, 50
    ink_paint(text_mask(size, (title_x, title_y), "Kestrune", title_font), (244, 247, 252))
    version_x = title_x + title_font.getlength("Kestrune") + 8
    ink_paint(text_mask(size, (version_x, title_y + 10), "[Beta0.0.1]", version_font), (150, 178, 214))
    ink_paint(text_mask(size, (title_x + 1, title_y + 37), "文件字节查找替换工具 · 改写后另存为新文件",
                        small_font), (170, 180, 198))
    ink_paint(text_mask(size, (title_x + 1, title_y + 57), "拖一拖，改一改，轻松搞定！", small_font),
              (104, 214, 120))

    # The lighter inner panel that holds the hints and the three rows.
    inner = rounded_rectangle_mask(size, inner_box, 10)
    inner_fill = vertical_gradient(size, (58, 69, 90), (44, 53, 70), top=inner_box[1], bottom=inner_box[3])
    paint_image(art, inner, inner_fill)
    ink_paint(scaled_mask(ring_mask(size, inner_box, 10, 1), 110), (120, 138, 168))

    hint_font = font(CJK_FONT, 13)
    hint_x = 68
    for line, (number, text) in enumerate([("1", "将要修改的文件拖入第一个编辑框"),
                                           ("2", "新内容的字节数须与原内容相同")]):
        y = 146 + line * 21
        badge = circle_mask(size, (hint_x + 6.5, y + 0.5), 7)
        ink_paint(badge, (70, 140, 230))
        ink_paint(text_mask(size, (hint_x + 6.5, y + 1), number, font(LATIN_BOLD_FONT, 10), "mm"),
                  (255, 255, 255))
        ink_paint(text_mask(size, (hint_x + 19, y + 1), text, hint_font, "lm"), (222, 228, 238))
    separator = supersampled_mask(size, lambda canvas, scale: canvas.rectangle(
        (64 * scale, 180 * scale, 503 * scale - 1, 181 * scale - 1), fill=255))
    ink_paint(scaled_mask(separator, 90), (140, 158, 190))

    # Row labels left of the text boxes and the notes right of them, centred on each box once the
    # picture is stretched onto the window.
    label_font = font(CJK_FONT, 15)
    note_font = font(LATIN_FONT, 11)
    label_right = to_image_x(TEXT_BOXES[0][0]) - 12
    note_left = to_image_x(TEXT_BOXES[0][0] + TEXT_BOXES[0][2]) + 9
    for (left, top, width, height), label, note in zip(
            TEXT_BOXES, ["文件路径", "原内容", "新内容"], ["file", "find", "replace"]):
        centre_y = to_image_y(top + height / 2)
        ink_paint(text_mask(size, (label_right, centre_y), label, label_font, "rm"), (236, 240, 246))
        marker = rounded_rectangle_mask(size, (66, round(centre_y) - 7, 70, round(centre_y) + 7), 2)
        ink_paint(marker, (70, 140, 230))
        ink_paint(text_mask(size, (note_left, centre_y), note, note_font, "lm"), (132, 150, 180))

    # The warning, left of the modify button.
    warning_font = font(CJK_FONT, 13)
    warning_y = to_image_y(MODIFY_BUTTON[1] + MODIFY_BUTTON[3] / 2)
    triangle = supersampled_mask(size, lambda canvas, scale: canvas.polygon(
        [(75 * scale, (warning_y - 7) * scale), (83 * scale, (warning_y + 6) * scale),
         (67 * scale, (warning_y + 6) * scale)], fill=255))
    ink_paint(triangle, (104, 214, 120))
    ink_paint(text_mask(size, (75, warning_y + 2), "!", font(LATIN_BOLD_FONT, 9), "mm"), (30, 44, 36))
    ink_paint(text_mask(size, (90, warning_y), "加壳的程序请先脱壳，再修改", warning_font, "lm"),
              (104, 214, 120))

    # Footer: three small squares and the credit line, bottom right.
    footer_y = 378
    credit_font = font(CJK_FONT, 11)
    credit = "Kestrune 开发组 制作"
    credit_left = 514 - credit_font.getlength(credit)
    for index, colour in enumerate([(70, 140, 230), (104, 214, 120), (240, 150, 60)]):
        square_left = credit_left - 38 + index * 10
        square = rounded_rectangle_mask(size, (square_left, footer_y - 3, square_left + 6, footer_y + 3), 1)
        ink_paint(square, colour)
    ink_paint(text_mask(size, (credit_left, footer_y), credit, credit_font, "lm"), (128, 140, 160))

    def body_alpha_at(x, y):
        # Denser towards the top, where the title sits; the inner panel a little denser still.
        inside_inner = inner_box[0] <= x < inner_box[2] and inner_box[1] <= y < inner_box[3]
        base = 226 - (y - 34) * 40 // (391 - 34)
        return min(BODY_ALPHA_RANGE[1], base + (10 if inside_inner else 0))

    image = art.convert("RGBA")
    image.putalpha(background_alpha(panel_box, body_alpha_at, ink))
    return image


# ----------------------------------------------------------------------------------------------
# Close button (61 x 35)


def draw_close_normal():
    size = (61, 35)
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    tab_box = (10, 9, 53, 27)  # covers pixels 10..52 across, 9..26 down
    tab = rounded_rectangle_mask(size, tab_box, 6)
    paint(image, tab, (222, 226, 232, 150))
    paint(image, ring_mask(size, tab_box, 6, 1), (246, 248, 252, 90))
    paint(image, cross_mask(size, (31.5, 18), 4.2, 1.7), (92, 96, 104, 245))
    return image


def draw_close_hot():
    size = (61, 35)
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    bar_box = (2, 1, 61, 35)  # covers pixels 2..60 across, 1..34 down
    bar = rounded_rectangle_mask(size, bar_box, 5)
    paint_image(image, bar, vertical_gradient(size, (252, 112, 64, 250), (222, 64, 38, 250), 1, 34))
    # A light line along the top for a little depth.
    highlight = ImageChops.multiply(bar, rounded_rectangle_mask(size, (2, 1, 61, 3), 1))
    paint(image, highlight, (255, 190, 150, 110))
    badge = circle_mask(size, (31.5, 18), 10)
    paint(image, badge, (176, 34, 24, 255))
    paint(image, cross_mask(size, (31.5, 18), 4.4, 2.0), (255, 255, 255, 255))
    return image


# ----------------------------------------------------------------------------------------------
# Modify button (134 x 57)


def draw_modify(glow_colour=None, pressed=False):
    size = (134, 57)
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    button_box = (5, 3, 130, 52)  # covers pixels 5..129 across, 3..51 down
    radius = 11
    body = rounded_rectangle_mask(size, button_box, radius)
    if glow_colour:
        # A short halo outside the button (the image leaves it only 3 to 5 pixels of room).
        halo = ring_mask(size, button_box, radius, 2).filter(ImageFilter.GaussianBlur(1.2))
        paint(image, halo, glow_colour + (200,))
    top, bottom = ((214, 222, 236, 188), (236, 242, 250, 214)) if pressed else \
                  ((250, 252, 255, 214), (214, 224, 240, 176))
    paint_image(image, body, vertical_gradient(size, top, bottom, 3, 51))
    if glow_colour:
        # The glow fades inwards from the border, kept inside the button.
        inner_glow = ring_mask(size, button_box, radius, 4).filter(ImageFilter.GaussianBlur(2.0))
        paint(image, ImageChops.multiply(inner_glow, body), glow_colour + (150,))
        paint(image, ring_mask(size, button_box, radius, 1.5), glow_colour + (255,))
    else:
        paint(image, ring_mask(size, button_box, radius, 1), (255, 255, 255, 230))
    offset = 1 if pressed else 0
    label = bold_text_mask(size, (67.5 + offset, 27.5 + offset), "修改", CJK_FONT, 21, 2, "mm")
    paint(image, label, (34, 42, 58, 255))
    return image


def draw_modify_normal():
    return draw_modify()


def draw_modify_hot():
    return draw_modify(glow_colour=(54, 146, 255))


def draw_modify_pressed():
    return draw_modify(glow_colour=(240, 64, 52), pressed=True)


IMAGES = [
    ("background.png", draw_background),
    ("close_normal.png", draw_close_normal),
    ("close_hot.png", draw_close_hot),
    ("modify_normal.png", draw_modify_normal),
    ("modify_hot.png", draw_modify_hot),
    ("modify_pressed.png", draw_modify_pressed),
]


def png_bytes(image):
    # Nothing but the pixels: no text chunks, no time stamp; 8-bit RGBA, not interlaced.
    assert image.mode == "RGBA"
    buffer = io.BytesIO()
    image.save(buffer, format="PNG", optimize=False, compress_level=9)
    return buffer.getvalue()


# ----------------------------------------------------------------------------------------------
# Preview


def draw_preview(images):
    """The window as the skin composes it, over a desktop-like backdrop, with every button state."""
    margin = 40
    window_size = (WINDOW_WIDTH, WINDOW_HEIGHT)
    states = [("close_normal.png", "modify_normal.png"), ("close_hot.png", "modify_hot.png"),
              ("close_hot.png", "modify_pressed.png")]
    width = (WINDOW_WIDTH + margin) * len(states) + margin
    height = WINDOW_HEIGHT + 2 * margin
    preview = vertical_gradient((width, height), (64, 118, 170, 255), (190, 150, 110, 255))
    desktop = ImageDraw.Draw(preview)
    for index in range(0, width, 90):
        desktop.rectangle((index, height // 3, index + 40, height // 3 + 40), fill=(235, 235, 225, 255))
        desktop.text((index + 2, height // 3 + 44), "Desktop", fill=(20, 20, 20, 255))
    for column, (close_name, modify_name) in enumerate(states):
        window = images["background.png"].resize(window_size, Image.BILINEAR)
        canvas = ImageDraw.Draw(window)
        for left, top, box_width, box_height in TEXT_BOXES:
            canvas.rectangle((left, top, left + box_width - 1, top + box_height - 1),
                             fill=(255, 255, 255, 255), outline=(132, 128, 123, 255))
        window.alpha_composite(images[close_name], CLOSE_BUTTON[:2])
        window.alpha_composite(images[modify_name], MODIFY_BUTTON[:2])
        preview.alpha_composite(window, (margin + column * (WINDOW_WIDTH + margin), margin))
    return preview


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="fail unless the committed images equal freshly drawn ones")
    parser.add_argument("--preview", type=Path, help="also write a preview of the composed window")
    arguments = parser.parse_args()

    images = {name: draw() for name, draw in IMAGES}
    failures = 0
    for name, image in images.items():
        data = png_bytes(image)
        path = ASSETS / name
        if arguments.check:
            if not path.exists() or path.read_bytes() != data:
                print(f"{path}: differs from what the generator draws", file=sys.stderr)
                failures += 1
        else:
            path.write_bytes(data)
            print(f"{path.relative_to(ROOT)}: {image.width} x {image.height}, {len(data)} bytes")
    if arguments.preview:
        draw_preview(images).save(arguments.preview)
    if arguments.check:
        print(f"{len(images) - failures} of {len(images)} images match the generator")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
