; Velquor example: cleared pocket G87 - the whole area is milled level by level
; Tools: T1 6 mm end mill, T2 3 mm drill, T3 1 mm engraving cutter (set them in the tool
; table; on the command line: velquor-cnc check examples/cleared_pocket.cnc --radius 1=3 --radius 2=1.5 --radius 3=0.5)
; The current point is the centre of the pocket's lower left corner arc; the pocket
; reaches to the right and upwards (turned by Q about that point). L length, B width,
; R corner radius, U total depth, V depth per level, W allowance for the finishing ring.
; Each level is cleared with rings, then rectangles, then a centre line.
G21
G90
N10 T1 M06
N20 S12000 M03
N30 F400
N40 G00 Z5
N50 G00 X20 Y20 Z0
N60 G87 L60 B40 R10 Q0 U6 V2.5 W0.5
N70 G00 Z5
N80 G00 X110 Y20 Z0
N90 G87 L40 B30 R8 Q15 U3 V1.5 W0
N100 G00 Z5
N110 M05
N120 M30
