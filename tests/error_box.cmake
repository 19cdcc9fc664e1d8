# The localized error box: in-process hook tests and end-to-end box checks.
