# The machine a Windows program is built for, read from its PE header.
import struct

MACHINES = {0x14C: "x86", 0x8664: "x64"}


def pe_machine(data: bytes) -> str:
    """'x86', 'x64', or '' when data is not a PE image."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        return ""
    off = struct.unpack_from("<I", data, 0x3C)[0]
    if data[off:off + 4] != b"PE\0\0":
        return ""
    return MACHINES.get(struct.unpack_from("<H", data, off + 4)[0], "")
