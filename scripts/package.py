#!/usr/bin/env python3
"""Packs a built Vornquill2.exe with the read-mes into Vornquill2-<version>-win32.zip and writes
the zip's .sha256 beside it. Only the inputs decide the bytes: entries sorted by name, every
entry dated SOURCE_DATE_EPOCH (UTC), fixed attributes and compression.

usage: package.py EXE VERSION TEMPLATE_DIR OUT_DIR   (SOURCE_DATE_EPOCH in the environment)
"""
import hashlib
import os
import sys
import time
import zipfile

README_JA = "はじめにお読みください.txt"


def text_file(template_dir, name, version, bom):
    with open(os.path.join(template_dir, name), encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    # CR LF, and the Japanese one with a BOM: Notepad on every Windows then reads it right.
    data = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")
    return (b"\xef\xbb\xbf" if bom else b"") + data


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    exe, version, template_dir, out_dir = sys.argv[1:]
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    # A zip entry's date is DOS time: 1980 to 2107, two-second steps.
    stamp = time.gmtime(min(max(epoch, 315532800), 4354819199))[:6]

    with open(exe, "rb") as f:
        files = {"Vornquill2.exe": f.read()}
    files["README.txt"] = text_file(template_dir, "README.txt", version, bom=False)
    files[README_JA] = text_file(template_dir, README_JA, version, bom=True)
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in sorted(files.items()))
    files["SHA256SUMS.txt"] = sums.encode("utf-8")

    os.makedirs(out_dir, exist_ok=True)
    zip_name = f"Vornquill2-{version}-win32.zip"
    zip_path = os.path.join(out_dir, zip_name)
    with zipfile.ZipFile(zip_path + ".part", "w") as z:
        for name in sorted(files, key=lambda n: n.encode("utf-8")):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # MS-DOS: attributes as Windows reads them
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Explorer writes it
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, files[name], compresslevel=9)
    os.replace(zip_path + ".part", zip_path)

    with open(zip_path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(zip_path + ".sha256", "w", encoding="utf-8", newline="\n") as f:
        f.write(f"{digest}  {zip_name}\n")
    print(zip_path)


if __name__ == "__main__":
    main()
