// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/RestoreDialog.h"

#include "ui/RestoreText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vork {

namespace {

QLabel* plainLabel(QWidget* parent, const std::string& text, const QString& name) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(name);
    // File names may hold anything, "<" included: never let a line be taken for markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

void addButtons(QDialog* dialog, QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* yes =
        buttons->addButton(QString::fromUtf8(restoreYes), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8(restoreNo), QDialogButtonBox::RejectRole);
    yes->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace

std::unique_ptr<QDialog> makeRestoreDialog(QWidget* parent, const RestoreQuestion& question) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle(QString::fromUtf8(restoreTitle));
    auto* column = new QVBoxLayout(dialog.get());
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addWidget(plainLabel(dialog.get(), restoreQuestionText, QStringLiteral("question")));
    column->addSpacing(6);
    for (size_t i = 0; i < question.documents.size(); ++i)
        column->addWidget(plainLabel(dialog.get(), describeRecoveredDocument(question.documents[i]),
                                     QStringLiteral("document%1").arg(i + 1)));
    column->addSpacing(6);
    QLabel* note =
        plainLabel(dialog.get(), restoreDeclineNote(question.folder), QStringLiteral("note"));
    note->setWordWrap(true);
    column->addWidget(note);
    addButtons(dialog.get(), column);
    return dialog;
}

bool runRestoreDialog(QWidget* parent, const RestoreQuestion& question) {
    return makeRestoreDialog(parent, question)->exec() == QDialog::Accepted;
}

} // namespace vork
