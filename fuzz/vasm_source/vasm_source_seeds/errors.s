GOC $+1
?A=B
RTN
ORG later
"unclosed
A=A+B Q
CON(17) 1
REL(2) $+500
