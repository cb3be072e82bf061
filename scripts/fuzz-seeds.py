#!/usr/bin/env python3
"""Writes the fuzz seed corpora of tests/fuzz/corpus/<target>/: the files the build ships (from a build
folder) and small hand-made examples of each format and of each kind of damage the readers must refuse.

    python3 scripts/fuzz-seeds.py build

Run again after a change of a data format; the output is deterministic. The shipped background picture and
the music are megabytes of plain pixels and samples: a level background and the head of the music stand in
for them."""

import os
import shutil
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "tests", "fuzz", "corpus")
LARGEST_SHIPPED = 1 << 20


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def bmp(width, height, bits, pixels, table=b"", compression=0, header=40, size_image=None):
    offset = 14 + header + len(table)
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression,
                           len(pixels) if size_image is None else size_image, 2835, 2835, len(table) // 4, 0)
        info += bytes(header - len(info))
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


def bitmap_seeds():
    two = bytes([255, 0, 0, 0, 0, 0, 255, 0])   # blue, red
    sixteen = bytes(range(64))
    write("bitmap_fuzz", "1bit.bmp", bmp(3, 2, 1, bytes([0x40, 0, 0, 0, 0xA0, 0, 0, 0]), two))
    write("bitmap_fuzz", "4bit.bmp", bmp(3, 1, 4, bytes([0x12, 0x30, 0, 0]), sixteen))
    write("bitmap_fuzz", "8bit-core.bmp", bmp(2, 1, 8, bytes([0, 1, 0, 0]), bytes([0, 0, 255, 255, 0, 0]), header=12))
    write("bitmap_fuzz", "24bit-topdown.bmp", bmp(1, -2, 24, bytes([1, 2, 3, 0, 4, 5, 6, 0])))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("bitmap_fuzz", "16bit-565.bmp", bmp(2, 1, 16, bytes([0xE0, 0x07, 0x1F, 0]), masks, compression=3))
    write("bitmap_fuzz", "32bit-v5.bmp", bmp(1, 1, 32, bytes([0x33, 0x22, 0x11, 0xFF]), header=124))
    write("bitmap_fuzz", "rle8.bmp", bmp(4, 2, 8, bytes([4, 1, 0, 0, 0, 3, 0, 1, 0, 0, 1, 1, 0, 1]), two, 1))
    write("bitmap_fuzz", "rle4.bmp", bmp(4, 1, 4, bytes([4, 0x10, 0, 1]), two, 2))
    write("bitmap_fuzz", "rle8-jump.bmp", bmp(2, 2, 8, bytes([0, 2, 1, 1, 1, 1, 0, 0]), two, 1))
    # Damage the reader refuses.
    write("bitmap_fuzz", "bad-rle-run-past-row.bmp", bmp(4, 2, 8, bytes([200, 1, 0, 1]), two, 1))
    write("bitmap_fuzz", "bad-rle-jump-past-picture.bmp", bmp(4, 2, 8, bytes([0, 2, 1, 9, 0, 1]), two, 1))
    write("bitmap_fuzz", "bad-rle-ends-early.bmp", bmp(4, 2, 8, bytes([4, 1, 0, 0]), two, 1))
    write("bitmap_fuzz", "bad-rle-literal-cut.bmp", bmp(4, 2, 8, bytes([0, 3, 1]), two, 1))
    good = bmp(2, 2, 24, bytes(16))
    write("bitmap_fuzz", "bad-truncated.bmp", good[:-3])
    write("bitmap_fuzz", "bad-huge-dimensions.bmp", bmp(1 << 30, 1, 24, bytes(4)))
    write("bitmap_fuzz", "bad-header-size.bmp", good[:14] + struct.pack("<I", 41) + good[18:])


def wave(channels, rate, bits, data, extra=b""):
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + extra
    body += b"data" + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wave_seeds(build):
    write("wave_fuzz", "mono8.wav", wave(1, 11025, 8, bytes(range(0, 256, 8))))
    write("wave_fuzz", "stereo16.wav", wave(2, 22050, 16, bytes(64)))
    write("wave_fuzz", "extra-chunk.wav", wave(1, 8000, 16, bytes(10), b"LIST" + struct.pack("<I", 3) + b"abc\0"))
    write("wave_fuzz", "bad-data-too-long.wav", wave(1, 8000, 8, bytes(8))[:-4])
    write("wave_fuzz", "bad-not-pcm.wav", wave(1, 8000, 8, bytes(8)).replace(struct.pack("<HH", 1, 1), struct.pack("<HH", 3, 1), 1))
    music = os.path.join(build, "背景音乐.wav")
    if os.path.exists(music):
        with open(music, "rb") as f:
            head = f.read(44 + 4096)
        # The shipped header with its first samples; the stated length now runs past the end.
        write("wave_fuzz", "shipped-music-head.wav", head)


def map_seeds(build):
    for name in sorted(os.listdir(build)):
        if name.endswith(".map"):
            shutil.copyfile(os.path.join(build, name), os.path.join(CORPUS, "map_fuzz", name))
    with open(os.path.join(build, "MAP001.map"), "rb") as f:
        shipped = f.read()
    magic = shipped[:31]
    write("map_fuzz", "bad-too-short.map", shipped[:64])
    write("map_fuzz", "bad-wrong-magic.map", b"X" + shipped[1:200])
    write("map_fuzz", "bad-name-past-end.map", magic + bytes(32) + struct.pack("<i", 1 << 30) + b"x" * 40)
    write("map_fuzz", "bad-negative-count.map", magic + bytes(32) + struct.pack("<ii", 0, -5) + bytes(40))
    write("map_fuzz", "background-escapes.map",
          magic + bytes(32) + struct.pack("<i", 11) + b"..\\..\\x.bmp" + struct.pack("<iii", 0, 0, 0))


def compound_seeds(build):
    with open(os.path.join(build, "图库.TIL"), "rb") as f:
        shipped = f.read()
    write("compound_file_fuzz", "shipped.til", shipped)
    sector = 1 << shipped[30]
    fat = (struct.unpack_from("<I", shipped, 76)[0] + 1) * sector
    directory = struct.unpack_from("<I", shipped, 48)[0]
    root = (directory + 1) * sector

    def patched(offset, value):
        image = bytearray(shipped)
        struct.pack_into("<I", image, offset, value)
        return bytes(image)

    write("compound_file_fuzz", "bad-not-compound.til", b"x" * 2048)
    write("compound_file_fuzz", "bad-truncated.til", shipped[: len(shipped) // 2])
    write("compound_file_fuzz", "bad-directory-chain-loops.til", patched(fat + 4 * directory, directory))
    write("compound_file_fuzz", "bad-directory-chain-leaves.til", patched(fat + 4 * directory, 0x00FFFFFF))
    write("compound_file_fuzz", "bad-sector-shift.til", shipped[:30] + bytes([13]) + shipped[31:])
    write("compound_file_fuzz", "bad-fat-count.til", patched(44, 0xFFFFFFFF))
    child = struct.unpack_from("<I", shipped, root + 76)[0]
    if child < sector // 128:
        image = bytearray(shipped)
        struct.pack_into("<II", image, root + child * 128 + 68, child, child)
        write("compound_file_fuzz", "bad-directory-tree-loops.til", bytes(image))


def text_seeds(build):
    with open(os.path.join(build, "操作帮助.TXT"), "rb") as f:
        write("text_encoding_fuzz", "shipped-help.txt", f.read())
    write("text_encoding_fuzz", "gbk-mixed.txt", "方向键移动 tank ☆★\r\n".encode("gbk"))
    write("text_encoding_fuzz", "bad-cut-gbk.txt", "坦克".encode("gbk")[:3])
    write("text_encoding_fuzz", "utf8.txt", "图库 ☆ \u00e9".encode("utf-8"))


def net_text(text):
    data = text.encode()
    return struct.pack("<H", len(data)) + data


def net_seeds():
    hello = b"\x01" + struct.pack("<H", 1) + net_text("0.1.0") + struct.pack("<H", 2)
    hello += net_text("MAP001.map") + struct.pack("<Q", 0x1234) + net_text("图库.TIL") + struct.pack("<Q", 7)
    write("net_message_fuzz", "hello.bin", hello)
    write("net_message_fuzz", "welcome.bin", b"\x02" + struct.pack("<QiiB", 42, 1, 2, 3))
    write("net_message_fuzz", "refusal.bin", b"\x03" + net_text("MAP002.map differs"))
    events = b"\x01\x26" + b"\x02\x20" + b"\x03\x01" + struct.pack("<hh", 512, 400)
    events += b"\x04\x01\x02" + b"\x05\x00\x07" + b"\x06\x01\x01" + struct.pack("<h", -32768) + b"\x07\x00"
    write("net_message_fuzz", "turn.bin", b"\x04" + struct.pack("<IH", 33, 7) + events)
    write("net_message_fuzz", "turn-empty.bin", b"\x04" + struct.pack("<IH", 4, 0))
    write("net_message_fuzz", "digest.bin", b"\x05" + struct.pack("<IQ", 30, 0xDEADBEEF))
    write("net_message_fuzz", "goodbye.bin", b"\x06")
    # Damage the decoder refuses.
    write("net_message_fuzz", "bad-count-beyond-limit.bin", b"\x04" + struct.pack("<IH", 5, 60000) + b"\x01\x20")
    write("net_message_fuzz", "bad-event-kind.bin", b"\x04" + struct.pack("<IH", 5, 1) + b"\x09\x20")
    write("net_message_fuzz", "bad-trailing.bin", b"\x06\x00")
    write("net_message_fuzz", "bad-text-cut.bin", b"\x03" + struct.pack("<H", 900) + b"abc")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: fuzz-seeds.py BUILD_FOLDER")
    build = sys.argv[1]
    shutil.rmtree(CORPUS, ignore_errors=True)
    os.makedirs(os.path.join(CORPUS, "map_fuzz"))
    for name in ["失败.BMP", "胜利.BMP", "标题.BMP", "边框1.BMP", os.path.join("地图背景", "城市.BMP")]:
        with open(os.path.join(build, name), "rb") as f:
            data = f.read()
        if len(data) <= LARGEST_SHIPPED:
            write("bitmap_fuzz", "shipped-" + os.path.basename(name), data)
    bitmap_seeds()
    wave_seeds(build)
    map_seeds(build)
    compound_seeds(build)
    text_seeds(build)
    net_seeds()


if __name__ == "__main__":
    main()
