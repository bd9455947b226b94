// Windows side of the platform layer: the common file dialogs, questions in
// a task dialog, the emulator started with CreateProcessW or through the
// program Windows opens .atr files with, and the working directory. Every
// name crosses to the system in UTF-16 (core/winpath.h).
#ifdef _WIN32

#include "platform/platform.h"

#include "core/pathname.h"
#include "core/winpath.h"
#include "platform/emulator.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

// Pairs of description and pattern, ended by an empty pair. Patterns match
// without regard to case.
const wchar_t atrFilter[] = L"Obrazy ATR (*.atr)\0*.atr\0Wszystkie pliki (*.*)\0*.*\0";

// Windows' own folder separators, which its dialogs want.
std::wstring withBackslashes(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::string environmentValue(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value ? toUtf8(value) : std::string();
}

bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> splitList(const std::string& list)
{
    std::vector<std::string> items;
    for (std::string item : splitAt(list, ';')) {
        // A folder in PATH may come quoted.
        if (item.size() >= 2 && item.front() == '"' && item.back() == '"')
            item = item.substr(1, item.size() - 2);
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

// The path with its last part spelled as the folder lists it, not as
// PATHEXT does ("Emu.exe", not "emu.EXE").
std::string withNameOnDisk(const std::string& path)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(extendedPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return path;
    FindClose(search);
    const size_t slash = path.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + toUtf8(found.cFileName);
}

bool hasExtension(const std::string& path)
{
    const size_t name = path.find_last_of("/\\:");
    return path.find('.', name == std::string::npos ? 0 : name + 1) != std::string::npos;
}

// The running program's path.
std::wstring ownProgram()
{
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &program[0], DWORD(program.size()));
        if (length == 0)
            return std::wstring();
        if (length < program.size()) {
            program.resize(length);
            return program;
        }
        program.resize(program.size() * 2);
    }
}

// The last component of a wide path.
std::string fileNamePart(const std::wstring& path)
{
    return fileNameOf(toUtf8(path));
}

// Whether the program Windows opens .atr files with is this editor: the
// installer offers to make it so.
bool runsThisEditor(const std::wstring& program)
{
    const std::wstring name = toUtf16(fileNamePart(program));
    return _wcsicmp(name.c_str(), L"zelbun-kreator.exe") == 0 || _wcsicmp(name.c_str(), L"zelbun-kreator.com") == 0 ||
           _wcsicmp(name.c_str(), toUtf16(fileNamePart(ownProgram())).c_str()) == 0;
}

// The program Windows opens .atr files with; empty when there is none.
std::wstring associatedProgram()
{
    wchar_t program[MAX_PATH * 4];
    DWORD size = DWORD(sizeof program / sizeof program[0]);
    if (AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN | ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, L".atr", L"open", program,
                          &size) != S_OK)
        return std::wstring();
    return program;
}

// The three answers of "Zapisac zmiany?" mapped onto the buttons of a
// plain message box, for a system without task dialogs.
int askWithMessageBox(HWND window, const Question& question)
{
    const bool three = question.answers.size() > 2;
    std::string text = question.text + "\n\n";
    const char* const buttons[] = {three ? "Tak" : "OK", three ? "Nie" : "Anuluj", "Anuluj"};
    for (size_t i = 0; i < question.answers.size() && i < 3; ++i)
        text += std::string(buttons[i]) + ": " + question.answers[i] + "\n";
    const int pressed = MessageBoxW(window, toUtf16(text).c_str(), toUtf16(question.title).c_str(),
                                    (three ? MB_YESNOCANCEL : MB_OKCANCEL) | MB_ICONQUESTION);
    switch (pressed) {
    case IDYES:
    case IDOK: return 0;
    case IDNO: return 1;
    case IDCANCEL: return int(question.answers.size()) - 1;
    default: return Platform::questionUnavailable;
    }
}

class Win32Platform : public Platform {
public:
    Win32Platform(HWND window, std::string searchPath) : window_(window), searchPath_(std::move(searchPath)) {}

    ~Win32Platform() override
    {
        for (const Child& child : children_)
            CloseHandle(child.process);
    }

    DialogResult fileDialog(const DialogRequest& request, std::string& chosenPath) override
    {
        // Room for a name of any length the extended form allows.
        std::vector<wchar_t> file(32768, L'\0');
        const std::wstring current = withBackslashes(toUtf16(request.currentPath));
        if (current.size() < file.size())
            current.copy(file.data(), current.size());
        const std::wstring startDir = withBackslashes(toUtf16(request.startDir));
        const std::wstring title = toUtf16(request.title);
        const std::wstring extension = toUtf16(request.extension.substr(request.extension.rfind('.') + 1));

        OPENFILENAMEW dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window_;
        dialog.lpstrFilter = atrFilter;
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = DWORD(file.size());
        // A current file names its own folder.
        dialog.lpstrInitialDir = current.empty() && !startDir.empty() ? startDir.c_str() : nullptr;
        dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
        // Added to a name typed without one, before the dialog asks about
        // overwriting.
        dialog.lpstrDefExt = request.save && !extension.empty() ? extension.c_str() : nullptr;
        // NOCHANGEDIR: a dialog must not move the working directory, which
        // relative paths and the data files are found from. FILEMUSTEXIST
        // is for opening only; a save names a new file.
        dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
        dialog.Flags |= request.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;

        const BOOL confirmed = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        if (confirmed) {
            chosenPath = toUtf8(file.data());
            return DialogResult::Chosen;
        }
        // Zero with no extended error is the user cancelling.
        return CommDlgExtendedError() == 0 ? DialogResult::Cancelled : DialogResult::Unavailable;
    }

    // A task dialog with the answers as its buttons; a message box where the
    // system has no task dialogs (common controls before version 6).
    int ask(const Question& question) override
    {
        if (question.answers.size() < 2)
            return questionUnavailable;
        HMODULE controls = GetModuleHandleW(L"comctl32.dll");
        if (!controls)
            controls = LoadLibraryW(L"comctl32.dll");
        const FARPROC found = controls ? GetProcAddress(controls, "TaskDialogIndirect") : nullptr;
        const auto taskDialog = reinterpret_cast<decltype(&TaskDialogIndirect)>(reinterpret_cast<void*>(found));
        if (!taskDialog)
            return askWithMessageBox(window_, question);

        const int firstId = 100;
        std::vector<std::wstring> labels;
        for (const std::string& answer : question.answers)
            labels.push_back(toUtf16(answer));
        std::vector<TASKDIALOG_BUTTON> buttons;
        for (size_t i = 0; i < labels.size(); ++i)
            buttons.push_back({firstId + int(i), labels[i].c_str()});
        const std::wstring title = toUtf16(question.title), text = toUtf16(question.text);

        TASKDIALOGCONFIG config = {};
        config.cbSize = sizeof config;
        config.hwndParent = window_;
        // Escape and the close box cancel, as the last answer does.
        config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
        config.pszWindowTitle = title.c_str();
        config.pszContent = text.c_str();
        config.cButtons = UINT(buttons.size());
        config.pButtons = buttons.data();
        config.nDefaultButton = firstId;
        int pressed = 0;
        if (taskDialog(&config, &pressed, nullptr, nullptr) != S_OK)
            return askWithMessageBox(window_, question);
        if (pressed >= firstId && pressed < firstId + int(buttons.size()))
            return pressed - firstId;
        return int(question.answers.size()) - 1;
    }

    Error openWithDefaultProgram(const std::string& file, const std::string& dir) override
    {
        return openWithAssociation(toUtf16(file), dir);
    }

    // The user's command first (--emulator, then ZELBUN_EMULATOR), else the
    // program .atr files open with unless that is this editor, else a known
    // emulator on the search path.
    Error openTestImage(const std::string& file, const std::string& dir, const std::string& emulatorCommand) override
    {
        EmulatorLookup lookup;
        lookup.findProgram = [this](const std::string& name) { return findProgram(name); };
        lookup.syntax = CommandSyntax::windows;
        const std::string environment = environmentValue(L"ZELBUN_EMULATOR");
        const std::wstring image = extendedPath(file);
        const std::string imagePath = image.empty() ? file : ordinaryPath(image);
        if (emulatorCommand.empty() && environment.empty()) {
            const std::wstring associated = associatedProgram();
            if (!associated.empty() && !runsThisEditor(associated))
                return openWithAssociation(toUtf16(imagePath), dir);
        }
        const TestCommand command = chooseTestCommand(emulatorCommand, environment, imagePath, lookup);
        if (command.argv.empty())
            return command.error;
        return launch(command.argv, dir);
    }

    std::string currentDirectory() override
    {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);
        if (needed == 0)
            return "";
        std::wstring buffer(needed, L'\0');
        const DWORD written = GetCurrentDirectoryW(needed, &buffer[0]);
        if (written == 0 || written >= needed)
            return "";
        buffer.resize(written);
        return toUtf8(buffer);
    }

    std::vector<Error> reapChildren() override
    {
        std::vector<Error> failures;
        std::vector<Child> running;
        for (const Child& child : children_) {
            if (WaitForSingleObject(child.process, 0) == WAIT_TIMEOUT) {
                running.push_back(child);
                continue;
            }
            DWORD status = 0;
            if (GetExitCodeProcess(child.process, &status) && status != 0) {
                Error failure = Error::of(Fault::programFailed, child.program);
                failure.code = int(status);
                failures.push_back(failure);
            }
            CloseHandle(child.process);
        }
        children_.swap(running);
        return failures;
    }

    bool childrenRunning() const override { return !children_.empty(); }

private:
    struct Child {
        HANDLE process;
        std::string program;
    };

    // A program on the search path, with the extensions of PATHEXT tried
    // when the name has none; a name with a folder in it is looked up there
    // alone. Unlike cmd.exe, never the working directory: it holds the
    // user's files, not programs to run.
    std::string findProgram(const std::string& name) const
    {
        std::vector<std::string> extensions = {""};
        if (!hasExtension(name)) {
            const std::string pathext = environmentValue(L"PATHEXT");
            extensions = splitList(pathext.empty() ? ".COM;.EXE;.BAT;.CMD" : pathext);
        }
        const bool named = name.find_first_of("/\\:") != std::string::npos;
        const std::vector<std::string> dirs = named ? std::vector<std::string>{""} : splitList(searchPath_);
        for (const std::string& dir : dirs)
            for (const std::string& extension : extensions) {
                const std::string candidate = (dir.empty() ? name : dir + "\\" + name) + extension;
                if (isFile(extendedPath(candidate)))
                    return withNameOnDisk(candidate);
            }
        return "";
    }

    // Starts args[0] (a full path) in `dir` with the other words as its
    // arguments, to be collected later.
    Error launch(const std::vector<std::string>& args, const std::string& dir)
    {
        const std::wstring program = toUtf16(args[0]);
        std::wstring commandLine = toUtf16(joinWindowsCommandLine(args));
        const std::wstring folder = toUtf16(dir);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        // Its own process group: a Ctrl+C meant for the editor's console
        // leaves the emulator running.
        if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP,
                            nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &started))
            return Error::windows(args[0], GetLastError(), Step::start);
        CloseHandle(started.hThread);
        children_.push_back({started.hProcess, fileNameOf(args[0])});
        return Error();
    }

    // The shell's "open" for the file, as Explorer would do it.
    Error openWithAssociation(const std::wstring& file, const std::string& dir)
    {
        const std::wstring folder = toUtf16(dir);
        SHELLEXECUTEINFOW execute = {};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        execute.hwnd = window_;
        execute.lpVerb = L"open";
        execute.lpFile = file.c_str();
        execute.lpDirectory = folder.empty() ? nullptr : folder.c_str();
        execute.nShow = SW_SHOWNORMAL;
        if (!ShellExecuteExW(&execute))
            return Error::windows(toUtf8(file), GetLastError(), Step::start);
        // A program that took the file over DDE leaves no process of ours.
        if (execute.hProcess)
            children_.push_back({execute.hProcess, fileNamePart(associatedProgram())});
        return Error();
    }

    HWND window_;
    std::string searchPath_;
    std::vector<Child> children_;  // started programs not yet collected
};

}  // namespace

// Window handles fit in 32 bits, also on 64-bit Windows.
void setOwnEnvironmentDefault(const std::string& name, const std::string& value)
{
    // Started programs still inherit it here.
    if (!std::getenv(name.c_str()))
        _putenv_s(name.c_str(), value.c_str());
}

void yieldToOtherThreads()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId)
{
    return makeSystemPlatform(windowId, environmentValue(L"PATH"));
}

std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId, const std::string& searchPath)
{
    return std::make_unique<Win32Platform>(reinterpret_cast<HWND>(static_cast<UINT_PTR>(windowId)), searchPath);
}

#endif
