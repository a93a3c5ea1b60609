// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/InfoDialogs.h"

#include "ui/KeyReference.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The icons are compiled into the static vork_qt library; nothing else refers to that object,
// so the linker would drop it unless its initialiser is named. Registering twice is harmless.
// (Q_INIT_RESOURCE declares a global function, hence outside the namespace.)
static void registerIconResources() {
    Q_INIT_RESOURCE(resources);
}

namespace vork {
namespace {

constexpr int aboutIconSide = 32;

std::unique_ptr<QDialog> makeInfoDialog(QWidget* parent, const char* title) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle(QString::fromUtf8(title));
    return dialog;
}

// The one button of both dialogs; Escape already rejects a QDialog, which closes it as well.
void addOkButton(QDialog* dialog, QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog] { dialog->accept(); });
    layout->addWidget(buttons);
}

QLabel* makeTextLabel(QWidget* parent, const char* text, const char* name) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    // The key reference has lines such as "<  , >": never let them be taken for markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

std::unique_ptr<QDialog> makeAboutBox(QWidget* parent) {
    auto dialog = makeInfoDialog(parent, aboutTitle);
    auto* column = new QVBoxLayout(dialog.get());
    column->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    column->addLayout(row);

    // Without the icon resource the place at the left simply stays empty.
    registerIconResources();
    const QPixmap icon =
        QIcon(QStringLiteral(":/icons/vork32.png")).pixmap(aboutIconSide, aboutIconSide);
    if (!icon.isNull()) {
        auto* iconLabel = new QLabel(dialog.get());
        iconLabel->setObjectName(QStringLiteral("icon"));
        iconLabel->setPixmap(icon);
        row->addWidget(iconLabel, 0, Qt::AlignTop);
        row->addSpacing(12);
    }
    QLabel* version = makeTextLabel(dialog.get(), aboutVersionLine, "version");
    version->setMinimumWidth(200); // a box of its own, not a button under a word
    row->addWidget(version, 1);
    column->addSpacing(8);

    addOkButton(dialog.get(), column);
    return dialog;
}

std::unique_ptr<QDialog> makeKeyReference(QWidget* parent) {
    auto dialog = makeInfoDialog(parent, keyReferenceTitle);
    auto* column = new QVBoxLayout(dialog.get());
    column->setSizeConstraint(QLayout::SetFixedSize);
    for (std::size_t i = 0; i < keyReferenceLines.size(); ++i) {
        const QByteArray name = "line" + QByteArray::number(static_cast<int>(i + 1));
        column->addWidget(makeTextLabel(dialog.get(), keyReferenceLines[i], name.constData()));
    }
    addOkButton(dialog.get(), column);
    return dialog;
}

void runAboutBox(QWidget* parent) {
    makeAboutBox(parent)->exec();
}

void runKeyReference(QWidget* parent) {
    makeKeyReference(parent)->exec();
}

} // namespace vork
