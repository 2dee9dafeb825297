#include "gui_test_support.h"

#include <QTimer>

#include "app/qt_text.h"
#include "platform/paths.h"

namespace vask::test {

bool ScriptedDialogs::confirm(QWidget*, const QString& text) {
    shown.push_back({Kind::Confirm, text});
    if (confirmAnswers.empty()) return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const QString& startFile) {
    shown.push_back({Kind::OpenFile, QString()});
    lastStartFile = startFile;
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::chooseFolder(QWidget*, const QString& prompt, const QString& startFolder) {
    shown.push_back({Kind::ChooseFolder, prompt});
    lastStartFolder = startFolder;
    if (folderAnswers.empty()) return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::vector<QString> ScriptedDialogs::texts(Kind kind) const {
    std::vector<QString> found;
    for (const auto& s : shown) {
        if (s.kind == kind) found.push_back(s.text);
    }
    return found;
}

GuiTest::GuiTest() {
    context.programFolder = programFolder.path();
    context.dialogs = &dialogs;
    context.downloadsFolder = [this] { return downloads.path(); };
    context.openDocument = [this](const QString& document) { openedDocuments.push_back(document); };
}

void whenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

void inModal(const std::function<void()>& open, std::function<void(QWidget*)> steps) {
    whenModal([steps = std::move(steps)](QWidget* window) {
        steps(window);
        if (window->isVisible()) window->close();
    });
    open();
}

void click(QWidget* window, const char* buttonName) {
    if (auto* button = child<QAbstractButton>(window, buttonName)) button->click();
}

void setText(QWidget* window, const char* editName, const QString& value) {
    if (auto* edit = child<QLineEdit>(window, editName)) edit->setText(value);
}

QString text(QWidget* window, const char* editName) {
    auto* edit = child<QLineEdit>(window, editName);
    return edit ? edit->text() : QString();
}

QString qstr(const std::filesystem::path& path) { return qs(fromPath(path)); }

}  // namespace vask::test
