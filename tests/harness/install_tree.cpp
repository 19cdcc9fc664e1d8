#include "harness/install_tree.h"

#include "harness/test_env.h"

namespace {

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ScratchRoot() {
    wchar_t root[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TANDREL_SCRATCH", root, MAX_PATH) == 0) {
        GetTempPathW(MAX_PATH, root);
    }
    std::wstring path = WindowsPathOf(root);
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path + L"\\tandrel-tests";
}

}  // namespace

bool MakeFolders(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring parent = ParentOf(path);
    // Stop at a drive ("C:") or UNC root.
    if (parent.size() > 2 && !MakeFolders(parent)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool PutFile(const std::wstring& path, const std::string& content) {
    if (!MakeFolders(ParentOf(path))) return false;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

bool PutCopy(const std::wstring& from, const std::wstring& to) {
    return MakeFolders(ParentOf(to)) && CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool PutGame(const std::wstring& folder) { return PutCopy(StandInGame(), folder + L"\\Tandrel.exe"); }

std::wstring PutLauncher(const std::wstring& folder) {
    const std::wstring path = folder + L"\\TandrelLauncher.exe";
    return PutCopy(LauncherUnderTest(), path) ? path : std::wstring();
}

bool RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

std::wstring NewInstallTree(const std::wstring& name) {
    const std::wstring path = ScratchRoot() + L"\\" + name;
    RemoveTree(path);
    MakeFolders(path);
    return path;
}
