; Addresses the firmware relies on: the chipset, the system variables that the host's object
; transfer and folio export share with us, and our own working memory in port 0 RAM.

; ---- Chipset (the register block is configured at 00100) ----
IOBASE      EQU #00100
REG_DISPON  EQU IOBASE+#00     ; bit 3 display on, bits 0-2 pixel offset
REG_ANNUN   EQU IOBASE+#0B     ; annunciator byte
REG_START   EQU IOBASE+#20     ; first main display line
REG_LINEOFF EQU IOBASE+#25     ; nibbles skipped after each main line
REG_LINES   EQU IOBASE+#28     ; main line count - 1 (the rest is the menu area)
REG_T1CTL   EQU IOBASE+#2E
REG_T2CTL   EQU IOBASE+#2F
REG_MENU    EQU IOBASE+#30     ; first menu line
REG_T2      EQU IOBASE+#38     ; timer 2, 32 bits, 8192 counts a second

; Annunciator bits (bit 7 keeps the annunciators powered).
ANN_ON      EQU #80
ANN_SHIFT   EQU #01
ANN_ALPHA   EQU #04
ANN_BUSY    EQU #10

; ---- Key buffer filled by the host while ST bit 15 is set ----
KEYGUARD    EQU #8065B
KEYHEAD     EQU #80669
KEYTAIL     EQU #8066A
KEYSLOTS    EQU #8066B

; ---- System variables shared with the host ----
TOPPTR      EQU #806EE         ; next free nibble of the temporary-object area
FREEPTR     EQU #806F3         ; start of free memory (kept equal to TOPPTR)
STKPTR      EQU #806F8         ; address of the level-1 entry; the stack grows downward
FOLIOPTR    EQU #80711         ; address of the statistics folio
FREECNT     EQU #80E9B         ; free memory in 5-nibble units

; ---- Our variables (80100-803FF) ----
SHIFTST     EQU #80100         ; 1 nibble: 1 = shift latched
ALPHAST     EQU #80101         ; 1 nibble: 1 = alpha latched
SCREEN      EQU #80102         ; 1 nibble: 0 = stack, 1 = statistics
ENTNEG      EQU #80103         ; 1 nibble: 1 = the mantissa being typed is negative
ENTHASE     EQU #80104         ; 1 nibble: 1 = the entry has an exponent part
ENTLEN      EQU #80105         ; 2 nibbles: characters in ENTBUF
MSGPTR      EQU #80107         ; 5 nibbles: message shown on line 1, 0 = none
LEVEL       EQU #8010C         ; 1 nibble: stack level being drawn
ANNSTATE    EQU #8010D         ; 2 nibbles: annunciator byte last written
STATN       EQU #8010F         ; 2 nibbles: statistics cells entered (binary)
STATNBCD    EQU #80111         ; 3 nibbles: the same count in decimal
FOLIOI      EQU #80114         ; 2 nibbles: folio variable being written
FOLIOPRV    EQU #80116         ; 5 nibbles: name field of the previous folio variable
LINKST      EQU #8011B         ; 1 nibble: 1 = remote link opened by us
STATROW     EQU #8011C         ; 2 nibbles: statistics cell being drawn
OPFN        EQU #8011E         ; 5 nibbles: the arithmetic routine binop runs
OPA         EQU #80130         ; 16 nibbles: left operand (level 2)
OPB         EQU #80140         ; 16 nibbles: right operand (level 1)
RESULT      EQU #80150         ; 16 nibbles: result waiting to be pushed
EXPR        EQU #80160         ; 5 nibbles: working exponent, biased by 1000
FMTM        EQU #80170         ; 16 nibbles: the real being formatted
FMTE        EQU #80180         ; 3 nibbles: exponent digits being formatted
CLOCK       EQU #80190         ; 16 nibbles: scratch for the calendar
TEXTBUF     EQU #80200         ; 40 characters of formatted text
ENTBUF      EQU #80280         ; the entry line as typed (ENTMAX characters)
ENTMAX      EQU 20

; ---- Display memory: 56 main lines and 8 menu lines of 34 nibbles ----
LINE        EQU 34
DISPLAY     EQU #81000
MENUAREA    EQU #81800
MAINLINES   EQU 56
; Text rows are 7 lines high; glyphs sit on lines 1-5 of a row.
ROW0        EQU DISPLAY+LINE
ROW1        EQU ROW0+7*LINE
ROW2        EQU ROW1+7*LINE
ROW3        EQU ROW2+7*LINE
ROW4        EQU ROW3+7*LINE
ROW5        EQU ROW4+7*LINE
ROW6        EQU ROW5+7*LINE
ROW7        EQU ROW6+7*LINE
MENUROW     EQU MENUAREA+LINE

; ---- Objects ----
TEMPBASE    EQU #82000         ; temporary objects grow upward from here
STKBOT      EQU #8F000         ; the stack grows downward from here
STATTAB     EQU #90000         ; statistics cells, 16 nibbles each, X and Y alternating
STATMAX     EQU 128            ; cells (64 rows)
FOLIO       EQU #91000         ; the statistics folio object

PROLOG_REAL EQU #02933
PROLOG_STR  EQU #02A2C
PROLOG_BINT EQU #02911
PROLOG_ARRY EQU #029E8
PROLOG_LIST EQU #02A74
PROLOG_DIR  EQU #02A96
PROLOG_XLIB EQU #02E92
SEMI        EQU #0312B
