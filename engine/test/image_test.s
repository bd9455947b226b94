; The rules image (rules.bin) driven as an embedded 6502 drives it, knowing
; only its export table (rules_image.inc): a level in level_buf,
; rules_init, play_start, then play_frame once a frame with the stick in
; in_stick. A tap right takes the level's only screw and opens the exit;
; the restart key reports a lost life. The rules must leave the hardware's
; addresses alone: the embedder has none there.

.include "rules_image.inc"

.export _main

.segment "RULESIMAGE"
        .assert * = RULES_ORIGIN, error, "the image is not where it was linked for"
        .incbin "rules.bin"

HARDWARE        = $D000         ; GTIA, POKEY, PIA, ANTIC: $D000-$D4FF
HARDWARE_PAGES  = 5
PATTERN         = $5A
ptr             = $40           ; below the rules' zero page

.segment "BSS"
seen:           .res 1          ; event bits of the frames, ORed
seen_more:      .res 1

.segment "CODE"

; Returns 0 when every check passed, else the number of the failed one.
_main:
        ldx     #HARDWARE_PAGES
        lda     #PATTERN
        jsr     fill_hardware

        ; Walls everywhere but row 0: the robot, a screw, floor.
        lda     #<level_buf
        sta     ptr
        lda     #>level_buf
        sta     ptr+1
        ldx     #>LEVEL_CELLS + 1
        ldy     #0
@wall:  lda     #T_WALL
        sta     (ptr),y
        iny
        bne     @wall
        inc     ptr+1
        dex
        bne     @wall
        ldy     #LEVEL_W - 1
@floor: lda     #T_FLOOR
        sta     level_buf,y
        dey
        bpl     @floor
        lda     #T_ROBOT
        sta     level_buf
        lda     #T_SCREW
        sta     level_buf+1

        lda     #$01            ; one screw to collect
        jsr     rules_init
        lda     #1
        bcs     fail
        lda     #STICK_NONE
        sta     in_stick
        lda     #1
        sta     in_trig
        lda     #0
        sta     in_keys
        sta     gliding
        sta     seen
        sta     seen_more
        lda     #3
        sta     lives
        jsr     play_start

        lda     #STICK_RIGHT    ; a tap of two frames
        sta     in_stick
        ldx     #2
        jsr     frames
        lda     #STICK_NONE
        sta     in_stick
        ldx     #40
        jsr     frames

        lda     #2
        ldx     robot_x
        cpx     #1
        bne     fail            ; one cell, not two
        lda     #3
        ldx     screws_left
        bne     fail
        lda     #4
        ldx     exit_open
        beq     fail
        lda     seen
        and     #EV_SCREW
        beq     fail
        lda     #5
        ldx     seen_more
        cpx     #EVX_OPENED
        bne     fail

        lda     #IN_RESTART
        sta     in_keys
        jsr     play_frame
        and     #EV_DIED
        bne     @died
        lda     #6
        bne     fail
@died:  txa
        and     #EVX_RESTART
        bne     @restarted
        lda     #7
        bne     fail
@restarted:
        lda     #8
        ldx     events
        cpx     #EV_DIED
        bne     fail

        ldx     #HARDWARE_PAGES ; untouched?
        lda     #PATTERN
        jsr     check_hardware
        lda     #9
        bcs     fail
        lda     #0
fail:   ldx     #0
        rts

; X frames: play_frame each, its events gathered.
frames: txa
        pha
        jsr     play_frame
        ora     seen
        sta     seen
        txa
        ora     seen_more
        sta     seen_more
        pla
        tax
        dex
        bne     frames
        rts

; Fills X pages from HARDWARE with A.
fill_hardware:
        ldy     #>HARDWARE
        sty     ptr+1
        ldy     #0
        sty     ptr
@page:  sta     (ptr),y
        iny
        bne     @page
        inc     ptr+1
        dex
        bne     @page
        rts

; Carry set when a byte of X pages from HARDWARE is not A.
check_hardware:
        ldy     #>HARDWARE
        sty     ptr+1
        ldy     #0
        sty     ptr
@page:  cmp     (ptr),y
        bne     @changed
        iny
        bne     @page
        inc     ptr+1
        dex
        bne     @page
        clc
        rts
@changed:
        sec
        rts
