// Scripted answers for modal choices: message boxes, pop-up menus, pickers
// and date pickers.
//
// Before a modal choice shows its window it asks the script for an answer
// of its kind; with one queued it records what it would have shown and
// returns that answer at once, without a window. With none it runs its real
// window. Every shown choice is recorded either way, so a test reads the
// caption and text of each message box. The desktop program never queues
// answers. RunModalChoice is that whole road for a choice whose window
// gives its answer when it closes.
#pragma once

#include "platform/Geometry.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

enum class ModalKind { MessageBox, PopupMenu, Picker, DatePicker };

// Answers by kind: a message box gives its button id (IDOK 1, IDCANCEL 2,
// IDYES 6, IDNO 7); a pop-up menu the chosen command id (0: dismissed);
// a picker the chosen index (−1: cancelled); a date picker yyyymmdd (0:
// cancelled).
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct CShownModal {
    ModalKind kind = ModalKind::MessageBox;
    std::u16string caption;
    std::u16string text;
    std::vector<std::u16string> items; // menu or picker entries
    int answer = 0;
};

class CModalScript {
public:
    static CModalScript& Instance();

    void Push(ModalKind kind, int answer);
    std::optional<int> Take(ModalKind kind);
    // The step every modal choice starts with: takes the next answer of
    // shown.kind; with one, stores it in shown, records shown and returns
    // it (the caller then shows no window).
    std::optional<int> TakeFor(CShownModal& shown);
    void Record(const CShownModal& shown);
    std::vector<CShownModal> Shown() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<std::pair<ModalKind, int>> m_answers;
    std::vector<CShownModal> m_shown;
};

// Runs one modal choice: the next scripted answer of shown.kind when one is
// queued (no window), else show(the loop's work area) when a message loop
// runs, else notShown; shown is recorded with the answer either way. show
// creates, runs and takes down the window and returns its answer, notShown
// when it could not show one.
int RunModalChoice(CShownModal shown, int notShown, const std::function<int(const CRect& workRect)>& show);
