// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

namespace zelbrook {

// The window's one file dialog control. Its properties keep their values
// between uses: after a confirmed dialog FileName holds the chosen file's full
// path, and the next dialog offers it.
class FileDialogControl
{
public:
    enum class DialogResult { Confirmed, Cancelled };

    // Whether a saved name without an extension takes the chosen filter's.
    enum class Extension { AsTyped, FromFilter };

    // What a dialog is asked to show: the filter in Qt's form ("ZBK (*.zbk)",
    // pairs joined by ";;"), the name for the name box, the folder to start
    // in, and a title of its own (empty: the dialog's usual one).
    struct DialogRequest {
        enum class Mode { Save, Open } mode;
        QString nameFilter;
        QString offeredName;
        QString startFolder;
        QString title = {};
    };
    // The chosen path and the filter chosen with it (in Qt's form; empty
    // when none was).
    struct DialogAnswer {
        DialogAnswer(QString chosenPath = {}, QString chosenFilter = {})
            : path(std::move(chosenPath))
            , nameFilter(std::move(chosenFilter))
        {}
        QString path;
        QString nameFilter;
    };
    // Answers a request with the chosen path, or nothing when cancelled.
    using Presenter = std::function<std::optional<DialogAnswer>(const DialogRequest &)>;

    explicit FileDialogControl(QWidget *parent = nullptr);

    // Pairs of a description and a pattern, all separated by vertical bars:
    // "ZBK (*.zbk) | *.zbk". A pattern may list several, separated by ";".
    const QString &Filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }
    const QString &FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    const QString &InitDir() const { return m_initDir; }
    void setInitDir(const QString &folder) { m_initDir = folder; }
    // When false, a cancelled dialog is reported as Confirmed, FileName
    // unchanged.
    bool CancelError() const { return m_cancelError; }
    void setCancelError(bool on) { m_cancelError = on; }
    const QString &Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    void setExtension(Extension extension) { m_extension = extension; }

    // Shows the dialog modally. The save dialog asks before replacing an
    // existing file; the open dialog accepts existing files only.
    DialogResult ShowSave();
    DialogResult ShowOpen();

    // Replaces the real dialog, for tests.
    void setPresenter(Presenter presenter) { m_presenter = std::move(presenter); }

    DialogRequest request(DialogRequest::Mode mode) const;

    // Filter text in the form above, as a Qt name filter.
    static QString qtNameFilter(const QString &filter);
    // The path with the extension of a Qt name filter's first pattern
    // ("GIF (*.gif)" gives ".gif") when its file name has none.
    static QString withFilterExtension(const QString &path, const QString &nameFilter);
    // The folder holding the program's executable, or the user's home folder
    // when the user may not write there.
    static QString programFolder();
    // Whether the user may write into a folder; the system's answer unless
    // a caller knows better.
    using WriteCheck = bool (*)(const QString &folder);
    static bool userMayWrite(const QString &folder);
    // The folder itself when the user may write there, else the home folder.
    static QString writableOrHome(const QString &folder, WriteCheck mayWrite = userMayWrite);

private:
    DialogResult show(DialogRequest::Mode mode);
    QString startFolder() const;
    std::optional<DialogAnswer> runQtDialog(const DialogRequest &request) const;

    QPointer<QWidget> m_parent;
    Presenter m_presenter;
    QString m_filter;
    QString m_fileName;
    QString m_initDir;
    bool m_cancelError = false;
    QString m_title;
    Extension m_extension = Extension::AsTyped;
};

} // namespace zelbrook
