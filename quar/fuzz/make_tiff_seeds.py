#!/usr/bin/env python3
"""Writes the seeds of tiff_reader_fuzz: small uncompressed TIFFs laid out as
the library writes them (header, one strip, the directory last) with 1 and 3
planes of 8 and 16 bits, a 12-bit one (16-bit samples, MaxSampleValue 4095),
one with its directory first, and one cut short.

    quar/fuzz/make_tiff_seeds.py quar/fuzz/seeds/tiff_reader_fuzz
"""
import os
import struct
import sys


def tiff(width, height, planes, bits, directory_first=False, max_value=None):
    stored = 8 if bits == 8 else 16
    data = bytes((x * 7 + y * 13) & 0xFF for y in range(height)
                 for x in range(width * planes * stored // 8))
    entries = [
        (256, 4, 1, width), (257, 4, 1, height), (258, 3, planes, stored),
        (259, 3, 1, 1), (262, 3, 1, 2 if planes == 3 else 1), (273, 4, 1, 0),
        (277, 3, 1, planes), (278, 4, 1, height), (279, 4, 1, len(data)),
        (284, 3, 1, 1)]
    if max_value is not None:
        entries.append((281, 3, 1, max_value))
    entries.sort()
    directory_size = 2 + 12 * len(entries) + 4
    extra_at = 8 + directory_size if directory_first else 8 + len(data) + directory_size
    extra = struct.pack('<3H', stored, stored, stored) if planes == 3 else b''
    data_at = 8 + directory_size + len(extra) if directory_first else 8
    directory_at = 8 if directory_first else 8 + len(data)
    packed = struct.pack('<H', len(entries))
    for tag, kind, count, value in entries:
        if tag == 273:
            value = data_at
        if tag == 258 and planes == 3:
            value = extra_at
        if kind == 3 and count == 1:
            packed += struct.pack('<HHIHH', tag, kind, count, value, 0)
        else:
            packed += struct.pack('<HHII', tag, kind, count, value)
    packed += struct.pack('<I', 0)
    header = b'II*\x00' + struct.pack('<I', directory_at)
    if directory_first:
        return header + packed + extra + data
    return header + data + packed + extra


def main(folder):
    os.makedirs(folder, exist_ok=True)
    seeds = {
        'grey8.tif': tiff(9, 5, 1, 8),
        'grey16.tif': tiff(6, 4, 1, 16),
        'rgb8.tif': tiff(5, 3, 3, 8),
        'rgb16.tif': tiff(4, 3, 3, 16),
        'grey12.tif': tiff(7, 2, 1, 12, max_value=4095),
        'directory_first.tif': tiff(8, 8, 1, 8, directory_first=True),
    }
    seeds['cut.tif'] = seeds['directory_first.tif'][:-20]
    for name, content in seeds.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(content)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'quar/fuzz/seeds/tiff_reader_fuzz')
