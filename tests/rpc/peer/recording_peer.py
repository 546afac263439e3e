#!/usr/bin/python3
"""An independent recording server for the RPC conformance test.

It speaks connection-oriented DCE/RPC 5.0 for the recording-server interface
(ac45ab21-93bd-11d3-99d4-00c04f27a5cd 3.0, NDR 2.0) on 127.0.0.1, with another NDR
implementation than the client's: impacket's. The interface's records and the sixteen
procedures' requests and replies are declared below in impacket's declarative form,
from the interface description (field order and types), and impacket's NDR engine
lays them out. The PDUs are impacket's too; only the small bind/request/response loop
is written here.

Usage: recording_peer.py [OPNUM=REPLY ...]
  REPLY is the boolean result (0 or 1) for procedures 0 to 5 and 9 to 13, the long
  result for 14 and 15, and "UUID,BOOLEAN" for procedure 8 (the GUID it hands back).
  Procedures without a scripted reply answer 1, 8 a nil GUID.

Standard output, one line each, words separated by blanks:
  port N                         listening on 127.0.0.1:N (first line)
  unavailable REASON             impacket cannot be imported (exit status 77)
  call opnum=N len=L KEY=VALUE...  a request decoded, with every value it carried
  call opnum=N len=L error=TEXT  a request that does not decode (answered with the
                                 fault 1783, bad stub data)
Values: integers in decimal; byte arrays as lower-case hex; text as its Unicode code
points in hex joined by "." (empty text is an empty value); arrays of numbers joined
by ","; members of records as KEY.MEMBER, elements of record arrays as KEY[i].
The server ends when its standard input closes.
"""

import os
import socket
import struct
import sys
import threading
import uuid

try:
    from impacket.dcerpc.v5 import rpcrt
    from impacket.dcerpc.v5.dtypes import SYSTEMTIME
    from impacket.dcerpc.v5.ndr import (NDR, NDRBOOLEAN, NDRCALL, NDRLONG, NDRSHORT, NDRSTRUCT, NDRULONG,
                                        NDRUNION, NDRUniFixedArray, NDRUniVaryingArray, NDRUSHORT, NDRUSMALL)
    from impacket.uuid import uuidtup_to_bin
except ImportError as e:  # the C++ test skips on this line
    print("unavailable", str(e).replace("\n", " "), flush=True)
    sys.exit(77)

INTERFACE = uuidtup_to_bin(("ac45ab21-93bd-11d3-99d4-00c04f27a5cd", "3.0"))
NDR20 = uuidtup_to_bin(("8a885d04-1ceb-11c9-9fe8-08002b104860", "2.0"))
FAULT_BAD_STUB_DATA = 0x000006F7
FAULT_OP_RANGE = 0x1C010002
FAULT_UNKNOWN_INTERFACE = 0x1C010003
FAULT_PROTOCOL = 0x1C01000B

# ---- types of the interface ---------------------------------------------------------
#
# byte, boolean, short, long as impacket's primitives; SYSTEMTIME is impacket's own
# (eight 16-bit words); GUID a plain structure of long, short, short, eight bytes.


class Bytes(NDRUniFixedArray):
    """byte[N]: N octets, no alignment."""
    count = 0

    def getDataLen(self, data, offset=0):
        return self.count


def bytes_of(n):
    return type("Bytes%d" % n, (Bytes,), {"count": n})


class FixedArray(NDRSTRUCT):
    """T[N]: N elements of T in order, each at its own alignment; NDR lays a fixed array
    out exactly as a structure of N members of that type."""
    item = None
    count = 0


def array_of(item, n):
    name = "%sArray%d" % (item.__name__, n)
    return type(name, (FixedArray,), {"item": item, "count": n,
                                      "structure": tuple(("e%d" % i, item) for i in range(n))})


class WideChars(NDRUniFixedArray):
    """wchar_t[N]: N UTF-16 units, aligned to 2; the text runs to the first zero unit."""
    units = 0

    def getAlignment(self):
        return 2

    def getDataLen(self, data, offset=0):
        return 2 * self.units

    def fromString(self, data, offset=0):
        pad = offset % 2  # impacket's fixed arrays do not align themselves
        return pad + NDRUniFixedArray.fromString(self, data, offset + pad)


def wide_chars(n):
    return type("WideChars%d" % n, (WideChars,), {"units": n})


class String256(NDRUniVaryingArray):
    """[string] wchar_t[256]: offset, actual count (terminator included), the units."""
    item = "<H"
    capacity = 256


LONG = NDRLONG
SHORT = NDRSHORT
BYTE = NDRUSMALL


class GUID(NDRSTRUCT):
    structure = (
        ("Data1", NDRULONG),
        ("Data2", NDRUSHORT),
        ("Data3", NDRUSHORT),
        ("Data4", bytes_of(8)),
    )


class Proc0Period(NDRSTRUCT):
    structure = (
        ("f1", LONG), ("f2", LONG), ("f3", LONG),
        ("f4", SYSTEMTIME), ("f5", SYSTEMTIME),
        ("f6", LONG), ("f7", BYTE),
    )


class Proc0Data(NDRSTRUCT):
    structure = (
        ("f1", BYTE), ("f2", LONG), ("f3", LONG), ("f4", GUID), ("f5", wide_chars(256)),
        ("f6", Proc0Period), ("f7", BYTE), ("f8", LONG), ("f9", LONG), ("f10", BYTE),
        ("f11", LONG), ("f12", BYTE), ("f13", SYSTEMTIME), ("f14", LONG), ("f15", LONG),
        ("f16", wide_chars(256)), ("f17", wide_chars(256)), ("f18", wide_chars(256)),
        ("f19", LONG),
    )


class Proc2Item(NDRSTRUCT):
    structure = (("f1", BYTE), ("f2", LONG), ("f3", LONG), ("f4", LONG), ("f5", BYTE))


class Proc2Choice(NDRUNION):
    """Non-encapsulated union with a short discriminant; the interface fixes it to 1."""
    commonHdr = (("tag", NDRSHORT),)
    union = {
        1: ("arm1", array_of(LONG, 3)),
        "default": ("items", array_of(Proc2Item, 5)),
    }


class Proc2Data(NDRSTRUCT):
    structure = (
        ("f1", array_of(LONG, 3)), ("f2", wide_chars(128)), ("f3", array_of(LONG, 13)),
        ("f4", BYTE), ("f5", LONG), ("f6", array_of(bytes_of(24), 32)), ("f7", BYTE),
        ("f8", array_of(LONG, 3)), ("f9", BYTE), ("f10", LONG), ("f11", BYTE),
        ("f12", array_of(LONG, 4)), ("f13", GUID), ("f14", LONG),
        ("f15", wide_chars(32)), ("f16", wide_chars(32)), ("f17", array_of(LONG, 2)),
        ("f18", SHORT), ("f19", bytes_of(3)), ("f20", array_of(LONG, 7)),
        ("f21", wide_chars(32)), ("f22", wide_chars(32)), ("f23", array_of(LONG, 8)),
        ("f24", BYTE), ("f25", Proc2Choice), ("f26", array_of(LONG, 2)),
        ("f27", bytes_of(5)), ("f28", array_of(LONG, 2)), ("f29", wide_chars(32)),
        ("f30", LONG), ("f31", bytes_of(2)), ("f32", array_of(LONG, 4)),
    )


class Proc12Entry(NDRSTRUCT):
    structure = (("f1", SHORT), ("f2", SHORT), ("f3", BYTE))


class Proc12Data(NDRSTRUCT):
    structure = (
        ("f1", array_of(LONG, 3)), ("f2", SHORT), ("f3", BYTE),
        ("f4", array_of(bytes_of(6), 6)), ("f5", BYTE), ("f6", BYTE),
        ("f7", array_of(Proc12Entry, 6)), ("f8", bytes_of(3)), ("f9", BYTE),
    )

# ---- the procedures -------------------------------------------------------------------
#
# The binding handle and the status parameter do not travel; an [in] record passed by
# reference travels as the record itself (a top-level reference pointer has no
# representation of its own), and so does procedure 8's [in, out] GUID*.


def call(name, *params):
    return type(name, (NDRCALL,), {"structure": tuple(params)})


REQUESTS = {
    0: call("Proc0", ("data", Proc0Data)),
    1: call("Proc1", ("a", LONG)),
    2: call("Proc2", ("data", Proc2Data)),
    3: call("Proc3", ("a", LONG), ("b", LONG)),
    4: call("Proc4", ("days", LONG)),
    5: call("Proc5"),
    6: call("Proc6", ("a", LONG)),
    7: call("Proc7", ("text", String256), ("flag", NDRBOOLEAN)),
    8: call("Proc8", ("a", String256), ("b", String256), ("guid", GUID)),
    9: call("Proc9", ("guid", GUID)),
    10: call("Proc10", ("guid", GUID)),
    11: call("Proc11", ("guid", GUID)),
    12: call("Proc12", ("data", Proc12Data)),
    13: call("Proc13", ("recorder", LONG), ("days", LONG)),
    14: call("Proc14"),
    15: call("Proc15"),
}

BOOLEAN_REPLY = call("BooleanReply", ("result", NDRBOOLEAN))
LONG_REPLY = call("LongReply", ("result", LONG))
GUID_REPLY = call("GuidReply", ("guid", GUID), ("result", NDRBOOLEAN))
EMPTY_REPLY = call("EmptyReply")


def parse_plan(args):
    plan = {}
    for a in args:
        op, _, value = a.partition("=")
        op = int(op)
        if op == 8:
            text, _, flag = value.partition(",")
            plan[op] = (uuid.UUID(text), int(flag or "1"))
        else:
            plan[op] = int(value)
    return plan


def encode_reply(opnum, plan):
    if opnum in (6, 7):
        return EMPTY_REPLY().getData()
    if opnum in (14, 15):
        r = LONG_REPLY()
        r["result"] = plan.get(opnum, 1)
        return r.getData()
    if opnum == 8:
        g, flag = plan.get(8, (uuid.UUID(int=0), 1))
        r = GUID_REPLY()
        f = g.fields  # time_low, time_mid, time_hi_version, clock_seq_hi, clock_seq_low, node
        r["guid"]["Data1"] = f[0]
        r["guid"]["Data2"] = f[1]
        r["guid"]["Data3"] = f[2]
        r["guid"]["Data4"] = g.bytes[8:]
        r["result"] = flag
        return r.getData()
    r = BOOLEAN_REPLY()
    r["result"] = plan.get(opnum, 1)
    return r.getData()

# ---- reporting what was decoded -------------------------------------------------------


class DecodeError(Exception):
    pass


def text_of(units):
    """The code points of UTF-16 units; unpaired surrogates are an error."""
    raw = struct.pack("<%dH" % len(units), *units)
    try:
        text = raw.decode("utf-16-le", errors="strict")
    except UnicodeDecodeError as e:
        raise DecodeError("text is not UTF-16: %s" % e.reason)
    return ".".join("%x" % ord(c) for c in text)


def flatten(key, value, out):
    if isinstance(value, WideChars):
        raw = value["Data"]
        units = list(struct.unpack("<%dH" % (len(raw) // 2), raw))
        n = units.index(0) if 0 in units else len(units)
        out.append((key, text_of(units[:n])))
    elif isinstance(value, String256):
        units = list(value["Data"])
        if value["Offset"] != 0:
            raise DecodeError("%s: offset %d" % (key, value["Offset"]))
        if not 1 <= value["ActualCount"] <= value.capacity or len(units) != value["ActualCount"]:
            raise DecodeError("%s: count %d outside 1..%d" % (key, value["ActualCount"], value.capacity))
        if units[-1] != 0 or 0 in units[:-1]:
            raise DecodeError("%s: the terminator is not the last unit" % key)
        out.append((key, text_of(units[:-1])))
    elif isinstance(value, Bytes):
        out.append((key, value["Data"].hex()))
    elif isinstance(value, FixedArray):
        elements = [value.fields["e%d" % i] for i in range(value.count)]
        if issubclass(value.item, Bytes):
            out.append((key, "".join(e["Data"].hex() for e in elements)))
        elif issubclass(value.item, (NDRSTRUCT, NDRUNION)):
            for i, e in enumerate(elements):
                flatten("%s[%d]" % (key, i), e, out)
        else:
            out.append((key, ",".join(str(e["Data"]) for e in elements)))
    elif isinstance(value, NDRUNION):
        out.append((key + ".tag", str(value.fields["tag"]["Data"])))
        for name, _ in value.structure:
            flatten(key + "." + name, value.fields[name], out)
    elif isinstance(value, NDRSTRUCT):
        for name, _ in value.structure:
            flatten(key + "." + name if key else name, value.fields[name], out)
    elif isinstance(value, NDR):
        out.append((key, str(value["Data"])))
    else:
        raise DecodeError("%s: unexpected %r" % (key, type(value)))


def decode_request(opnum, stub):
    """The request's values as (key, value) pairs; DecodeError when it does not decode."""
    if opnum not in REQUESTS:
        raise DecodeError("no procedure %d" % opnum)
    request = REQUESTS[opnum]()
    try:
        used = request.fromString(stub)
    except Exception as e:  # impacket raises struct.error and others on short data
        raise DecodeError("impacket could not decode it: %s" % e)
    if used != len(stub):
        raise DecodeError("stub data of %d octets, the layout takes %d" % (len(stub), used))
    out = []
    for name, _ in request.structure:
        field = request.fields[name]
        if opnum == 2 and name == "data" and field["f25"].fields["tag"]["Data"] != 1:
            raise DecodeError("union discriminant %d" % field["f25"].fields["tag"]["Data"])
        flatten("" if name == "data" else name, field, out)
    return out

# ---- the connection loop ----------------------------------------------------------------

output_lock = threading.Lock()


def report(*words):
    with output_lock:
        sys.stdout.write(" ".join(words) + "\n")
        sys.stdout.flush()


def receive_pdu(sock):
    head = b""
    while len(head) < 16:
        chunk = sock.recv(16 - len(head))
        if not chunk:
            return None
        head += chunk
    frag_len = struct.unpack_from("<H", head, 8)[0]
    if head[0] != 5 or head[1] != 0 or head[4] & 0xF0 != 0x10 or frag_len < 16:
        raise ConnectionError("not a little-endian DCE/RPC 5.0 PDU")
    body = b""
    while len(head) + len(body) < frag_len:
        chunk = sock.recv(frag_len - len(head) - len(body))
        if not chunk:
            return None
        body += chunk
    return head + body


def bind_ack(packet, port):
    bind = rpcrt.MSRPCBind(packet["pduData"])
    ack = rpcrt.MSRPCBindAck()
    ack["type"] = rpcrt.MSRPC_BINDACK
    ack["flags"] = rpcrt.PFC_FIRST_FRAG | rpcrt.PFC_LAST_FRAG
    ack["call_id"] = packet["call_id"]
    ack["max_tfrag"] = bind["max_tfrag"]
    ack["max_rfrag"] = bind["max_rfrag"]
    ack["assoc_group"] = 0x5A5A
    ack["SecondaryAddr"] = str(port)
    ack["SecondaryAddrLen"] = len(ack["SecondaryAddr"]) + 1
    ack["Pad"] = b"\0" * ((4 - ((ack["SecondaryAddrLen"] + rpcrt.MSRPCBindAck._SIZE) % 4)) % 4)
    accepted = None
    results = b""
    items = bind["ctx_items"]
    for _ in range(bind["ctx_num"]):
        item = rpcrt.CtxItem(items)
        items = items[len(item):]
        result = rpcrt.CtxItemResult()
        if item["AbstractSyntax"] != INTERFACE:
            result["Result"], result["Reason"] = rpcrt.MSRPC_CONT_RESULT_PROV_REJECT, 1
        elif item["TransferSyntax"] != NDR20:
            result["Result"], result["Reason"] = rpcrt.MSRPC_CONT_RESULT_PROV_REJECT, 2
        else:
            result["Result"], result["Reason"] = rpcrt.MSRPC_CONT_RESULT_ACCEPT, 0
            if accepted is None:
                accepted = item["ContextID"]
        result["TransferSyntax"] = NDR20 if result["Result"] == 0 else b"\0" * 20
        results += result.getData()
    ack["ctx_num"] = bind["ctx_num"]
    ack["ctx_items"] = results
    ack["frag_len"] = len(ack.getData())
    return ack.getData(), accepted, bind["max_rfrag"]


def response(call_id, ctx_id, stub, max_frag):
    """The response PDUs for a reply's stub data, fragmented to the client's receive size."""
    pdus = []
    room = max(8, (max_frag - 24) // 8 * 8)
    pieces = [stub[i:i + room] for i in range(0, len(stub), room)] or [b""]
    for i, piece in enumerate(pieces):
        r = rpcrt.MSRPCRespHeader()
        r["type"] = rpcrt.MSRPC_RESPONSE
        r["flags"] = (rpcrt.PFC_FIRST_FRAG if i == 0 else 0) | (rpcrt.PFC_LAST_FRAG if i == len(pieces) - 1 else 0)
        r["call_id"] = call_id
        r["alloc_hint"] = len(stub) - i * room
        r["ctx_id"] = ctx_id
        r["pduData"] = piece
        r["frag_len"] = 24 + len(piece)
        pdus.append(r.get_packet())
    return b"".join(pdus)


def fault(call_id, ctx_id, status):
    r = rpcrt.MSRPCRespHeader()
    r["type"] = rpcrt.MSRPC_FAULT
    r["flags"] = rpcrt.PFC_FIRST_FRAG | rpcrt.PFC_LAST_FRAG
    r["call_id"] = call_id
    r["ctx_id"] = ctx_id
    r["pduData"] = struct.pack("<LL", status, 0)
    r["frag_len"] = 24 + 8
    return r.get_packet()


def serve(sock, port, plan):
    context = None
    max_frag = 4280
    stub, call_id, opnum = b"", None, None
    with sock:
        while True:
            data = receive_pdu(sock)
            if data is None:
                return
            header = rpcrt.MSRPCHeader(data)
            if header["type"] == rpcrt.MSRPC_BIND:
                ack, context, max_frag = bind_ack(header, port)
                sock.sendall(ack)
                continue
            if header["type"] != rpcrt.MSRPC_REQUEST or context is None:
                return
            request = rpcrt.MSRPCRequestHeader(data)
            if request["ctx_id"] != context:
                sock.sendall(fault(request["call_id"], request["ctx_id"], FAULT_UNKNOWN_INTERFACE))
                return
            if request["flags"] & rpcrt.PFC_FIRST_FRAG:
                stub, call_id, opnum = b"", request["call_id"], request["op_num"]
            elif request["call_id"] != call_id:
                sock.sendall(fault(request["call_id"], request["ctx_id"], FAULT_PROTOCOL))
                return
            stub += request["pduData"]
            if not request["flags"] & rpcrt.PFC_LAST_FRAG:
                continue
            words = ["call", "opnum=%d" % opnum, "len=%d" % len(stub)]
            if opnum not in REQUESTS:
                report(*words, "error=no_such_procedure")
                sock.sendall(fault(call_id, request["ctx_id"], FAULT_OP_RANGE))
                continue
            try:
                values = decode_request(opnum, stub)
            except DecodeError as e:
                report(*words, "error=" + str(e).replace(" ", "_"))
                sock.sendall(fault(call_id, request["ctx_id"], FAULT_BAD_STUB_DATA))
                continue
            report(*words, *("%s=%s" % kv for kv in values))
            sock.sendall(response(call_id, request["ctx_id"], encode_reply(opnum, plan), max_frag))


def main():
    plan = parse_plan(sys.argv[1:])
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    port = listener.getsockname()[1]

    def end_with_stdin():
        sys.stdin.buffer.read()
        os._exit(0)

    threading.Thread(target=end_with_stdin, daemon=True).start()
    report("port", str(port))
    while True:
        sock, _ = listener.accept()
        threading.Thread(target=serve, args=(sock, port, plan), daemon=True).start()


if __name__ == "__main__":
    main()
