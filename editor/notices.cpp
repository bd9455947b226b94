#include "editor/notices.h"

#include "core/messages.h"
#include "core/wraptext.h"
#include "editor/layout.h"
#include "render/font.h"

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
    helpLine(HelpLine::turning, Language::polish),
    "Zestaw",
    "  Ctrl+N nowy   Ctrl+O otworz   Ctrl+1..9 ostatnio otwarte",
    "  Ctrl+S zapisz   Ctrl+Shift+S zapisz jako",
    "  Ctrl+Z cofnij   Ctrl+Y lub Ctrl+Shift+Z ponow",
    "Mapy",
    "  1..32 wybiera mape; Usun mape ja oproznia",
    "  Zamien mapy, potem druga mapa: zamienia je miejscami",
    "  Testuj mape, Testuj gre: test w emulatorze, kazdy na wlasnym obrazie",
    "  F5 lub Graj: gra na planszy klawiszami gry: strzalki ida, Ctrl ze strzalka",
    "    strzela w jej strone, spacja pauza, R od nowa (zycie zostaje), Escape",
    "    lub klik wraca do edycji; Shift+F5 pokazuje rozwiazanie",
    helpLine(HelpLine::playFromCell, Language::polish),
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

Notices::Notices(std::function<uint64_t()> clock, std::function<void()> repaintAll)
    : clock_(std::move(clock)), repaintAll_(std::move(repaintAll))
{
}

void Notices::notify(const Notice& notice)
{
    log_.push_back(notice);
    latest_ = notice.text;
    latestIsError_ = notice.error;
    if (notice.error)
        std::fprintf(stderr, "zelbun-kreator: %s\n", notice.text.c_str());
}

void Notices::showError(const std::string& message)
{
    Notice notice;
    notice.text = message;
    notice.error = true;
    shown_ = {notice};
    notify(notice);
}

void Notices::showMessage(const std::string& message)
{
    Notice notice;
    notice.text = message;
    shown_ = {notice};
    notify(notice);
}

void Notices::note(const std::string& message)
{
    Notice notice;
    notice.text = message;
    log_.push_back(notice);
    std::fprintf(stderr, "zelbun-kreator: %s\n", message.c_str());
}

void Notices::showFindings(const std::vector<LevelFinding>& findings)
{
    shown_.clear();
    for (const LevelFinding& finding : findings) {
        Notice notice;
        notice.text = describe(finding, Language::polish);
        notice.error = true;
        notice.slot = finding.slot;
        notice.cell = {finding.column, finding.row};
        shown_.push_back(notice);
        log_.push_back(notice);
    }
    latest_ = shown_.empty() ? "" : shown_.front().text;
    latestIsError_ = !shown_.empty();
}

void Notices::dismiss()
{
    shown_.clear();
    latest_.clear();
    latestIsError_ = false;
}

std::vector<Notices::TextLine> Notices::messageLines(bool& whole) const
{
    whole = true;
    std::vector<TextLine> lines;
    const size_t room = layout::messageLineCount;
    if (shown_.size() == 1) {
        for (const std::string& line : fitMessage(shown_[0].text, layout::messageChars, room, whole))
            lines.push_back({line, 0, shown_[0].error});
        return lines;
    }
    // Findings: each on its own lines, as many as there is room for.
    for (size_t i = 0; i < shown_.size(); ++i) {
        std::vector<std::string> wrapped = wrapText(shown_[i].text, layout::messageChars);
        const bool last = i + 1 == shown_.size();
        if (lines.size() + wrapped.size() > room - (last ? 0 : 1)) {
            whole = false;
            lines.push_back({"... i " + std::to_string(shown_.size() - i) + " wiecej (klik: wszystkie)", -1,
                             false});
            break;
        }
        for (const std::string& line : wrapped)
            lines.push_back({line, int(i), shown_[i].error});
    }
    return lines;
}

Notices::Place Notices::messageAreaPress(int y)
{
    bool whole = true;
    const std::vector<TextLine> lines = messageLines(whole);
    const int line = layout::messageLineAt(y);
    if (line >= 0 && line < int(lines.size()) && lines[size_t(line)].notice >= 0) {
        const Notice& notice = shown_[size_t(lines[size_t(line)].notice)];
        if (notice.slot >= 0)
            return {notice.slot, notice.cell};
    }
    if (!whole)
        showOverlay(Overlay::message);
    return {};
}

std::string Notices::messageAreaHint(int y) const
{
    bool whole = true;
    const std::vector<TextLine> lines = messageLines(whole);
    const int row = layout::messageLineAt(y);
    if (row >= 0 && row < int(lines.size()) && lines[size_t(row)].notice >= 0 &&
        shown_[size_t(lines[size_t(row)].notice)].slot >= 0)
        return "Klik: pokaz to miejsce";
    return whole ? "" : "Klik: caly komunikat";
}

void Notices::drawMessageArea(SDL_Surface* screen, bool blackLabels) const
{
    bool whole = true;
    const std::vector<TextLine> lines = messageLines(whole);
    const Uint8 label = blackLabels ? 0 : 255;
    const Uint8 labelColour[3] = {label, label, label};
    for (size_t i = 0; i < lines.size(); ++i) {
        const layout::Point at = layout::messageLine(int(i));
        if (lines[i].error) {
            // Red on a dark band reads on any background.
            const layout::Rect band = layout::errorBand(at, int(lines[i].text.size()));
            boxRGBA(screen, Sint16(band.x), Sint16(band.y), Sint16(band.right() - 1), Sint16(band.bottom() - 1), 0,
                    0, 0, 255);
            text(screen, at.x, at.y, lines[i].text, errorRed);
        } else {
            text(screen, at.x, at.y, lines[i].text, labelColour);
        }
    }
}

void Notices::drawStatusLine(SDL_Surface* screen, const std::string& status, bool blackLabels)
{
    const Uint8 label = blackLabels ? 0 : 255;
    const Uint8 colour[3] = {label, label, label};
    const std::vector<std::string> lines = wrapText(status, layout::statusChars);
    for (size_t i = 0; i < lines.size() && i < 2; ++i)
        text(screen, layout::statusText(int(i)).x, layout::statusText(int(i)).y, lines[i], colour);
}

// --- Pages over the window -------------------------------------------------------

void Notices::showOverlay(Overlay which)
{
    if (which == overlay_)
        return;
    if (which == Overlay::none)
        repaintAll_();  // what lay under the page comes back
    overlay_ = which;
    overlayTop_ = 0;
    if (which == Overlay::log)
        scrollTo(overlayLines().size());  // the newest at the bottom, in view
}

void Notices::scrollTo(size_t top)
{
    const size_t count = overlayLines().size(), room = size_t(layout::overlayLineCount);
    overlayTop_ = std::min(top, count > room ? count - room : 0);
}

std::vector<Notices::TextLine> Notices::overlayLines() const
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
        add(log_);
        if (log_.empty())
            lines.push_back({"Brak komunikatow.", -1, false});
        break;
    case Overlay::message:
        add(shown_);
        break;
    case Overlay::none:
        break;
    }
    return lines;
}

uint64_t Notices::overlayLook() const
{
    uint64_t look = uint64_t(overlay_) * 1000003u + overlayTop_;
    for (const TextLine& line : overlayLines())
        look = (look ^ std::hash<std::string>()(line.text)) * 0x100000001b3ull;
    return look;
}

void Notices::drawOverlay(SDL_Surface* screen) const
{
    const layout::Rect& r = layout::overlay;
    boxRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 40, 40, 70, 255);
    rectangleRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 200, 200, 200,
                  255);
    const char* title = overlay_ == Overlay::help  ? "Pomoc (F1)"
                        : overlay_ == Overlay::log ? "Dziennik komunikatow (F2)"
                                                   : "Komunikat";
    const Uint8 dim[3] = {170, 170, 170};
    text(screen, layout::overlayTitle.x, layout::overlayTitle.y, title, dim);
    const std::string closing = "Escape lub klik zamyka";
    text(screen, layout::overlayClosing(int(closing.size())).x, layout::overlayTitle.y, closing, dim);
    const std::vector<TextLine> lines = overlayLines();
    const Uint8 white[3] = {255, 255, 255};
    const Uint8 heading[3] = {255, 255, 120};
    const size_t last = std::min(lines.size(), overlayTop_ + size_t(layout::overlayLineCount));
    for (size_t i = overlayTop_; i < last; ++i) {
        const layout::Point at = layout::overlayLine(int(i - overlayTop_));
        const bool isHeading = overlay_ == Overlay::help && !lines[i].text.empty() && lines[i].text[0] != ' ';
        text(screen, at.x, at.y, lines[i].text, lines[i].error ? errorRed : isHeading ? heading : white);
    }
    if (overlayTop_ > 0)
        text(screen, layout::overlayMoreAbove.x, layout::overlayMoreAbove.y, "^", dim);
    if (last < lines.size())
        text(screen, layout::overlayMoreBelow.x, layout::overlayMoreBelow.y, "v", dim);
}

Notices::Place Notices::overlayPress(int y, int button)
{
    if (button == 4 || button == 5) {
        scrollTo(button == 4 ? (overlayTop_ >= 3 ? overlayTop_ - 3 : 0) : overlayTop_ + 3);
        return {};
    }
    const std::vector<TextLine> lines = overlayLines();
    const int row = layout::overlayLineAt(y);
    const size_t index = overlayTop_ + size_t(std::max(row, 0));
    const std::vector<Notice>& list = overlay_ == Overlay::log ? log_ : shown_;
    Place place;
    if (row >= 0 && index < lines.size() && lines[index].notice >= 0 && overlay_ != Overlay::help) {
        const Notice& notice = list[size_t(lines[index].notice)];
        place = {notice.slot, notice.cell};
    }
    showOverlay(Overlay::none);
    return place;
}

void Notices::overlayKey(PageKey key)
{
    const size_t room = size_t(layout::overlayLineCount);
    switch (key) {
    case PageKey::up:
        scrollTo(overlayTop_ > 0 ? overlayTop_ - 1 : 0);
        break;
    case PageKey::down:
        scrollTo(overlayTop_ + 1);
        break;
    case PageKey::pageUp:
        scrollTo(overlayTop_ > room ? overlayTop_ - room : 0);
        break;
    case PageKey::pageDown:
        scrollTo(overlayTop_ + room);
        break;
    case PageKey::help:
        showOverlay(overlay_ == Overlay::help ? Overlay::none : Overlay::help);
        break;
    case PageKey::log:
        showOverlay(overlay_ == Overlay::log ? Overlay::none : Overlay::log);
        break;
    case PageKey::other:
        showOverlay(Overlay::none);  // and does nothing else
        break;
    }
}

// --- The flashing cell ---------------------------------------------------------------

void Notices::flash(int slot, Cell cell)
{
    flashSlot_ = slot;
    flashedCell_ = insideGrid(cell) ? cell : Cell{-1, -1};
    flashStart_ = clock_();
}

bool Notices::flashing() const
{
    return flashSlot_ >= 0 && insideGrid(flashedCell_) && clock_() - flashStart_ < flashDuration;
}

bool Notices::flashMarkOn(int slot, Cell cell) const
{
    return flashing() && slot == flashSlot_ && cell == flashedCell_ && (clock_() - flashStart_) / 200 % 2 == 0;
}
