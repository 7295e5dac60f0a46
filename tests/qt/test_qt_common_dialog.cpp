#include "ModalAnswer.h"
#include "QStringPrinter.h"
#include "QtCommonDialog.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace marlo;
using marlo::test::waitFor;
using marlo::test::whenModal;

namespace {

// The last item, a description without its pattern, is no file type.
const std::string Filter = "MS Access DB (*.mdb)|*.mdb|Backup files (*.bak)|*.bak|"
                           "All files (*.*)|*.*|Odd one out";

class QtChooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"a.mdb", "b.bak", "README"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        chooser.SetCancelError(true);
        chooser.SetInitDir(QFile::encodeName(folder.path()).toStdString());
        chooser.SetDefaultExt("*.mdb");
        chooser.SetFilter(Filter);
        chooser.SetDialogTitle(" Title of the showing...");
    }
    void TearDown() override
    {
        while (QWidget* leftover = QApplication::activeModalWidget())
            leftover->close();
    }
    std::string inFolder(const char* name) const
    {
        return QFile::encodeName(folder.filePath(QString::fromLatin1(name))).toStdString();
    }

    QTemporaryDir folder;
    QtCommonDialog chooser;
};

// Types `typed` into the chooser's name field and presses Open or Save.
// A user types into the field with the focus in it: only then does the
// dialog drop the file that a name offered there selected in its list,
// which would otherwise be taken instead of the name typed.
void typeAndAccept(QWidget* chooser, const QString& typed)
{
    auto* field = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    chooser->activateWindow();
    field->setFocus();
    EXPECT_TRUE(waitFor([field] { return field->hasFocus(); }));
    field->setText(typed);
    auto* buttons = chooser->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            button->click();
}

void acceptTyping(const QString& typed)
{
    whenModal([typed](QWidget* modal) { typeAndAccept(modal, typed); });
}

// The names that the chooser's list shows under its current file type.
std::set<QString> listedNames(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    std::set<QString> names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names.insert(view->model()->index(row, 0, root).data().toString());
    return names;
}

TEST_F(QtChooser, ShowsTheFileTypesByTheirDescriptionsAndAllFilesShowsNamesWithoutADot)
{
    QStringList types;
    std::set<QString> underMdb, underAll;
    QString title, directory;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        directory = dialog->directory().path();
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < combo->count(); ++i)
            types << combo->itemText(i);
        waitFor([&] { return listedNames(dialog).count("a.mdb") != 0; });
        underMdb = listedNames(dialog);
        dialog->selectNameFilter(dialog->nameFilters().constLast());
        waitFor([&] { return listedNames(dialog).count("README") != 0; });
        underAll = listedNames(dialog);
        dialog->reject();
    });
    EXPECT_FALSE(chooser.ShowOpen().ok());

    EXPECT_EQ(title, " Title of the showing...");
    EXPECT_EQ(QDir(directory), QDir(folder.path()));
    EXPECT_EQ(types,
              (QStringList{"MS Access DB (*.mdb)", "Backup files (*.bak)", "All files (*.*)"}));
    EXPECT_EQ(underMdb, (std::set<QString>{"a.mdb"}));
    EXPECT_EQ(underAll, (std::set<QString>{"a.mdb", "b.bak", "README"}));
}

TEST_F(QtChooser, SaveGivesANameTypedWithoutExtensionTheDefaultExtensionOnly)
{
    acceptTyping("backup");
    ASSERT_TRUE(chooser.ShowSave().ok());
    EXPECT_EQ(chooser.FileName(), inFolder("backup.mdb"));

    acceptTyping("backup.bak");
    ASSERT_TRUE(chooser.ShowSave().ok());
    EXPECT_EQ(chooser.FileName(), inFolder("backup.bak"));

    // The open chooser looks for the name as typed, existing or not.
    acceptTyping("README");
    ASSERT_TRUE(chooser.ShowOpen().ok());
    EXPECT_EQ(chooser.FileName(), inFolder("README"));
    acceptTyping("missing");
    ASSERT_TRUE(chooser.ShowOpen().ok());
    EXPECT_EQ(chooser.FileName(), inFolder("missing"));
}

// The command asks its own question: no other modal may follow the chooser.
TEST_F(QtChooser, SavingOverAnExistingFileAsksNothing)
{
    QWidget* chooserWidget = nullptr;
    bool askedAgain = false;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !chooserWidget)
            return;
        if (modal != chooserWidget)
            askedAgain = true;
        if (askedAgain)
            modal->close(); // the question, then the chooser that stayed up
    });
    watcher.start();
    whenModal([&](QWidget* modal) {
        chooserWidget = modal;
        typeAndAccept(modal, "a.mdb");
    });
    ASSERT_TRUE(chooser.ShowSave().ok());
    EXPECT_FALSE(askedAgain);
    EXPECT_EQ(chooser.FileName(), inFolder("a.mdb"));
}

// Offered in the folder the chooser opens in, a name chosen elsewhere would
// be another file of that name.
TEST_F(QtChooser, TheNameFieldStartsWithTheLastNameOnlyInItsOwnFolder)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString away = elsewhere.filePath(QStringLiteral("a.mdb"));
    acceptTyping(away);
    ASSERT_TRUE(chooser.ShowSave().ok());
    ASSERT_EQ(chooser.FileName(), QFile::encodeName(away).toStdString());

    QString offered = QStringLiteral("<not shown>");
    const auto readNameField = [&](QWidget* modal) {
        offered = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    };
    whenModal([&](QWidget* modal) {
        readNameField(modal);
        typeAndAccept(modal, QStringLiteral("b.bak"));
    });
    ASSERT_TRUE(chooser.ShowOpen().ok());
    EXPECT_EQ(offered, QString());

    whenModal([&](QWidget* modal) {
        readNameField(modal);
        modal->close();
    });
    EXPECT_FALSE(chooser.ShowOpen().ok());
    EXPECT_EQ(offered, QStringLiteral("b.bak"));
}

TEST_F(QtChooser, EscapeOrClosingTheChooserCancelsIt)
{
    whenModal([](QWidget* modal) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(modal, &escape);
    });
    const Status escaped = chooser.ShowOpen();
    ASSERT_FALSE(escaped.ok());
    EXPECT_EQ(escaped.error().number, CancelErrorNumber);

    whenModal([](QWidget* modal) { modal->close(); });
    const Status closed = chooser.ShowSave();
    ASSERT_FALSE(closed.ok());
    EXPECT_EQ(closed.error().number, CancelErrorNumber);
}

} // namespace
