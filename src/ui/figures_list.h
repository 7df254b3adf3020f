// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QListView>

namespace zelbrook {

class FiguresModel;

// The animation's cast, a view of the figures' model: one line a figure in
// drawing order, back to front, a swatch of its colour and its name, the
// current figure selected, the figures the current key lacks greyed. A click
// makes a figure current where the current key holds it; a double-click
// renames any figure, as one step, and a name the cast cannot take is
// refused with its reason. The menu of a greyed figure brings it back into
// the current key.
class FiguresList : public QListView
{
    Q_OBJECT

public:
    explicit FiguresList(AnimationDocument &document, QWidget *parent = nullptr);

    FiguresModel &figures() const { return *m_model; }

signals:
    // A name was refused, for this reason.
    void refused(const QString &why);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void commitData(QWidget *editor) override;

private:
    // Selects the current figure's line.
    void showCurrent();
    void choose(const QModelIndex &index);

    AnimationDocument &m_document;
    FiguresModel *m_model;
    // Set while the list selects a line of its own accord.
    bool m_following = false;
};

} // namespace zelbrook
