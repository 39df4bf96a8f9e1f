#!/usr/bin/python3
"""Reads a DXF file the export wrote with ezdxf (cp932) and prints what another
program sees: the audit's error count, every layer with its flags, and one
line per entity (type, layer, colour, line type, rounded geometry or text).
Used by dxf_writer_test.cpp."""
import sys
import ezdxf

doc = ezdxf.readfile(sys.argv[1], encoding="cp932")
auditor = doc.audit()
print("errors %d" % len(auditor.errors))
for layer in doc.layers:
    if layer.dxf.name in ("0", "Defpoints"):  # ezdxf adds these itself
        continue
    print("layer %s flags %d frozen %d locked %d on %d" % (
        layer.dxf.name, layer.dxf.flags, layer.is_frozen(), layer.is_locked(), layer.is_on()))
for e in doc.modelspace():
    t = e.dxftype()
    head = "%s %s %d %s" % (t, e.dxf.layer, e.dxf.color, e.dxf.linetype)
    if t == "LINE":
        print(head, "%.4f %.4f %.4f %.4f" % (e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y))
    elif t == "ARC":
        c = e.dxf.center
        print(head, "%.4f %.4f %.4f %.4f %.4f" % (c.x, c.y, e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle))
    elif t == "CIRCLE":
        c = e.dxf.center
        print(head, "%.4f %.4f %.4f" % (c.x, c.y, e.dxf.radius))
    elif t == "TEXT":
        p = e.dxf.insert
        print(head, "%.4f %.4f %.4f %.4f" % (p.x, p.y, e.dxf.height, e.dxf.rotation), e.dxf.text)
