; Reals as text: plain digits for exponents 0 to 11 ("46", "-12.5"), "0.000ddd" for -1 to -5,
; else one digit, the others after a point and "E" with the exponent ("1.5E-7"); trailing
; zeros are never shown.

; Writes the real in C at D1 (ASCII) followed by a 0 byte; D1 ends on the 0 byte.
; Uses A, B, C, D and D0.
fmtreal:
        ?C=0    S
        GOYES   fr1
        LA(2)   '-'
        DAT1=A  B
        D1=D1+  2
fr1:    ?C#0    M
        GOYES   fr2
        LA(2)   '0'
        DAT1=A  B
        D1=D1+  2
        GOTO    frend
fr2:    D0=(5)  FMTM
        DAT0=C  W
        ; D = significant digits (1-12)
        A=C     W
        D=0     W
        D=D+CON A,12
        P=      3
fr3:    ?A#0    P
        GOYES   fr4
        ASR     M
        D=D-1   A
        GOTO    fr3
fr4:    P=      0
        D0=(5)  FMTM+14
        B=0     W
        B=C     X
        A=0     W
        LA(3)   #012
        ?A>B    X
        GOYES   frfix0
        LA(3)   #995
        ?A<=B   X
        GOYES   frsmal0
        GOTO    frsci
frfix0: GOTO    frfix
frsmal0:
        GOTO    frsmall
frsci:  ; scientific
        GOSUB   frdig
        GOSUB   frfrac
        LA(2)   'E'
        DAT1=A  B
        D1=D1+  2
        LA(3)   #500
        ?A>B    X
        GOYES   frex1
        LA(2)   '-'
        DAT1=A  B
        D1=D1+  2
        SETDEC
        B=-B    X
        SETHEX
frex1:  D0=(5)  FMTE
        C=B     X
        DAT0=C  X
        D0=(5)  FMTE+2
        D=0     W
        D=D+CON A,3
frex2:  A=0     W
        A=DAT0  1
        ?A#0    P
        GOYES   frex3
        C=D     A
        C=C-1   A
        ?C=0    A
        GOYES   frex3
        D0=D0-  1
        D=D-1   A
        GOTO    frex2
frex3:  GOSUB   frdig
        ?D#0    A
        GOYES   frex3
        GOTO    frend
frfix:  GOSUB   frdig
        ?B=0    X
        GOYES   frfx2
        SETDEC
        B=B-1   X
        SETHEX
        GOTO    frfix
frfx2:  GOSUB   frfrac
        GOTO    frend
frsmall:
        LA(2)   '0'
        DAT1=A  B
        D1=D1+  2
        LA(2)   '.'
        DAT1=A  B
        D1=D1+  2
frsm1:  LA(3)   #999
        ?A=B    X
        GOYES   frsm2
        LA(2)   '0'
        DAT1=A  B
        D1=D1+  2
        SETDEC
        B=B+1   X
        SETHEX
        GOTO    frsm1
frsm2:  GOSUB   frdig
        ?D#0    A
        GOYES   frsm2
frend:  A=0     W
        DAT1=A  B
        RTN

; The digits left (D of them, when positive) after a point.
frfrac: ?D=0    A
        RTNYES
        C=D     A
        ?CBIT=1 15
        RTNYES
        LA(2)   '.'
        DAT1=A  B
        D1=D1+  2
frfr1:  GOSUB   frdig
        ?D#0    A
        GOYES   frfr1
        RTN

; Writes the digit at D0 and steps to the next one (D0 down, D one less).
frdig:  LA(2)   #30
        A=DAT0  1
        DAT1=A  B
        D1=D1+  2
        D0=D0-  1
        D=D-1   A
        RTN
