// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as the programs use it, against a fake seam: a save is whole or nothing, the
// location rule picks the file, and modPomvale, modINI and modPath behave as the windows expect.
#include "fakeseam.h"
#include "settings/modini.h"
#include "settings/modpath.h"
#include "settings/modpomvale.h"
#include "settings/profilefile.h"

#include <doctest/doctest.h>

using settings::Path;
using settings::SaveOutcome;

namespace {

// modPomvale over a fake seam, its executable in "prog", for one test.
struct Program
{
    FakeSeam seam;
    Path ini = settings::joinPath("prog", "Pomvale.ini");

    Program()
    {
        seam.writableFolders.insert("prog");
        modPomvale::setSeam(&seam);
        modPomvale::IniPath.clear();
        modPomvale::SoundEnable.clear();
        modPomvale::SoundPath.clear();
    }
    ~Program() { modPomvale::setSeam(nullptr); }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    SaveOutcome save(std::u16string enable, std::u16string path)
    {
        modPomvale::SoundEnable = std::move(enable);
        modPomvale::SoundPath = std::move(path);
        return modPomvale::SaveOption();
    }
};

} // namespace

TEST_CASE("LoadOption reads both keys, or falls back on \"0\" and \"\"")
{
    struct Row
    {
        const char *name;
        std::string file;
        std::u16string_view enable;
        std::u16string_view path;
    };
    const Row rows[] = {
        {"both keys", "[Option]\r\nEnable=1\r\nPath=/home/a/alarm.wav\r\n", u"1", u"/home/a/alarm.wav"},
        {"only the path", "[Option]\nPath=/a.wav\n", u"0", u"/a.wav"},
        {"empty enable", "[Option]\nEnable=\nPath=/a.wav\n", u"0", u"/a.wav"},
        {"hand-edited enable kept as text", "[Option]\nEnable=2\n", u"2", u""},
        {"no section", "[Other]\nEnable=1\nPath=/a.wav\n", u"0", u""},
        {"empty file", "", u"0", u""},
        {"Japanese path", "[Option]\nEnable=1\nPath=/\xE9\x9F\xB3.wav\n", u"1", u"/音.wav"},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        Program program;
        program.seam.files[program.ini] = row.file;
        modPomvale::SoundEnable = u"stale";
        modPomvale::SoundPath = u"stale";
        modPomvale::LoadOption();
        CHECK(modPomvale::SoundEnable == row.enable);
        CHECK(modPomvale::SoundPath == row.path);
        CHECK(modPomvale::IniPath == program.ini);
        CHECK(program.seam.files[program.ini] == row.file);
        CHECK(program.seam.replaces == 0);
    }
}

TEST_CASE("the first start finds no file and makes none")
{
    Program program;
    modPomvale::SoundEnable = u"1";
    modPomvale::LoadOption();
    CHECK(modPomvale::SoundEnable == u"0");
    CHECK(modPomvale::SoundPath.empty());
    CHECK(modPomvale::IniPath.empty());
    CHECK(program.seam.files.empty());
}

TEST_CASE("a save stores both keys with one replacement, and nothing when nothing changed")
{
    Program program;
    REQUIRE(program.save(u"1", u"/音/a.wav") == SaveOutcome::Saved);
    CHECK(modPomvale::IniPath == program.ini);
    CHECK(program.seam.replaces == 1);
    CHECK(settings::readProfile(program.seam, program.ini, u"Option", {u"Enable", u"Path"}).values
          == std::vector<std::optional<std::u16string>> {u"1", u"/音/a.wav"});

    program.seam.files[program.ini] = "\xEF\xBB\xBF; mine\n[Option]\nEnable=1\nPath=/a\xFF.wav\n";
    REQUIRE(program.save(u"0", u"/a\uFFFD.wav") == SaveOutcome::Saved);
    // The unedited value keeps its byte that does not decode.
    CHECK(program.seam.files[program.ini] == "\xEF\xBB\xBF; mine\n[Option]\nEnable=0\nPath=/a\xFF.wav\n");
    CHECK(program.seam.replaces == 2);

    // The same values again: the file is not touched, even when it could not be.
    program.seam.readOnlyFiles.insert(program.ini);
    CHECK(program.save(u"0", u"/a\uFFFD.wav") == SaveOutcome::Saved);
    CHECK(program.seam.replaces == 2);
    CHECK(program.save(u"1", u"/a\uFFFD.wav") == SaveOutcome::Failed);
}

TEST_CASE("a refused save stores neither key, and says why")
{
    // A CP932 file holding a byte that does not decode: a new Enable fits, a path with 🔔 does not.
    Program program;
    const std::string before("; \x81\x20\r\n[Option]\r\nEnable=0\r\nPath=/old.wav\r\n");
    program.seam.files[program.ini] = before;
    if (legacyIsCp932()) {
        CHECK(program.save(u"1", u"/🔔.wav") == SaveOutcome::NotInFileEncoding);
        CHECK(program.seam.files[program.ini] == before);
        CHECK(program.seam.replaces == 0);
    }
    // A value that would break the file fails the save, the other key included.
    CHECK(program.save(u"1\n[Other]", u"/a.wav") == SaveOutcome::Failed);
    CHECK(program.seam.files[program.ini] == before);
    // The values stay in effect in memory.
    CHECK(modPomvale::SoundPath == u"/a.wav");

    program.seam.replaceAnswer = settings::ReplaceStatus::Failed;
    CHECK(program.save(u"1", u"/a.wav") == SaveOutcome::Failed);
    CHECK(program.seam.files[program.ini] == before);

    modPomvale::setExecutableFolderOverride("");
    program.seam.exeFolder.clear();
    CHECK(program.save(u"1", u"/a.wav") == SaveOutcome::Failed); // the name alone would land anywhere
}

TEST_CASE("a folder that takes no temporary file: the file itself is written in place, if it may be")
{
    Program program;
    program.seam.replaceAnswer = settings::ReplaceStatus::NoTemporary;
    CHECK(program.save(u"1", u"/a.wav") == SaveOutcome::Failed); // no file to write in place
    CHECK(program.seam.inPlaceWrites == 0);

    program.seam.files[program.ini] = "[Option]\nEnable=0\n";
    CHECK(program.save(u"1", u"/a.wav") == SaveOutcome::Saved);
    CHECK(program.seam.files[program.ini] == "[Option]\nEnable=1\nPath=/a.wav\n");
    CHECK(program.seam.inPlaceWrites == 1);

    program.seam.readOnlyFiles.insert(program.ini);
    CHECK(program.save(u"0", u"/a.wav") == SaveOutcome::Failed);
    CHECK(program.seam.inPlaceWrites == 1);
}

TEST_CASE("a program installed where the user may not write keeps a per-user copy")
{
    Program program;
    program.seam.writableFolders.clear();
    program.seam.packageFolders.insert("prog"); // even a writable file there is the package's
    const Path copy = settings::joinPath("home", "Pomvale.ini");
    const std::string defaults("; site\r\n[Option]\r\nEnable=0\r\nPath=/usr/share/site.wav\r\n");

    SUBCASE("the defaults beside the executable")
    {
        program.seam.files[program.ini] = defaults;
    }
    SUBCASE("the defaults in the administrators' folder")
    {
        program.seam.adminFolder = "admin";
        program.seam.files[settings::joinPath("admin", "Pomvale.ini")] = defaults;
        program.seam.files[program.ini] = "[Option]\nEnable=1\n"; // not the defaults: those are
    }

    // Before any OK the defaults are read where they are.
    modPomvale::LoadOption();
    CHECK(modPomvale::SoundPath == u"/usr/share/site.wav");
    CHECK(modPomvale::IniPath != copy);

    // The first OK starts the user's copy from them byte for byte, then changes only the key.
    REQUIRE(program.save(u"1", u"/usr/share/site.wav") == SaveOutcome::Saved);
    CHECK(modPomvale::IniPath == copy);
    CHECK(program.seam.files[copy] == "; site\r\n[Option]\r\nEnable=1\r\nPath=/usr/share/site.wav\r\n");
    CHECK(program.seam.files[modPomvale::IniPath] == program.seam.files[copy]);

    // From then on the copy is read.
    modPomvale::LoadOption();
    CHECK(modPomvale::IniPath == copy);
    CHECK(modPomvale::SoundEnable == u"1");
}

TEST_CASE("a writable file in a protected folder is used where it is")
{
    Program program;
    program.seam.writableFolders.clear();
    program.seam.files[program.ini] = "[Option]\nEnable=0\n";
    REQUIRE(program.save(u"1", u"") == SaveOutcome::Saved);
    CHECK(modPomvale::IniPath == program.ini);
    CHECK(program.seam.files.count(settings::joinPath("home", "Pomvale.ini")) == 0);
}

TEST_CASE("ReadIni and WriteIni: empty names do nothing, a miss leaves the value, errors are trapped")
{
    Program program;
    static int errors = 0;
    modINI::setErrorHandler([] { ++errors; });
    program.seam.files[program.ini] = "[Option]\nEnable=1\nEmpty=\n";
    std::u16string value = u"unchanged";
    CHECK_FALSE(modINI::ReadIni("", u"Option", u"Enable", value));
    CHECK_FALSE(modINI::ReadIni(program.ini, u"", u"Enable", value));
    CHECK_FALSE(modINI::ReadIni(program.ini, u"Option", u"", value));
    CHECK_FALSE(modINI::ReadIni("missing.ini", u"Option", u"Enable", value));
    CHECK_FALSE(modINI::ReadIni(program.ini, u"Option", u"Empty", value));
    CHECK_FALSE(modINI::ReadIni(program.ini, u"Option", u"Missing", value));
    CHECK(value == u"unchanged");
    CHECK(errors == 0); // a miss is no error
    CHECK(modINI::ReadIni(program.ini, u"Option", u"Enable", value));
    CHECK(value == u"1");

    CHECK_FALSE(modINI::WriteIni(program.ini, u"", u"Enable", u"1"));
    CHECK(modINI::WriteIni("new.ini", u"Option", u"Enable", u""));
    CHECK_FALSE(modINI::ReadIni("new.ini", u"Option", u"Enable", value));
    CHECK_FALSE(modINI::WriteIni("new.ini", u"Option", u"Path", u"two\nlines"));
    CHECK(errors == 1);

    program.seam.files["huge.ini"] = std::string(settings::maxProfileSize + 1, ';');
    CHECK_FALSE(modINI::ReadIni("huge.ini", u"Option", u"Enable", value));
    CHECK(errors == 2);
    modINI::setErrorHandler(nullptr);
}

TEST_CASE("CombinePath joins with exactly one separator, also at the root")
{
#ifdef _WIN32
    CHECK(modPath::CombinePath(L"C:\\Pomvale", L"Pomvale.ini") == L"C:\\Pomvale\\Pomvale.ini");
    CHECK(modPath::CombinePath(L"C:\\Pomvale\\", L"Pomvale.ini") == L"C:\\Pomvale\\Pomvale.ini");
    CHECK(modPath::CombinePath(L"C:\\", L"Pomvale.ini") == L"C:\\Pomvale.ini");
#else
    CHECK(modPath::CombinePath("/opt/Pomvale", "Pomvale.ini") == "/opt/Pomvale/Pomvale.ini");
    CHECK(modPath::CombinePath("/opt/Pomvale/", "Pomvale.ini") == "/opt/Pomvale/Pomvale.ini");
    CHECK(modPath::CombinePath("/", "Pomvale.ini") == "/Pomvale.ini");
#endif
    CHECK(modPath::CombinePath("", "Pomvale.ini") == "Pomvale.ini");
}
