;redcode-94
;name Velmora Stone
;author Velmora
;strategy A faster bomber: an SPL 0 gives it a swarm of processes that all run the bombing
;strategy loop, so it survives hits on single cells. Bombs fall every 3044 cells (a
;strategy multiple of four, so they spread evenly), and the DJN decrements the core as it goes.

step    equ     3044

start   spl.b   #0, 0           ; more processes, more bombs
loop    mov.i   bomb, @ptr
        add.ab  #step, ptr
        djn.f   loop, <-100     ; loops while the decremented cell is not zero
bomb    dat.f   >1, >1
ptr     dat.f   #0, #step
        end     start
