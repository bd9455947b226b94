; The player's controls over the rules. Once a frame play_frame takes the
; stick, the trigger and the keys from zero page (in_stick, in_trig,
; in_keys), and every STEP_FRAMES frames it moves or fires and runs the
; rules' tick. No hardware is touched here: the game fills in_* from the
; hardware, and sim65 tests or an embedded 6502 fill them directly.
;
; No push is lost: a push of the stick waits in a queue (up to QUEUE_SIZE
; pushes) and each step carries out one, so quick taps are as many steps.
; A push held no longer than TAP_FRAMES is one step; held longer, the
; stick walks, a cell a step, and the step after it is let go moves
; nothing. Fire with a direction shoots instead of walking: once for each
; press of the trigger or new push of the stick, and again every
; FIRE_REPEAT steps while both stay held. Nothing moves before the first
; push or fire press of a level (and its look over the level, see
; `opening`). The space bar or START pauses and resumes; OPTION or Esc
; restarts the level, free; a death takes a life.

PLAY_MODULE     = 1
.include "zp.inc"
.include "rules.inc"

.export play_start, play_frame

STEP_FRAMES     = 8             ; frames a step; the robot glides 1/8 cell a frame
FIRE_REPEAT     = 4             ; steps between the shots of a held trigger
TAP_FRAMES      = 15            ; a push held this long is still one step (250 ms NTSC, 300 ms PAL)
QUEUE_SIZE      = 3
MAX_LIVES       = 9
NO_DIR          = $FF

.segment "RODATA"
; in_stick bits, low first: up, down, left, right (0 when pushed). X counts
; down from 3 as the bits are shifted out.
stick_dirs:     .byte DIR_RIGHT, DIR_LEFT, DIR_DOWN, DIR_UP
; shot_path: the direction in bits 6-7, SHOT_LEAVES when the shot flies
; off the level, and the floor cells it crosses in bits 0-4.
SHOT_LEAVES     = $20
; A direction in shot_path's bits 6-7.
shot_dirs:      .byte DIR_UP << 6, DIR_RIGHT << 6, DIR_DOWN << 6, DIR_LEFT << 6

.segment "CODE"

; At every (re)start of a level, after rules_init. Whatever is held now was
; pressed before the level began: it is no push. The controls wait for the
; first push or fire press (opening = OPENING_READY).
play_start:
        lda     #NO_DIR
        ldx     #QUEUE_SIZE - 1
@empty: sta     queue,x
        dex
        bpl     @empty
        lda     #0
        sta     fire_latch
        sta     fire_wait
        sta     paused
        sta     events
        sta     events_more
        sta     stick_held
        sta     shot_path
        lda     #OPENING_READY
        sta     opening
        lda     #1              ; the first step at the frame that ends the wait
        sta     step_wait
        jsr     stick_dir
        sta     stick_last
        lda     in_trig
        sta     trig_last
        lda     in_keys
        sta     keys_last
        rts

; Once a frame. Returns the event bits of the step taken in this frame in
; A and X (also in events and events_more), zero when none was taken.
play_frame:
        lda     #0
        sta     events
        sta     events_more
        lda     keys_last       ; keys held now and not at the last frame
        eor     #$FF
        and     in_keys
        ldx     in_keys
        stx     keys_last
        tax
        and     #IN_RESTART
        beq     @no_restart
        lda     #0
        sta     paused
        lda     #EV_DIED
        sta     events
        lda     #EVX_RESTART
        sta     events_more
        bne     @done
@no_restart:
        txa
        and     #IN_PAUSE
        beq     @no_pause
        lda     paused
        eor     #1
        sta     paused
        bne     @no_pause
        jsr     stick_dir       ; resumed: a stick held in the pause looked
        sta     stick_last      ; around, it pushes nothing
        lda     #0
        sta     stick_held
@no_pause:
        lda     paused
        bne     @done           ; nothing moves, nothing is read

        jsr     stick_dir
        cmp     stick_last
        beq     @stick_kept
        sta     stick_last
        ldx     #0
        stx     stick_held
        tax
        bmi     @stick_kept     ; let go
        jsr     push            ; a new push
@stick_kept:
        inc     stick_held
        bne     @held
        dec     stick_held      ; 255 at most
@held:  lda     in_trig
        bne     @trig_kept
        lda     trig_last
        beq     @trig_kept      ; held since before
        lda     #1
        sta     fire_latch
@trig_kept:
        lda     in_trig
        sta     trig_last

        lda     opening
        beq     @playing
        ldx     fire_latch      ; a fire press ends the look, or the wait
        beq     @look
        ldx     #0
        stx     fire_latch      ; and shoots nothing
        cmp     #OPENING_READY + 1
        bcc     @set            ; the wait ends
        ldx     #OPENING_READY  ; the look ends: the wait follows
@set:   stx     opening
        jmp     @done
@look:  cmp     #OPENING_READY + 1
        bcc     @done           ; waiting
        dec     opening
        bcs     @done

@playing:
        lda     step_wait
        beq     @due
        dec     step_wait
        bne     @done
@due:   lda     gliding
        bne     @done           ; the step's pictures arrive first
        lda     #STEP_FRAMES
        sta     step_wait
        jsr     step
@done:  ldx     events_more
        lda     events
        rts

; A = the direction of a new push: it waits for a step of its own, unless
; QUEUE_SIZE pushes wait already. A push ends the opening.
push:
        ldx     #0
        stx     opening
@slot:  ldy     queue,x
        bmi     @put
        inx
        cpx     #QUEUE_SIZE
        bcc     @slot
        rts                     ; no room: dropped
@put:   sta     queue,x
        rts

; One game step: the robot moves or fires, then what moves by itself.
step:
        lda     fire_wait
        beq     @ready
        dec     fire_wait
@ready: ldy     queue           ; the first push waiting, if any
        bmi     @no_push
        ldx     #0
@shift: lda     queue+1,x
        sta     queue,x
        inx
        cpx     #QUEUE_SIZE - 1
        bcc     @shift
        lda     #NO_DIR
        sta     queue + QUEUE_SIZE - 1
        ldx     #1              ; a new push
        bne     @direction
@no_push:
        ldy     stick_last      ; else the stick held, or NO_DIR
        ldx     #0
@direction:                     ; Y = the direction, X non-zero for a new push
        lda     in_trig
        beq     @fire
        lda     fire_latch
        bne     @fire
        tya
        bmi     @tick
        txa
        bne     @walk
        lda     stick_held      ; held: it walks once it is no tap
        cmp     #TAP_FRAMES + 1
        bcc     @tick
@walk:  tya
        jsr     rules_step
        jmp     @acted
@fire:  tya                     ; fire without a direction does nothing
        bmi     @tick
        lda     fire_latch
        bne     @shoot
        txa
        bne     @shoot          ; a new push
        lda     fire_wait
        bne     @tick           ; both held: the repeat is not due
@shoot: lda     #FIRE_REPEAT
        sta     fire_wait
        tya
        pha
        ldx     robot_x         ; where the shot will fly, before it hits
        ldy     robot_y
        jsr     rules_line
        bcc     @stopped
        ora     #SHOT_LEAVES
@stopped:
        sta     shot_path
        pla
        tay
        lda     shot_dirs,y
        ora     shot_path
        sta     shot_path
        tya
        jsr     rules_fire
@acted: sta     events
        stx     events_more
@tick:  lda     #0
        sta     fire_latch
        lda     events
        and     #EV_DIED | EV_EXIT
        bne     @life
        jsr     rules_tick
        ora     events
        sta     events
        txa
        ora     events_more
        sta     events_more
@life:  lda     events
        and     #EV_LIFE
        beq     @death
        lda     lives
        cmp     #MAX_LIVES
        bcs     @death
        inc     lives
@death: lda     events
        and     #EV_DIED
        beq     @end
        lda     lives           ; a death takes a life
        beq     @end
        dec     lives
@end:   rts

; A = the direction in_stick holds, or NO_DIR (N set) when it is let go.
stick_dir:
        lda     in_stick
        ldx     #3
@bit:   lsr     a
        bcc     @found
        dex
        bpl     @bit
        lda     #NO_DIR
        rts
@found: lda     stick_dirs,x
        rts
