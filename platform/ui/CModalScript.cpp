// The modal answer script: a queue of answers per kind and the record of
// every modal choice shown, both behind one lock because the test thread
// queues answers while the GUI thread takes them.
#include "platform/ui/CModalScript.h"

#include "platform/win/UiMessageLoop.h"

#include <algorithm>

CModalScript& CModalScript::Instance() {
    static CModalScript script;
    return script;
}

void CModalScript::Push(ModalKind kind, int answer) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_answers.emplace_back(kind, answer);
}

std::optional<int> CModalScript::Take(ModalKind kind) {
    std::lock_guard<std::mutex> guard(m_lock);
    // The first queued answer of this kind; answers of other kinds wait.
    auto it = std::find_if(m_answers.begin(), m_answers.end(), [kind](const auto& a) { return a.first == kind; });
    if (it == m_answers.end())
        return std::nullopt;
    int answer = it->second;
    m_answers.erase(it);
    return answer;
}

std::optional<int> CModalScript::TakeFor(CShownModal& shown) {
    std::optional<int> answer = Take(shown.kind);
    if (answer) {
        shown.answer = *answer;
        Record(shown);
    }
    return answer;
}

void CModalScript::Record(const CShownModal& shown) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_shown.push_back(shown);
}

std::vector<CShownModal> CModalScript::Shown() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_shown;
}

void CModalScript::Clear() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_answers.clear();
    m_shown.clear();
}

int RunModalChoice(CShownModal shown, int notShown, const std::function<int(const CRect& workRect)>& show) {
    CModalScript& script = CModalScript::Instance();
    if (std::optional<int> answer = script.TakeFor(shown))
        return *answer;
    int answer = notShown;
    if (UiMessageLoop* loop = UiMessageLoop::Current())
        answer = show(loop->GetWorkRect());
    shown.answer = answer;
    script.Record(shown);
    return answer;
}
