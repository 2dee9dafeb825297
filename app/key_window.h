// TfrmKey, the window "仮名化の鍵" that the detail-settings window opens: the fingerprint of
// the user's pseudonym key (core/pseudonym_key.h), made on first use, and its export to a
// file, its import from one (so that the PCs of one clinic give the same pseudonyms) and
// the making of a new key. Every action works on the key file as it stands; nothing is
// cached.
#pragma once

#include <optional>
#include <string>

#include "gui/tool_window.h"

class QLabel;
class QPushButton;

namespace vask {

class TfrmKey : public ToolWindow {
    Q_OBJECT
public:
    // Shows a fresh key window modally; returns true when it has been closed.
    static bool DspSet(AppContext& context, QWidget* parent);

    TfrmKey(AppContext& context, QWidget* parent);

    void Button1Click();  // 鍵を書き出す…
    void Button2Click();  // 鍵を読み込む…
    void Button3Click();  // 新しい鍵を作る

protected:
    // Shows the fingerprint of the key, made when there is none.
    void InitSet() override;

private:
    void showKey(const std::optional<std::string>& key);

    QPushButton* BitBtn1 = nullptr;
    QLabel* Label1 = nullptr;  // the fingerprint
    QLabel* Label2 = nullptr;  // what the key is and how to keep it
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    std::optional<std::string> shown_;  // the key whose fingerprint Label1 shows
};

}  // namespace vask
