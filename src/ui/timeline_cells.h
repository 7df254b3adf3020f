// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "key_pictures.h"
#include "key_selection.h"

#include "model/animation_document.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace zelbrook {

// The row of keys: one cell a key with a small picture of its figure, the
// current one framed (the one being played, while the animation plays), and
// between two cells the number of in-betweens; after the last cell the
// number of those that lead back to the first, when the animation loops. A
// picture is drawn again only when its own key changes. A click on a cell
// makes its key current; so do Left and Right, and Home and End. With Shift
// they select the run of keys from the one last chosen without it to the
// new current key; the run is shaded. The row keeps the keys of its
// commands (copy, paste and the like) for itself while it has the focus,
// and offers the commands in its context menu.
class TimelineCells : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCellWidth = 64;
    static constexpr int kCellHeight = 52;
    static constexpr int kGap = 30;

    explicit TimelineCells(AnimationDocument &document, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    // The cell under a point, or -1.
    int keyAt(const QPoint &point) const;
    QRect cellRect(std::size_t key) const;
    // How many key pictures have been drawn so far.
    int picturesDrawn() const { return m_pictures.drawn(); }
    // The key being played, framed instead of the current one; none when
    // the animation is not playing.
    void setPlayedKey(std::optional<std::size_t> key);
    std::optional<std::size_t> playedKey() const { return m_playedKey; }
    // Draws every picture again with the left arm and leg lighter, or not.
    void setSides(bool apart);

    // The selected run: from the anchor to the current key.
    KeyRun selection() const;
    KeySelection &selectionOfKeys() { return m_selection; }
    // The run from `anchor` to the current key is selected.
    void selectFrom(std::size_t anchor);
    // The row's commands: its context menu, whose actions' keys it takes.
    void setCommands(QMenu *menu) { m_commands = menu; }

signals:
    // The selected run may have changed.
    void selectionChanged();

protected:
    bool event(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void follow(const AnimationChange &change);
    void redrawPicture(std::size_t key);
    void paintSelection(QPainter &painter, std::size_t key, const QRect &cell);
    void goTo(std::size_t key, Qt::KeyboardModifiers modifiers);
    QAction *commandFor(const QKeyEvent &event) const;

    AnimationDocument &m_document;
    KeyPictures m_pictures;
    std::optional<std::size_t> m_playedKey;
    KeySelection m_selection;
    QMenu *m_commands = nullptr;
};

} // namespace zelbrook
