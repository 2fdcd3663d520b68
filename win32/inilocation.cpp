// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/inilocation.h"

#include "win32/modpath.h"

#include <windows.h>

#include <shlobj.h>

namespace IniLocation {

namespace {

constexpr wchar_t PerUserFolderName[] = L"Pomvale";

bool isRegularFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

// Whether the user may write the existing file, found by opening it for writing (nothing is written).
bool fileIsWritable(const std::wstring &path)
{
    HANDLE file
        = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The file beside the executable is the user's own where the folder can be written, or where the
// file itself can be (it is then written in place, as the Linux program does).
bool besideProgramIsUsers(const std::wstring &exeFolder, const std::wstring &besideProgram)
{
    return folderIsWritable(exeFolder) || (isRegularFile(besideProgram) && fileIsWritable(besideProgram));
}

} // namespace

bool folderIsWritable(const std::wstring &folder)
{
    if (folder.empty())
        return false;
    // A name no other program or instance uses: this process and a counter of tries.
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const std::wstring probe = modPath::CombinePath(
            folder,
            L"~pomvale-write-test-" + std::to_wstring(GetCurrentProcessId()) + L'-'
                + std::to_wstring(GetTickCount64()) + L'-' + std::to_wstring(attempt) + L".tmp");
        // Deleted on close, so that nothing stays behind even when the program is killed here.
        HANDLE file = CreateFileW(
            probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            DeleteFileW(probe.c_str()); // in case the folder's file system keeps it
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

std::wstring perUserFolder()
{
    PWSTR appData = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &appData))
        && appData)
        folder = modPath::CombinePath(appData, PerUserFolderName);
    CoTaskMemFree(appData);
    return folder;
}

std::wstring fileToRead(const std::wstring &exeFolder, const std::wstring &fileName)
{
    std::wstring besideProgram = modPath::CombinePath(exeFolder, fileName);
    if (besideProgramIsUsers(exeFolder, besideProgram))
        return besideProgram;
    const std::wstring userFolder = perUserFolder();
    if (!userFolder.empty() && isRegularFile(modPath::CombinePath(userFolder, fileName)))
        return modPath::CombinePath(userFolder, fileName);
    return besideProgram;
}

Target fileToWrite(const std::wstring &exeFolder, const std::wstring &fileName)
{
    if (besideProgramIsUsers(exeFolder, modPath::CombinePath(exeFolder, fileName)))
        return {exeFolder, modPath::CombinePath(exeFolder, fileName)};
    const std::wstring userFolder = perUserFolder();
    if (userFolder.empty()) // the save then fails on the protected folder and says so
        return {exeFolder, modPath::CombinePath(exeFolder, fileName)};
    const std::wstring copy = modPath::CombinePath(userFolder, fileName);
    CreateDirectoryW(userFolder.c_str(), nullptr); // there already after the first save
    const std::wstring original = modPath::CombinePath(exeFolder, fileName);
    if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES && isRegularFile(original)
        && CopyFileW(original.c_str(), copy.c_str(), TRUE))
        // The copy is the user's to change, whatever protection the administrator gave the original.
        SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    return {userFolder, copy};
}

} // namespace IniLocation
