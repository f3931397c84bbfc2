;redcode-94
;name Velmora Scanner
;author Velmora
;strategy Looks at every fifth cell once around the core, skipping its own code, and
;strategy covers whatever it finds with an SPL 0 that stuns the enemy. After one lap it
;strategy clears the core with DATs, lap after lap, sparing only itself.

step    equ     5
length  equ     12                      ; cells from scan to dbomb
first   equ     3                       ; first cell after the code, seen from ptr
lap     equ     (CORESIZE-length-first)/step
wipes   equ     CORESIZE-length

scan    add.ab  #step, ptr
        jmz.f   next, @ptr              ; empty cell: look further
        mov.i   spbomb, @ptr
next    djn.b   scan, #lap
arm     mov.ab  #first, ptr
        mov.ab  #wipes, count
clear   mov.i   dbomb, >ptr
count   djn.b   clear, #0
        jmp.a   arm
ptr     dat.f   #0, #first
spbomb  spl.b   #0, 0
dbomb   dat.f   #0, #0
        end     scan
