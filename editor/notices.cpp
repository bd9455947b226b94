// What the window tells the user: messages (kept until the next one or
// until put away, whole, errors in red, every one in the run's log), the
// findings of the checks as places to go to, the status line about what
// lies under the pointer, and the pages over the window (help, the log, a
// message in full).
#include "editor/frame.h"

#include "core/messages.h"
#include "core/wraptext.h"
#include "editor/tilenames.h"
#include "render/font.h"
#include "ui/display.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cstdio>

namespace {

const Uint8 errorRed[3] = {255, 80, 80};

void text(SDL_Surface* target, int x, int y, const std::string& s, const Uint8* colour)
{
    drawString(target, x, y, s.c_str(), colour[0], colour[1], colour[2]);
}

// The keys and mouse actions, one page. Codes 1 to 26 are the font's
// Polish letters and the game's pictures, as on the text pages.
const char* const helpText[] = {
    "Plansza (lewa strona)",
    "  lewy przycisk lub przeciaganie   rysuje wybranym kaflem i narzedziem",
    "  prawy przycisk                   wymazuje",
    "  kolko myszy                      w gore wymazuje, w dol rysuje",
    "  Ctrl+kolko, Ctrl+plus, Ctrl+minus   powiekszenie okna 1x, 2x, 3x",
    "Narzedzia (przyciski pod plansza)",
    "  D olowek   F wypelnianie   R prostokat, drugi raz ramka   L linia",
    "  P pobiera kafel spod wskaznika   S zaznaczenie   G siatka",
    "  Ctrl+C kopiuje mape lub zaznaczenie, Ctrl+V wkleja (klik kladzie)",
    "  Escape porzuca zaznaczenie, wklejany fragment i \"Zamien mapy\"",
    "Zestaw",
    "  Ctrl+N nowy   Ctrl+O otworz   Ctrl+1..9 ostatnio otwarte",
    "  Ctrl+S zapisz   Ctrl+Shift+S zapisz jako",
    "  Ctrl+Z cofnij   Ctrl+Y lub Ctrl+Shift+Z ponow",
    "Mapy",
    "  1..32 wybiera mape; Usun mape ja oproznia",
    "  Zamien mapy, potem druga mapa: zamienia je miejscami",
    "  Testuj mape, Testuj gre: test w emulatorze, kazdy na wlasnym obrazie",
    "  F5 lub Graj: gra na planszy (strzalki, Ctrl lub spacja strzela, P pauza,",
    "    R od nowa za zycie, Escape lub klik wraca); Shift+F5 pokazuje rozwiazanie",
    "  Srubki: - i + zmieniaja, klik na liczbe liczy srubki na mapie",
    "  Murek: - i + zmieniaja wzorek, klik na obrazek wraca do pierwszego",
    "  Kolor: wybierz rejestr 1..6, potem kolor z siatki",
    setViewHelp(0, Language::polish),
    setViewHelp(1, Language::polish),
    setViewHelp(2, Language::polish),
    setViewHelp(3, Language::polish),
    setViewHelp(4, Language::polish),
    "Tekst (Start, Koniec)",
    "  klik na strone daje jej klawiature, Escape lub klik obok oddaje",
    "  Return nastepny wiersz, strzalki przesuwaja, Backspace czysci",
    "  Ctrl+A \x01   Ctrl+C \x03   Ctrl+E \x05   Ctrl+L \x0c",
    "  Ctrl+N \x0e   Ctrl+O \x0f   Ctrl+S \x13   Ctrl+Z \x1a",
    "  Ctrl+Q \x11 (pelny pasek)   Ctrl+R Ctrl+T \x12\x14   Ctrl+F Ctrl+G \x06\x07",
    "Komunikaty",
    "  ostatni stoi pod Cofnij i Ponow; klik na urwany pokazuje go calego,",
    "  klik na znalezisko kontroli pokazuje mape i miejsce; Ukryj go chowa",
    "  F1 ta strona   F2 dziennik komunikatow   Escape lub klik zamyka",
};

const char* const commandHints[][2] = {
    {"", ""},
    {"Nowy zestaw map", "(Ctrl+N)"},
    {"Otworz zestaw (Ctrl+O)", "Ctrl+1..9: ostatnio otwarte"},
    {"Zapisz zestaw (Ctrl+S)", ""},
    {"Zapisz pod nowa nazwa", "(Ctrl+Shift+S)"},
    {"Oproznij biezaca mape", ""},
    {"Testuj biezaca mape", "w emulatorze"},
    {"Testuj caly zestaw", "w emulatorze"},
    {"Zamien biezaca mape z inna:", "kliknij ja potem (Escape: nie)"},
    {"Cofnij (Ctrl+Z)", ""},
    {"Ponow (Ctrl+Y, Ctrl+Shift+Z)", ""},
    {"Komunikaty tego uruchomienia", "(F2)"},
    {"Klawisze i mysz (F1)", ""},
    {"Ukryj komunikat", ""},
    {"Graj na planszy (F5)", "Shift+F5: pokaz rozwiazanie"},
    {setViewText(SetViewText::viewHint, Language::polish), ""},
};

bool isPathWord(const std::string& word)
{
    return word.find('/') != std::string::npos;
}

// Each word with a '/' cut to ".../" and its last part.
std::string withShortPaths(const std::string& message)
{
    std::string result, word;
    auto flush = [&] {
        if (isPathWord(word) && word.rfind('/') + 1 < word.size())
            word = ".../" + word.substr(word.rfind('/') + 1);
        result += word;
        word.clear();
    };
    for (char c : message) {
        if (c == ' ') {
            flush();
            result += c;
        } else {
            word += c;
        }
    }
    flush();
    return result;
}

} // namespace

std::vector<std::string> fitMessage(const std::string& message, size_t width, size_t lines, bool& whole)
{
    whole = true;
    std::vector<std::string> wrapped = wrapText(message, width);
    if (wrapped.size() <= lines)
        return wrapped;
    whole = false;
    wrapped = wrapText(withShortPaths(message), width);
    if (wrapped.size() <= lines)
        return wrapped;
    wrapped.resize(lines);
    std::string& last = wrapped.back();
    if (last.size() + 4 > width) {
        size_t cut = last.rfind(' ', width - 4);
        last.resize(cut == std::string::npos || cut == 0 ? width - 4 : cut);
    }
    last += " ...";
    return wrapped;
}

// --- Messages ----------------------------------------------------------------

void frame::notify(const Notice& notice)
{
    messageLog.push_back(notice);
    statusMessage = notice.text;
    statusIsError = notice.error;
    if (notice.error)
        std::fprintf(stderr, "zelbun-kreator: %s\n", notice.text.c_str());
}

void frame::showError(const std::string& message)
{
    Notice notice;
    notice.text = message;
    notice.error = true;
    notices = {notice};
    notify(notice);
}

void frame::showMessage(const std::string& message)
{
    Notice notice;
    notice.text = message;
    notices = {notice};
    notify(notice);
}

void frame::note(const std::string& message)
{
    Notice notice;
    notice.text = message;
    messageLog.push_back(notice);
    std::fprintf(stderr, "zelbun-kreator: %s\n", message.c_str());
}

// The checks' findings, one notice each, so that a click on one shows it.
void frame::showFindings(const std::vector<LevelFinding>& findings)
{
    notices.clear();
    for (const LevelFinding& finding : findings) {
        Notice notice;
        notice.text = describe(finding, Language::polish);
        notice.error = true;
        notice.slot = finding.slot;
        notice.cell = {finding.column, finding.row};
        notices.push_back(notice);
        messageLog.push_back(notice);
    }
    statusMessage = notices.empty() ? "" : notices.front().text;
    statusIsError = !notices.empty();
}

void frame::dismissMessage()
{
    notices.clear();
    statusMessage.clear();
    statusIsError = false;
}

std::vector<frame::TextLine> frame::messageLines(bool& whole) const
{
    whole = true;
    std::vector<TextLine> lines;
    const size_t room = layout::messageLineCount;
    if (notices.size() == 1) {
        for (const std::string& line : fitMessage(notices[0].text, layout::messageChars, room, whole))
            lines.push_back({line, 0, notices[0].error});
        return lines;
    }
    // Findings: each on its own lines, as many as there is room for.
    for (size_t i = 0; i < notices.size(); ++i) {
        std::vector<std::string> wrapped = wrapText(notices[i].text, layout::messageChars);
        const bool last = i + 1 == notices.size();
        if (lines.size() + wrapped.size() > room - (last ? 0 : 1)) {
            whole = false;
            lines.push_back({"... i " + std::to_string(notices.size() - i) + " wiecej (klik: wszystkie)", -1,
                             false});
            break;
        }
        for (const std::string& line : wrapped)
            lines.push_back({line, int(i), notices[i].error});
    }
    return lines;
}

void frame::drawMessageArea()
{
    bool whole = true;
    const std::vector<TextLine> lines = messageLines(whole);
    const Uint8 label = labelsInBlack() ? 0 : 255;
    const Uint8 labelColour[3] = {label, label, label};
    for (size_t i = 0; i < lines.size(); ++i) {
        const layout::Point at = layout::messageLine(int(i));
        if (lines[i].error) {
            // Red on a dark band reads on any background.
            boxRGBA(screen, Sint16(at.x - 2), Sint16(at.y - 1), Sint16(at.x + 8 * int(lines[i].text.size()) + 1),
                    Sint16(at.y + 8), 0, 0, 0, 255);
            text(screen, at.x, at.y, lines[i].text, errorRed);
        } else {
            text(screen, at.x, at.y, lines[i].text, labelColour);
        }
    }
}

void frame::messageAreaPress(int, int y)
{
    bool whole = true;
    const std::vector<TextLine> lines = messageLines(whole);
    const int line = (y - layout::messageLine(0).y + 1) / layout::messageLineHeight;
    if (line >= 0 && line < int(lines.size()) && lines[size_t(line)].notice >= 0) {
        const Notice& notice = notices[size_t(lines[size_t(line)].notice)];
        if (notice.slot >= 0) {
            showCell(notice.slot, notice.cell);
            return;
        }
    }
    if (!whole)
        showOverlay(Overlay::message);
}

// --- The status line -----------------------------------------------------------

std::string frame::statusText() const
{
    const int x = pointerX, y = pointerY;
    if (overlay_ != Overlay::none)
        return "";
    if (playing())
        return playtestStatus();
    if (setView->isOpen() && SetView::covers({x, y, 1, 1}))
        return setView->statusText(x, y);
    const Target target = targetAt(x, y);
    const map& level = levels[currentLevel];
    char line[96];
    auto tileText = [&](int code) {
        char described[64];
        const char* name = tileName(code);
        std::snprintf(described, sizeof described, name ? "$%02X %s" : "$%02X", code & 0xFF, name);
        return std::string(described);
    };
    switch (target.kind) {
    case Target::Canvas: {
        Cell cell;
        layout::canvasCellAt(x, y, cell);
        std::snprintf(line, sizeof line, "Kolumna %d, wiersz %d\n", cell.column + 1, cell.row + 1);
        std::string result = line;
        if (tools.hasSelection()) {
            const Cell a = tools.selectionStart(), b = tools.selectionEnd();
            std::snprintf(line, sizeof line, "Zaznaczenie %d x %d", std::abs(a.column - b.column) + 1,
                          std::abs(a.row - b.row) + 1);
            return result + line;
        }
        return result + "Kafel " + tileText(level.get(cell.column, cell.row));
    }
    case Target::Palette: {
        const int code = tileCodes[target.index];
        return code < 0 ? "" : "Kafel " + tileText(code) + "\nlewy przycisk nim rysuje";
    }
    case Target::LevelSlot:
        std::snprintf(line, sizeof line, "Mapa %d%s", target.index + 1, levels[target.index].isOn() ? "" : " (pusta)");
        return std::string(line) + (swapSource >= 0 ? "\nklik: zamien z biezaca" : "");
    case Target::ColourPicker: {
        const int column = std::min((x - layout::colourPicker.x) / 16, 15);
        const int value = column * 16 + (y - layout::colourPicker.y) / 16 * 2;
        std::snprintf(line, sizeof line, "Kolor $%02X\nklik: do rejestru %d", value, currentColour + 1);
        return line;
    }
    case Target::ColourRegister:
        std::snprintf(line, sizeof line, "Rejestr %d: $%02X%s", target.index + 1,
                      level.colorGet(target.index) & 0xFF,
                      target.index == 4 ? "\ntlo okna" : target.index == 5 ? "\nkolor robota" : "");
        return line;
    case Target::ScrewCounter:
        return "Srubki do zebrania: - i +\nklik na liczbe: policz na mapie";
    case Target::WallCounter:
        return "Wzorek murku: - i +\nklik na obrazek: pierwszy";
    case Target::TextBox:
        return "Tekst gry: klik daje klawiature\nEscape lub klik obok oddaje";
    case Target::PageButton:
        return target.index == 0 ? "Strona na poczatek gry" : "Strona na koniec gry";
    case Target::ToolButton:
        return toolHint() ? toolHint() : "";
    case Target::CommandButton: {
        const auto& hint = commandHints[target.index];
        return std::string(hint[0]) + (*hint[1] ? "\n" + std::string(hint[1]) : "");
    }
    case Target::MessageArea: {
        bool whole = true;
        const std::vector<TextLine> lines = messageLines(whole);
        const int row = (y - layout::messageLine(0).y + 1) / layout::messageLineHeight;
        if (row >= 0 && row < int(lines.size()) && lines[size_t(row)].notice >= 0 &&
            notices[size_t(lines[size_t(row)].notice)].slot >= 0)
            return "Klik: pokaz to miejsce";
        return whole ? "" : "Klik: caly komunikat";
    }
    case Target::Nothing:
        break;
    }
    return "";
}

void frame::drawStatusLine()
{
    const Uint8 label = labelsInBlack() ? 0 : 255;
    const Uint8 colour[3] = {label, label, label};
    const std::vector<std::string> lines = wrapText(statusText(), layout::statusChars);
    for (size_t i = 0; i < lines.size() && i < 2; ++i)
        text(screen, layout::statusText(int(i)).x, layout::statusText(int(i)).y, lines[i], colour);
}

// --- Pages over the window -------------------------------------------------------

void frame::showOverlay(Overlay which)
{
    if (which == overlay_)
        return;
    if (which == Overlay::none)
        wholeInvalid = true;  // what lay under the page comes back
    overlay_ = which;
    overlayTop = 0;
    shownOverlayLook = 0;
    if (which == Overlay::log) {
        // The newest at the bottom, in view.
        const size_t count = overlayLines().size();
        overlayTop = count > size_t(layout::overlayLineCount) ? count - size_t(layout::overlayLineCount) : 0;
    }
}

std::vector<frame::TextLine> frame::overlayLines() const
{
    std::vector<TextLine> lines;
    auto add = [&](const std::vector<Notice>& list) {
        for (size_t i = 0; i < list.size(); ++i)
            for (const std::string& line : wrapText(list[i].text, layout::overlayChars))
                lines.push_back({line, list[i].slot >= 0 ? int(i) : -1, list[i].error});
    };
    switch (overlay_) {
    case Overlay::help:
        for (const char* line : helpText)
            lines.push_back({line, -1, false});
        break;
    case Overlay::log:
        add(messageLog);
        if (messageLog.empty())
            lines.push_back({"Brak komunikatow.", -1, false});
        break;
    case Overlay::message:
        add(notices);
        break;
    case Overlay::none:
        break;
    }
    return lines;
}

void frame::drawOverlay()
{
    const layout::Rect& r = layout::overlay;
    boxRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 40, 40, 70, 255);
    rectangleRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 200, 200, 200,
                  255);
    const char* title = overlay_ == Overlay::help  ? "Pomoc (F1)"
                        : overlay_ == Overlay::log ? "Dziennik komunikatow (F2)"
                                                   : "Komunikat";
    const Uint8 dim[3] = {170, 170, 170};
    text(screen, r.x + 8, r.y + 8, title, dim);
    const std::string closing = "Escape lub klik zamyka";
    text(screen, r.right() - 8 - 8 * int(closing.size()), r.y + 8, closing, dim);
    const std::vector<TextLine> lines = overlayLines();
    const Uint8 white[3] = {255, 255, 255};
    const Uint8 heading[3] = {255, 255, 120};
    const size_t last = std::min(lines.size(), overlayTop + size_t(layout::overlayLineCount));
    for (size_t i = overlayTop; i < last; ++i) {
        const int y = layout::overlayTextTop + layout::overlayLineHeight * int(i - overlayTop);
        const bool isHeading = overlay_ == Overlay::help && !lines[i].text.empty() && lines[i].text[0] != ' ';
        text(screen, r.x + 8, y, lines[i].text, lines[i].error ? errorRed : isHeading ? heading : white);
    }
    if (overlayTop > 0)
        text(screen, r.right() - 24, layout::overlayTextTop, "^", dim);
    if (last < lines.size())
        text(screen, r.right() - 24, r.bottom() - 16, "v", dim);
}

// While a page shows, a press closes it; on a finding it also shows the
// finding's place. The wheel scrolls.
bool frame::overlayPress(int, int y, int button)
{
    const std::vector<TextLine> lines = overlayLines();
    const size_t room = size_t(layout::overlayLineCount);
    if (button == 4 || button == 5) {
        const size_t most = lines.size() > room ? lines.size() - room : 0;
        overlayTop = button == 4 ? (overlayTop >= 3 ? overlayTop - 3 : 0) : std::min(most, overlayTop + 3);
        return true;
    }
    const int row = (y - layout::overlayTextTop) / layout::overlayLineHeight;
    const size_t index = overlayTop + size_t(std::max(row, 0));
    const std::vector<Notice>& list = overlay_ == Overlay::log ? messageLog : notices;
    if (y >= layout::overlayTextTop && index < lines.size() && lines[index].notice >= 0 &&
        overlay_ != Overlay::help) {
        const Notice notice = list[size_t(lines[index].notice)];
        showOverlay(Overlay::none);
        showCell(notice.slot, notice.cell);
        return true;
    }
    showOverlay(Overlay::none);
    return true;
}

bool frame::overlayKey(const SDL_keysym& key)
{
    const size_t count = overlayLines().size();
    const size_t room = size_t(layout::overlayLineCount);
    const size_t most = count > room ? count - room : 0;
    switch (key.sym) {
    case SDLK_UP:
        overlayTop = overlayTop > 0 ? overlayTop - 1 : 0;
        return true;
    case SDLK_DOWN:
        overlayTop = std::min(most, overlayTop + 1);
        return true;
    case SDLK_PAGEUP:
        overlayTop = overlayTop > room ? overlayTop - room : 0;
        return true;
    case SDLK_PAGEDOWN:
        overlayTop = std::min(most, overlayTop + room);
        return true;
    case SDLK_F1:
        showOverlay(overlay_ == Overlay::help ? Overlay::none : Overlay::help);
        return true;
    case SDLK_F2:
        showOverlay(overlay_ == Overlay::log ? Overlay::none : Overlay::log);
        return true;
    default:
        // Any other key closes the page and does nothing else.
        showOverlay(Overlay::none);
        return true;
    }
}

// --- Showing a place ---------------------------------------------------------------

void frame::showCell(int slot, Cell cell)
{
    if (slot < 0 || slot >= levelCount)
        return;
    showSetView(false);  // the place is on the canvas
    chooseLevel(slot);
    flashSlot = slot;
    flashedCell = insideGrid(cell) ? cell : Cell{-1, -1};
    flashStart = clock();
}

bool frame::flashing() const
{
    return flashSlot >= 0 && insideGrid(flashedCell) && clock() - flashStart < flashDuration;
}

void frame::zoomBy(int steps)
{
    if (Display* display = Display::current()) {
        display->setScale(display->scale() + steps);
        invalidate();
    }
}
