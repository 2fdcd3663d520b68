// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What the options window's logic needs of the window and of the settings it edits. Each front-end's
// options window implements it.
class OptionsWindow
{
public:
    virtual ~OptionsWindow() = default;

    // The check box: 0 clear, 1 ticked, 2 grayed.
    virtual int checkValue() const = 0;
    virtual void setCheckValue(int value) = 0;
    // The path box.
    virtual std::u16string pathText() const = 0;
    virtual void setPathText(const std::u16string &text) = 0;
    virtual void selectAllPathText() = 0;
    // The frame that holds the path box and the browse and play buttons.
    virtual void setFrameVisible(bool visible) = 0;

    // The modal file-open dialog with filter "description|pattern", for existing files only: the
    // chosen file's full path, or an empty text when nothing was chosen.
    virtual std::u16string showOpenDialog(const std::u16string &filter) = 0;
    virtual void playSound(const std::u16string &name) = 0;
    virtual void stopSound() = 0;
    // A modal message box over the window, with the warning icon.
    virtual void showWarning(const std::u16string &text, const std::u16string &title) = 0;
    // Unloads the window; the caller's modal show returns.
    virtual void unload() = 0;

    // The stored settings.
    virtual std::u16string soundEnable() const = 0;
    virtual std::u16string soundPath() const = 0;

    enum class SaveOutcome {
        Saved,
        Failed,
        NotInFileEncoding, // a value has no form in the encoding the file is kept in
    };
    // Stores both settings in memory (in effect at once, whatever the file makes of them), then
    // writes them to the settings file.
    virtual SaveOutcome storeAndSave(const std::u16string &soundEnable, const std::u16string &soundPath) = 0;
    // The settings file's path as the user knows it, for a message.
    virtual std::u16string settingsFileForDisplay() const = 0;
};
