#!/usr/bin/env python3
"""Lays out a demo game prefix, a run directory and the pack server's files under one folder.

  <folder>/prefix   a Wine-style prefix: user.reg with the launcher's registry value, and
                    C:\\Games\\英雄联盟 with TCLS\\Client.exe, Game\\LEVELS\\... and Game\\Map1.zip
  <folder>/run      the program's run directory, with two packs already in 地图包
  <folder>/server   what the local pack server serves: skinvault/Map2.zip ... Map10.zip

--no-launcher leaves the registry value out (the program then refuses to start).
"""
import argparse
import io
import os
import random
import shutil
import zipfile

GAME = ("Games", "英雄联盟")
LAUNCHER = "C:\\Games\\英雄联盟\\TCLS\\Client.exe"
# (download path number, archive name) of the nine packs.
PACKS = [(2, "S2万圣节"), (3, "防S2冬季"), (4, "沙滩峡谷"), (5, "沙滩夜间"), (6, "爱心峡谷"),
         (7, "雪之峡谷"), (8, "AREA63"), (9, "AREA91"), (10, "荒漠峡谷")]
ALREADY_DOWNLOADED = {"爱心峡谷", "AREA63"}


def wine_literal(text):
    """Escapes a string the way Wine's registry writer does."""
    out = []
    for i, ch in enumerate(text):
        if ch in '\\"':
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            following = text[i + 1] if i + 1 < len(text) else ""
            padded = following and following in "0123456789abcdefABCDEF"
            out.append(("\\x%04x" if padded else "\\x%x") % ord(ch))
    return "".join(out)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def level_files(seed):
    """A small LEVELS tree: nested folders, Chinese names, text and incompressible data."""
    rng = random.Random(seed)
    files = {}
    for map_name in ("Map1", "Map11"):
        for part in ("Scene", "Textures", "Textures/地形"):
            for n in range(3):
                name = f"{map_name}/{part}/块{n}.dds" if "地形" in part else f"{map_name}/{part}/tile{n}.dat"
                body = (f"{seed} {name}\n" * 200).encode() + rng.randbytes(2048)
                files[name] = body
    return files


def zip_bytes(entries):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries.items():
            archive.writestr(name, data)
    return buffer.getvalue()


def make(folder, with_launcher):
    shutil.rmtree(folder, ignore_errors=True)
    prefix = os.path.join(folder, "prefix")
    game_root = os.path.join(prefix, "drive_c", *GAME)
    registry = ["WINE REGISTRY Version 2", ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000",
                "", "#arch=win64", "", "[Software\\\\Tencent\\\\LOL] 1733900000", "#time=1db4b6d3c3a5e20"]
    if with_launcher:
        registry.append('"QQlogin"="%s"' % wine_literal(LAUNCHER))
    write(os.path.join(prefix, "user.reg"), ("\n".join(registry) + "\n").encode())
    write(os.path.join(game_root, "TCLS", "Client.exe"), b"MZ")
    for name, data in level_files("official").items():
        write(os.path.join(game_root, "Game", "LEVELS", name), data)
    write(os.path.join(game_root, "Game", "Map1.zip"), zip_bytes(level_files("official map1")))

    for number, name in PACKS:
        entries = {"LEVELS/" + n: d for n, d in level_files(name).items()}
        entries["LEVELS/README-" + name + ".txt"] = f"{name} map pack\n".encode()
        pack = zip_bytes(entries)
        write(os.path.join(folder, "server", "skinvault", f"Map{number}.zip"), pack)
        if name in ALREADY_DOWNLOADED:
            write(os.path.join(folder, "run", "地图包", name + ".zip"), pack)
    os.makedirs(os.path.join(folder, "run", "地图包"), exist_ok=True)


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--no-launcher", action="store_true")
    args = parser.parse_args()
    make(args.folder, not args.no_launcher)
