// Character and number codes shared by the editor and the game image:
// editor codes (ASCII with the Polish small letters and a few graphic signs
// at control codes) against the game's screen codes, and the packed BCD of
// the screw counts.
#pragma once

// Editor code to screen code. Codes the table does not name, including
// values outside 0..255, pass unchanged.
int ascii2atascii(int code);

// Screen code to editor code; the inverse of ascii2atascii on the codes the
// table names, every other value passes unchanged.
int atascii2ascii(int code);

// A number 0..99 as one packed BCD byte (42 -> 0x42); the low 8 bits of
// tens * 16 + units for any other value.
int dec2hex(int n);

// A packed BCD byte as its number (0x42 -> 42); any byte gives 0..165.
int hex2dec(int b);

// The editor codes a text page may hold: the characters the game's font can
// show (letters, digits, space and ! * , - . : ? @) and the control codes
// that stand for its Polish letters and picture signs.
bool isPageCharacter(int code);

// A screen code of a text page that the game shows as a character the
// editor can type and save back unchanged.
bool isShowableScreenCode(int code);
