// SPDX-License-Identifier: GPL-3.0-or-later
// The profile text rules: how keys are found as Windows finds them, which bytes an edit touches, and
// the encodings a file is read and kept in.
#include "fakeseam.h"
#include "fuzz/profilefuzz.h"
#include "settings/inidocument.h"

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using settings::IniDocument;
using settings::UnicodeForm;
using R = IniDocument::WriteResult;

namespace {

IniDocument document(std::string bytes, UnicodeForm form = UnicodeForm::Utf8)
{
    return IniDocument(std::move(bytes), settings::platformSeam(), form);
}

std::string replaced(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string utf16(std::u16string_view text, bool little)
{
    std::string bytes;
    for (const char16_t c : u"\uFEFF" + std::u16string(text)) {
        const char high = char(c >> 8), low = char(c & 0xFF);
        bytes += little ? low : high;
        bytes += little ? high : low;
    }
    return bytes;
}

} // namespace

TEST_CASE("keys are found as Windows finds them, with every line ending")
{
    const std::string lf = "; written by hand\n"
                           "[Other]\n"
                           "Enable=other\n"
                           "\n"
                           "[  oPTION  ]\n"
                           " enable =  1  \n"
                           "\tpath\t= \"C:\\Sound Files\\a.wav\" \n"
                           "Single='one'\n"
                           "Mismatched=\"abc'\n"
                           "Lonely=\"\n"
                           "EmptyQuotes=\"\"\n"
                           "NoEquals\n"
                           ";Commented=yes\n"
                           "Empty=\n"
                           "\vVtab\v=\vv\v\n"
                           "\fFormFeed=f\n"
                           "CtrlZ=1\x1A\n"
                           "Enable=second\n"
                           "[option]\n"
                           "Extra=from the second section\n";
    struct Query
    {
        const char *name;
        std::u16string_view section;
        std::u16string_view key;
        std::optional<std::u16string> value;
    };
    const Query queries[] = {
        {"names ignore case and blanks", u"Option", u"Enable", u"1"},
        {"double quotes removed", u"OPTION", u"PATH", u"C:\\Sound Files\\a.wav"},
        {"single quotes removed", u"Option", u"single", u"one"},
        {"mismatched quotes kept", u"Option", u"Mismatched", u"\"abc'"},
        {"a lone quote kept", u"Option", u"Lonely", u"\""},
        {"empty quotes are an empty value", u"Option", u"EmptyQuotes", u""},
        {"line without equals is no key", u"Option", u"NoEquals", std::nullopt},
        {"comment is no key", u"Option", u";Commented", std::nullopt},
        {"empty value found", u"Option", u"Empty", u""},
        {"vertical tab trimmed", u"Option", u"Vtab", u"v"},
        {"form feed not trimmed", u"Option", u"FormFeed", std::nullopt},
        {"Ctrl-Z not trimmed", u"Option", u"CtrlZ", u"1\x1A"},
        {"first section wins", u"Option", u"Extra", std::nullopt},
        {"other section", u"other", u"ENABLE", u"other"},
        {"missing section", u"Missing", u"Enable", std::nullopt},
    };
    for (const char *ending : {"\n", "\r\n", "\r"}) {
        const IniDocument file = document(replaced(lf, "\n", ending));
        for (const Query &q : queries) {
            CAPTURE(q.name);
            CAPTURE(std::string(ending));
            CHECK(file.value(q.section, q.key) == q.value);
        }
    }
}

TEST_CASE("a section name ends at the first ] and needs none")
{
    CHECK(document("[Option\nEnable=1\n").value(u"Option", u"Enable") == u"1");
    CHECK(document("[Option]x]\nEnable=1\n").value(u"Option", u"Enable") == u"1");
    CHECK(document("[Opt]ion]\nEnable=1\n").value(u"Option", u"Enable") == std::nullopt);
}

TEST_CASE("an edit touches only its own bytes")
{
    struct Row
    {
        const char *name;
        std::string before;
        std::u16string_view key;
        std::u16string_view value;
        std::string after;
    };
    const Row rows[] = {
        {"new file is CRLF", "", u"Enable", u"1", "[Option]\r\nEnable=1\r\n"},
        {"value replaced, spelling and blanks kept", "; top\r\n\r\n[option]\r\n ENABLE = 0 \r\nPath=x\r\n",
         u"Enable", u"1", "; top\r\n\r\n[option]\r\n ENABLE = 1 \r\nPath=x\r\n"},
        {"new key after the section's last key", "; top\n[Option]\nEnable=1\n\n[Other]\nb=2\n", u"Path",
         u"/a.wav", "; top\n[Option]\nEnable=1\nPath=/a.wav\n\n[Other]\nb=2\n"},
        {"new key in an empty section", "[Option]\n; nothing yet\n[Other]\n", u"Path", u"p",
         "[Option]\nPath=p\n; nothing yet\n[Other]\n"},
        {"new key after a last line without ending", "[Option]\nEnable=0", u"Path", u"p",
         "[Option]\nEnable=0\nPath=p"},
        {"new section at the end, CRLF", "[Other]\r\nb=2", u"Enable", u"1",
         "[Other]\r\nb=2\r\n[Option]\r\nEnable=1\r\n"},
        {"new section at the end, CR", "[Other]\rb=2\r", u"Enable", u"1",
         "[Other]\rb=2\r[Option]\rEnable=1\r"},
        {"first of two sections written", "[Option]\nA=1\n[Option]\nPath=x\n", u"Path", u"y",
         "[Option]\nA=1\nPath=y\n[Option]\nPath=x\n"},
        {"quotes of the old value kept", "[Option]\nPath='old'\n", u"Path", u"new", "[Option]\nPath='new'\n"},
        {"blanks at the ends quoted", "[Option]\nPath=old\n", u"Path", u" padded ",
         "[Option]\nPath=\" padded \"\n"},
        {"quoted text quoted again", "[Option]\n", u"Path", u"'q'", "[Option]\nPath=\"'q'\"\n"},
        {"empty value", "[Option]\nEnable=1\n", u"Enable", u"", "[Option]\nEnable=\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[Option]\nEnable=0\n", u"Enable", u"1",
         "\xEF\xBB\xBF[Option]\nEnable=1\n"},
        {"unclosed section written in place", "[Option\nEnable=0\n", u"Enable", u"1", "[Option\nEnable=1\n"},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        IniDocument file = document(row.before);
        REQUIRE(file.setValue(u"Option", row.key, row.value) == R::Stored);
        CHECK(file.bytes() == row.after);
        CHECK(file.value(u"Option", row.key) == std::u16string(row.value));
    }
}

TEST_CASE("what would not read back as itself is refused, and the document stays")
{
    struct Row
    {
        const char *name;
        std::u16string_view section;
        std::u16string_view key;
        std::u16string value;
        R result;
    };
    const Row rows[] = {
        {"line break in value", u"Option", u"Path", u"a\nb", R::InvalidValue},
        {"CR in value", u"Option", u"Path", u"a\rb", R::InvalidValue},
        {"NUL in value", u"Option", u"Path", std::u16string(u"a\0b", 3), R::InvalidValue},
        {"lone surrogate", u"Option", u"Path", std::u16string(1, char16_t(0xD800)), R::InvalidValue},
        {"empty key", u"Option", u"", u"v", R::InvalidName},
        {"equals in key", u"Option", u"a=b", u"v", R::InvalidName},
        {"comment key", u"Option", u";k", u"v", R::InvalidName},
        {"blank around key", u"Option", u" k", u"v", R::InvalidName},
        {"vertical tab around key", u"Option", u"k\v", u"v", R::InvalidName},
        {"bracket in section", u"a]b", u"k", u"v", R::InvalidName},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        const std::string before("[Option]\nPath=old\n");
        IniDocument file = document(before);
        CHECK(file.setValue(row.section, row.key, row.value) == row.result);
        CHECK(file.bytes() == before);
    }
}

TEST_CASE("written values read back from the bytes")
{
    for (const std::u16string &value :
         {std::u16string(u"/home/ユーザー/音楽/アラーム.wav"), std::u16string(u"a=b;c"),
          std::u16string(u"🎵.wav"), std::u16string(u"\v padded by a vertical tab \v")}) {
        for (const UnicodeForm form : {UnicodeForm::Utf8, UnicodeForm::Utf16LE}) {
            IniDocument file = document("", form);
            REQUIRE(file.setValue(u"Option", u"Path", value) == R::Stored);
            CHECK(document(file.bytes(), form).value(u"Option", u"Path") == value);
        }
    }
    std::u16string longPath;
    for (int i = 0; i < 1500; ++i)
        longPath += u"/音楽";
    IniDocument file = document("[Option]\n");
    REQUIRE(file.setValue(u"Option", u"Path", longPath) == R::Stored);
    CHECK(document(file.bytes()).value(u"Option", u"Path") == longPath); // not cut
}

TEST_CASE("a new file takes the platform's Unicode form")
{
    IniDocument utf8 = document("", UnicodeForm::Utf8);
    REQUIRE(utf8.setValue(u"Option", u"Path", u"/音.wav") == R::Stored);
    CHECK(utf8.bytes() == "[Option]\r\nPath=/\xE9\x9F\xB3.wav\r\n");

    IniDocument utf16le = document("", UnicodeForm::Utf16LE);
    REQUIRE(utf16le.setValue(u"Option", u"Path", u"/音.wav") == R::Stored);
    CHECK(utf16le.bytes() == utf16(u"[Option]\r\nPath=/音.wav\r\n", true));
}

TEST_CASE("UTF-8 with non-ASCII text reads as UTF-8, with or without a mark, on the first line")
{
    // Each of these starts with 0xEF, which is also a CP932 lead byte: （ ）, ～ and half-width kana.
    const std::u16string path = u"C:\\（音）～ｱﾗｰﾑ.wav";
    const std::string body
        = "[Option]\r\nEnable=1\r\nPath=C:\\\xEF\xBC\x88\xE9\x9F\xB3\xEF\xBC\x89\xEF\xBD\x9E"
          "\xEF\xBD\xB1\xEF\xBE\x97\xEF\xBD\xB0\xEF\xBE\x91.wav\r\n";
    for (const UnicodeForm form : {UnicodeForm::Utf8, UnicodeForm::Utf16LE}) {
        for (const std::string &file : {body, "\xEF\xBB\xBF" + body}) {
            const IniDocument read = document(file, form);
            CHECK(read.encoding() == settings::TextEncoding::Utf8);
            CHECK(read.value(u"Option", u"Enable") == u"1");
            CHECK(read.value(u"Option", u"Path") == path);
        }
    }
}

TEST_CASE("UTF-16 files are edited as UTF-16, every other unit kept")
{
    for (const bool little : {true, false}) {
        CAPTURE(little);
        IniDocument file = document(utf16(u"; 設定\r\n[Option]\r\nPath=/音楽/a.wav\r\n", little));
        REQUIRE(file.setValue(u"Option", u"Path", u"/音楽/b.wav") == R::Stored);
        CHECK(file.bytes() == utf16(u"; 設定\r\n[Option]\r\nPath=/音楽/b.wav\r\n", little));

        // A cut-off file: its odd last byte was lost on saving when the writer dropped it.
        IniDocument odd = document(utf16(u"[Option]\r\nPath=/a.wav\r\n", little) + '\x0A');
        REQUIRE(odd.setValue(u"Option", u"Path", u"/b.wav") == R::Stored);
        CHECK(odd.bytes() == utf16(u"[Option]\r\nPath=/b.wav\r\n", little) + '\x0A');
    }
}

TEST_CASE("a file in the legacy code page keeps it while the values fit, and converts only without loss")
{
    if (!legacyIsCp932()) {
        MESSAGE("the legacy code page is not CP932 here: skipped");
        return;
    }
    const auto unicodeFile = [](UnicodeForm form, std::u16string_view text) {
        return form == UnicodeForm::Utf8 ? *settings::utf16ToUtf8(text) : utf16(text, true);
    };
    // "; 設定", then Enable=1 and Path=C:\音楽\ソース.wav. The second bytes of ソ and ー are "\" and "[".
    const std::string cp932(
        "; \x90\xdd\x92\xe8\r\n[Option]\r\nEnable=1\r\nPath=C:\\\x89\xb9\x8ay\\\x83\\\x81[\x83X.wav\r\n");
    for (const UnicodeForm form : {UnicodeForm::Utf8, UnicodeForm::Utf16LE}) {
        IniDocument file = document(cp932, form);
        CHECK(file.encoding() == settings::TextEncoding::Legacy);
        CHECK(file.value(u"Option", u"Path") == u"C:\\音楽\\ソース.wav");
        // 表 also ends in the byte of "\"; the file stays CP932, every other byte as it was.
        REQUIRE(file.setValue(u"Option", u"Path", u"D:\\表示\\音.wav") == R::Stored);
        CHECK(file.bytes()
              == replaced(cp932, "C:\\\x89\xb9\x8ay\\\x83\\\x81[\x83X.wav",
                          "D:\\\x95\\\x8e\xa6\\\x89\xb9.wav"));

        // Characters CP932 lacks, or would read back as others (the yen sign as "\", é as e by best
        // fit): the whole file takes the Unicode form.
        for (const std::u16string_view value : {u"🎵.wav", u"¥100.wav", u"café.wav"}) {
            IniDocument converted = document(cp932, form);
            REQUIRE(converted.setValue(u"Option", u"Path", value) == R::Stored);
            CHECK(converted.bytes()
                  == unicodeFile(
                      form, u"; 設定\r\n[Option]\r\nEnable=1\r\nPath=" + std::u16string(value) + u"\r\n"));
        }

        // A byte that does not decode: ASCII still fits, and the byte stays; converting would lose it.
        const std::string stray("; \x81\x20\r\n[Option]\r\nEnable=1\r\n");
        IniDocument mixed = document(stray, form);
        REQUIRE(mixed.setValue(u"Option", u"Path", u"/a.wav") == R::Stored);
        CHECK(mixed.bytes() == stray + "Path=/a.wav\r\n");
        CHECK(mixed.setValue(u"Option", u"Path", u"🔔") == R::NotRepresentable);
        CHECK(mixed.bytes() == stray + "Path=/a.wav\r\n");
    }
}

TEST_CASE("CP932's single bytes 0x80, 0xA0 and 0xFD-0xFF read as Windows reads them, and round-trip")
{
    if (!legacyIsCp932()) {
        MESSAGE("the legacy code page is not CP932 here: skipped");
        return;
    }
    const std::string file("[Option]\r\nPath=\x80\xA0\xFD\xFE\xFF\x82\xA0\r\n");
    IniDocument read = document(file);
    const std::u16string expected = u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3あ";
    CHECK(read.value(u"Option", u"Path") == expected);
    REQUIRE(read.setValue(u"Option", u"Enable", u"1") == R::Stored);
    CHECK(read.bytes() == file + "Enable=1\r\n");
#ifndef _WIN32
    // The Linux seam's table writes them back; on Windows the system's code page decides (Wine's
    // does not map U+F8F0-U+F8F3 back, so Wine cannot show what Windows does here).
    CHECK(settings::platformSeam().encode(expected) == "\x80\xA0\xFD\xFE\xFF\x82\xA0");
#endif
}

TEST_CASE(
    "an ASCII file is the platform's plain text: on Windows it takes UTF-16 for what the code page lacks")
{
    IniDocument linux = document("[Option]\r\nEnable=1\r\n", UnicodeForm::Utf8);
    REQUIRE(linux.setValue(u"Option", u"Path", u"🎵") == R::Stored);
    CHECK(linux.bytes() == "[Option]\r\nEnable=1\r\nPath=\xF0\x9F\x8E\xB5\r\n");

    IniDocument windows = document("[Option]\r\nEnable=1\r\n", UnicodeForm::Utf16LE);
    REQUIRE(windows.setValue(u"Option", u"Path", u"🎵") == R::Stored);
    CHECK(windows.bytes() == utf16(u"[Option]\r\nEnable=1\r\nPath=🎵\r\n", true));
}

TEST_CASE("the fuzzer's seed corpus holds every invariant")
{
    const std::filesystem::path corpus(POMVALE_FUZZ_CORPUS);
    int inputs = 0;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream stream(entry.path(), std::ios::binary);
        const std::string input((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        CAPTURE(entry.path().filename().string());
        CHECK(checkProfileInput(reinterpret_cast<const uint8_t *>(input.data()), input.size()));
        ++inputs;
    }
    CHECK(inputs >= 10);
}
