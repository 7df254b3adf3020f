// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QObject>

namespace zelbrook {

// The document's changes as Qt signals, for the workspace's views: one
// adapter a document, made with it and living as long as it, holds the
// document's only observers of the workspace, so that a view that closes
// is disconnected by Qt and no callback outlives the view it calls.
class DocumentSignals : public QObject
{
    Q_OBJECT

public:
    explicit DocumentSignals(AnimationDocument &document, QObject *parent = nullptr);

    AnimationDocument &document() const { return m_document; }

signals:
    // The current figure changed, as the document's observers are told.
    void figureChanged(const zelbrook::FigureChange &change);
    // The animation changed besides the current figure, or another key or
    // figure became current.
    void animationChanged(const zelbrook::AnimationChange &change);

private:
    AnimationDocument &m_document;
};

} // namespace zelbrook
