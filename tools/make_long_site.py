#!/usr/bin/env python3
"""Writes a small web site of long names and deep folders, for testing disc images whose UDF
tree holds names Joliet cannot (longer than 64 UTF-16 units, deeper than 8 levels).

    python3 tools/make_long_site.py OUT      (OUT new or empty; the start page is OUT/index.html)

Names of 65 to 200 characters in Latin with accents, Greek, Cyrillic, Chinese and Japanese,
and with emoji (outside the Basic Multilingual Plane); two that share their first 70
characters, so shortened names must still differ; folders ten levels deep. Every name is valid
on Windows and fits both 255 bytes of UTF-8 and the 255 bytes a UDF name takes on the disc (one
byte a character when all are Latin-1, otherwise two for each UTF-16 unit). Every page declares
X-UA-Compatible and every file is reached from index.html by plain <a href> and <img src> links,
percent-encoded as UTF-8. Files and folders carry one fixed date, so the output, and an image of
it, is the same on every run.
"""

import html
import os
import struct
import sys
import urllib.parse
import zlib

DATE = 978307200  # 2001-01-01 00:00:00 UTC

# The top folder's pages, each with a picture beside it: (name without extension, text).
PAGES = [
    ("Les élèves de la classe de première ont préparé une exposition sur l'histoire de la ville, "
     "avec des cartes anciennes, des photos et des témoignages recueillis auprès des habitants du quartier",
     "Latin with accents, all in Latin-1: near 200 characters, one byte each on the disc."),
    ("Η ιστορία της πόλης μέσα από χάρτες, φωτογραφίες και μαρτυρίες των κατοίκων της γειτονιάς",
     "Greek."),
    ("История города в старых картах, фотографиях и воспоминаниях жителей нашего района",
     "Cyrillic."),
    ("城市的历史：古老的地图、照片以及附近居民的回忆与讲述，由高中一年级的学生们整理并展示给大家参观学习与交流讨论之用途说明及后记与致谢",
     "Chinese: three bytes of UTF-8 a character."),
    ("町の歴史を古い地図と写真と住民の思い出で振り返る展示会のご案内とその準備の記録と感想文集、そして来年度に向けた新しい計画と課題の一覧",
     "Japanese."),
    ("Photos de la fête de fin d'année 🎉 avec les élèves 📷 et les parents 🙂 du quartier (édition 2001)",
     "Emoji: characters outside the Basic Multilingual Plane, two UTF-16 units each."),
    ("Zażółć gęślą jaźń – příliš žluťoučký kůň úpěl ďábelské ódy – árvíztűrő tükörfúrógép",
     "Latin with accents beyond Latin-1 (Polish, Czech, Hungarian)."),
]
# Two names alike in their first 70 characters: Joliet's shortened names must still differ.
TWINS = "Rapport annuel de l'association des parents d'élèves du collège Jean Moulin, partie "
# Folders with long names, each holding a page and a picture of long names.
FOLDERS = [
    ("Αρχείο φωτογραφιών της σχολικής χρονιάς με τις εκδρομές και τις γιορτές",
     "Фотографии с экскурсии на озеро и в старый монастырь весной, вместе с учителями"),
    ("Документы и протоколы родительского комитета за весь учебный год (с приложениями)",
     "Procès-verbal de la réunion du conseil d'école du jeudi douze octobre"),
]
LEVELS = 10  # folders one inside the other below the top


def png(seed):
    """A small picture of its own colour: 8 by 8 pixels."""
    r, g, b = (seed * 73) % 256, (seed * 151) % 256, (seed * 199) % 256
    rows = b"".join(b"\0" + bytes([r, g, b]) * 8 for _ in range(8))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 8, 8, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def check_name(name):
    """Refuses a name Windows, UTF-8's 255 bytes or a UDF name's 255 bytes cannot hold."""
    units = len(name.encode("utf-16-le")) // 2
    udf = 1 + (len(name) if all(ord(c) < 256 for c in name) else 2 * units)
    bad = set('<>:"/\\|?*') | {chr(c) for c in range(32)}
    if (bad & set(name) or name.endswith((".", " ")) or len(name.encode("utf-8")) > 255 or udf > 255
            or name.split(".")[0].upper() in {"CON", "PRN", "AUX", "NUL"} | {f"{d}{i}" for d in ("COM", "LPT") for i in range(10)}):
        raise SystemExit(f"make_long_site: a name no disc or Windows holds: {name}")
    return name


def link(page, target):
    """The href of `target` from `page` (both relative to OUT), percent-encoded as UTF-8."""
    rel = os.path.relpath(target, os.path.dirname(page) or ".").replace(os.sep, "/")
    return urllib.parse.quote(rel, safe="/")


class Site:
    def __init__(self, out):
        self.out = out
        self.paths = []  # every file and folder written, relative to OUT

    def folder(self, rel):
        for part in rel.split("/"):
            check_name(part)
        os.makedirs(os.path.join(self.out, rel), exist_ok=True)
        self.paths.append(rel)

    def file(self, rel, data):
        check_name(os.path.basename(rel))
        with open(os.path.join(self.out, rel), "wb") as f:
            f.write(data)
        self.paths.append(rel)

    def page(self, rel, title, text, links, pictures):
        """A page with its links (target, words) and pictures (target)."""
        body = [f"<h1>{html.escape(title)}</h1>", f"<p>{html.escape(text)}</p>", "<ul>"]
        body += [f'<li><a href="{link(rel, t)}">{html.escape(words)}</a></li>' for t, words in links]
        body += ["</ul>"]
        body += [f'<p><img src="{link(rel, p)}" alt="{html.escape(os.path.basename(p))}"></p>' for p in pictures]
        self.file(rel, "\n".join([
            "<!DOCTYPE html>", '<html lang="mul">', "<head>", '<meta charset="utf-8">',
            '<meta http-equiv="X-UA-Compatible" content="IE=edge">', f"<title>{html.escape(title)}</title>",
            "</head>", "<body>", *body, "</body>", "</html>", ""]).encode("utf-8"))


def main(args):
    if len(args) != 1:
        raise SystemExit(__doc__)
    out = args[0]
    if os.path.exists(out) and os.listdir(out):
        raise SystemExit(f"make_long_site: {out} is not empty")
    os.makedirs(out, exist_ok=True)
    site = Site(out)
    top_links = []
    seed = 1

    for name, text in PAGES:
        site.file(name + ".png", png(seed))
        site.page(name + ".html", name, text, [("index.html", "Start page")], [name + ".png"])
        top_links.append((name + ".html", name))
        seed += 1
    for part in ("1", "2"):
        name = TWINS + part + ".html"
        site.page(name, name, "One of two names alike in their first 70 characters.", [("index.html", "Start page")], [])
        top_links.append((name, name))

    for folder, inner in FOLDERS:
        site.folder(folder)
        page, picture = f"{folder}/{inner}.html", f"{folder}/{inner}.png"
        site.file(picture, png(seed))
        site.page(page, inner, "A page of a long name in a folder of a long name.", [("index.html", "Start page")], [picture])
        top_links.append((page, f"{folder} / {inner}"))
        seed += 1

    # Ten folders deep, each level's page linking the next; a long name at the bottom.
    # Short level names: the deepest file's path stays within Windows' 260 characters.
    words = ["Étage", "Ebene", "Επίπεδο", "Уровень", "階層"]
    levels = [f"{words[n % len(words)]} {n + 1:02d}" for n in range(LEVELS)]
    pages = ["/".join(levels[:n]) + "/page.html" for n in range(1, LEVELS + 1)]
    for n in range(LEVELS):
        site.folder("/".join(levels[:n + 1]))
    bottom = "/".join(levels) + "/Le fichier le plus profond, dix dossiers sous la racine du disque 🙂.txt"
    site.file(bottom, "Ten folders below the root.\n".encode("utf-8"))
    for n, page in enumerate(pages):
        picture = page[:-len("page.html")] + "picture.png"
        site.file(picture, png(seed))
        seed += 1
        following = [(pages[n + 1], "One level deeper")] if n + 1 < LEVELS else [(bottom, "The deepest file")]
        site.page(page, f"Level {n + 1}", f"{n + 1} folders below the root.", following + [("index.html", "Start page")], [picture])
    top_links.append((pages[0], "Ten levels deep"))

    site.page("index.html", "Long names", "Pages and pictures of long names, and a tree ten folders deep.", top_links, [])

    for rel in sorted(site.paths, key=lambda p: -p.count("/")):  # contents first, then folders
        os.utime(os.path.join(out, rel), (DATE, DATE))
    os.utime(out, (DATE, DATE))


if __name__ == "__main__":
    main(sys.argv[1:])
