// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pose_shelf.h"

#include "export/exporter.h"
#include "model/animation_document.h"
#include "model/pinned_posing.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QListView;
class QPushButton;

namespace zelbrook {

class ShelfListModel;

// The shelf's own window: the poses as small pictures with names, then the
// moves. A click or Enter on a pose puts it on the current figure of the
// current key as one step; Insert move (or Enter on a move) puts the move's
// keys after the current key. Both land facing the way the figure faces, or
// the other way with Shift held. A pose or move whose file cannot be read does
// nothing but say why under the lists, until another one is chosen. Add to
// shelf keeps the current figure's pose under a name the user types; Remove
// takes one of the user's own off.
class PoseShelfPanel : public QWidget
{
    Q_OBJECT

public:
    // The questions the panel asks, answered by dialogs unless replaced.
    struct Questions {
        std::function<std::optional<QString>(QWidget *parent)> askName;
        std::function<bool(QWidget *parent, const QString &name)> confirmReplace;
    };
    using Presenter = std::function<void(const QString &text)>;

    PoseShelfPanel(AnimationDocument &document, const PoseShelf::Folders &folders, Presenter presenter,
                   QWidget *parent);
    ~PoseShelfPanel() override;

    void setQuestions(Questions questions) { m_questions = std::move(questions); }
    // Told after a move's keys came in.
    void setMoveInserted(std::function<void()> inserted) { m_moveInserted = std::move(inserted); }

    const PoseShelf &shelf() const { return m_shelf; }
    QListView *poseList() const { return m_poseList; }
    QListView *moveList() const { return m_moveList; }
    const ShelfListModel &poseModel() const { return *m_poseModel; }
    // Why the pose or move last chosen cannot be used; empty when it can.
    QLabel *problemLabel() const { return m_problem; }
    // Reads the shelf's folders again.
    void reload();

    void applyPose(int row, Landing landing = Landing::AsFacing);
    void insertMove(int row, Landing landing = Landing::AsFacing);
    void addToShelf();
    void removePose(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListView *pictureList(ShelfListModel *model, const QString &name);
    void report(const QString &text) const;
    // Says why an item cannot be used; false when it can.
    bool refuseUnreadable(const ShelfItem &item);
    void showShelf();
    void updateButtons();
    void selectPose(int row);

    AnimationDocument &m_document;
    PoseShelf m_shelf;
    Presenter m_presenter;
    Questions m_questions;
    std::function<void()> m_moveInserted;
    // The one canvas both lists draw their pictures on.
    Exporter m_painter;
    ShelfListModel *m_poseModel;
    ShelfListModel *m_moveModel;
    QListView *m_poseList;
    QListView *m_moveList;
    QPushButton *m_add;
    QPushButton *m_remove;
    QPushButton *m_insert;
    QLabel *m_problem;
};

} // namespace zelbrook
