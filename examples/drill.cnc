; Velquor example: drilling cycle G81 / G79 - six holes on a bolt circle
; Tools: T1 6 mm end mill, T2 3 mm drill, T3 1 mm engraving cutter (set them in the tool
; table; on the command line: velquor-cnc check examples/drill.cnc --radius 1=3 --radius 2=1.5 --radius 3=0.5)
; G81 defines the cycle: Z = depth below each hole's start height, H = number of pecks,
; B = retract height above the final depth, F = drilling feed. The line must begin with
; G81, otherwise its F word sets the program feed instead.
; Every G79 then drills one hole at the current point with that definition; the contour
; shows each hole as a circle of the drill's diameter.
G21
G90
N10 T2 M06
N20 S8000 M03
N30 F600
N40 G00 Z5
G81 Z6 H3 B8 F150
N60 X70 Y40 Z0 G79
N70 X55 Y65.98 Z0 G79
N80 X25 Y65.98 Z0 G79
N90 X10 Y40 Z0 G79
N100 X25 Y14.02 Z0 G79
N110 X55 Y14.02 Z0 G79
; a deeper centre hole in one go
G81 Z12 H1 B14 F100
N120 X40 Y40 Z0 G79
N130 G00 Z20
N140 M05
N150 M30
