// Small building blocks shared by the windows.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QStringList>

#include <utility>

class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

namespace vask {

// A group of radio buttons in columns, with the selected item as an index (-1 for none).
// `changed` fires whenever the selection changes, by the user or by the program.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, int columns,
               QWidget* parent);
    int itemIndex() const;
    void setItemIndex(int index);
    // Selects without firing `changed` (the state a window is designed with).
    void setInitialIndex(int index);
    QAbstractButton* item(int index) const { return group_.button(index); }

signals:
    void changed(int index);

private:
    QButtonGroup group_;
};

// The standard close button ("閉じる(&C)"), named BitBtn1, that closes `window`.
QPushButton* makeCloseButton(QWidget* window, int x, int y, int width = 88, int height = 28);

// A push button that Enter presses when it has the focus.
QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption, int x, int y, int width,
                        int height);

// A label at (x, y); a width of -1 makes it as wide as its caption.
QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& caption, int x, int y, int width = -1);
// An edit box (the path boxes of every window): text too long for the box is shown whole
// as the box's tooltip.
QLineEdit* makeEdit(QWidget* parent, const QString& objectName, int x, int y, int width, int height = 24);

// A window with a close box only (no minimise or maximise box), of the given client area.
void setUpFixedWindow(QWidget* window, const QString& caption, int clientWidth, int clientHeight);

// What every window's DspSet does: make a fresh window, show it modally, return true when
// it has been closed (the window is gone with it).
template <typename Window, typename... Args>
bool showFreshModal(Args&&... args) {
    Window window(std::forward<Args>(args)...);
    window.exec();
    return true;
}

// Places a window in the middle of the screen it is on.
void centerOnScreen(QWidget* window);

}  // namespace vask
