// Game templates: which game part a saved document carries. A set opened
// from another game keeps that game; a set of our own engine moves to the
// current engine; new documents use the template the session chose.
#include "cli/commands.h"
#include "core/gameimage.h"
#include "core/game.h"
#include "core/gametemplate.h"
#include "tests/editor_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <fstream>
#include <iterator>

namespace {

using fixture::EditorTest;
using Bytes = std::vector<uint8_t>;

Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Names in UTF-8, as the program takes them.
void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(std::filesystem::u8path(path), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A game image of some game: an ATR header, `fill`-derived game bytes, an
// order table listing `levels` slots 0.. and those levels' segments.
Bytes gameImage(uint8_t fill, int levels = 0, const char* signature = nullptr)
{
    Bytes image(kLevelListOffset);
    image[0] = 0x96;
    image[1] = 0x02;
    for (size_t i = 2; i < image.size(); ++i)
        image[i] = uint8_t(fill + i * 7);
    if (signature)
        std::copy(signature, signature + 16, image.begin() + kEngineSignatureOffset);
    std::fill_n(image.begin() + kOrderTableOffset, kLevelSlots, 0);
    for (int slot = 0; slot < levels; ++slot) {
        image[kOrderTableOffset + slot] = uint8_t(0x80 + slot);
        const unsigned start = 0x5000 + 0x200 * slot;
        Bytes segment = {uint8_t(start), uint8_t(start >> 8), 0xF7, uint8_t((start >> 8) + 1)};
        segment.resize(kSegmentSize, 0);
        segment[500] = uint8_t(slot);
        image.insert(image.end(), segment.begin(), segment.end());
    }
    image.resize(image.size() + kSetEndMarkerSize, 0);
    return image;
}

// The game part as saved, with the text pages (rewritten on every save)
// blanked out.
Bytes gamePartOf(const Bytes& image)
{
    Bytes part(image.begin(), image.begin() + kLevelListOffset);
    for (size_t page : kPageOffsets)
        std::fill_n(part.begin() + page, kPageSize, 0);
    return part;
}

const Bytes& embedded() { return embeddedTemplate(); }

class GameTemplateTest : public EditorTest {
protected:
    void buildWith(const std::string& templatePath)
    {
        fixture::writeTiles(dir, 32);
        fixture::writePalette(dir);
        dir.write("tiles.cfg", fixture::defaultConfig);
        editor.reset();
        if (screen)
            SDL_FreeSurface(screen);
        screen = fixture::newSurface(640, 570, 32);
        FrameOptions options;
        options.dataDirs = {dir.path};
        options.platform = &platform;
        options.templatePath = templatePath;
        platform.directory = dir.path;
        editor = std::make_unique<frame>(screen, options);
    }
    // The game part a new document is saved with.
    Bytes newDocumentPart()
    {
        platform.answerQuestion(1); // "Nie zapisuj", should "Nowy" ask
        click(30, 10);              // "Nowy"
        platform.questionAnswers.clear();
        char path[PATH_MAX + 8];
        std::snprintf(path, sizeof path, "%s", dir.file("new.atr").c_str());
        editor->saveMap(path);
        return gamePartOf(readBytes(path));
    }
    void TearDown() override
    {
        portable::unsetEnv("ZELBUN_TEMPLATE");
        EditorTest::TearDown();
    }
};

} // namespace

// A set of another game, opened, edited and saved, keeps that game byte for
// byte; its order table lists what is saved now and nothing left over. The
// test image is made with the same game. "Nowy" goes back to the default.
TEST_F(GameTemplateTest, OpenEditSaveKeepsAForeignGame)
{
    buildWith("");
    const Bytes foreign = gameImage(0x31, 3);
    writeBytes(dir.file("theirs.atr"), foreign);
    ASSERT_EQ(editor->loadMap(dir.file("theirs.atr").c_str()), 1);
    editor->levels[1].reset(); // two levels are left
    editor->levels[0].add(3, 4, 5);
    ASSERT_FALSE(editor->session.save(editor->filePath));

    const Bytes saved = readBytes(dir.file("theirs.atr"));
    Bytes expected = gamePartOf(foreign);
    std::fill_n(expected.begin() + kOrderTableOffset, kLevelSlots, 0);
    expected[kOrderTableOffset] = 0x80;
    expected[kOrderTableOffset + 1] = 0x82;
    EXPECT_EQ(gamePartOf(saved), expected);
    EXPECT_EQ(saved.size(), kLevelListOffset + 2 * kSegmentSize + kSetEndMarkerSize);

    char test[PATH_MAX + 8];
    std::snprintf(test, sizeof test, "%s", dir.file("test.atr").c_str());
    editor->saveMap(test, 0);
    Bytes testPart = gamePartOf(readBytes(test));
    testPart[kOrderTableOffset] = 0x80;
    expected[kOrderTableOffset + 1] = 0;
    EXPECT_EQ(testPart, expected);

    EXPECT_EQ(newDocumentPart(), gamePartOf(embedded()));

    // Undoing "Nowy" brings the set back with its own game, so saving it
    // cannot put our game over theirs.
    editor->undo();
    ASSERT_EQ(editor->filePath, dir.file("theirs.atr").c_str());
    ASSERT_FALSE(editor->session.save(editor->filePath));
    Bytes undone = gamePartOf(readBytes(dir.file("theirs.atr")));
    std::fill_n(undone.begin() + kOrderTableOffset, kLevelSlots, 0);
    std::fill_n(expected.begin() + kOrderTableOffset, kLevelSlots, 0);
    EXPECT_EQ(undone, expected);
}

// A set saved by an older build of our engine is saved with the current
// engine: the session's template when that is ours, else the built-in one.
TEST_F(GameTemplateTest, OurOlderEngineIsReplacedByTheCurrentOne)
{
    const Bytes old = gameImage(0x55, 1, "ZELBUN-ENGINE-00");
    writeBytes(dir.file("old.atr"), old);
    auto savedPart = [&] {
        EXPECT_EQ(editor->loadMap(dir.file("old.atr").c_str()), 1);
        char path[PATH_MAX + 8];
        std::snprintf(path, sizeof path, "%s", dir.file("upgraded.atr").c_str());
        editor->saveMap(path);
        return gamePartOf(readBytes(path));
    };
    Bytes expected = gamePartOf(embedded());
    expected[kOrderTableOffset] = 0x80;

    buildWith("");
    EXPECT_EQ(savedPart(), expected) << "the built-in engine";

    // A newer build of our engine: ours with another version number.
    Bytes newer = embedded();
    const char newerSignature[] = "ZELBUN-ENGINE-07";
    std::copy(newerSignature, newerSignature + 16, newer.begin() + kEngineSignatureOffset);
    writeBytes(dir.file("newer.atr"), newer);
    buildWith(dir.file("newer.atr"));
    Bytes newerPart = gamePartOf(newer);
    newerPart[kOrderTableOffset] = 0x80;
    EXPECT_EQ(savedPart(), newerPart) << "the session's engine";

    Bytes foreign = gameImage(0x77);
    writeBytes(dir.file("foreign.atr"), foreign);
    buildWith(dir.file("foreign.atr"));
    EXPECT_EQ(savedPart(), expected) << "a foreign session template is no engine of ours";
}

// The session's template comes from the option, else ZELBUN_TEMPLATE, else
// game.atr in the data directories, else the built-in game. A template of
// a whole saved set gives its game part with an empty level list; a bad
// one is refused with its name, and the built-in game is used.
TEST_F(GameTemplateTest, SourcesInOrderAndRefusals)
{
    const Bytes fromData = gameImage(0x01, 2); // a whole set: its levels and order go
    const Bytes fromEnv = gameImage(0x02);
    const Bytes fromOption = gameImage(0x03);
    writeBytes(dir.file("game.atr"), fromData);
    writeBytes(dir.file("szablon ż.atr"), fromEnv);  // the name outside the ANSI code page
    writeBytes(dir.file("option.atr"), fromOption);
    Bytes dataPart = gamePartOf(fromData);
    std::fill_n(dataPart.begin() + kOrderTableOffset, kLevelSlots, 0);

    buildWith("");
    EXPECT_EQ(newDocumentPart(), dataPart);
    const Bytes whole = readBytes(dir.file("new.atr"));
    EXPECT_EQ(whole.size(), kLevelListOffset + kSetEndMarkerSize) << "no level of the template's set";

    portable::setEnv("ZELBUN_TEMPLATE", dir.file("szablon ż.atr"));
    buildWith("");
    EXPECT_EQ(newDocumentPart(), gamePartOf(fromEnv));
    buildWith(dir.file("option.atr"));
    EXPECT_EQ(newDocumentPart(), gamePartOf(fromOption));
    EXPECT_TRUE(editor->statusMessage.empty()) << editor->statusMessage;

    Bytes noSignature = fromOption;
    noSignature[0] = 0;
    Bytes tooShort = fromOption;
    tooShort.resize(kTemplateSize - 1);
    writeBytes(dir.file("nosig.atr"), noSignature);
    writeBytes(dir.file("short.atr"), tooShort);
    const struct {
        std::string file;
        const char* reason;
    } refusals[] = {{"nosig.atr", "to nie jest obraz dyskietki ATR"}, {"short.atr", "za krotki"}, {"missing.atr", "nie ma takiego pliku"}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.file);
        buildWith(dir.file(refusal.file));
        EXPECT_NE(editor->statusMessage.find(dir.file(refusal.file)), std::string::npos) << editor->statusMessage;
        EXPECT_NE(editor->statusMessage.find(refusal.reason), std::string::npos) << editor->statusMessage;
        EXPECT_EQ(newDocumentPart(), gamePartOf(embedded()));
    }
    // The variable is refused the same way, with the same fallback.
    portable::setEnv("ZELBUN_TEMPLATE", dir.file("short.atr"));
    buildWith("");
    EXPECT_NE(editor->statusMessage.find(dir.file("short.atr")), std::string::npos) << editor->statusMessage;
    EXPECT_EQ(newDocumentPart(), gamePartOf(embedded()));
}

// A game part cut anywhere in its first bytes is said to be cut, and
// nothing past its end is read (the sanitizer build sees any such read).
TEST(GamePartChain, CutShortInItsFirstBytes)
{
    const Bytes whole = embedded();
    for (size_t size = 16; size <= 24; ++size) {
        const Bytes cut(whole.begin(), whole.begin() + long(size));
        EXPECT_EQ(gamePartChainBreak(cut.data(), cut.size()).fault, ChainFault::bootCut) << size;
    }
}

// Our engine whose segment chain breaks (the game part's second header ends
// before it starts) would not boot: the template is refused with the byte
// where the chain breaks, the built-in game is used instead, and `check`
// reports a set carrying that game part.
TEST_F(GameTemplateTest, BrokenSegmentChainIsRefusedAndReported)
{
    Bytes broken = embedded();
    ASSERT_EQ(gamePartChainBreak(broken.data(), broken.size()).fault, ChainFault::none) << "the built-in game";
    const size_t secondHeader = 7544;
    const unsigned start = broken[secondHeader] | broken[secondHeader + 1] << 8;
    broken[secondHeader + 2] = uint8_t((start - 1) & 0xFF);
    broken[secondHeader + 3] = uint8_t((start - 1) >> 8);
    writeBytes(dir.file("broken.atr"), broken);

    buildWith(dir.file("broken.atr"));
    EXPECT_NE(editor->statusMessage.find(dir.file("broken.atr")), std::string::npos) << editor->statusMessage;
    EXPECT_NE(editor->statusMessage.find("7544"), std::string::npos) << editor->statusMessage;
    EXPECT_EQ(newDocumentPart(), gamePartOf(embedded()));

    CommandLine line;
    line.file = dir.file("broken.atr");
    line.dataDirs = {dir.path};
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(runCheck(line, {in, out, err}), 1);
    EXPECT_NE(out.str().find("its segment chain breaks: segment at byte 7544"), std::string::npos) << out.str();
}
