// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/iniencoding.h"

namespace win32 {

namespace {

// The length of the valid UTF-8 sequence at text[at], or 0 where none starts.
std::size_t utf8Sequence(const std::string &text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t smallest = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        smallest = 0x80;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        smallest = 0x800;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        smallest = 0x10000;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3Fu);
    }
    // No overlong form, no surrogate, nothing past U+10FFFF.
    if (value < smallest || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

std::optional<std::string> readFileBytes(const std::wstring &path, DWORD maxSize)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size {};
    std::optional<std::string> bytes;
    if (GetFileSizeEx(file, &size) && size.QuadPart <= maxSize) {
        std::string read(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (read.empty()
            || (ReadFile(file, read.data(), static_cast<DWORD>(read.size()), &got, nullptr)
                && got == read.size()))
            bytes = std::move(read);
    }
    CloseHandle(file);
    return bytes;
}

bool writeFileBytes(const std::wstring &path, const std::string &bytes, DWORD disposition)
{
    HANDLE file
        = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER oldSize {};
    LARGE_INTEGER newSize {};
    newSize.QuadPart = static_cast<LONGLONG>(bytes.size());
    // The room first: where it cannot be had, the file has not been touched.
    bool done = GetFileSizeEx(file, &oldSize)
        && (newSize.QuadPart <= oldSize.QuadPart
            || (SetFilePointerEx(file, newSize, nullptr, FILE_BEGIN) && SetEndOfFile(file)));
    const LARGE_INTEGER start {};
    DWORD written = 0;
    done = done && SetFilePointerEx(file, start, nullptr, FILE_BEGIN)
        && (bytes.empty()
            || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                && written == bytes.size()))
        && SetEndOfFile(file) && FlushFileBuffers(file);
    CloseHandle(file);
    return done;
}

IniEncoding iniEncodingOf(const std::string &bytes)
{
    if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0 || bytes.rfind(Utf8Mark, 0) == 0)
        return IniEncoding::Marked;
    bool ascii = true;
    for (std::size_t at = 0; at < bytes.size();) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        ascii = false;
        const std::size_t length = utf8Sequence(bytes, at);
        if (length == 0)
            return IniEncoding::Ansi;
        at += length;
    }
    return ascii ? IniEncoding::Ascii : IniEncoding::Utf8;
}

std::string asciiToUtf16(const std::string &bytes)
{
    std::string wide = "\xFF\xFE";
    wide.reserve(2 + 2 * bytes.size());
    for (const char c : bytes) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

} // namespace win32
