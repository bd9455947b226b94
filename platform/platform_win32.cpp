// Windows side of the platform layer: the common file dialogs, the shell's
// "open" verb and the working directory.
#ifdef _WIN32

#include "platform/platform.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdlib>
#include <vector>

#ifdef _MSC_VER
#pragma comment(lib, "comdlg32.lib")
#pragma comment(lib, "shell32.lib")
#endif

namespace {

// Pairs of description and pattern, ended by an empty pair.
const char atrFilter[] = "Obrazy ATR (*.atr)\0*.atr\0Wszystkie pliki\0*.*\0";

class Win32Platform : public Platform {
public:
    explicit Win32Platform(HWND window) : window_(window) {}

    DialogResult fileDialog(const DialogRequest& request, std::string& chosenPath) override
    {
        std::vector<char> file(MAX_PATH * 4, '\0');
        if (request.currentPath.size() < file.size())
            request.currentPath.copy(file.data(), request.currentPath.size());

        OPENFILENAMEA dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window_;
        dialog.lpstrFilter = atrFilter;
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrInitialDir = request.startDir.empty() ? nullptr : request.startDir.c_str();
        dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
        // NOCHANGEDIR: the test image is written to, and opened from, the
        // working directory, which a dialog must not move.
        // FILEMUSTEXIST is for opening only; a save names a new file.
        dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        dialog.Flags |= request.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;

        BOOL confirmed = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
        if (confirmed) {
            chosenPath = file.data();
            return DialogResult::Chosen;
        }
        // Zero with no extended error is the user cancelling.
        return CommDlgExtendedError() == 0 ? DialogResult::Cancelled : DialogResult::Unavailable;
    }

    bool openWithDefaultProgram(const std::string& file, const std::string& dir,
                                std::string& error) override
    {
        HINSTANCE result = ShellExecuteA(window_, "open", file.c_str(), nullptr,
                                         dir.empty() ? nullptr : dir.c_str(), SW_SHOW);
        // Values up to 32 are error codes.
        INT_PTR code = reinterpret_cast<INT_PTR>(result);
        if (code > 32)
            return true;
        error = "cannot open " + file + " (shell error " + std::to_string(code) + ")";
        return false;
    }

    std::string currentDirectory() override
    {
        DWORD needed = GetCurrentDirectoryA(0, nullptr);
        if (needed == 0)
            return "";
        std::vector<char> buffer(needed);
        DWORD written = GetCurrentDirectoryA(needed, buffer.data());
        if (written == 0 || written >= needed)
            return "";
        return std::string(buffer.data(), written);
    }

private:
    HWND window_;
};

}  // namespace

// Window handles fit in 32 bits, also on 64-bit Windows.
void setOwnEnvironmentDefault(const std::string& name, const std::string& value)
{
    // Started programs still inherit it here.
    if (!std::getenv(name.c_str()))
        _putenv_s(name.c_str(), value.c_str());
}

std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId)
{
    return std::make_unique<Win32Platform>(reinterpret_cast<HWND>(static_cast<UINT_PTR>(windowId)));
}

#endif
