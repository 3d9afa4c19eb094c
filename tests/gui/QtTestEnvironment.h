#pragma once
// The Qt side of the window tests: one application on the offscreen
// platform, and ways to answer the modal windows a flow opens.
#include "tests/gui/WaitFor.h"

#include <QApplication>
#include <QString>

#include <functional>

namespace morvane::test {

// Answers the modal windows that open next, one after the other, each by
// clicking the button with the given text (mnemonics ignored). What each
// window said (a message box's text, else the window's name) goes to seen.
void answerModals(const QStringList& buttons, QStringList* seen = nullptr);

} // namespace morvane::test
