// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace settings {

// What a save of the settings came to: the one shape that the library gives and both programs'
// windows read.
enum class SaveOutcome {
    Saved, // the file holds both values (or held them already)
    Failed, // nothing was stored: the file could not be written
    NotInFileEncoding, // nothing was stored: a value has no form in the encoding the file must keep
};

} // namespace settings
