#!/usr/bin/env python3
"""Checks that IL field listings in HTML (the files named) are well formed: one <PRE> block,
only the tags A, B and U, every tag closed in order, attributes quoted, no
bare "<" or "&" in the text, one anchor per entry name and every link naming
an anchor. Prints what is wrong and exits 1; prints nothing when it is fine."""
import re
import sys

TAG = re.compile(r'<(/?)([A-Za-z]+)((?:\s+[A-Z]+="[^"<>&]*")*)\s*>')
ENTITY = re.compile(r'&(lt|gt|amp);')


def check(text):
    faults = []
    if not text.startswith('<PRE>\n') or not text.endswith('</PRE>\n'):
        faults.append('listing is not one <PRE> block')
    stack, names, links = [], set(), []
    pos = 0
    while pos < len(text):
        c = text[pos]
        if c == '<':
            m = TAG.match(text, pos)
            if not m:
                faults.append('bare "<" at offset %d' % pos)
                pos += 1
                continue
            closing, tag, attrs = m.group(1), m.group(2), m.group(3)
            if tag not in ('PRE', 'A', 'B', 'U'):
                faults.append('unknown tag %s' % tag)
            if closing:
                if not stack or stack[-1] != tag:
                    faults.append('</%s> closes %s' % (tag, stack[-1] if stack else 'nothing'))
                else:
                    stack.pop()
            else:
                stack.append(tag)
                for key, value in re.findall(r'([A-Z]+)="([^"]*)"', attrs):
                    if key == 'NAME':
                        if value in names:
                            faults.append('anchor %s twice' % value)
                        names.add(value)
                    elif key == 'HREF':
                        links.append(value)
                    else:
                        faults.append('unknown attribute %s' % key)
            pos = m.end()
        elif c == '&':
            m = ENTITY.match(text, pos)
            if not m:
                faults.append('bare "&" at offset %d' % pos)
                pos += 1
            else:
                pos = m.end()
        elif c == '>':
            faults.append('bare ">" at offset %d' % pos)
            pos += 1
        else:
            pos += 1
    if stack:
        faults.append('tags left open: %s' % ' '.join(stack))
    for link in links:
        if not link.startswith('#') or link[1:] not in names:
            faults.append('link %s names no anchor' % link)
    return faults


def main():
    failed = False
    for name in sys.argv[1:]:
        with open(name, encoding='latin-1') as f:
            faults = check(f.read())
        for fault in faults[:5]:
            print('%s: %s' % (name, fault))
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
