; The statistics screen and folio. Numbers entered on the STAT screen fill cells in the order
; X1, Y1, X2, Y2, ...; after every change the folio is rebuilt at FOLIO in the layout the
; exporter reads: a directory of 63 variables (named by one character, '0' + their index)
; whose first variable holds the list { XLIB 130F1 } that marks a statistics folio, and whose
; variables 56 and 55 (in memory order) hold the X and Y columns as arrays of reals. The
; others hold binary integers 0.

; ENTER on the STAT screen: the entry becomes the next cell.
statenter:
        D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   se1
        RTN
se1:    D0=(5)  STATN
        C=DAT0  B
        A=0     W
        LA(2)   STATMAX
        ?C<A    B
        GOYES   se2
        LC(5)   msg_full
        GOVLNG  seterr
se2:    GOSBVL  parse
        RTNC
        D0=(5)  RESULT
        DAT0=C  W
        GOSBVL  clearentry
        D0=(5)  STATN
        A=0     W
        A=DAT0  B
        C=A     A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        LA(5)   STATTAB
        C=C+A   A
        D1=C
        D0=(5)  RESULT
        C=DAT0  W
        DAT1=C  W
        D0=(5)  STATN
        C=0     W
        C=DAT0  B
        C=C+1   B
        DAT0=C  B
        D0=(5)  STATNBCD
        C=DAT0  X
        SETDEC
        C=C+1   X
        SETHEX
        DAT0=C  X
        GOTO    folio

statclear:
        GOSBVL  clearentry
        C=0     W
        D0=(5)  STATN
        DAT0=C  B
        D0=(5)  STATNBCD
        DAT0=C  X
        GOTO    folio

; Rebuilds the folio and stores its address at FOLIOPTR.
folio:  D1=(5)  FOLIO
        LC(5)   PROLOG_DIR
        DAT1=C  A
        D1=D1+  5
        C=0     W
        DAT1=C  X
        D1=D1+  8
        D0=(5)  FOLIOI
        DAT0=C  B
fo1:    ; link: the distance back to the previous variable's name field (0 for the first)
        A=0     W
        D0=(5)  FOLIOI
        C=0     W
        C=DAT0  B
        ?C=0    B
        GOYES   fo2
        CD1EX
        D1=C
        A=C     A
        D0=(5)  FOLIOPRV
        C=DAT0  A
        A=A-C   A
fo2:    DAT1=A  A
        D1=D1+  5
        CD1EX
        D1=C
        D0=(5)  FOLIOPRV
        DAT0=C  A
        ; the name: one character
        D0=(5)  FOLIOI
        A=0     W
        A=DAT0  B
        LC(2)   '0'
        A=A+C   B
        LC(2)   1
        DAT1=C  B
        D1=D1+  2
        DAT1=A  B
        D1=D1+  2
        DAT1=C  B
        D1=D1+  2
        ; the value
        D0=(5)  FOLIOI
        A=0     W
        A=DAT0  B
        ?A#0    B
        GOYES   fo3
        GOSUB   fotag
        GOTO    fonext
fo3:    LC(2)   56
        ?A#C    B
        GOYES   fo4
        C=0     A
        GOSUB   focol
        GOTO    fonext
fo4:    LC(2)   55
        ?A#C    B
        GOYES   fo5
        C=0     A
        C=C+1   A
        GOSUB   focol
        GOTO    fonext
fo5:    LC(5)   PROLOG_BINT
        DAT1=C  A
        D1=D1+  5
        C=0     A
        DAT1=C  A
        D1=D1+  5
fonext: D0=(5)  FOLIOI
        C=0     W
        C=DAT0  B
        C=C+1   B
        DAT0=C  B
        A=0     W
        LA(2)   63
        ?A=C    B
        GOYES   fo6
        GOTO    fo1
fo6:    ; the directory's offset field points at the last variable's name field
        D0=(5)  FOLIOPRV
        C=DAT0  A
        LA(5)   FOLIO+8
        C=C-A   A
        D1=(5)  FOLIO+8
        DAT1=C  A
        LC(5)   FOLIO
        D0=(5)  FOLIOPTR
        DAT0=C  A
        RTNCC

; { XLIB 130F1 }: the tag of a statistics folio.
fotag:  LC(5)   PROLOG_LIST
        DAT1=C  A
        D1=D1+  5
        LC(5)   PROLOG_XLIB
        DAT1=C  A
        D1=D1+  5
        LC(6)   #0130F1
        DAT1=C  6
        D1=D1+  6
        LC(5)   SEMI
        DAT1=C  A
        D1=D1+  5
        RTN

; Column C(A) (0 = X, 1 = Y) as a one-dimensional array of reals.
focol:  B=C     A
        D0=(5)  STATN
        A=0     W
        A=DAT0  B
        A=A+1   A
        A=A-B   A
        ASRB.F  A
        LC(5)   PROLOG_ARRY
        DAT1=C  A
        D1=D1+  5
        C=A     A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        C=C+CON A,16
        C=C+CON A,4
        DAT1=C  A
        D1=D1+  5
        LC(5)   PROLOG_REAL
        DAT1=C  A
        D1=D1+  5
        LC(5)   1
        DAT1=C  A
        D1=D1+  5
        DAT1=A  A
        D1=D1+  5
        C=B     A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        B=C     A
        LC(5)   STATTAB
        C=C+B   A
        D0=C
fc1:    ?A=0    A
        RTNYES
        C=DAT0  W
        DAT1=C  W
        D1=D1+  16
        D0=D0+  16
        D0=D0+  16
        A=A-1   A
        GOTO    fc1

; The STAT screen: the cell count on row 2 and the last four cells on rows 3-6.
drawstat:
        D1=(5)  TEXTBUF
        LC(4)   #3D4E               ; "N="
        DAT1=C  4
        D1=D1+  4
        D0=(5)  STATNBCD+2
        LC(2)   #30
        C=DAT0  1
        DAT1=C  B
        D1=D1+  2
        D0=D0-  1
        C=DAT0  1
        DAT1=C  B
        D1=D1+  2
        D0=D0-  1
        C=DAT0  1
        DAT1=C  B
        D1=D1+  2
        C=0     A
        DAT1=C  B
        D0=(5)  TEXTBUF
        D1=(5)  ROW2
        GOSBVL  drawstr
        LC(1)   4
        D0=(5)  LEVEL
        DAT0=C  1
dt1:    D0=(5)  LEVEL
        A=0     W
        A=DAT0  1
        D0=(5)  STATN
        C=0     W
        C=DAT0  B
        ?C>=A   B
        GOYES   dt1a
        GOTO    dtnext
dt1a:
        C=C-A   B
        D0=(5)  STATROW
        DAT0=C  B
        LA(2)   'X'
        ?CBIT=0 0
        GOYES   dt2
        LA(2)   'Y'
dt2:    C=0     W
        LC(4)   #003A               ; ":" and the closing 0 byte, after the column letter
        CSL     W
        CSL     W
        C=A     B
        D0=(5)  TEXTBUF
        DAT0=C  6
        GOSBVL  lvlrow
        D1=C
        D0=(5)  TEXTBUF
        GOSBVL  drawstr
        D0=(5)  STATROW
        A=0     W
        A=DAT0  B
        C=A     A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        C=C+C   A
        LA(5)   STATTAB
        C=C+A   A
        D0=C
        C=DAT0  W
        D1=(5)  TEXTBUF
        GOSBVL  fmtreal
        GOSBVL  lvlrow
        GOSBVL  drawright
dtnext: D0=(5)  LEVEL
        C=0     W
        C=DAT0  1
        C=C-1   P
        DAT0=C  1
        ?C=0    P
        RTNYES
        GOTO    dt1
