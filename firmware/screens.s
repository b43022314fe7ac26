; The screens. Row 0: the screen's name and the clock; row 1: a message; rows 2-6: stack
; levels 5 to 1 (or the statistics cells); row 7: the entry line; the menu line names the six
; soft keys below the display.

redraw: GOSBVL  clearscreen
        D0=(5)  SCREEN
        C=0     W
        C=DAT0  1
        D0=(5)  txt_rpn
        ?C=0    P
        GOYES   rw1
        D0=(5)  txt_stat
rw1:    D1=(5)  ROW0
        GOSBVL  drawstr
        GOSBVL  clocktext
        LC(5)   ROW0
        GOSBVL  drawright
        D0=(5)  MSGPTR
        C=DAT0  A
        ?C=0    A
        GOYES   rw2
        D0=C
        D1=(5)  ROW1
        GOSBVL  drawstr
rw2:    D0=(5)  SCREEN
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   rw3
        GOSBVL  drawstat
        D0=(5)  txt_smenu
        GOTO    rw4
rw3:    GOSUB   drawstack
        D0=(5)  txt_menu
rw4:    D1=(5)  MENUROW
        GOSBVL  drawstr
        GOTO    drawentry

; C(A) = the glyph top of the row that shows level LEVEL (1-5).
lvlrow: D0=(5)  LEVEL
        A=0     W
        A=DAT0  1
        A=A-1   A
        C=A     A
        C=C+C   A
        C=C+C   A
        C=C+A   A
        LA(5)   rowtab
        C=C+A   A
        D0=C
        C=DAT0  A
        RTN
rowtab: CON(5)  ROW6,ROW5,ROW4,ROW3,ROW2

; Levels 5 to 1: "k:" on the left, the object on the right.
drawstack:
        LC(1)   5
        D0=(5)  LEVEL
        DAT0=C  1
dk_1:   GOSUB   lvlrow
        D1=C
        D0=(5)  LEVEL
        A=0     W
        A=DAT0  1
        LC(6)   #003A30             ; "0:" and the closing 0 byte; the digit goes in below
        C=C+A   P
        D0=(5)  TEXTBUF
        DAT0=C  6
        GOSBVL  drawstr
        D0=(5)  LEVEL
        A=0     W
        A=DAT0  1
        A=A-1   A
        C=A     A
        C=C+C   A
        C=C+C   A
        C=C+A   A
        D0=(5)  STKPTR
        A=DAT0  A
        A=A+C   A
        LC(5)   STKBOT
        ?C<=A   A
        GOYES   dk_2
        D0=A
        C=DAT0  A
        D1=(5)  TEXTBUF
        GOSUB   objtext
        GOSUB   lvlrow
        GOSBVL  drawright
dk_2:   D0=(5)  LEVEL
        C=0     W
        C=DAT0  1
        C=C-1   P
        DAT0=C  1
        ?C=0    P
        RTNYES
        GOTO    dk_1

; Text of the object at C(A) at D1: a real, a string in quotes (26 characters at most), or
; the word "Object".
objtext:
        D0=C
        A=DAT0  A
        LC(5)   PROLOG_REAL
        ?A#C    A
        GOYES   ot1
        D0=D0+  5
        C=DAT0  W
        GOVLNG  fmtreal
ot1:    LC(5)   PROLOG_STR
        ?A#C    A
        GOYES   ot4
        D0=D0+  5
        A=0     W
        A=DAT0  A
        A=A-CON A,5
        ASRB.F  A
        LC(5)   26
        ?C>=A   A
        GOYES   ot2
        A=C     A
ot2:    D0=D0+  5
        LC(2)   '"'
        DAT1=C  B
        D1=D1+  2
ot3:    ?A=0    A
        GOYES   ot3a
        C=DAT0  B
        DAT1=C  B
        D0=D0+  2
        D1=D1+  2
        A=A-1   A
        GOTO    ot3
ot3a:   LC(2)   '"'
        DAT1=C  B
        D1=D1+  2
        C=0     A
        DAT1=C  B
        RTN
ot4:    D0=(5)  txt_obj
ot5:    C=DAT0  B
        DAT1=C  B
        ?C=0    B
        RTNYES
        D0=D0+  2
        D1=D1+  2
        GOTO    ot5

; The entry line: its sign, the characters typed and a cursor.
drawentry:
        D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   de1
        RTN
de1:    A=C     A
        D1=(5)  TEXTBUF
        D0=(5)  ENTNEG
        C=DAT0  1
        ?C=0    P
        GOYES   de2
        LC(2)   '-'
        DAT1=C  B
        D1=D1+  2
de2:    D0=(5)  ENTBUF
de3:    C=DAT0  B
        DAT1=C  B
        D0=D0+  2
        D1=D1+  2
        A=A-1   B
        ?A#0    B
        GOYES   de3
        LC(4)   #005F
        DAT1=C  4
        D0=(5)  TEXTBUF
        D1=(5)  ROW7
        GOVLNG  drawstr
