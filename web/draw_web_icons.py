"""Draws the web app's icons into web/site/icons/: the desktop icon's bull
at 96 (the page's own), 192 and 512 px, and a maskable 512 px one whose drawing keeps inside the
circle a launcher may cut it to. Run: /usr/bin/python3 web/draw_web_icons.py (Debian's PIL)"""
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets"))
import draw_assets  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "site", "icons")
CREAM = (255, 251, 240)


def maskable(size):
    # Launchers show the middle 80 % circle: the bull fills 64 % of a cream
    # square.
    sheet = Image.new("RGBA", (size, size), CREAM + (255,))
    inner = int(size * 0.64)
    art = draw_assets.draw_sized_icon(inner).convert("RGBA")
    sheet.alpha_composite(art, ((size - inner) // 2, (size - inner) // 2))
    return sheet.convert("RGB")


def main():
    os.makedirs(OUT, exist_ok=True)
    images = {
        "icon-96.png": draw_assets.draw_sized_icon(96),
        "icon-192.png": draw_assets.draw_sized_icon(192),
        "icon-512.png": draw_assets.draw_sized_icon(512),
        "icon-maskable-512.png": maskable(512),
    }
    for name, image in images.items():
        # A palette of 64 colours keeps the cartoon and a fraction of the bytes.
        image.convert("RGB").quantize(colors=64).save(os.path.join(OUT, name), optimize=True)


if __name__ == "__main__":
    main()
