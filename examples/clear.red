;redcode-94
;name Velmora Sweeper
;author Velmora
;strategy A core clear: one lap of SPL 0 carpet that stuns every process it lands on,
;strategy then endless laps of DAT that kill them. Each lap covers every cell except its
;strategy own, so it never wipes itself.

length  equ     12                      ; cells from stun to dbomb
first   equ     3                       ; first cell after the code, seen from ptr
wipes   equ     CORESIZE-length

stun    mov.ab  #first, ptr
        mov.ab  #wipes, count1
carpet  mov.i   sbomb, >ptr
count1  djn.b   carpet, #0
kill    mov.ab  #first, ptr
        mov.ab  #wipes, count2
wipe    mov.i   dbomb, >ptr
count2  djn.b   wipe, #0
        jmp.a   kill
ptr     dat.f   #0, #first
sbomb   spl.b   #0, 0
dbomb   dat.f   #0, #0
        end     stun
