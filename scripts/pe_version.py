#!/usr/bin/env python3
"""Prints the version resource of a Windows PE file, one NAME=VALUE a line.

Usage: pe_version.py FILE

FIXED_FILE / FIXED_PRODUCT come from VS_FIXEDFILEINFO (a.b.c.d); the other
lines are the StringFileInfo values, such as FileVersion and ProductVersion.
"""
import struct
import sys

KEYS = ["CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright", "OriginalFilename",
        "ProductName", "ProductVersion"]


def fixed(data):
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return {}
    ms, ls, pms, pls = struct.unpack_from("<4I", data, at + 8)
    version = lambda high, low: f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
    return {"FIXED_FILE": version(ms, ls), "FIXED_PRODUCT": version(pms, pls)}


def strings(data):
    found = {}
    for key in KEYS:
        at = data.find(key.encode("utf-16-le") + b"\0\0")
        if at < 0:
            continue
        at += 2 * (len(key) + 1)
        while data[at:at + 2] == b"\0\0":  # padding to a 32-bit boundary
            at += 2
        end = data.find(b"\0\0", at)
        while end >= 0 and (end - at) % 2:  # a NUL character starts on an even offset
            end = data.find(b"\0\0", end + 1)
        found[key] = data[at:end].decode("utf-16-le")
    return found


def main():
    data = open(sys.argv[1], "rb").read()
    values = {**fixed(data), **strings(data)}
    if not values:
        sys.exit(f"pe_version: {sys.argv[1]} has no version resource")
    for name, value in values.items():
        print(f"{name}={value}")


if __name__ == "__main__":
    main()
