// The game part of a game image (everything before the level list) and where
// it comes from: the embedded default, a template file the user names, or
// the image a document was opened from. Pure functions over bytes, and one
// thin adapter that reads the files.
#pragma once

#include "core/error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Our own engine carries this text at this file offset, followed by two
// digits of its version.
constexpr size_t kEngineSignatureOffset = 32;
constexpr char kEngineSignature[] = "ZELBUN-ENGINE-";

// True when the bytes hold our engine's signature, of any version.
bool hasOurEngine(const uint8_t* image, size_t size);

// Where the chain of segments our engine's loader follows breaks. The
// loader reads the ATR header's 128-byte sectors: the boot record (its
// second byte the number of boot sectors), then after the boot sectors
// segment after segment (start and end address, both inclusive, low byte
// first, then the bytes; a start of $FFFF is skipped) until a start of
// zero. It loads nothing outside $2000-$8FFF.
enum class ChainFault {
    none,
    noAtrHeader,   // no 96 02 signature
    sectorSize,    // sectors other than 128 bytes
    noBootSectors, // the boot record asks for none
    bootCut,       // the file ends inside the boot sectors
    headerCut,     // the file ends inside a segment's addresses
    backwards,     // a segment ends before it starts
    outside,       // a segment loads outside $2000-$8FFF
    segmentCut,    // the file ends inside a segment's bytes
    endsEarly,     // the end marker comes before the level list
    overLevelList, // a segment runs over the start of the level list
};
struct ChainBreak {
    ChainFault fault = ChainFault::none;
    size_t offset = 0;          // file offset of the header or byte at fault
    unsigned start = 0, end = 0; // a segment's addresses (start: the sector size), where they matter
};

// The game part's chain, from the header to the level list at
// kLevelListOffset, where its segments must end exactly. The messages
// module words a break (describe(ChainBreak, Language)).
ChainBreak gamePartChainBreak(const uint8_t* image, size_t size);

// A template built from `bytes`: their first 11,168 bytes with an empty
// order table, followed by an empty level list. Fails when they lack the
// ATR signature, are shorter than a whole template, or carry our engine
// with a broken segment chain (brokenGamePart, at the byte where it breaks:
// the game would not boot). Another game's part is taken as it is.
Error templateFrom(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& tmpl);

// The template a document opened from `image` is saved with: the image's
// own game part; for an image of our engine (any version) the current
// engine, which is the session's template when that is ours and else the
// embedded one; for a file with no game part (no ATR signature, or cut short
// inside it) the session's template, as for a new document.
std::vector<uint8_t> templateForOpened(const std::vector<uint8_t>& image, const std::vector<uint8_t>& session,
                                       const std::vector<uint8_t>& embedded);

// Where the template of a session comes from, in order of precedence; an
// empty string names nothing.
struct TemplateSources {
    std::string optionPath;      // from the command line
    std::string environmentPath; // ZELBUN_TEMPLATE
    std::string dataDirPath;     // game.atr found in the data directories
};

struct ChosenTemplate {
    std::vector<uint8_t> bytes;
    std::string path;  // the file it came from; empty for the embedded one
    Error error;       // why the named file was refused; the embedded one is used then
};

// The first source that names a file, read and checked, or the embedded
// default when none does or the file named is refused.
ChosenTemplate chooseTemplate(const TemplateSources& sources, const std::vector<uint8_t>& embedded);
