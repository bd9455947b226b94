// The document: saving and loading game images, the file and test commands.
#include "editor/frame.h"

#include "editor/fileio.h"
#include "editor/gameimage.h"
#include "editor/gametemplate.h"
#include "platform/indialog.h"
#include "platform/platform.h"

#include <cassert>
#include <cstring>

namespace {

LevelData levelData(const map& level)
{
    LevelData data;
    data.on = level.isOn();
    for (int column = 0; column < 16; ++column)
        for (int row = 0; row < 31; ++row)
            data.cells[column][row] = uint8_t(level.get(column, row));
    for (int i = 0; i < 6; ++i)
        data.colours[i] = level.colorGet(i);
    data.srubki = level.srubkiGet();
    data.wzorek = level.wzorekGet();
    return data;
}

// Gives a path buffer its ".atr" when the path has no dot anywhere. The
// buffer must have room for four more characters.
void extendPath(char* path)
{
    std::string extended = withAtrExtension(path);
    assert(extended.size() < PATH_MAX + 8);
    std::strcpy(path, extended.c_str());
}

const char testFileName[] = "test.atr";

} // namespace

std::vector<unsigned char> frame::setImage() const
{
    LevelData data[levelCount];
    for (int i = 0; i < levelCount; ++i)
        data[i] = levelData(levels[i]);
    return writeGameImage(documentTemplate.data(), documentTemplate.size(), data, textPages);
}

std::vector<unsigned char> frame::testImage(int slot) const
{
    return writeTestImage(documentTemplate.data(), documentTemplate.size(), levelData(levels[slot]), slot, textPages);
}

int frame::saveMap(char* path)
{
    extendPath(path);
    return writeDocument(path, setImage(), WriteOptions()) ? 1 : 0;
}

int frame::saveMap(char* path, int slot)
{
    extendPath(path);
    return writeDocument(path, testImage(slot), WriteOptions()) ? 1 : 0;
}

bool frame::writeDocument(const char* path, const std::vector<unsigned char>& bytes,
                          const WriteOptions& options)
{
    std::string error;
    if (writeFileAtomically(path, bytes, error, options))
        return true;
    showError(error);
    return false;
}

int frame::loadMap(const char* path)
{
    std::vector<unsigned char> bytes;
    if (!readDocument(path, bytes))
        return 0;
    applyGameImage(bytes, path);
    return 1;
}

bool frame::readDocument(const char* path, std::vector<unsigned char>& bytes)
{
    if (std::strlen(path) >= PATH_MAX) {
        showError(std::string("path too long: ") + path);
        return false;
    }
    std::string error;
    if (readFile(path, bytes, error, kGameImageReadLimit))
        return true;
    showError(error);
    return false;
}

// Levels land at their place in the order table; each is recoloured once.
void frame::applyGameImage(const std::vector<unsigned char>& bytes, const char* path)
{
    LoadResult image = readGameImage(bytes.data(), bytes.size());
    documentTemplate = templateForOpened(bytes, sessionTemplate, embeddedTemplate());
    blankTextPages();
    std::memcpy(textPages[0], image.pages[0], sizeof textPages[0]);
    std::memcpy(textPages[1], image.pages[1], sizeof textPages[1]);
    for (const LoadedLevel& segment : image.levels) {
        if (segment.target >= levelCount)
            continue;
        map& level = levels[segment.target];
        level.create();
        for (int column = 0; column < 16; ++column)
            for (int row = 0; row < 31; ++row)
                level.add(column, row, segment.level.cells[column][row]);
        level.wzorekSet(segment.level.wzorek);
        level.srubkiSet(segment.level.srubki);
        const int* c = segment.level.colours;
        level.colorSet(c[5], c[4], c[3], c[2], c[1], c[0]);
    }
    if (!image.warning.empty())
        showError(std::string(path) + ": " + image.warning);
    if (path != filePath)
        std::strcpy(filePath, path);
}

void frame::openDocument()
{
    char chosen[PATH_MAX + 8];
    if (!askForPath(false, chosen))
        return;
    std::vector<unsigned char> bytes;
    if (!readDocument(chosen, bytes))
        return;
    for (int i = 0; i < levelCount; ++i)
        levels[i].reset();
    applyGameImage(bytes, chosen);
}

void frame::saveDocumentAs()
{
    char chosen[PATH_MAX + 8];
    if (!askForPath(true, chosen))
        return;
    if (saveMap(chosen))
        std::strcpy(filePath, chosen);
}

void frame::testInEmulator(bool currentLevelOnly)
{
    std::string dir = workDir[0] ? workDir : ".";
    std::string target = dir + "/" + testFileName;
    if (target.size() >= PATH_MAX) {
        showError("path too long: " + target);
        return;
    }
    // Our own scratch file: whatever lies under its name is replaced, and
    // nothing a link there points at is touched.
    WriteOptions scratch;
    scratch.keepFile = false;
    if (!writeDocument(target.c_str(), currentLevelOnly ? testImage(currentLevel) : setImage(), scratch))
        return;
    std::string error;
    if (!platform->openWithDefaultProgram(target, dir, error))
        showError(error);
}

bool frame::askForPath(bool save, char* chosen)
{
    DialogRequest request;
    request.save = save;
    request.title = save ? "Zapisz mape" : "Otworz mape";
    request.startDir = workDir;
    request.currentPath = filePath;
    std::string path;
    if (chooseFile(*platform, screen, request, path) != DialogResult::Chosen || path.empty())
        return false;
    if (path.size() >= PATH_MAX) {
        showError("path too long: " + path);
        return false;
    }
    std::strcpy(chosen, path.c_str());
    return true;
}
