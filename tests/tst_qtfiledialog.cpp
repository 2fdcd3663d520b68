// SPDX-License-Identifier: GPL-3.0-or-later
// The real file-open dialog behind the platform layer: its filter, and what it hands back.
#include "helpers.h"
#include "platform/widgets/qtfiledialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

class tst_QtFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void offersTheOneFilterAndOnlyExistingFiles();
    void givesTheFullPathOrNothing();

private:
    // Runs showOpen and acts on the dialog while it is open; closes it if act leaves it open.
    QString showOpen(const QString &filter, const std::function<void(QFileDialog *)> &act);

    // Types a name into the dialog's name box and presses Enter, as the user would.
    static void typeName(QFileDialog *dialog, const QString &name)
    {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QTemporaryDir m_dir;
};

void tst_QtFileDialog::init()
{
    QVERIFY(m_dir.isValid());
    for (const char *name : {"bell.wav", "notes.txt"})
        QVERIFY(writeFile(m_dir.filePath(QLatin1String(name)), {}));
}

QString tst_QtFileDialog::showOpen(const QString &filter, const std::function<void(QFileDialog *)> &act)
{
    whenModal<QFileDialog>(this, act);
    platform::QtFileDialog files;
    return files.showOpen(nullptr, filter);
}

void tst_QtFileDialog::offersTheOneFilterAndOnlyExistingFiles()
{
    showOpen(QStringLiteral("wavファイル(*.wav)|*.wav"), [this](QFileDialog *dialog) {
        QCOMPARE(dialog->nameFilters(), QStringList {"wavファイル(*.wav)"}); // the patterns not shown twice
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);

        // A name that names no file is refused with a warning, and the dialog stays open.
        dialog->setDirectory(m_dir.path());
        bool warned = false;
        whenModal<QMessageBox>(dialog, [&warned](QMessageBox *) { warned = true; });
        typeName(dialog, QStringLiteral("missing.wav"));
        QVERIFY(warned);
        QVERIFY(dialog->isVisible());
    });
}

void tst_QtFileDialog::givesTheFullPathOrNothing()
{
    const QString filter = QStringLiteral("wavファイル(*.wav)|*.wav");
    QCOMPARE(showOpen(filter,
                      [this](QFileDialog *dialog) {
                          dialog->setDirectory(m_dir.path());
                          typeName(dialog, QStringLiteral("bell.wav"));
                      }),
             m_dir.filePath(QStringLiteral("bell.wav")));
    QCOMPARE(showOpen(filter,
                      [this](QFileDialog *dialog) {
                          dialog->setDirectory(m_dir.path());
                          dialog->selectFile(QStringLiteral("bell.wav"));
                          dialog->reject();
                      }),
             QString());
}

QTEST_MAIN(tst_QtFileDialog)
#include "tst_qtfiledialog.moc"
