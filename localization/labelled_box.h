// A message box whose buttons a CBT hook of the calling thread captions in a
// chosen language, and that hook.
#pragma once

#include <string>

#include "localization/button_labels.h"
#include "platform/windows.h"

// The labels of the box being shown: the hook gets no data of its own from the
// platform. Set before the hook is installed, null again once the box is gone.
extern ButtonLabels* gActiveLabels;

// At the first activation it captions the box's standard buttons, gives the box
// its small icon and removes itself. Every other notification is passed on
// unchanged. Returns 0 on every path.
LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam);

// Shows a modal MessageBoxW(owner, text, caption, style) with the buttons
// captioned in `language`, and returns its result. The hook is gone and
// gActiveLabels null when it returns, whether or not the box was ever shown.
int ShowBoxWithLabels(HWND owner, const std::wstring& text, const std::wstring& caption, LANGID language,
                      UINT style);
