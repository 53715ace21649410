// Saving the history to a text file and loading it back.
#include "app/FormTallix.h"
#include "app/TrimSpaces.h"

#include "HistoryFile.h"

#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

#include <QIODevice>

namespace app {

namespace {

const QString fileFilter = QStringLiteral("Text Files (*.txt)");


} // namespace

// The program's own folder where the user may write there; an installed program lives in a
// system folder, so then the documents folder.
QString FormTallix::dialogFolder() const
{
    const QString program = c_.fileSystem->programFolder();
    return c_.fileSystem->isWritableFolder(program) ? program : c_.fileSystem->documentsFolder();
}

QString FormTallix::ChooseSaveFile()
{
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("Save to text file");
    request.filter = fileFilter;
    request.folder = dialogFolder();
    request.name = QStringLiteral("Tallix_") + c_.fileSystem->today().toString(QStringLiteral("yyyyMMdd"));
    request.defaultSuffix = QStringLiteral("txt");
    return trimSpaces(c_.fileDialogs->saveFileName(request));
}

QString FormTallix::ChooseOpenFile()
{
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("Open Calculate History File");
    request.filter = fileFilter;
    request.folder = dialogFolder();
    return c_.fileDialogs->openFileName(request);
}

void FormTallix::mnuSave_Click()
{
    const QString path = ChooseSaveFile();
    if (path.isEmpty())
        return;
    if (c_.fileSystem->fileExists(path) &&
        c_.messages->show(QStringLiteral("This file is exists, overwrite it?      "),
                          int(platform::msgbox::YesNo) + int(platform::msgbox::Information),
                          QStringLiteral("Save as")) == platform::msgbox::No)
        return;
    // Written whole to a new file that then takes the old one's place: a failing save never
    // destroys the file it was to replace.
    QString error;
    const QByteArray contents = history::historyFileContents(history_.expressionRows(), history_.resultRows());
    if (!c_.fileSystem->replaceFile(path, contents, error))
        c_.messages->show(error, platform::msgbox::OkOnly);
}

void FormTallix::mnuLoad_Click()
{
    if (history_.instructionRowsShown())
        history_.emptyBoth();
    const QString path = trimSpaces(ChooseOpenFile());
    if (path.isEmpty())
        return;
    std::unique_ptr<QIODevice> file = c_.fileSystem->openForReading(path);
    if (!file)
        return; // a load fails silently
    const std::vector<history::LoadedEntry> entries = history::readHistoryFile(*file);
    QStringList expressions, numbers;
    expressions.reserve(qsizetype(entries.size()));
    numbers.reserve(qsizetype(entries.size()));
    for (const history::LoadedEntry &entry : entries) {
        expressions << entry.expression;
        numbers << entry.numberText;
    }
    history_.appendLoadedEntries(expressions, numbers);
}

} // namespace app
