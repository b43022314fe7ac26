; Real arithmetic on the calculator's 12-digit format (exponent in nibbles 0-2, ten's
; complement; mantissa in 3-14, leading digit in 14; sign nibble 15, 0 or 9), computed in
; the processor's decimal mode. Working form: the mantissa on nibbles 3-14 of a register with
; nibbles 0-2 as guard digits, and the exponent plus 1000 as a 5-digit decimal number, so
; that exponent sums never wrap.

; From the real at D0: A = working mantissa, C(A) = exponent + 1000, C(S) = sign nibble.
unpk:   C=DAT0  W
        A=C     W
        A=0     X
        A=0     S
        D=0     A
        D=C     X
        LC(5)   #00500
        ?D>=C   A
        GOYES   up1
        LC(5)   #01000
        SETDEC
        C=C+D   A
        SETHEX
        RTN
up1:    C=D     A
        RTN

; Flips ST2 (the sign of the result).
flip2:  ?ST=1   2
        GOYES   fl1
        ST=1    2
        RTN
fl1:    ST=0    2
        RTN

; OPA - OPB: OPB changes sign, then as OPA + OPB.
realsub:
        D0=(5)  OPB
        C=DAT0  W
        ?C=0    S
        GOYES   rs1
        C=0     S
        GOTO    rs2
rs1:    P=      15
        LC(1)   9
        P=      0
rs2:    DAT0=C  W

; OPA + OPB into C. ST0 and ST1: the operands are negative.
realadd:
        ST=0    0
        ST=0    1
        D0=(5)  OPB
        GOSUB   unpk
        ?A#0    W
        GOYES   ra1
        D0=(5)  OPA
        C=DAT0  W
        RTNCC
ra1:    ?C=0    S
        GOYES   ra2
        ST=1    1
ra2:    B=A     W
        D0=(5)  EXPR
        DAT0=C  A
        D0=(5)  OPA
        GOSUB   unpk
        ?A#0    W
        GOYES   ra3
        D0=(5)  OPB
        C=DAT0  W
        RTNCC
ra3:    ?C=0    S
        GOYES   ra4
        ST=1    0
ra4:    D=C     A
        D0=(5)  EXPR
        C=DAT0  A
        ?D>=C   A
        GOYES   ra5
        ; the operand in B has the larger exponent: swap the operands and their signs
        ABEX    W
        CDEX    A
        ?ST=1   0
        GOYES   rsw1
        ?ST=0   1
        GOYES   ra5
        ST=1    0
        ST=0    1
        GOTO    ra5
rsw1:   ?ST=1   1
        GOYES   ra5
        ST=0    0
        ST=1    1
ra5:    ; D = the larger exponent (the result's), C = the smaller
        CDEX    A
        DAT0=C  A
        SETDEC
        C=C-D   A
        SETHEX
        CDEX    A
        LC(5)   #00015
        CDEX    A
        ?D>C    A
        GOYES   ra6
        B=0     W
        GOTO    ra8
ra6:    ?C=0    A
        GOYES   ra8
        BSR     W
        SETDEC
        C=C-1   A
        SETHEX
        GOTO    ra6
ra8:    ST=0    2
        ?ST=0   0
        GOYES   ra9
        ST=1    2
ra9:    SETDEC
        ?ST=0   0
        GOYES   ra10
        ?ST=1   1
        GOYES   raadd
        GOTO    rasub
ra10:   ?ST=0   1
        GOYES   raadd
rasub:  ?A>=B   W
        GOYES   ras1
        A=B-A   W
        GOSUB   flip2
        GOTO    ranorm
ras1:   A=A-B   W
        GOTO    ranorm
raadd:  A=A+B   W
ranorm: SETHEX
        GOTO    norm

; OPA * OPB into C: digit by digit from the multiplier's lowest, shifting the sum right.
realmul:
        ST=0    2
        D0=(5)  OPB
        GOSUB   unpk
        ?A#0    W
        GOYES   rm0
        GOTO    rmzero
rm0:    ?C=0    S
        GOYES   rm1
        ST=1    2
rm1:    B=A     W
        D0=(5)  EXPR
        DAT0=C  A
        D0=(5)  OPA
        GOSUB   unpk
        ?A#0    W
        GOYES   rm1a
        GOTO    rmzero
rm1a:   ?C=0    S
        GOYES   rm2
        GOSUB   flip2
rm2:    ; a leading digit on nibble 14 of the product means exponent ea + eb + 1
        D=C     A
        D0=(5)  EXPR
        C=DAT0  A
        SETDEC
        C=C+D   A
        D=C     A
        LC(5)   #00999
        D=D-C   A
        C=D     A
        DAT0=C  A
        C=0     W
        D=0     W
        D=D+CON A,16
        D=D+CON A,2
rmloop: P=      3
rmdig:  ?A=0    P
        GOYES   rmsh
        C=C+B   W
        A=A-1   P
        GOTO    rmdig
rmsh:   P=      0
        CSR     W
        ASR     W
        D=D-1   A
        ?D#0    A
        GOYES   rmloop
        A=C     W
        SETHEX
        GOTO    norm
rmzero: C=0     W
        RTNCC

; OPA / OPB into C: long division, 15 quotient digits (the last three are guard digits).
realdiv:
        ST=0    2
        D0=(5)  OPB
        GOSUB   unpk
        ?A#0    W
        GOYES   rd1
        LC(5)   msg_div0
        GOVLNG  seterr
rd1:    ?C=0    S
        GOYES   rd2
        ST=1    2
rd2:    B=A     W
        D0=(5)  EXPR
        DAT0=C  A
        D0=(5)  OPA
        GOSUB   unpk
        ?A#0    W
        GOYES   rd2a
        GOTO    rmzero
rd2a:   ?C=0    S
        GOYES   rd3
        GOSUB   flip2
rd3:    ; a quotient of 1 or more means exponent ea - eb
        D=C     A
        LC(5)   #01000
        SETDEC
        D=D+C   A
        D0=(5)  EXPR
        C=DAT0  A
        D=D-C   A
        C=D     A
        DAT0=C  A
        C=0     W
        D=0     W
        D=D+CON A,16
        D=D+CON A,5
rdloop: ?A<B    W
        GOYES   rdnext
        A=A-B   W
        C=C+1   P
        GOTO    rdloop
rdnext: D=D-1   A
        ?D=0    A
        GOYES   rddone
        CSL     W
        ASL     W
        GOTO    rdloop
rddone: A=C     W
        SETHEX
        GOTO    norm

; Packs the working mantissa A with the exponent EXPR and the sign ST2 into C, rounding
; half up on the first guard digit. Carry set (and a message) when the exponent is above
; 499; below -499 the result is zero.
norm:   SETHEX
        P=      0
        ?A#0    W
        GOYES   nm1
        C=0     W
        RTNCC
nm1:    D0=(5)  EXPR
        C=DAT0  A
        SETDEC
nm2:    ?A=0    S
        GOYES   nm3
        ASR     W
        C=C+1   A
        GOTO    nm2
nm3:    P=      14
        ?A#0    P
        GOYES   nm4
        P=      0
        ASL     W
        C=C-1   A
        GOTO    nm3
nm4:    P=      0
        B=0     W
        P=      2
        B=B+CON P,5
        P=      0
        A=A+B   W
        ?A=0    S
        GOYES   nm5
        ASR     W
        C=C+1   A
nm5:    SETHEX
        CDEX    A
        LC(5)   #50000
        ?D>=C   A
        GOYES   nmzero
        LC(5)   #00501
        ?D<C    A
        GOYES   nmzero
        LC(5)   #01500
        ?D>=C   A
        GOYES   nmover
        C=D     A
        A=0     X
        A=C     X
        ?ST=0   2
        GOYES   nm6
        P=      15
        LA(1)   9
        P=      0
nm6:    C=A     W
        RTNCC
nmzero: C=0     W
        RTNCC
nmover: LC(5)   msg_over
        GOVLNG  seterr
