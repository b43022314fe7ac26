; Text on the LCD: 3 x 5 glyphs in 4-pixel cells, so that one glyph row is one nibble of a
; display line (pixel x of a line is bit x mod 4 of nibble x / 4). 32 columns, rows 7 lines
; apart (ROW0..ROW7 are the glyph tops).

; Clears the main and menu areas.
clearscreen:
        D1=(5)  DISPLAY
        LC(5)   (MAINLINES*LINE+15)/16
        GOSBVL  clearmem
        D1=(5)  MENUAREA
        LC(5)   (8*LINE+15)/16
        GOVLNG  clearmem

; Draws the text at D0 (ASCII, ending with a 0 byte) from the display nibble at D1.
; Lower case shows as upper case; characters without a glyph show as '?'.
drawstr:
ds1:    A=0     W
        A=DAT0  B
        ?A#0    B
        GOYES   ds2
        RTN
ds2:    D0=D0+  2
        LC(2)   #60
        ?C>A    B
        GOYES   ds3
        A=A-CON B,16
        A=A-CON B,16
ds3:    LC(2)   #20
        ?C>A    B
        GOYES   dsq
        LC(2)   #60
        ?C>A    B
        GOYES   ds4
dsq:    LA(2)   '?'
ds4:    A=A-CON B,16
        A=A-CON B,16
        C=0     A
        C=A     B
        A=C     A
        C=C+C   A
        C=C+C   A
        C=C+A   A
        LA(5)   font
        C=C+A   A
        CD0EX
        A=DAT0  5
        D0=C
        CD1EX
        B=C     A
        D1=C
        DAT1=A  1
        ASRC
        D1=D1+  16
        D1=D1+  16
        D1=D1+  2
        DAT1=A  1
        ASRC
        D1=D1+  16
        D1=D1+  16
        D1=D1+  2
        DAT1=A  1
        ASRC
        D1=D1+  16
        D1=D1+  16
        D1=D1+  2
        DAT1=A  1
        ASRC
        D1=D1+  16
        D1=D1+  16
        D1=D1+  2
        DAT1=A  1
        C=B     A
        C=C+1   A
        D1=C
        GOTO    ds1

; Draws TEXTBUF so that it ends at the right edge of the row whose glyph top is C(A).
drawright:
        C=C+CON A,16
        C=C+CON A,16
        D0=(5)  TEXTBUF
dr1:    A=DAT0  B
        ?A=0    B
        GOYES   dr2
        D0=D0+  2
        C=C-1   A
        GOTO    dr1
dr2:    D1=C
        D0=(5)  TEXTBUF
        GOTO    drawstr
