#!/usr/bin/env python3
"""Reads a compiled help file on its own (no help compiler code involved) and
checks that it is a well-formed CHM holding the given topics.

Usage: check_chm.py FILE.chm --title TEXT --default-topic NAME TOPIC...

Checks: the ITSF header and the ITSP directory; every listing chunk (PMGL)
parses to the end; each named topic, the table of contents and the index are
in the listing with a non-zero length; the uncompressed #SYSTEM file names the
expected title and default topic. Prints the file list; exits 1 on a fault.
"""
import argparse
import struct
import sys


class ChmError(Exception):
    pass


def encint(data, pos):
    """A CHM variable-length integer: 7 bits a byte, high bit = more."""
    value = 0
    while True:
        if pos >= len(data):
            raise ChmError("truncated ENCINT")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def read_directory(blob):
    if blob[:4] != b"ITSF":
        raise ChmError("no ITSF signature")
    version, header_len = struct.unpack_from("<II", blob, 4)
    if version not in (2, 3):
        raise ChmError("ITSF version %d" % version)
    dir_offset, dir_length = struct.unpack_from("<QQ", blob, 0x48)
    if version == 3 and header_len >= 0x60:
        content_offset = struct.unpack_from("<Q", blob, 0x58)[0]
    else:
        content_offset = dir_offset + dir_length
    if dir_offset + dir_length > len(blob) or content_offset > len(blob):
        raise ChmError("directory or content beyond the end of the file")

    itsp = blob[dir_offset:dir_offset + dir_length]
    if itsp[:4] != b"ITSP":
        raise ChmError("no ITSP signature")
    itsp_header_len, = struct.unpack_from("<I", itsp, 8)
    chunk_size, = struct.unpack_from("<I", itsp, 0x10)
    chunk_count, = struct.unpack_from("<I", itsp, 0x2C)
    if chunk_size == 0 or itsp_header_len + chunk_count * chunk_size > len(itsp):
        raise ChmError("bad ITSP chunk layout")

    files = {}
    for n in range(chunk_count):
        chunk = itsp[itsp_header_len + n * chunk_size:itsp_header_len + (n + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue  # index chunks (PMGI) only speed up look-ups
        free_space, = struct.unpack_from("<I", chunk, 4)
        end = chunk_size - free_space
        pos = 20
        while pos < end:
            name_len, pos = encint(chunk, pos)
            name = chunk[pos:pos + name_len].decode("utf-8")
            pos += name_len
            section, pos = encint(chunk, pos)
            offset, pos = encint(chunk, pos)
            length, pos = encint(chunk, pos)
            files[name] = (section, offset, length)
        if pos != end:
            raise ChmError("listing chunk %d overruns its entries" % n)
    return files, content_offset


def system_records(blob, files, content_offset):
    if "/#SYSTEM" not in files:
        raise ChmError("no #SYSTEM file")
    section, offset, length = files["/#SYSTEM"]
    if section != 0:
        raise ChmError("#SYSTEM is not stored uncompressed")
    data = blob[content_offset + offset:content_offset + offset + length]
    records = {}
    pos = 4  # version
    while pos + 4 <= len(data):
        code, size = struct.unpack_from("<HH", data, pos)
        records[code] = data[pos + 4:pos + 4 + size].rstrip(b"\0").decode("latin-1")
        pos += 4 + size
    return records


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("chm")
    parser.add_argument("--title", required=True)
    parser.add_argument("--default-topic", required=True)
    parser.add_argument("topics", nargs="+")
    args = parser.parse_args()

    with open(args.chm, "rb") as f:
        blob = f.read()
    try:
        files, content_offset = read_directory(blob)
        for name in sorted(files):
            print("%-40s section %d  %6d bytes" % (name, files[name][0], files[name][2]))
        faults = []
        for topic in args.topics + ["toc.hhc", "index.hhk"]:
            entry = files.get("/" + topic)
            if entry is None:
                faults.append("missing " + topic)
            elif entry[2] == 0:
                faults.append("empty " + topic)
        records = system_records(blob, files, content_offset)
        # #SYSTEM record 2 is the default topic, 3 the title.
        if records.get(2) != args.default_topic:
            faults.append("default topic %r, expected %r" % (records.get(2), args.default_topic))
        if records.get(3) != args.title:
            faults.append("title %r, expected %r" % (records.get(3), args.title))
    except (ChmError, struct.error, UnicodeDecodeError) as error:
        print("not a readable CHM: %s" % error)
        return 1
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
