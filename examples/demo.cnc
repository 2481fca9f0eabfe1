; Velquor demo part: mounting plate 120 x 80 mm in 6 mm aluminium
; T1: 6 mm end mill (outline, pocket)   T2: 3 mm drill (holes)   T3: 1 mm engraver (label)
; Tool table for these: examples/tools.INI
; Work zero: lower left corner of the finished plate, top surface
G21
G90
N10 T1 M06
N20 S12000 M03
N30 F600
N40 G00 Z5
; --- outline, climb milled outside the contour (clockwise under G41)
N50 G00 X-15 Y-15
N60 G01 Z-6.5
N70 G41
N80 G01 X0 Y10
N90 G01 X0 Y70
N100 G02 X10 Y80 I10 J0
N110 G01 X110 Y80
N120 G02 X120 Y70 I0 J-10
N130 G01 X120 Y10
N140 G02 X110 Y0 I-10 J0
N150 G01 X10 Y0
N160 G02 X0 Y10 I0 J10
N170 G40
N180 G01 X-15 Y-15
N190 G00 Z5
; --- pocket 50 x 24, corner radius 11, 4 mm deep in 1.5 mm steps, 0.5 mm allowance
N200 G00 X60 Y35
N210 G00 Z0
N220 G86 L50 B24 R11 Q0 U4 V1.5 W0.5
N230 G00 Z5
; --- label, 5 mm high, 0.3 mm deep, centred above the pocket
N235 T3 M06
N236 S18000 M03
N240 G00 X60 Y58 Z0
N245 G68 C1 D0
N250 G67 A3 O0 H5
N260 @"VELQUOR 2026" E0.3 R1 G66
N270 G00 Z5
; --- four mounting holes, 3 mm drill, 6.5 mm deep in 3 pecks
N280 T2 M06
N290 S8000 M03
G81 N300 Z6.5 H3 B8.5 F150
N310 X10 Y10 Z0 G79
N320 X110 Y10 Z0 G79
N330 X110 Y70 Z0 G79
N340 X10 Y70 Z0 G79
N350 G00 Z20
N360 M05
N370 G74
N380 M30
