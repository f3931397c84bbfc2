;redcode-94
;name Velmora Dwarf
;author Velmora
;strategy A bomber: drops a DAT on every fourth cell, marching through the core. With a
;strategy core size divisible by four it never hits its own four instructions.

step    equ     4

start   add.ab  #step, bomb     ; move the target on
        mov.i   bomb, @bomb     ; drop the bomb where its B-field points
        jmp.a   start
bomb    dat.f   #0, #0
        end     start
