// Every message box and file or folder dialog of the program goes through Dialogs. The Qt
// implementation shows real dialogs; tests plug in a scripted one, so that no test ever
// waits for a person.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace vask {

// Caption of the program's message boxes.
inline const QString kAppTitle = QStringLiteral("ヴァスク");

// The answer of a question that Enter gives, the button that has the focus when it opens.
enum class DefaultAnswer { Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // Yes/No question; true for Yes. A question whose Yes cannot be undone (saving files
    // that a check found values in) presets No, so that a stray Enter does not answer Yes.
    virtual bool confirm(QWidget* parent, const QString& text, DefaultAnswer preset = DefaultAnswer::Yes) = 0;
    // The general error message box: stop icon, OK.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // File-open dialog without filter or title; the chosen file, or nothing when cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& startFile) = 0;
    // File-save dialog without filter or title, starting at `startFile`; it asks before
    // replacing a file. The chosen file, or nothing when cancelled.
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& startFile) = 0;
    // Folder-selection dialog; the chosen folder (no trailing separator), or nothing.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& prompt, const QString& startFolder) = 0;
};

class QtDialogs : public Dialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text, DefaultAnswer preset = DefaultAnswer::Yes) override;
    void error(QWidget* parent, const QString& text) override;
    std::optional<QString> openFile(QWidget* parent, const QString& startFile) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& startFile) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& prompt, const QString& startFolder) override;
};

}  // namespace vask
