// SPDX-License-Identifier: GPL-3.0-or-later
// The options window's decisions against a fake window: what it shows of the settings, the frame
// that follows the check box, browsing, previewing, and what OK stores and says.
#include "core/optionsform.h"
#include "fakes.h"

#include <doctest/doctest.h>

namespace {

struct Opened
{
    FakeOptionsWindow window;
    FakeSettings settings;
    OptionsForm form {window, settings};

    Opened(std::u16string enable, std::u16string path)
    {
        settings.enable = std::move(enable);
        settings.path = std::move(path);
        form.Form_Load();
    }
};

} // namespace

TEST_CASE("the stored Enable shows as the box's state; what no state fits shows clear")
{
    struct Row
    {
        std::u16string enable;
        CheckValue check;
    };
    constexpr CheckValue Unchecked = CheckValue::Unchecked;
    constexpr CheckValue Checked = CheckValue::Checked;
    constexpr CheckValue Grayed = CheckValue::Grayed;
    for (const Row &row : {Row {u"1", Checked}, Row {u"2", Grayed}, Row {u" 01", Checked},
                           Row {u"1.5", Grayed}, Row {u"0", Unchecked}, Row {u"", Unchecked},
                           Row {u"abc", Unchecked}, Row {u"3", Unchecked}, Row {u"-1", Unchecked}}) {
        CAPTURE(row.enable);
        Opened opened(row.enable, u"C:\\音\\a.wav");
        CHECK(opened.window.check == row.check);
        CHECK(opened.window.frameVisible == (row.check == Checked));
        CHECK(opened.window.pathBox == u"C:\\音\\a.wav");
    }
}

TEST_CASE("a click moves between clear and ticked, and from grayed to ticked; the frame follows")
{
    CHECK(OptionsForm::NextCheckValue(CheckValue::Unchecked) == CheckValue::Checked);
    CHECK(OptionsForm::NextCheckValue(CheckValue::Checked) == CheckValue::Unchecked);
    CHECK(OptionsForm::NextCheckValue(CheckValue::Grayed) == CheckValue::Checked);

    Opened opened(u"2", u"");
    CHECK_FALSE(opened.window.frameVisible);
    opened.window.check = OptionsForm::NextCheckValue(opened.window.check);
    opened.form.chkSoundEnable_Click();
    CHECK(opened.window.frameVisible);
}

TEST_CASE("browse: the dialog's one filter; a choice fills the box, a cancel leaves it")
{
    Opened opened(u"1", u"/a.wav");
    opened.form.cmdOpenFile_Click();
    CHECK(opened.window.dialogFilters == std::vector<std::u16string> {u"wavファイル(*.wav)|*.wav"});
    CHECK(opened.window.pathBox == u"/a.wav");
    opened.window.chosenFile = u"/音/b.wav";
    opened.form.cmdOpenFile_Click();
    CHECK(opened.window.pathBox == u"/音/b.wav");
}

TEST_CASE("play previews the box's text as it stands; the window's unload stops it")
{
    Opened opened(u"1", u"/a.wav");
    opened.window.pathBox = u"";
    opened.form.cmdPlay_Click();
    opened.form.Form_Unload();
    CHECK(opened.settings.calls == std::vector<std::u16string> {u"play:", u"stop"});
}

TEST_CASE("OK stores the box's state as 0, 1 or 2 and the path untrimmed; Cancel stores nothing")
{
    for (const CheckValue check : {CheckValue::Unchecked, CheckValue::Checked, CheckValue::Grayed}) {
        Opened opened(u"1", u"/a.wav");
        opened.window.check = check;
        opened.window.pathBox = u" /b.wav ";
        opened.form.OKButton_Click();
        CHECK(opened.settings.calls.back()
              == u"save:" + std::u16string(1, u'0' + static_cast<int>(check)) + u"| /b.wav ");
        CHECK(opened.window.warnings.empty());
        CHECK(opened.window.unloaded);
    }
    Opened cancelled(u"1", u"/a.wav");
    cancelled.window.check = CheckValue::Unchecked;
    cancelled.form.CancelButton_Click();
    CHECK(cancelled.window.unloaded);
    CHECK(cancelled.settings.calls.empty());
}

TEST_CASE("a path longer than the box holds shows cut, and stays whole unless it was edited")
{
    const std::u16string longPath(OptionsForm::MaxPathLength + 10, u'a');
    Opened kept(u"1", longPath);
    kept.window.pathBox.resize(OptionsForm::MaxPathLength); // as the box shows it
    kept.form.OKButton_Click();
    CHECK(kept.settings.path == longPath);

    Opened edited(u"1", longPath);
    edited.window.pathBox = u"/short.wav";
    edited.form.OKButton_Click();
    CHECK(edited.settings.path == u"/short.wav");
}

TEST_CASE("a save that fails says so, naming the file, and the new values stay in effect")
{
    Opened failed(u"0", u"");
    failed.settings.outcome = SoundSettings::SaveOutcome::Failed;
    failed.window.check = CheckValue::Checked;
    failed.form.OKButton_Click();
    CHECK(failed.window.warnings
          == std::vector<std::u16string> {
              u"オプション画面|設定ファイル「/home/u/Pomvale.ini」に書き込めなかったため、"
              u"変更した設定はプログラムを終了するまでの間だけ有効です。"});
    CHECK(failed.settings.enable == u"1");
    CHECK(failed.window.unloaded);

    Opened encoding(u"0", u"");
    encoding.settings.outcome = SoundSettings::SaveOutcome::NotInFileEncoding;
    encoding.form.OKButton_Click();
    CHECK(encoding.window.warnings
          == std::vector<std::u16string> {u"オプション画面|設定ファイル「/home/u/"
                                          u"Pomvale.ini」の文字コードでは新しい設定を書き込めないため、"
                                          u"変更した設定はプログラムを終了するまでの間だけ有効です。"});
}

TEST_CASE("the path box selects its whole text when it takes the focus")
{
    Opened opened(u"1", u"/a.wav");
    opened.form.txtFileName_GotFocus();
    CHECK(opened.window.pathSelected);
}
