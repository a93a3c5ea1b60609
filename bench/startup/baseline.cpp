// SPDX-License-Identifier: GPL-3.0-or-later
// The baselines of bench/startup_vs_qt.sh: a Qt window of the editor's size that quits once it
// has painted its first frame.
//   startup_baseline                a minimal window that fills itself
//   startup_baseline --full PNG     one that first loads every image plugin, the font list and
//                                   the PNG, and paints the picture and a line of text
#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstring>

namespace {

class Window : public QWidget {
  public:
    explicit Window(QImage picture) : picture_(std::move(picture)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(212, 208, 200));
        if (!picture_.isNull()) {
            p.drawImage(0, 0, picture_);
            p.drawText(10, picture_.height() + 20, QStringLiteral("Кисть, ластик, заливка"));
        }
        if (!painted_)
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        painted_ = true;
    }

  private:
    QImage picture_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QImage picture;
    if (argc > 2 && std::strcmp(argv[1], "--full") == 0) {
        const auto formats = QImageReader::supportedImageFormats(); // loads every image plugin
        const auto families = QFontDatabase::families();
        picture = QImage(QString::fromLocal8Bit(argv[2]));
        if (formats.isEmpty() || families.isEmpty() || picture.isNull())
            return 1;
    }
    Window window(picture);
    window.resize(713, 494 + 25); // the editor's first client area and a menu bar
    window.show();
    return QApplication::exec();
}
