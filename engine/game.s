; The game flow: the Start page, the levels in the order of the order
; table, lives, and the Koniec page after the last level. Each frame it
; hands the joystick and the keys to the controls (play.s) and shows what
; they report: the robot gliding, sounds, the level and the status line.

.include "atari.inc"
.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "text.inc"
.include "rules.inc"

.import display_init, show_text, show_game, draw_level, draw_status
.import set_wall, place_robot, wait_frame, two_digits
.import status_level
.import __BSS_RUN__, __BSS_SIZE__, __PMG_RUN__, __PMG_SIZE__
.export main, order_table, text_start, text_end

START_LIVES     = 3
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
        jsr     play_frame
        jsr     show_step
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
        jsr     read_input
        jsr     play_start
        lda     #0
        sta     dirty
        sta     shown_paused
        ldx     lv_index
        inx
        stx     status_level
        jsr     draw_level
        jsr     draw_status
        jsr     snap_robot
        clc
@done:
        rts

; Shows what play_frame reported: the robot's jump through a teleport, a
; sound, the changed cells and the status line.
show_step:
        lda     events
        and     #EV_TELEPORT
        beq     @sound
        jsr     snap_robot
@sound: lda     events
        and     #EV_DIED        ; the game flow sounds a lost life itself
        bne     @redraw
        ldx     #0
@find:  lda     sound_events,x
        and     events
        bne     @play
        lda     sound_events_more,x
        and     events_more
        bne     @play
        inx
        cpx     #SOUNDS
        bne     @find
        beq     @redraw
@play:  lda     sound_effects,x
        jsr     sound_play
@redraw:
        lda     dirty
        beq     @status
        lda     #0
        sta     dirty
        jsr     draw_level
@status:
        lda     events
        ora     events_more
        bne     @draw
        lda     paused
        cmp     shown_paused
        beq     @done
@draw:  lda     paused
        sta     shown_paused
        jmp     draw_status
@done:  rts

.segment "RODATA"
; The sound of a step, the first in this list whose event it reported.
sound_events:
        .byte   0,          0,          EV_TELEPORT, EV_SCREW,  0
        .byte   EV_LIFE,    0,          EV_DOOR,     0,         EV_PUSH
sound_events_more:
        .byte   EVX_BOOM,   EVX_OPENED, 0,           0,         EVX_KEY
        .byte   0,          EVX_AMMO,   0,           EVX_SHOT,  0
sound_effects:
        .byte   SND_BOOM,   SND_OPENED, SND_TELEPORT, SND_SCREW, SND_KEY
        .byte   SND_BATTERY, SND_AMMO,  SND_DOOR,    SND_SHOT,  SND_PUSH
SOUNDS = * - sound_effects
        .assert SOUNDS = sound_events_more - sound_events, error, "one event per sound"
.segment "CODE"

; The hardware's stick, trigger and keys into the controls' inputs: the
; space bar or START pauses, OPTION or Esc restarts.
read_input:
        lda     STICK0
        sta     in_stick
        lda     STRIG0
        sta     in_trig
        ldx     #0
        lda     CONSOL          ; 0 bits: keys held
        and     #CONSOL_START
        bne     @no_start
        ldx     #IN_PAUSE
@no_start:
        lda     CONSOL
        and     #CONSOL_OPTION
        bne     @no_option
        txa
        ora     #IN_RESTART
        tax
@no_option:
        lda     SKSTAT          ; bit 2 clear while a key is held
        and     #SKSTAT_KEY
        bne     @keys
        lda     KBCODE
        and     #$3F            ; with or without SHIFT and CONTROL
        cmp     #KEY_SPACE
        bne     @not_space
        txa
        ora     #IN_PAUSE
        tax
@not_space:
        cmp     #KEY_ESC
        bne     @keys
        txa
        ora     #IN_RESTART
        tax
@keys:  stx     in_keys
        rts

CONSOL_START    = $01
CONSOL_OPTION   = $04
SKSTAT_KEY      = $04

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

; One frame: the inputs, sound, and the robot glides one step towards its
; cell (gliding is set while it has not arrived).
frame:
        jsr     wait_frame
        jsr     read_input
        jsr     sound_tick
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
        sta     gliding
        lda     robot_py
        eor     target_py
        ora     gliding
        sta     gliding
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
