// A stand-in for an emulator in the Windows tests: writes the words of its
// command line, as Windows splits them, one a line in UTF-8 to the file
// ZELBUN_STANDIN_LOG names, copies the file its last word names to
// ZELBUN_STANDIN_COPY, then ends with the status ZELBUN_STANDIN_STATUS
// gives (0 without it). Each only when its variable is set.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string utf8(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], length, nullptr, nullptr);
    return bytes;
}

} // namespace

int main()
{
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (const wchar_t* log = _wgetenv(L"ZELBUN_STANDIN_LOG")) {
        if (FILE* file = _wfopen(log, L"wb")) {
            for (int i = 0; i < count; ++i)
                std::fprintf(file, "%s\n", utf8(words[i]).c_str());
            std::fclose(file);
        }
    }
    // Named only once whole, so that a test waiting for it reads all of it.
    if (const wchar_t* copy = _wgetenv(L"ZELBUN_STANDIN_COPY"))
        if (count > 1) {
            const std::wstring part = std::wstring(copy) + L".part";
            if (CopyFileW(words[count - 1], part.c_str(), FALSE))
                MoveFileExW(part.c_str(), copy, MOVEFILE_REPLACE_EXISTING);
        }
    const wchar_t* status = _wgetenv(L"ZELBUN_STANDIN_STATUS");
    return status ? int(std::wcstol(status, nullptr, 10)) : 0;
}
