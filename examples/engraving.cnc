; Engraving: one line in each of the ten built-in vector fonts
N10 G21 G90
N20 T1 M06
N30 S15000 M03
N40 G00 X0 Y0 Z5
N50 G68 C0 D0                  ; left aligned, standing on the baseline
N60 G67 A1 O0 H6               ; TRIP
N70 G00 X10 Y120 Z0
N80 G66 @"TRIP Velquor 2026" E0.3 R2
N90 G67 A2 H6                  ; LITT
N100 G00 X10 Y108 Z0
N110 G66 @"LITT Velquor 2026"
N120 G67 A3 H6                 ; SANS
N130 G00 X10 Y96 Z0
N140 G66 @"SANS Velquor 2026"
N150 G67 A4 H6                 ; GOTH
N160 G00 X10 Y84 Z0
N170 G66 @"GOTH Velquor 2026"
N180 G67 A5 H6                 ; EURO
N190 G00 X10 Y72 Z0
N200 G66 @"EURO Velquor 2026"
N210 G67 A6 H6                 ; BOLD
N220 G00 X10 Y60 Z0
N230 G66 @"BOLD Velquor 2026"
N240 G67 A7 H6                 ; LCOM
N250 G00 X10 Y48 Z0
N260 G66 @"LCOM Velquor 2026"
N270 G67 A8 H6                 ; SCRI
N280 G00 X10 Y36 Z0
N290 G66 @"SCRI Velquor 2026"
N300 G67 A9 H6                 ; SIMP
N310 G00 X10 Y24 Z0
N320 G66 @"SIMP Velquor 2026"
N330 G67 A10 H6                ; TSCR
N340 G00 X10 Y12 Z0
N350 G66 @"TSCR Velquor 2026"
N360 G67 A9 O1 H4              ; upright, centred on the point
N370 G68 C1 D1
N380 G00 X0 Y70 Z0
N390 G66 @"G66 O1"
N400 G00 Z5
N410 M05
N420 M30
