// The window's own words, every one in Polish and in English: the labels of
// buttons and counters, the status line, the help page, what the window's
// commands say and ask, the in-window dialogs and the words handed to the
// desktop's dialogs. The window speaks Polish unless English is asked for.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>

enum class Language { polish, english };

// X(name, Polish, English). "{}" stands for a value filled in as shown; "\n"
// parts the two lines of the status line and the lines of the help page.
#define ZELBUN_WINDOW_TEXTS(X)                                                                                   \
    /* The buttons */                                                                                           \
    X(newButton, "Nowy", "New")                                                                                 \
    X(openButton, "Otworz", "Open")                                                                             \
    X(saveButton, "Zapisz", "Save")                                                                             \
    X(saveAsButton, "...jako", "Save as")                                                                       \
    X(deleteButton, "Usun mape", "Clear level")                                                                 \
    X(testLevelButton, "Testuj mape", "Test level")                                                             \
    X(testGameButton, "Testuj gre", "Test game")                                                                \
    X(swapButton, "Zamien mapy", "Swap levels")                                                                 \
    X(playButton, "Graj", "Play")                                                                               \
    X(undoButton, "Cofnij", "Undo")                                                                             \
    X(redoButton, "Ponow", "Redo")                                                                              \
    X(logButton, "Dziennik", "Log")                                                                             \
    X(dismissButton, "Ukryj", "Hide")                                                                           \
    X(startPageButton, "Start", "Start")                                                                        \
    X(endPageButton, "Koniec", "End")                                                                           \
    /* The labels */                                                                                            \
    X(screwCounterLabel, "Srubki do zebrania:", "Screws to collect:")                                          \
    X(wallCounterLabel, "Murek:", "Wall:")                                                                      \
    X(colourLabel, "Kolor:", "Colour:")                                                                         \
    X(textLabel, "Tekst:", "Text:")                                                                             \
    /* The status line (the widgets' own words are widgetText's, messages.h) */             \
    X(findingAreaStatus, "Klik: pokaz to miejsce", "Click: show this place")                                   \
    X(wholeMessageStatus, "Klik: caly komunikat", "Click: the whole message")                                  \
    X(playCounters, "Srubki {}  Zycia {}  Amunicja {}", "Screws {}  Lives {}  Ammo {}")                         \
    X(playKeys, "Klucze {} {} {}  ", "Keys {} {} {}  ")                                                         \
    X(replayStep, "ruch {}/{}", "move {}/{}")                                                                   \
    X(paused, "  PAUZA", "  PAUSED")                                                                            \
    /* Messages, the log and the pages over the window */                                                      \
    X(moreMessages, "... i {} wiecej (klik: wszystko)", "... and {} more (click: all)")                        \
    X(noMessages, "Brak komunikatow.", "No messages.")                                                          \
    X(helpTitle, "Pomoc (F1)", "Help (F1)")                                                                     \
    X(logTitle, "Dziennik komunikatow (F2)", "Message log (F2)")                                                \
    X(messageTitle, "Komunikat", "Message")                                                                     \
    X(pageClosing, "Escape lub klik zamyka", "Escape or a click closes")                                       \
    X(helpLanguage, "Jezyk okna: polski. Klik w ten wiersz: English (zapamietane)",                             \
      "Window language: English. Click this line: polski (remembered)")                                       \
    X(helpButtons, "Przyciski: {}", "Buttons: {}")                                                              \
    X(helpCanvas,                                                                                               \
      "Plansza (lewa strona)\n"                                                                                 \
      "  lewy przycisk lub przeciaganie   rysuje wybranym kaflem i narzedziem\n"                               \
      "  prawy przycisk                   wymazuje\n"                                                           \
      "  kolko myszy                      w gore wymazuje, w dol rysuje\n"                                     \
      "  Ctrl+kolko, Ctrl+plus, Ctrl+minus   powiekszenie okna 1x, 2x, 3x\n"                                   \
      "Narzedzia (przyciski pod plansza)\n"                                                                     \
      "  D olowek   F wypelnianie   R prostokat, drugi raz ramka   L linia\n"                                  \
      "  P pobiera kafel spod wskaznika   S zaznaczenie   G siatka\n"                                          \
      "  Ctrl+C kopiuje mape lub zaznaczenie, Ctrl+V wkleja (klik kladzie)\n"                                  \
      "  Escape porzuca zaznaczenie, wklejany fragment i \"Zamien mapy\"",                                      \
      "Canvas (left side)\n"                                                                                    \
      "  left button or dragging          draws with the chosen tile and tool\n"                               \
      "  right button                     erases\n"                                                             \
      "  mouse wheel                      up erases, down draws\n"                                             \
      "  Ctrl+wheel, Ctrl+plus, Ctrl+minus   zoom the window 1x, 2x, 3x\n"                                     \
      "Tools (the buttons under the canvas)\n"                                                                  \
      "  D pencil   F fill   R rectangle, again a frame   L line\n"                                            \
      "  P picks the tile under the pointer   S selection   G grid\n"                                          \
      "  Ctrl+C copies the level or the selection, Ctrl+V pastes (a click places)\n"                          \
      "  Escape drops the selection, the pasted part and \"Swap levels\"")                                      \
    X(helpSet,                                                                                                  \
      "Zestaw\n"                                                                                                \
      "  Ctrl+N nowy   Ctrl+O otworz   Ctrl+1..9 ostatnio otwarte\n"                                           \
      "  Ctrl+S zapisz   Ctrl+Shift+S zapisz jako\n"                                                            \
      "  Ctrl+Z cofnij   Ctrl+Y lub Ctrl+Shift+Z ponow\n"                                                      \
      "Mapy\n"                                                                                                  \
      "  1..32 wybiera mape; Usun mape ja oproznia\n"                                                           \
      "  Zamien mapy, potem druga mapa: zamienia je miejscami\n"                                               \
      "  Testuj mape, Testuj gre: test w emulatorze, kazdy na wlasnym obrazie\n"                               \
      "  F5 lub Graj: gra na planszy klawiszami gry: strzalki ida, Ctrl ze strzalka\n"                         \
      "    strzela w jej strone, spacja pauza, R od nowa (zycie zostaje), Escape\n"                            \
      "    lub klik wraca do edycji; Shift+F5 pokazuje rozwiazanie",                                           \
      "Level set\n"                                                                                             \
      "  Ctrl+N new   Ctrl+O open   Ctrl+1..9 opened last\n"                                                   \
      "  Ctrl+S save   Ctrl+Shift+S save as\n"                                                                  \
      "  Ctrl+Z undo   Ctrl+Y or Ctrl+Shift+Z redo\n"                                                          \
      "Levels\n"                                                                                                \
      "  1..32 chooses a level; Clear level empties it\n"                                                      \
      "  Swap levels, then another level: swaps their places\n"                                                \
      "  Test level, Test game: a test in the emulator, each on an image of its own\n"                         \
      "  F5 or Play: play on the canvas with the game's keys: the arrows walk, Ctrl\n"                         \
      "    with an arrow fires that way, space pauses, R starts again (the life\n"                             \
      "    stays), Escape or a click returns to editing; Shift+F5 shows a solution")                           \
    X(helpCounters,                                                                                             \
      "  Srubki: - i + zmieniaja, klik na liczbe liczy srubki na mapie\n"                                      \
      "  Murek: - i + zmieniaja wzorek, klik na obrazek wraca do pierwszego\n"                                 \
      "  Kolor: wybierz rejestr 1..6, potem kolor z siatki",                                                   \
      "  Screws: - and + change them, a click on the number counts the level's screws\n"                       \
      "  Wall: - and + change the pattern, a click on the picture takes the first\n"                          \
      "  Colour: choose register 1..6, then a colour from the grid")                                           \
    X(helpText,                                                                                                 \
      "Tekst (Start, Koniec)\n"                                                                                 \
      "  klik na strone daje jej klawiature, Escape lub klik obok oddaje\n"                                    \
      "  Return nastepny wiersz, strzalki przesuwaja, Backspace czysci\n"                                      \
      "  Ctrl+A \x01   Ctrl+C \x03   Ctrl+E \x05   Ctrl+L \x0c\n"                                             \
      "  Ctrl+N \x0e   Ctrl+O \x0f   Ctrl+S \x13   Ctrl+Z \x1a\n"                                               \
      "  Ctrl+Q \x11 (pelny pasek)   Ctrl+R Ctrl+T \x12\x14   Ctrl+F Ctrl+G \x06\x07\n"                           \
      "Komunikaty\n"                                                                                            \
      "  ostatni stoi pod Cofnij i Ponow; klik na urwany pokazuje go calego,\n"                               \
      "  klik na znalezisko kontroli pokazuje mape i miejsce; Ukryj go chowa\n"                                \
      "  F1 ta strona   F2 dziennik komunikatow   Escape lub klik zamyka",                                     \
      "Text (Start, End)\n"                                                                                     \
      "  a click on the page gives it the keyboard, Escape or a click beside ends\n"                           \
      "  Return the next line, the arrows move, Backspace clears\n"                                            \
      "  Ctrl+A \x01   Ctrl+C \x03   Ctrl+E \x05   Ctrl+L \x0c\n"                                             \
      "  Ctrl+N \x0e   Ctrl+O \x0f   Ctrl+S \x13   Ctrl+Z \x1a\n"                                               \
      "  Ctrl+Q \x11 (full bar)   Ctrl+R Ctrl+T \x12\x14   Ctrl+F Ctrl+G \x06\x07\n"                              \
      "Messages\n"                                                                                              \
      "  the last stands under Undo and Redo; a click on one cut short shows it all,\n"                        \
      "  a click on a finding of the checks shows its level and place; Hide hides it\n"                        \
      "  F1 this page   F2 the message log   Escape or a click closes")                                      \
    /* What the window's commands say */                                                                       \
    X(pastedRobot, "Wklejony fragment ma robota: na mapie beda dwa",                                            \
      "The pasted part has a robot: the level will have two")                                                 \
    X(templateRefused, "Odrzucono szablon {}: {}; uzyto wbudowanej gry",                                         \
      "Template {} refused: {}; the built-in game is used")                                                   \
    X(emulatorFailed, "Nie udalo sie uruchomic emulatora ({})", "The emulator did not run ({})")                \
    X(testImageWontBoot, "Obraz testowy nie wystartuje: {}", "The test image would not boot: {}")              \
    X(cannotWrite, "Nie mozna zapisac {}", "Cannot write {}")                                                   \
    X(emulatorNotStarted, "Nie mozna uruchomic emulatora: {}", "Cannot start the emulator: {}")                \
    X(emulatorStarted, "Uruchomiono emulator: {}", "Emulator started: {}")                                     \
    X(testDirectoryFailed, "Nie mozna utworzyc katalogu na obraz testowy w {}",                                  \
      "Cannot make a folder for the test image in {}")                                                        \
    X(autosaveFailed, "Nie mozna zapisac autozapisu w {}: {}", "Cannot write the autosave in {}: {}")           \
    X(autosaveOff, "Autozapis wylaczony: nie mozna pisac w {}: {}", "Autosave off: cannot write in {}: {}")     \
    X(autosaveRestoreFailed, "Nie mozna przywrocic autozapisu {}", "Cannot restore the autosave {}")           \
    X(autosaveRestored, "Przywrocono autozapis: {}", "Autosave restored: {}")                                  \
    X(autosaveOf, "Jest autozapis {}", "There is an autosave of {}")                                           \
    X(autosaveNewer, " nowszy niz plik", ", newer than the file")                                              \
    X(autosaveOlder, " starszy niz plik", ", older than the file")                                             \
    X(autosaveWork, ": praca sprzed awarii{}.", ": work from before a crash{}.")                                \
    X(autosaveWritten, ", zapisana {}", ", written {}")                                                         \
    X(autosaveBroken, " Jest uszkodzony ({}) i nie da sie go przywrocic.", " It is damaged ({}) and cannot be restored.") \
    X(autosaveDamaged, " Jest uszkodzony: {}.", " It is damaged: {}.")                                          \
    X(autosaveRestore, " Przywrocic go?", " Restore it?")                                                       \
    X(autosaveOfNewSet, "nowego zestawu (bez nazwy)", "a new set (untitled)")                                   \
    X(playing, "Gra na planszy: Escape wraca do edycji", "Playing on the canvas: Escape returns to editing")    \
    X(levelName, "Mapa {}", "Level {}")                                                                         \
    X(noRobotToPlay, "brak robota, nie ma kim grac", "no robot, nobody to play")                                \
    X(playEnded, "Koniec gry na planszy: mapa jak przed gra", "Play ended: the level is as it was")            \
    X(robotDied, "Robot zginal - zostalo zyc: {}", "The robot died - lives left: {}")                          \
    X(levelFinished, "Robot doszedl do wyjscia: mapa ukonczona", "The robot reached the exit: level finished") \
    X(gameOver, "Koniec gry: robot stracil wszystkie zycia", "Game over: the robot lost all its lives")         \
    X(solutionShown, "Rozwiazanie pokazane do konca", "The solution was shown to its end")                     \
    /* Dialogs: titles and answers */                                                                          \
    X(saveTitle, "Zapisz mape", "Save the set")                                                                 \
    X(openTitle, "Otworz mape", "Open a set")                                                                   \
    X(autosaveTitle, "Zelbun Kreator - autozapis", "Zelbun Kreator - autosave")                                 \
    X(testTitle, "Zelbun Kreator - test", "Zelbun Kreator - test")                                              \
    X(replaceAnswer, "Zastap", "Replace")                                                                       \
    X(cancelAnswer, "Anuluj", "Cancel")                                                                         \
    X(addAtrAnswer, "Dodaj .atr", "Add .atr")                                                                   \
    X(saveAsTypedAnswer, "Zapisz tak", "Save as typed")                                                         \
    X(openCopyAnswer, "Otworz kopie", "Open the copy")                                                          \
    X(openFileAnswer, "Otworz plik", "Open the file")                                                           \
    X(saveAnswer, "Zapisz", "Save")                                                                             \
    X(dontSaveAnswer, "Nie zapisuj", "Don't save")                                                              \
    X(testAnswer, "Testuj", "Test")                                                                             \
    X(restoreAnswer, "Przywroc", "Restore")                                                                     \
    X(deleteAutosaveAnswer, "Usun autozapis", "Delete autosave")                                                \
    X(notNowAnswer, "Nie teraz", "Not now")                                                                     \
    X(yesAnswer, "Tak", "Yes")                                                                                  \
    X(noAnswer, "Nie", "No")                                                                                    \
    X(okAnswer, "OK", "OK")                                                                                     \
    /* The file dialogs, in the window and the desktop's */                                                    \
    X(allFilesButton, "Wszystkie pliki", "All files")                                                           \
    X(folderLine, "Katalog: {}", "Folder: {}")                                                                  \
    X(fileLine, "Plik:", "File:")                                                                               \
    X(folderUnreadable, "Nie mozna odczytac katalogu {}", "Cannot read the folder {}")                          \
    X(noSuchFolder, "Nie ma takiego katalogu", "No such folder")                                                \
    X(notAPlainFile, "To nie jest zwykly plik", "Not a plain file")                                             \
    X(noSuchFile, "Nie ma takiego pliku", "No such file")                                                       \
    X(fileExists, "Plik juz istnieje - OK zapisze go na nowo", "The file exists - OK writes it anew")           \
    X(atrImages, "Obrazy ATR", "ATR images")                                                                    \
    X(allFiles, "Wszystkie pliki", "All files")                                                                 \
    X(openedLast, "Ostatnio otwarte", "Opened last")                                                            \
    X(fileColumn, "Plik", "File")                                                                               \
    X(anotherFile, "Inny plik...", "Another file...")

enum class WindowText {
#define ZELBUN_TEXT_NAME(name, polish, english) name,
    ZELBUN_WINDOW_TEXTS(ZELBUN_TEXT_NAME)
#undef ZELBUN_TEXT_NAME
    count
};
constexpr int windowTextCount = int(WindowText::count);

// The text as written.
const char* windowText(WindowText text, Language language);
// The text with its "{}" filled in order by `values`.
std::string windowText(WindowText text, Language language, std::initializer_list<std::string> values);
// The name a text has in the code ("newButton"), for what a test reports.
const char* windowTextName(WindowText text);

// A label made to fit `chars` glyphs: first its vowels go one by one from
// the end, never a word's first letter ("Colour:" to "Color:"); if that is
// not enough, it is cut at a whole glyph and ends in "." ("Scrws t." in 8).
// A label that fits stays as it is.
std::string fitLabel(const std::string& label, size_t chars);

// The window's language by its code: "pl" or "en" (any case); none for
// anything else.
std::optional<Language> languageNamed(const std::string& code);
const char* languageCode(Language language);
// The language asked for at start: --lang's code over ZELBUN_LANG's (an
// unknown code there counts as none); none when neither names one, and the
// window then takes the one chosen last on its help page, else Polish.
std::optional<Language> askedLanguage(const std::string& option, const std::optional<std::string>& environment);
