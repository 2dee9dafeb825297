#include "gui/widgets.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

namespace vask {
namespace {

// Whether a box shows the whole of its text: the room is the box less its frame, its text
// margins and the line edit's own margin of 2 pixels on either side of the text.
bool textFits(const QLineEdit& edit) {
    constexpr int kInnerMargin = 2;
    const int frame = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) : 0;
    const QMargins margins = edit.textMargins();
    const int room = edit.width() - 2 * (frame + kInnerMargin) - margins.left() - margins.right();
    return edit.fontMetrics().horizontalAdvance(edit.text()) <= room;
}

// A box whose text is cut (a long path) shows the whole text as its tooltip.
void showWholeTextWhenCut(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit] { edit->setToolTip(textFits(*edit) ? QString() : edit->text()); });
}

}  // namespace

RadioGroup::RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent) {
    setObjectName(objectName);
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + QStringLiteral("_") + QString::number(i));
        group_.addButton(button, i);
        layout->addWidget(button, i / columns, i % columns);
    }
    connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit changed(id);
    });
}

int RadioGroup::itemIndex() const { return group_.checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* button = group_.button(index)) button->setChecked(true);
}

void RadioGroup::setInitialIndex(int index) {
    const QSignalBlocker blocker(&group_);
    setItemIndex(index);
}

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption, int x, int y, int width,
                        int height) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setGeometry(x, y, width, height);
    // As on Windows, Enter presses the focused button (a window's default button, its run
    // button, when the focus is in a box).
    button->setAutoDefault(true);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& caption, int x, int y, int width) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->move(x, y);
    if (width < 0) {
        label->adjustSize();
    } else {
        label->resize(width, 18);
    }
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const QString& objectName, int x, int y, int width, int height) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setGeometry(x, y, width, height);
    showWholeTextWhenCut(edit);
    return edit;
}

QPushButton* makeCloseButton(QWidget* window, int x, int y, int width, int height) {
    QPushButton* button =
        makeButton(window, QStringLiteral("BitBtn1"), QStringLiteral("閉じる(&C)"), x, y, width, height);
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
    return button;
}

void setUpFixedWindow(QWidget* window, const QString& caption, int clientWidth, int clientHeight) {
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    window->setFixedSize(clientWidth, clientHeight);
}

void centerOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - window->rect().center());
}

}  // namespace vask
