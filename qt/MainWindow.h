// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt desktop of the program: one top-level window with the main menu, whose client area
// shows the back buffer of every paint, and the Platform the program logic asks things of.
#include "app/WindowProcedure.h"
#include "ui/Editor.h"
#include "ui/Platform.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <initializer_list>
#include <memory>
#include <set>

namespace vork {

class ClientArea;

class MainWindow : public QMainWindow, public Platform {
  public:
    MainWindow();
    ~MainWindow() override;

    Editor& editor() { return editor_; }
    // Closes the window because a termination signal asked for it: nothing is asked of the
    // user, and a file that could not be written makes the exit status non-zero.
    void closeFromSignal();
    ClientArea* clientArea() { return client_; }
    // The id of every menu action, for the window and for tests.
    QAction* actionFor(Command id) const;

    // Platform
    uint32_t tickCount() override;
    bool isHeld(HeldKey key) override;
    void invalidate() override;
    void postCommand(Command id) override;
    void setTitle(const std::string& title) override;
    void messageBox(const std::string& caption, const std::string& text) override;
    void destroyWindow() override;
    std::optional<std::string> openFile(const FileChooser& c, std::string& rememberedName) override;
    std::optional<std::string> saveFile(const FileChooser& c, std::string& rememberedName) override;
    NewDocumentAnswer newDocumentDialog(Mode mode, int width, int height,
                                        const std::function<void(int, int)>& onPreset) override;
    void aboutBox() override;
    void keyReference() override;
    PictureSizeAnswer pictureSizeDialog(Mode mode, int width, int height) override;
    CanvasSizeAnswer canvasSizeDialog(Mode mode, int width, int height) override;
    MergeAnswer mergeDialog(int frameCount) override;
    ExportScaleAnswer exportScaleDialog(int width, int height, int scale,
                                        std::optional<int> padding) override;
    std::unique_ptr<ProgressWindow> beginProgress(const std::string& label) override;
    bool restoreDialog(const RestoreQuestion& question) override;

    // Held keys and buttons, kept from press and release events.
    void setHeld(HeldKey key, bool down);
    void clearHeld() { held_.clear(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenu();

    Editor editor_;
    ClientArea* client_ = nullptr;
    std::set<HeldKey> held_;
    bool destroyed_ = false;
    CloseCause closeCause_ = CloseCause::Window;
};

// The window icons, large and small.
QIcon programIcon();

// An icon of the given PNG pictures, each read as PNG without looking for its format: a picture
// whose format is looked for is shown to every image plugin first, loading them all, which
// would hold up the first frame. Pictures that cannot be read are left out.
QIcon iconOfPngs(std::initializer_list<const char*> names);

} // namespace vork
