#include "core/session.h"

#include "core/gametemplate.h"

#include <cassert>
#include <filesystem>
#include <utility>

namespace {

// FNV-1a over the whole content: tells a file rewritten in place from the
// one read, whatever its size and time say.
uint64_t contentHash(const std::vector<uint8_t>& bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

// The hash of the file's content as it is now; 0 when it cannot be read.
uint64_t contentHashOf(const std::string& path)
{
    std::vector<uint8_t> bytes;
    return readFile(path, bytes, kGameImageReadLimit) ? 0 : contentHash(bytes);
}

// The folder where saves of `path` write their temporaries: that of the
// file a link leads to.
std::string folderOf(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path file = fs::canonical(fs::u8path(path), error);
    if (error)
        file = fs::absolute(fs::u8path(path), error);
    return file.parent_path().u8string();
}

} // namespace

Session::Session(int eraserCode, GamePart game, GamePart builtIn)
{
    restart(eraserCode, std::move(game), std::move(builtIn));
}

void Session::restart(int eraserCode, GamePart game, GamePart builtIn)
{
    assert(game && builtIn);
    eraserCode_ = eraserCode;
    sessionGame_ = std::move(game);
    builtIn_ = std::move(builtIn);
    doc_ = Document(eraserCode_);
    doc_.game = sessionGame_;
    history_.reset(doc_);
    onDisk_ = FileIdentity();
    leftOut_ = 0;
    replaced();
}

LevelData& Session::editLevel(int slot)
{
    assert(slot >= 0 && slot < kLevelSlots);
    changed();
    return doc_.levels[slot];
}

void Session::setCell(int slot, Cell cell, uint8_t code)
{
    assert(insideGrid(cell));
    const LevelData& level = doc_.levels[slot];
    if (level.on && level.at(cell) == code)
        return;
    LevelData& edited = editLevel(slot);
    edited.cells[cell.column][cell.row] = code;
    edited.on = true;
}

void Session::setLevel(int slot, const LevelData& level)
{
    editLevel(slot) = level;
}

void Session::clearLevel(int slot)
{
    editLevel(slot) = emptyLevel(eraserCode_);
}

void Session::swapLevels(int a, int b)
{
    if (a == b)
        return;
    std::swap(editLevel(a), editLevel(b));
}

void Session::setPageCharacter(int page, int line, int column, char code)
{
    assert(page >= 0 && page < kTextPages && line >= 0 && line < kPageLines && column >= 0 &&
           column < kPageColumns && code != 0);
    if (doc_.pages[page][line][column] == code)
        return;
    changed();
    doc_.pages[page][line][column] = code;
}

TextPage& Session::editPage(int page)
{
    assert(page >= 0 && page < kTextPages);
    changed();
    return doc_.pages[page];
}

void Session::endStep()
{
    if (dirty_ && history_.record(doc_))
        ++steps_;
    dirty_ = false;
}

void Session::undo()
{
    endStep();
    if (!history_.canUndo())
        return;
    doc_ = history_.undo();
    replaced();
}

void Session::redo()
{
    endStep();
    if (!history_.canRedo())
        return;
    doc_ = history_.redo();
    replaced();
}

void Session::newSet()
{
    doc_ = Document(eraserCode_);
    doc_.game = sessionGame_;
    changed();
    endStep();
    history_.markClean();
}

Session::Opened Session::open(const std::string& path)
{
    // Taken before reading: a change in between makes the next save ask,
    // never overwrite unseen.
    removeLeftoverTemporaries(folderOf(path));
    const FileIdentity identity = identityOf(path);
    std::vector<uint8_t> bytes;
    Opened opened;
    opened.error = readFile(path, bytes, kGameImageReadLimit);
    if (opened.error)
        return opened;
    opened = openBytes(bytes, path);
    if (!opened.error) {
        onDisk_ = identity;
        contentOnDisk_ = contentHash(bytes);
    }
    return opened;
}

Session::Opened Session::openRecovered(const std::string& path, const std::string& backup)
{
    const FileIdentity identity = identityOf(path);
    std::vector<uint8_t> bytes;
    Opened opened;
    opened.error = readSavedCopy(backup, bytes, kGameImageReadLimit);
    if (opened.error)
        return opened;
    opened = openBytes(bytes, path);
    if (!opened.error) {
        onDisk_ = identity;
        contentOnDisk_ = contentHashOf(path);
        history_.markUnsaved();
        ++revision_;
    }
    return opened;
}

bool Session::fileChangedOnDisk() const
{
    if (doc_.path.empty() || !onDisk_.exists)
        return false;
    const FileIdentity now = identityOf(doc_.path);
    return now.exists && (now != onDisk_ || contentHashOf(doc_.path) != contentOnDisk_);
}

Session::Opened Session::openBytes(const std::vector<uint8_t>& bytes, const std::string& path)
{
    Opened opened;
    opened.error = gameImageProblem(bytes.data(), bytes.size());
    if (opened.error) {
        opened.error.path = path;
        return opened;
    }
    LoadResult image = readGameImage(bytes.data(), bytes.size(), eraserCode_);
    Document doc(eraserCode_);
    for (int slot = 0; slot < kLevelSlots; ++slot)
        doc.levels[slot] = image.levels[slot];
    for (int page = 0; page < kTextPages; ++page)
        std::copy(&image.pages[page][0][0], &image.pages[page][0][0] + sizeof(TextPage), &doc.pages[page][0][0]);
    doc.path = path;
    doc.game = std::make_shared<const std::vector<uint8_t>>(
        templateForOpened(bytes, *sessionGame_, *builtIn_));
    doc_ = std::move(doc);
    history_.reset(doc_);
    onDisk_ = FileIdentity();
    leftOut_ = ::segmentsLeftOut(image.issues);
    replaced();
    opened.issues = std::move(image.issues);
    return opened;
}

Error Session::save(const std::string& path, const WriteOptions& options)
{
    endStep();
    FileIdentity written;
    const std::vector<uint8_t> image = setImage();
    if (Error error = writeFileAtomically(path, image, options, &written))
        return error;
    onDisk_ = written;
    contentOnDisk_ = contentHash(image);
    leftOut_ = 0;
    doc_.path = path;
    history_.markSaved(path);
    ++revision_;
    return Error();
}

std::vector<uint8_t> Session::setImage() const
{
    return writeGameImage(doc_.game->data(), doc_.game->size(), doc_.levels, doc_.pages);
}

std::vector<uint8_t> Session::testImage(int slot) const
{
    return writeTestImage(doc_.game->data(), doc_.game->size(), doc_.levels[slot], slot, doc_.pages);
}
