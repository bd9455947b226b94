// Taking names apart: a path's last component, and a list (a search path,
// the parts of a path, the lines of a text) split at its separator. No
// system calls: the strings only.
#pragma once

#include <string>
#include <vector>

// The last component of a path: what follows its last "/" (on Windows
// also "\"); the whole path when it has none.
std::string fileNameOf(const std::string& path);

// The pieces between the separators, empty ones included: "a::b" gives
// "a", "" and "b"; "" gives one empty piece.
std::vector<std::string> splitAt(const std::string& text, char separator);
