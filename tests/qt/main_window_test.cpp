// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"
#include "canvas/Canvas.h"
#include "commands/NewDocument.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"
#include "support/TempFolder.h"
#include "ui/Commands.h"
#include "ui/KeyReference.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace vork;

namespace {

struct Item {
    QString text;
    std::optional<Command> id; // none for a separator
};

std::vector<Item> itemsOf(QMenu* m) {
    std::vector<Item> out;
    for (QAction* a : m->actions())
        out.push_back(a->isSeparator() ? Item{QString(), std::nullopt}
                                       : Item{a->text(), Command(a->data().toInt())});
    return out;
}

// Closes the modal dialog that the next event loop shows, remembering its title and texts.
struct ModalCloser {
    QString title;
    QStringList texts;
    void arm() {
        QTimer::singleShot(50, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w)
                return arm();
            title = w->windowTitle();
            for (QLabel* l : w->findChildren<QLabel*>())
                texts << l->text();
            w->close();
        });
    }
};

} // namespace

TEST(MainWindowMenu, HasThePopupsItemsAndIdsInOrder) {
    MainWindow w;
    QList<QAction*> tops = w.menuBar()->actions();
    ASSERT_EQ(tops.size(), 3);
    EXPECT_EQ(tops[0]->text(), "Animator");
    EXPECT_EQ(tops[1]->text(), "Painter");
    EXPECT_EQ(tops[2]->text(), "Справка");

    std::vector<Item> animator = itemsOf(tops[0]->menu());
    std::vector<Item> expected = {{"Импорт Gif", Command::ImportGif},
                                  {"Вставка из файла", Command::InsertFromFile},
                                  {"Экспорт Png", Command::ExportPng},
                                  {"Экспорт Gif", Command::ExportGif},
                                  {"Экспорт WebP", Command::ExportWebp},
                                  {"Экспорт листа спрайтов", Command::ExportSpriteSheet},
                                  {"", std::nullopt},
                                  {"Размер рисунка", Command::AnimationPictureSize},
                                  {"Размер холста", Command::AnimationCanvasSize},
                                  {"", std::nullopt},
                                  {"Слияние", Command::Merge},
                                  {"", std::nullopt},
                                  {"Выход", Command::Exit}};
    ASSERT_EQ(animator.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(animator[i].text, expected[i].text) << i;
        EXPECT_EQ(animator[i].id, expected[i].id) << i;
    }
    std::vector<Item> painter = itemsOf(tops[1]->menu());
    ASSERT_EQ(painter.size(), 2u);
    EXPECT_EQ(painter[0].text, "Размер рисунка");
    EXPECT_EQ(painter[0].id, Command::PicturePictureSize);
    EXPECT_EQ(painter[1].text, "Размер холста");
    EXPECT_EQ(painter[1].id, Command::PictureCanvasSize);
    std::vector<Item> help = itemsOf(tops[2]->menu());
    ASSERT_EQ(help.size(), 3u);
    EXPECT_EQ(help[0].text, "О программе");
    EXPECT_EQ(help[0].id, Command::About);
    EXPECT_EQ(help[1].id, std::nullopt);
    EXPECT_EQ(help[2].text, "Используемые клавиши");
    EXPECT_EQ(help[2].id, Command::KeyReference);
}

TEST(MainWindowStart, TitleIconAndClientSize) {
    MainWindow w;
    EXPECT_EQ(w.windowTitle(), "vork");
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_FALSE(w.windowIcon().pixmap(16, 16).isNull());
    EXPECT_EQ(w.editor().clientWidth, 713);
    EXPECT_EQ(w.editor().clientHeight, 494);
}

TEST(MainWindowCommands, MenuItemsOpenTheAboutBoxAndKeyReference) {
    MainWindow w;
    ModalCloser closer;
    closer.arm();
    w.actionFor(Command::About)->trigger();
    EXPECT_EQ(closer.title, QString::fromUtf8(aboutTitle));
    EXPECT_TRUE(closer.texts.contains(QString::fromUtf8(aboutVersionLine)));
    EXPECT_TRUE(w.editor().input.inputEnabled) << "enabled again after the dialog";

    ModalCloser keys;
    keys.arm();
    w.actionFor(Command::KeyReference)->trigger();
    EXPECT_EQ(keys.title, QString::fromUtf8(keyReferenceTitle));
    for (const char* line : keyReferenceLines)
        EXPECT_TRUE(keys.texts.contains(QString::fromUtf8(line))) << line;
}

TEST(MainWindowCommands, AltSlashAndAltQuestionMarkOpenTheAboutBox) {
    MainWindow w;
    w.show();
    for (Qt::Key key : {Qt::Key_Slash, Qt::Key_Question}) {
        ModalCloser closer;
        closer.arm();
        QTest::keyClick(w.clientArea(), key, Qt::AltModifier);
        EXPECT_EQ(closer.title, QString::fromUtf8(aboutTitle));
    }
}

TEST(MainWindowInput, TypedCyrillicBecomesItsCodePageByte) {
    MainWindow w;
    w.show();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QString::fromUtf8("п"));
    QApplication::sendEvent(w.clientArea(), &press);
    EXPECT_EQ(w.editor().input.lastChar, 0xEF);
    QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
    QApplication::sendEvent(w.clientArea(), &comma);
    // Typed before a paint read the first, the comma waits for a paint of its own.
    EXPECT_EQ(w.editor().input.lastChar, 0xEF);
    ASSERT_EQ(w.editor().input.typedAhead.size(), 1u);
    EXPECT_EQ(w.editor().input.typedAhead.front(), ',');
}

TEST(MainWindowInput, HeldKeysFollowPressAndReleaseAndClearOnFocusLoss) {
    MainWindow w;
    w.show();
    QTest::keyPress(w.clientArea(), Qt::Key_Shift);
    EXPECT_TRUE(w.isHeld(HeldKey::Shift));
    QTest::keyRelease(w.clientArea(), Qt::Key_Shift);
    EXPECT_FALSE(w.isHeld(HeldKey::Shift));
    QTest::keyPress(w.clientArea(), Qt::Key_Left);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w.clientArea(), &out);
    EXPECT_FALSE(w.isHeld(HeldKey::Left)) << "no key stays stuck";
}

TEST(MainWindowInput, PointerAndButtonReachTheEditor) {
    MainWindow w;
    w.show();
    QTest::mousePress(w.clientArea(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 40));
    EXPECT_TRUE(w.editor().input.mouseDown);
    EXPECT_EQ(w.editor().input.mouseX, 120);
    EXPECT_EQ(w.editor().input.mouseY, 40);
    EXPECT_TRUE(w.isHeld(HeldKey::LeftButton));
    QTest::mouseRelease(w.clientArea(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 40));
    EXPECT_FALSE(w.editor().input.mouseDown);
    EXPECT_FALSE(w.isHeld(HeldKey::LeftButton));
}

TEST(MainWindowInput, AReleaseRightAfterAMoveStillDrawsTheStrokeToIt) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    MainWindow w;
    std::string error;
    ASSERT_TRUE(initEditor(w.editor(), error)) << error;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Editor& e = w.editor();
    e.shownMode = Mode::Painter;
    e.mode(Mode::Painter).width = e.mode(Mode::Painter).height = 40;
    e.mode(Mode::Painter).zoomIndex = 13;
    makeNewDocument(e, Mode::Painter);
    e.currentTool = Tool::Pencil;
    e.colour.currentColor = Color::rgb(200, 0, 0);
    w.clientArea()->repaint();
    const int scale = w.clientArea()->scale();
    const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
    auto at = [&](float x, float y) {
        return QPointF((p.imageLeft + x * p.zoom) / scale, (p.imageTop + y * p.zoom) / scale);
    };
    // Press, move and release as one burst, with no chance for a paint between them.
    QMouseEvent press(QEvent::MouseButtonPress, at(5.5f, 5.5f), at(5.5f, 5.5f), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, at(25.5f, 5.5f), at(25.5f, 5.5f), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at(25.5f, 5.5f), at(25.5f, 5.5f),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.clientArea(), &press);
    QApplication::sendEvent(w.clientArea(), &move);
    QApplication::sendEvent(w.clientArea(), &release);
    // The row the press fell on (the pointer may map to a neighbour of the one aimed at).
    const Bitmap& layer = e.picture()->currentLayer().image;
    int row = 4;
    while (row < 7 && layer.pixel(6, row) != Color::rgb(200, 0, 0))
        ++row;
    for (int x = 6; x <= 24; ++x)
        EXPECT_EQ(layer.pixel(x, row), Color::rgb(200, 0, 0)) << "x " << x << " row " << row;
}

TEST(MainWindowPaint, ResizeLaysOutAndThePaintShowsThePanels) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    MainWindow w;
    std::string error;
    ASSERT_TRUE(initEditor(w.editor(), error)) << error;
    w.show();
    w.resize(1000, 700 + w.menuBar()->height());
    QApplication::processEvents();
    ASSERT_EQ(w.clientArea()->height(), 700);
    EXPECT_EQ(w.editor().clientWidth, 1000);
    EXPECT_EQ(w.editor().panels.right.x, 780);
    w.clientArea()->repaint();
    const Bitmap& frame = w.clientArea()->backBuffer();
    ASSERT_EQ(frame.width(), 1000);
    EXPECT_EQ(frame.pixel(880, 100), Color::rgb(212, 208, 200));
    EXPECT_EQ(frame.pixel(300, 605), colors::black);
}
