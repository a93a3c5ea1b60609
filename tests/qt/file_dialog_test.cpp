// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and opening through the real Qt file dialogs of the window, answered as a user would:
// a name typed into the dialog's name field and the dialog accepted.
#include "app/WindowProcedure.h"
#include "commands/NewDocument.h"
#include "commands/PaletteChoosers.h"
#include "qt/MainWindow.h"
#include "qt/SizeDialogs.h"
#include "support/TempDir.h"
#include "ui/Commands.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

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

namespace {

// Answers the next save dialog with a name typed without extension and accepts it; when the
// dialog asks whether to replace the file, records the question and answers it.
struct OverwriteAnswer {
    bool replace = false;
    bool asked = false;
    QTimer questionWatch;

    void arm(const QString& typed) {
        QTimer::singleShot(50, [this, typed] {
            // An export asks for its scale before its chooser: OK keeps the scale it offers.
            if (auto* scale = dynamic_cast<ExportScaleDialog*>(QApplication::activeModalWidget()))
                scale->accept();
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return arm(typed);
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (field)
                field->setText(typed);
            else
                dialog->selectFile(typed);
            questionWatch.setInterval(20);
            QObject::connect(&questionWatch, &QTimer::timeout, [this] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                asked = true;
                questionWatch.stop();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            questionWatch.start();
            QMetaObject::invokeMethod(dialog, "accept"); // asks inside, when it asks
            questionWatch.stop();
            if (dialog->isVisible()) // the replacement was refused: the user gives up
                dialog->reject();
        });
    }
};

} // namespace

// Saving under the name of a file that exists: the document and export choosers ask, and
// only a yes replaces the file; the palette chooser replaces it without a question.
TEST(RealFileDialog, SaveChoosersAskBeforeReplacingAFileButThePaletteChooser) {
    test::TempDir dir;
    MainWindow window;
    Editor& e = window.editor();
    e.mode(Mode::Painter).width = e.mode(Mode::Animator).width = 4;
    e.mode(Mode::Painter).height = e.mode(Mode::Animator).height = 3;
    makeNewDocument(e, Mode::Painter);
    makeNewDocument(e, Mode::Animator);
    struct Case {
        const char* name;
        const char* extension;
        bool asks;
        std::function<void()> save;
    };
    const Case cases[] = {
        {"a", ".gelm", true, [&] { onCommand(e, Command::SaveAnimation); }},
        {"p", ".trnl", true, [&] { onCommand(e, Command::SavePicture); }},
        {"x", ".png", true, [&] { onCommand(e, Command::ExportPicture); }},
        {"l", ".lpal", false, [&] { saveSmallPalette(e); }},
    };
    for (const Case& c : cases) {
        for (bool replace : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + c.extension + (replace ? " yes" : " no"));
            const std::string file = dir.file(std::string(c.name) + c.extension);
            { std::ofstream(file, std::ios::binary) << "old"; }
            OverwriteAnswer answer;
            answer.replace = replace;
            answer.arm(QString::fromStdString(dir.file(c.name)));
            c.save();
            EXPECT_EQ(answer.asked, c.asks);
            std::ifstream in(file, std::ios::binary);
            const std::string now((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
            const bool kept = now == "old";
            EXPECT_EQ(kept, c.asks && !replace);
            EXPECT_TRUE(e.input.inputEnabled);
        }
    }
}
