; Keys: the host writes key codes into the ROM key buffer while ST bit 15 is set; codes above
; 63 carry the shift (64) or alpha (128) modifier of a held shift key. A shift key pressed
; alone latches its modifier for the next key, as on the real keyboard.

; Takes the next code from the key buffer into A(B); carry set when the buffer is empty.
getkey: D0=(5)  KEYHEAD
        A=0     W
        A=DAT0  1
        D0=(5)  KEYTAIL
        C=0     W
        C=DAT0  1
        ?A#C    A
        GOYES   gk1
        RTNSC
gk1:    B=A     A
        A=A+A   A
        LC(5)   KEYSLOTS
        C=C+A   A
        D0=C
        A=0     W
        A=DAT0  B
        B=B+1   P
        C=B     A
        D0=(5)  KEYHEAD
        DAT0=C  1
        RTNCC

; ON cancels the entry and the shift latches (the host also presses ON after loading an
; object, and the redraw that follows every wake-up shows the new stack).
pollon: C=0     A
        OUT=C
        A=IN
        ?ABIT=1 15
        GOYES   po1
        RTN
po1:    GOSBVL  clearentry
        C=0     A
        D0=(5)  SHIFTST
        DAT0=C  1
        D0=(5)  ALPHAST
        DAT0=C  1
        D0=(5)  MSGPTR
        DAT0=C  A
        GOTO    updann

; Shows the busy flag given in C(B) together with the shift and alpha latches.
setbusy:
        D0=(5)  ANNSTATE
        DAT0=C  B
updann: D0=(5)  ANNSTATE
        A=0     W
        A=DAT0  B
        LC(2)   ANN_ON
        A=A!C   B
        D0=(5)  SHIFTST
        C=0     W
        C=DAT0  1
        ?C=0    A
        GOYES   ua1
        LC(2)   ANN_SHIFT
        A=A!C   B
ua1:    D0=(5)  ALPHAST
        C=0     W
        C=DAT0  1
        ?C=0    A
        GOYES   ua2
        LC(2)   ANN_ALPHA
        A=A!C   B
ua2:    D0=(5)  REG_ANNUN
        DAT0=A  B
        RTN

; Flips the 0/1 nibble at D0 and shows the latches.
toggle: C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   tg1
        C=0     P
        GOTO    tg2
tg1:    C=C+1   P
tg2:    DAT0=C  1
        GOTO    updann

; Runs the handler of the key code in A(B).
dokey:  C=0     A
        D0=(5)  MSGPTR
        DAT0=C  A
        LC(2)   #C0
        ?A#C    B
        GOYES   dk1
        D0=(5)  SHIFTST
        GOTO    toggle
dk1:    LC(2)   #40
        ?A#C    B
        GOYES   dk2
        D0=(5)  ALPHAST
        GOTO    toggle
dk2:    ST=0    5
        ?ABIT=0 7
        GOYES   dk3
        LC(2)   #3F
        A=A&C   B
        GOTO    dk4
dk3:    ?ABIT=0 6
        GOYES   dk4
        ABIT=0  6
        ST=1    5
dk4:    D0=(5)  SHIFTST
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   dk5
        ST=1    5
        C=0     P
        DAT0=C  1
        R0=A
        GOSUB   updann
        A=R0
dk5:    LC(2)   52
        ?C>A    B
        GOYES   dk6
        RTN
dk6:    C=0     A
        C=A     B
        A=C     A
        C=C+C   A
        C=C+C   A
        C=C+A   A
        LA(5)   keytab
        ?ST=0   5
        GOYES   dk7
        LA(5)   skeytab
dk7:    C=C+A   A
        PC=(C)

k_none: RTN

clearcarry:
        RTNCC

; Handlers by key code (the key number plus one; see README.md for the layout).
keytab: CON(5)  k_none,k_drop,k_swap,k_stat,k_clear,k_link,k_unlink,k_none     ; 0-7
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_none,k_none,k_none        ; 8-15
        CON(5)  k_swap,k_none,k_none,k_none,k_none,k_bksp,k_none,k_none        ; 16-23
        CON(5)  k_none,k_none,k_none,k_eex,k_neg,k_none,k_none,k_div           ; 24-31
        CON(5)  k_none,k_7,k_8,k_9,k_mul,k_none,k_4,k_5                        ; 32-39
        CON(5)  k_6,k_sub,k_none,k_1,k_2,k_3,k_add,k_none                      ; 40-47
        CON(5)  k_0,k_point,k_none,k_enter                                     ; 48-51
; Shifted keys.
skeytab:
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_none,k_none,k_none        ; 0-7
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_none,k_none,k_none        ; 8-15
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_clear,k_none,k_none       ; 16-23
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_none,k_none,k_none        ; 24-31
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_none,k_none,k_none        ; 32-39
        CON(5)  k_none,k_none,k_none,k_none,k_none,k_none,k_none,k_none        ; 40-47
        CON(5)  k_none,k_none,k_none,k_enter                                   ; 48-51

; Screen and link keys.
k_stat: D0=(5)  SCREEN
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   ks1
        C=0     P
        DAT0=C  1
        RTN
ks1:    C=C+1   P
        DAT0=C  1
        RTN

k_clear:
        D0=(5)  SCREEN
        C=0     W
        C=DAT0  1
        ?C=0    P
        GOYES   kc1
        GOVLNG  statclear
kc1:    GOVLNG  clearstack

; The remote-control link: native call 50 opens it (carry set: the host has none), 51 closes it.
; A host that has no link sets carry; one that opens it may leave carry as it was.
k_link: GOSUB   clearcarry
        NATIVE  #50
        LC(5)   msg_linkon
        GONC    kl1
        LC(5)   msg_nolink
kl1:    D0=(5)  MSGPTR
        DAT0=C  A
        RTN

k_unlink:
        NATIVE  #51
        LC(5)   msg_linkoff
        D0=(5)  MSGPTR
        DAT0=C  A
        RTN
