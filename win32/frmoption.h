// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/optionsform.h"
#include "core/optionswindow.h"
#include "win32/focuskeeper.h"
#include "win32/soundsettings.h"
#include "win32/twipslayout.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

// The options window: switches the alarm sound on or off and chooses, browses for and previews its
// WAV file. The object lives from its first opening on; its controls are made at each opening.
class frmOption final : private OptionsWindow
{
public:
    explicit frmOption(HINSTANCE instance);
    frmOption(const frmOption &) = delete;
    frmOption &operator=(const frmOption &) = delete;
    ~frmOption() override;

    // The classes of the window and of its frame, once for the program; false when they cannot be
    // registered.
    static bool registerClasses(HINSTANCE instance);
    // Loads the window, shows it modal centred over its owner, and returns once it is unloaded.
    void showModal(HWND owner);
    // The window while it is open; nullptr otherwise.
    HWND window() const { return m_window; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void applyDpi(UINT dpi);
    void command(int id, int code);

    CheckValue checkValue() const override;
    void setCheckValue(CheckValue value) override;
    std::u16string pathText() const override;
    void setPathText(const std::u16string &text) override;
    void selectAllPathText() override;
    void setFrameVisible(bool visible) override;
    std::u16string showOpenDialog(const std::u16string &filter) override;
    void showWarning(const std::u16string &text, const std::u16string &title) override;
    void unload() override;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    bool m_unloaded = false;
    struct Warning
    {
        std::wstring text;
        std::wstring title;
    };
    std::optional<Warning> m_warning; // shown once the window is gone
    // Made with the window, in tab order.
    HWND OKButton = nullptr;
    HWND CancelButton = nullptr;
    HWND chkSoundEnable = nullptr;
    HWND lblTitle = nullptr;
    HWND frameSound = nullptr; // holds the frame's caption box and the three controls below
    HWND txtFileName = nullptr;
    HWND cmdOpenFile = nullptr;
    HWND cmdPlay = nullptr;
    HWND m_toolTip = nullptr;
    HBITMAP m_openFilePicture = nullptr;
    HBITMAP m_playPicture = nullptr;
    std::unique_ptr<win32::TwipsLayout> m_layout;
    win32::FocusKeeper m_focus;
    OptionsForm m_form {*this, win32::soundSettings()};
};
