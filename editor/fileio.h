// Whole-file reads and atomic whole-file writes: the only code of the game
// image that touches the disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file into `out`. On failure returns false and sets `error`
// to a message naming the path and the reason.
bool readFile(const std::string& path, std::vector<uint8_t>& out, std::string& error);

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path` only when every step succeeded. On failure the temporary file is
// removed, an existing `path` is left as it was, and `error` names the path
// and the reason.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error);
