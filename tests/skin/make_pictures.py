"""Writes the pictures that skin_window_tests load into the folder given as the only argument:
one-colour JPEG files made by cjpeg."""
import os
import subprocess
import sys

PICTURES = {
    # name: (width, height, (red, green, blue))
    "solid.jpg": (80, 24, (200, 40, 90)),
    "tall.jpg": (30, 50, (20, 120, 220)),
}


def jpeg(width, height, rgb):
    ppm = b"P6 %d %d 255\n" % (width, height) + bytes(rgb) * (width * height)
    return subprocess.run(["cjpeg", "-quality", "95"], input=ppm, capture_output=True,
                          check=True).stdout


def main(out):
    os.makedirs(out, exist_ok=True)
    for name, (width, height, rgb) in PICTURES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(jpeg(width, height, rgb))
    with open(os.path.join(out, "broken.jpg"), "wb") as f:
        f.write(b"\xff\xd8 not a picture")


if __name__ == "__main__":
    main(sys.argv[1])
