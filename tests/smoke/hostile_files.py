#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes small files that claim far more frames or layers than any real document has, for
# measuring what the program spends on them before it refuses them:
#
#   python3 tests/smoke/hostile_files.py <folder>
#   /usr/bin/time -v vork --info <folder>/layers.trnl     (and the others)
#
# layers.trnl   a picture of 1,000,000 layers of 1 x 1 (about 20 MB)
# frames.gelm   an animation of 100,000 frames of 1 x 1 (about 2.8 MB)
# images.ico    an icon file whose header claims 65,535 images (under 400 bytes)
# frames.gif    a GIF of 290,000 frames of one pixel (about 4.4 MB)
import struct
import sys
from pathlib import Path


def header(magic, delay, width, height):
    palette = b"\0\0\0\0" * 111
    return magic + struct.pack("<iii", delay, width, height) + palette


def layer_body():
    # visible, opacity, one run of one pixel (count, then A R G B)
    return struct.pack("<iii", 1, 255, 1) + bytes([255, 200, 0, 0])


def picture(layers):
    out = [header(b"trnl", 0, 1, 1), struct.pack("<iii", 1, layers, layers)]
    out += [struct.pack("<i", k + 1) + layer_body() for k in range(layers)]
    return b"".join(out)


def animation(frames):
    frame = struct.pack("<iii", 100, 1, 1) + layer_body()
    return header(b"gelm", 100, 1, 1) + struct.pack("<i", frames) + frame * frames


def icon(claimed):
    dib = struct.pack("<IiiHHIIiiII", 40, 1, 2, 1, 32, 0, 8, 0, 0, 0, 0)
    pixels = bytes([0, 0, 255, 255]) + bytes(4)  # one pixel, then its mask row
    entries = struct.pack("<BBBBHHII", 1, 1, 0, 0, 1, 32, len(dib) + len(pixels), 6 + 16 * 16)
    padding = bytes(16 * 15)  # room for a few more entries, all empty
    return struct.pack("<HHH", 0, 1, claimed) + entries + padding + dib + pixels


def gif(frames):
    screen = b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + bytes([0, 0, 0, 255, 0, 0])
    # one pixel of colour 0: clear code, 0, end code at three bits each
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + bytes([2, 2, 0x44, 0x01, 0])
    return screen + image * frames + b"\x3b"


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "layers.trnl").write_bytes(picture(1_000_000))
    (folder / "frames.gelm").write_bytes(animation(100_000))
    (folder / "images.ico").write_bytes(icon(65535))
    (folder / "frames.gif").write_bytes(gif(290_000))


if __name__ == "__main__":
    main()
