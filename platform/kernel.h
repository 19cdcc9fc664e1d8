// The kernel32 operations the launcher relies on, named in one place so the rest
// of the code calls them as kernel::X. Nothing here wraps or alters them.
#pragma once

#include "platform/windows.h"

namespace kernel {
using ::GetUserDefaultLangID;  // any 16-bit value may come back
using ::GetModuleFileNameW;    // length 0 means failure; cuts to fit the buffer
using ::GetCurrentDirectoryW;
using ::GetFileAttributesW;    // INVALID_FILE_ATTRIBUTES: absent or unreadable
using ::FindFirstFileW;
using ::FindNextFileW;         // 0 at the end of the listing or on any error
using ::FindClose;
using ::GetModuleHandleW;
using ::FindResourceExW;       // exactly the language asked for, no fallback
using ::LoadResource;          // valid for the life of the process
using ::GetCurrentThreadId;
}  // namespace kernel
