// Where the window shows each of its fixed words, as the room it has.
#pragma once

#include "core/windowtexts.h"

#include <string>

// The width in pixels one line of `text` may take where the window shows it
// (a button's, a label's, the status line's, a page's, a dialog's); 0 for
// a text that is wrapped into the room it gets (messages, questions).
int textRoom(WindowText text);

// Whether the window shortens `text` to its room (fitLabel): the labels of
// the buttons and the counters and the words beside them. Every other text
// fits its room as written.
bool isShortenedLabel(WindowText text);
// `text` in `language`, a label shortened to its room: what the window
// shows.
std::string shownLabel(WindowText text, Language language);
