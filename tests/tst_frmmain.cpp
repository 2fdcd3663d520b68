// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the user meets it: its layout, focus and keys, and entering a time.
#include "app/application.h"
#include "helpers.h"
#include "timer/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <utility>

class tst_frmMain : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void init() { QVERIFY(showMainWindow()); }
    void cleanup() { closeMainWindow(); }

    void startsAtThreeMinutesWithFocusOnOne();
    void windowDesign();
    void keypadReadsRowByRow();
    void displayFont();
    void tabOrder();
    void digitsShiftInFromTheRight_data();
    void digitsShiftInFromTheRight();
    void digitKeysActWhicheverButtonHasFocus_data();
    void digitKeysActWhicheverButtonHasFocus();
    void otherKeysLeaveTheTime_data();
    void otherKeysLeaveTheTime();
    void enterAndSpaceClickOnlyTheFocusedButton();
    void resetRightAfterStartReturnsToThreeMinutes();
    void menuEntryTriggersAtOnceWithAltO();
    void runtimeTextsAreJapanese();
};

void tst_frmMain::startsAtThreeMinutesWithFocusOnOne()
{
    QCOMPARE(display(), QStringLiteral("03:00"));
    QCOMPARE(QApplication::focusWidget(), button(QStringLiteral("cmdNum1")));
    for (int digit = 0; digit <= 9; ++digit)
        QVERIFY(button(QStringLiteral("cmdNum%1").arg(digit))->isEnabled());
}

void tst_frmMain::windowDesign()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Pomvale"));
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);

    // The client area below the menu bar is 1980 x 3720 twips, and the window cannot be resized.
    const QWidget *client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(132, 248));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->height(), m_window->menuBar()->height() + 248);

    // Centred on the screen, give or take the window frame, which is drawn outside the window.
    const QRect screen = m_window->screen()->availableGeometry();
    const QPoint offCentre = m_window->frameGeometry().center() - screen.center();
    QVERIFY2(offCentre.manhattanLength() <= 4, qPrintable(QString::number(offCentre.manhattanLength())));

    QVERIFY(!m_window->windowIcon().isNull());
}

void tst_frmMain::keypadReadsRowByRow()
{
    // The buttons as the user reads them: by rows from the top, each row from the left.
    QList<QPushButton *> buttons
        = m_window->centralWidget()->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly);
    std::sort(buttons.begin(), buttons.end(), [](const QPushButton *a, const QPushButton *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    QStringList rows;
    int rowTop = -1;
    for (const QPushButton *button : std::as_const(buttons)) {
        if (button->y() != rowTop)
            rows << QString();
        rowTop = button->y();
        rows.last() += (rows.last().isEmpty() ? QString() : QStringLiteral(" ")) + button->text();
    }
    QCOMPARE(rows, (QStringList {"1 2 3", "4 5 6", "7 8 9", "0 Reset", "Start/Stop"}));

    // A grid of 40-pixel (600-twip) cells from 8 pixels in, below the display; each button fills
    // its cells but a 7-pixel gap: a digit one, Reset two, Start/Stop the whole row of three.
    int row = 0;
    int column = 0;
    for (const QPushButton *button : std::as_const(buttons)) {
        const int span = button->text() == QLatin1String("Reset") ? 2 : button->text().size() > 1 ? 3 : 1;
        QCOMPARE(button->geometry(), QRect(8 + 40 * column, 48 + 40 * row, 40 * span - 7, 33));
        column += span;
        if (column == 3) {
            column = 0;
            ++row;
        }
    }
    const QLabel *display = displayLabel();
    QCOMPARE(display->parentWidget(), m_window->centralWidget());
    QCOMPARE(display->geometry(), QRect(0, 0, 129, 41));
    QCOMPARE(display->text(), QStringLiteral("03:00"));
}

void tst_frmMain::displayFont()
{
    const auto *label = m_window->findChild<QLabel *>(QStringLiteral("lblDisp"));
    QCOMPARE(label->font().family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(label->font().pointSize(), 24);
    QCOMPARE(label->font().weight(), QFont::Normal);
    QVERIFY(label->alignment() & Qt::AlignHCenter);
    QCOMPARE(label->frameShadow(), QFrame::Sunken);
    // Where the Windows face is missing, the metric-compatible IPAGothic stands in.
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        QSKIP("IPAGothic is not installed (Debian: fonts-ipafont-gothic)");
    QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("IPAGothic"));
    // Hinted by the font's own instructions, as Windows does, not by FreeType's costly auto-hinter.
    QCOMPARE(label->font().hintingPreference(), QFont::PreferFullHinting);
}

void tst_frmMain::tabOrder()
{
    const QStringList order {"cmdNum1", "cmdNum0", "cmdNum2", "cmdNum3",  "cmdNum4",  "cmdNum5", "cmdNum6",
                             "cmdNum7", "cmdNum8", "cmdNum9", "cmdReset", "cmdStart", "cmdNum1"};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order.at(i));
    }
}

void tst_frmMain::digitsShiftInFromTheRight_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QStringList>("shown"); // the display after each digit

    QTest::newRow("1234 from 03:00") << "1234" << QStringList {"30:01", "00:12", "01:23", "12:34"};
    QTest::newRow("seconds 60-99 kept")
        << "1234567" << QStringList {"30:01", "00:12", "01:23", "12:34", "23:45", "34:56", "45:67"};
    QTest::newRow("9999") << "9999" << QStringList {"30:09", "00:99", "09:99", "99:99"};
    QTest::newRow("0000 from 99:99") << "99990000" << QStringList {"30:09", "00:99", "09:99", "99:99",
                                                                   "99:90", "99:00", "90:00", "00:00"};
    QTest::newRow("1000") << "1000" << QStringList {"30:01", "00:10", "01:00", "10:00"};
}

void tst_frmMain::digitsShiftInFromTheRight()
{
    QFETCH(QString, digits);
    QFETCH(QStringList, shown);

    // Alternate between the keypad and the keyboard: both enter the same digit.
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QString digit(digits.at(i));
        if (i % 2 == 0)
            QTest::mouseClick(button(QStringLiteral("cmdNum") + digit), Qt::LeftButton);
        else
            type(digit);
        QCOMPARE(display(), shown.at(i));
    }
}

void tst_frmMain::digitKeysActWhicheverButtonHasFocus_data()
{
    QTest::addColumn<QString>("focused");
    QTest::newRow("Start/Stop") << "cmdStart";
    QTest::newRow("Reset") << "cmdReset";
    QTest::newRow("button 5") << "cmdNum5";
}

void tst_frmMain::digitKeysActWhicheverButtonHasFocus()
{
    QFETCH(QString, focused);
    QPushButton *target = button(focused);
    target->setFocus();
    QSignalSpy clicks(target, &QPushButton::clicked);

    QTest::keyClick(target, '7');
    QCOMPARE(display(), QStringLiteral("30:07")); // entered once, not once per widget it passes
    QTest::keyClick(target, Qt::Key_7, Qt::KeypadModifier);
    QCOMPARE(display(), QStringLiteral("00:77"));
    QCOMPARE(clicks.count(), 0); // the focused button gets the key, and does nothing with it
    QCOMPARE(QApplication::focusWidget(), target);
}

void tst_frmMain::otherKeysLeaveTheTime_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier);
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+5") << int(Qt::Key_5) << int(Qt::ControlModifier);
}

void tst_frmMain::otherKeysLeaveTheTime()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    button(QStringLiteral("cmdReset"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(display(), QStringLiteral("03:00"));
}

void tst_frmMain::enterAndSpaceClickOnlyTheFocusedButton()
{
    QPushButton *four = button(QStringLiteral("cmdNum4"));
    four->setFocus();
    QTest::keyClick(four, Qt::Key_Return);
    QCOMPARE(display(), QStringLiteral("30:04"));
    QTest::keyClick(four, Qt::Key_Space);
    QCOMPARE(display(), QStringLiteral("00:44"));
    QTest::keyClick(four, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(display(), QStringLiteral("04:44"));
}

void tst_frmMain::resetRightAfterStartReturnsToThreeMinutes()
{
    type(QStringLiteral("1234"));
    QTest::mouseClick(button(QStringLiteral("cmdReset")), Qt::LeftButton);
    QCOMPARE(display(), QStringLiteral("03:00"));
}

void tst_frmMain::menuEntryTriggersAtOnceWithAltO()
{
    const QList<QAction *> entries = m_window->menuBar()->actions();
    QCOMPARE(entries.size(), 1);
    QAction *option = entries.constFirst();
    QCOMPARE(option->text(), QStringLiteral("オプション(&O)"));
    QCOMPARE(option->menu(), nullptr); // no dropdown
    // A desktop's global menu bar would drop an entry without a dropdown: it stays in the window.
    QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeMenuBar));

    // Alt+O opens the options window at once.
    QString opened;
    whenModal<QDialog>(this, [&opened](QDialog *modal) {
        opened = modal->objectName();
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("CancelButton")), Qt::LeftButton);
    });
    QSignalSpy triggered(option, &QAction::triggered);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);

    QCOMPARE(triggered.count(), 1);
    QCOMPARE(opened, QStringLiteral("frmOption"));
    QCOMPARE(display(), QStringLiteral("03:00"));
}

void tst_frmMain::runtimeTextsAreJapanese()
{
    // The buttons that Qt's own dialogs draw.
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")))
        QSKIP("Qt's Japanese translations are not installed (Debian: qt6-translations-l10n)");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("開く(&O)"));
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
