#pragma once

#include "platform/win_types.h"

// Resources and commands of the application shell.
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT ID_OPTIONS = 32797;
constexpr UINT ID_HELP_CONTENTS = 32802;
// The status bar pane with the documentation job's progress.
constexpr UINT ID_INDICATOR_PROGRESS = 61221;
// The status bar pane with the count of the last job's problems.
constexpr UINT ID_INDICATOR_PROBLEMS = 61222;
// Go to the next / previous problem of the Problems pane.
constexpr UINT ID_NEXT_PROBLEM = 32810;
constexpr UINT ID_PREVIOUS_PROBLEM = 32811;
