// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QListWidget>

namespace zelbrook {

// The animation's cast, one line a figure in drawing order, back to front:
// a swatch of its colour and its name, the current figure selected, the
// figures the current key lacks greyed. A click makes a figure current where
// the current key holds it; a double-click renames any figure, as one step,
// and a name the cast cannot take is refused with its reason. The menu of a greyed
// figure brings it back into the current key.
class FiguresList : public QListWidget
{
    Q_OBJECT

public:
    explicit FiguresList(AnimationDocument &document, QWidget *parent = nullptr);

    // The figure a line stands for.
    static FigureId figureOf(const QListWidgetItem *item);

signals:
    // A name was refused, for this reason.
    void refused(const QString &why);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void follow();
    void choose(QListWidgetItem *item);
    void rename(QListWidgetItem *item);

    AnimationDocument &m_document;
    // Set while the list writes its own lines.
    bool m_following = false;
};

} // namespace zelbrook
