// Windows takes file names and command lines in UTF-16; the program keeps
// every string in UTF-8. These convert at the boundary, at every call that
// hands a name to the system or takes one from it. Windows only.
#pragma once

#ifdef _WIN32

#include <string>

// Invalid sequences become U+FFFD; an empty string gives an empty string.
std::wstring toUtf16(const std::string& utf8);
std::string toUtf8(const std::wstring& utf16);

// `path` in the form the file calls take at any length: made absolute
// against the working directory with "." and ".." resolved and "/" turned
// into "\", then "\\?\" in front (or "\\?\UNC\" for a share), which lifts
// the 260-character limit. A device name (NUL, COM1) stays the device's
// "\\.\" name. Empty when it cannot be made absolute.
std::wstring extendedPath(const std::string& path);
// An extended path in its ordinary form again, for programs that take no
// other: "\\?\C:\x" as "C:\x", "\\?\UNC\server\x" as "\\server\x".
std::string ordinaryPath(const std::wstring& path);

// The name in capitals, as Windows' file systems compare names: two
// spellings of one file differ at most in case ("C:\Gry\A.atr" and
// "c:\gry\a.atr"), so their capitals are equal.
std::string foldedName(const std::string& utf8);

// Windows' own words for one of its error numbers, without the final
// period: in English where the system has them (a Polish system may not),
// else, unless `englishOnly`, in the system's language; empty when there
// are none.
std::string windowsMessage(unsigned long code, bool englishOnly);

#endif
