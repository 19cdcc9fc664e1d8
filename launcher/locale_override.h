// The installer's "Locale" registry value, which overrides the user's language.
#pragma once

#include "platform/windows.h"

// Replaces `language` with the edition the registry value names; leaves it alone
// on any failure or when the value names no edition. Never writes the registry.
void ApplyLocaleOverride(LANGID& language);
