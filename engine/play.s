; The player's controls over the rules. Once a frame play_frame takes the
; stick, the trigger and the keys from zero page (in_stick, in_trig,
; in_keys), and every STEP_FRAMES frames it moves or fires and runs the
; rules' tick. No hardware is touched here: the game fills in_* from the
; hardware, and sim65 tests or an embedded 6502 fill them directly.
;
; One push, one step: a push of the stick is kept until the next step
; (so a tap shorter than a step still moves the robot one cell), and
; while the stick is held each step moves one cell; the step after it is
; let go moves nothing. Fire with a direction shoots instead of walking:
; once for each press of the trigger or new push of the stick, and again
; every FIRE_REPEAT steps while both stay held. The space bar or START
; pauses and resumes; OPTION or Esc restarts the level for a life.

PLAY_MODULE     = 1
.include "zp.inc"
.include "rules.inc"

.export play_start, play_frame

STEP_FRAMES     = 8             ; frames a step; the robot glides 1/8 cell a frame
FIRE_REPEAT     = 4             ; steps between the shots of a held trigger
MAX_LIVES       = 9
NO_DIR          = $FF

.segment "RODATA"
; in_stick bits, low first: up, down, left, right (0 when pushed). X counts
; down from 3 as the bits are shifted out.
stick_dirs:     .byte DIR_RIGHT, DIR_LEFT, DIR_DOWN, DIR_UP

.segment "CODE"

; At every (re)start of a level, after rules_init. Whatever is held now was
; pressed before the level began: only the stick still held moves.
play_start:
        lda     #NO_DIR
        sta     stick_latch
        lda     #0
        sta     fire_latch
        sta     fire_wait
        sta     paused
        sta     events
        sta     events_more
        lda     #1              ; the first step at the next frame
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
@no_pause:
        lda     paused
        bne     @done           ; nothing moves, nothing is read

        jsr     stick_dir
        cmp     stick_last
        beq     @stick_kept
        sta     stick_last
        tax
        bmi     @stick_kept     ; let go
        sta     stick_latch     ; a new push
@stick_kept:
        lda     in_trig
        bne     @trig_kept
        lda     trig_last
        beq     @trig_kept      ; held since before
        lda     #1
        sta     fire_latch
@trig_kept:
        lda     in_trig
        sta     trig_last

        lda     step_wait
        beq     @due
        dec     step_wait
        bne     @done
@due:   lda     gliding
        bne     @done           ; the robot's picture reaches its cell first
        lda     #STEP_FRAMES
        sta     step_wait
        jsr     step
@done:  ldx     events_more
        lda     events
        rts

; One game step: the robot moves or fires, then what moves by itself.
step:
        lda     fire_wait
        beq     @ready
        dec     fire_wait
@ready: lda     stick_last
        bpl     @direction
        lda     stick_latch     ; let go already: the push still counts
@direction:
        tay                     ; the direction, or NO_DIR
        lda     in_trig
        beq     @fire
        lda     fire_latch
        bne     @fire
        tya
        bmi     @tick
        jsr     rules_step
        jmp     @acted
@fire:  tya                     ; fire without a direction does nothing
        bmi     @tick
        ldx     fire_latch
        bne     @shoot
        ldx     stick_latch
        bpl     @shoot          ; a new push
        ldx     fire_wait
        bne     @tick           ; both held: the repeat is not due
@shoot: ldx     #FIRE_REPEAT
        stx     fire_wait
        jsr     rules_fire
@acted: sta     events
        stx     events_more
@tick:  lda     #NO_DIR
        sta     stick_latch
        lda     #0
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
        beq     @end
        lda     lives
        cmp     #MAX_LIVES
        bcs     @end
        inc     lives
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
