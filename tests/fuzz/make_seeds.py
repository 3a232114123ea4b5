#!/usr/bin/env python3
"""Writes the seed corpora of the catalog, ghost URL and asset file fuzz targets.

The seeds are the cases of the unit tests: accepted catalogs (scoped and unscoped), one catalog
for each rejection, and the URL and file values the tests check. Run from anywhere; it rewrites
tests/fuzz/corpus/{catalog_plan,ghost_url,asset_file}.
"""
import hashlib
import pathlib
import shutil

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"
SCOPE_HASH = "A" * 64  # the scope of catalog_plan_fuzz.cpp


def sha(n):
    return "%016x" % n + "a" * 48


def ghost(prefix, digest, tail=True, tail_sha=None):
    text = (f"{prefix}GhostPath=/ghosts/{digest}.tkghost\n{prefix}GhostSha256={digest}\n"
            f"{prefix}GhostFile=wkTarvek.cache\\{digest}.tkghost\n")
    if tail:
        text += (f"{prefix}TailPath=/tails/{digest}.tktail\n{prefix}TailSha256={tail_sha or sha(0xFFFF)}\n"
                 f"{prefix}TailFile=wkTarvek.cache/{digest}.tktail\n")
    return text


def meta(map_hash=SCOPE_HASH, race="BigRR"):
    return f"[Catalog]\nSchemaVersion=1\nMapHash={map_hash}\nRaceType={race}\nGameVersion=3.8.1\n"


ALLOWED = "map." + SCOPE_HASH.lower() + ".bigrr"

UNSCOPED = [
    "\ufeff",
    "[map.b]\n" + ghost("PersonalRecord", sha(1)) + ghost("WorldRecord", sha(2)) + "[map.a]\n" + ghost("WorldRecord", sha(3), False),
    "[Map.A]\r\n; comment\r\n# c\r\n" + ghost("WorldRecord", sha(4)).replace("\n", "\r\n"),
    "[map.a]\n" + ghost("WorldRecord", sha(1)) + "[map.b]\n" + ghost("PersonalRecord", sha(1)),
    "[map.a]\n" + ghost("WorldRecord", sha(1)) + "[map.b]\n" + ghost("PersonalRecord", sha(1)).replace("/ghosts/", "/other/"),
    "[catalog]\n" + ghost("WorldRecord", sha(1)),
    "[catalog]\nWorldRecordTailPath=/t\nWorldRecordTailFile=x\nWorldRecordPlayerName=A\n",
    "",
    "[a]\nk=v\0",
    "k=v",
    "\n; c\n# c\r\n  \t\nk=v\n",
    "[a]\n[]\n",
    "[a]\n[b\n",
    "[ \t ]\n",
    "[Map.A]\n[map.a]\n",
    "[a]\nWorldRecordGhostFile=x\nworldrecordghostfile=y\n",
    "[a]\n=v\n",
    "[CATALOG]\n SchemaVersion = 1 \nNote=a=b\nEmpty=\n",
    "[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + sha(1) + "\n",
    "[map.a]\n" + ghost("WorldRecord", sha(1), False) + "WorldRecordTailPath=/t\n",
    "[map.a]\n" + ghost("WorldRecord", sha(1), False) + "WorldRecordTailSha256=" + sha(2) + "\n",
    "[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + sha(1) + "\nWorldRecordGhostFile=wkTarvek.cache/" + sha(2) + ".tkghost\n",
    "[map.a]\n" + ghost("WorldRecord", sha(1), False) + "WorldRecordTailPath=/t\nWorldRecordTailSha256=" + sha(2) +
    "\nWorldRecordTailFile=wkTarvek.cache/" + sha(2) + ".tktail\n",
    "[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + sha(1)[1:] + "\nWorldRecordGhostFile=wkTarvek.cache/" + sha(1) + ".tkghost\n",
    "[map.a]\nWorldRecordGhostPath=//evil/g\nWorldRecordGhostSha256=" + sha(1) + "\nWorldRecordGhostFile=wkTarvek.cache/" + sha(1) + ".tkghost\n",
    "[map.a]\nWorldRecordGhostPath=/g%5c\nWorldRecordGhostSha256=" + sha(1) + "\nWorldRecordGhostFile=wkTarvek.cache/con.tkghost\n",
    "".join(f"[map.{i}]\n" + ghost("WorldRecord", sha(i + 1), False) for i in range(257)),
    "".join(f"[map.{i}]\n" + ghost("WorldRecord", sha(i + 1), i < 128) for i in range(129)),
]

SCOPED = [
    "\ufeff",
    meta() + f"[{ALLOWED}]\n" + ghost("WorldRecord", sha(1)) + ghost("PersonalRecord", sha(2)),
    meta() + f"[{ALLOWED}.player.ann]\n" + ghost("PersonalRecord", sha(2)),
    meta() + f"[{ALLOWED}]\n" + ghost("WorldRecord", sha(1)) + ghost("PersonalRecord", sha(2)) +
    f"[{ALLOWED}.player.x]\n" + ghost("WorldRecord", sha(3), False),
    meta(race="bigrr"),
    meta(map_hash=SCOPE_HASH.lower()) + f"[map.{SCOPE_HASH.lower()}.ttrr]\n",
    meta() + "[map.other]\n" + ghost("WorldRecord", sha(1)),
    meta() + f"[{ALLOWED}]\n[notmap]\n" + ghost("WorldRecord", sha(3)),
]

URLS = ["ghosts/a.tkghost", "/ghosts/g?id=7", "/a/../b%2F%2e%41", "", "/" + "a" * 2047, "a" * 2049,
        "//evil.example/x", "https://evil.example/x", "/a\\b", "/a#b", "/a b", "/a\x7f", "/\xc3\xbc",
        "/a%5C", "/a%0A", "/a%7F", "/a%", "/a%4", "/a%G1", "/a%20b%2f"]

FILES = [(0, "WKTARVEK.CACHE\\" + sha(1).upper() + ".TKGHOST"), (1, "wkTarvek.cache/a.b.tktail"),
         (0, "wkTarvek.cache/com0.tkghost"), (0, ""), (0, "wkTarvek.cache/" + "a" * 178 + ".tkghost"),
         (0, "/wkTarvek.cache/a.tkghost"), (0, "C:wkTarvek.cache/a.tkghost"), (0, "wkTarvek.cache//a.tkghost"),
         (0, "wkTarvek.cache/../a.tkghost"), (0, "wkTarvek.cache/a.tkghost."), (0, "wkTarvek.cache/a b.tkghost"),
         (0, "wkTarvek.cache/a*.tkghost"), (0, "wkTarvek.cache/con.tkghost"), (0, "wkTarvek.cache/LPT9.tkghost"),
         (0, "wkTarvek.cache/a.tktail"), (1, "wkTarvek.cache/a.tkghost"), (0, "wkTarvek.cache/sub/a.tkghost"),
         (0, "other/a.tkghost"), (0, "a.tkghost"), (0, "wkTarvek.cache/.tkghost")]


def write(name, seeds):
    directory = ROOT / name
    shutil.rmtree(directory, ignore_errors=True)
    directory.mkdir(parents=True)
    for data in seeds:
        (directory / hashlib.sha1(data).hexdigest()).write_bytes(data)


def raw(text):
    return text.encode("utf-8")


def latin(text):
    return text.encode("latin-1") if all(ord(c) < 256 for c in text) else text.encode("utf-8")


write("catalog_plan", [b"\x00" + raw(t) for t in UNSCOPED] + [b"\x01" + raw(t) for t in SCOPED])
write("ghost_url", [latin(u) for u in URLS])
write("asset_file", [bytes([kind]) + latin(v) for kind, v in FILES])
