; POKEY's sound: effects on channel 1 (sound_play starts one, sound_tick
; slides its pitch and fades it out, then falls silent) and the Start
; page's tune on channels 2-4 (music_start, music_stop), which sound_tick
; plays on while it is on.

SOUND_MODULE    = 1
.include "atari.inc"
.include "zp.inc"
.include "rules.inc"

.export sound_play, sound_tick, music_start, music_stop

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

; ---- The tune: "Robot's Stroll", our own. Four bars in A minor (A minor,
; G, F, E), a row an eighth note of ROW_FRAMES frames, looping: a melody
; on channel 2, a bass on channel 3 and a tick of noise on channel 4.
ROW_FRAMES      = 8
ROWS            = 32
VOICES          = 3
; Note numbers in a row: HOLD lets the voice ring on, REST silences it.
HOLD            = 0
REST            = 1
; AUDF values of the notes at POKEY's 64 kHz clock (PAL: 1773447 / 28
; Hz): AUDF = round(clock / (2 * frequency)) - 1.
notes:          .byte 0, 0      ; HOLD, REST
E3 = * - notes
                .byte 191
F3 = * - notes
                .byte 180
G3 = * - notes
                .byte 161
A3 = * - notes
                .byte 143
E4 = * - notes
                .byte 95
F4 = * - notes
                .byte 90
G4 = * - notes
                .byte 80
GS4 = * - notes
                .byte 75
A4 = * - notes
                .byte 71
B4 = * - notes
                .byte 63
C5 = * - notes
                .byte 60
D5 = * - notes
                .byte 53
E5 = * - notes
                .byte 47
TICK = * - notes                ; the noise's pitch
                .byte 8
__ = HOLD
xx = REST

; Row by row: melody, bass, tick.
score:
        .byte   E5,  A3, xx     ; bar 1: A minor
        .byte   __,  __, __
        .byte   A4,  A4, TICK
        .byte   C5,  __, __
        .byte   E5,  A3, xx
        .byte   __,  __, __
        .byte   D5,  A4, TICK
        .byte   C5,  __, __
        .byte   D5,  G3, xx     ; bar 2: G
        .byte   __,  __, __
        .byte   G4,  G4, TICK
        .byte   B4,  __, __
        .byte   D5,  G3, xx
        .byte   __,  __, __
        .byte   C5,  G4, TICK
        .byte   B4,  __, __
        .byte   C5,  F3, xx     ; bar 3: F
        .byte   __,  __, __
        .byte   F4,  F4, TICK
        .byte   A4,  __, __
        .byte   C5,  F3, xx
        .byte   E5,  __, __
        .byte   D5,  F4, TICK
        .byte   C5,  __, __
        .byte   B4,  E3, xx     ; bar 4: E
        .byte   __,  __, __
        .byte   GS4, E4, TICK
        .byte   B4,  __, __
        .byte   E5,  E3, xx
        .byte   __,  __, __
        .byte   __,  E4, TICK
        .byte   xx,  __, __
        .assert * - score = ROWS * VOICES, error, "the score has ROWS rows"
; Per voice: distortion, loudness of a new note, how much quieter a frame,
; and the least it fades to while it rings.
voice_tone:     .byte $A0, $A0, $80
voice_attack:   .byte 10, 9, 6
voice_decay:    .byte 1, 1, 2
voice_floor:    .byte 5, 0, 0

.segment "BSS"
music_on:       .res 1
music_pos:      .res 1          ; offset of the row playing in score
music_frame:    .res 1          ; frames of the row played
music_volume:   .res VOICES

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
        jsr     pokey_on
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

; POKEY as the sound wants it: X is kept.
pokey_on:
        lda     #0
        sta     AUDCTL          ; plain 64 kHz clock, channels apart
        lda     #3
        sta     SKCTL           ; POKEY out of its reset state
        rts

; Once a frame: the effect fades out over its last 15 frames; the tune
; plays on.
sound_tick:
        jsr     music_tick
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

; The tune from its start, looping until music_stop.
music_start:
        jsr     pokey_on
        lda     #0
        sta     music_pos
        sta     music_frame
        ldx     #VOICES - 1
@quiet: sta     music_volume,x
        dex
        bpl     @quiet
        lda     #1
        sta     music_on
        rts

music_stop:
        lda     #0
        sta     music_on
        sta     AUDC2
        sta     AUDC3
        sta     AUDC4
        rts

; A frame of the tune: a row's notes start at its first frame, and every
; voice fades as it rings.
music_tick:
        lda     music_on
        beq     @done
        ldx     #0              ; voice
        ldy     music_pos
@voice: lda     music_frame
        bne     @fade
        lda     score,y         ; the row starts: a note, a rest or nothing
        beq     @fade
        cmp     #REST
        bne     @note
        lda     #0
        beq     @set
@note:  stx     tmp
        tax
        lda     notes,x
        ldx     tmp
        jsr     audf
        lda     voice_attack,x
        bne     @set
@fade:  lda     music_volume,x  ; quieter, down to the floor; a rest stays silent
        cmp     voice_floor,x
        bcc     @set
        beq     @set
        sec
        sbc     voice_decay,x
        bcc     @floor
        cmp     voice_floor,x
        bcs     @set
@floor: lda     voice_floor,x
@set:   sta     music_volume,x
        ora     voice_tone,x
        jsr     audc
        iny
        inx
        cpx     #VOICES
        bcc     @voice
        inc     music_frame
        lda     music_frame
        cmp     #ROW_FRAMES
        bcc     @done
        lda     #0
        sta     music_frame
        lda     music_pos
        clc
        adc     #VOICES
        cmp     #ROWS * VOICES
        bcc     @row
        lda     #0              ; round again
@row:   sta     music_pos
@done:  rts

; A to channel X + 2's AUDF or AUDC (the channels' registers alternate).
audf:   pha
        txa
        asl     a
        tax
        pla
        sta     AUDF2,x
        jmp     voice_back
audc:   pha
        txa
        asl     a
        tax
        pla
        sta     AUDC2,x
voice_back:
        txa
        lsr     a
        tax
        rts
