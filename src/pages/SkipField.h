// The "Skip:" field of the pages that walk folders: its text read as a skip list.
#pragma once

#include "framework/SkipList.h"

#include <windows.h>

#include <optional>
#include <string>

// The list the text gives; none, after a message that says why, when the
// text cannot be taken. A note on what it accepted is shown first.
std::optional<framework::SkipList> TakeSkipList(HWND owner, const std::string& text);
