#include "core/session.h"

#include "core/gametemplate.h"

#include <cassert>
#include <utility>

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
    const FileIdentity identity = identityOf(path);
    std::vector<uint8_t> bytes;
    Opened opened;
    opened.error = readFile(path, bytes, kGameImageReadLimit);
    if (opened.error)
        return opened;
    opened = openBytes(bytes, path);
    if (!opened.error)
        onDisk_ = identity;
    return opened;
}

Session::Opened Session::openRecovered(const std::string& path, const std::string& backup)
{
    const FileIdentity identity = identityOf(path);
    std::vector<uint8_t> bytes;
    Opened opened;
    opened.error = readFile(backup, bytes, kGameImageReadLimit);
    if (opened.error)
        return opened;
    opened = openBytes(bytes, path);
    if (!opened.error) {
        onDisk_ = identity;
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
    return now.exists && now != onDisk_;
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
    replaced();
    opened.issues = std::move(image.issues);
    return opened;
}

Error Session::save(const std::string& path, const WriteOptions& options)
{
    endStep();
    FileIdentity written;
    if (Error error = writeFileAtomically(path, setImage(), options, &written))
        return error;
    onDisk_ = written;
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
