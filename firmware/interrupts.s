; Interrupts. Keys arrive through the key buffer and the clock timer only wakes the processor,
; so the interrupts left are the ON key and the release of a shift key. The main loop polls
; for ON after every wake-up, so the handler has nothing to do but return: it touches no
; register, which keeps every routine safe wherever it is interrupted.

interrupt:
        RTI
