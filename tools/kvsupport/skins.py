"""Skin archives for the tests, the benchmarks and the demo, made with Python's zipfile:
Config.ini with all 17 keys of section "main" and the 21 pictures as small JPEG files
written by cjpeg."""
import io
import subprocess
import zipfile

CONFIG_INI = """[main]
text_color=255,255,255
progress_pos=10,200,358,14
progress_text_color=0,128,255
progress_text_pos=10,218,358,16
file_name=10,20,358,16
file_size=10,40,358,16
elapsed_time=10,60,358,16
down_size=10,80,358,16
odd_time=10,100,358,16
down_speed=10,120,358,16
down_status=10,140,358,16
down_folder=10,160,358,16
btn_folder=10,260
btn_run=80,260
btn_start=150,260
btn_stop=220,260
btn_close=290,260
"""

BUTTONS = ["run", "start", "stop", "close", "folder"]
STATES = ["", "_se", "_mo", "_di"]
BACKGROUND = (40, 60, 90)


def jpeg(width, height, rgb):
    """A plain one-colour JPEG picture."""
    ppm = b"P6 %d %d 255\n" % (width, height) + bytes(rgb) * (width * height)
    return subprocess.run(["cjpeg", "-quality", "90"], input=ppm, capture_output=True, check=True).stdout


def button_colour(button, state):
    """The one colour of a button's picture in state "", "_se", "_mo" or "_di"."""
    return (50 * BUTTONS.index(button), 60 * STATES.index(state), 120)


def skin_archive(extra_files=None, config=CONFIG_INI):
    """The bytes of a complete skin archive; `extra_files` maps more names to contents."""
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("Config.ini", config)
        archive.writestr("bk_main.jpg", jpeg(378, 311, BACKGROUND))
        for button in BUTTONS:
            for state in STATES:
                archive.writestr(f"btn_{button}{state}.jpg", jpeg(64, 24, button_colour(button, state)))
        for name, content in (extra_files or {}).items():
            archive.writestr(name, content)
    return data.getvalue()
