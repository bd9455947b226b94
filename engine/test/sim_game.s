; The game (game.s with draw.s, beams.s, the rules, the controls and the
; sound) for the sim65 test of its flow. This stands in for the display's
; hardware side (display.s): it shows nothing, notes what the game asked to
; show, and its wait for the next frame hands each frame to the test
; (on_frame in C), which sets the inputs and looks at what is drawn. It
; also gives the test the game's state under C names.

.include "zp.inc"
.include "tiles.inc"

.import _on_frame
.import main, order_table, text_start, text_end, message, level_reached
.import status_line, hint_line, screen, tilemap, shot_on, shot_px
.export display_init, show_text, show_game, wait_frame
.export _game_main := main
.export _order_table := order_table, _text_start := text_start, _text_end := text_end
.export _message := message, _level_reached := level_reached
.export _status_line := status_line, _hint_line := hint_line, _screen := screen
.export _tilemap := tilemap, _shot_on := shot_on, _shot_px := shot_px
.export _lv_index := lv_index, _view_y := view_y
.export _shown_page, _showing_game, _beam_chars

.segment "DATA"
_shown_page:    .word 0         ; the text page shown last
_showing_game:  .byte 0         ; non-zero while the game screen shows

.segment "RODATA"
; The left characters of a beam up or down, across, and both.
_beam_chars:    .byte BEAM_V_MAP, BEAM_H_MAP, BEAM_X_MAP

.segment "CODE"

display_init:
        rts

show_text:
        sta     _shown_page
        stx     _shown_page+1
        lda     #0
        sta     _showing_game
        rts

show_game:
        lda     #1
        sta     _showing_game
        rts

wait_frame:
        jmp     _on_frame
