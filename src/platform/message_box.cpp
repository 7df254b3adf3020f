// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/message_box.h"

#include "model/program_info.h"

#include <QMessageBox>
#include <QPointer>

namespace zelbrook {

QString MessageBox::title() { return QString::fromUtf8(kApplicationTitle.data(), qsizetype(kApplicationTitle.size())); }

void MessageBox::show(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

MessageBox::Presenter MessageBox::presenterFor(QWidget *parent)
{
    return [parent = QPointer<QWidget>(parent)](const QString &text) { show(parent.data(), text); };
}

} // namespace zelbrook
