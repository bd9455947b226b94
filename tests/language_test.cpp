// The window in English: every fixed word of the window in both languages,
// fitting where it is shown, and the whole window built and read back in
// English, with the language chosen on the help page kept for the next
// start.
#include "cli/options.h"
#include "cli/png.h"
#include "core/messages.h"
#include "editor/frame.h"
#include "editor/layout.h"
#include "editor/textroom.h"
#include "editor/recovery.h"
#include "tests/editor_fixture.h"
#include "tests/fake_platform.h"
#include "tests/portable.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const Language languages[] = {Language::polish, Language::english};

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Every value as wide as a shown one gets: two digits or hex digits.
std::string withWidestValues(const std::string& pattern)
{
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "{}") == 0) {
            text += "99";
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

// The window as a PNG, to be looked at.
bool savePng(SDL_Surface* screen, const std::string& path)
{
    std::vector<uint8_t> rgb, png;
    for (int y = 0; y < screen->h; ++y)
        for (int x = 0; x < screen->w; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(static_cast<Uint32*>(screen->pixels)[y * screen->pitch / 4 + x], screen->format, &r, &g, &b);
            rgb.insert(rgb.end(), {r, g, b});
        }
    if (encodePng(screen->w, screen->h, rgb, png))
        return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(out);
}

} // namespace

// Each text of the window is there in both languages and, where it has a
// room of its own, fits it as shown: the Polish as written, the English
// shortened by the rule where it must be, never cut inside a glyph. The set
// view's buttons fit theirs too, and the help page's lines the page.
TEST(WindowLanguage, EveryTextIsThereAndFits)
{
    for (int i = 0; i < windowTextCount; ++i) {
        const WindowText text = WindowText(i);
        for (Language language : languages) {
            const std::string written = windowText(text, language);
            const std::string name = std::string(windowTextName(text)) + (language == Language::polish ? " pl" : " en");
            EXPECT_FALSE(written.empty()) << name;
            const int room = textRoom(text);
            if (room == 0)
                continue;
            const std::string shown = withWidestValues(shownLabel(text, language));
            if (language == Language::polish || !isShortenedLabel(text)) {
                EXPECT_EQ(shownLabel(text, language), written) << name << ": shown as written";
            }
            for (const std::string& line : linesOf(shown))
                EXPECT_LE(int(line.size()) * layout::fontWidth, room) << name << ": \"" << line << "\"";
        }
    }
    // The widgets' own words, on the status line and in their tooltips.
    for (int i = 0; i <= int(WidgetText::endPage); ++i)
        for (Language language : languages) {
            const std::string text = widgetText(WidgetText(i), language);
            EXPECT_FALSE(text.empty()) << "widget text " << i;
            for (const std::string& line : linesOf(text))
                EXPECT_LE(int(line.size()), layout::statusChars) << "widget text " << i << ": " << line;
        }
    for (int i = 0; i <= int(SetViewText::emptyPlace); ++i)
        for (Language language : languages)
            EXPECT_NE(*setViewText(SetViewText(i), language), '\0') << "set view text " << i;

    // The rule: vowels go from the end, never a word's first letter; then
    // a cut with a full stop; what fits stays.
    EXPECT_EQ(fitLabel("Colour:", 6), "Color:");
    EXPECT_EQ(fitLabel("Screws to collect:", 10), "Scrws t c.");
    EXPECT_EQ(fitLabel("Open", 4), "Open");
    EXPECT_EQ(fitLabel("Open all", 3), "Op.");
    EXPECT_EQ(shownLabel(WindowText::colourLabel, Language::english), "Color:");
}

// --lang over ZELBUN_LANG; an unknown code is none, and Polish is what
// the window falls back to, not the desktop's locale.
TEST(WindowLanguage, AskedLanguageOrder)
{
    EXPECT_EQ(askedLanguage("en", std::string("pl")), Language::english);
    EXPECT_EQ(askedLanguage("pl", std::string("en")), Language::polish);
    EXPECT_EQ(askedLanguage("", std::string("EN")), Language::english);
    EXPECT_EQ(askedLanguage("", std::string("de_DE.UTF-8")), std::nullopt);
    EXPECT_EQ(askedLanguage("", std::nullopt), std::nullopt);

    auto parse = [](std::vector<const char*> words) {
        std::ostringstream out, err;
        words.insert(words.begin(), "zelbun-kreator");
        return parseCommandLine(int(words.size()), words.data(), out, err);
    };
    const CommandLine english = parse({"--lang", "en", "set.atr"});
    EXPECT_EQ(english.command, CommandLine::Command::Window);
    EXPECT_EQ(askedLanguage(english.language, std::string("pl")), Language::english);
    EXPECT_EQ(parse({"set.atr"}).language, "");
    const CommandLine unknown = parse({"--lang", "de"});
    EXPECT_EQ(unknown.command, CommandLine::Command::Exit);
    EXPECT_EQ(unknown.exitStatus, 2);
}

// The whole window in English on the game's own data: its buttons, the
// status line over a tool and the canvas, the help page listing the full
// names; a click on the help page's first line turns it Polish and the
// choice comes back at the next start unless English is asked for. The
// window is saved as english-window.png in the build directory to be
// looked at.
TEST(WindowLanguage, EnglishWindowScenario)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    const std::string stateDir = portable::makeTempDir("zelbun-lang");
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    FakePlatform platform;
    platform.directory = stateDir;
    FrameOptions options;
    options.dataDirs = {ZELBUN_SOURCE_DIR "/data"};
    options.platform = &platform;
    options.stateDir = stateDir;
    options.language = askedLanguage("", std::string("en"));
    auto editor = std::make_unique<frame>(screen, options);
    ASSERT_TRUE(editor->ok()) << editor->loadError();
    ASSERT_EQ(editor->language, Language::english);
#ifdef ZELBUN_GAME_ATR
    editor->loadMap(ZELBUN_GAME_ATR);
#endif

    EXPECT_STREQ(editor->newButton->captionText, "New");
    EXPECT_STREQ(editor->buttons[frame::swapButton]->captionText, "Swap levels");
    EXPECT_STREQ(editor->buttons[frame::endPageButton]->captionText, "End");
    EXPECT_STREQ(editor->screwCounter.label, "Screws to collect:");

    auto hover = [&](const layout::Rect& r) { editor->mouse(r.centre().x, r.centre().y, 0); };
    hover(layout::toolButton(int(Tool::fill)));
    EXPECT_EQ(editor->statusText(), "Fill (F)");
    hover(layout::canvasCellRect(2, 4));
    EXPECT_EQ(editor->statusText().substr(0, 18), "Column 3, row 5\nTi");
    hover(layout::testLevelButton);
    EXPECT_EQ(editor->statusText(), "Test the current level\nin the emulator");
    editor->paint();
    EXPECT_TRUE(savePng(screen, ZELBUN_BINARY_DIR "/english-window.png"));

    editor->keyDown(fixture::keysym(SDLK_F1));
    ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::help);
    const std::vector<Notices::TextLine> help = editor->notices.overlayLines();
    ASSERT_GT(help.size(), 3u);
    EXPECT_EQ(help[0].text.rfind("Window language: English", 0), 0u);
    EXPECT_NE(help[1].text.find("Buttons: New, Open, Save, Save as, Clear level"), std::string::npos);
    for (const Notices::TextLine& line : help)
        EXPECT_LE(int(line.text.size()), layout::overlayChars) << line.text;
    editor->paint();
    EXPECT_TRUE(savePng(screen, ZELBUN_BINARY_DIR "/english-help.png"));

    // The first line switches; the page stays, now Polish.
    editor->mouse(layout::overlayLine(0).x + 8, layout::overlayLine(0).y + 2, 1);
    editor->mouse(layout::overlayLine(0).x + 8, layout::overlayLine(0).y + 2, -1);
    EXPECT_EQ(editor->language, Language::polish);
    EXPECT_EQ(editor->notices.overlay(), Notices::Overlay::help);
    EXPECT_STREQ(editor->newButton->captionText, "Nowy");
    EXPECT_EQ(rememberedLanguage(stateDir + "/language"), Language::polish);

    // Remembered at the next start, unless a language is asked for.
    editor->chooseLanguage(Language::english);
    editor.reset();
    options.language = std::nullopt;
    editor = std::make_unique<frame>(screen, options);
    EXPECT_EQ(editor->language, Language::english);
    EXPECT_STREQ(editor->buttons[frame::deleteButton]->captionText, "Clear level");
    options.language = Language::polish;
    editor = std::make_unique<frame>(screen, options);
    EXPECT_EQ(editor->language, Language::polish);
    EXPECT_STREQ(editor->buttons[frame::deleteButton]->captionText, "Usun mape");

    editor.reset();
    SDL_FreeSurface(screen);
    std::error_code ignored;
    std::filesystem::remove_all(stateDir, ignored);
}
