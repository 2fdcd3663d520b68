// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/profilefile.h"

#include "settings/inidocument.h"

namespace settings {

ProfileRead readProfile(const Seam &seam, const Path &file, std::u16string_view section,
                        const std::vector<std::u16string_view> &keys)
{
    ProfileRead result;
    FileRead read = seam.readFile(file, maxProfileSize);
    result.status = read.status;
    result.values.resize(keys.size());
    if (read.status != ReadStatus::Ok)
        return result;
    const IniDocument document(std::move(read.bytes), seam, seam.unicodeForm());
    result.values = document.values(section, keys);
    return result;
}

SaveOutcome saveProfile(const Seam &seam, const Path &file, std::u16string_view section,
                        const std::vector<KeyValue> &values)
{
    FileRead read = seam.readFile(file, maxProfileSize);
    if (read.status == ReadStatus::Failed)
        return SaveOutcome::Failed;
    const bool exists = read.status == ReadStatus::Ok;
    IniDocument document(std::move(read.bytes), seam, seam.unicodeForm());
    bool changed = false;
    for (const auto &[key, value] : values) {
        // A value that reads back as the one to store is left as it is, byte for byte: bytes that
        // do not decode, or what follows a NUL, would otherwise be lost to an unedited value.
        if (exists && document.value(section, key) == value)
            continue;
        // The edits are made on this document alone: a refused one leaves the file untouched.
        switch (document.setValue(section, key, value)) {
        case IniDocument::WriteResult::Stored:
            changed = true;
            break;
        case IniDocument::WriteResult::NotRepresentable:
            return SaveOutcome::NotInFileEncoding;
        default:
            return SaveOutcome::Failed;
        }
    }
    if (!changed)
        return SaveOutcome::Saved;
    const std::string bytes = std::move(document).takeBytes();
    switch (seam.replaceFile(file, bytes)) {
    case ReplaceStatus::Replaced:
        return SaveOutcome::Saved;
    case ReplaceStatus::NoTemporary:
        // The one save that is not whole-or-old: a folder that takes no temporary file, and a file
        // in it that the user may write.
        if (exists && seam.fileWritable(file) && seam.writeInPlace(file, bytes))
            return SaveOutcome::Saved;
        return SaveOutcome::Failed;
    case ReplaceStatus::Failed:
        break;
    }
    return SaveOutcome::Failed;
}

FileLocation::FileLocation(const Seam &seam, Path folder, std::u16string_view fileName)
    : m_seam(seam)
    , m_folder(std::move(folder))
    , m_besideProgram(joinPath(m_folder, Path(fileName)))
{
    const Path perUser = seam.perUserFolder();
    if (!perUser.empty())
        m_copy = joinPath(perUser, Path(fileName));
}

bool FileLocation::usedInPlace() const
{
    if (m_seam.isPackageFolder(m_folder))
        return false;
    return m_seam.folderWritable(m_folder)
        || (m_seam.isRegularFile(m_besideProgram) && m_seam.fileWritable(m_besideProgram));
}

Path FileLocation::defaults() const
{
    const Path folder = m_seam.defaultsFolder();
    if (!folder.empty()) {
        Path file = joinPath(folder, m_besideProgram.filename());
        if (m_seam.isRegularFile(file))
            return file;
    }
    return m_besideProgram;
}

Path FileLocation::fileToRead() const
{
    if (usedInPlace() || m_copy.empty())
        return m_besideProgram;
    return m_seam.isRegularFile(m_copy) ? m_copy : defaults();
}

Path FileLocation::prepareFileToWrite() const
{
    if (usedInPlace() || m_copy.empty())
        return m_besideProgram;
    if (!m_seam.isRegularFile(m_copy) && m_seam.makeFolder(m_copy.parent_path())) {
        // Comments, encoding and line endings of the defaults stay in the user's copy.
        const Path from = defaults();
        if (m_seam.isRegularFile(from)) {
            const FileRead read = m_seam.readFile(from, maxProfileSize);
            if (read.status == ReadStatus::Ok)
                m_seam.replaceFile(m_copy, read.bytes);
        }
    }
    return m_copy;
}

Path joinPath(const Path &folder, const Path &fileName)
{
    using String = Path::string_type;
    const String &dir = folder.native();
    const String &name = fileName.native();
    if (dir.empty())
        return fileName;
    const auto isSeparator = [](Path::value_type c) {
        // The same character on Linux; Windows takes both.
        // NOLINTNEXTLINE(misc-redundant-expression)
        return c == Path::value_type('/') || c == Path::preferred_separator;
    };
    std::size_t dirEnd = dir.size();
    while (dirEnd > 0 && isSeparator(dir[dirEnd - 1]))
        --dirEnd;
    std::size_t nameStart = 0;
    while (nameStart < name.size() && isSeparator(name[nameStart]))
        ++nameStart;
    String joined = dir.substr(0, dirEnd);
    joined += Path::preferred_separator;
    joined += name.substr(nameStart);
    return Path(std::move(joined));
}

namespace {

template<typename String> std::u16string displayText(const String &native)
{
    if constexpr (sizeof(typename String::value_type) == 1)
        return utf8ToUtf16(native);
    else
        return std::u16string(native.begin(), native.end());
}

} // namespace

std::u16string displayPath(const Path &path)
{
    return displayText(path.native());
}

} // namespace settings
