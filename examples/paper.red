;redcode-94
;name Velmora Paper
;author Velmora
;strategy A replicator ("silk" style): eight processes copy the two-line body to a new place
;strategy and split into the copy, again and again. Copies are cheap, so killing all of
;strategy them is hard: paper beats stones but loses to scanners.

start   spl.b   1, 0            ; 2 processes
        spl.b   1, 0            ; 4
        spl.b   1, 0            ; 8
silk    spl.b   @0, }3620       ; split to the copy's place
        mov.i   }silk, >silk    ; copy one cell, both pointers move on
        end     start
