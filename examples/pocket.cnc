; Velquor example: rounded pockets G86 (rectangle) and G88 (sides narrowing by 10 degrees)
; Tools: T1 6 mm end mill, T2 3 mm drill, T3 1 mm engraving cutter (set them in the tool
; table; on the command line: velquor-cnc check examples/pocket.cnc --radius 1=3 --radius 2=1.5 --radius 3=0.5)
; Both pockets are centred on the current point: L length, B width, R corner radius,
; Q rotation in degrees, U total depth, V depth per step, W finishing allowance.
; The contour shows the outline at full depth, the path every step and the finishing pass.
G21
G90
N10 T1 M06
N20 S12000 M03
N30 F400
N40 G00 Z5
N50 G00 X40 Y30 Z0
N60 G86 L50 B30 R8 Q0 U6 V2 W0.5
N70 G00 Z5
N80 G00 X110 Y35 Z0
N90 G88 L50 B30 R8 Q30 U4 V1.5 W0.5
N100 G00 Z5
N110 M05
N120 M30
