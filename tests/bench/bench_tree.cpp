// Lays out a folder for the fallback-scan benchmark: COUNT empty sub-folders
// and one that holds the game, which must be the last sub-folder the platform
// lists (Wine's order is not creation order), so that a scan probes all COUNT
// first. Creates COUNT + 1 folders, lists them with FindFirstFileW, copies the
// game into the last one, and lists again to check.
//
// Usage: bench_tree.exe FOLDER COUNT GAME_EXE   (FOLDER exists, has no sub-folders)
// Prints the name of the game's folder, nothing else.
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace {

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// Sub-folder names in listing order; the second result is the folder holding Tandrel.exe, if any.
std::vector<std::wstring> ListSubFolders(const std::wstring& dir, std::wstring& gameFolder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((dir + L"\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (IsDotEntry(entry.cFileName) || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        names.push_back(entry.cFileName);
        const std::wstring game = dir + L"\\" + entry.cFileName + L"\\Tandrel.exe";
        if (GetFileAttributesW(game.c_str()) != INVALID_FILE_ATTRIBUTES) gameFolder = entry.cFileName;
    } while (FindNextFileW(search, &entry) != 0);
    FindClose(search);
    return names;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_tree.exe FOLDER COUNT GAME_EXE\n");
        return 2;
    }
    const std::wstring dir = argv[1];
    const unsigned long count = wcstoul(argv[2], nullptr, 10);

    for (unsigned long i = 1; i <= count + 1; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\Sub %05lu", i);
        if (!CreateDirectoryW((dir + name).c_str(), nullptr)) {
            std::fprintf(stderr, "cannot create %ls%ls (error %lu)\n", dir.c_str(), name, GetLastError());
            return 1;
        }
    }
    std::wstring unused;
    const std::vector<std::wstring> listed = ListSubFolders(dir, unused);
    if (listed.size() != count + 1) {
        std::fprintf(stderr, "listed %u sub-folders, expected %lu\n", static_cast<unsigned>(listed.size()), count + 1);
        return 1;
    }
    const std::wstring last = listed.back();
    if (!CopyFileW(argv[3], (dir + L"\\" + last + L"\\Tandrel.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the game into %ls (error %lu)\n", last.c_str(), GetLastError());
        return 1;
    }

    std::wstring gameFolder;
    const std::vector<std::wstring> again = ListSubFolders(dir, gameFolder);
    if (again != listed || gameFolder != last) {
        std::fprintf(stderr, "the game's folder is not the last one listed\n");
        return 1;
    }
    std::printf("%ls\n", last.c_str());
    return 0;
}
