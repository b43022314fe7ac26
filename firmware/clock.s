; The date and time from the real-time clock (native call 11: a count of 1/8192 seconds from
; day 0 of the calendar the clock uses, where a day number is 365y + y/4 - y/100 + y/400 +
; 153(m+1)/5 + d - 63 with January and February counted as months 13 and 14 of the year
; before). The calendar work uses the 64-bit native arithmetic (calls 80-85 on field W).

; TEXTBUF = "YYYY-MM-DD HH:MM:SS".
clocktext:
        NATIVE  #11             ; A = ticks
        SETHEX
        P=      0
        C=0     W
        LC(4)   8192
        NATIVE  #84             ; A = A / C: seconds
        NIBHEX  87
        B=A     W
        C=0     W
        LC(5)   86400
        NATIVE  #84             ; A = days
        NIBHEX  87
        NATIVE  #85             ; B = B mod C: second of the day
        NIBHEX  97
        D0=(5)  CLOCK
        C=B     W
        DAT0=C  W
        ; days since the first of March of year 0: 400-year eras, then the year of the era
        C=0     W
        LC(2)   60
        A=A-C   W
        B=A     W
        C=0     W
        LC(5)   146097
        NATIVE  #85             ; B = day of the era
        NIBHEX  97
        NATIVE  #84             ; A = era
        NIBHEX  87
        C=0     W
        LC(3)   400
        NATIVE  #83             ; A = first year of the era
        NIBHEX  87
        D0=(5)  CLOCK+16
        C=A     W
        DAT0=C  W
        A=B     W
        C=0     W
        LC(3)   1460
        D=C     W
        C=B     W
        NATIVE  #84             ; C = C / D
        NIBHEX  E7
        A=A-C   W
        C=0     W
        LC(4)   36524
        D=C     W
        C=B     W
        NATIVE  #84
        NIBHEX  E7
        A=A+C   W
        C=0     W
        LC(5)   146096
        D=C     W
        C=B     W
        NATIVE  #84
        NIBHEX  E7
        A=A-C   W
        C=0     W
        LC(3)   365
        D=C     W
        NATIVE  #84             ; A = A / D: year of the era
        NIBHEX  C7
        ; B = day of the year (from 1 March)
        C=A     W
        NATIVE  #83             ; C = C * D
        NIBHEX  E7
        B=B-C   W
        C=0     W
        LC(1)   4
        D=C     W
        C=A     W
        NATIVE  #84
        NIBHEX  E7
        B=B-C   W
        C=0     W
        LC(2)   100
        D=C     W
        C=A     W
        NATIVE  #84
        NIBHEX  E7
        B=B+C   W
        D0=(5)  CLOCK+16
        C=DAT0  W
        A=A+C   W
        DAT0=A  W
        ; month from March (0-11) and day of the month
        C=0     W
        LC(1)   5
        D=C     W
        A=B     W
        NATIVE  #83             ; A = A * D
        NIBHEX  C7
        A=A+CON W,2
        C=0     W
        LC(2)   153
        D=C     W
        NATIVE  #84             ; A = month from March
        NIBHEX  C7
        C=A     W
        NATIVE  #83
        NIBHEX  C7
        A=A+CON W,2
        D=0     W
        D=D+CON W,5
        NATIVE  #84
        NIBHEX  C7
        B=B-A   W
        B=B+1   W
        D0=(5)  CLOCK+48
        A=B     W
        DAT0=A  W
        ; January and February belong to the next year
        A=0     W
        LA(2)   10
        ?C<A    W
        GOYES   ck1
        C=C-CON W,9
        D0=(5)  CLOCK+16
        A=DAT0  W
        A=A+1   W
        DAT0=A  W
        GOTO    ck2
ck1:    C=C+CON W,3
ck2:    D0=(5)  CLOCK+32
        DAT0=C  W
        ; the template, then each number written from its last digit leftward
        D0=(5)  txt_clock
        D1=(5)  TEXTBUF
        LC(2)   20
        B=C     A
ck3:    C=DAT0  B
        DAT1=C  B
        D0=D0+  2
        D1=D1+  2
        B=B-1   A
        ?B#0    A
        GOYES   ck3
        D0=(5)  CLOCK+16
        A=DAT0  W
        D1=(5)  TEXTBUF+2*3
        LC(5)   4
        GOSUB   putnum
        D0=(5)  CLOCK+32
        A=DAT0  W
        D1=(5)  TEXTBUF+2*6
        LC(5)   2
        GOSUB   putnum
        D0=(5)  CLOCK+48
        A=DAT0  W
        D1=(5)  TEXTBUF+2*9
        LC(5)   2
        GOSUB   putnum
        ; time of day
        D0=(5)  CLOCK
        A=DAT0  W
        C=0     W
        LC(2)   60
        D=C     W
        B=A     W
        NATIVE  #85             ; B = B mod D: seconds
        NIBHEX  D7
        NATIVE  #84             ; A = minutes of the day
        NIBHEX  C7
        D0=(5)  CLOCK
        DAT0=A  W
        A=B     W
        D1=(5)  TEXTBUF+2*18
        LC(5)   2
        GOSUB   putnum
        D0=(5)  CLOCK
        A=DAT0  W
        C=0     W
        LC(2)   60
        D=C     W
        B=A     W
        NATIVE  #85
        NIBHEX  D7
        NATIVE  #84             ; A = hours
        NIBHEX  C7
        D0=(5)  CLOCK
        DAT0=A  W
        A=B     W
        D1=(5)  TEXTBUF+2*15
        LC(5)   2
        GOSUB   putnum
        D0=(5)  CLOCK
        A=DAT0  W
        D1=(5)  TEXTBUF+2*12
        LC(5)   2
        GOTO    putnum

; Writes the last C(A) decimal digits of A as ASCII, the last one at D1, going left.
putnum: B=C     A
pn1:    C=0     W
        LC(1)   10
        D=C     W
        C=A     W
        NATIVE  #85             ; C = C mod D
        NIBHEX  E7
        NATIVE  #84             ; A = A / D
        NIBHEX  C7
        C=C+CON B,16
        C=C+CON B,16
        C=C+CON B,16
        DAT1=C  B
        D1=D1-  2
        B=B-1   A
        ?B#0    A
        GOYES   pn1
        RTN
