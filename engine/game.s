; The game flow: the Start page (with its tune, and SELECT for a level
; reached before), the levels in the order of the order table, lives, a
; continue after game over, and the Koniec page after the last level.
; Each frame it hands the joystick and the keys to the controls (play.s)
; and shows what they report: the robot gliding, a shot flying, sounds,
; the level with its beams, the status line, and the view over the level.

.include "atari.inc"
.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "text.inc"
.include "rules.inc"

.import display_init, show_text, show_game, wait_frame
.import draw_level, draw_status, set_wall, set_view, place_players, two_digits
.import beam_flicker, put_hint, status_level
.import shot_on, shot_px, shot_py, shot_across
.importzp ST_PLAY, ST_PAUSE, ST_LEVEL, ST_READY, ST_DONE, VIEW_MAX
.import beams_start, beams_find
.import __BSS_RUN__, __BSS_SIZE__, __PMG_RUN__, __PMG_SIZE__
.export main, order_table, text_start, text_end, message, level_reached

START_LIVES     = 3
CELL_PX         = 8             ; colour clocks per tile
CELL_PY         = 8             ; player lines per tile
PAUSE_EXIT      = 50            ; frames of POZIOM UKONCZONY (a second on PAL)
PAUSE_DIED      = 50
PAN_HOLD        = 32            ; frames the look over the level stays at the top
PAN_GLIDE       = 64            ; then frames it takes down to the robot
PAN_FRAMES      = PAN_HOLD + PAN_GLIDE
LOOK_SPEED      = 2             ; player lines a frame the paused view scrolls
SHOT_SPEED      = 8             ; colour clocks or player lines a frame: a cell
FOLLOW_ABOVE    = 44            ; player lines above the robot in a following view
MSG_LINE        = 3             ; messages stand on the 4th of the 8 lines
MSG_NUMBER      = 8             ; column of the level number in the no-robot line
MSG_CONTINUE_AT = 26            ; and in the line of the continue

.assert PAN_GLIDE = 64, error, "pan_view divides by 64"

; The editor writes the order table and the text pages here, at fixed
; offsets of the disk file.
.segment "GAMEDATA"
order_table:    .res ORDER_SLOTS
text_start:     .res 256
text_end:       .res 256

; Kept from game to game, and over RESET: the furthest place in the order
; table played since the disk was booted (the Start page offers them).
.segment "DATA"
level_reached:  .byte 0

.segment "BSS"
message:        .res 256
opening_next:   .res 1          ; `opening` for the level being started
choice:         .res 1          ; the Start page's level (place in the order table)
fire_phase:     .res 1          ; fire_done: 0 let go first, 1 pressed, 2 let go
consol_last:    .res 1          ; console keys held at the last frame (1 = held)
shot_left:      .res 1          ; how far the flying shot still goes
shot_dir:       .res 1
mul_lo:         .res 1          ; pan_view's product
mul_by:         .res 1

.segment "RODATA"
; Lines of the message page, 32 characters each.
messages:
msg_no_levels = (* - messages) / 32
        screen_text "   BRAK POZIOMOW W TYM ZESTAWIE "
msg_no_robot = (* - messages) / 32
        screen_text " POZIOM 00 BEZ ROBOTA: POMINIETY"
msg_game_over = (* - messages) / 32
        screen_text "           KONIEC GRY           "
msg_continue = (* - messages) / 32
        screen_text "   FIRE: DALEJ OD POZIOMU 00    "
msg_to_start = (* - messages) / 32
        screen_text "     START: STRONA STARTOWA     "
        .assert * - messages = 5 * 32, error, "a message line is not 32 wide"
dir_dx:         .byte 0, SHOT_SPEED, 0, <-SHOT_SPEED
dir_dy:         .byte <-SHOT_SPEED, 0, SHOT_SPEED, 0

.segment "CODE"

main:
        cld
        jsr     clear_ram
        jsr     display_init
title:
        jsr     start_page
        sta     lv_index
        lda     order_table
        jsr     order_slot
        bcc     @play
        lda     #msg_no_levels
        jsr     show_message
        jmp     title
@play:
        lda     #START_LIVES
        sta     lives

; The level at lv_index opens: POZIOM n while the view looks over it.
open_level:
        lda     lv_index
        cmp     level_reached
        bcc     @known
        sta     level_reached
@known: lda     #OPENING_READY + PAN_FRAMES
        .byte   $2C             ; bit abs: skips the next load
; It starts again (a life lost, the restart key): GOTOWY? at once.
restart_level:
        lda     #OPENING_READY
        sta     opening_next
        jsr     load_level
        bcc     @playable
        lda     #msg_no_robot
        jsr     clear_message
        lda     lv_index        ; the level's number, as the status line shows it
        clc
        adc     #1
        jsr     two_digits
        sta     message + MSG_LINE * 32 + MSG_NUMBER + 1
        sty     message + MSG_LINE * 32 + MSG_NUMBER
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
        lda     events_more
        and     #EVX_RESTART
        bne     restart_level   ; free
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
        lda     lives           ; the controls took the life
        bne     restart_level
        jsr     game_over
        bcc     @continue
        jmp     title
@continue:
        lda     #START_LIVES    ; a continue, at the same level
        sta     lives
        jmp     open_level

exited:
        lda     #ST_DONE
        sta     shown_status
        jsr     draw_status
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
        jmp     open_level
@last:
        lda     #<text_end
        ldx     #>text_end
        jsr     show_page
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

; The Start page until fire, with its tune; SELECT steps through the
; levels reached so far. Returns the level chosen (its place in the order
; table) in A.
start_page:
        jsr     music_start
        lda     #<text_start
        ldx     #>text_start
        jsr     show_page
        lda     #0
        sta     choice
        jsr     show_choice
        jsr     begin_wait
@wait:  jsr     idle_frame
        jsr     console_pressed
        and     #CONSOL_SELECT
        beq     @fire
        ldx     choice          ; the next level reached, round to the first
        inx
        cpx     level_reached
        beq     @chosen
        bcc     @chosen
        ldx     #0
@chosen:
        stx     choice
        jsr     show_choice
@fire:  jsr     fire_done
        bcc     @wait
        jsr     music_stop
        lda     choice
        rts

; "SELECT: POZIOM nn" under the prompt once a level past the first was
; reached.
show_choice:
        lda     level_reached
        beq     @none
        ldx     choice
        inx
        txa
@none:  jmp     put_hint

; KONIEC GRY: fire continues at the level where the game ended (carry
; clear), START goes back to the Start page (carry set).
game_over:
        lda     #msg_game_over
        jsr     clear_message
        lda     #msg_continue
        ldy     #MSG_LINE + 2
        jsr     message_line
        lda     lv_index
        clc
        adc     #1
        jsr     two_digits
        sta     message + (MSG_LINE + 2) * 32 + MSG_CONTINUE_AT + 1
        sty     message + (MSG_LINE + 2) * 32 + MSG_CONTINUE_AT
        lda     #msg_to_start
        ldy     #MSG_LINE + 3
        jsr     message_line
        lda     #<message
        ldx     #>message
        jsr     show_page
        jsr     begin_wait
@wait:  jsr     idle_frame
        jsr     console_pressed
        and     #CONSOL_START
        bne     @start
        jsr     fire_done
        bcc     @wait
        clc
        rts
@start: sec
        rts

; Copies the level of order table place lv_index to level_buf and starts
; it, with opening_next for the controls' `opening`. Carry set when it has
; no robot.
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
        sta     PCOLR1          ; the robot's shots in its colour
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
        lda     opening_next
        sta     opening
        lda     #0
        sta     dirty
        sta     shot_on
        ldx     lv_index
        inx
        stx     status_level
        jsr     beams_start
        jsr     draw_level
        jsr     status_mode
        sta     shown_status
        jsr     draw_status
        jsr     snap_robot
        clc
@done:
        rts

; Shows what play_frame reported: the robot's jump through a teleport, a
; shot, a sound, the changed cells (once a shot has landed) and the
; status line.
show_step:
        lda     events
        and     #EV_TELEPORT
        beq     @shot
        jsr     snap_robot
@shot:  lda     events_more
        and     #EVX_SHOT
        beq     @sound
        jsr     start_shot
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
        lda     shot_on
        bne     @status         ; what the shot hit changes as it lands
        lda     #0
        sta     dirty
        jsr     beams_find
        jsr     draw_level
@status:
        jsr     status_mode
        cmp     shown_status
        bne     @draw
        lda     events
        ora     events_more
        beq     @done
@draw:  jsr     status_mode
        sta     shown_status
        jmp     draw_status
@done:  rts

; A = what the status line should show now (ST_ in draw.s).
status_mode:
        lda     #ST_PAUSE
        ldx     paused
        bne     @mode
        lda     #ST_PLAY
        ldx     opening
        beq     @mode
        lda     #ST_READY
        dex
        beq     @mode
        lda     #ST_LEVEL
@mode:  rts

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
CONSOL_SELECT   = $02
CONSOL_OPTION   = $04
SKSTAT_KEY      = $04

; Console keys pressed since the last call, as 1 bits (CONSOL_ values).
console_pressed:
        lda     CONSOL
        eor     #$07            ; 1 = held
        and     #$07
        tax
        eor     consol_last
        stx     consol_last
        and     consol_last
        rts

; Puts the robot straight on its cell, without gliding.
snap_robot:
        jsr     robot_target
        lda     target_px
        sta     robot_px
        lda     target_py
        sta     robot_py
        jmp     show_view

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

; One frame: the inputs, sound, the beams' flicker, and the robot glides
; one step towards its cell and the shot flies on (gliding is set while
; either moves); then the view and the players.
frame:
        jsr     wait_frame
        jsr     read_input
        jsr     sound_tick
        lda     #0
        sta     ATRACT          ; only the keyboard stops the colour cycling
        lda     RTCLOK+2
        jsr     beam_flicker
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
        beq     @shot
        bcc     @down
        dec     robot_py
        bcs     @shot
@down:
        inc     robot_py
@shot:  jsr     fly_shot
        jsr     show_view
        lda     robot_px
        eor     target_px
        sta     gliding
        lda     robot_py
        eor     target_py
        ora     shot_on
        ora     gliding
        sta     gliding
        rts

; The view: while paused the stick scrolls it over the whole level; while
; the level opens it looks from the top down to the robot; else it keeps
; the robot in the middle. Then the players as it shows them.
show_view:
        lda     paused
        beq     @follow
        lda     in_stick
        lsr     a               ; bit 0 clear: up
        bcs     @not_up
        lda     view_y
        sec
        sbc     #LOOK_SPEED
        bcs     @view
        lda     #0
        beq     @view
@not_up:
        lsr     a               ; bit 1 clear: down
        bcs     @show
        lda     view_y
        clc
        adc     #LOOK_SPEED
        cmp     #VIEW_MAX
        bcc     @view
        lda     #VIEW_MAX
        bcs     @view
@follow:
        lda     robot_py        ; the robot in the middle, within the level
        sec
        sbc     #FOLLOW_ABOVE
        bcs     @not_top
        lda     #0
@not_top:
        cmp     #VIEW_MAX
        bcc     @not_bottom
        lda     #VIEW_MAX
@not_bottom:
        ldx     opening
        cpx     #OPENING_READY + 1
        bcc     @view
        jsr     pan_view
@view:  sta     view_y
@show:  jsr     set_view
        jmp     place_players

; A = the view that follows the robot, X = opening during the look over
; the level: A = the view of this frame of the look, at the top for its
; first PAN_HOLD frames, then gliding down to reach A at its last.
pan_view:
        cpx     #OPENING_READY + PAN_GLIDE + 1
        bcc     @glide
        lda     #0
        rts
@glide: sta     mul_lo          ; A * (PAN_GLIDE + 1 - frames left) / PAN_GLIDE
        txa
        eor     #$FF
        sec
        adc     #OPENING_READY + PAN_GLIDE + 1
        sta     mul_by
        lda     mul_lo
        sta     tmp
        lda     #0
        sta     mul_lo
        ldx     #8
@bit:   asl     mul_lo
        rol     a
        asl     mul_by
        bcc     @next
        tay
        lda     mul_lo
        clc
        adc     tmp
        sta     mul_lo
        tya
        adc     #0
@next:  dex
        bne     @bit
        asl     mul_lo          ; / 64: the product's high byte after two shifts
        rol     a
        asl     mul_lo
        rol     a
        rts

; A shot was fired (shot_path): it flies from the robot's cell over the
; floor it crosses and into the cell that stopped it (or off the level).
start_shot:
        lda     shot_path
        and     #$1F            ; the floor cells
        tax
        lda     shot_path
        and     #$20            ; off the level: no cell to fly into
        bne     @cells
        inx
@cells: txa
        asl     a
        asl     a
        asl     a
        sta     shot_left
        lda     shot_path
        rol     a
        rol     a
        rol     a
        and     #3
        sta     shot_dir
        and     #1
        sta     shot_across
        lda     target_px
        sta     shot_px
        lda     target_py
        sta     shot_py
        lda     shot_left
        sta     shot_on
        rts

; The shot flies a cell a frame, and is gone once it has arrived.
fly_shot:
        lda     shot_on
        beq     @done
        lda     shot_left
        bne     @fly
        sta     shot_on
        rts
@fly:   sec
        sbc     #SHOT_SPEED
        sta     shot_left
        ldx     shot_dir
        lda     shot_px
        clc
        adc     dir_dx,x
        sta     shot_px
        lda     shot_py
        clc
        adc     dir_dy,x
        sta     shot_py
@done:  rts

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
        jsr     begin_wait
@wait:  jsr     idle_frame
        jsr     fire_done
        bcc     @wait
        rts

; Before fire_done and console_pressed: what is held now was pressed
; before the page came.
begin_wait:
        lda     #0
        sta     fire_phase
        jsr     console_pressed
        rts

; Once a frame on a page: carry set once the trigger, let go first, was
; pressed and let go.
fire_done:
        lda     STRIG0          ; 0: pressed
        ldx     fire_phase
        beq     @let_go
        dex
        beq     @press
        cmp     #1              ; let go: carry set
        rts
@press: cmp     #1
        bcs     @wait           ; not yet
        inc     fire_phase
        clc
        rts
@let_go:
        cmp     #1
        bcc     @wait           ; still held from before
        inc     fire_phase
@wait:  clc
        rts

idle_frame:
        jsr     wait_frame
        jmp     sound_tick

; Shows the 256 screen codes at A (low), X (high) as a text page, with
; nothing under its prompt.
show_page:
        pha
        txa
        pha
        lda     #0
        jsr     put_hint
        pla
        tax
        pla
        jmp     show_text

; Shows message line A alone on the message page until fire.
show_message:
        jsr     clear_message
show_filled_message:
        lda     #<message
        ldx     #>message
        jsr     show_page
        jmp     wait_fire

; Clears the message page and puts message line A on its line MSG_LINE.
clear_message:
        pha
        lda     #0
        tay
@clear:
        sta     message,y
        iny
        bne     @clear
        pla
        ldy     #MSG_LINE
        ; fall through

; Copies message line A to line Y of the message page.
message_line:
        asl     a
        asl     a
        asl     a
        asl     a
        asl     a
        tax
        tya
        asl     a
        asl     a
        asl     a
        asl     a
        asl     a
        tay
        lda     #32
        sta     tmp
@copy:  lda     messages,x
        sta     message,y
        inx
        iny
        dec     tmp
        bne     @copy
        rts
