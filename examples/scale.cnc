; Velquor example: radial scale G89 - a half-dial graduation
; Tools: T1 6 mm end mill, T2 3 mm drill, T3 1 mm engraving cutter (set them in the tool
; table; on the command line: velquor-cnc check examples/scale.cnc --radius 1=3 --radius 2=1.5 --radius 3=0.5)
; C main strokes from angle Q to angle W, D subdivisions between two main strokes.
; Main strokes run from radius R to R + L at depth U below the current height,
; subdivision strokes from radius B to B + V at depth E.
G21
G90
N10 T3 M06
N20 S20000 M03
N30 F300
N40 G00 Z2
N50 G00 X60 Y20 Z0.5
N60 G89 C11 D5 Q180 W0 R30 L8 U0.8 B30 V4 E0.65
N70 G00 Z5
N80 M05
N90 M30
