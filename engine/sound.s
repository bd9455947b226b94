; Sound effects on POKEY channel 1: sound_play starts one, sound_tick
; (once a frame) slides its pitch and fades it out, then falls silent.
; Other channels are left to the rest of the game.

SOUND_MODULE    = 1
.include "atari.inc"
.include "zp.inc"
.include "rules.inc"

.export sound_play, sound_tick

.segment "RODATA"
; Per effect SND_SCREW..SND_AMMO: starting pitch, pitch change a frame (a
; smaller AUDF value is a higher note), length in frames, and distortion
; ($A0 pure tone, $C0 buzz, $80 noise). Picking things up rises, losing
; falls; the opened exit is the longest rise, the bomb the longest noise.
;                screw door push lost  open shot boom tele  key  batt ammo
snd_start:  .byte $30, $60, $18, $40,  $60, $0C, $18, $14,  $28, $50, $20
snd_slide:  .byte <-2, 4,   0,   5,    <-3, 3,   4,   6,    <-1, <-4, 0
snd_length: .byte 10,  14,  6,   32,   28,  8,   30,  18,   8,   16,  8
snd_tone:   .byte $A0, $C0, $80, $A0,  $A0, $80, $80, $C0,  $A0, $A0, $C0
        .assert * - snd_tone = SND_COUNT, error, "one entry per effect"

.segment "CODE"

; A = effect (SND_ in rules.inc); replaces the one playing. Anything else
; is ignored.
sound_play:
        tax
        dex
        cpx     #SND_COUNT
        bcs     @none
        lda     #0
        sta     snd_timer       ; a frame arriving now finds no effect
        sta     AUDCTL          ; plain 64 kHz clock, channels apart
        lda     #3
        sta     SKCTL           ; POKEY out of its reset state
        lda     snd_start,x
        sta     snd_freq
        sta     AUDF1
        lda     snd_slide,x
        sta     snd_step
        lda     snd_tone,x
        sta     snd_ctl
        ora     #$0F
        sta     AUDC1
        lda     snd_length,x
        sta     snd_timer
@none:  rts

; Once a frame. Fades out over the last 15 frames of an effect.
sound_tick:
        lda     snd_timer
        beq     @idle
        dec     snd_timer
        beq     @off
        lda     snd_freq
        clc
        adc     snd_step
        sta     snd_freq
        sta     AUDF1
        lda     snd_timer
        cmp     #$10
        bcc     @vol
        lda     #$0F
@vol:   ora     snd_ctl
        sta     AUDC1
@idle:  rts
@off:   lda     #0
        sta     AUDC1
        rts
