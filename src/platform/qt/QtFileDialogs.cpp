#include "QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace platform::qt {
namespace {

QString run(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

QString QtFileDialogs::saveFileName(const Request &request)
{
    QFileDialog dialog(owner_, request.title, request.folder, request.filter);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // the save command asks itself
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.name);
    return run(dialog);
}

QString QtFileDialogs::openFileName(const Request &request)
{
    QFileDialog dialog(owner_, request.title, request.folder, request.filter);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile); // the file and its folder must exist
    return run(dialog);
}

} // namespace platform::qt
