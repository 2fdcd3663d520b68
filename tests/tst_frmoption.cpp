// SPDX-License-Identifier: GPL-3.0-or-later
// The options window as the user meets it: opened from the main window's menu, filled from the
// settings, edited with mouse and keys, and closed by OK, Cancel or the platform.
#include "app/application.h"
#include "helpers.h"
#include "options/frmoption.h"
#include "platform/widgets/quietmodal.h"
#include "platform/widgets/timercontrol.h"
#include "settings/modpomvale.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class tst_frmOption : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void init();
    void cleanup();

    void noSettingsFile();
    void loadedSettings_data();
    void loadedSettings();
    void design();
    void centredOverTheMainWindow();
    void staysOverTheMainWindowWhenEitherIsMoved();
    void tabOrder_data();
    void tabOrder();
    void focusComingBackKeepsThePathSelection();
    void escAndEnterCloseNothing();
    void checkBoxShowsAndHidesTheFrame();
    void browse();
    void playThenOkWithAnEmptyPath();
    void closedOtherwiseNextOpeningStartsAfresh();
    void countdownGoesOnAndAlarmComesOver();
    void realAlarmBoxTakesInputOverTheOptionsWindow();
    void alarmInTheBackgroundHoldsTheOptionsWindow();
    void saveFailureIsReported();
    void valuesTheFileCannotHoldAreKept_data();
    void valuesTheFileCannotHoldAreKept();

private:
    // Opens the options window with Alt+O and runs body while it is open. Whatever body leaves
    // open is closed afterwards, so that a failed check cannot leave the modal loop running.
    void openOptions(const std::function<void(frmOption *)> &body);
    template<class T> static T *control(const frmOption *options, const char *name)
    {
        return options->findChild<T *>(QLatin1String(name));
    }
    static QWidget *focused() { return QApplication::focusWidget(); }
    static void settings(const QString &enable, const QString &path)
    {
        modPomvale::SoundEnable = QString(enable).toStdU16String();
        modPomvale::SoundPath = QString(path).toStdU16String();
    }

    std::unique_ptr<QTemporaryDir> m_dir; // stands for the executable's folder
    std::unique_ptr<FakeMessageBox> m_messages;
    std::unique_ptr<FakeSoundPlayer> m_sound;
    std::unique_ptr<FakeFileDialog> m_files;
    FakeClock m_clock; // moved a second on before each tick the tests fire
    std::unique_ptr<frmMain> m_main;
};

void tst_frmOption::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    modPomvale::setExecutableFolderOverride(QFile::encodeName(m_dir->path()).toStdString());
    modPomvale::IniPath.clear();
    m_messages = std::make_unique<FakeMessageBox>();
    m_sound = std::make_unique<FakeSoundPlayer>();
    m_files = std::make_unique<FakeFileDialog>();
    m_main = std::make_unique<frmMain>(); // loads the settings: none in the fresh folder
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

void tst_frmOption::cleanup()
{
    m_main.reset();
    m_files.reset();
    m_sound.reset();
    m_messages.reset();
    modPomvale::setExecutableFolderOverride(settings::Path());
    m_dir.reset();
}

void tst_frmOption::openOptions(const std::function<void(frmOption *)> &body)
{
    // The headless platform has no window manager to hand activation back after a modal window.
    m_main->activateWindow();
    QVERIFY(QTest::qWaitFor([this] { return QApplication::activeWindow() == m_main.get(); }));

    bool ran = false;
    whenModal<frmOption>(m_main.get(), [&body, &ran](frmOption *options) {
        // A dialog shares activation with its owner, so wait for the window itself to take the keys.
        if (QTest::qWaitFor([options] { return QApplication::activeWindow() == options; })) {
            body(options);
            ran = true;
        }
    });
    QTest::keyClick(focused(), Qt::Key_O, Qt::AltModifier);
    QVERIFY2(ran, "the options window did not open");
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_frmOption::noSettingsFile()
{
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("0"));
    openOptions([](frmOption *options) {
        QCOMPARE(control<QCheckBox>(options, "chkSoundEnable")->checkState(), Qt::Unchecked);
        QVERIFY(!control<QGroupBox>(options, "frameSound")->isVisible());
        QVERIFY(!control<QLineEdit>(options, "txtFileName")->isVisible());
        QCOMPARE(control<QLineEdit>(options, "txtFileName")->text(), QString()); // never the design's "c:\"
        QCOMPARE(focused(), control<QPushButton>(options, "OKButton"));

        // Enter at once stores the loaded settings again, which creates the file.
        QTest::keyClick(focused(), Qt::Key_Return);
        QVERIFY(!options->isVisible());
    });
    QCOMPARE(m_messages->texts, QStringList());
    QCOMPARE(m_sound->calls, QStringList {"stop"});
    const QString file = m_dir->filePath(QStringLiteral("Pomvale.ini"));
    QCOMPARE(QString::fromStdString(modPomvale::IniPath.native()), file);
    QVERIFY(QFileInfo(file).isFile());

    settings(QStringLiteral("x"), QStringLiteral("x"));
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("0"));
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), QString());
}

void tst_frmOption::loadedSettings_data()
{
    QTest::addColumn<QString>("enable");
    QTest::addColumn<Qt::CheckState>("state");
    QTest::addColumn<QString>("storedByOk"); // after OK without touching anything

    // Each of the box's three states as Qt draws it; which text gives which is the core's rule.
    QTest::newRow("1") << "1" << Qt::Checked << "1";
    QTest::newRow("2 shows grayed") << "2" << Qt::PartiallyChecked << "2";
    QTest::newRow("no number") << "abc" << Qt::Unchecked << "0";
}

void tst_frmOption::loadedSettings()
{
    QFETCH(QString, enable);
    QFETCH(Qt::CheckState, state);
    QFETCH(QString, storedByOk);

    const QString path = QStringLiteral(" /sounds/ベル.wav ");
    settings(enable, path);
    openOptions([&](frmOption *options) {
        QCOMPARE(control<QCheckBox>(options, "chkSoundEnable")->checkState(), state);
        QCOMPARE(control<QGroupBox>(options, "frameSound")->isVisible(), state == Qt::Checked);
        QCOMPARE(control<QLineEdit>(options, "txtFileName")->text(), path);
        QTest::mouseClick(control<QPushButton>(options, "OKButton"), Qt::LeftButton);
        QVERIFY(!options->isVisible());
    });
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), storedByOk);
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), path); // untrimmed
    QCOMPARE(m_messages->texts, QStringList());
}

void tst_frmOption::design()
{
    struct Control
    {
        const char *name;
        const char *container;
        QString caption;
        QRect geometry; // logical pixels, 15 twips each
    };
    const Control controls[] = {
        {"OKButton", "frmOption", QStringLiteral("OK"), {8, 112, 81, 25}},
        {"CancelButton", "frmOption", QStringLiteral("ｷｬﾝｾﾙ"), {160, 112, 81, 25}},
        {"chkSoundEnable", "frmOption", QStringLiteral("時間経過時、音を鳴らす"), {8, 24, 169, 25}},
        {"lblTitle", "frmOption", QStringLiteral("オプション画面"), {8, 8, 305, 17}},
        {"frameSound", "frmOption", QStringLiteral("鳴らしたい音のファイル"), {0, 48, 249, 57}},
        {"txtFileName", "frameSound", QStringLiteral("/a.wav"), {8, 24, 185, 25}},
        {"cmdOpenFile", "frameSound", QString(), {192, 24, 25, 25}},
        {"cmdPlay", "frameSound", QString(), {216, 24, 25, 25}},
    };

    settings(QStringLiteral("1"), QStringLiteral("/a.wav"));
    openOptions([&](frmOption *options) {
        QCOMPARE(options->parentWidget(), m_main.get());
        QCOMPARE(options->windowType(), Qt::Dialog);
        QVERIFY(options->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(options->size(), QSize(251, 149));
        QCOMPARE(options->frameGeometry(), options->geometry()); // no border

        for (const Control &expected : controls) {
            auto *widget = options->findChild<QWidget *>(QLatin1String(expected.name));
            QVERIFY2(widget, expected.name);
            QCOMPARE(widget->parentWidget()->objectName(), QLatin1String(expected.container));
            QCOMPARE(widget->geometry(), expected.geometry);
            const QVariant text = widget->property("text");
            QCOMPARE(text.isValid() ? text.toString() : widget->property("title").toString(),
                     expected.caption);
        }
        // The title runs past the window's right edge, which cuts it off after its words.
        auto *title = control<QLabel>(options, "lblTitle");
        QVERIFY(title->geometry().right() >= options->width());
        QVERIFY(title->sizeHint().width() < options->width() - title->x());

        auto *browse = control<QPushButton>(options, "cmdOpenFile");
        auto *play = control<QPushButton>(options, "cmdPlay");
        QCOMPARE(browse->toolTip(), QStringLiteral("wavファイルを参照します。"));
        QCOMPARE(play->toolTip(), QString());
        QCOMPARE(browse->icon().pixmap(browse->iconSize()).size(), QSize(16, 16)); // the picture was found
        QCOMPARE(play->icon().pixmap(play->iconSize()).size(), QSize(24, 22));
        // A screen reader's names for them; the Windows program gives the same (wine_behaviour.sh).
        QCOMPARE(browse->accessibleName(), QStringLiteral("wavファイルを参照"));
        QCOMPARE(play->accessibleName(), QStringLiteral("音を試聴"));
    });
}

void tst_frmOption::centredOverTheMainWindow()
{
    const QRect screen = m_main->screen()->availableGeometry();
    for (const QPoint &place :
         {screen.topLeft() + QPoint(20, 30), screen.center(), screen.topLeft() + QPoint(300, 5)}) {
        m_main->move(place);
        QTRY_COMPARE(m_main->pos(), place);
        openOptions([this](frmOption *options) {
            const QPoint offCentre = options->frameGeometry().center() - m_main->frameGeometry().center();
            QVERIFY2(offCentre.manhattanLength() <= 1,
                     qPrintable(QString::number(offCentre.manhattanLength())));
        });
    }
}

// The fault: dragging the main window (or Alt+dragging the options window) while the options window
// is open leaves the two apart on the desktop.
void tst_frmOption::staysOverTheMainWindowWhenEitherIsMoved()
{
    openOptions([this](frmOption *options) {
        const QPoint offset = options->pos() - m_main->pos();
        const QPoint dragged = m_main->pos() + QPoint(40, 25);
        m_main->move(dragged);
        QTRY_COMPARE(m_main->pos(), dragged);
        QTRY_COMPARE(options->pos() - m_main->pos(), offset);

        options->move(options->pos() + QPoint(-30, 10));
        QTRY_COMPARE(options->pos() - m_main->pos(), offset);
    });
}

void tst_frmOption::tabOrder_data()
{
    QTest::addColumn<QString>("enable");
    QTest::addColumn<QStringList>("order");

    QTest::newRow("clear") << "0" << QStringList {"OKButton", "CancelButton", "chkSoundEnable", "OKButton"};
    QTest::newRow("ticked") << "1"
                            << QStringList {"OKButton",    "CancelButton", "chkSoundEnable", "txtFileName",
                                            "cmdOpenFile", "cmdPlay",      "OKButton"};
}

void tst_frmOption::tabOrder()
{
    QFETCH(QString, enable);
    QFETCH(QStringList, order);

    settings(enable, QStringLiteral("/sounds/alarm.wav"));
    openOptions([&](frmOption *options) {
        QCOMPARE(focused()->objectName(), order.constFirst());
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            QCOMPARE(focused()->objectName(), order.at(i));
        }
        if (enable != QLatin1String("1"))
            return;

        // Moving into the path box, forwards or backwards, selects its whole text.
        auto *path = control<QLineEdit>(options, "txtFileName");
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), path);
        QCOMPARE(path->selectedText(), path->text());
        QTest::keyClick(path, Qt::Key_End);
        QVERIFY(!path->hasSelectedText());
        QTest::keyClick(focused(), Qt::Key_Tab);
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QCOMPARE(focused(), path);
        QCOMPARE(path->selectedText(), path->text());
    });
}

void tst_frmOption::focusComingBackKeepsThePathSelection()
{
    settings(QStringLiteral("1"), QStringLiteral("/sounds/alarm.wav"));
    openOptions([](frmOption *options) {
        auto *path = control<QLineEdit>(options, "txtFileName");
        path->setFocus();
        QTest::keyClick(path, Qt::Key_End);
        QTest::keyClick(path, Qt::Key_Left, Qt::ShiftModifier);

        // The path box's own menu (the Menu key) hands the focus back when it closes.
        const QPoint middle = path->rect().center();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, middle, path->mapToGlobal(middle));
        QApplication::sendEvent(path, &menuKey);
        QWidget *menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(focused(), path);
        QCOMPARE(path->selectedText(), QStringLiteral("v"));

        // So does the window when the user comes back to it from another.
        QWidget elsewhere;
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
        QTRY_COMPARE(QApplication::activeWindow(), &elsewhere);
        QApplication::setActiveWindow(options);
        QTRY_COMPARE(focused(), path);
        QCOMPARE(path->selectedText(), QStringLiteral("v"));
    });
}

void tst_frmOption::escAndEnterCloseNothing()
{
    settings(QStringLiteral("1"), QStringLiteral("/a.wav"));
    openOptions([this](frmOption *options) {
        auto *box = control<QCheckBox>(options, "chkSoundEnable");
        for (const char *name : {"OKButton", "CancelButton", "chkSoundEnable", "txtFileName"}) {
            auto *widget = options->findChild<QWidget *>(QLatin1String(name));
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Escape);
            QVERIFY2(options->isVisible(), name);
            // Enter reaches only a focused button: on the box or in the path box it does nothing.
            if (!qobject_cast<QPushButton *>(widget)) {
                QTest::keyClick(widget, Qt::Key_Return);
                QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
                QVERIFY2(options->isVisible(), name);
            }
        }
        QCOMPARE(box->checkState(), Qt::Checked);
        QCOMPARE(m_sound->calls, QStringList());

        // Enter on the focused play button plays; on Cancel it closes without storing.
        control<QPushButton>(options, "cmdPlay")->setFocus();
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(m_sound->calls, QStringList {"play:/a.wav"});
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        control<QPushButton>(options, "CancelButton")->setFocus();
        QTest::keyClick(focused(), Qt::Key_Return);
        QVERIFY(!options->isVisible());
    });
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("1"));
    QCOMPARE(m_sound->calls, (QStringList {"play:/a.wav", "stop"}));
}

void tst_frmOption::checkBoxShowsAndHidesTheFrame()
{
    settings(QStringLiteral("2"), QStringLiteral("/sounds/bell.wav"));
    openOptions([](frmOption *options) {
        auto *box = control<QCheckBox>(options, "chkSoundEnable");
        auto *frame = control<QGroupBox>(options, "frameSound");
        auto *path = control<QLineEdit>(options, "txtFileName");

        // A click on the grayed box ticks it; from there clicks only clear and tick.
        const Qt::CheckState expected[] = {Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::Unchecked};
        for (Qt::CheckState state : expected) {
            QTest::mouseClick(box, Qt::LeftButton);
            QCOMPARE(box->checkState(), state);
            QCOMPARE(frame->isVisible(), state == Qt::Checked);
            QCOMPARE(path->isVisible(), state == Qt::Checked);
            QCOMPARE(path->text(), QStringLiteral("/sounds/bell.wav"));
            QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable),
                     QStringLiteral("2")); // nothing stored before OK
        }
        QTest::mouseClick(control<QPushButton>(options, "OKButton"), Qt::LeftButton);
    });
    // Cleared, and the path kept with it.
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("0"));
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), QStringLiteral("/sounds/bell.wav"));
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("0"));
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), QStringLiteral("/sounds/bell.wav"));
}

void tst_frmOption::browse()
{
    settings(QStringLiteral("1"), QStringLiteral("/stored.wav"));
    openOptions([this](frmOption *options) {
        auto *path = control<QLineEdit>(options, "txtFileName");
        auto *browse = control<QPushButton>(options, "cmdOpenFile");
        path->selectAll();
        QTest::keyClicks(path, QStringLiteral("/typed.wav"));

        m_files->answer.clear(); // cancelled
        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(path->text(), QStringLiteral("/typed.wav"));

        m_files->answer = QStringLiteral("/home/user/音/chosen.wav");
        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(path->text(), QStringLiteral("/home/user/音/chosen.wav"));

        m_files->answer.clear(); // a later cancel keeps the chosen name too
        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(path->text(), QStringLiteral("/home/user/音/chosen.wav"));

        QCOMPARE(m_files->filters, QStringList(3, QStringLiteral("wavファイル(*.wav)|*.wav")));
        QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath),
                 QStringLiteral("/stored.wav")); // browsing stores nothing
        QTest::mouseClick(control<QPushButton>(options, "CancelButton"), Qt::LeftButton);
    });
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), QStringLiteral("/stored.wav"));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Pomvale.ini"))));
    openOptions([](frmOption *options) {
        QCOMPARE(control<QLineEdit>(options, "txtFileName")->text(), QStringLiteral("/stored.wav"));
    });
}

void tst_frmOption::playThenOkWithAnEmptyPath()
{
    settings(QStringLiteral("1"), QString());
    openOptions([this](frmOption *options) {
        auto *path = control<QLineEdit>(options, "txtFileName");
        auto *play = control<QPushButton>(options, "cmdPlay");
        QTest::mouseClick(play, Qt::LeftButton); // empty
        QTest::keyClicks(path, QStringLiteral(" no such file "));
        QTest::mouseClick(play, Qt::LeftButton);
        QTest::mouseClick(play, Qt::LeftButton); // again: starts over
        QCOMPARE(m_sound->calls, (QStringList {"play:", "play: no such file ", "play: no such file "}));

        path->setFocus();
        QTest::keyClick(path, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(path, Qt::Key_Delete);
        QTest::mouseClick(control<QPushButton>(options, "OKButton"), Qt::LeftButton);
        QVERIFY(!options->isVisible());
    });
    QCOMPARE(m_sound->calls.constLast(), QStringLiteral("stop")); // closing ends the preview
    QCOMPARE(m_messages->texts, QStringList()); // nothing is reported, nothing refused
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("1"));
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), QString());
}

void tst_frmOption::closedOtherwiseNextOpeningStartsAfresh()
{
    settings(QStringLiteral("1"), QStringLiteral("/a.wav"));
    openOptions([&](frmOption *options) {
        QTest::mouseClick(control<QCheckBox>(options, "chkSoundEnable"), Qt::LeftButton);
        QTest::keyClicks(control<QLineEdit>(options, "txtFileName"), QStringLiteral("edited"));
        QTest::mouseClick(control<QPushButton>(options, "cmdPlay"), Qt::LeftButton);
        QVERIFY(options->close()); // what Alt+F4 or the window manager asks for
    });
    // Closed otherwise than by OK: nothing stored, the preview stopped.
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("1"));
    QCOMPARE(m_sound->calls, (QStringList {"play:/a.wavedited", "stop"}));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Pomvale.ini"))));

    // Nothing of the edits shows again.
    openOptions([&](frmOption *options) {
        QCOMPARE(control<QCheckBox>(options, "chkSoundEnable")->checkState(), Qt::Checked);
        QCOMPARE(control<QLineEdit>(options, "txtFileName")->text(), QStringLiteral("/a.wav"));
        QCOMPARE(focused(), control<QPushButton>(options, "OKButton"));
    });
}

void tst_frmOption::countdownGoesOnAndAlarmComesOver()
{
    settings(QStringLiteral("1"), QStringLiteral("/alarm.wav"));
    auto *display = m_main->findChild<QLabel *>(QStringLiteral("lblDisp"));
    auto *timeTic = m_main->findChild<platform::TimerControl *>(QStringLiteral("timeTic"));
    for (const char *name : {"cmdNum0", "cmdNum0", "cmdNum0", "cmdNum2", "cmdStart"})
        QTest::mouseClick(m_main->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    QCOMPARE(display->text(), QStringLiteral("00:02"));

    bool optionsOpenDuringAlarm = false;
    openOptions([&](frmOption *options) {
        QVERIFY(timeTic->isEnabled()); // opening the window stops nothing
        // Unsaved edits do not reach the alarm: it plays what OK stored last.
        QTest::mouseClick(control<QCheckBox>(options, "chkSoundEnable"), Qt::LeftButton);
        m_clock.now += 1000;
        emit timeTic->Timer();
        QCOMPARE(display->text(), QStringLiteral("00:01"));

        m_messages->whileOpen = [&] { optionsOpenDuringAlarm = options->isVisible(); };
        m_clock.now += 1000;
        emit timeTic->Timer();
        QCOMPARE(m_messages->texts, QStringList {"アラームが鳴りましたよ。"});
        QCOMPARE(m_messages->owners, QList<QWidget *> {m_main.get()});
        QCOMPARE(m_sound->calls, (QStringList {"play:/alarm.wav", "stop"}));
        QCOMPARE(display->text(), QStringLiteral("00:02"));
        QVERIFY(options->isVisible());
        QCOMPARE(control<QCheckBox>(options, "chkSoundEnable")->checkState(), Qt::Unchecked);
    });
    QVERIFY(optionsOpenDuringAlarm);
}

void tst_frmOption::realAlarmBoxTakesInputOverTheOptionsWindow()
{
    m_messages.reset(); // the real, modal message box
    auto *timeTic = m_main->findChild<platform::TimerControl *>(QStringLiteral("timeTic"));
    for (const char *name : {"cmdNum0", "cmdNum0", "cmdNum0", "cmdNum1", "cmdStart"})
        QTest::mouseClick(m_main->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);

    m_clock.now += 1000;
    openOptions([timeTic](frmOption *options) {
        bool answered = false;
        whenModal<QMessageBox>(options, [&answered](QMessageBox *box) {
            QCOMPARE(box->text(), QStringLiteral("アラームが鳴りましたよ。"));
            // A click that the options window's modality swallowed would leave the box open.
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            answered = !box->isVisible();
        });
        emit timeTic->Timer(); // 00:00: the alarm's box runs its own loop over the options window
        QVERIFY(answered);
        QVERIFY(options->isVisible());
    });
}

void tst_frmOption::alarmInTheBackgroundHoldsTheOptionsWindow()
{
    // The box as it comes while the user works in another program: without Qt's modality, which
    // would take the keyboard. The options window under it must take no click (keys sent to it go
    // through the platform window: the end-to-end alarm test sends one).
    settings(QStringLiteral("1"), QStringLiteral("/a.wav")); // the play button shows
    openOptions([this](frmOption *options) {
        QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("アラームが鳴りましたよ。"),
                        QMessageBox::Ok, m_main.get());
        bool held = false;
        QTimer::singleShot(0, options, [&] {
            QTest::mouseClick(control<QPushButton>(options, "CancelButton"), Qt::LeftButton);
            QTest::mouseClick(control<QPushButton>(options, "cmdPlay"), Qt::LeftButton);
            held = options->isVisible() && m_sound->calls.isEmpty();
            box.done(QMessageBox::Ok);
        });
        platform::QuietModal(&box, m_main.get()).exec();
        QVERIFY(held);
        // Once the box is closed, the window takes clicks again.
        QTest::mouseClick(control<QPushButton>(options, "CancelButton"), Qt::LeftButton);
        QVERIFY(!options->isVisible());
    });
}

void tst_frmOption::saveFailureIsReported()
{
    // A folder where the file belongs: nobody, root included, can write the settings there.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Pomvale.ini")));
    settings(QStringLiteral("0"), QString());
    openOptions([this](frmOption *options) {
        QTest::mouseClick(control<QCheckBox>(options, "chkSoundEnable"), Qt::LeftButton);
        QTest::keyClicks(control<QLineEdit>(options, "txtFileName"), QStringLiteral("/new.wav"));
        m_messages->whileOpen = [options] { QVERIFY(options->isVisible()); }; // before it closes
        QTest::mouseClick(control<QPushButton>(options, "OKButton"), Qt::LeftButton);
        QVERIFY(!options->isVisible());
    });
    // A warning that names the file, in one sentence that the box wraps to its width.
    QCOMPARE(m_messages->warnings.size(), 1);
    QCOMPARE(m_messages->texts, m_messages->warnings);
    const QString text = m_messages->texts.constFirst();
    QVERIFY2(text.contains(QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("Pomvale.ini")))),
             qPrintable(text));
    QVERIFY2(!text.contains(u'\n') && text.count(u'。') == 1 && text.endsWith(u'。'), qPrintable(text));
    QCOMPARE(m_messages->titles, QStringList {"オプション画面"});
    // The new values are in effect until the program ends.
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), QStringLiteral("1"));
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), QStringLiteral("/new.wav"));
}

// Values the file cannot take as they are: a Path far longer than any path (the window took
// seconds and gigabytes to open and the box showed it whole) is shown cut but saved whole; a
// value without a form in a CP932 file's encoding is not taken for a disk fault.
void tst_frmOption::valuesTheFileCannotHoldAreKept_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("typed"); // added to the path box; empty: left as shown
    QTest::addColumn<QString>("message"); // a text the message says; empty: no message

    const QString longPath = u"/"_qs + QString(1 << 20, u'a') + u".wav"_qs;
    QTest::newRow("1 MB path, left as shown") << "[Option]\r\nEnable=1\r\nPath=" + longPath.toUtf8() + "\r\n"
                                              << QString() << QString();
    QTest::newRow("emoji, UTF-8 path and a CP932 comment")
        << "; \x82\xa0\n[Option]\nEnable=1\nPath=" + u"/目覚まし/a.wav"_qs.toUtf8() + "\n"
        << u"🎵.wav"_qs << u"文字コード"_qs;
}

void tst_frmOption::valuesTheFileCannotHoldAreKept()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, typed);
    QFETCH(QString, message);

    const QString ini = m_dir->filePath(u"Pomvale.ini"_qs);
    QVERIFY(writeFile(ini, file));
    modPomvale::LoadOption();
    const QString loaded = QString::fromStdU16String(modPomvale::SoundPath);
    openOptions([&](frmOption *options) {
        auto *box = control<QLineEdit>(options, "txtFileName");
        QVERIFY(box->text().size() <= 32767);
        QTest::keyClick(box, Qt::Key_End);
        QInputMethodEvent input; // typed through the input method, as non-ASCII text is
        input.setCommitString(typed);
        QApplication::sendEvent(box, &input);
        QTest::mouseClick(control<QPushButton>(options, "OKButton"), Qt::LeftButton);
    });
    const QString wanted = typed.isEmpty() ? loaded : loaded.left(32767) + typed;
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), wanted); // in effect until the program ends
    if (message.isEmpty()) {
        QVERIFY(m_messages->texts.isEmpty());
        QCOMPARE(readFile(ini), file);
    } else {
        QCOMPARE(m_messages->warnings.size(), 1); // one box, with the warning icon
        QVERIFY2(m_messages->warnings.first().contains(message), qPrintable(m_messages->warnings.first()));
        QCOMPARE(readFile(ini), file);
    }
}

QTEST_MAIN(tst_frmOption)
#include "tst_frmoption.moc"
