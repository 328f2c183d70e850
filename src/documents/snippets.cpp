#include "documents/snippets.h"

#include "documents/html_command_ids.h"
#include "documents/latex_command_ids.h"

#include <array>

namespace {

constexpr auto After = CaretColumn::AfterInsertionPoint;
constexpr auto LineStart = CaretColumn::FromLineStart;

constexpr std::array<Snippet, 13> Latex = {{
    {ID_INSERT_BOLD, "{\\bf }", 0, 5, After},
    {ID_INSERT_ITALIC, "\\e{}", 0, 3, After},
    {ID_INSERT_ENUMERATION, "\\begin{enumerate}\r\n\\item \r\n\\end{enumerate}\r\n", 1, 6, LineStart},
    {ID_INSERT_ITEM_LIST, "\\begin{itemize}\r\n\\item \r\n\\end{itemize}\r\n", 1, 6, LineStart},
    {ID_INSERT_NEXT_ITEM, "\\item ", 0, 6, After},
    {ID_INSERT_INLINE_MATH, "$$", 0, 1, After},
    {ID_INSERT_DISPLAYED_MATH, "$$\r\n\r\n$$\r\n", 1, 0, LineStart},
    {ID_INSERT_EQUATION, "%\r\n\\begin{equation}\r\n\\label{eq:}\r\n\r\n\\end{equation}\r\n%\r\n", 3, 0, LineStart},
    {ID_INSERT_TABLE,
     "\\begin{table}[hbt]\r\n\\centering\r\n\\begin{tabular}{}\r\n\r\n\\end{tabular}\r\n\\label{fig:}\r\n\\end{table}\r\n", 3,
     0, LineStart},
    {ID_INSERT_SECTION, "\\section{}\r\n", 0, 9, After},
    {ID_INSERT_SUBSECTION, "\\subsection{}\r\n", 0, 12, After},
    {ID_INSERT_SUBSUBSECTION, "\\subsubsection{}\r\n", 0, 15, After},
    {ID_INSERT_CODE, "\\code{}", 0, 6, After},
}};

constexpr std::array<Snippet, 9> Html = {{
    {ID_INSERT_BOLD, "<b></b>", 0, 3, After},
    {ID_INSERT_ITALIC, "<i></i>", 0, 3, After},
    {ID_INSERT_ENUMERATION, "<ol>\r\n<li>\r\n</ol>\r\n", 1, 4, LineStart},
    {ID_INSERT_ITEM_LIST, "<ul>\r\n<li>\r\n</ul>\r\n", 1, 4, LineStart},
    {ID_INSERT_NEXT_ITEM, "<li>", 0, 4, After},
    {ID_INSERT_DEFINITION_ITEM, "<dt>\r\n<dd>", 0, 4, After},
    {ID_INSERT_TABLE, "<table>\r\n<tr><td>\r\n</table>\r\n", 1, 8, LineStart},
    {ID_INSERT_CODE, "<code></code>", 0, 6, After},
    {ID_INSERT_LINK, "<a href=\"\"></a>", 0, 9, After},
}};

}  // namespace

std::span<const Snippet> LatexSnippets()
{
    return Latex;
}

std::span<const Snippet> HtmlSnippets()
{
    return Html;
}

TextPosition CaretAfterSnippet(const Snippet& snippet, TextPosition insertionPoint)
{
    const int column = snippet.base == CaretColumn::AfterInsertionPoint ? insertionPoint.character + snippet.column
                                                                        : snippet.column;
    return {column, insertionPoint.line + snippet.lineOffset};
}
