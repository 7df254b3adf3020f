// SPDX-License-Identifier: GPL-3.0-or-later
#include "refusals.h"

#include <QApplication>
#include <QMetaMethod>

namespace zelbrook {

Refusals &Refusals::instance()
{
    static Refusals refusals;
    return refusals;
}

void Refusals::refuse(const QString &why)
{
    Refusals &refusals = instance();
    // The model's reasons are sentences' middles: "an animation keeps ...".
    QString sentence = why;
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    if (refusals.isSignalConnected(QMetaMethod::fromSignal(&Refusals::refused)))
        emit refusals.refused(sentence);
    else
        QApplication::beep();
}

} // namespace zelbrook
