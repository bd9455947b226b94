#include "core/winpath.h"

#ifdef _WIN32

#include <windows.h>

std::wstring toUtf16(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], length);
    return wide;
}

std::string toUtf8(const std::wstring& utf16)
{
    if (utf16.empty())
        return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), &narrow[0], length, nullptr, nullptr);
    return narrow;
}

std::wstring extendedPath(const std::string& path)
{
    const std::wstring wide = toUtf16(path);
    if (wide.empty())
        return std::wstring();
    // Already in the form the prefix gives: taken as it is.
    if (wide.compare(0, 4, L"\\\\?\\") == 0)
        return wide;
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(wide.c_str(), DWORD(full.size()), &full[0], nullptr);
        if (length == 0)
            return std::wstring();
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    if (full.compare(0, 4, L"\\\\.\\") == 0)
        return full;
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string ordinaryPath(const std::wstring& path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return toUtf8(L"\\\\" + path.substr(8));
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return toUtf8(path.substr(4));
    return toUtf8(path);
}

std::string foldedName(const std::string& utf8)
{
    std::wstring wide = toUtf16(utf8);
    if (!wide.empty())
        CharUpperBuffW(&wide[0], DWORD(wide.size()));
    return toUtf8(wide);
}

std::string windowsMessage(unsigned long code, bool englishOnly)
{
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    wchar_t text[512];
    DWORD length = FormatMessageW(flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text,
                                  DWORD(sizeof text / sizeof text[0]), nullptr);
    if (length == 0 && !englishOnly)
        length = FormatMessageW(flags, nullptr, code, 0, text, DWORD(sizeof text / sizeof text[0]), nullptr);
    while (length > 0 && (text[length - 1] == L' ' || text[length - 1] == L'.' || text[length - 1] == L'\r' ||
                          text[length - 1] == L'\n'))
        --length;
    return toUtf8(std::wstring(text, length));
}

#endif
