// Scratch game installations that a test lays out and the launcher runs in.
#pragma once

#include <string>

// A fresh, empty folder for one test: `name` under the scratch root (%TEMP% or
// TANDREL_SCRATCH), removed first if an earlier run left it.
std::wstring NewInstallTree(const std::wstring& name);

// Each takes a full path and creates what is missing above it.
bool MakeFolders(const std::wstring& path);
bool PutFile(const std::wstring& path, const std::string& content);
bool PutCopy(const std::wstring& from, const std::wstring& to);
// The stand-in game as folder\Tandrel.exe.
bool PutGame(const std::wstring& folder);
// The launcher under test as folder\TandrelLauncher.exe; returns its path.
std::wstring PutLauncher(const std::wstring& folder);

bool RemoveTree(const std::wstring& path);
