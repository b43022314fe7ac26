; test
        ORG #100
start:  A=A+B W
        A=A+B A
        ?A=B A
        GOYES start
        ?C#0 W
        RTNYES
        LC #0012F
        LC(5) start
        GOTO later
        GOSUB start
        A=DAT0 A
        A=DAT0 B
        C=DAT1 W
        DAT0=A 5
        D0=(5) #80000
        NATIVE #2D
        A=A+CON A,16
        ST=1 5
        P= 3
        NIBASC "Hi"
later:  CON(5) later-start
        REL(3) start
        NIBHEX 01 23
        A=A&B F8
        RTN
