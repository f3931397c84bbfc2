;redcode-94
;name Velmora Imp
;author Velmora
;strategy The smallest warrior there is: one instruction that copies itself to the next
;strategy cell, which then runs and copies itself again, crawling through the core.

imp     mov.i   $0, $1
        end     imp
