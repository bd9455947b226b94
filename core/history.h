// Undo and redo over whole-document snapshots (a document is about 17 KB,
// so even the full depth costs a few megabytes). Each step is the document
// as it stood after one user action. The modified state follows from it:
// the document is modified unless the current step is the one last saved
// or opened.
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
    // paths stay as they are.
    void markClean() { saved_ = static_cast<long>(at_); }
    // No step is what the file holds (it was opened from a backup copy, or
    // recovered from an autosave): it stays modified until saved.
    void markUnsaved() { saved_ = -1; }
    bool modified() const { return saved_ != static_cast<long>(at_); }
    // Steps recorded since the file was saved or opened; -1 when the saved
    // step is gone (dropped or overwritten).
    long stepsSinceSaved() const { return saved_ < 0 ? -1 : static_cast<long>(at_) - saved_; }

    size_t size() const { return steps_.size(); }

private:
    std::deque<Document> steps_;
    size_t at_ = 0;
    long saved_ = 0;  // index of the saved step, -1 when it was dropped or overwritten
};
