// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/MainWindow.h"

#include "app/WindowProcedure.h"
#include "commands/Autosave.h"
#include "qt/ClientArea.h"
#include "qt/InfoDialogs.h"
#include "qt/NewDocumentDialog.h"
#include "qt/Progress.h"
#include "qt/RestoreDialog.h"
#include "qt/SizeDialogs.h"
#include "ui/Commands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <chrono>

// The icons live in the static vork_qt library; naming the initialiser keeps them linked in.
static void registerWindowIcons() {
    Q_INIT_RESOURCE(resources);
}

namespace vork {

namespace {
// The client size the window opens with: the smallest size at which every panel fits.
constexpr int initialClientWidth = 713;
constexpr int initialClientHeight = 494;
// How often the copies of unsaved documents are looked after between paints.
constexpr int autosaveTimerMilliseconds = 1000;

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString filterText(const FileChooser& c) {
    QStringList parts;
    // A filter lists its patterns separated by ";"; Qt separates them by spaces.
    for (const auto& [name, pattern] : c.filters)
        parts << QStringLiteral("%1 (%2)").arg(qs(name), qs(pattern).replace(u';', u' '));
    return parts.join(QStringLiteral(";;"));
}

QString startPath(const FileChooser& c, const std::string& remembered) {
    QString folder = qs(c.initialFolder);
    // A folder that does not exist would be taken for a file name: start in the current one.
    if (!QFileInfo(folder).isDir())
        folder = QDir::currentPath();
    if (remembered.empty())
        return folder;
    QFileInfo info(qs(remembered));
    return info.isAbsolute() ? info.filePath() : QDir(folder).filePath(info.fileName());
}
} // namespace

QIcon iconOfPngs(std::initializer_list<const char*> names) {
    QIcon icon;
    for (const char* name : names) {
        QImageReader reader(QString::fromLatin1(name), QByteArrayLiteral("png"));
        reader.setAutoDetectImageFormat(false);
        if (const QImage image = reader.read(); !image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QIcon programIcon() {
    registerWindowIcons();
    return iconOfPngs({":/icons/vork32.png", ":/icons/vork16.png"});
}

MainWindow::MainWindow() : editor_(*this) {
    setWindowTitle(QStringLiteral("vork"));
    setObjectName(QStringLiteral("VORK"));
    setWindowIcon(programIcon());
    buildMenu();
    client_ = new ClientArea(*this);
    setCentralWidget(client_);
    const QSize clientSize = client_->sizeFor(initialClientWidth, initialClientHeight);
    client_->resize(clientSize);
    resize(clientSize.width(), clientSize.height() + menuBar()->sizeHint().height());
    editor_.clientWidth = initialClientWidth;
    editor_.clientHeight = initialClientHeight;
    // Copies of unsaved documents fall due while nothing is painted too.
    auto* autosaveTimer = new QTimer(this);
    QObject::connect(autosaveTimer, &QTimer::timeout, this, [this] { autosaveTick(editor_); });
    autosaveTimer->start(autosaveTimerMilliseconds);
}

MainWindow::~MainWindow() {
    // The client area reports to this window while it goes (focus changes): let it go first.
    delete client_;
    client_ = nullptr;
}

void MainWindow::buildMenu() {
    for (const MenuPopup& popup : mainMenu) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        for (int i = 0; i < popup.count; ++i) {
            const MenuItem& item = popup.items[i];
            if (item.separator()) {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(QString::fromUtf8(item.text));
            a->setData(int(item.id));
            const Command id = item.id;
            QObject::connect(a, &QAction::triggered, this, [this, id] { onCommand(editor_, id); });
        }
    }
}

QAction* MainWindow::actionFor(Command id) const {
    for (QAction* top : menuBar()->actions())
        if (QMenu* m = top->menu())
            for (QAction* a : m->actions())
                if (!a->isSeparator() && a->data().toInt() == int(id))
                    return a;
    return nullptr;
}

uint32_t MainWindow::tickCount() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool MainWindow::isHeld(HeldKey key) {
    return held_.count(key) != 0;
}

void MainWindow::setHeld(HeldKey key, bool down) {
    if (down)
        held_.insert(key);
    else
        held_.erase(key);
}

void MainWindow::invalidate() {
    if (client_)
        client_->update();
}

void MainWindow::postCommand(Command id) {
    QTimer::singleShot(0, this, [this, id] { onCommand(editor_, id); });
}

void MainWindow::setTitle(const std::string& title) {
    setWindowTitle(qs(title));
}

void MainWindow::messageBox(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, qs(caption), qs(text), QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::destroyWindow() {
    close();
}

void MainWindow::closeFromSignal() {
    closeCause_ = CloseCause::Signal;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    int status = 0;
    if (!destroyed_) {
        destroyed_ = true;
        // Closed by a signal, a file that could not be written is told by the exit status (and
        // on standard error); closed by the user, by its message box.
        const bool written = onDestroy(editor_, closeCause_);
        if (!written && closeCause_ == CloseCause::Signal)
            status = 1;
    }
    event->accept();
    QApplication::exit(status);
}

namespace {

// A chosen file's name as the bytes the system knows it by, which need not be valid UTF-8.
std::string fileNameBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

std::optional<std::string> MainWindow::openFile(const FileChooser& c, std::string& remembered) {
    QString path =
        QFileDialog::getOpenFileName(this, qs(c.title), startPath(c, remembered), filterText(c));
    if (path.isEmpty())
        return std::nullopt;
    remembered = QFileInfo(path).fileName().toStdString();
    return fileNameBytes(path);
}

std::optional<std::string> MainWindow::saveFile(const FileChooser& c, std::string& remembered) {
    QFileDialog dialog(this, qs(c.title), startPath(c, remembered), filterText(c));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without extension is checked for overwriting with the one it will get.
    if (c.defaultExtension.size() > 1)
        dialog.setDefaultSuffix(qs(c.defaultExtension.substr(1)));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !c.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    const QString selected = dialog.selectedNameFilter();
    if (path.isEmpty())
        return std::nullopt;
    if (c.chosenFilter)
        *c.chosenFilter =
            std::max(0, int(filterText(c).split(QStringLiteral(";;")).indexOf(selected)));
    // The caller puts the format's own extension on the name.
    remembered = QFileInfo(path).fileName().toStdString();
    return fileNameBytes(path);
}

NewDocumentAnswer MainWindow::newDocumentDialog(Mode mode, int width, int height,
                                                const std::function<void(int, int)>& onPreset) {
    return runNewDocumentDialog(this, mode, width, height, onPreset);
}

void MainWindow::aboutBox() {
    runAboutBox(this);
}
void MainWindow::keyReference() {
    runKeyReference(this);
}

PictureSizeAnswer MainWindow::pictureSizeDialog(Mode mode, int width, int height) {
    return runPictureSizeDialog(this, mode, width, height);
}
CanvasSizeAnswer MainWindow::canvasSizeDialog(Mode mode, int width, int height) {
    return runCanvasSizeDialog(this, mode, width, height);
}
MergeAnswer MainWindow::mergeDialog(int frameCount) {
    return runMergeDialog(this, frameCount);
}

ExportScaleAnswer MainWindow::exportScaleDialog(int width, int height, int scale,
                                                std::optional<int> padding) {
    return runExportScaleDialog(this, width, height, scale, padding);
}

std::unique_ptr<ProgressWindow> MainWindow::beginProgress(const std::string& label) {
    return std::make_unique<QtProgressWindow>(this, qs(label));
}

bool MainWindow::restoreDialog(const RestoreQuestion& question) {
    return runRestoreDialog(this, question);
}

} // namespace vork
