#pragma once

#include "documents/latex_command_ids.h"

// The HTML view's commands beyond the ones it shares with the LaTeX view's Insert menu entries.
constexpr UINT ID_INSERT_DEFINITION_ITEM = 32801;
constexpr UINT ID_INSERT_LINK = 32800;
