// TfrmMain, the main window "VELTサポートツール": the two claims files, the claims tools,
// the branch-removal mode and the doors to the other windows.
#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <string_view>

#include "claims/claims_file.h"
#include "gui/app_context.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vask::claims {
class WrittenFilesCheck;
}

namespace vask {

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(AppContext& context, QWidget* parent = nullptr);

    // Stored results of the claims tools, shown by the result window; emptied when a claims
    // button is pressed, so that they hold only what that press made.
    std::u16string gstMsg;
    std::u16string gstFile1;
    std::u16string gstFile2;

    void InitSet();
    void ComboBox1Change();
    void Button3Click();  // chooses the two claims files
    void Button1Click();  // anonymises both claims files
    void Button2Click();  // removes the branch numbers of both claims files
    void Button4Click();  // opens the detail-settings window
    void Button6Click();  // opens the option window
    void Button5Click();  // opens the manual
    // Asks the shell to open a document or address; false when nothing could open it.
    bool GoToURL(const QString& docName);

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose: stores the mode as CB1

private:
    void createControls();
    void acceptDrops();
    void runOnBothClaimsFiles(const claims::ClaimsTool& tool, claims::WrittenFilesCheck& check);

    AppContext& context_;
    QPushButton* Button5 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button6 = nullptr;
    QLabel* Label8 = nullptr;
};

}  // namespace vask
