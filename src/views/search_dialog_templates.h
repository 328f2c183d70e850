#pragma once

#include "platform/win_types.h"

// The Find and Replace dialogs: template ids and control ids.
namespace search_dialogs {

constexpr UINT FindTemplateId = 8601;
constexpr UINT ReplaceTemplateId = 8602;

constexpr int WholeWordBox = 8603;
constexpr int MatchCaseBox = 8604;
constexpr int FindTextEdit = 8605;
constexpr int ReplaceButton = 8607;
constexpr int ReplaceAllButton = 8608;
constexpr int ReplaceTextEdit = 8609;
constexpr int ReplaceFindNextButton = 8610;
constexpr int UpRadio = 8611;
constexpr int DownRadio = 8612;
constexpr int SelectionRadio = 8613;
constexpr int WholeFileRadio = 8614;
constexpr int RegularExpressionBox = 8632;

// Registers both templates unless templates with their ids exist already.
void RegisterTemplates();

}  // namespace search_dialogs
