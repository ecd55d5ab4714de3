# Reads a DXF file with ezdxf and prints each polyline: its vertices as "x y bulge".
import sys
import ezdxf

doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace():
    print("ENTITY", e.dxftype(), e.dxf.layer)
    if e.dxftype() == "POLYLINE":
        for v in e.vertices:
            print("V %.12g %.12g %.12g" % (v.dxf.location.x, v.dxf.location.y, v.dxf.bulge))
