// Undo and redo over whole-document snapshots (a document is about 17 KB,
// so even the full depth costs a few megabytes). Each step is the document
// as it stood after one user action. The modified state is a matter of
// content, not of position: the document is unmodified while the current
// step holds what its file holds (as last saved or opened), or the empty
// set "Nowy" made, however the user came back to it.
#pragma once

#include "core/document.h"

#include <cstddef>
#include <deque>
#include <string>

class History {
public:
    // Steps kept behind the current one; older ones are dropped.
    static constexpr size_t depth = 200;

    explicit History(const Document& start = Document()) { reset(start); }

    // A fresh history holding only `start`, which counts as saved.
    void reset(const Document& start);

    // Makes `now` the current step when its content differs from the
    // current one (dropping what could have been redone) and returns true.
    // Same content: the current step only takes over now's path, and the
    // result is false.
    bool record(const Document& now);

    bool canUndo() const { return at_ > 0; }
    bool canRedo() const { return at_ + 1 < steps_.size(); }
    // Step back or forward and return the document to show; only when
    // canUndo() / canRedo().
    const Document& undo();
    const Document& redo();
    const Document& current() const { return steps_[at_]; }

    // The current step is now what the file at `path` holds; every step
    // belongs to that file from now on, so undoing never points a later
    // save back at an older name.
    void markSaved(const std::string& path);
    // The current step has nothing worth saving (a fresh empty set); the
    // paths stay as they are, and what the file holds stays known.
    void markClean();
    // No step is what the file holds (it was opened from a backup copy, or
    // recovered from an autosave): it stays modified until saved.
    void markUnsaved();
    bool modified() const;

    size_t size() const { return steps_.size(); }

private:
    std::deque<Document> steps_;
    size_t at_ = 0;
    // The states that need no saving: what the file holds, and the empty
    // set last made; each with its path, and only while `has` says so.
    struct CleanState {
        bool has = false;
        Document doc;
        bool matches(const Document& now) const { return has && now.path == doc.path && now.sameContent(doc); }
    };
    CleanState saved_;
    CleanState emptySet_;
};
