// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeline_layout.h"

#include <QObject>

#include <cstddef>

namespace zelbrook {

class KeysModel;

// Keeps a timeline's layout in step with a model of the keys and tells what
// of the timeline changed: keys that come, go, move or change their timing
// are laid out again, and a key whose picture or standing changed is only
// to be painted again.
class TimelineKeys : public QObject
{
    Q_OBJECT

public:
    TimelineKeys(const KeysModel &model, TimelineLayout &layout, QObject *parent = nullptr);

    // Lays every key out as the model has it, as after a drag given up.
    void takeAll();

signals:
    void laidOut();
    void keysChanged(std::size_t first, std::size_t last);

private:
    void follow(const QModelIndex &top, const QModelIndex &bottom, const QList<int> &roles);

    const KeysModel &m_model;
    TimelineLayout &m_layout;
};

} // namespace zelbrook
