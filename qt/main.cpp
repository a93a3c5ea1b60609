// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry. With arguments it runs the command line, without a window; without
// any, the window is created hidden, the resources are read, and only then is the window shown
// and the event loop run.
#include "app/CommandLine.h"
#include "app/DataLocation.h"
#include "app/Startup.h"
#include "app/WindowProcedure.h"
#include "commands/Autosave.h"
#include "commands/Restore.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QProxyStyle>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A termination request (logout, kill) closes the window like its close button does, so the
// settings and palettes are still written. The first signal puts both back to their default
// action, so a second one always ends the program, whatever the close is waiting for.
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(SIGTERM, &defaultAction, nullptr);
    sigaction(SIGINT, &defaultAction, nullptr);
    char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(terminationPipe[1], &byte, 1);
}

void closeOnTermination(vork::MainWindow& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        char byte;
        [[maybe_unused]] ssize_t n = ::read(terminationPipe[0], &byte, 1);
        notifier->setEnabled(false);
        window.closeFromSignal();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

constexpr const char* noDisplayLine =
    "vork: no display: the editor needs a window system (DISPLAY or WAYLAND_DISPLAY); "
    "the command line works without one: vork --help\n";

// What Qt says while it connects to the window system, kept until it is known whether it
// succeeded.
QStringList& startMessages() {
    static QStringList messages;
    return messages;
}

// Qt ends the program with an abort when it finds no window system to show the editor on; a
// user gets one line instead and the status 1. Without any display named and no platform
// chosen by hand it is said at once, otherwise when Qt gives up connecting.
bool displayNamed() {
    const auto named = [](const char* variable) {
        const char* v = std::getenv(variable);
        return v && *v;
    };
    if (!named("DISPLAY") && !named("WAYLAND_DISPLAY") && !named("QT_QPA_PLATFORM")) {
        std::fputs(noDisplayLine, stderr);
        return false;
    }
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtFatalMsg) {
                std::fputs(noDisplayLine, stderr);
                std::_Exit(1);
            }
            startMessages().append(qFormatLogMessage(type, context, message));
        });
    return true;
}

// The window system is there: what Qt said on the way is shown, and its messages go out as
// usual again.
void displayConnected() {
    qInstallMessageHandler(nullptr);
    for (const QString& line : startMessages())
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    startMessages().clear();
}

// The application's style, but for the arrow the menu bar keeps for items that do not fit: the
// style would find the format of its pictures by showing them to every image plugin, loading
// them all before the first frame, which needs none of them. The same pictures are read as PNG.
class MenuArrowStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton &&
            QGuiApplication::layoutDirection() == Qt::LeftToRight) {
            const QIcon icon = vork::iconOfPngs(
                {":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-8.png",
                 ":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-16.png",
                 ":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-32.png"});
            if (!icon.isNull())
                return icon;
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

// For start-up measurements (bench/startup_vs_qt.sh): with VORK_QUIT_AFTER_FIRST_FRAME=1 the
// program leaves its event loop once the client area has painted its first frame, as if the
// loop had ended; nothing is asked and nothing is saved.
void quitAfterFirstFrame(QApplication& app) {
    const char* v = std::getenv("VORK_QUIT_AFTER_FIRST_FRAME");
    if (!v || std::strcmp(v, "1") != 0)
        return;
    struct FirstFrame : QObject {
        using QObject::QObject;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint && dynamic_cast<vork::ClientArea*>(watched)) {
                QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
                qApp->removeEventFilter(this);
            }
            return false;
        }
    };
    app.installEventFilter(new FirstFrame(&app));
}

} // namespace

int main(int argc, char** argv) {
    const vork::CommandLine command =
        vork::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (command.action != vork::CommandLine::Action::RunEditor) {
        // File work decodes and paints images with Qt Gui, which needs an application; the
        // offscreen platform needs no display, so the command line runs without a window
        // system whatever the environment says.
        std::unique_ptr<QGuiApplication> gui;
        if (vork::needsImageLibrary(command)) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            // Failures are told on one line of their own; Qt's notes would only add noise.
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
            gui = std::make_unique<QGuiApplication>(argc, argv);
        }
        const auto progress =
            isatty(STDERR_FILENO) ? vork::ProgressLine::OnErr : vork::ProgressLine::Off;
        // A new document takes its palette from where the editor would find it.
        return vork::runCommandLine(command, std::cout, std::cerr, progress,
                                    vork::chooseDataFolder(vork::processEnvironment(argv[0])));
    }

    if (!displayNamed())
        return 1;
    QApplication app(argc, argv);
    displayConnected();
    QApplication::setApplicationName(QStringLiteral("VORK"));
    QApplication::setStyle(new MenuArrowStyle);
    vork::MainWindow window;
    window.editor().data = vork::startDataFolder(argv[0], std::cerr);
    std::string error;
    if (!vork::initEditor(window.editor(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    closeOnTermination(window);
    const std::string recovery = window.editor().data.state + "/recovery";
    if (!vork::openRecoveryFolder(window.editor(), recovery, error))
        std::cerr << "vork: копии несохранённых документов не будут сохраняться: папка " << recovery
                  << " недоступна: " << error << "\n";
    quitAfterFirstFrame(app);
    window.show();
    // Asked once the window is up, so the question shows over it; a file named on the command
    // line opens after that.
    QTimer::singleShot(0, &window, [&window, &command] {
        vork::offerRestore(window.editor());
        if (!command.openFile.empty())
            vork::openFileAtStart(window.editor(), command.openMode, command.openFile);
    });
    return QApplication::exec();
}
