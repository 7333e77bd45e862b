// SPDX-License-Identifier: MIT
#include "platform/error.h"
#include "platform/filedialog.h"
#include "support/modalhelper.h"
#include "support/testscript.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ModalAnswerer;

namespace {
QString show(QWidget *owner, int mode, const QString &fileName = QString(), const QString &filter = QString())
{
    return platform::showFileDialog(owner, mode, QStringLiteral("Pick"), fileName, filter, QString(), QString());
}

void typeAndConfirm(QWidget *dialog, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}
} // namespace

class TestFileDialog : public QObject {
    Q_OBJECT

    QWidget m_owner;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(m_dir.isValid());
        m_owner.show();
    }

    void modeSelectsDialog_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("open");
        QTest::newRow("1 opens") << 1 << true;
        QTest::newRow("0 saves") << 0 << false;
        QTest::newRow("2 saves") << 2 << false;
        QTest::newRow("-1 saves") << -1 << false;
    }
    void modeSelectsDialog()
    {
        QFETCH(int, mode);
        QFETCH(bool, open);
        QFileDialog::AcceptMode acceptMode{};
        QFileDialog::FileMode fileMode{};
        QString nameBox;
        ModalAnswerer answerer([&](QWidget *modal, int) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            acceptMode = dialog->acceptMode();
            fileMode = dialog->fileMode();
            nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            dialog->close(); // cancel
        });
        QCOMPARE(show(&m_owner, mode, QStringLiteral("start.txt")), QString());
        QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Pick")});
        QCOMPARE(acceptMode, open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        QCOMPARE(fileMode, open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        QCOMPARE(nameBox, QStringLiteral("start.txt"));
    }

    void nameLengthLimit_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("refused");
        QTest::newRow("250") << 250 << false;
        QTest::newRow("251") << 251 << true;
    }
    void nameLengthLimit()
    {
        QFETCH(int, length);
        QFETCH(bool, refused);
        ModalAnswerer answerer;
        int error = 0;
        try {
            show(&m_owner, 0, QString(length, QLatin1Char('n')));
        } catch (const platform::Error &e) {
            error = e.number();
        }
        QCOMPARE(error, refused ? 5 : 0);
        QCOMPARE(answerer.records().size(), refused ? 0 : 1);
    }

    void returnsPathAsChosen_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::newRow("open unicode") << 1 << QString::fromUtf16(u"Grüße – файл ✓.txt");
        QTest::newRow("save unicode") << 0 << QString::fromUtf16(u"新しい 脚本.txt");
        QTest::newRow("open long") << 1 << QString(200, QLatin1Char('L')) + QStringLiteral(".txt");
    }
    void returnsPathAsChosen()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        const QString path = m_dir.filePath(name);
        if (mode == 1)
            testsupport::writeFile(path, "x");
        ModalAnswerer answerer([&](QWidget *modal, int) { typeAndConfirm(modal, path); });
        QCOMPARE(show(&m_owner, mode), QDir::toNativeSeparators(path));
    }

    // Each row is refused with a message first; the dialog must then still be up.
    void refusesUnfitChoice_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("expected");
        testsupport::writeFile(m_dir.filePath(QStringLiteral("exists.txt")), "x");
        QTest::newRow("open missing file") << 1 << "missing.txt" << int(QMessageBox::Ok) << "";
        QTest::newRow("save into missing folder") << 0 << "nofolder/new.txt" << int(QMessageBox::Ok) << "";
        QTest::newRow("overwrite, no") << 0 << "exists.txt" << int(QMessageBox::No) << "";
        QTest::newRow("overwrite, yes") << 0 << "exists.txt" << int(QMessageBox::Yes) << "exists.txt";
    }
    void refusesUnfitChoice()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(int, answer);
        QFETCH(QString, expected);
        bool stayedOpen = false;
        ModalAnswerer answerer([&](QWidget *modal, int index) {
            if (index == 0)
                return typeAndConfirm(modal, m_dir.filePath(name));
            QWidget *dialog = modal->parentWidget();
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            QAbstractButton *button = box->button(QMessageBox::StandardButton(answer));
            QVERIFY(button);
            button->click();
            QTimer::singleShot(0, dialog, [&stayedOpen, dialog] {
                stayedOpen = dialog->isVisible();
                dialog->close();
            });
        });
        const QString result = show(&m_owner, mode);
        QCOMPARE(answerer.records().size(), 2);
        QCOMPARE(result, expected.isEmpty() ? QString() : QDir::toNativeSeparators(m_dir.filePath(expected)));
        QCOMPARE(stayedOpen, expected.isEmpty());
    }

    void nulSeparatedFilter()
    {
        QStringList filters;
        ModalAnswerer answerer([&](QWidget *modal, int) {
            filters = qobject_cast<QFileDialog *>(modal)->nameFilters();
            modal->close();
        });
        const char pairs[] = "Scripts\0*.txt;*.bas\0All files\0*.*\0";
        show(&m_owner, 1, QString(), QString::fromLatin1(pairs, sizeof pairs - 1));
        QCOMPARE(filters, (QStringList{QStringLiteral("Scripts (*.txt *.bas)"), QStringLiteral("All files (*.*)")}));
    }
};

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
