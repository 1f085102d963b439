#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/: small, valid instances of each input."""
import base64
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def crc16(data: bytes) -> int:
    crc = 0x1D0F
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def b64_lines(data: bytes) -> bytes:
    text = base64.b64encode(data)
    return b"\r\n".join(text[i:i + 76] for i in range(0, len(text), 76))


def sealed(magic: bytes, rest: bytes) -> bytes:
    head = magic + rest[:2]
    return head + struct.pack("<H", crc16(head)) + rest[2:]


def kofs(kib: int, name: bytes) -> bytes:
    record = b"a\0" + struct.pack("<H", 4 + len(name)) + name
    head_len = (16 + len(record) + 3) // 4 * 4
    head = sealed(b"kFoS", struct.pack("<H", kib)) + b"\0\0" + bytes([head_len // 4, 1]) + b"\0" * 4
    head = (head + record).ljust(head_len, b"\0")
    tail = sealed(b"kFoS", b"\0\0")
    return head.ljust(1024 * kib - 8, b"\x5a") + tail


def firmware(size: int) -> bytes:
    body = bytes((i * 7) & 0xFF for i in range(size - 16))
    return b"f1sP" + b"\0" * 4 + struct.pack("<H", crc16(body)) + b"\0" * 6 + body


def env_record(kind: int, sub: int, payload: bytes) -> bytes:
    rec = bytes([kind, sub]) + struct.pack("<H", len(payload) + 6) + payload
    return rec + struct.pack("<H", crc16(rec))


def env_block() -> bytes:
    header = sealed(b"eVnS", b"\x12\x34") + b"\0" * 8
    records = [env_record(3, 0, bytes([192, 168, 0, 7])), env_record(5, 0, struct.pack("<I", 0x88)),
               env_record(9, 1, b"HomeNet".ljust(32, b"\0")), env_record(12, 0, b"Varno"),
               env_record(8, 4, b"user\0\0\xc4\xc5"), env_record(7, 1, b"\1\2\3"),
               env_record(255, 0, b"")]
    return header + b"".join(records)


def cert_record(sub: int, content: bytes) -> bytes:
    rec = bytes([0x0B, sub]) + struct.pack("<H", len(content) + 6) + content
    return rec + struct.pack("<H", crc16(rec))


def cert_block() -> bytes:
    records = cert_record(0, b"\0" * 258) + cert_record(2, b"\x30\x82" + b"\1" * 42) + \
        cert_record(7, b"\7\7") + cert_record(8, b"\x08")
    header = b"eVnC" + struct.pack("<H", 16 + len(records))
    return header + struct.pack("<H", crc16(header)) + b"\0" * 8 + records


def tail_block() -> bytes:
    name = b"fw-1.2\0\0"
    return b"B\0\6\0xy" + b"A\0" + struct.pack("<H", 4 + len(name)) + name


SEEDS = {
    "fuzz_package": {"kofs": kofs(1, b"seed"), "combined": kofs(1, b"c") + firmware(64),
                     "firmware": firmware(40)},
    "fuzz_record_names": {"head": kofs(1, b"image name")[:64], "tail": tail_block()},
    "fuzz_environment_block": {"block": b64_lines(env_block())},
    "fuzz_certificate_block": {"block": cert_block()},
    "fuzz_base64": {"text": b64_lines(bytes(range(200))), "padded": b"QUI=QQ=="},
    "fuzz_ipv6": {"a": b"fe80::1", "b": b"1:2:3:4:5:6:7:8", "c": b"::", "d": b"12345::ABCD"},
    "fuzz_hex": {"challenge": b"413 00112233445566778899aabbccddeeff", "id": b"0123456789abcdefABCDEF"},
}

for target, files in SEEDS.items():
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
