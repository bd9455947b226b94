#include "editor/setview.h"

#include "core/gameimage.h"
#include "core/messages.h"
#include "render/font.h"
#include "render/funkcje.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace setlayout;

const int leftButton = 1;
const int dragDistance = 4;  // pixels a press moves before it drags
const size_t picturesKept = 256;

struct Colour {
    Uint8 r, g, b;
};
const Colour background{28, 28, 36};
const Colour chosenBackground{52, 52, 84};
const Colour plainText{230, 230, 230};
const Colour dimText{150, 150, 160};
const Colour chosenFrame{255, 210, 0};
const Colour dropMark{0, 230, 255};
const Colour badgeColour{200, 40, 40};
const Colour solvedColour{110, 220, 110};
const Colour unsolvableColour{255, 90, 90};

enum Button { insertButton, duplicateButton, deleteButton, importButton, cutButton, copyButton, pasteButton,
              closeButton };
enum ImportButton { chooseAllButton, insertChosenButton, cancelButton };
const SetViewText buttonTexts[][2] = {
    {SetViewText::insertButton, SetViewText::insertHint},       {SetViewText::duplicateButton, SetViewText::duplicateHint},
    {SetViewText::deleteButton, SetViewText::deleteHint},       {SetViewText::importButton, SetViewText::importHint},
    {SetViewText::cutButton, SetViewText::cutHint},             {SetViewText::copyButton, SetViewText::copyHint},
    {SetViewText::pasteButton, SetViewText::pasteHint},         {SetViewText::closeButton, SetViewText::closeHint},
};
const SetViewText importButtonTexts[][2] = {
    {SetViewText::chooseAllButton, SetViewText::chooseAllHint},
    {SetViewText::insertChosenButton, SetViewText::insertChosenHint},
    {SetViewText::cancelButton, SetViewText::cancelHint},
};

void text(SDL_Surface* screen, int x, int y, const std::string& s, Colour c)
{
    drawString(screen, x, y, s.c_str(), c.r, c.g, c.b);
}

SDL_Rect sdlRect(const layout::Rect& r)
{
    return {Sint16(r.x), Sint16(r.y), Uint16(r.w), Uint16(r.h)};
}

void fill(SDL_Surface* screen, const layout::Rect& r, Colour c)
{
    fillArea(screen, sdlRect(r), SDL_MapRGB(screen->format, c.r, c.g, c.b));
}

void frameRect(SDL_Surface* screen, const layout::Rect& r, Colour c)
{
    rectangleRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), c.r, c.g, c.b,
                  255);
}

// What a level's picture shows.
std::string pictureKey(const LevelData& level)
{
    std::string key(reinterpret_cast<const char*>(&level.cells[0][0]), sizeof level.cells);
    for (int colour : level.colours)
        key += char(colour);
    key += char(level.wzorek);
    return key;
}

// A hash of what a part shows, word by word.
struct Hash {
    uint64_t value = 0x84222325cbf29ce4ull;
    Hash& operator<<(uint64_t word)
    {
        value = (value ^ word) * 0x100000001b3ull;
        value ^= value >> 31;
        return *this;
    }
    Hash& operator<<(const std::string& s) { return *this << uint64_t(std::hash<std::string>()(s)); }
};

bool modifierHeld(SDLMod mods, int which) { return (mods & which) != 0; }

} // namespace

struct SetView::Shown {
    const LevelData* level = nullptr;  // null: an empty place
    int played = 0;                    // its number in the game, from 1
    LevelVerdict verdict;
    const std::vector<LevelFinding>* findings = nullptr;
};

SetView::SetView(Session& session, const TileArt& art, const LevelRules& rules, Hooks hooks, Options options)
    : session_(session), art_(art), rules_(rules), hooks_(std::move(hooks)),
      clipboard_(std::move(options.clipboardFile)), verdicts_(std::move(options.solve), hooks_.wake)
{
    sheet_.attach(art_.sheet, art_.palette);
    changedAt_ = hooks_.clock();
    for (int i = 0; i < buttonCount; ++i) {
        buttons_.emplace_back(new CButton(setViewText(buttonTexts[i][0], language_)));
        const layout::Rect r = setlayout::button(i);
        buttons_.back()->move(r.x, r.y, r.w, r.h);
    }
    for (int i = 0; i < 3; ++i) {
        importButtons_.emplace_back(new CButton(setViewText(importButtonTexts[i][0], language_)));
        const layout::Rect r = setlayout::button(i);
        importButtons_.back()->move(r.x, r.y, r.w, r.h);
    }
}

void SetView::setLanguage(Language language)
{
    language_ = language;
    auto label = [&](SetViewText text, int i) {
        return fitLabel(setViewText(text, language_), size_t(setlayout::button(i).w / layout::fontWidth));
    };
    for (int i = 0; i < buttonCount; ++i)
        buttons_[size_t(i)]->caption(label(buttonTexts[i][0], i).c_str());
    for (int i = 0; i < 3; ++i)
        importButtons_[size_t(i)]->caption(label(importButtonTexts[i][0], i).c_str());
}

bool SetView::covers(const layout::Rect& area)
{
    auto overlaps = [&](const layout::Rect& r) {
        return area.x < r.right() && r.x < area.right() && area.y < r.bottom() && r.y < area.bottom();
    };
    return overlaps(grid) || overlaps(lower);
}

void SetView::open(int slot)
{
    refresh();
    open_ = true;
    chooseOnly(std::clamp(slot, 0, kLevelSlots - 1));
}

void SetView::close()
{
    if (importing_)
        cancelImport();
    open_ = false;
    held_ = 0;
    pressedPlace_ = pressedButton_ = -1;
    dragging_ = false;
}

void SetView::say(const std::string& message, bool error) const
{
    if (hooks_.say)
        hooks_.say(message, error);
}

// --- What the places show ------------------------------------------------------

void SetView::refresh()
{
    if (session_.revision() == seenRevision_)
        return;
    seenRevision_ = session_.revision();
    const Document& doc = session_.document();
    for (int slot = 0; slot < kLevelSlots; ++slot)
        findings_[size_t(slot)] =
            doc.levels[slot].on ? checkLevel(doc.levels[slot], slot, rules_) : std::vector<LevelFinding>();
    played_ = playNumbers(doc.levels);
}

int SetView::placeCount() const
{
    return importing_ ? int(imported_.size()) : kLevelSlots;
}

SetView::Shown SetView::shownAt(int i) const
{
    Shown shown;
    if (i < 0 || i >= placeCount())
        return shown;
    if (importing_) {
        shown.level = &imported_[size_t(i)];
        shown.played = i + 1;
        shown.findings = &importFindings_[size_t(i)];
    } else if (session_.level(i).on) {
        shown.level = &session_.level(i);
        shown.played = played_[size_t(i)];
        shown.findings = &findings_[size_t(i)];
    }
    if (shown.level)
        shown.verdict = verdicts_.verdict(*shown.level);
    return shown;
}

LevelVerdict SetView::verdict(int slot) const
{
    const LevelData& level = session_.level(slot);
    return level.on ? verdicts_.verdict(level) : LevelVerdict();
}

bool SetView::slotMarked(int slot)
{
    refresh();
    return !findings_[size_t(slot)].empty() || verdict(slot).kind == LevelVerdict::unsolvable;
}

int SetView::placeAt(int x, int y) const
{
    if (!grid.contains(x, y))
        return -1;
    const int i = (y - grid.y) / placeHeight * columns + (x - grid.x) / placeWidth;
    return i < kLevelSlots ? i : -1;
}

bool SetView::overButton(int x, int y)
{
    for (int i = 0; i < buttonCount; ++i)
        if (setlayout::button(i).contains(x, y))
            return true;
    return false;
}

std::string SetView::statusText(int x, int y) const
{
    if (!open_)
        return "";
    for (int i = 0; i < buttonCount; ++i)
        if (setlayout::button(i).contains(x, y)) {
            if (importing_)
                return i < 3 ? setViewText(importButtonTexts[i][1], language_) : "";
            return setViewText(buttonTexts[i][1], language_);
        }
    const int i = placeAt(x, y);
    if (i < 0 || i >= placeCount())
        return "";
    const Shown shown = shownAt(i);
    std::string summary = levelSummary(i, shown.played, shown.verdict, !shown.level, language_);
    if (shown.findings && !shown.findings->empty()) {
        summary += "\n";
        for (size_t k = 0; k < shown.findings->size(); ++k)
            summary += (k ? "; " : "") + findingWords((*shown.findings)[k], language_);
    }
    return summary;
}

// --- Choosing ----------------------------------------------------------------------

void SetView::chooseOnly(int i)
{
    chosen_ = anchor_ = i;
    selection_ = {i};
}

// `extend`: everything from the anchor to `i`; `toggle`: `i` in or out.
void SetView::choose(int i, bool extend, bool toggle)
{
    i = std::clamp(i, 0, std::max(placeCount() - 1, 0));
    if (extend) {
        selection_.clear();
        for (int k = std::min(anchor_, i); k <= std::max(anchor_, i); ++k)
            selection_.push_back(k);
        chosen_ = i;
    } else if (toggle) {
        const auto at = std::find(selection_.begin(), selection_.end(), i);
        if (at == selection_.end())
            selection_.insert(std::upper_bound(selection_.begin(), selection_.end(), i), i);
        else if (selection_.size() > 1)
            selection_.erase(at);
        chosen_ = anchor_ = i;
    } else {
        chooseOnly(i);
    }
}

void SetView::chooseAll()
{
    anchor_ = 0;
    choose(placeCount() - 1, true, false);
}

// The chosen levels follow their levels to their new places.
void SetView::follow(const SetChange& change)
{
    if (!change.changed)
        return;
    if (hooks_.moved)
        hooks_.moved(change.movedTo);
    if (change.placed.empty())
        return;
    selection_ = change.placed;
    std::sort(selection_.begin(), selection_.end());
    const int now = change.movedTo[size_t(chosen_)];
    chosen_ = std::find(selection_.begin(), selection_.end(), now) != selection_.end() ? now : selection_.front();
    anchor_ = chosen_;
}

bool SetView::refused(const SetChange& change)
{
    if (change.wouldNotFit <= 0)
        return false;
    say(setNews(SetNews::setFull, change.wouldNotFit, "", 0, language_), true);
    return true;
}

// --- The commands ---------------------------------------------------------------------

void SetView::moveTo(int place)
{
    follow(moveLevels(session_, selection_, place));
}

// One place, or a row of places, back (negative) or on.
void SetView::moveBy(int places)
{
    if (selection_.empty())
        return;
    const int first = selection_.front(), last = selection_.back();
    if (places < 0 && first > 0)
        moveTo(std::max(first + places, 0));
    else if (places > 0 && last < kLevelSlots - 1)
        moveTo(std::min(last + 1 + places, kLevelSlots));
}

void SetView::insertEmpty()
{
    const SetChange change = insertEmptyLevel(session_, chosen_);
    if (!refused(change))
        follow(change);
}

void SetView::duplicate()
{
    const SetChange change = duplicateLevels(session_, selection_);
    if (!refused(change))
        follow(change);
}

void SetView::remove()
{
    const int levels = int(levelsAt(session_, selection_).size());
    follow(deleteLevels(session_, selection_));
    if (levels > 0)
        say(setNews(SetNews::deleted, levels, "", 0, language_));
}

void SetView::copy(bool cut)
{
    const std::vector<LevelData> levels = levelsAt(session_, selection_);
    if (levels.empty()) {
        say(setNews(SetNews::nothingToCopy, 0, "", 0, language_));
        return;
    }
    if (const Error error = clipboard_.put(levels, session_.document().game))
        say(describe(error, language_), true);
    if (cut)
        follow(deleteLevels(session_, selection_));
    say(setNews(cut ? SetNews::cut : SetNews::copied, int(levels.size()), "", 0, language_));
}

// `levels` in front of `place`; false, saying why, when there are none
// (`none` says so) or they do not fit.
bool SetView::inserted(int place, const std::vector<LevelData>& levels, SetNews none, SetChange& change)
{
    if (levels.empty()) {
        say(setNews(none, 0, "", 0, language_));
        return false;
    }
    change = insertLevels(session_, place, levels);
    return !refused(change);
}

void SetView::paste()
{
    const std::vector<LevelData> levels = clipboard_.levels(session_.eraserCode());
    SetChange change;
    if (!inserted(chosen_, levels, SetNews::clipboardEmpty, change))
        return;
    follow(change);
    say(setNews(SetNews::pasted, int(levels.size()), "", 0, language_));
}

void SetView::startImport()
{
    if (!open_ || importing_ || !hooks_.chooseFile)
        return;
    std::string path;
    if (!hooks_.chooseFile(path))
        return;
    std::vector<uint8_t> bytes;
    Error error = readFile(path, bytes, kGameImageReadLimit);
    if (!error) {
        error = gameImageProblem(bytes.data(), bytes.size());
        error.path = path;
    }
    if (error) {
        say(describe(error, language_), true);
        return;
    }
    const LoadResult read = readGameImage(bytes.data(), bytes.size(), session_.eraserCode());
    std::vector<LevelData> levels;
    for (const LevelData& level : read.levels)
        if (level.on)
            levels.push_back(level);
    const std::string name = fileNameOf(path);
    if (levels.empty()) {
        say(setNews(SetNews::importEmpty, 0, name, 0, language_), true);
        return;
    }
    imported_ = std::move(levels);
    importFindings_.clear();
    for (size_t i = 0; i < imported_.size(); ++i)
        importFindings_.push_back(checkLevel(imported_[i], int(i), rules_));
    importName_ = name;
    importPlace_ = chosen_;
    setSelection_ = selection_;
    setChosen_ = chosen_;
    importing_ = true;
    requested_ = false;  // their verdicts too
    chooseOnly(0);
    const bool onto = !session_.level(importPlace_).on;
    say(setNews(onto ? SetNews::importingOnto : SetNews::importing, int(imported_.size()), name, importPlace_,
                language_));
}

void SetView::insertImported()
{
    std::vector<LevelData> levels;
    for (int i : selection_)
        if (i < int(imported_.size()))
            levels.push_back(imported_[size_t(i)]);
    SetChange change;
    if (!inserted(importPlace_, levels, SetNews::nothingChosen, change))
        return;
    importing_ = false;
    chosen_ = importPlace_;
    follow(change);
    say(setNews(SetNews::imported, int(levels.size()), importName_, 0, language_));
}

void SetView::cancelImport()
{
    importing_ = false;
    selection_ = setSelection_;
    chosen_ = anchor_ = setChosen_;
}

void SetView::runButton(int i)
{
    if (importing_) {
        switch (i) {
        case chooseAllButton: chooseAll(); break;
        case insertChosenButton: insertImported(); break;
        case cancelButton: cancelImport(); break;
        default: break;
        }
        return;
    }
    switch (i) {
    case insertButton: insertEmpty(); break;
    case duplicateButton: duplicate(); break;
    case deleteButton: remove(); break;
    case importButton: startImport(); break;
    case cutButton: copy(true); break;
    case copyButton: copy(false); break;
    case pasteButton: paste(); break;
    case closeButton: close(); break;
    default: break;
    }
}

// --- The keys ----------------------------------------------------------------------------

bool SetView::key(const SDL_keysym& key)
{
    if (!open_)
        return false;
    refresh();
    const bool ctrl = modifierHeld(key.mod, KMOD_CTRL), shift = modifierHeld(key.mod, KMOD_SHIFT);
    const bool alt = modifierHeld(key.mod, KMOD_ALT | KMOD_MODE);
    int step = 0;
    switch (key.sym) {
    case SDLK_LEFT: step = -1; break;
    case SDLK_RIGHT: step = 1; break;
    case SDLK_UP: step = -columns; break;
    case SDLK_DOWN: step = columns; break;
    default: break;
    }
    if (step != 0 && !ctrl) {
        if (alt && !importing_)
            moveBy(step);
        else if (!alt)
            choose(chosen_ + step, shift, false);
        return true;
    }
    if (ctrl && !alt) {
        switch (key.sym) {
        case SDLK_a: chooseAll(); return true;
        case SDLK_d: if (!importing_) duplicate(); return true;
        case SDLK_x: if (!importing_) copy(true); return true;
        case SDLK_c: if (!importing_) copy(false); return true;
        case SDLK_v: if (!importing_) paste(); return true;
        case SDLK_i: startImport(); return true;
        default: return false;  // undo, saving, opening: the window's
        }
    }
    switch (key.sym) {
    case SDLK_ESCAPE:
        if (importing_)
            cancelImport();
        else
            close();
        return true;
    case SDLK_HOME: choose(0, shift, false); return true;
    case SDLK_END: choose(placeCount() - 1, shift, false); return true;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        if (importing_) {
            insertImported();
        } else {
            const int slot = chosen_;
            close();
            if (hooks_.edit)
                hooks_.edit(slot);
        }
        return true;
    case SDLK_INSERT:
        if (importing_)
            insertImported();
        else
            insertEmpty();
        return true;
    case SDLK_DELETE:
        if (!importing_)
            remove();
        return true;
    case SDLK_F5:
        // Plays the chosen level: on the canvas, so the view makes way.
        if (!importing_) {
            const int slot = chosen_;
            close();
            if (hooks_.edit)
                hooks_.edit(slot);
        }
        return importing_;
    default:
        // The other function keys (help, the log) are the window's; the
        // canvas's letter keys do nothing while it is hidden.
        return !(key.sym >= SDLK_F1 && key.sym <= SDLK_F15);
    }
}

// --- The mouse ---------------------------------------------------------------------------

bool SetView::mouse(int x, int y, int button)
{
    if (!open_)
        return false;
    pointerX_ = x;
    pointerY_ = y;
    const bool over = grid.contains(x, y) || lower.contains(x, y);
    if (button == 0) {
        held_ = 0;  // a release went astray outside the window
        dragging_ = false;
        pressedPlace_ = pressedButton_ = -1;
        return over;
    }
    const int bit = button >= 1 && button <= 3 ? 1 << (button - 1) : 0;
    if (button > 0 && held_ != 0 && button == held_) {
        if (pressedPlace_ >= 0 && !importing_)
            dragTo(x, y);
        for (int i = 0; i < buttonCount; ++i)
            buttons_[size_t(i)]->pushed(i == pressedButton_ && setlayout::button(i).contains(x, y));
        return true;
    }
    if (button > 0) {
        if (!over && held_ == 0)
            return false;
        held_ |= bit;
        if (button != leftButton || held_ != bit)
            return true;
        refresh();
        const int i = placeAt(x, y);
        if (i >= 0 && i < placeCount())
            pressPlace(i, x, y);
        for (int k = 0; k < buttonCount; ++k)
            if (setlayout::button(k).contains(x, y) && (!importing_ || k < 3)) {
                pressedButton_ = k;
                (importing_ ? importButtons_ : buttons_)[size_t(k)]->pushed(1);
            }
        return true;
    }
    if (held_ == 0)
        return false;
    held_ &= ~(button <= -1 && button >= -3 ? 1 << (-button - 1) : 0);
    if (-button != leftButton)
        return true;
    if (dragging_)
        drop();
    else if (pressedPlace_ >= 0 && !(SDL_GetModState() & (KMOD_CTRL | KMOD_SHIFT)) && placeAt(x, y) == pressedPlace_)
        chooseOnly(pressedPlace_);  // a click on one of several chosen keeps only it
    if (pressedButton_ >= 0 && setlayout::button(pressedButton_).contains(x, y))
        runButton(pressedButton_);
    for (auto& b : buttons_)
        b->free();
    for (auto& b : importButtons_)
        b->free();
    pressedPlace_ = pressedButton_ = -1;
    dragging_ = false;
    dropAt_ = -1;
    return true;
}

void SetView::pressPlace(int i, int x, int y)
{
    const SDLMod mods = SDL_GetModState();
    const bool inSelection = std::find(selection_.begin(), selection_.end(), i) != selection_.end();
    if (modifierHeld(mods, KMOD_SHIFT))
        choose(i, true, false);
    else if (modifierHeld(mods, KMOD_CTRL))
        choose(i, false, true);
    else if (!inSelection)
        chooseOnly(i);
    else
        chosen_ = i;
    pressedPlace_ = i;
    pressX_ = x;
    pressY_ = y;
    dragging_ = false;
    dropAt_ = -1;
}

// The drop point: in front of the place under the pointer, or after it
// over its right half.
void SetView::dragTo(int x, int y)
{
    if (!dragging_ && std::abs(x - pressX_) + std::abs(y - pressY_) < dragDistance)
        return;
    dragging_ = true;
    const int i = placeAt(x, y);
    if (i < 0) {
        dropAt_ = -1;
        return;
    }
    dropRight_ = x >= setlayout::place(i).x + placeWidth / 2;
    dropAt_ = i + (dropRight_ ? 1 : 0);
}

void SetView::drop()
{
    if (dropAt_ >= 0)
        moveTo(dropAt_);
}

// --- Painting -----------------------------------------------------------------------------

SDL_Surface* SetView::pictureOf(const LevelData& level)
{
    const std::string key = pictureKey(level);
    auto found = pictures_.find(key);
    if (found != pictures_.end())
        return found->second.get();
    if (pictures_.size() >= picturesKept)
        pictures_.clear();
    SurfacePtr picture = newSheetSurface(setlayout::picture(0).w, setlayout::picture(0).h);
    if (!picture)
        return nullptr;
    sheet_.follow(level.colours);
    drawLevelReduced(picture.get(), art_, sheet_.surface(), level, 0, 0, pictureDivisor);
    return pictures_.emplace(key, std::move(picture)).first->second.get();
}

uint64_t SetView::placeLook(int i) const
{
    const Shown shown = shownAt(i);
    Hash look;
    look << uint64_t(i) << uint64_t(importing_) << uint64_t(i < placeCount()) << uint64_t(shown.level != nullptr)
         << uint64_t(shown.played) << uint64_t(shown.verdict.kind) << uint64_t(shown.verdict.moves)
         << uint64_t(shown.verdict.shortest);
    if (shown.level)
        look << pictureKey(*shown.level);
    if (shown.findings)
        for (const LevelFinding& finding : *shown.findings)
            look << findingBadge(finding);
    const bool chosen = std::find(selection_.begin(), selection_.end(), i) != selection_.end();
    look << uint64_t(chosen) << uint64_t(i == chosen_) << uint64_t(dragging_ && chosen);
    if (dragging_ && dropAt_ >= 0)
        look << uint64_t(dropRight_ ? dropAt_ - 1 == i : dropAt_ == i) << uint64_t(dropRight_);
    return look.value;
}

void SetView::drawPlace(SDL_Surface* screen, int i)
{
    const layout::Rect r = setlayout::place(i);
    const bool chosen = std::find(selection_.begin(), selection_.end(), i) != selection_.end();
    fill(screen, r, chosen && i < placeCount() ? chosenBackground : background);
    if (i >= placeCount())
        return;
    const Shown shown = shownAt(i);
    std::string number = std::to_string(i + 1);
    if (shown.level && shown.played != i + 1)
        number += " -> " + std::to_string(shown.played);
    text(screen, r.x + 4, r.y + 2, number, shown.level ? plainText : dimText);

    const layout::Rect pic = setlayout::picture(i);
    const layout::Rect border{pic.x - 1, pic.y - 1, pic.w + 2, pic.h + 2};
    if (shown.level) {
        if (SDL_Surface* picture = pictureOf(*shown.level))
            copyArea(picture, {0, 0, Uint16(pic.w), Uint16(pic.h)}, screen, pic.x, pic.y);
        frameRect(screen, border, dimText);
        if (dragging_ && chosen)
            boxRGBA(screen, Sint16(pic.x), Sint16(pic.y), Sint16(pic.right() - 1), Sint16(pic.bottom() - 1),
                    background.r, background.g, background.b, 170);
    } else {
        // A place to drop or insert a level: a dotted outline and a plus.
        for (int x = border.x; x < border.right(); x += 3) {
            pixelRGBA(screen, Sint16(x), Sint16(border.y), dimText.r, dimText.g, dimText.b, 255);
            pixelRGBA(screen, Sint16(x), Sint16(border.bottom() - 1), dimText.r, dimText.g, dimText.b, 255);
        }
        for (int y = border.y; y < border.bottom(); y += 3) {
            pixelRGBA(screen, Sint16(border.x), Sint16(y), dimText.r, dimText.g, dimText.b, 255);
            pixelRGBA(screen, Sint16(border.right() - 1), Sint16(y), dimText.r, dimText.g, dimText.b, 255);
        }
        const layout::Point c = pic.centre();
        text(screen, c.x - 4, c.y - 4, "+", dimText);
        text(screen, r.x + 4, pic.bottom() + 4, setViewText(SetViewText::emptyPlace, language_), dimText);
    }

    if (shown.findings)
        for (size_t k = 0; k < shown.findings->size() && k < size_t(badgesShown); ++k) {
            const layout::Rect b = setlayout::badge(i, int(k));
            fill(screen, b, badgeColour);
            text(screen, b.x + 2, b.y + 2, findingBadge((*shown.findings)[k]), plainText);
        }
    if (shown.level) {
        std::string label = verdictLabel(shown.verdict, language_), second;
        if (label.size() > size_t(verdictChars)) {
            const size_t cut = label.rfind(' ', size_t(verdictChars));
            second = label.substr(cut + 1);
            label = label.substr(0, cut);
        }
        const Colour colour = shown.verdict.kind == LevelVerdict::solvable     ? solvedColour
                              : shown.verdict.kind == LevelVerdict::unsolvable ? unsolvableColour
                                                                                : dimText;
        text(screen, r.x + 4, pic.bottom() + 4, label, colour);
        text(screen, r.x + 4, pic.bottom() + 14, second, colour);
    }

    if (chosen)
        frameRect(screen, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, i == chosen_ ? chosenFrame : dimText);
    if (dragging_ && dropAt_ >= 0 && (dropRight_ ? dropAt_ - 1 == i : dropAt_ == i)) {
        const int x = dropRight_ ? r.right() - 3 : r.x;
        fill(screen, {x, r.y + 2, 3, r.h - 4}, dropMark);
    }
}

uint64_t SetView::lowerLook() const
{
    Hash look;
    look << uint64_t(importing_) << uint64_t(chosen_);
    for (int i = 0; i < placeCount(); ++i) {
        const Shown shown = shownAt(i);
        look << uint64_t(shown.level != nullptr) << uint64_t(shown.verdict.kind) << uint64_t(shown.verdict.moves)
         << uint64_t(shown.verdict.shortest);
    }
    for (const auto& button : importing_ ? importButtons_ : buttons_)
        look << uint64_t(button->isPushed);
    return look.value;
}

// The difficulty curve: a bar a level in the order of the game, as high as
// its shortest solution is long (only its outline when the solution found
// is not proven the shortest); red to the top for one that cannot be
// finished, "?" where the search gave up.
void SetView::drawLower(SDL_Surface* screen)
{
    fill(screen, lower, background);
    std::vector<Shown> played;
    for (int i = 0; i < placeCount(); ++i) {
        Shown shown = shownAt(i);
        if (shown.level)
            played.push_back(shown);
    }
    int longest = 1;
    for (const Shown& shown : played)
        if (shown.verdict.kind == LevelVerdict::solvable)
            longest = std::max(longest, shown.verdict.moves);
    const SetViewText title = importing_ ? SetViewText::importCurveTitle : SetViewText::curveTitle;
    text(screen, curve.x + 6, curve.y + 4, setViewText(title, language_), plainText);
    text(screen, curve.right() - 4 - 8 * int(std::to_string(longest).size()), curve.y + 4, std::to_string(longest),
         dimText);
    hlineRGBA(screen, Sint16(barX(0) - 2), Sint16(barX(kLevelSlots - 1) + barWidth + 1), Sint16(curveBaseline),
              dimText.r, dimText.g, dimText.b, 255);
    const int tallest = curveBaseline - curveTop;
    for (size_t k = 0; k < played.size(); ++k) {
        const LevelVerdict& v = played[k].verdict;
        const int x = barX(int(k));
        switch (v.kind) {
        case LevelVerdict::solvable: {
            const int height = std::max(2, v.moves * tallest / longest);
            if (v.shortest)
                fill(screen, {x, curveBaseline - height, barWidth, height}, solvedColour);
            else
                frameRect(screen, {x, curveBaseline - height, barWidth, height}, solvedColour);
            break;
        }
        case LevelVerdict::unsolvable:
            fill(screen, {x, curveTop, barWidth, tallest}, unsolvableColour);
            break;
        case LevelVerdict::unknown:
            text(screen, x + 1, curveBaseline - 10, "?", dimText);
            break;
        case LevelVerdict::pending:
            fill(screen, {x + 3, curveBaseline - 3, 3, 2}, dimText);
            break;
        case LevelVerdict::noRobot:
            fill(screen, {x + 1, curveBaseline - 3, barWidth - 2, 2}, unsolvableColour);
            break;
        }
    }
    for (const auto& button : importing_ ? importButtons_ : buttons_)
        button->render(screen);
}

void SetView::paint(SDL_Surface* screen, bool whole, std::vector<SDL_Rect>& damage)
{
    if (!open_)
        return;
    refresh();
    auto draw = [&](const layout::Rect& area, const std::function<void()>& drawing) {
        SDL_Rect clip = sdlRect(area);
        SDL_SetClipRect(screen, &clip);
        drawing();
        SDL_SetClipRect(screen, nullptr);
        if (!whole)
            damage.push_back(clip);
    };
    for (int i = 0; i < kLevelSlots; ++i) {
        const uint64_t look = placeLook(i);
        if (!whole && look == shownLooks_[size_t(i)])
            continue;
        shownLooks_[size_t(i)] = look;
        draw(setlayout::place(i), [&] { drawPlace(screen, i); });
    }
    const uint64_t look = lowerLook();
    if (whole || look != shownLowerLook_) {
        shownLowerLook_ = look;
        draw(lower, [&] { drawLower(screen); });
    }
}

// --- Background verdicts ----------------------------------------------------------------------

bool SetView::tick()
{
    const uint64_t now = hooks_.clock();
    if (session_.revision() != workRevision_) {
        workRevision_ = session_.revision();
        changedAt_ = now;
        verdicts_.cancel();
        requested_ = false;
    }
    if (!requested_ && now - changedAt_ >= idleDelay) {
        std::vector<LevelData> wanted;
        for (const LevelData& level : session_.document().levels)
            if (level.on)
                wanted.push_back(level);
        if (importing_)
            wanted.insert(wanted.end(), imported_.begin(), imported_.end());
        verdicts_.request(wanted);
        requested_ = true;
    }
    return !requested_;
}
