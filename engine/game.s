; The game flow: the Start page, the levels in the order of the order
; table, lives, and the Koniec page after the last level.

.include "atari.inc"
.include "zp.inc"
.include "tiles.inc"
.include "text.inc"
.include "rules.inc"

.import display_init, show_text, show_game, draw_level, draw_status
.import set_wall, place_robot, wait_frame, two_digits
.import status_level, status_lives
.import __BSS_RUN__, __BSS_SIZE__, __PMG_RUN__, __PMG_SIZE__
.export main, order_table, text_start, text_end

LEVELS          = $5000         ; slot s is loaded at LEVELS + $200 * s
LV_SLOT         = 496           ; slot number and wall pattern (bits 5..7)
LV_SCREWS       = 497           ; BCD
LV_COLORS       = 498           ; registers 0..5
ORDER_FIRST     = $80           ; order table byte of slot 0
ORDER_SLOTS     = 32
START_LIVES     = 3
MAX_LIVES       = 9
STEP_FRAMES     = 8             ; one cell per step; the robot glides 1/8 a frame
CELL_PX         = 8             ; colour clocks per tile
CELL_PY         = 8             ; player lines per tile
PAUSE_EXIT      = 25
PAUSE_DIED      = 50
MSG_LINE        = 3 * 32        ; messages stand on the 4th of the 8 lines
MSG_NUMBER      = 8             ; column of the level number in msg_no_robot

; The editor writes the order table and the text pages here, at fixed
; offsets of the disk file.
.segment "GAMEDATA"
order_table:    .res ORDER_SLOTS
text_start:     .res 256
text_end:       .res 256

.segment "BSS"
message:        .res 256
; Direction of the last push of the stick since the previous step ($FF:
; none), so a tap shorter than a step still moves the robot.
stick_latch:    .res 1

.segment "RODATA"
; Short messages on a text page, one line each.
msg_no_levels:  screen_text "   BRAK POZIOMOW W TYM ZESTAWIE"
msg_no_levels_end:
msg_no_robot:   screen_text " POZIOM 00 BEZ ROBOTA: POMINIETY"
msg_no_robot_end:
msg_game_over:  screen_text "           KONIEC GRY"
msg_game_over_end:

.segment "CODE"

main:
        cld
        jsr     clear_ram
        jsr     display_init
title:
        lda     #<text_start
        ldx     #>text_start
        jsr     show_text
        jsr     wait_fire
        lda     order_table
        jsr     order_slot
        bcc     @play
        ldx     #msg_no_levels - msg_no_levels
        ldy     #msg_no_levels_end - msg_no_levels
        jsr     show_message
        jmp     title
@play:
        lda     #START_LIVES
        sta     lives
        lda     #0
        sta     lv_index

start_level:
        jsr     load_level
        bcc     @playable
        ldx     #msg_no_robot - msg_no_levels
        ldy     #msg_no_robot_end - msg_no_levels
        jsr     fill_message
        lda     lv_index        ; the level's number, as the status line shows it
        clc
        adc     #1
        jsr     two_digits
        sta     message + MSG_LINE + MSG_NUMBER + 1
        sty     message + MSG_LINE + MSG_NUMBER
        jsr     show_filled_message
        jmp     next_level
@playable:
        jsr     show_game

play:
        jsr     frame
        bcs     play            ; finish gliding before the next step
        lda     step_wait
        bne     play
        lda     #STEP_FRAMES
        sta     step_wait
        jsr     game_step
        lda     events
        and     #EV_DIED
        bne     died
        lda     events
        and     #EV_EXIT
        bne     exited
        jmp     play

died:
        lda     #SND_LIFE_LOST
        jsr     sound_play
        ldx     #PAUSE_DIED
@flash:                         ; the robot flickers while the sound plays
        txa
        pha
        jsr     frame
        pla
        tax
        asl     a
        asl     a
        asl     a
        asl     a
        ora     #$0F
        sta     PCOLR0
        dex
        bne     @flash
        dec     lives
        bne     start_level
        ldx     #msg_game_over - msg_no_levels
        ldy     #msg_game_over_end - msg_no_levels
        jsr     show_message
        jmp     title

exited:
        ldx     #PAUSE_EXIT
        jsr     pause
next_level:
        inc     lv_index
        lda     lv_index
        cmp     #ORDER_SLOTS
        bcs     @last
        tax
        lda     order_table,x
        jsr     order_slot
        bcs     @last
        jmp     start_level
@last:
        lda     #<text_end
        ldx     #>text_end
        jsr     show_text
        jsr     wait_fire
        jmp     title

; Zeroes the RAM that is not loaded from the disk.
clear_ram:
        lda     #<__BSS_RUN__
        sta     scr_ptr
        lda     #>__BSS_RUN__
        sta     scr_ptr+1
        ldx     #>(__BSS_SIZE__ + 255)
        jsr     clear_pages
        lda     #<__PMG_RUN__
        sta     scr_ptr
        lda     #>__PMG_RUN__
        sta     scr_ptr+1
        ldx     #>__PMG_SIZE__
clear_pages:
        lda     #0
        tay
@loop:
        sta     (scr_ptr),y
        iny
        bne     @loop
        inc     scr_ptr+1
        dex
        bne     @loop
        rts

; Carry clear when order table byte A names a slot; then A = slot.
order_slot:
        sec
        sbc     #ORDER_FIRST
        cmp     #ORDER_SLOTS
        rts

; Copies the level of order table place lv_index to level_buf and starts
; it. Carry set when it has no robot.
load_level:
        ldx     lv_index
        lda     order_table,x
        and     #ORDER_SLOTS - 1
        asl     a               ; slot * 2 pages
        clc
        adc     #>LEVELS
        sta     lv_ptr+1
        lda     #0
        sta     lv_ptr
        ldy     #0              ; cells 0..255
@first:
        lda     (lv_ptr),y
        sta     level_buf,y
        iny
        bne     @first
        inc     lv_ptr+1        ; the rest of the level lies in its 2nd page
@second:
        lda     (lv_ptr),y
        sta     level_buf+256,y
        iny
        cpy     #LEVEL_CELLS - 256
        bne     @second

        ldy     #LV_COLORS + 5 - 256
        lda     (lv_ptr),y
        sta     PCOLR0
        ldx     #4
@color:
        dey
        lda     (lv_ptr),y
        sta     pf_colors,x
        dex
        bpl     @color
        ldy     #LV_SLOT - 256
        lda     (lv_ptr),y
        lsr     a
        lsr     a
        lsr     a
        lsr     a
        lsr     a
        jsr     set_wall
        ldy     #LV_SCREWS - 256
        lda     (lv_ptr),y
        jsr     rules_init
        bcs     @done
        lda     #0
        sta     dirty
        lda     #$FF            ; a push from before the level doesn't count
        sta     stick_latch
        lda     #1
        sta     step_wait
        ldx     lv_index
        inx
        stx     status_level
        jsr     draw_level
        jsr     update_status
        jsr     snap_robot
        clc
@done:
        rts

; One game step: the joystick moves or fires, then things that move by
; themselves move.
game_step:
        lda     #0
        sta     events
        jsr     read_stick
        bpl     @pushed
        lda     stick_latch     ; let go already: the tap still counts
@pushed:
        ldx     #$FF
        stx     stick_latch
        tax                     ; sets N again for the direction in A
        bmi     @tick
        ldx     STRIG0
        bne     @step
        jsr     rules_fire
        jmp     @moved
@step:
        jsr     rules_step
@moved:
        sta     events
        and     #EV_TELEPORT
        beq     @tick
        jsr     snap_robot
@tick:
        lda     events
        and     #EV_DIED | EV_EXIT
        bne     @sounds
        jsr     rules_tick
        ora     events
        sta     events
@sounds:
        lda     events
        and     #EV_LIFE
        beq     @no_life
        lda     lives
        cmp     #MAX_LIVES
        bcs     @no_life
        inc     lives
@no_life:
        lda     events
        ldx     #SND_SCREW
        and     #EV_SCREW
        bne     @sound
        lda     events
        ldx     #SND_DOOR
        and     #EV_DOOR
        bne     @sound
        lda     events
        ldx     #SND_PUSH
        and     #EV_PUSH
        beq     @redraw
@sound:
        txa
        jsr     sound_play
@redraw:
        lda     dirty
        beq     @status
        lda     #0
        sta     dirty
        jsr     draw_level
@status:
        jmp     update_status

; A = direction 0..3 of the joystick, or negative when it is let go.
read_stick:
        lda     STICK0
        ldx     #3
@dir:
        lsr     a
        bcc     @found
        dex
        bpl     @dir
        lda     #$FF
        rts
@found:
        lda     stick_dir,x
        rts
.segment "RODATA"
; STICK0 bits, low first: up, down, left, right (0 when pushed).
; X counts down from 3 as the bits are shifted out.
stick_dir:      .byte 1, 3, 2, 0
.segment "CODE"

update_status:
        lda     lives
        sta     status_lives
        jmp     draw_status

; Puts the robot straight on its cell, without gliding.
snap_robot:
        jsr     robot_target
        lda     target_px
        sta     robot_px
        lda     target_py
        sta     robot_py
        jmp     place_robot

robot_target:
        lda     robot_x
        asl     a
        asl     a
        asl     a
        sta     target_px
        lda     robot_y
        asl     a
        asl     a
        asl     a
        sta     target_py
        rts

; One frame: sound, the step clock, and the robot glides one step towards
; its cell. Carry set while it has not arrived.
frame:
        jsr     wait_frame
        jsr     read_stick
        bmi     @no_push
        sta     stick_latch
@no_push:
        jsr     sound_tick
        lda     step_wait
        beq     @clock_done
        dec     step_wait
@clock_done:
        lda     #0
        sta     ATRACT          ; only the keyboard stops the colour cycling
        jsr     robot_target
        lda     robot_px
        cmp     target_px
        beq     @y
        bcc     @right
        dec     robot_px
        bcs     @y
@right:
        inc     robot_px
@y:
        lda     robot_py
        cmp     target_py
        beq     @place
        bcc     @down
        dec     robot_py
        bcs     @place
@down:
        inc     robot_py
@place:
        jsr     place_robot
        lda     robot_px
        eor     target_px
        bne     @gliding
        lda     robot_py
        cmp     target_py
        beq     @arrived
@gliding:
        sec
        rts
@arrived:
        clc
        rts

; X frames of gliding and sound.
pause:
        txa
        pha
        jsr     frame
        pla
        tax
        dex
        bne     pause
        rts

; Waits until the trigger is pressed and let go; a sound still playing
; runs to its end meanwhile.
wait_fire:
        jsr     idle_frame
        lda     STRIG0
        beq     wait_fire       ; still held from before
@press:
        jsr     idle_frame
        lda     STRIG0
        bne     @press
@release:
        jsr     idle_frame
        lda     STRIG0
        beq     @release
        rts

idle_frame:
        jsr     wait_frame
        jmp     sound_tick

; Shows msg_no_levels+X .. +Y-1 on a text page until fire.
show_message:
        jsr     fill_message
show_filled_message:
        lda     #<message
        ldx     #>message
        jsr     show_text
        jmp     wait_fire

fill_message:
        sty     tmp
        lda     #0
        ldy     #0
@clear:
        sta     message,y
        iny
        bne     @clear
@copy:
        lda     msg_no_levels,x
        sta     message + MSG_LINE,y
        iny
        inx
        cpx     tmp
        bne     @copy
        rts
