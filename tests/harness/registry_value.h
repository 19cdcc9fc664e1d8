// The installer's "Locale" value, as a test sets it up in the prefix's registry.
#pragma once

#include <string>

#include "platform/windows.h"

// view: 0 for the test program's own view, or KEY_WOW64_32KEY / KEY_WOW64_64KEY.
bool SetLocaleValue(DWORD type, const void* data, DWORD size, REGSAM view = 0);
bool SetLocaleString(const std::wstring& code, REGSAM view = 0);  // REG_SZ with its terminator
bool DeleteLocaleValue(REGSAM view = 0);                          // key stays
bool DeleteLocaleKey(REGSAM view = 0);                            // key and value gone
