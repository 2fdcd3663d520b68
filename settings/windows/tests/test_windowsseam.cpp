// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows seam on real files: what a save leaves when the file is read-only, held open by
// another program, or left half-saved by a killed save, the in-place write, the per-user copy, and
// the ANSI code page without best fit.
#include "settings/profilefile.h"
#include "settings/windows/windowsseam.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <string>

using settings::Path;
using settings::SaveOutcome;

namespace {

// A fresh folder of the test's own under the temporary folder, removed with its files at the end.
class Folder final
{
public:
    Folder()
    {
        wchar_t temp[MAX_PATH + 1] {};
        GetTempPathW(MAX_PATH + 1, temp);
        static unsigned count = 0;
        m_path = Path(std::wstring(temp) + L"pomvale-seam-" + std::to_wstring(GetCurrentProcessId()) + L'-'
                      + std::to_wstring(count++));
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~Folder()
    {
        std::error_code error;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(m_path, error))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(m_path, error);
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    Path file(const wchar_t *name) const { return settings::joinPath(m_path, name); }
    const Path &path() const { return m_path; }

private:
    Path m_path;
};

void put(const Path &file, const std::string &bytes)
{
    HANDLE handle
        = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(handle != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
}

std::string contents(const Path &file)
{
    return settings::platformSeam().readFile(file, 1 << 20).bytes;
}

SaveOutcome saveEnable(const Path &file, std::u16string_view value)
{
    return settings::saveProfile(settings::platformSeam(), file, u"Option", {{u"Enable", value}});
}

int filesIn(const Path &folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

} // namespace

TEST_CASE("a save replaces the file and leaves no temporary file behind")
{
    const Folder folder;
    const Path ini = folder.file(L"Pomvale.ini");
    REQUIRE(saveEnable(ini, u"1") == SaveOutcome::Saved);
    // A new file is Unicode as other Windows programs read it: UTF-16LE with its mark.
    CHECK(contents(ini)
          == std::string("\xFF\xFE[\0O\0p\0t\0i\0o\0n\0]\0\r\0\n\0E\0n\0a\0b\0l\0e\0=\0001\0\r\0\n\0", 42));
    put(ini, "; mine\r\n[Option]\r\nEnable=0\r\n");
    REQUIRE(saveEnable(ini, u"1") == SaveOutcome::Saved);
    CHECK(contents(ini) == "; mine\r\n[Option]\r\nEnable=1\r\n");
    CHECK(filesIn(folder.path()) == 1);
}

TEST_CASE("a read-only file is left as it is")
{
    const Folder folder;
    const Path ini = folder.file(L"Pomvale.ini");
    put(ini, "[Option]\r\nEnable=0\r\n");
    REQUIRE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK(saveEnable(ini, u"1") == SaveOutcome::Failed);
    CHECK(contents(ini) == "[Option]\r\nEnable=0\r\n");
    CHECK(saveEnable(ini, u"0") == SaveOutcome::Saved); // what it holds needs no write
    CHECK(filesIn(folder.path()) == 1);
}

TEST_CASE("a file held open by another program that allows deletion is replaced, not lost")
{
    const Folder folder;
    const Path ini = folder.file(L"Pomvale.ini");
    put(ini, "[Option]\r\nEnable=0\r\n");
    HANDLE other
        = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(other != INVALID_HANDLE_VALUE);
    const SaveOutcome saved = saveEnable(ini, u"1");
    CloseHandle(other);
    // Whatever the outcome, the file is there afterwards, with the old or the new value, as reported.
    CHECK(contents(ini)
          == (saved == SaveOutcome::Saved ? "[Option]\r\nEnable=1\r\n" : "[Option]\r\nEnable=0\r\n"));
    CHECK(saved == SaveOutcome::Saved);
}

TEST_CASE("what a killed save left is not the file, and is cleared once it is old")
{
    const Folder folder;
    const Path ini = folder.file(L"Pomvale.ini");
    put(ini, "[Option]\r\nEnable=0\r\n");
    // A save killed between its write and its replace leaves its temporary file; the original is whole.
    const Path stale
        = folder.file((std::wstring(L"Pomvale.ini.1-2-3") + settings::windows::TemporarySuffix).c_str());
    const Path young
        = folder.file((std::wstring(L"Pomvale.ini.4-5-6") + settings::windows::TemporarySuffix).c_str());
    const Path others = folder.file(L"pmv1234.tmp"); // another program's: never touched
    put(stale, "[Option]\r\nEnable=half");
    put(young, "[Option]\r\nEnable=half");
    put(others, "not ours");
    HANDLE handle = CreateFileW(stale.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME hourAgo {};
    GetSystemTimeAsFileTime(&hourAgo);
    ULARGE_INTEGER time {{hourAgo.dwLowDateTime, hourAgo.dwHighDateTime}};
    time.QuadPart -= 3600ULL * 10'000'000;
    hourAgo = {time.LowPart, time.HighPart};
    SetFileTime(handle, nullptr, nullptr, &hourAgo);
    CloseHandle(handle);

    CHECK(settings::readProfile(settings::platformSeam(), ini, u"Option", {u"Enable"}).values[0] == u"0");
    REQUIRE(saveEnable(ini, u"1") == SaveOutcome::Saved);
    CHECK(contents(ini) == "[Option]\r\nEnable=1\r\n");
    CHECK(GetFileAttributesW(stale.c_str()) == INVALID_FILE_ATTRIBUTES);
    CHECK(GetFileAttributesW(young.c_str()) != INVALID_FILE_ATTRIBUTES);
    CHECK(contents(others) == "not ours");
}

TEST_CASE("a folder that takes no file: the writable file itself is written in place")
{
    const Folder folder;
    const Path ini = folder.file(L"Pomvale.ini");
    put(ini, "; mine\r\n[Option]\r\nEnable=0\r\n");
    const settings::Seam &seam = settings::platformSeam();
    // The in-place write itself, as the library uses it when the folder takes no temporary file.
    REQUIRE(seam.writeInPlace(ini, "; mine\r\n[Option]\r\nEnable=1\r\n"));
    CHECK(contents(ini) == "; mine\r\n[Option]\r\nEnable=1\r\n");
    REQUIRE(seam.writeInPlace(ini, "short"));
    CHECK(contents(ini) == "short");
    // A read-only folder, where the system can make one so (Windows' own folders keep their
    // protection in access lists, which Wine does not have).
    if (SetFileAttributesW(folder.path().c_str(), FILE_ATTRIBUTE_READONLY)
        && !seam.folderWritable(folder.path())) {
        put(ini, "[Option]\r\nEnable=0\r\n");
        CHECK(saveEnable(ini, u"1") == SaveOutcome::Saved);
        CHECK(contents(ini) == "[Option]\r\nEnable=1\r\n");
    } else {
        MESSAGE("this system lets a read-only folder take new files: the in-place save is not reached");
    }
}

namespace {

// The real seam, but with the executable in a folder of the test's and the user's folder elsewhere,
// the executable's folder not the user's to write.
class ProtectedInstall final : public settings::Seam
{
public:
    ProtectedInstall(Path program, Path user)
        : m_program(std::move(program))
        , m_user(std::move(user))
    { }
    Path executableFolder() const override { return m_program; }
    Path perUserFolder() const override { return m_user; }
    Path defaultsFolder() const override { return {}; }
    bool isPackageFolder(const Path &) const override { return false; }
    bool folderWritable(const Path &folder) const override
    {
        return folder != m_program && real().folderWritable(folder);
    }
    bool fileWritable(const Path &file) const override { return real().fileWritable(file); }
    bool isRegularFile(const Path &file) const override { return real().isRegularFile(file); }
    bool makeFolder(const Path &folder) const override { return real().makeFolder(folder); }
    settings::FileRead readFile(const Path &file, std::size_t maxSize) const override
    {
        return real().readFile(file, maxSize);
    }
    settings::ReplaceStatus replaceFile(const Path &file, std::string_view bytes) const override
    {
        return real().replaceFile(file, bytes);
    }
    bool writeInPlace(const Path &file, std::string_view bytes) const override
    {
        return real().writeInPlace(file, bytes);
    }
    settings::UnicodeForm unicodeForm() const override { return real().unicodeForm(); }
    bool isLeadByte(unsigned char byte) const override { return real().isLeadByte(byte); }
    std::optional<std::u16string> decode(std::string_view bytes, bool lossy) const override
    {
        return real().decode(bytes, lossy);
    }
    std::optional<std::string> encode(std::u16string_view text) const override { return real().encode(text); }

private:
    static const settings::Seam &real() { return settings::platformSeam(); }
    Path m_program;
    Path m_user;
};

} // namespace

TEST_CASE("the per-user copy starts as the administrator's file, byte for byte, and is the user's to write")
{
    const Folder program;
    const Folder appData;
    const Path user = settings::joinPath(appData.path(), L"Pomvale");
    const std::string defaults("; site\r\n[Option]\r\nEnable=0\r\nPath=C:\\\x89\xb9.wav\r\n");
    put(program.file(L"Pomvale.ini"), defaults);
    REQUIRE(SetFileAttributesW(program.file(L"Pomvale.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    const ProtectedInstall seam(program.path(), user);

    const settings::FileLocation location(seam, program.path(), u"Pomvale.ini");
    CHECK(location.fileToRead() == program.file(L"Pomvale.ini"));
    const Path copy = location.prepareFileToWrite();
    CHECK(copy == settings::joinPath(user, L"Pomvale.ini"));
    CHECK(contents(copy) == defaults);
    CHECK(seam.fileWritable(copy));
    CHECK(location.fileToRead() == copy);
}

TEST_CASE("the ANSI code page takes no best fit: what has no form there is refused")
{
    const settings::Seam &seam = settings::platformSeam();
    CHECK(seam.encode(u"Pomvale.wav") == "Pomvale.wav");
    CHECK(seam.encode(u"🔔") == std::nullopt);
    if (GetACP() == 932) {
        CHECK(seam.encode(u"café") == std::nullopt); // best fit would give "cafe"
        CHECK(seam.encode(u"音楽") == "\x89\xb9\x8ay");
        CHECK(seam.isLeadByte(0x89));
        CHECK_FALSE(seam.isLeadByte(0xA0));
    } else if (GetACP() == 1252) {
        CHECK(seam.encode(u"café") == "caf\xE9");
        CHECK(seam.encode(u"Ω") == std::nullopt); // best fit would give "O"
    }
}
