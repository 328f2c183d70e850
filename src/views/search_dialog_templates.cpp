#include "views/search_dialog_templates.h"

#include "platform/command_ids.h"
#include "platform/messages.h"
#include "platform/resources.h"

namespace search_dialogs {
namespace {

using platform::DialogItemKind;
using platform::DialogTemplate;

DialogTemplate FindTemplate()
{
    return {"Find",
            236,
            62,
            {{IDC_STATIC, DialogItemKind::Label, "Fi&nd what:", 4, 8, 40, 8, 0},
             {FindTextEdit, DialogItemKind::Edit, "", 46, 7, 128, 12, 0},
             {WholeWordBox, DialogItemKind::CheckBox, "Match &whole word only", 4, 24, 110, 10, 0},
             {MatchCaseBox, DialogItemKind::CheckBox, "Match &case", 4, 36, 70, 10, 0},
             {RegularExpressionBox, DialogItemKind::CheckBox, "Regular e&xpression", 4, 48, 100, 10, 0},
             {IDC_STATIC, DialogItemKind::GroupBox, "Direction", 118, 22, 58, 37, 0},
             {UpRadio, DialogItemKind::RadioButton, "&Up", 123, 33, 50, 10, WS_GROUP},
             {DownRadio, DialogItemKind::RadioButton, "&Down", 123, 45, 50, 10, 0},
             {IDOK, DialogItemKind::DefaultPushButton, "&Find Next", 180, 5, 52, 14, 0},
             {IDCANCEL, DialogItemKind::PushButton, "Cancel", 180, 23, 52, 14, 0}}};
}

DialogTemplate ReplaceTemplate()
{
    return {"Replace",
            230,
            88,
            {{IDC_STATIC, DialogItemKind::Label, "Fi&nd what:", 4, 9, 48, 8, 0},
             {FindTextEdit, DialogItemKind::Edit, "", 54, 7, 114, 12, 0},
             {IDC_STATIC, DialogItemKind::Label, "Re&place with:", 4, 26, 48, 8, 0},
             {ReplaceTextEdit, DialogItemKind::Edit, "", 54, 24, 114, 12, 0},
             {WholeWordBox, DialogItemKind::CheckBox, "Match &whole word only", 5, 42, 91, 12, 0},
             {MatchCaseBox, DialogItemKind::CheckBox, "Match &case", 5, 56, 59, 12, 0},
             {RegularExpressionBox, DialogItemKind::CheckBox, "Regular e&xpression", 5, 70, 91, 12, 0},
             {IDC_STATIC, DialogItemKind::GroupBox, "Replace in", 97, 43, 71, 37, 0},
             {SelectionRadio, DialogItemKind::RadioButton, "&Selection", 102, 54, 59, 10, WS_GROUP},
             {WholeFileRadio, DialogItemKind::RadioButton, "Wh&ole file", 102, 66, 58, 10, 0},
             {ReplaceFindNextButton, DialogItemKind::DefaultPushButton, "&Find Next", 174, 4, 50, 14, 0},
             {ReplaceButton, DialogItemKind::PushButton, "&Replace", 174, 21, 50, 14, 0},
             {ReplaceAllButton, DialogItemKind::PushButton, "Replace &All", 174, 38, 50, 14, 0},
             {IDCANCEL, DialogItemKind::PushButton, "Cancel", 174, 55, 50, 14, 0}}};
}

}  // namespace

void RegisterTemplates()
{
    if (platform::resources::FindDialog(FindTemplateId) == nullptr)
        platform::resources::AddDialog(FindTemplateId, FindTemplate());
    if (platform::resources::FindDialog(ReplaceTemplateId) == nullptr)
        platform::resources::AddDialog(ReplaceTemplateId, ReplaceTemplate());
}

}  // namespace search_dialogs
