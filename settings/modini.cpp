// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/modini.h"

#include "settings/modpomvale.h"
#include "settings/profilefile.h"

namespace modINI {

namespace {

void (*errorHandler)() = nullptr;

bool trapError()
{
    if (errorHandler)
        errorHandler();
    return false;
}

} // namespace

bool ReadIni(const settings::Path &file, const std::u16string &section, const std::u16string &key,
             std::u16string &value)
{
    if (file.empty() || section.empty() || key.empty())
        return false;
    try {
        const settings::ProfileRead read = settings::readProfile(modPomvale::seam(), file, section, {key});
        if (read.status == settings::ReadStatus::Failed)
            return trapError();
        if (!read.values[0] || read.values[0]->empty())
            return false;
        value = *read.values[0];
        return true;
    } catch (...) {
        return trapError();
    }
}

bool WriteIni(const settings::Path &file, const std::u16string &section, const std::u16string &key,
              const std::u16string &value)
{
    if (file.empty() || section.empty() || key.empty())
        return false;
    try {
        if (settings::saveProfile(modPomvale::seam(), file, section, {{key, value}})
            != settings::SaveOutcome::Saved)
            return trapError();
        return true;
    } catch (...) {
        return trapError();
    }
}

void setErrorHandler(void (*handler)())
{
    errorHandler = handler;
}

} // namespace modINI
