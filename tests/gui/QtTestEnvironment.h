#pragma once
// The Qt side of the window tests: one application on the offscreen
// platform, and ways to answer the modal windows a flow opens.
#include "tests/gui/WaitFor.h"
#include "tests/support/TempDir.h"

#include <sys/stat.h>

#include <QApplication>
#include <QString>

#include <functional>

namespace morvane::test {

// Answers the modal windows that open next, one after the other, each by
// clicking the button with the given text (mnemonics ignored). What each
// window said (a message box's text, else the window's name) goes to seen.
void answerModals(const QStringList& buttons, QStringList* seen = nullptr);

// A runtime folder of the test's own (XDG_RUNTIME_DIR), where window instances meet.
struct RuntimeFolder {
    TempDir folder{"runtime"};
    QByteArray before = qgetenv("XDG_RUNTIME_DIR");
    RuntimeFolder() {
        chmod(folder.path().c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder.path()));
    }
    ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", before); }
};

} // namespace morvane::test
