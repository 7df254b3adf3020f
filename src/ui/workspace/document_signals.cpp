// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_signals.h"

#include <QPointer>

namespace zelbrook {

// The document keeps its observers for good, so they hold the adapter
// through a guard and fall silent should it go first.
DocumentSignals::DocumentSignals(AnimationDocument &document, QObject *parent)
    : QObject(parent)
    , m_document(document)
{
    const QPointer<DocumentSignals> self(this);
    m_document.addObserver([self](const FigureChange &change) {
        if (self)
            emit self->figureChanged(change);
    });
    m_document.addAnimationObserver([self](const AnimationChange &change) {
        if (self)
            emit self->animationChanged(change);
    });
    m_document.addKeyFigureObserver([self](std::size_t key) {
        if (self)
            emit self->animationChanged({AnimationChange::What::KeyFigure, key});
    });
}

} // namespace zelbrook
