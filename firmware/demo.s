; Tavrel demo firmware: a small RPN calculator for the Vendel machine.
; Every routine runs in hexadecimal mode with P = 0 unless it says otherwise; routines that
; need decimal mode or another P restore both before they return.

        INCLUDE "ram.s"

; ---- Vectors ----
        ORG #00000
        GOVLNG boot
        ORG #0000F
        GOVLNG interrupt

; The register block answers at 00100-0013F, so code starts above it.
        ORG #00200
        INCLUDE "boot.s"
        INCLUDE "interrupts.s"
        INCLUDE "keyboard.s"
        INCLUDE "entry.s"
        INCLUDE "stack.s"
        INCLUDE "numbers.s"
        INCLUDE "format.s"
        INCLUDE "display.s"
        INCLUDE "screens.s"
        INCLUDE "clock.s"
        INCLUDE "stat.s"
        INCLUDE "messages.s"
        INCLUDE "font.s"
