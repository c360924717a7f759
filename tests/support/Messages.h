// Message pumping for tests that drive real windows.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches the thread's messages until the queue is idle.
void PumpPending();
// Dispatches messages until condition holds or timeoutMs passes; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Removes a WM_QUIT left in the queue by a closed main window; true if there was one.
bool TakeQuitMessage();
// Runs action once, delayMs from now, inside whatever message loop is running
// then (a modal dialog's too).
void AfterDelay(DWORD delayMs, std::function<void()> action);
