#include "gui/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/qt_text.h"

namespace vask {

void QtDialogs::information(QWidget* parent, const QString& text) { QMessageBox::information(parent, kAppTitle, text); }

void QtDialogs::warning(QWidget* parent, const QString& text) { QMessageBox::warning(parent, kAppTitle, text); }

bool QtDialogs::confirm(QWidget* parent, const QString& text, DefaultAnswer preset) {
    const auto defaultButton = preset == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes;
    return QMessageBox::question(parent, kAppTitle, text, QMessageBox::Yes | QMessageBox::No, defaultButton) ==
           QMessageBox::Yes;
}

void QtDialogs::error(QWidget* parent, const QString& text) { QMessageBox::critical(parent, kAppTitle, text); }

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& startFile) {
    const QString file = QFileDialog::getOpenFileName(parent, QString(), startFile);
    if (file.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(file);
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const QString& startFile) {
    const QString file = QFileDialog::getSaveFileName(parent, QString(), startFile);
    if (file.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(file);
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* parent, const QString& prompt, const QString& startFolder) {
    const QString folder = QFileDialog::getExistingDirectory(parent, prompt, startFolder);
    if (folder.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

}  // namespace vask
