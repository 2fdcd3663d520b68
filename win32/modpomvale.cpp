// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/modpomvale.h"
#include "win32/inilocation.h"

#include <windows.h>

#include <array>
#include <vector>

namespace modPomvale {

std::wstring IniPath;
std::wstring SoundEnable;
std::wstring SoundPath;

namespace {

constexpr wchar_t FileName[] = L"Pomvale.ini";
constexpr wchar_t Section[] = L"Option";
constexpr wchar_t EnableKey[] = L"Enable";
constexpr wchar_t PathKey[] = L"Path";
// The copies a save writes before they replace the file: GetTempFileNameW's names with this prefix.
constexpr wchar_t CopyPrefix[] = L"pmv";
constexpr wchar_t CopyPattern[] = L"pmv*.tmp";
// The longest value read back: far beyond any path, short of memory trouble.
constexpr DWORD MaxValueLength = 16 * 1024 * 1024;

// The executable's folder, with a backslash at its end only at the root of a drive; empty when it
// cannot be known.
std::wstring applicationDir()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            const std::size_t slash = path.find_last_of(L"\\/");
            if (slash == std::wstring::npos)
                return {};
            path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
            return path;
        }
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

// The folder and the file name with exactly one backslash between them.
std::wstring CombinePath(const std::wstring &folder, const std::wstring &name)
{
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        return folder + name;
    return folder + L'\\' + name;
}

// An ordinary file: no folder, device, hidden or system file of that name counts.
bool isRegularFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes
             & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_HIDDEN
                | FILE_ATTRIBUTE_SYSTEM));
}

// The key's whole value, however long, up to its first NUL; false when missing or empty.
bool ReadIni(const std::wstring &path, const wchar_t *section, const wchar_t *key, std::wstring &value)
{
    if (path.empty())
        return false;
    std::vector<wchar_t> buffer(1024);
    DWORD copied = 0;
    for (;;) {
        copied = GetPrivateProfileStringW(section, key, L"", buffer.data(), static_cast<DWORD>(buffer.size()),
                                          path.c_str());
        // A full buffer may hold a cut value: read again with room to spare.
        if (copied + 1 < buffer.size() || buffer.size() >= MaxValueLength)
            break;
        buffer.resize(buffer.size() * 4);
    }
    if (copied == 0)
        return false;
    value.assign(buffer.data(), copied);
    return true;
}

// Whether a value survives the ANSI code page, in which the profile functions keep a file without
// a Unicode byte order mark.
bool fitsAnsiCodePage(const std::wstring &text)
{
    if (text.empty() || GetACP() == CP_UTF8)
        return true;
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return length > 0 && !usedDefault;
}

bool startsWithUnicodeMark(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::array<unsigned char, 2> mark {};
    DWORD read = 0;
    const bool unicode
        = ReadFile(file, mark.data(), 2, &read, nullptr) && read == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
    CloseHandle(file);
    return unicode;
}

bool writeBytes(const std::wstring &path, const void *bytes, DWORD size, DWORD disposition)
{
    HANDLE file
        = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool done = (size == 0 || (WriteFile(file, bytes, size, &written, nullptr) && written == size))
        && FlushFileBuffers(file);
    CloseHandle(file);
    return done;
}

ULONGLONG ticks(const FILETIME &time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Removes the copies that a killed save left behind, once they are a minute old: no running save
// holds its copy that long.
void removeStaleCopies(const std::wstring &folder)
{
    constexpr ULONGLONG Minute = 60ULL * 10'000'000; // in the file times' 100 ns
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(CombinePath(folder, CopyPattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now {};
    GetSystemTimeAsFileTime(&now);
    do {
        const ULONGLONG written = ticks(found.ftLastWriteTime);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ticks(now) > written
            && ticks(now) - written > Minute)
            DeleteFileW(CombinePath(folder, found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Writes the two keys whole or not at all: a copy of the file in the same folder takes the new values
// through the profile functions, reaches the disk, and then replaces the original in one step.
SaveResult saveCrashSafe(const std::wstring &folder, const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // The profile functions refuse a read-only file; the user's protection stands.
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)))
        return SaveResult::Failed;

    // A value stored unchanged is not written again: the bytes the user wrote stay as they are.
    std::wstring storedEnable;
    std::wstring storedPath;
    const bool enableChanged
        = !exists || !ReadIni(path, Section, EnableKey, storedEnable) || storedEnable != SoundEnable;
    const bool pathChanged
        = !exists || !ReadIni(path, Section, PathKey, storedPath) || storedPath != SoundPath;
    if (!enableChanged && !pathChanged)
        return SaveResult::Saved;
    // A file in the ANSI code page (CP932 from Japanese Windows) stays so, while the values fit it.
    if (exists && !startsWithUnicodeMark(path)
        && !(fitsAnsiCodePage(SoundEnable) && fitsAnsiCodePage(SoundPath)))
        return SaveResult::NotInFileEncoding;

    removeStaleCopies(folder);
    std::array<wchar_t, MAX_PATH> copy {};
    if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), CopyPrefix, 0, copy.data()))
        return SaveResult::Failed;
    const std::wstring copyPath(copy.data());
    // A new file is Unicode (UTF-16 with its mark), so that any path keeps its every character.
    static constexpr unsigned char UnicodeMark[] = {0xFF, 0xFE};
    bool done = exists ? CopyFileW(path.c_str(), copyPath.c_str(), FALSE) != FALSE
                       : writeBytes(copyPath, UnicodeMark, sizeof UnicodeMark, TRUNCATE_EXISTING);
    if (done && enableChanged)
        done = WritePrivateProfileStringW(Section, EnableKey, SoundEnable.c_str(), copyPath.c_str()) != FALSE;
    if (done && pathChanged)
        done = WritePrivateProfileStringW(Section, PathKey, SoundPath.c_str(), copyPath.c_str()) != FALSE;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copyPath.c_str()); // out of the system's cache
    done = done && writeBytes(copyPath, nullptr, 0, OPEN_EXISTING); // flushed to the disk
    if (done) {
        done = exists ? ReplaceFileW(path.c_str(), copyPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                     nullptr, nullptr)
                != FALSE
                      : MoveFileExW(copyPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!done)
        DeleteFileW(copyPath.c_str());
    return done ? SaveResult::Saved : SaveResult::Failed;
}

} // namespace

void LoadOption()
{
    const std::wstring folder = applicationDir();
    const std::wstring path = IniLocation::fileToRead(folder, FileName);
    if (folder.empty() || !isRegularFile(path)) {
        SoundEnable = L"0";
        SoundPath.clear();
        return;
    }
    IniPath = path;
    if (!ReadIni(IniPath, Section, EnableKey, SoundEnable))
        SoundEnable = L"0";
    if (!ReadIni(IniPath, Section, PathKey, SoundPath))
        SoundPath.clear();
}

SaveResult SaveOption()
{
    const std::wstring folder = applicationDir();
    if (folder.empty()) // the name alone would land in the working folder
        return SaveResult::Failed;
    const IniLocation::Target target = IniLocation::fileToWrite(folder, FileName);
    IniPath = target.path;
    return saveCrashSafe(target.folder, IniPath);
}

} // namespace modPomvale
