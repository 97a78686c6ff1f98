#!/usr/bin/env python3
"""msi_summary.py MSI PACKAGE-CODE EPOCH: writes the package code and the creation and
save times into an installer's summary information, in place.

wixl draws the package code at random and stamps both times from the clock; with these
fixed, two builds of the same files give the same bytes. The summary information is a
property set (a stream of a few hundred bytes); its values keep their sizes, so the stream
is changed where it lies. Exits with 1 and a message naming the file when the stream is not
where and what it should be.
"""

import os
import struct
import sys
import uuid

SUMMARY_FORMAT = uuid.UUID("F29F85E0-4FF9-1068-AB91-08002B27B3D9").bytes_le
VT_LPSTR = 30
VT_FILETIME = 64
PID_REVISION = 9  # the package code, as "{GUID}"
PID_CREATED = 12
PID_SAVED = 13
SECONDS_1601_TO_1970 = 11644473600


def fail(path, reason):
    print(f"msi_summary: {path}: {reason}", file=sys.stderr)
    sys.exit(1)


def main():
    if len(sys.argv) != 4:
        print("usage: msi_summary.py MSI PACKAGE-CODE EPOCH", file=sys.stderr)
        sys.exit(2)
    path, code, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    revision = ("{" + str(uuid.UUID(code)).upper() + "}").encode("ascii")
    filetime = struct.pack("<Q", (epoch + SECONDS_1601_TO_1970) * 10_000_000)

    with open(path, "rb") as f:
        data = bytearray(f.read())
    if data.count(SUMMARY_FORMAT) != 1:
        fail(path, "no single summary information property set")
    # The property set header: byte order, version, system, class id, section count (28
    # bytes), then the first section's format id and offset.
    start = data.find(SUMMARY_FORMAT) - 28
    if start < 0 or data[start:start + 2] != b"\xfe\xff":
        fail(path, "the summary information does not start with a property set header")
    (offset,) = struct.unpack_from("<I", data, start + 44)
    section = start + offset
    _size, count = struct.unpack_from("<II", data, section)
    if count > 64:
        fail(path, f"the summary information lists {count} properties")
    written = set()
    for i in range(count):
        pid, where = struct.unpack_from("<II", data, section + 8 + 8 * i)
        value = section + where
        (kind,) = struct.unpack_from("<I", data, value)
        if pid == PID_REVISION:
            (length,) = struct.unpack_from("<I", data, value + 4)
            text = data[value + 8:value + 8 + length]
            if kind != VT_LPSTR or length != len(revision) + 1 or text[0:1] != b"{":
                fail(path, "the package code is not a text of a GUID's length")
            data[value + 8:value + 8 + len(revision)] = revision
            written.add(pid)
        elif pid in (PID_CREATED, PID_SAVED):
            if kind != VT_FILETIME:
                fail(path, f"property {pid} is not a time")
            data[value + 4:value + 12] = filetime
            written.add(pid)
    if written != {PID_REVISION, PID_CREATED, PID_SAVED}:
        fail(path, "the package code or a time is missing from the summary information")

    part = path + ".summary.tmp"
    with open(part, "wb") as f:
        f.write(data)
    os.replace(part, path)


if __name__ == "__main__":
    main()
