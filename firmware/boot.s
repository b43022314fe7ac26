; Power-on: configure the chain, clear our memory, set up the display, the stack and the
; timers, then enter the main loop.

boot:   INTOFF
        SETHEX
        P=      0
        ; Register block at 00100, then 128 pages of RAM at 80000 (size step, address step).
        LC(5)   IOBASE
        CONFIG
        LC(5)   #80000
        CONFIG
        CONFIG
        ; Our variables, the key buffer, the system variables and the display memory start
        ; from zero.
        D1=(5)  #80100
        LC(5)   (TEMPBASE-#80100)/16
        GOSBVL  clearmem
        ; An empty stack: no temporary objects, level pointer at the bottom.
        LC(5)   TEMPBASE
        D0=(5)  TOPPTR
        DAT0=C  A
        D0=(5)  FREEPTR
        DAT0=C  A
        LC(5)   STKBOT
        D0=(5)  STKPTR
        DAT0=C  A
        GOSBVL  updfree
        ; No statistics yet: build the (empty) folio so the exporter always finds one.
        GOSBVL  folio
        ; Display: main lines from DISPLAY without gaps, menu lines from MENUAREA.
        LC(5)   DISPLAY
        D0=(5)  REG_START
        DAT0=C  A
        C=0     A
        D0=(5)  REG_LINEOFF
        DAT0=C  X
        LC(2)   MAINLINES-1
        D0=(5)  REG_LINES
        DAT0=C  B
        LC(5)   MENUAREA
        D0=(5)  REG_MENU
        DAT0=C  A
        LC(1)   8
        D0=(5)  REG_DISPON
        DAT0=C  1
        ; Timer 1 stays quiet; timer 2 runs and only wakes the processor (no interrupt).
        C=0     A
        D0=(5)  REG_T1CTL
        DAT0=C  1
        GOSBVL  armtimer
        LC(1)   5
        D0=(5)  REG_T2CTL
        DAT0=C  1
        ; Keys go to the key buffer while ST bit 15 is set and interrupts are on.
        ST=1    15
        INTON
        GOVLNG  mainloop

; Clears C(A) blocks of 16 nibbles from D1 upward.
clearmem:
        B=C     A
        C=0     W
clrm1:  ?B=0    A
        RTNYES
        DAT1=C  W
        D1=D1+  16
        B=B-1   A
        GOTO    clrm1

; The main loop: redraw, sleep until a key or the clock timer wakes us, handle every key.
mainloop:
        GOSBVL  redraw
        LC(2)   0
        GOSBVL  setbusy
        GOSBVL  armtimer
        SHUTDN
        LC(2)   ANN_BUSY
        GOSBVL  setbusy
        GOSBVL  pollon
mloop1: GOSBVL  getkey
        GOC     mainloop
        GOSBVL  dokey
        GOTO    mloop1

; Timer 2 wakes the processor again in one second, so the clock on screen keeps going.
armtimer:
        LC(8)   8192
        D0=(5)  REG_T2
        DAT0=C  8
        RTN
