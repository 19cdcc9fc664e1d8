#include "localization/error_box.h"

void ShowLocalizedError(LANGID) {}
