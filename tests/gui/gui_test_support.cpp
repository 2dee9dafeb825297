#include "gui_test_support.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>

#include "gui/qt_text.h"
#include "platform/paths.h"

namespace vask::test {

void ScriptedDialogs::note(Kind kind, const QString& text) {
    if (QApplication::overrideCursor()) ADD_FAILURE() << "shown under the busy cursor: " << text.toStdString();
    shown.push_back({kind, text});
}

bool ScriptedDialogs::confirm(QWidget*, const QString& text, DefaultAnswer preset) {
    note(Kind::Confirm, text);
    shown.back().preset = preset;
    if (confirmAnswers.empty()) return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const QString& startFile) {
    note(Kind::OpenFile, QString());
    lastStartFile = startFile;
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget*, const QString& startFile) {
    note(Kind::SaveFile, QString());
    lastStartFile = startFile;
    if (saveAnswers.empty()) return std::nullopt;
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::chooseFolder(QWidget*, const QString& prompt, const QString& startFolder) {
    note(Kind::ChooseFolder, prompt);
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

void GuiTest::TearDown() {
    if (const size_t pending = dropPendingModals()) {
        ADD_FAILURE() << pending << " modal window(s) that the test waited for never opened";
    }
}

GuiTest::GuiTest() {
    context.programFolder = programFolder.path();
    context.dialogs = &dialogs;
    context.downloadsFolder = [this] { return downloads.path(); };
    context.keyFolder = userFolder / "vask";  // made with the first key
    context.openDocument = [this](const QString& document) {
        openedDocuments.push_back(document);
        return documentsOpen;
    };
}

namespace {

// The polling timers of whenModal whose window has not opened yet.
std::vector<QTimer*>& pendingModals() {
    static std::vector<QTimer*> timers;
    return timers;
}

}  // namespace

void whenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    pendingModals().push_back(timer);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        std::erase(pendingModals(), timer);
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

size_t dropPendingModals() {
    const size_t count = pendingModals().size();
    for (QTimer* timer : pendingModals()) delete timer;
    pendingModals().clear();
    return count;
}

void inModal(const std::function<void()>& open, std::function<void(QWidget*)> steps) {
    bool opened = false;
    whenModal([&opened, steps = std::move(steps)](QWidget* window) {
        opened = true;
        steps(window);
        if (window->isVisible()) window->close();
    });
    open();
    if (!opened) {
        dropPendingModals();
        ADD_FAILURE() << "the modal window that the test acts in never opened";
    }
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

bool dropUrls(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

bool dropFiles(QWidget* target, const std::vector<std::filesystem::path>& files, const char* name) {
    QList<QUrl> urls;
    for (const auto& file : files) urls.append(QUrl::fromLocalFile(qsPath(file)));
    QWidget* onto = name ? child(target, name) : target;
    return onto && dropUrls(onto, urls);
}

std::vector<QString> warningLines(QWidget* resultWindow) {
    std::vector<QString> lines;
    for (int i = 1;; ++i) {
        const auto* line = resultWindow->findChild<QLabel*>(QStringLiteral("Warning") + QString::number(i));
        if (!line) return lines;
        lines.push_back(line->toolTip().isEmpty() ? line->text() : line->toolTip());
    }
}

QWidget* focusOnShow(QWidget* window) {
    window->show();
    QApplication::processEvents();
    return window->focusWidget();
}

}  // namespace vask::test
