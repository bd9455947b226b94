; Character sets and pictures made at build time from data/tiles.bmp and
; the editor's font (zelbun-gendata engine). ANTIC wants each character
; set on a 1 KB boundary: the CHARS area starts on one.

.export tiles_fnt, font_fnt, tilemap, robot_shape

.segment "CHARS"
tiles_fnt:      .incbin "tiles.fnt"     ; mode 5: two characters per tile
font_fnt:       .incbin "font.fnt"      ; mode 2, by screen code
tilemap:        .incbin "tilemap.bin"   ; tile code -> left character
robot_shape:    .incbin "robot.bin"     ; player 0, 8 lines
        .assert tiles_fnt & $3FF = 0, error, "tiles.fnt not on 1 KB"
        .assert font_fnt & $3FF = 0, error, "font.fnt not on 1 KB"
