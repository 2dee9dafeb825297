// Window tests: scripted dialogs, a fixture with its own program and Downloads folders,
// and a way to act inside the modal window that a handler opens.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "gui/app_context.h"
#include "gui/qt_text.h"

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace vask::test {

// A Dialogs implementation that answers from scripts and records what it was asked.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Information, Warning, Confirm, Error, OpenFile, ChooseFolder, SaveFile };
    struct Shown {
        Kind kind;
        QString text;
        DefaultAnswer preset = DefaultAnswer::Yes;  // of a question: the answer Enter gives
    };

    std::deque<bool> confirmAnswers;                   // empty: No
    std::deque<std::optional<QString>> fileAnswers;    // empty: cancelled
    std::deque<std::optional<QString>> folderAnswers;  // empty: cancelled
    std::deque<std::optional<QString>> saveAnswers;    // empty: cancelled
    std::vector<Shown> shown;

    void information(QWidget*, const QString& text) override { note(Kind::Information, text); }
    void warning(QWidget*, const QString& text) override { note(Kind::Warning, text); }
    bool confirm(QWidget*, const QString& text, DefaultAnswer preset = DefaultAnswer::Yes) override;
    void error(QWidget*, const QString& text) override { note(Kind::Error, text); }
    std::optional<QString> openFile(QWidget*, const QString& startFile) override;
    std::optional<QString> saveFile(QWidget*, const QString& startFile) override;
    std::optional<QString> chooseFolder(QWidget*, const QString& prompt, const QString& startFolder) override;

    // The texts shown with one kind, in order.
    std::vector<QString> texts(Kind kind) const;
    QString lastStartFile;
    QString lastStartFolder;

private:
    // Records what is shown; a dialog under the busy cursor fails the test (a run restores
    // the cursor before it shows its outcome).
    void note(Kind kind, const QString& text);
};

class GuiTest : public ::testing::Test {
protected:
    GuiTest();
    // Fails the test when a window that whenModal waited for never opened, and stops the
    // waiting, so that no timer outlives its test.
    void TearDown() override;
    Settings settings() const { return context.settings(); }

    TempDir programFolder;
    TempDir downloads;
    TempDir userFolder;  // holds the user's settings folder, with the pseudonym key
    ScriptedDialogs dialogs;
    AppContext context;
    std::vector<QString> openedDocuments;
    bool documentsOpen = true;  // what the shell answers when asked to open a document
};

// Runs `action` on the next modal window that opens (polling the event loop), so that a
// test can press the buttons of a window that a handler shows with exec(). A window that
// never opens fails the test when it ends (GuiTest::TearDown).
void whenModal(std::function<void(QWidget*)> action);
// Stops every whenModal still waiting; returns how many there were.
size_t dropPendingModals();

// Opens a modal window with `open` (a DspSet call or a button click), runs `steps` in it
// and closes it again when it has not closed itself. Fails the test when `open` returns
// without a modal window having opened.
void inModal(const std::function<void()>& open, std::function<void(QWidget*)> steps);

template <typename T = QWidget>
T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control " << name << " in " << window->objectName().toStdString();
    return found;
}

void click(QWidget* window, const char* buttonName);
void setText(QWidget* window, const char* editName, const QString& text);
QString text(QWidget* window, const char* editName);

// Drags `urls` onto `target` the way the file manager does (enter, then drop only when the
// enter was accepted); true when the drop was accepted.
bool dropUrls(QWidget* target, const QList<QUrl>& urls);
// Drops local files; `target` is a window and `name` one of its controls, or null for the
// window itself.
bool dropFiles(QWidget* target, const std::vector<std::filesystem::path>& files, const char* name = nullptr);

// The warning lines of a result window, in the order they stand.
std::vector<QString> warningLines(QWidget* resultWindow);

// The control that has the focus once `window` is shown.
QWidget* focusOnShow(QWidget* window);

}  // namespace vask::test
