// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checkvalue.h"

#include <string>

// What the options window's logic needs of the window. Each front-end's options window implements it.
class OptionsWindow
{
public:
    virtual ~OptionsWindow() = default;

    // The check box.
    virtual CheckValue checkValue() const = 0;
    virtual void setCheckValue(CheckValue value) = 0;
    // The path box.
    virtual std::u16string pathText() const = 0;
    virtual void setPathText(const std::u16string &text) = 0;
    virtual void selectAllPathText() = 0;
    // The frame that holds the path box and the browse and play buttons.
    virtual void setFrameVisible(bool visible) = 0;

    // The modal file-open dialog with filter "description|pattern", for existing files only: the
    // chosen file's full path, or an empty text when nothing was chosen.
    virtual std::u16string showOpenDialog(const std::u16string &filter) = 0;
    // A modal message box over the window, with the warning icon.
    virtual void showWarning(const std::u16string &text, const std::u16string &title) = 0;
    // Unloads the window; the caller's modal show returns.
    virtual void unload() = 0;
};
