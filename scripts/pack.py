#!/usr/bin/env python3
"""Packs a folder into a .zip or .tar.gz that is the same bytes every time.

Usage: pack.py EPOCH FOLDER ARCHIVE

Entries are sorted and sit under the folder's name; every entry gets the
time EPOCH (seconds), owner root and the permissions 0644, or 0755 for
folders and files that were executable; the gzip header carries no time.
"""
import gzip
import io
import os
import sys
import tarfile
import time
import zipfile


def entries(folder):
    base = os.path.basename(folder.rstrip("/"))
    found = []
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            found.append((base + "/" + os.path.relpath(path, folder).replace(os.sep, "/"), path))
    return sorted(found)


def mode(path):
    if os.path.isdir(path) or os.access(path, os.X_OK):
        return 0o755
    return 0o644


def pack_zip(epoch, folder, archive):
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for name, path in entries(folder):
            if os.path.isdir(path):
                name += "/"
            info = zipfile.ZipInfo(name, stamp)
            info.external_attr = (mode(path) | (0o040000 if os.path.isdir(path) else 0o100000)) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the permissions above are read
            data = b"" if os.path.isdir(path) else open(path, "rb").read()
            out.writestr(info, data)


def pack_tar_gz(epoch, folder, archive):
    buffer = io.BytesIO()
    with tarfile.open(fileobj=buffer, mode="w", format=tarfile.PAX_FORMAT) as tar:
        for name, path in entries(folder):
            info = tar.gettarinfo(path, arcname=name)
            info.mtime = epoch
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            if not info.issym():
                info.mode = mode(path)
            if info.isfile():
                with open(path, "rb") as data:
                    tar.addfile(info, data)
            else:
                tar.addfile(info)
    with open(archive, "wb") as raw, gzip.GzipFile(fileobj=raw, mode="wb", mtime=0, filename="") as out:
        out.write(buffer.getvalue())


def main():
    epoch, folder, archive = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    (pack_zip if archive.endswith(".zip") else pack_tar_gz)(epoch, folder, archive)
    print(f"pack: {archive}")


if __name__ == "__main__":
    main()
