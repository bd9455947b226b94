// The words of the window's widgets for the status line and the tooltips,
// in both languages (declared in messages.h). A line holds at most 32
// characters, the width of the status line.
#include "core/messages.h"

#include <cstdio>

namespace {

bool polish(Language language) { return language == Language::polish; }

} // namespace

std::string widgetText(WidgetText widget, Language language)
{
    const bool pl = polish(language);
    switch (widget) {
    case WidgetText::newSet: return pl ? "Nowy zestaw map\n(Ctrl+N)" : "New set of levels\n(Ctrl+N)";
    case WidgetText::open:
        return pl ? "Otworz zestaw (Ctrl+O)\nCtrl+1..9: ostatnio otwarte"
                  : "Open a set (Ctrl+O)\nCtrl+1..9: opened lately";
    case WidgetText::save: return pl ? "Zapisz zestaw (Ctrl+S)" : "Save the set (Ctrl+S)";
    case WidgetText::saveAs:
        return pl ? "Zapisz pod nowa nazwa\n(Ctrl+Shift+S)" : "Save under a new name\n(Ctrl+Shift+S)";
    case WidgetText::deleteLevel: return pl ? "Oproznij biezaca mape" : "Empty the current level";
    case WidgetText::testLevel:
        return pl ? "Testuj biezaca mape\nw emulatorze" : "Test the current level\nin the emulator";
    case WidgetText::testGame: return pl ? "Testuj caly zestaw\nw emulatorze" : "Test the whole set\nin the emulator";
    case WidgetText::swap:
        return pl ? "Zamien biezaca mape z inna:\nkliknij ja potem (Escape: nie)"
                  : "Swap the current level: then\nclick the other (Escape: no)";
    case WidgetText::undo: return pl ? "Cofnij (Ctrl+Z)" : "Undo (Ctrl+Z)";
    case WidgetText::redo: return pl ? "Ponow (Ctrl+Y, Ctrl+Shift+Z)" : "Redo (Ctrl+Y, Ctrl+Shift+Z)";
    case WidgetText::log: return pl ? "Komunikaty tego uruchomienia\n(F2)" : "The messages of this run\n(F2)";
    case WidgetText::help: return pl ? "Klawisze i mysz (F1)" : "Keys and mouse (F1)";
    case WidgetText::dismiss: return pl ? "Ukryj komunikat" : "Put the message away";
    case WidgetText::play:
        return pl ? "Graj na planszy (F5)\nShift+F5: pokaz rozwiazanie"
                  : "Play the level (F5)\nShift+F5: show a solution";
    case WidgetText::setView: return setViewText(SetViewText::viewHint, language);
    case WidgetText::drawTool: return pl ? "Olowek (D)" : "Pencil (D)";
    case WidgetText::fillTool: return pl ? "Wypelnij (F)" : "Fill (F)";
    case WidgetText::rectangleTool: return pl ? "Prostokat (R)" : "Rectangle (R)";
    case WidgetText::outlineTool: return pl ? "Ramka (R, drugi raz)" : "Outline (R, a second time)";
    case WidgetText::lineTool: return pl ? "Linia (L)" : "Line (L)";
    case WidgetText::pickTool: return pl ? "Pobierz kafel (P)" : "Pick a tile (P)";
    case WidgetText::selectTool: return pl ? "Zaznaczenie (S, Ctrl+C, Ctrl+V)" : "Select (S, Ctrl+C, Ctrl+V)";
    case WidgetText::gridSwitch: return pl ? "Siatka (G)" : "Grid (G)";
    case WidgetText::screwCounter:
        return pl ? "Srubki do zebrania: - i +\nklik na liczbe: policz na mapie"
                  : "Screws to collect: - and +\nclick the number: count them";
    case WidgetText::wallCounter:
        return pl ? "Wzorek murku: - i +\nklik na obrazek: pierwszy"
                  : "Wall pattern: - and +\nclick the picture: the first";
    case WidgetText::textBox:
        return pl ? "Tekst gry: klik daje klawiature\nEscape lub klik obok oddaje"
                  : "Game text: a click types here\nEscape or a click beside: done";
    case WidgetText::startPage: return pl ? "Strona na poczatek gry" : "The page before the game";
    case WidgetText::endPage: return pl ? "Strona na koniec gry" : "The page after the game";
    }
    return "";
}

std::string tileText(int code, const char* name, Language language)
{
    char text[64];
    std::snprintf(text, sizeof text, name ? "%s $%02X %s" : "%s $%02X", polish(language) ? "Kafel" : "Tile",
                  code & 0xFF, name);
    return text;
}

std::string paletteEntryText(int code, const char* name, Language language)
{
    return tileText(code, name, language) +
           (polish(language) ? "\nlewy przycisk nim rysuje" : "\nthe left button draws it");
}

std::string cellText(int column, int row, Language language)
{
    const std::string at = std::to_string(column + 1), line = std::to_string(row + 1);
    return polish(language) ? "Kolumna " + at + ", wiersz " + line : "Column " + at + ", row " + line;
}

std::string selectionText(int columns, int rows, Language language)
{
    return (polish(language) ? "Zaznaczenie " : "Selection ") + std::to_string(columns) + " x " +
           std::to_string(rows);
}

std::string levelSlotText(int slot, bool on, const LevelVerdict& verdict, bool swapWaiting, Language language)
{
    const bool pl = polish(language);
    std::string text = (pl ? "Mapa " : "Level ") + std::to_string(slot + 1);
    if (!on)
        text += pl ? " (pusta)" : " (empty)";
    else if (verdict.kind == LevelVerdict::solvable || verdict.kind == LevelVerdict::unsolvable)
        text += ": " + verdictLabel(verdict, language);
    if (swapWaiting)
        text += pl ? "\nklik: zamien z biezaca" : "\nclick: swap with the current";
    return text;
}

std::string colourRegisterText(int colourRegister, int value, Language language)
{
    const bool pl = polish(language);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d: $%02X", pl ? "Rejestr" : "Register", colourRegister + 1, value & 0xFF);
    if (colourRegister == 4)
        return text + std::string(pl ? "\ntlo okna" : "\nthe window's background");
    if (colourRegister == 5)
        return text + std::string(pl ? "\nkolor robota" : "\nthe robot's colour");
    return text;
}

std::string colourPickerText(int value, int colourRegister, Language language)
{
    char text[64];
    std::snprintf(text, sizeof text,
                  polish(language) ? "Kolor $%02X\nklik: do rejestru %d" : "Colour $%02X\nclick: into register %d",
                  value & 0xFF, colourRegister + 1);
    return text;
}
