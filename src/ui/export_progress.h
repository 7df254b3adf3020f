// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_exporter.h"
#include "model/result.h"

#include <QObject>

#include <cstddef>
#include <functional>

class QWidget;

namespace zelbrook {

// Runs an export on a thread of its own while the window waits for it. The
// window takes no input until the export ends, so that nothing else (a
// second export, an open, closing the window) can start meanwhile; an
// export that lasts over half a second shows its progress in a box whose
// Cancel stops it.
class ExportProgress : public QObject
{
    Q_OBJECT

public:
    using Job = std::function<Status(const AnimationExporter::FrameDone &frameDone)>;
    struct Outcome {
        Status status;
        bool cancelled = false;
    };
    static constexpr int kShowAfterMilliseconds = 500;

    explicit ExportProgress(QWidget *window);

    // Runs the job, told after each of its `frames` frames, until it ends.
    Outcome run(std::size_t frames, const Job &job);
    bool isRunning() const { return m_running; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWindow(QObject *object) const;

    QWidget *m_window;
    QWidget *m_box = nullptr;
    bool m_running = false;
};

} // namespace zelbrook
