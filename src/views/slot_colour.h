#pragma once

#include "platform/win_types.h"
#include "views/colour_slot.h"

// The colour scheme of the text views. The window, window-text and scroll-bar slots follow the
// system colours as they are at the moment of the call; every other slot has a fixed colour, and a
// slot outside the table is red.
COLORREF DefaultSlotColour(ColourSlot slot);
