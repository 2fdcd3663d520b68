// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/optionsform.h"
#include "core/optionswindow.h"
#include "win32/basewindow.h"
#include "win32/soundsettings.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The options window: switches the alarm sound on or off and chooses, browses for and previews its
// WAV file. The object lives from its first opening on; its controls are made at each opening.
class frmOption final : public win32::BaseWindow, private OptionsWindow
{
public:
    explicit frmOption(HINSTANCE instance);
    ~frmOption() override;

    // The window's class, once for the program; false when it cannot be registered.
    static bool registerClass(HINSTANCE instance);
    // Loads the window, shows it modal centred over its owner, and returns once it is unloaded. Says
    // so when the window cannot be made.
    void showModal(HWND owner);

private:
    std::vector<win32::ControlRow> controlTable();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void chkSoundEnable_Click();

    CheckValue checkValue() const override;
    void setCheckValue(CheckValue value) override;
    std::u16string pathText() const override;
    void setPathText(const std::u16string &text) override;
    void selectAllPathText() override;
    void setFrameVisible(bool visible) override;
    std::u16string showOpenDialog(const std::u16string &filter) override;
    void showWarning(const std::u16string &text, const std::u16string &title) override;
    void unload() override;

    bool m_unloaded = false;
    struct Warning
    {
        std::wstring text;
        std::wstring title;
    };
    std::optional<Warning> m_warning; // shown once the window is gone
    // The controls the window refers to, made with it.
    HWND OKButton = nullptr;
    HWND chkSoundEnable = nullptr;
    HWND frameSound = nullptr; // holds the frame's caption box and the three controls below
    HWND txtFileName = nullptr;
    OptionsForm m_form {*this, win32::soundSettings()};
};
