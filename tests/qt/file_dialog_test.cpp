// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and opening through the real Qt file dialogs of the window, answered as a user would:
// a name typed into the dialog's name field and the dialog accepted.
#include "app/WindowProcedure.h"
#include "commands/NewDocument.h"
#include "qt/MainWindow.h"
#include "support/TempDir.h"
#include "ui/Commands.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

using namespace vork;

namespace {

// Answers the next file dialog: types `name` into its file-name field and accepts it.
struct FileDialogAnswer {
    QString title;
    void arm(const QString& name) {
        QTimer::singleShot(50, [this, name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return arm(name);
            title = dialog->windowTitle();
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (field)
                field->setText(name);
            else
                dialog->selectFile(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }
};

} // namespace

TEST(RealFileDialog, SavesAndOpensAPictureThroughTheWindowsChoosers) {
    test::TempDir dir;
    MainWindow window;
    Editor& e = window.editor();
    e.mode(Mode::Painter).width = 7;
    e.mode(Mode::Painter).height = 5;
    makeNewDocument(e, Mode::Painter);
    const Color red = Color::rgb(255, 0, 0);
    e.picture()->currentLayer().image.setPixel(6, 4, red);

    FileDialogAnswer save;
    save.arm(QString::fromStdString(dir.file("shown.bmp")));
    onCommand(e, Command::SavePicture);
    EXPECT_EQ(save.title, QStringLiteral("Сохранить файл формата tarnel"));
    const std::string file = dir.file("shown.trnl");
    ASSERT_TRUE(std::filesystem::exists(file));

    e.mode(Mode::Painter).width = 3;
    makeNewDocument(e, Mode::Painter);
    FileDialogAnswer open;
    open.arm(QString::fromStdString(file));
    onCommand(e, Command::OpenPicture);
    EXPECT_EQ(open.title, QStringLiteral("Открыть файл формата tarnel"));
    ASSERT_TRUE(e.picture());
    EXPECT_EQ(e.picture()->width, 7);
    EXPECT_EQ(e.picture()->currentLayer().image.pixel(6, 4), red);
    EXPECT_TRUE(e.input.inputEnabled);
}
