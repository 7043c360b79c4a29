#pragma once

#include <functional>

class TApplication;

// The program from start to end: creates the main window with createMainForm, shows it, runs
// the message loop until it is closed, and returns 0. A failure of the Exception family that
// leaves start-up or the loop is shown in one error box, the silent kind included, and the
// program still returns 0.
int RunEntryRoutine(TApplication& application, const std::function<void()>& createMainForm);
