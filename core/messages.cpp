#include "core/messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include "core/winpath.h"
#endif

namespace {

bool polish(Language language) { return language == Language::polish; }

const char* stepText(Step step, Language language)
{
    const bool pl = polish(language);
    switch (step) {
    case Step::none: return nullptr;
    case Step::resolveLink: return pl ? "dowiazanie symboliczne" : "following the symbolic link";
    case Step::temporaryFile: return pl ? "plik tymczasowy obok" : "temporary file beside it";
    case Step::permissions: return pl ? "uprawnienia pliku" : "file permissions";
    case Step::replace: return pl ? "zastapienie pliku" : "replacing the file";
    case Step::readOldContent: return pl ? "odczyt starej zawartosci" : "reading the old content";
    case Step::backup: return pl ? "kopia zapasowa obok pliku" : "backup copy beside the file";
    case Step::start: return pl ? "uruchomienie" : "starting it";
    }
    return nullptr;
}

std::string sizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string pixels(int width, int height, Language language)
{
    return sizeText(width, height) + (polish(language) ? " pikseli" : " pixels");
}

// What failed, then the library's own words for why.
std::string withDetail(const std::string& text, const Error& error)
{
    return error.detail.empty() ? text : text + ": " + error.detail;
}

std::string faultText(const Error& error, Language language)
{
    const bool pl = polish(language);
    const std::string size = std::to_string(error.size), limit = std::to_string(error.limit);
    switch (error.fault) {
    case Fault::none: return "";
    case Fault::system: return systemReason(error.code, language);
    case Fault::windows: return windowsReason(static_cast<unsigned long>(error.code), language);
    case Fault::notRegularFile: return pl ? "to nie jest zwykly plik" : "not a regular file";
    case Fault::isDirectory: return pl ? "to jest katalog" : "is a directory";
    case Fault::tooLarge:
        if (error.size == 0)  // a stream, read no further than the limit
            return pl ? "za duzo danych (ponad " + limit + " bajtow)" : "too large (over " + limit + " bytes)";
        return pl ? "plik za duzy (" + size + " bajtow, najwiecej " + limit + ")"
                  : "too large (" + size + " bytes, at most " + limit + ")";
    case Fault::pathTooLong: return pl ? "za dluga sciezka" : "path too long";
    case Fault::notFound:
        if (error.detail.empty())
            return pl ? "nie znaleziono" : "not found";
        return (pl ? "nie znaleziono (szukano w " : "not found (looked in ") + error.detail + ")";
    case Fault::emptyFile: return pl ? "plik jest pusty" : "the file is empty";
    case Fault::streamClosed: return pl ? "zamkniete" : "closed";
    case Fault::notDiskImage:
        return pl ? "to nie jest obraz dyskietki ATR" : "not an ATR disk image (no 96 02 signature)";
    case Fault::tooShortForGame:
        return pl ? "za krotki na obraz gry (" + size + " bajtow)" : "too short for a game image (" + size + " bytes)";
    case Fault::tooShortForTemplate:
        return pl ? "za krotki na szablon gry (" + size + " bajtow, potrzeba " + limit + ")"
                  : "too short for a game template (" + size + " bytes, at least " + limit + " needed)";
    case Fault::brokenGamePart:
        return pl ? "uszkodzona czesc gry (segmenty urwane przy bajcie " + std::to_string(error.offset) + ")"
                  : "the game part's segment chain breaks at offset " + std::to_string(error.offset);
    case Fault::saveInProgress:
        return pl ? "plik jest wlasnie zapisywany przez inny program" : "another program is saving this file right now";
    case Fault::unfinishedQuote: {
        const std::string quote(1, char(error.code));
        return pl ? "niezamkniety cudzyslow " + quote : "unfinished " + quote + " quote";
    }
    case Fault::emptyCommand: return pl ? "pusta komenda" : "empty command";
    case Fault::programNotFound: return pl ? "nie znaleziono programu" : "not found";
    case Fault::noEmulator:
        if (error.code)
            return pl ? "nie znaleziono zadnego, ustaw --emulator lub ZELBUN_EMULATOR albo skojarz pliki .atr z emulatorem"
                      : "none found; set --emulator or ZELBUN_EMULATOR, or associate .atr files with an emulator";
        return pl ? "nie znaleziono zadnego, ustaw --emulator lub ZELBUN_EMULATOR"
                  : "none found; set --emulator or ZELBUN_EMULATOR";
    case Fault::programFailed: return (pl ? "kod " : "exit status ") + std::to_string(error.code);
    case Fault::programKilled: return (pl ? "sygnal " : "signal ") + std::to_string(error.code);
    case Fault::undecodable: return withDetail(pl ? "nie mozna wczytac obrazka" : "cannot load", error);
    case Fault::unconvertible: return withDetail(pl ? "nie mozna przeksztalcic obrazka" : "cannot convert", error);
    case Fault::pictureTooSmall:
        return pixels(error.width, error.height, language) +
               (pl ? "; potrzeba co najmniej " + sizeText(error.needWidth, error.needHeight)
                   : "; at least " + sizeText(error.needWidth, error.needHeight) + " is needed");
    case Fault::pictureTooLarge:
        return pixels(error.width, error.height, language) +
               (pl ? "; najwyzej " + sizeText(error.needWidth, error.needHeight)
                   : "; at most " + sizeText(error.needWidth, error.needHeight) + " is allowed");
    case Fault::pictureWrongSize:
        return pixels(error.width, error.height, language) + (pl ? "; musi miec " : "; it must be ") +
               sizeText(error.needWidth, error.needHeight);
    case Fault::sheetTooNarrow: {
        const std::string width = std::to_string(error.width), needed = std::to_string(error.needWidth);
        const std::string last = std::to_string(error.needWidth / kTileSheetCell - 1);
        return pl ? "szerokosc " + width + " pikseli; tiles.cfg uzywa kolumn do " + last + ", potrzeba " + needed
                  : width + " pixels wide; tiles.cfg uses sheet columns up to " + last + ", which need " + needed;
    }
    case Fault::noWindow:
        return withDetail(pl ? "nie mozna otworzyc okna " + sizeText(error.width, error.height)
                             : "cannot open the " + sizeText(error.width, error.height) + " window",
                          error);
    case Fault::noSurface:
        return withDetail(pl ? "nie mozna utworzyc obrazu " + sizeText(error.width, error.height)
                             : "cannot make a surface of " + sizeText(error.width, error.height) + " to draw on",
                          error);
    case Fault::pngEncoding: return withDetail(pl ? "nie mozna zapisac PNG" : "cannot encode the PNG", error);
    }
    return "";
}


// 2000000 as "2,000,000", or in Polish "2 000 000".
std::string grouped(uint64_t n, Language language)
{
    std::string digits = std::to_string(n), text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += polish(language) ? ' ' : ',';
        text += digits[i];
    }
    return text;
}

std::string seconds(double value, Language language)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", value);
    std::string result = text;
    if (polish(language))
        std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

// "1,234 states", "1 234 stany", "2 000 000 stanow".
std::string statesCount(uint64_t states, Language language)
{
    const long tens = long(states % 100), units = long(states % 10);
    const char* word = polish(language) ? (states == 1 ? "stan"
                                           : units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? "stany"
                                                                                                  : "stanow")
                                        : (states == 1 ? "state" : "states");
    return grouped(states, language) + " " + word;
}

// "1,234 states, 0.2 s", "1 234 stany, 0,2 s".
std::string work(const SolveResult& result, Language language)
{
    return statesCount(result.states, language) + ", " + seconds(result.seconds, language);
}

} // namespace

std::string polishCount(long n, const char* one, const char* few, const char* many)
{
    const long tens = n % 100, units = n % 10;
    const char* word = n == 1 ? one : units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? few : many;
    return std::to_string(n) + " " + word;
}

std::string systemReason(int code, Language language)
{
    if (polish(language)) {
        // The reasons a user meets most often; anything rarer keeps the
        // system's own words.
        switch (code) {
        case ENOENT: return "nie ma takiego pliku lub katalogu";
        case EACCES:
        case EPERM: return "brak uprawnien";
        case EISDIR: return "to jest katalog";
        case ENOTDIR: return "to nie jest katalog";
        case ENOSPC: return "brak miejsca na dysku";
        case EROFS: return "system plikow tylko do odczytu";
        case ENAMETOOLONG: return "za dluga nazwa pliku";
        case EFBIG: return "plik za duzy";
        case ELOOP: return "petla dowiazan symbolicznych";
        case EIO: return "blad wejscia/wyjscia";
#ifdef EDQUOT
        case EDQUOT: return "przekroczony limit dysku";
#endif
        default: break;
        }
    }
    return std::strerror(code);
}

std::string windowsReason(unsigned long code, Language language)
{
    // Windows' numbers (winerror.h) for what a user meets most often.
    enum : unsigned long {
        fileNotFound = 2, pathNotFound = 3, accessDenied = 5, invalidDrive = 15, writeProtected = 19,
        notReady = 21, sharingViolation = 32, lockViolation = 33, handleDiskFull = 39, fileExists = 80,
        diskFull = 112, invalidName = 123, nameTooLong = 206, notADirectory = 267, virusFound = 225,
        alreadyExists = 183,
    };
    if (polish(language)) {
        switch (code) {
        case fileNotFound:
        case pathNotFound:
        case invalidDrive: return "nie ma takiego pliku lub katalogu";
        case accessDenied: return "brak uprawnien";
        case writeProtected: return "nosnik zabezpieczony przed zapisem";
        case notReady: return "urzadzenie nie jest gotowe";
        case sharingViolation: return "plik jest otwarty w innym programie";
        case lockViolation: return "plik jest zablokowany przez inny program";
        case handleDiskFull:
        case diskFull: return "brak miejsca na dysku";
        case fileExists:
        case alreadyExists: return "plik juz istnieje";
        case invalidName: return "niedozwolona nazwa pliku";
        case nameTooLong: return "za dluga nazwa pliku";
        case notADirectory: return "to nie jest katalog";
        case virusFound: return "plik zablokowany przez program antywirusowy";
        default: break;
        }
    }
    std::string words;
#ifdef _WIN32
    // The window's font has no letters beyond ASCII: only English words there.
    words = windowsMessage(code, polish(language));
#endif
    if (!words.empty())
        return words;
    return (polish(language) ? "blad systemu Windows " : "Windows error ") + std::to_string(code);
}

std::string reason(const Error& error, Language language)
{
    std::string text = faultText(error, language);
    if (const char* step = stepText(error.step, language))
        text += std::string(" (") + step + ")";
    if (!error.keptIn.empty())
        text += (polish(language) ? "; stara zawartosc jest w " : "; the old content is kept in ") + error.keptIn;
    return text;
}

std::string describe(const Error& error, Language language)
{
    const std::string name = polish(language) ? fileNameOf(error.path) : error.path;
    const std::string text = name.empty() ? reason(error, language) : name + ": " + reason(error, language);
    return error.setting.empty() ? text : error.setting + ": " + text;
}

std::string describe(const LoadIssue& issue, Language language)
{
    const bool pl = polish(language);
    const std::string slot = std::to_string(issue.slot + 1);
    switch (issue.kind) {
    case LoadIssue::cutShort: {
        std::string text = (pl ? "plik urwany (" + std::to_string(issue.size) + " bajtow) "
                               : "file cut short (" + std::to_string(issue.size) + " bytes) ");
        switch (issue.where) {
        case CutShortAt::orderTable: return text + (pl ? "przed koncem tablicy kolejnosci" : "in the order table");
        case CutShortAt::pages: return text + (pl ? "przed koncem stron tekstu" : "in the text pages");
        case CutShortAt::beforeLevelList: return text + (pl ? "przed lista poziomow" : "before the level list");
        case CutShortAt::levelList: return text + (pl ? "przed koncem listy poziomow" : "in the level list");
        case CutShortAt::level:
        case CutShortAt::none:
            if (issue.slot < 0)
                return text + (pl ? "w poziomie, ktory pominieto" : "in a level, which was left out");
            return text + (pl ? "w poziomie " + slot + ", ktory pominieto" : "in level " + slot + ", which was left out");
        }
        return text;
    }
    case LoadIssue::tooManyLevels:
        return pl ? "wiecej niz 32 poziomy; reszta pominieta" : "more than 32 levels; the rest left out";
    case LoadIssue::segmentUnlisted:
        return pl ? "segment w bajcie " + std::to_string(issue.offset) + " jest dla mapy " +
                        std::to_string(issue.byte + 1) + ", ktorej tabela kolejnosci nie wymienia: pominiety"
                  : "segment at byte " + std::to_string(issue.offset) + " is for slot " +
                        std::to_string(issue.byte + 1) + ", which the order table does not list: left out";
    case LoadIssue::segmentReplaced:
        return pl ? "segment w bajcie " + std::to_string(issue.offset) + " zastapiony pozniejszym dla poziomu " + slot +
                        ": pominiety"
                  : "segment at byte " + std::to_string(issue.offset) + " is replaced by a later one for level " +
                        slot + ": left out";
    case LoadIssue::slotMismatch: {
        char address[8];
        std::snprintf(address, sizeof address, "$%04X", issue.address & 0xFFFF);
        const std::string named = std::to_string(issue.byte + 1);
        return pl ? "segment w bajcie " + std::to_string(issue.offset) + " laduje sie do " + address +
                        ", a jego bajt mapy wskazuje mape " + named + ": czytany jako mapa " + named
                  : "segment at byte " + std::to_string(issue.offset) + " loads to " + address +
                        " but its slot byte names slot " + named + ": read as slot " + named;
    }
    case LoadIssue::badScrewCount: {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", issue.byte & 0xFF);
        return pl ? "poziom " + slot + ": zla liczba srubek " + byte + ", przyjeto " + std::to_string(issue.clamped)
                  : "level " + slot + ": screw count " + byte + " is not two decimal digits, read as " +
                        std::to_string(issue.clamped);
    }
    }
    return "";
}

std::string describe(const std::vector<LoadIssue>& issues, Language language)
{
    std::string text;
    for (size_t i = 0; i < issues.size(); ++i) {
        // Segments the table does not list come together, as one finding.
        size_t last = i;
        while (last + 1 < issues.size() && issues[i].kind == LoadIssue::segmentUnlisted &&
               issues[last + 1].kind == LoadIssue::segmentUnlisted)
            ++last;
        text += text.empty() ? "" : "; ";
        if (last == i) {
            text += describe(issues[i], language);
            continue;
        }
        const long count = long(last - i + 1);
        text += polish(language) ? polishCount(count, "segment spoza tabeli kolejnosci pominiety",
                                               "segmenty spoza tabeli kolejnosci pominiete",
                                               "segmentow spoza tabeli kolejnosci pominietych") +
                                       " (w bajtach"
                                 : std::to_string(count) + " segments for slots the order table does not list left "
                                                           "out (at bytes";
        for (size_t j = i; j <= last; ++j)
            text += (j == i ? " " : ", ") + std::to_string(issues[j].offset);
        text += ")";
        i = last;
    }
    return text;
}

std::string describe(const LevelFinding& f, Language language)
{
    const bool pl = polish(language);
    char text[160];
    switch (f.kind) {
    case FindingKind::noRobot:
        std::snprintf(text, sizeof text, pl ? "Mapa %d: brak robota" : "level %d: no robot", f.slot + 1);
        break;
    case FindingKind::manyRobots:
        if (pl)
            std::snprintf(text, sizeof text, "Mapa %d: %s (drugi: kolumna %d, wiersz %d)", f.slot + 1,
                          polishCount(f.count, "robot", "roboty", "robotow").c_str(), f.column + 1, f.row + 1);
        else
            std::snprintf(text, sizeof text, "level %d: %d robots (the second: column %d, row %d)", f.slot + 1,
                          f.count, f.column + 1, f.row + 1);
        break;
    case FindingKind::screwsShort:
        std::snprintf(text, sizeof text,
                      pl ? "Mapa %d: srubek do zebrania %d, na mapie %d" : "level %d: %d screws to collect, %d drawn",
                      f.slot + 1, f.count, f.drawn);
        break;
    case FindingKind::unknownCode:
        if (pl)
            std::snprintf(text, sizeof text, "Mapa %d: nieznany kod %02X x%d (kolumna %d, wiersz %d)", f.slot + 1,
                          f.code, f.count, f.column + 1, f.row + 1);
        else
            std::snprintf(text, sizeof text, "level %d: unknown code %02X in %d cell%s (the first: column %d, row %d)",
                          f.slot + 1, f.code, f.count, f.count == 1 ? "" : "s", f.column + 1, f.row + 1);
        break;
    case FindingKind::unsolvable:
        if (pl)
            std::snprintf(text, sizeof text, "Mapa %d: nie do przejscia (zadny z %d osiagalnych stanow nie prowadzi "
                          "do otwartego wyjscia)", f.slot + 1, f.count);
        else
            std::snprintf(text, sizeof text, "level %d: unsolvable (none of the %d reachable states leads into the "
                          "open exit)", f.slot + 1, f.count);
        break;
    case FindingKind::rulesFailed:
        return (pl ? "Mapa " : "level ") + std::to_string(f.slot + 1) + ": " +
               describeRulesFailure(uint16_t(f.code), language);
    case FindingKind::unsettled:
        return (pl ? "Mapa " : "level ") + std::to_string(f.slot + 1) + (pl ? ": nie rozstrzygnieto (" : ": not settled (") +
               statesCount(uint64_t(f.count), language) + ")";
    }
    return text;
}

std::vector<std::string> describeFindings(const TileSetup& setup)
{
    std::vector<std::string> lines;
    if (setup.error && setup.error.fault != Fault::notFound)
        lines.push_back(describe(setup.error, Language::english));
    lines.insert(lines.end(), setup.config.warnings.begin(), setup.config.warnings.end());
    for (const RoleProblem& role : setup.roles)
        lines.push_back(setup.path + ": " + role.key + " code " + std::to_string(role.code) + ": " +
                        (role.inPalette ? "no picture in the tile sheet" : "no palette entry draws it"));
    return lines;
}

std::string summarize(const TileSetup& setup, Language language)
{
    const bool pl = polish(language);
    if (setup.error.fault == Fault::notFound)
        return pl ? "Nie znaleziono tiles.cfg; paleta jest pusta"
                  : "tiles.cfg not found (looked in " + setup.error.detail + "); the tile palette is empty";
    if (setup.error)
        return setup.error.path + ": " + reason(setup.error, language);
    std::string summary;
    const long skipped = long(setup.config.warnings.size());
    if (skipped > 0)
        summary = pl ? polishCount(skipped, "wiersz pominiety", "wiersze pominiete", "wierszy pominietych")
                     : std::to_string(skipped) + (skipped == 1 ? " line skipped" : " lines skipped");
    for (const RoleProblem& role : setup.roles)
        summary += (summary.empty() ? "" : ", ") + std::string(role.key) + " " + std::to_string(role.code) +
                   (role.inPalette ? (pl ? " nie ma obrazka" : " has no picture")
                                   : (pl ? " nie ma pola w palecie" : " has no palette entry"));
    return summary.empty() ? "" : "tiles.cfg: " + summary;
}

const char* pageName(int page)
{
    return page == 0 ? "Start" : "Koniec";
}

std::string describe(const SetFinding& f, Language language)
{
    const bool pl = polish(language);
    char text[192];
    switch (f.kind) {
    case SetFindingKind::nothingToPlay:
        std::snprintf(text, sizeof text,
                      pl ? "tabela kolejnosci map nie wymienia zadnej mapy (pierwszy wpis $%02X): gra nie ma czego uruchomic"
                         : "the order table lists no level (its first entry is $%02X): the game has nothing to play",
                      f.byte);
        break;
    case SetFindingKind::orderEndsEarly:
        std::snprintf(text, sizeof text,
                      pl ? "tabela kolejnosci map: wpis %d to $%02X, nie mapa ($80-$9F); gra konczy zestaw na nim"
                         : "order table entry %d is $%02X, not a slot ($80-$9F): the game ends the set there",
                      f.entry + 1, f.byte);
        break;
    case SetFindingKind::orderGap:
        if (pl)
            std::snprintf(text, sizeof text,
                          "tabela kolejnosci map: gra konczy zestaw na wpisie %d; dalszych map nigdy nie zagra: %d "
                          "(pierwsza: wpis %d)",
                          f.entry + 1, f.count, f.next + 1);
        else if (f.count == 1)
            std::snprintf(text, sizeof text,
                          "order table entry %d ends the set, so the level listed at entry %d is never played",
                          f.entry + 1, f.next + 1);
        else
            std::snprintf(text, sizeof text,
                          "order table entry %d ends the set, so the %d levels listed after it (the first at "
                          "entry %d) are never played",
                          f.entry + 1, f.count, f.next + 1);
        break;
    case SetFindingKind::emptySlotListed:
        std::snprintf(text, sizeof text,
                      pl ? "tabela kolejnosci map: wpis %d ($%02X) wskazuje mape, ktorej zaden segment nie laduje ($%04X)"
                         : "order table entry %d ($%02X) names a level that no segment loads (at $%04X)",
                      f.entry + 1, f.byte, f.start);
        break;
    case SetFindingKind::segmentOverGame:
        std::snprintf(text, sizeof text,
                      pl ? "segment w bajcie %zu laduje sie do $%04X-$%04X, poza pamiec map ($5000-$8FFF), na gre"
                         : "segment at byte %zu loads to $%04X-$%04X, outside the levels' memory ($5000-$8FFF): "
                           "over the game",
                      f.offset, f.start, f.end);
        break;
    case SetFindingKind::unshowableText:
        if (pl)
            std::snprintf(text, sizeof text,
                          "Tekst %s: znakow, ktorych gra nie pokaze: %d (pierwszy %02X: wiersz %d, kolumna %d)",
                          pageName(f.page), f.count, f.byte, f.line + 1, f.column + 1);
        else
            std::snprintf(text, sizeof text,
                          "page %s: %d character%s the game cannot show (the first, %02X: line %d, column %d)",
                          pageName(f.page), f.count, f.count == 1 ? "" : "s", f.byte, f.line + 1, f.column + 1);
        break;
    case SetFindingKind::brokenGamePart:
        return (pl ? "czesc gry nie wystartuje, lancuch segmentow zerwany: "
                   : "the game part does not boot, its segment chain breaks: ") +
               describe(f.chain, language);
    }
    return text;
}


std::string describeRulesFailure(uint16_t at, Language language)
{
    char text[120];
    std::snprintf(text, sizeof text,
                  polish(language) ? "zasady gry zawiodly na tej mapie (procesor stanal pod adresem $%04X)"
                                   : "the game's rules went astray on this level (the processor stopped at $%04X)",
                  at);
    return text;
}

const char* moveWord(GameRules::Move move, Language language)
{
    static const char* const polishWords[GameRules::moveCount] = {
        "G", "P", "D", "L", "strzal-G", "strzal-P", "strzal-D", "strzal-L", "czekaj"};
    return polish(language) ? polishWords[int(move)] : moveName(move);
}

std::string movesList(const std::vector<GameRules::Move>& moves, Language language)
{
    std::string text;
    for (GameRules::Move move : moves)
        text += (text.empty() ? "" : " ") + std::string(moveWord(move, language));
    return text;
}

std::string describe(const SolveResult& result, Language language)
{
    const bool pl = polish(language);
    const long moves = long(result.moves.size());
    switch (result.verdict) {
    case SolveResult::solvable: {
        std::string text = pl ? "rozwiazywalny w " + polishCount(moves, "ruchu", "ruchach", "ruchach")
                              : "solvable in " + std::to_string(moves) + (moves == 1 ? " move" : " moves");
        text += " (";
        if (!result.shortest)
            text += pl ? "bez dowodu, ze najkrotsze; " : "not proven shortest; ";
        text += work(result, language) + "):";
        return result.moves.empty() ? text : text + " " + movesList(result.moves, language);
    }
    case SolveResult::unsolvable:
        return (pl ? "nie do przejscia: zaden z osiagalnych stanow nie prowadzi do otwartego wyjscia ("
                   : "unsolvable: none of the reachable states leads into the open exit (") +
               work(result, language) + ")";
    case SolveResult::unknown: {
        const std::string gaveUp = pl ? "nie rozstrzygnieto: poddano po " : "unknown: gave up after ";
        switch (result.limit) {
        case SolveResult::Limit::seconds:
            return gaveUp + std::to_string(long(result.seconds + 0.5)) + " s (" + grouped(result.states, language) +
                   (pl ? " stanow)" : " states)");
        case SolveResult::Limit::stopped:
            return (pl ? "nie rozstrzygnieto: przerwano (" : "unknown: stopped (") + work(result, language) + ")";
        default:
            return gaveUp + grouped(result.states, language) +
                   (pl ? (result.states == 1 ? " stanie (" : " stanach (") : result.states == 1 ? " state (" : " states (") +
                   seconds(result.seconds, language) + ")";
        }
    }
    case SolveResult::noRobot:
        return (pl ? "brak robota (" : "no robot (") + work(result, language) + ")";
    case SolveResult::rulesFailed:
        return describeRulesFailure(result.failedAt, language) + " (" + work(result, language) + ")";
    }
    return "";
}

std::string searchNews(SearchNews news, int slot, Language language)
{
    const bool pl = polish(language);
    switch (news) {
    case SearchNews::started:
        return (pl ? "Mapa " : "Level ") + std::to_string(slot + 1) +
               (pl ? ": szukam rozwiazania (Escape przerywa)" : ": looking for a solution (Escape stops)");
    case SearchNews::stopped: return pl ? "Szukanie rozwiazania przerwane" : "The search for a solution stopped";
    }
    return "";
}

std::string searchProgress(int slot, uint64_t states, Language language)
{
    const bool pl = polish(language);
    return (pl ? "Szukam rozwiazania mapy " : "Looking for a solution of level ") + std::to_string(slot + 1) + "\n" +
           statesCount(states, language) + (pl ? " (Escape przerywa)" : " (Escape stops)");
}

std::string solutionFound(int slot, const SolveResult& result, Language language)
{
    const bool pl = polish(language);
    const long moves = long(result.moves.size());
    std::string text = (pl ? "Mapa " : "Level ") + std::to_string(slot + 1) +
                       (pl ? ": rozwiazanie w " + polishCount(moves, "ruchu", "ruchach", "ruchach")
                           : ": a solution in " + std::to_string(moves) + (moves == 1 ? " move" : " moves"));
    if (!result.shortest)
        text += pl ? " (bez dowodu, ze najkrotsze)" : " (not proven shortest)";
    return text + (pl ? "; Escape wraca do edycji: " : "; Escape returns to editing: ") +
           movesList(result.moves, language);
}

const char* const kAppTitle = "Zelbun Kreator 1.0 - by. Tavrin";

std::string documentName(const std::string& path, Language language)
{
    return !path.empty() ? fileNameOf(path) : polish(language) ? "bez nazwy" : "untitled";
}

std::string windowTitle(const std::string& path, bool modified, Language language)
{
    if (path.empty() && !modified)
        return kAppTitle;
    return documentName(path, language) + (modified ? " *" : "") + " - " + kAppTitle;
}

std::string say(Saying saying, const std::string& path, Language language)
{
    const bool pl = polish(language);
    const std::string name = fileNameOf(path);
    switch (saying) {
    case Saying::saved: return (pl ? "Zapisano: " : "Saved: ") + name;
    case Saying::notSavedChanged:
        return pl ? "Nie zapisano " + name + ": plik zmienil sie na dysku" : name + " not saved: it changed on disk";
    case Saying::notSavedReadOnly:
        return pl ? "Nie zapisano " + name + ": plik tylko do odczytu" : name + " not saved: the file is read-only";
    case Saying::pathTooLong: return (pl ? "Za dluga sciezka: " : "Path too long: ") + path;
    case Saying::replaceChanged:
        return pl ? "Plik " + name + " zmienil sie na dysku. Zastapic go?" : name + " changed on disk. Replace it?";
    case Saying::replaceReadOnly:
        return pl ? "Plik " + name + " jest tylko do odczytu. Zastapic go?" : name + " is read-only. Replace it?";
    case Saying::replaceExisting:
        return pl ? "Plik " + name + " juz istnieje. Zastapic go?" : name + " already exists. Replace it?";
    case Saying::notAtrName:
        return pl ? "Nazwa " + name + " nie konczy sie na .atr; okno Otworz nie pokaze tego pliku."
                  : "The name " + name + " does not end in .atr; the Open dialog will not show the file.";
    case Saying::saveChanges: return pl ? "Zapisac zmiany?" : "Save the changes?";
    case Saying::testAnyway: return pl ? "Testowac mimo to?" : "Test anyway?";
    case Saying::notSavedLeftOut:
        return pl ? "Nie zapisano " + name + ": zawiera mapy spoza tabeli kolejnosci"
                  : name + " not saved: it holds levels outside the order table";
    case Saying::openElsewhere:
        return pl ? "Ten zestaw jest juz otwarty w innym oknie" : "This set is open in another window already";
    }
    return "";
}

std::string saveFailed(const Error& error, Language language)
{
    return (polish(language) ? "Nie mozna zapisac " : "Cannot save ") + describe(error, language);
}

std::string openFailed(const Error& error, Language language)
{
    // A file read whole that holds no game image was not opened; any other
    // could not be.
    const Fault fault = error.fault;
    const bool read = fault == Fault::isDirectory || fault == Fault::emptyFile || fault == Fault::notDiskImage ||
                      fault == Fault::tooShortForGame;
    if (polish(language))
        return (read ? "Nie otwarto " : "Nie mozna otworzyc ") + describe(error, language);
    return (read ? "Not opened: " : "Cannot open ") + describe(error, language);
}

std::string openedSet(const std::string& path, int levels, bool copy, Language language)
{
    if (polish(language))
        return (copy ? "Otwarto kopie: " : "Otwarto: ") + fileNameOf(path) + " (" +
               polishCount(levels, "poziom", "poziomy", "poziomow") + ")" + (copy ? "; zapisz, by naprawic plik" : "");
    return (copy ? "Opened the copy: " : "Opened: ") + fileNameOf(path) + " (" + std::to_string(levels) +
           (levels == 1 ? " level)" : " levels)") + (copy ? "; save to mend the file" : "");
}

std::string interruptedSaveQuestion(const std::string& path, const std::string& copy, const std::string& madeFrom,
                                    Language language)
{
    const std::string name = fileNameOf(path), copyName = fileNameOf(copy);
    const bool other = madeFrom != name;
    if (polish(language))
        return "Znaleziono kopie " + copyName + " z przerwanego zapisu pliku " + madeFrom +
               (other ? " (to ten sam plik co " + name + ")" : "") +
               "; plik moze byc uszkodzony. Otworzyc kopie zamiast pliku?";
    return "Found a copy, " + copyName + ", from a save of " + madeFrom + (other ? " (the same file as " + name + ")" : "") +
           " that was cut short; the file may be damaged. Open the copy instead of the file?";
}

std::string leftOutQuestion(int count, Language language)
{
    if (polish(language))
        return "Plik zawiera " + polishCount(count, "mape", "mapy", "map") +
               " spoza tabeli kolejnosci; zapis je usunie. Zapisac mimo to?";
    return "The file holds " + std::to_string(count) + (count == 1 ? " level" : " levels") +
           " outside the order table; saving removes them. Save anyway?";
}

std::string andMore(size_t count, Language language)
{
    return (polish(language) ? "... i " : "... and ") + std::to_string(count) +
           (polish(language) ? " wiecej" : " more");
}

std::string describe(const ChainBreak& b, Language language)
{
    const bool pl = polish(language);
    auto hexWord = [](unsigned value) {
        char text[8];
        std::snprintf(text, sizeof text, "$%04X", value & 0xFFFF);
        return std::string(text);
    };
    const std::string at = std::to_string(b.offset);
    const std::string range = hexWord(b.start) + "-" + hexWord(b.end);
    const std::string levels = std::to_string(kLevelListOffset);
    switch (b.fault) {
    case ChainFault::none: return "";
    case ChainFault::noAtrHeader: return pl ? "brak naglowka ATR (96 02) w bajcie 0" : "no ATR header (96 02) at byte 0";
    case ChainFault::sectorSize:
        return pl ? "sektory po " + std::to_string(b.start) + " bajtow (bajt 4), gra czyta po 128"
                  : "sectors of " + std::to_string(b.start) + " bytes (byte 4), the loader reads 128";
    case ChainFault::noBootSectors:
        return pl ? "rekord startowy w bajcie 16 nie ma sektorow startowych"
                  : "the boot record at byte 16 names no boot sectors";
    case ChainFault::bootCut:
        return pl ? "plik konczy sie w bajcie " + at + ", w sektorach startowych"
                  : "the file ends at byte " + at + ", inside the boot sectors";
    case ChainFault::headerCut:
        return pl ? "plik konczy sie w naglowku segmentu w bajcie " + at
                  : "the file ends inside the segment header at byte " + at;
    case ChainFault::backwards:
        return pl ? "segment w bajcie " + at + " konczy sie (" + hexWord(b.end) + ") przed poczatkiem (" +
                        hexWord(b.start) + ")"
                  : "segment at byte " + at + " ends (" + hexWord(b.end) + ") before it starts (" +
                        hexWord(b.start) + ")";
    case ChainFault::outside:
        return pl ? "segment w bajcie " + at + " laduje sie do " + range + ", poza $2000-$8FFF"
                  : "segment at byte " + at + " loads to " + range + ", outside $2000-$8FFF";
    case ChainFault::segmentCut:
        return pl ? "segment w bajcie " + at + " (" + range + ") siega za koniec pliku"
                  : "segment at byte " + at + " (" + range + ") runs past the end of the file";
    case ChainFault::endsEarly:
        return pl ? "segmenty koncza sie w bajcie " + at + ", przed lista poziomow w bajcie " + levels
                  : "the segments end at byte " + at + ", before the level list at byte " + levels;
    case ChainFault::overLevelList:
        return pl ? "segment w bajcie " + at + " zachodzi na liste poziomow w bajcie " + levels
                  : "segment at byte " + at + " runs over the level list at byte " + levels;
    }
    return "";
}

std::string renumberingNote(const LevelData levels[kLevelSlots], Language language)
{
    const bool pl = polish(language);
    std::string note;
    int played = 0;
    for (int slot = 0; slot < kLevelSlots;) {
        if (!levels[slot].on || played + 1 == slot + 1) {
            played += levels[slot].on ? 1 : 0;
            ++slot;
            continue;
        }
        // A run of levels that all move by the same number of places.
        const int from = slot, to = played;
        int count = 0;
        while (slot < kLevelSlots && levels[slot].on && slot - from == count) {
            ++count;
            ++played;
            ++slot;
        }
        const std::string old = count == 1 ? std::to_string(from + 1)
                                           : std::to_string(from + 1) + "-" + std::to_string(from + count);
        const std::string now = count == 1 ? std::to_string(to + 1)
                                           : std::to_string(to + 1) + "-" + std::to_string(to + count);
        if (!note.empty())
            note += ", ";
        if (pl)
            note += count == 1 ? "mapa " + old + " bedzie mapa " + now : "mapy " + old + " beda mapami " + now;
        else
            note += (count == 1 ? "level " : "levels ") + old + (count == 1 ? " will be level " : " will be levels ") +
                    now;
    }
    if (note.empty())
        return note;
    return note + (pl ? " po otwarciu" : " when opened");
}

std::string verdictLabel(const LevelVerdict& verdict, Language language)
{
    const bool pl = polish(language);
    switch (verdict.kind) {
    case LevelVerdict::pending: return "...";
    case LevelVerdict::solvable:
        // "~": some solution is this long, a shorter one may exist.
        return (verdict.shortest ? "" : "~") +
               (pl ? polishCount(verdict.moves, "ruch", "ruchy", "ruchow")
                   : std::to_string(verdict.moves) + (verdict.moves == 1 ? " move" : " moves"));
    case LevelVerdict::unsolvable: return pl ? "nie do przejscia" : "unsolvable";
    case LevelVerdict::unknown: return "?";
    case LevelVerdict::noRobot: return "";
    }
    return "";
}

std::string findingBadge(const LevelFinding& finding)
{
    char badge[8];
    switch (finding.kind) {
    case FindingKind::noRobot: return "R0";
    case FindingKind::manyRobots: return "R" + std::to_string(std::min(finding.count, 9));
    case FindingKind::screwsShort: return "S<";
    case FindingKind::unknownCode:
        std::snprintf(badge, sizeof badge, "?%02X", finding.code & 0xFF);
        return badge;
    case FindingKind::unsolvable: return "X";
    case FindingKind::rulesFailed: return "!";
    case FindingKind::unsettled: return "?";
    }
    return "";
}

std::string findingWords(const LevelFinding& f, Language language)
{
    const bool pl = polish(language);
    char code[4];
    std::snprintf(code, sizeof code, "%02X", f.code & 0xFF);
    switch (f.kind) {
    case FindingKind::noRobot: return pl ? "brak robota" : "no robot";
    case FindingKind::manyRobots:
        return pl ? polishCount(f.count, "robot", "roboty", "robotow") : std::to_string(f.count) + " robots";
    case FindingKind::screwsShort:
        return pl ? "srubek " + std::to_string(f.count) + ", na mapie " + std::to_string(f.drawn)
                  : std::to_string(f.count) + " screws to collect, " + std::to_string(f.drawn) + " drawn";
    case FindingKind::unknownCode:
        return pl ? std::string("nieznany kod ") + code + " x" + std::to_string(f.count)
                  : std::string("unknown code ") + code + " in " + std::to_string(f.count) + " cells";
    case FindingKind::unsolvable: return pl ? "nie do przejscia" : "unsolvable";
    case FindingKind::rulesFailed: return pl ? "zasady gry zawiodly" : "the game's rules went astray";
    case FindingKind::unsettled: return pl ? "nie rozstrzygnieto" : "not settled";
    }
    return "";
}

const char* setViewText(SetViewText text, Language language)
{
    const bool pl = polish(language);
    switch (text) {
    case SetViewText::viewButton: return pl ? "Zestaw" : "Set";
    case SetViewText::viewHint: return pl ? "Wszystkie mapy naraz (F3)" : "All levels at a glance (F3)";
    case SetViewText::insertButton: return pl ? "Wstaw" : "Insert";
    case SetViewText::insertHint: return pl ? "Puste miejsce przed wybrana (Insert)" : "An empty place before (Insert)";
    case SetViewText::duplicateButton: return pl ? "Powiel" : "Copy";
    case SetViewText::duplicateHint: return pl ? "Kopie wybranych za nimi (Ctrl+D)" : "Duplicate the chosen (Ctrl+D)";
    case SetViewText::deleteButton: return pl ? "Usun" : "Delete";
    case SetViewText::deleteHint: return pl ? "Usun wybrane, dalsze w gore (Delete)" : "Delete the chosen (Delete)";
    case SetViewText::importButton: return pl ? "Importuj" : "Import";
    case SetViewText::importHint: return pl ? "Mapy z innego zestawu (Ctrl+I)" : "Levels of another set (Ctrl+I)";
    case SetViewText::cutButton: return pl ? "Wytnij" : "Cut";
    case SetViewText::cutHint: return pl ? "Wytnij wybrane mapy (Ctrl+X)" : "Cut the chosen levels (Ctrl+X)";
    case SetViewText::copyButton: return pl ? "Kopiuj" : "Copy";
    case SetViewText::copyHint: return pl ? "Kopiuj wybrane mapy (Ctrl+C)" : "Copy the chosen levels (Ctrl+C)";
    case SetViewText::pasteButton: return pl ? "Wklej" : "Paste";
    case SetViewText::pasteHint: return pl ? "Wklej przed wybrana (Ctrl+V)" : "Paste before the chosen (Ctrl+V)";
    case SetViewText::closeButton: return pl ? "Zamknij" : "Close";
    case SetViewText::closeHint: return pl ? "Wroc do planszy (F3, Escape)" : "Back to the canvas (F3, Escape)";
    case SetViewText::chooseAllButton: return pl ? "Wszystkie" : "All";
    case SetViewText::chooseAllHint: return pl ? "Wybierz wszystkie (Ctrl+A)" : "Choose all (Ctrl+A)";
    case SetViewText::insertChosenButton: return pl ? "Wstaw" : "Insert";
    case SetViewText::insertChosenHint: return pl ? "Wstaw wybrane do zestawu (Enter)" : "Insert the chosen (Enter)";
    case SetViewText::cancelButton: return pl ? "Anuluj" : "Cancel";
    case SetViewText::cancelHint: return pl ? "Wroc do zestawu (Escape)" : "Back to the set (Escape)";
    case SetViewText::curveTitle: return pl ? "Trudnosc: ruchy na mape" : "Difficulty: moves a level";
    case SetViewText::importCurveTitle: return pl ? "Import: mapy drugiego zestawu" : "Import: the other set";
    case SetViewText::emptyPlace: return pl ? "pusta" : "empty";
    }
    return "";
}

const char* setViewHelp(int line, Language language)
{
    static const char* const polishLines[setViewHelpLines] = {
        "Zestaw (F3 lub Zestaw; F3 lub Escape wraca)",
        "  wszystkie mapy z werdyktem i krzywa trudnosci; czerwony rog: blad mapy",
        "  przeciagnij mape (Shift, Ctrl: kilka) lub Alt+strzalki: przesuwa",
        "  Insert puste miejsce, Ctrl+D powiela, Delete usuwa, Ctrl+X/C/V schowek",
        "  Ctrl+I importuje mapy z innego zestawu; Enter otwiera wybrana mape",
    };
    static const char* const englishLines[setViewHelpLines] = {
        "Set view (F3 or Set; F3 or Escape goes back)",
        "  every level with its verdict and the difficulty curve; red corner: a fault",
        "  drag a level (Shift, Ctrl: several) or Alt+arrows: moves",
        "  Insert an empty place, Ctrl+D doubles, Delete deletes, Ctrl+X/C/V clipboard",
        "  Ctrl+I imports levels of another set; Enter opens the chosen level",
    };
    if (line < 0 || line >= setViewHelpLines)
        return "";
    return polish(language) ? polishLines[line] : englishLines[line];
}

std::string setNews(SetNews news, int count, const std::string& name, int place, Language language)
{
    const bool pl = polish(language);
    const std::string levels = pl ? polishCount(count, "mape", "mapy", "map")
                                  : std::to_string(count) + (count == 1 ? " level" : " levels");
    const std::string at = std::to_string(place + 1);
    switch (news) {
    case SetNews::setFull:
        return pl ? "Zestaw ma 32 miejsca: nie zmiesci sie " + polishCount(count, "mapa", "mapy", "map") +
                        "; nic nie zmieniono"
                  : "A set holds 32 levels: " + levels + " would not fit; nothing changed";
    case SetNews::deleted: return pl ? "Usunieto " + levels + " (Ctrl+Z cofa)" : "Deleted " + levels + " (Ctrl+Z undoes)";
    case SetNews::cut: return pl ? "Wycieto " + levels + " do schowka" : "Cut " + levels + " to the clipboard";
    case SetNews::copied: return pl ? "Skopiowano " + levels + " do schowka" : "Copied " + levels + " to the clipboard";
    case SetNews::nothingToCopy:
        return pl ? "Nic do skopiowania: wybrane miejsca sa puste" : "Nothing to copy: the places chosen are empty";
    case SetNews::clipboardEmpty:
        return pl ? "Schowek jest pusty: najpierw Ctrl+C lub Ctrl+X" : "The clipboard is empty: Ctrl+C or Ctrl+X first";
    case SetNews::pasted: return pl ? "Wklejono " + levels : "Pasted " + levels;
    case SetNews::importing:
    case SetNews::importingOnto: {
        const bool onto = news == SetNews::importingOnto;
        const std::string held = pl ? polishCount(count, "mapa", "mapy", "map") : levels;
        return pl ? "Import z " + name + " (" + held + "): wybierz, Enter wstawia " +
                        (onto ? "na miejsce " : "przed mape ") + at + ", Escape wraca"
                  : "Import from " + name + " (" + levels + "): choose, Enter inserts " +
                        (onto ? "onto place " : "before level ") + at + ", Escape goes back";
    }
    case SetNews::importEmpty:
        return pl ? "Nie ma czego importowac: " + name + " nie ma zadnej mapy" : "Nothing to import: " + name + " holds no level";
    case SetNews::imported:
        return pl ? "Wstawiono " + levels + " z " + name : "Inserted " + levels + " from " + name;
    case SetNews::nothingChosen:
        return pl ? "Wybierz mapy do wstawienia (klik, Shift, Ctrl, Ctrl+A)"
                  : "Choose the levels to insert (click, Shift, Ctrl, Ctrl+A)";
    }
    return "";
}

std::string levelSummary(int place, int played, const LevelVerdict& verdict, bool empty, Language language)
{
    const bool pl = polish(language);
    const std::string at = std::to_string(place + 1);
    if (empty)
        return pl ? "Puste miejsce " + at + ": tu upuscisz lub wstawisz mape"
                  : "Empty place " + at + ": drop or insert a level here";
    std::string text = (pl ? "Mapa " : "Level ") + at;
    if (played != place + 1)
        text += (pl ? ", w grze " : ", in the game ") + std::to_string(played);
    const std::string label = verdictLabel(verdict, language);
    if (verdict.kind == LevelVerdict::pending)
        return text + (pl ? ": szukam rozwiazania" : ": solving");
    if (verdict.kind == LevelVerdict::unknown)
        return text + (pl ? ": nie rozstrzygnieto" : ": not settled");
    if (verdict.kind == LevelVerdict::solvable && !verdict.shortest)
        return text + ": " + label + (pl ? " (bez dowodu, ze najkrotsze)" : " (not proven shortest)");
    return label.empty() ? text : text + ": " + label;
}

std::string canvasNews(CanvasNews news, Language language)
{
    const bool pl = polish(language);
    switch (news) {
    case CanvasNews::nothingToTurn:
        return pl ? "Najpierw zaznacz fragment (S): X, Y odbijaja, Z obraca"
                  : "Select a part first (S): X, Y flip it, Z turns it";
    case CanvasNews::turnDoesNotFit:
        return pl ? "Obrocony fragment nie zmiesci sie na mapie: nic nie zmieniono"
                  : "The turned part would not fit the level: nothing changed";
    case CanvasNews::startNeedsFloor:
        return pl ? "Robot zaczyna tylko na pustej podlodze lub na swoim miejscu"
                  : "The robot can begin only on empty floor or at its own start";
    case CanvasNews::nothingToTakeBack: return pl ? "Nie ma ruchu do cofniecia" : "No move to take back";
    }
    return "";
}

std::string playFromCellNews(int slot, Cell cell, Language language)
{
    const std::string level = std::to_string(slot + 1), column = std::to_string(cell.column + 1),
                      row = std::to_string(cell.row + 1);
    return polish(language) ? "Mapa " + level + " od kolumny " + column + ", wiersza " + row +
                                  ": Backspace cofa ruch, Escape wraca do edycji"
                            : "Level " + level + " from column " + column + ", row " + row +
                                  ": Backspace takes a move back, Escape returns to editing";
}

std::string movesMade(size_t moves, Language language)
{
    return (polish(language) ? "Ruchy " : "Moves ") + std::to_string(moves);
}

const char* helpLine(HelpLine line, Language language)
{
    const bool pl = polish(language);
    switch (line) {
    case HelpLine::turning:
        return pl ? "  X, Y odbijaja zaznaczenie (lub wklejany fragment), Z obraca, Shift+Z wstecz"
                  : "  X, Y flip the selection (or the part being pasted), Z turns it, Shift+Z back";
    case HelpLine::playFromCell:
        return pl ? "    Alt+klik lub F6 na planszy: gra od tej komorki; Backspace cofa ruch"
                  : "    Alt+click or F6 on the canvas: play from that cell; Backspace: a move back";
    }
    return "";
}
