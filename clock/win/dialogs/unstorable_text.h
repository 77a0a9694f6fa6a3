// Texts the Shift-JIS settings files cannot hold: before a save the user is
// told which fields and characters, and chooses to go back or to save them
// as '?'.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app_context.h"

namespace qv::win {

// A text about to be saved, and where the user would change it.
struct SavedText {
    std::wstring field;  // as the window labels it, with the row where there are rows
    HWND control;        // where the focus goes back to
    std::string text;    // UTF-8
};

// The message naming each text that has characters without a Shift-JIS form,
// with those characters; empty when every text can be stored.
std::wstring UnstorableMessage(const std::vector<SavedText>& texts);

// True when the save may go on: every text can be stored, or the user chose
// to save with '?'. Otherwise (the default answer) the focus goes to the
// first field named, the edits stay as they are, and the answer is false.
bool MaySave(AppContext& app, HWND owner, const std::vector<SavedText>& texts);

// A time-difference text that is neither a number nor a zone, in its row.
struct BadDiff {
    int row;
    std::wstring text;
};

// The question before a save that would take such texts: which rows and texts,
// and the two answers (go back, or keep those rows as they were).
std::wstring BadDiffMessage(const std::vector<BadDiff>& rows);

// A picture path with characters the file cannot hold becomes the file's
// short (8.3) path when the system gives one that can be stored, which loads
// the same picture; otherwise it stays as it is.
std::string StorablePicturePath(const std::string& path);

}  // namespace qv::win
