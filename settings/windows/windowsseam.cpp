// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/windows/windowsseam.h"

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <climits>
#include <string>
#include <vector>

namespace settings::windows {

namespace {

constexpr wchar_t PerUserFolderName[] = L"Pomvale";

// Closes a file handle when it goes out of scope.
class Handle final
{
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    { }
    ~Handle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool close()
    {
        const bool closed = CloseHandle(m_handle) != FALSE;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 1u << 30 ? 1u << 30 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

ULONGLONG ticks(const FILETIME &time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Removes the temporary files that killed saves of this file left, once they are a minute old:
// no running save holds its file that long.
void removeStaleTemporaries(const std::wstring &folder, const std::wstring &name)
{
    constexpr ULONGLONG Minute = 60ULL * 10'000'000; // in the file times' 100 ns
    WIN32_FIND_DATAW found {};
    const std::wstring pattern = folder + L'\\' + name + L".*" + TemporarySuffix;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now {};
    GetSystemTimeAsFileTime(&now);
    int entries = 0;
    do {
        const ULONGLONG written = ticks(found.ftLastWriteTime);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ticks(now) > written
            && ticks(now) - written > Minute)
            DeleteFileW((folder + L'\\' + found.cFileName).c_str());
    } while (++entries < 10000 && FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring uniqueTag()
{
    static std::atomic<unsigned> counter {0};
    return std::to_wstring(GetCurrentProcessId()) + L'-' + std::to_wstring(GetTickCount64()) + L'-'
        + std::to_wstring(counter++);
}

DWORD attributesOf(const Path &path)
{
    return GetFileAttributesW(path.c_str());
}

} // namespace

Path WindowsSeam::executableFolder() const
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
            // A backslash at the end only at the root of a drive.
            path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
            return Path(path);
        }
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

Path WindowsSeam::perUserFolder() const
{
    PWSTR appData = nullptr;
    Path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &appData))
        && appData)
        folder = Path(std::wstring(appData) + L'\\' + PerUserFolderName);
    CoTaskMemFree(appData);
    return folder;
}

bool WindowsSeam::folderWritable(const Path &folder) const
{
    if (folder.empty())
        return false;
    // On Windows the folder's access list decides, which the attributes do not show: a file is
    // made there, deleted on close so that nothing stays even when the program is killed here.
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const std::wstring probe
            = folder.native() + L"\\~pomvale-write-test-" + uniqueTag() + TemporarySuffix;
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

bool WindowsSeam::fileWritable(const Path &file) const
{
    const DWORD attributes = attributesOf(file);
    if (attributes == INVALID_FILE_ATTRIBUTES
        || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)))
        return false;
    // Opened for writing to ask the access list; nothing is written.
    const Handle handle(CreateFileW(file.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.valid();
}

bool WindowsSeam::isRegularFile(const Path &file) const
{
    const DWORD attributes = attributesOf(file);
    return !file.empty() && attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes
             & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_HIDDEN
                | FILE_ATTRIBUTE_SYSTEM));
}

bool WindowsSeam::makeFolder(const Path &folder) const
{
    CreateDirectoryW(folder.c_str(), nullptr); // there already after the first save
    const DWORD attributes = attributesOf(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileRead WindowsSeam::readFile(const Path &file, std::size_t maxSize) const
{
    FileRead result;
    const Handle handle(CreateFileW(file.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        const DWORD error = GetLastError();
        result.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing
                                                                                       : ReadStatus::Failed;
        return result;
    }
    result.status = ReadStatus::Failed;
    // Only a file on a disk is a file: a pipe or a device would block or never end.
    LARGE_INTEGER size {};
    if (GetFileType(handle.get()) != FILE_TYPE_DISK || !GetFileSizeEx(handle.get(), &size)
        || size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxSize)
        return result;
    // Read to the end rather than trusting the size, but never past the limit.
    std::string &bytes = result.bytes;
    // Room for a save's edit, so that a large file is not moved to fresh memory for it.
    bytes.reserve(static_cast<std::size_t>(size.QuadPart) + 64 * 1024);
    bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxSize)
                break;
            bytes.resize(std::min(got * 2 + 4096, maxSize + 1));
        }
        const std::size_t room = bytes.size() - got;
        DWORD read = 0;
        if (!ReadFile(handle.get(), bytes.data() + got, room > 1u << 30 ? 1u << 30 : static_cast<DWORD>(room),
                      &read, nullptr))
            break;
        if (read == 0) {
            result.status = ReadStatus::Ok;
            break;
        }
        got += read;
    }
    bytes.resize(result.status == ReadStatus::Ok ? got : 0);
    return result;
}

ReplaceStatus WindowsSeam::replaceFile(const Path &file, std::string_view bytes) const
{
    const DWORD attributes = attributesOf(file);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is the user's protection: it stands.
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)))
        return ReplaceStatus::Failed;
    const std::wstring folder = file.parent_path().native();
    const std::wstring name = file.filename().native();
    const std::wstring temporary = folder + L'\\' + name + L'.' + uniqueTag() + TemporarySuffix;

    Handle handle(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (!handle.valid()) {
        const DWORD error = GetLastError();
        return exists && (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)
            ? ReplaceStatus::NoTemporary
            : ReplaceStatus::Failed;
    }
    removeStaleTemporaries(folder, name);
    // The new file reaches the disk before it takes the old one's place; the original is never
    // removed first, so a kill or a cut at any moment leaves one of the two whole.
    bool done = writeAll(handle.get(), bytes) && FlushFileBuffers(handle.get());
    done = handle.close() && done;
    if (done) {
        done = exists ? ReplaceFileW(file.c_str(), temporary.c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                != FALSE
                      : MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!done) {
        DeleteFileW(temporary.c_str());
        return ReplaceStatus::Failed;
    }
    return ReplaceStatus::Replaced;
}

bool WindowsSeam::writeInPlace(const Path &file, std::string_view bytes) const
{
    const Handle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid())
        return false;
    // The new size is reserved first, so that a full disk leaves the file as it was.
    LARGE_INTEGER oldSize {};
    LARGE_INTEGER newSize {};
    newSize.QuadPart = static_cast<LONGLONG>(bytes.size());
    bool done = GetFileSizeEx(handle.get(), &oldSize);
    if (done && newSize.QuadPart > oldSize.QuadPart)
        done = SetFilePointerEx(handle.get(), newSize, nullptr, FILE_BEGIN) && SetEndOfFile(handle.get());
    const LARGE_INTEGER start {};
    return done && SetFilePointerEx(handle.get(), start, nullptr, FILE_BEGIN) && writeAll(handle.get(), bytes)
        && SetEndOfFile(handle.get()) && FlushFileBuffers(handle.get());
}

bool WindowsSeam::isLeadByte(unsigned char byte) const
{
    return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
}

std::optional<std::u16string> WindowsSeam::decode(std::string_view bytes, bool lossy) const
{
    if (bytes.empty())
        return std::u16string();
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    const DWORD flags = lossy ? 0 : MB_ERR_INVALID_CHARS;
    const int length
        = MultiByteToWideChar(CP_ACP, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, flags, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return std::u16string(text.begin(), text.end());
}

std::optional<std::string> WindowsSeam::encode(std::u16string_view text) const
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const std::wstring wide(text.begin(), text.end());
    // No best fit: "café" must not quietly become "cafe". The default character marks what has no
    // form; UTF-8 as the ANSI code page takes neither the flag nor the marker.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *marker = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr,
                                           0, nullptr, marker);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(), length,
                        nullptr, marker);
    if (usedDefault)
        return std::nullopt;
    // What reads back as another text has no form here either.
    if (decode(bytes, false) != std::u16string(text))
        return std::nullopt;
    return bytes;
}

} // namespace settings::windows

namespace settings {

Seam &platformSeam()
{
    static windows::WindowsSeam seam;
    return seam;
}

} // namespace settings
