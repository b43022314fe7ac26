; The data stack as the host's object transfer expects it: STKPTR holds the address of the
; level-1 entry, entries are 5-nibble object addresses growing downward from STKBOT, and the
; objects live between TEMPBASE and TOPPTR, each as a 0 nibble, the object and a 5-nibble
; size that counts all three (so the top object can always be found and freed).
; We keep FREEPTR equal to TOPPTR: nothing of ours sits between them.

; Stores a message address (C(A)) and returns with carry set.
seterr: D1=(5)  MSGPTR
        DAT1=C  A
        RTNSC

; Carry set (and "Too few arguments") unless the stack holds C(A)/5 levels.
needs:  D0=(5)  STKPTR
        A=DAT0  A
        A=A+C   A
        LC(5)   STKBOT
        ?C<A    A
        GOYES   nd1
        RTNCC
nd1:    LC(5)   msg_few
        GOTO    seterr

; C(A) = the object on level 1 or level 2.
level1: D1=(5)  STKPTR
        C=DAT1  A
        D1=C
        C=DAT1  A
        RTN
level2: D1=(5)  STKPTR
        C=DAT1  A
        D1=C
        D1=D1+  5
        C=DAT1  A
        RTN

; Copies the body of the real at C(A) to D0; carry set (and a message) for other objects.
getreal:
        D1=C
        C=DAT1  A
        LA(5)   PROLOG_REAL
        ?A=C    A
        GOYES   gr1
        LC(5)   msg_type
        GOTO    seterr
gr1:    D1=D1+  5
        C=DAT1  W
        DAT0=C  W
        RTNCC

; Writes the free memory, in 5-nibble units, where the host looks for it.
updfree:
        D0=(5)  STKPTR
        A=DAT0  A
        D0=(5)  FREEPTR
        C=DAT0  A
        A=A-C   A
        LC(5)   5
        NATIVE  #84             ; A = A / C over field A
        NIBHEX  8F
        D0=(5)  FREECNT
        DAT0=A  A
        RTNCC

; Pushes the real in C as a new object; carry set (and a message) when memory is full.
pushreal:
        D0=(5)  RESULT
        DAT0=C  W
        D0=(5)  STKPTR
        A=DAT0  A
        D0=(5)  FREEPTR
        C=DAT0  A
        A=A-C   A
        LC(5)   21+11
        ?C<=A   A
        GOYES   pr1
        LC(5)   msg_mem
        GOTO    seterr
pr1:    D0=(5)  TOPPTR
        A=DAT0  A
        D1=A
        C=0     A
        DAT1=C  1
        D1=D1+  1
        LC(5)   PROLOG_REAL
        DAT1=C  A
        D1=D1+  5
        D0=(5)  RESULT
        C=DAT0  W
        DAT1=C  W
        D1=D1+  16
        LC(5)   21+6
        DAT1=C  A
        A=A+1   A
        D0=(5)  STKPTR
        C=DAT0  A
        C=C-CON A,5
        DAT0=C  A
        D1=C
        DAT1=A  A
        A=A+CON A,16
        A=A+CON A,10
        D0=(5)  TOPPTR
        DAT0=A  A
        D0=(5)  FREEPTR
        DAT0=A  A
        GOTO    updfree

; Frees objects at the top of the temporary area while no stack level refers to them.
reclaim:
        D0=(5)  TOPPTR
        A=DAT0  A
        LC(5)   TEMPBASE
        ?C>=A   A
        GOYES   rcdone
        D0=A
        D0=D0-  5
        C=DAT0  A
        ?C=0    A
        GOYES   rcdone
        A=A-C   A
        B=A     A
        A=A+1   A
        LC(5)   STKBOT
        D=C     A
        D0=(5)  STKPTR
        C=DAT0  A
        D0=C
rc1:    CD0EX
        ?D<=C   A
        GOYES   rcfree
        D0=C
        C=DAT0  A
        ?A=C    A
        GOYES   rcdone
        D0=D0+  5
        GOTO    rc1
rcfree: C=B     A
        D0=(5)  TOPPTR
        DAT0=C  A
        D0=(5)  FREEPTR
        DAT0=C  A
        GOTO    reclaim
rcdone: GOTO    updfree

; DROP removes the entry being typed, else level 1.
k_drop: D0=(5)  ENTLEN
        C=0     W
        C=DAT0  B
        ?C=0    B
        GOYES   kd1
        GOVLNG  clearentry
kd1:    LC(5)   5
        GOSUB   needs
        RTNC
        GOSUB   drop1
        GOTO    reclaim
drop1:  D0=(5)  STKPTR
        C=DAT0  A
        C=C+CON A,5
        DAT0=C  A
        RTN

k_swap: GOSBVL  commit
        RTNC
        LC(5)   10
        GOSUB   needs
        RTNC
        D0=(5)  STKPTR
        C=DAT0  A
        D0=C
        A=DAT0  A
        D0=D0+  5
        C=DAT0  A
        DAT0=A  A
        D0=D0-  5
        DAT0=C  A
        RTNCC

; DUP shares level 1's object: objects never change once made.
dup:    LC(5)   5
        GOSUB   needs
        RTNC
        D0=(5)  STKPTR
        C=DAT0  A
        D0=C
        A=DAT0  A
        C=C-CON A,5
        B=C     A
        D0=(5)  FREEPTR
        C=DAT0  A
        ?B>C    A
        GOYES   du1
        LC(5)   msg_mem
        GOTO    seterr
du1:    C=B     A
        D0=C
        DAT0=A  A
        D0=(5)  STKPTR
        DAT0=C  A
        GOTO    updfree

clearstack:
        GOSBVL  clearentry
        LC(5)   STKBOT
        D0=(5)  STKPTR
        DAT0=C  A
        GOTO    reclaim

; +/- with nothing typed: level 1 changes sign.
neglevel1:
        LC(5)   5
        GOSUB   needs
        RTNC
        GOSUB   level1
        D0=(5)  OPB
        GOSUB   getreal
        RTNC
        D0=(5)  OPB
        C=DAT0  W
        ?C=0    M
        RTNYES
        ?C=0    S
        GOYES   nl1
        C=0     S
        GOTO    nl2
nl1:    P=      15
        LC(1)   9
        P=      0
nl2:    D0=(5)  RESULT
        DAT0=C  W
        GOSUB   drop1
        GOSUB   reclaim
        D0=(5)  RESULT
        C=DAT0  W
        GOTO    pushreal

; The four operations take levels 2 and 1 and leave the result; on an error the stack stays.
k_add:  LC(5)   realadd
        GOTO    binop
k_sub:  LC(5)   realsub
        GOTO    binop
k_mul:  LC(5)   realmul
        GOTO    binop
k_div:  LC(5)   realdiv
binop:  D0=(5)  OPFN
        DAT0=C  A
        GOSBVL  commit
        RTNC
        LC(5)   10
        GOSUB   needs
        RTNC
        GOSUB   level2
        D0=(5)  OPA
        GOSUB   getreal
        RTNC
        GOSUB   level1
        D0=(5)  OPB
        GOSUB   getreal
        RTNC
        D0=(5)  OPFN
        C=DAT0  A
        GOSUB   callc
        RTNC
        D0=(5)  RESULT
        DAT0=C  W
        GOSUB   drop1
        GOSUB   drop1
        GOSUB   reclaim
        D0=(5)  RESULT
        C=DAT0  W
        GOTO    pushreal
callc:  PC=C
