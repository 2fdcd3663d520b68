// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the main window: a name for every control, and the display
// read out with the time it shows.
#include "app/application.h"
#include "helpers.h"
#include "platform/widgets/timercontrol.h"
#include "timer/frmmain.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

QString accessibleName(QObject *object)
{
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(object);
    return interface ? interface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

} // namespace

class tst_Accessibility : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonsAreNamedAfterWhatTheyDo_data();
    void buttonsAreNamedAfterWhatTheyDo();
    void everyControlHasAName();
    void displayIsReadOutWithTheTime();
    void remainingTimeIsReadOut();
};

void tst_Accessibility::initTestCase()
{
    app::setupApplication(*qApp);
}

void tst_Accessibility::init()
{
    QVERIFY(showMainWindow());
}

void tst_Accessibility::cleanup()
{
    closeMainWindow();
}

void tst_Accessibility::buttonsAreNamedAfterWhatTheyDo_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("name");
    for (int digit = 0; digit <= 9; ++digit)
        QTest::newRow(qPrintable(QStringLiteral("digit %1").arg(digit)))
            << QStringLiteral("cmdNum%1").arg(digit) << QString::number(digit);
    QTest::newRow("reset") << "cmdReset"
                           << "Reset";
    QTest::newRow("start/stop") << "cmdStart"
                                << "Start/Stop";
}

void tst_Accessibility::buttonsAreNamedAfterWhatTheyDo()
{
    QFETCH(QString, objectName);
    QFETCH(QString, name);
    QPushButton *target = button(objectName);
    QVERIFY(target);
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(target);
    QVERIFY(interface);
    QCOMPARE(interface->role(), QAccessible::Button);
    QCOMPARE(interface->text(QAccessible::Name), name);
}

void tst_Accessibility::everyControlHasAName()
{
    // Walks the window's accessible tree as a screen reader does, from the window down.
    QList<QAccessibleInterface *> pending {QAccessible::queryAccessibleInterface(m_window.get())};
    int controls = 0;
    while (!pending.isEmpty()) {
        QAccessibleInterface *interface = pending.takeFirst();
        QVERIFY(interface && interface->isValid());
        const QAccessible::Role role = interface->role();
        if (role == QAccessible::Button || role == QAccessible::StaticText || role == QAccessible::MenuItem) {
            ++controls;
            QVERIFY2(
                !interface->text(QAccessible::Name).trimmed().isEmpty(),
                qPrintable(interface->object() ? interface->object()->objectName() : QStringLiteral("?")));
        }
        for (int i = 0; i < interface->childCount(); ++i)
            pending << interface->child(i);
    }
    // Ten digits, Reset, Start/Stop, the display and the menu entry.
    QCOMPARE(controls, 14);
    QCOMPARE(accessibleName(m_window.get()), QStringLiteral("Pomvale"));
}

void tst_Accessibility::displayIsReadOutWithTheTime()
{
    QCOMPARE(accessibleName(displayLabel()), QStringLiteral("03:00"));
    QVERIFY(!QAccessible::queryAccessibleInterface(displayLabel())->text(QAccessible::Description).isEmpty());

    QTest::keyClick(m_window.get(), Qt::Key_1);
    QCOMPARE(accessibleName(displayLabel()), QStringLiteral("30:01"));
    click(QStringLiteral("cmdNum5"));
    QCOMPARE(displayLabel()->text(), QStringLiteral("00:15"));
    QCOMPARE(accessibleName(displayLabel()), QStringLiteral("00:15"));
}

void tst_Accessibility::remainingTimeIsReadOut()
{
    type(QStringLiteral("10"));
    click(QStringLiteral("cmdStart"));
    tick();
    QCOMPARE(accessibleName(displayLabel()), QStringLiteral("00:09"));
    tick();
    QCOMPARE(accessibleName(displayLabel()), QStringLiteral("00:08"));
    // The digit buttons are disabled while the countdown runs, and keep their names.
    QPushButton *one = button(QStringLiteral("cmdNum1"));
    QVERIFY(!one->isEnabled());
    QCOMPARE(accessibleName(one), QStringLiteral("1"));
    QVERIFY(QAccessible::queryAccessibleInterface(one)->state().disabled);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
