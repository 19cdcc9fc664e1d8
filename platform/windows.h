// The one place the Windows headers are included; everything else includes this
// file. The build defines UNICODE and the oldest supported Windows (5.0) on the
// command line, because the C++ library headers pull in the toolchain's own
// default target before any include of ours could set it. The checks below make
// sure nobody builds this code without them: the headers then hide every API
// that Windows 5.0 lacks.
#pragma once

#if !defined(UNICODE) || !defined(_UNICODE)
#error "build with -DUNICODE -D_UNICODE"
#endif
#if _WIN32_WINNT != 0x0500 || WINVER != 0x0500
#error "build with -D_WIN32_WINNT=0x0500 -DWINVER=0x0500"
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
