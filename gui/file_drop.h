// Dropping files from the file manager onto a window: only local files are taken, each as
// its full path with the separators the file dialog gives; any other drop is refused.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QLineEdit;
class QWidget;

namespace vask {

// Called with the dropped files' full paths, in the order they were dropped.
using FileDropHandler = std::function<void(const QStringList& files)>;

// Lets `widget` take drops of local files and hands them to `handler`. With `singleFile`,
// a drop of more than one file is refused as well. A refused drop goes on to the widget's
// parents, as every drop does that a widget refuses.
void acceptFileDrops(QWidget* widget, FileDropHandler handler, bool singleFile = false);

// Lets `widget` take the drop of one local folder and hands `handler` its full path, with
// the platform's separators and no trailing one; files and several folders are refused.
void acceptFolderDrop(QWidget* widget, std::function<void(const QString& folder)> handler);

// A path box: the full path of a single dropped file replaces its text; a drop of several
// files goes on to the window.
void acceptPathDrop(QLineEdit* box);

}  // namespace vask
