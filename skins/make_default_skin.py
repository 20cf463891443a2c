#!/usr/bin/env python3
"""Draws the pictures of Korvendal's default skin with ImageMagick and the Nanum fonts and
packs them with skins/default/Config.ini into a skin archive, flat at its top level. Each
picture is drawn twice: at its size (NAME.jpg) and at twice its size (NAME@2x.jpg), which
the control draws on screens of 144 dpi and more.

    make_default_skin.py --out DIR --zip ARCHIVE

The captions beside the labels are drawn where Config.ini puts the labels, so moving a label
in Config.ini moves its caption with it.
"""
import argparse
import configparser
import os
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
CONFIG = os.path.join(HERE, "default", "Config.ini")
FONTS = "/usr/share/fonts/truetype/nanum"
REGULAR = os.path.join(FONTS, "NanumGothic.ttf")
BOLD = os.path.join(FONTS, "NanumGothicBold.ttf")

WINDOW = (378, 311)  # the control window at its default extent
BUTTON = (76, 28)
BODY = "#eef2f6"
PANEL_BORDER = "#c9d3de"
CAPTION = "#5b6b7c"
CAPTIONS = {
    "file_name": "파일 이름", "file_size": "파일 크기", "down_size": "받은 크기",
    "elapsed_time": "경과 시간", "odd_time": "남은 시간", "down_speed": "전송 속도",
    "down_status": "상태", "down_folder": "저장 위치",
}
BUTTONS = {"run": "실행", "start": "시작", "stop": "중지", "close": "닫기", "folder": "폴더"}
# Per look: gradient top, gradient bottom, border, text colour, text shift. The close button
# is neutral grey, the others blue.
BLUE = {
    "": ("#4a86bd", "#2f6296", "#24507a", "white", 0),
    "_mo": ("#6aa4da", "#3f7cb6", "#2f6296", "white", 0),
    "_se": ("#24507a", "#2f6296", "#1b3d5e", "#e8f0f8", 1),
    "_di": ("#d5dce4", "#c7d0da", "#b4bfcb", "#8d99a6", 0),
}
GREY = {
    "": ("#8793a0", "#66727f", "#525d69", "white", 0),
    "_mo": ("#a0acb8", "#7d8995", "#66727f", "white", 0),
    "_se": ("#525d69", "#66727f", "#3e4751", "#eef1f4", 1),
    "_di": ("#d5dce4", "#c7d0da", "#b4bfcb", "#8d99a6", 0),
}
JPEG = ["-sampling-factor", "1x1", "-quality", "95"]


def read_config():
    parser = configparser.ConfigParser(inline_comment_prefixes=None)
    parser.read(CONFIG, encoding="utf-8")
    return {k.lower(): v for k, v in parser["main"].items()}


def fields(value):
    return [int(f) for f in value.split(",")]


def convert(args, out):
    subprocess.run(["convert"] + [str(a) for a in args] + JPEG + [out], check=True)


def draw_background(config, out, k=1):
    """At k times the size: every length, point size and line width times k. An outline's
    coordinates lie on the middle of its line, half a line in from the pixel edges."""
    width, height = WINDOW[0] * k, WINDOW[1] * k
    inset = (k - 1) / 2
    args = ["-size", f"{width}x{height}", f"xc:{BODY}",
            "(", "-size", f"{width}x{40 * k}", "gradient:#2f5c85-#23415f", ")",
            "-geometry", "+0+0", "-composite",
            "-fill", "#3d6f9c", "-draw", f"rectangle 0,{40 * k} {width},{42 * k - 1}",
            "-gravity", "NorthWest", "-font", BOLD, "-fill", "white", "-pointsize", str(16 * k),
            "-annotate", f"+{16 * k}+{11 * k}", "Korvendal 다운로드",
            "-fill", "white", "-stroke", PANEL_BORDER, "-strokewidth", str(k),
            "-draw", f"roundrectangle {10 * k + inset},{50 * k + inset} {(WINDOW[0] - 11) * k + inset},"
                     f"{224 * k + inset} {6 * k},{6 * k}", "-stroke", "none",
            "-font", REGULAR, "-fill", CAPTION, "-pointsize", str(12 * k)]
    for key, caption in CAPTIONS.items():
        _, y, _, _ = fields(config[key])
        args += ["-annotate", f"+{24 * k}+{(y + 1) * k}", caption]
    # A frame around the progress bar, so its unfilled part reads as a track.
    x, y, w, h = fields(config["progress_pos"])
    args += ["-fill", "none", "-stroke", "#b4bfcb", "-strokewidth", str(k),
             "-draw", f"rectangle {(x - 1) * k + inset},{(y - 1) * k + inset} {(x + w) * k + inset},"
                      f"{(y + h) * k + inset}"]
    convert(args, out)


def draw_button(caption, look, out, k=1):
    top, bottom, border, text, shift = look
    w, h = BUTTON[0] * k, BUTTON[1] * k
    inset = (k - 1) / 2
    args = ["-size", f"{w}x{h}", f"xc:{BODY}",
            "(", "-size", f"{w}x{h}", f"gradient:{top}-{bottom}",
            "(", "-size", f"{w}x{h}", "xc:black", "-fill", "white",
            "-draw", f"roundrectangle 0,0 {w - 1},{h - 1} {5 * k},{5 * k}", ")",
            "-alpha", "off", "-compose", "CopyOpacity", "-composite", ")",
            "-compose", "Over", "-composite",
            "-fill", "none", "-stroke", border, "-strokewidth", str(k),
            "-draw", f"roundrectangle {inset},{inset} {w - 1 - inset},{h - 1 - inset} {5 * k},{5 * k}",
            "-stroke", "none",
            "-gravity", "Center", "-font", BOLD, "-pointsize", str(13 * k), "-fill", text,
            "-annotate", f"+{shift * k}+{shift * k}", caption]
    convert(args, out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True, help="folder for Config.ini and the pictures")
    parser.add_argument("--zip", required=True, help="skin archive to write")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    config = read_config()

    names = []
    for k, tag in ((1, ""), (2, "@2x")):
        names.append(f"bk_main{tag}.jpg")
        draw_background(config, os.path.join(args.out, names[-1]), k)
        for button, caption in BUTTONS.items():
            looks = GREY if button == "close" else BLUE
            for suffix in ("", "_se", "_mo", "_di"):
                names.append(f"btn_{button}{suffix}{tag}.jpg")
                draw_button(caption, looks[suffix], os.path.join(args.out, names[-1]), k)
    with open(CONFIG, "rb") as src, open(os.path.join(args.out, "Config.ini"), "wb") as dst:
        dst.write(src.read())
    names.insert(0, "Config.ini")

    temporary = args.zip + ".part"
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            archive.write(os.path.join(args.out, name), name)
    os.replace(temporary, args.zip)
    return 0


if __name__ == "__main__":
    sys.exit(main())
