; The entry line: characters typed so far (digits, '.', 'E' and a '-' right after 'E'), with
; the mantissa's sign kept apart in ENTNEG so that it can be flipped at any time.

k_0:    LA(2)   '0'
        GOTO    k_digit
k_1:    LA(2)   '1'
        GOTO    k_digit
k_2:    LA(2)   '2'
        GOTO    k_digit
k_3:    LA(2)   '3'
        GOTO    k_digit
k_4:    LA(2)   '4'
        GOTO    k_digit
k_5:    LA(2)   '5'
        GOTO    k_digit
k_6:    LA(2)   '6'
        GOTO    k_digit
k_7:    LA(2)   '7'
        GOTO    k_digit
k_8:    LA(2)   '8'
        GOTO    k_digit
k_9:    LA(2)   '9'
        GOTO    k_digit

; A digit; the exponent takes three at most.
k_digit:
        R1=A
        D0=(5)  ENTHASE
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   kg3
        D0=(5)  ENTLEN
        C=DAT0  B
        D=0     W
        D=C     B
        B=0     A
        D0=(5)  ENTBUF
kg1:    ?D#0    B
        GOYES   kg2
        LC(5)   3
        ?B<C    A
        GOYES   kg3
        RTN
kg2:    C=DAT0  B
        D0=D0+  2
        D=D-1   B
        ?CBIT=0 6
        GOYES   kg2a
        B=0     A
        GOTO    kg1
kg2a:   ?CBIT=0 4
        GOYES   kg1
        B=B+1   A
        GOTO    kg1
kg3:    A=R1
        GOTO    k_char

; The point, once, and not in the exponent.
k_point:
        D0=(5)  ENTHASE
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   kp1
        RTN
kp1:    LC(2)   '.'
        GOSUB   entfind
        RTNC
        LA(2)   '.'
        GOTO    k_char

; Carry set when the entry holds the character in C(B).
entfind:
        D0=(5)  ENTLEN
        A=0     W
        A=DAT0  B
        B=A     A
        D0=(5)  ENTBUF
ef1:    ?B#0    A
        GOYES   ef2
        RTNCC
ef2:    A=DAT0  B
        ?A=C    B
        RTNYES
        D0=D0+  2
        B=B-1   A
        GOTO    ef1

; Appends the character in A(B) when the line has room.
k_char: B=A     B
        D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        A=0     W
        LA(2)   ENTMAX
        ?C>=A   B
        RTNYES
        A=C     A
        A=A+A   A
        C=C+1   B
        DAT0=C  B
        LC(5)   ENTBUF
        C=C+A   A
        D0=C
        C=B     B
        DAT0=C  B
        RTN

k_eex:  D0=(5)  ENTHASE
        C=0     W
        C=DAT0  1
        ?C#0    P
        RTNYES
        LC(1)   1
        DAT0=C  1
        D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   ke1
        LA(2)   '1'
        GOSUB   k_char
ke1:    LA(2)   'E'
        GOTO    k_char

; +/-: flips the sign being typed (the exponent's once 'E' is there), else negates level 1.
k_neg:  D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   kn1
        GOVLNG  neglevel1
kn1:    D0=(5)  ENTHASE
        A=0     W
        A=DAT0  1
        ?A#0    P
        GOYES   kn2
        D0=(5)  ENTNEG
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   kn1a
        C=0     P
        DAT0=C  1
        RTN
kn1a:   C=C+1   P
        DAT0=C  1
        RTN
kn2:    D0=(5)  ENTBUF
kn3:    A=DAT0  B
        D0=D0+  2
        LC(2)   'E'
        ?A#C    B
        GOYES   kn3
        A=DAT0  B
        LC(2)   '-'
        ?A=C    B
        GOYES   kn5
        ; insert '-' after 'E', moving the exponent digits (at most three) right
        B=C     B
        D1=(5)  ENTLEN
        C=0     W
        C=DAT1  B
        A=0     W
        LA(2)   ENTMAX
        ?C>=A   B
        RTNYES
        C=C+1   B
        DAT1=C  B
        C=DAT0  6
        A=B     B
        DAT0=A  B
        D0=D0+  2
        DAT0=C  6
        RTN
kn5:    D0=D0+  2
        C=DAT0  6
        D0=D0-  2
        DAT0=C  6
        D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        C=C-1   B
        DAT0=C  B
        RTN

; Backspace: removes the last character, or drops level 1 when nothing is being typed.
k_bksp: D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   kb1
        GOVLNG  k_drop
kb1:    C=C-1   B
        DAT0=C  B
        ?C#0    B
        GOYES   kb2
        GOTO    clearentry
kb2:    A=0     W
        A=C     B
        A=A+A   A
        LC(5)   ENTBUF
        C=C+A   A
        D0=C
        A=DAT0  B
        LC(2)   'E'
        ?A=C    B
        GOYES   kb3
        RTN
kb3:    C=0     A
        D0=(5)  ENTHASE
        DAT0=C  1
        RTN

clearentry:
        A=0     A
        D0=(5)  ENTLEN
        DAT0=A  B
        D0=(5)  ENTNEG
        DAT0=A  1
        D0=(5)  ENTHASE
        DAT0=A  1
        RTN

; ENTER: the entry goes to level 1 (to the statistics cells on that screen); with nothing
; typed it duplicates level 1.
k_enter:
        D0=(5)  SCREEN
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   kt1
        GOVLNG  statenter
kt1:    D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   commit
        GOVLNG  dup

; Turns the entry, if any, into a real on level 1; carry set (and a message) on error.
commit: D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C#0    B
        GOYES   cm1
        RTNCC
cm1:    GOSUB   parse
        RTNC
        D0=(5)  RESULT
        DAT0=C  W
        GOSUB   clearentry
        D0=(5)  RESULT
        C=DAT0  W
        GOVLNG  pushreal

; Reads the entry as a real into C; carry set (and a message) when it is out of range.
; ST0: a non-zero digit seen, ST1: after the point, ST2: negative, ST3: in the exponent,
; ST4: negative exponent. A collects up to 12 digits, B(A) the decimal exponent of the digit
; after the last integer digit (biased by 1000), D(X) the exponent typed, D(S) the digits left.
parse:  ST=0    0
        ST=0    1
        ST=0    2
        ST=0    3
        ST=0    4
        D0=(5)  ENTNEG
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   ps1
        ST=1    2
ps1:    D0=(5)  ENTLEN
        A=0     W
        A=DAT0  B
        A=A+A   A
        LC(5)   ENTBUF
        C=C+A   A
        D0=C
        C=0     A
        DAT0=C  B
        A=0     W
        B=0     W
        LC(5)   #01000
        B=C     A
        D=0     W
        D=D+CON S,12
        D0=(5)  ENTBUF
psnext: C=DAT0  B
        D0=D0+  2
        ?C=0    B
        GOYES   psend
        ?CBIT=0 6
        GOYES   ps2
        ST=1    3
        GOTO    psnext
ps2:    ?CBIT=1 4
        GOYES   psdig
        ?CBIT=1 0
        GOYES   psminus
        ST=1    1
        GOTO    psnext
psminus:
        ST=1    4
        GOTO    psnext
psdig:  ?ST=0   3
        GOYES   ps3
        DSL     X
        D=C     P
        GOTO    psnext
ps3:    ?ST=1   0
        GOYES   ps5
        ?C#0    P
        GOYES   ps4
        ?ST=0   1
        GOYES   psnext
        SETDEC
        B=B-1   A
        SETHEX
        GOTO    psnext
ps4:    ST=1    0
ps5:    ?D=0    S
        GOYES   ps6
        ASL     W
        A=C     P
        D=D-1   S
ps6:    ?ST=1   1
        GOYES   psnext
        SETDEC
        B=B+1   A
        SETHEX
        GOTO    psnext
psend:  ?ST=1   0
        GOYES   ps7
        C=0     W
        RTNCC
ps7:    P=      14
        ?A#0    P
        GOYES   ps8
        P=      0
        ASL     W
        GOTO    ps7
ps8:    P=      0
        SETDEC
        B=B-1   A
        C=0     W
        C=D     X
        ?ST=0   4
        GOYES   ps9
        B=B-C   A
        GOTO    ps10
ps9:    B=B+C   A
ps10:   SETHEX
        C=B     A
        D0=(5)  EXPR
        DAT0=C  A
        GOVLNG  norm
