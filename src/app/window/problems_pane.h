#pragma once

#include "docsystem/latex_problem.h"
#include "platform/list_pane.h"

#include <optional>
#include <string>
#include <vector>

class CFrameWnd;

// To the main frame, from a job's thread: show these problems (wParam: const
// std::vector<LatexProblem>*).
constexpr UINT ShowProblemsMessage = 0x0400 + 6;

// The errors and warnings of the last documentation job, listed below the editor: errors first,
// each with its file and line. Which problem is current decides where next and previous go.
class ProblemsPane {
public:
    enum class Direction { Next, Previous };

    bool Create(CFrameWnd* frame);
    void Show(std::vector<LatexProblem> problems);
    void Clear() { Show({}); }

    int Count() const { return static_cast<int>(m_problems.size()); }
    const LatexProblem& Problem(int row) const { return m_problems[static_cast<std::size_t>(row)]; }
    // The row after or before the current one, wrapping around; none without problems.
    std::optional<int> Neighbour(Direction direction) const;
    void MakeCurrent(int row) { m_list.SelectRow(row); }
    // "2 errors, 1 warning"; empty without problems.
    std::string CountText() const;

private:
    CListPane m_list;
    std::vector<LatexProblem> m_problems;
};
