// The status line: what lies under the pointer, or the game's counters
// while a level plays.
#include "editor/frame.h"

#include "core/messages.h"
#include "editor/tilenames.h"

#include <cstdio>
#include <cstdlib>

namespace {

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

} // namespace

std::string frame::statusText() const
{
    const int x = pointerX, y = pointerY;
    if (notices.overlay() != Notices::Overlay::none)
        return "";
    if (play.active())
        return play.status();
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
        std::snprintf(line, sizeof line, "Kolor $%02X\nklik: do rejestru %d", colourPicker->colourAt(x, y),
                      currentColour + 1);
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
    case Target::MessageArea:
        return notices.messageAreaHint(y);
    case Target::Nothing:
        break;
    }
    return "";
}
