#!/usr/bin/env python3
"""Writes IL files at the limits of the reader: an expression nested as deep
as the walker goes, names of 100000 characters, and constants of every kind
with every kind of character in their values."""
import sys

HEADER = b'VAROK IL file (v2.30F)\f\f\n'
LETTERS = 'hfcptlxoisuabdkmqrnjez'


class IlFile:
    def __init__(self):
        self.records = []
        self.counts = {k: 0 for k in LETTERS}
        self.strings = 0
        self.values = 0

    def add(self, kind, fields):
        index = self.counts[kind]
        self.counts[kind] += 1
        self.records.append((kind, index, fields))
        return '%s%d' % (kind, index)

    def text(self, data):
        if data:
            self.strings += len(data) + 1
        return b'%dh' % len(data) + data

    def value(self, data):
        self.values += len(data)
        return b'%dx' % len(data) + data.hex().upper().encode()

    def write(self, name):
        counts = '0,' + ','.join('%s%d' % (k, self.counts[k]) for k in LETTERS[:12])
        counts += ',b0,' + ','.join('%s%d' % (k, self.counts[k]) for k in LETTERS[13:])
        counts += ',w%d,v%d' % (self.strings, self.values)
        with open(name, 'wb') as f:
            f.write(HEADER + counts.encode() + b'\n')
            for kind, index, fields in self.records:
                parts = [p if isinstance(p, bytes) else str(p).encode() for p in fields]
                f.write(b'%s%d=' % (kind.encode(), index) + b','.join(parts) + b'\n')
            f.write(b'0\n')


def program(il, objects='0', constants='0', block='0', name=b'P'):
    """Header, file scope and a main program whose scope holds the lists."""
    a = il.add('a', [il.text(name)])
    il.add('h', ['0', 'u0', 'o0', il.text(b'2.4.1'), il.text(b''), 'N', 1])
    il.add('u', ['0'] * 6 + ['o0'] + ['0'] * 4)
    il.add('o', [a, '1:9', 'YN', 0, '0', '0', 8, 'N' * 15, 0, 'u1', '0'])
    il.add('u', ['o0', '0', '0', block, constants, '0', objects, '0', '0', '0', '0'])


def int_type(il):
    return il.add('t', ['0', '0:0', 'YN', -1, '0', 4, 4, 'YNNN', 1, 1])


def deep(name, depth):
    """I = -(-(-(... I))) nested depth levels."""
    il = IlFile()
    program(il, objects='o1', block='s0')
    t = int_type(il)
    a = il.add('a', [il.text(b'I')])
    il.add('o', [a, '2:9', 'YN', 1, '0', t, 0, 'N' * 15, 0, '0', 'o0'])
    il.add('s', ['3:1', '0', 0, 'x0'])
    il.add('x', ['3:1', t, '0', 'N' * 12, 1, '0', 23, 'x1'])
    il.add('x', ['3:1', t, 'x2', 'N' * 12, 6, '0', 'o1'])
    for level in range(depth):
        il.add('x', ['3:2', t, '0', 'N' * 12, 1, '0', 1, 'x%d' % (3 + level)])
    il.add('x', ['3:3', t, '0', 'N' * 12, 6, '0', 'o1'])
    il.write(name)


def long_names(name, length):
    """A program, a variable and a COMMON block with names of that length."""
    il = IlFile()
    program(il, objects='o1', block='s0', name=b'P' * length)
    t = int_type(il)
    a = il.add('a', [il.text(b'V' * length)])
    ac = il.add('a', [il.text(b'C' * length)])
    tc = il.add('t', ['0', '0:0', 'YN', -1, '0', 8, 4, 'NNNN', 10])
    il.add('o', [a, '2:9', 'YN', 1, '0', t, 2, 'N' * 15, 4, 'o2'])
    il.add('o', [ac, '3:9', 'YN', 1, '0', tc, 1, 'N' * 15, 0, '0', 'o0'])
    il.add('s', ['4:1', '0', 0, 'x0'])
    il.add('x', ['4:1', t, '0', 'N' * 12, 6, '0', 'o1'])
    il.write(name)


def constants(name):
    """One constant of every kind and every type, chained on the scope."""
    il = IlFile()
    program(il, constants='c0', objects='o1', block='s0')
    ti = int_type(il)
    tl = il.add('t', ['0', '0:0', 'YN', -1, '0', 4, 4, 'NNNN', 2, 1])
    tr = il.add('t', ['0', '0:0', 'YN', -1, '0', 4, 4, 'YNNN', 3, 0])
    td = il.add('t', ['0', '0:0', 'YN', -1, '0', 8, 8, 'YNNN', 3, 1])
    tx = il.add('t', ['0', '0:0', 'YN', -1, '0', 16, 8, 'YNNN', 7, 1])
    chars = b'a<b>&"\\*/\t\x00\xff'
    tch = il.add('t', ['0', '0:0', 'YN', -1, '0', len(chars), 1, 'NYNN', 5, 0, 1, len(chars)])
    tarr = il.add('t', ['0', '0:0', 'YN', -1, '0', 8, 4, 'NNNN', 6, ti, 1, 0, '0'])
    tany = il.add('t', ['0', '0:0', 'YN', -1, '0', 4, 4, 'YNNN', 1, -1])
    values = [
        (ti, (-7 & 0xFFFFFFFF).to_bytes(4, 'little')),
        (tl, (1).to_bytes(4, 'little')),
        (tr, bytes.fromhex('00000040')),            # 2.0
        (td, bytes.fromhex('000000000000E03F')),    # 0.5
        (tx, bytes.fromhex('000000000000F03F' '000000000000F0BF')),  # (1,-1)
        (tch, chars),
        (tany, (2147483647).to_bytes(4, 'little')),
        (tr, bytes.fromhex('0000807F')),            # infinity
    ]
    count = len(values) + 7
    refs = ['c%d' % i for i in range(1, count)] + ['0']
    for i, (t, data) in enumerate(values):
        il.add('c', ['5:%d' % (i + 1), refs[i], t, 1, il.value(data)])
    i = len(values)
    il.add('c', ['6:1', refs[i], ti, 0])                       # ck_error
    il.add('c', ['6:2', refs[i + 1], ti, 2, 'x1', il.value(b'\x03\x00\x00\x00')])
    il.add('c', ['6:3', refs[i + 2], tarr, 3, 'c0', 'c1'])     # aggregate of c0, c1
    il.add('c', ['6:4', refs[i + 3], ti, 4, -4, 8])            # init position
    il.add('c', ['6:5', refs[i + 4], ti, 5, 1, -2, 3])         # init index
    il.add('c', ['6:6', refs[i + 5], ti, 6, 3, 'c0'])          # init repeat
    il.add('c', ['6:7', '0', '0', 1, il.value(b'')])           # no type
    a = il.add('a', [il.text(b'I')])
    il.add('o', [a, '2:9', 'YN', 1, '0', ti, 0, 'N' * 15, 0, 'c9', 'o0'])
    il.add('s', ['3:1', '0', 0, 'x0'])
    il.add('x', ['3:1', ti, '0', 'N' * 12, 6, '0', 'o1'])
    il.add('x', ['3:3', ti, '0', 'N' * 12, 4, '0', 'c0'])
    il.write(name)


if __name__ == '__main__':
    deep('deep.cil', int(sys.argv[1]) if len(sys.argv) > 1 else 4900)
    long_names('long_names.cil', 100000)
    constants('constants.cil')
