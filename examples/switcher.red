;redcode-94
;name Velmora Switcher
;author Velmora
;strategy A P-space switcher between a dwarf and an imp. P-space cell 1 remembers which
;strategy one it ran; P-space cell 0 says how the last round ended (0: lost). After a loss
;strategy it switches, otherwise it keeps what it had. Needs the P-space standard.

which   equ     1                       ; P-space cell of the strategy: 0 dwarf, 1 imp

start   ldp.ab  #0, result              ; last round: 0 lost, -1 none yet, else survivors
        ldp.ab  #which, choice
        jmn.b   keep, result            ; not lost: keep the strategy
        add.ab  #1, choice              ; lost: take the other one
        mod.ab  #2, choice
keep    stp.b   choice, #which
        jmz.b   dwarf, choice
        jmp.a   imp

dwarf   add.ab  #4, bomb
        mov.i   bomb, @bomb
        jmp.a   dwarf
bomb    dat.f   #0, #0

imp     mov.i   $0, $1

result  dat.f   #0, #0
choice  dat.f   #0, #0
        end     start
