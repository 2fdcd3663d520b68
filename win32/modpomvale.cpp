// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/modpomvale.h"
#include "win32/inilocation.h"
#include "win32/modpath.h"

#include "win32/iniencoding.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>
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
    HANDLE search = FindFirstFileW(modPath::CombinePath(folder, CopyPattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now {};
    GetSystemTimeAsFileTime(&now);
    do {
        const ULONGLONG written = ticks(found.ftLastWriteTime);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ticks(now) > written
            && ticks(now) - written > Minute)
            DeleteFileW(modPath::CombinePath(folder, found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A file in the user's temporary folder, removed with the object.
class TemporaryFile final
{
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }

    bool create(const std::string &bytes)
    {
        std::array<wchar_t, MAX_PATH + 1> folder {};
        std::array<wchar_t, MAX_PATH> name {};
        const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
        if (length == 0 || length > folder.size()
            || !GetTempFileNameW(folder.data(), CopyPrefix, 0, name.data()))
            return false;
        m_path = name.data();
        return win32::writeFileBytes(m_path, bytes, CREATE_ALWAYS);
    }
    const std::wstring &path() const { return m_path; }

private:
    std::wstring m_path;
};

// Where the profile functions can read the file's keys as the Linux program reads them: the file
// itself, or, for UTF-8 without a mark (which they would read in the ANSI code page), a copy of it
// with the mark.
std::wstring readableAs(const std::wstring &path, const std::optional<std::string> &bytes,
                        TemporaryFile &copy)
{
    if (bytes && win32::iniEncodingOf(*bytes) == win32::IniEncoding::Utf8
        && copy.create(win32::Utf8Mark + *bytes))
        return copy.path();
    return path;
}

// Writes the two keys whole or not at all: a copy of the file in the same folder takes the new values
// through the profile functions, reaches the disk, and then replaces the original in one step. A file
// in a folder that cannot take the copy is written in place, from a copy in the temporary folder.
// The file keeps its encoding: the ANSI code page while the values fit it, UTF-8 without a mark as
// UTF-8; an ASCII file whose new values the ANSI code page cannot hold becomes UTF-16 with its mark.
SaveResult saveCrashSafe(const std::wstring &folder, const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // The profile functions refuse a read-only file; the user's protection stands.
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)))
        return SaveResult::Failed;
    const std::optional<std::string> original = exists ? win32::readFileBytes(path) : std::string();
    if (!original)
        return SaveResult::Failed;
    // A new file is Unicode (UTF-16 with its mark), so that any path keeps its every character.
    const win32::IniEncoding encoding = exists ? win32::iniEncodingOf(*original) : win32::IniEncoding::Marked;

    // A value stored unchanged is not written again: the bytes the user wrote stay as they are.
    TemporaryFile readable;
    const std::wstring readFrom = readableAs(path, original, readable);
    std::wstring storedEnable;
    std::wstring storedPath;
    const bool enableChanged
        = !exists || !ReadIni(readFrom, Section, EnableKey, storedEnable) || storedEnable != SoundEnable;
    const bool pathChanged
        = !exists || !ReadIni(readFrom, Section, PathKey, storedPath) || storedPath != SoundPath;
    if (!enableChanged && !pathChanged)
        return SaveResult::Saved;
    const bool fitsAnsi = fitsAnsiCodePage(SoundEnable) && fitsAnsiCodePage(SoundPath);
    // A file in the ANSI code page (CP932 from Japanese Windows) cannot change its encoding without
    // changing the bytes the user wrote: it stays so, while the values fit it.
    if (encoding == win32::IniEncoding::Ansi && !fitsAnsi)
        return SaveResult::NotInFileEncoding;
    std::string start = *original;
    if (!exists)
        start = "\xFF\xFE";
    else if (encoding == win32::IniEncoding::Utf8)
        start = win32::Utf8Mark + *original;
    else if (encoding == win32::IniEncoding::Ascii && !fitsAnsi)
        start = win32::asciiToUtf16(*original);

    removeStaleCopies(folder);
    std::array<wchar_t, MAX_PATH> copy {};
    // Whether the folder takes the copy is found by making it (Wine's GetTempFileNameW may name a file
    // it could not make: the copy must be there).
    const bool besideFile = folder.size() < MAX_PATH - 14
        && GetTempFileNameW(folder.c_str(), CopyPrefix, 0, copy.data())
        && GetFileAttributesW(copy.data()) != INVALID_FILE_ATTRIBUTES;
    TemporaryFile elsewhere; // in place: the copy is made in the temporary folder instead
    if (!besideFile && (!exists || !elsewhere.create(start)))
        return SaveResult::Failed;
    const std::wstring copyPath = besideFile ? std::wstring(copy.data()) : elsewhere.path();
    bool done = !besideFile || win32::writeFileBytes(copyPath, start, CREATE_ALWAYS);
    if (done && enableChanged)
        done = WritePrivateProfileStringW(Section, EnableKey, SoundEnable.c_str(), copyPath.c_str()) != FALSE;
    if (done && pathChanged)
        done = WritePrivateProfileStringW(Section, PathKey, SoundPath.c_str(), copyPath.c_str()) != FALSE;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copyPath.c_str()); // out of the system's cache
    std::optional<std::string> written = done ? win32::readFileBytes(copyPath) : std::nullopt;
    done = written.has_value();
    // UTF-8 goes back without the mark that only the profile functions needed.
    if (done && encoding == win32::IniEncoding::Utf8 && written->rfind(win32::Utf8Mark, 0) == 0)
        written->erase(0, 3);
    if (done && !besideFile)
        return win32::writeFileBytes(path, *written, OPEN_EXISTING) ? SaveResult::Saved : SaveResult::Failed;
    done = done && win32::writeFileBytes(copyPath, *written, CREATE_ALWAYS); // flushed to the disk
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
    TemporaryFile readable;
    const std::wstring readFrom = readableAs(IniPath, win32::readFileBytes(IniPath), readable);
    if (!ReadIni(readFrom, Section, EnableKey, SoundEnable))
        SoundEnable = L"0";
    if (!ReadIni(readFrom, Section, PathKey, SoundPath))
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
