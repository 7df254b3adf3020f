// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zelbrook {

// The application's message: modal, with its text, an OK button only, no
// icon and the title "Zelbrook".
class MessageBox
{
public:
    // Shows a message and returns when the user has confirmed it.
    using Presenter = std::function<void(const QString &text)>;

    static QString title();
    // Shows the message box over parent and waits for OK. The text is shown
    // as it is, never read as markup, so a path with "<" in it stays whole.
    static void show(QWidget *parent, const QString &text);
    // A presenter that shows the real box over parent.
    static Presenter presenterFor(QWidget *parent);
};

} // namespace zelbrook
