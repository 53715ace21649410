// Saving the history to a text file and loading it back.
#include "app/FormTallix.h"
#include "shared/TrimSpaces.h"
#include "shared/Windows1252.h"

#include "HistoryFile.h"

#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/ListBox.h"
#include "platform/MenuEntry.h"
#include "platform/MessageBoxes.h"

#include <QDir>
#include <QIODevice>
#include <QLocale>

#include <new>

namespace app {

namespace {

const QString fileFilter = QStringLiteral("Text Files (*.txt)");
// The save dialog says what the file will hold, so that nobody expects UTF-8.
const QString saveFileFilter = QStringLiteral("Text Files, Windows-1252 with CR LF (*.txt)");

// The file keeps the code page the history files have always had, and a character outside it
// is written as "?": the question that comes before such a loss, naming the first such
// character, or empty text when nothing would be lost.
QString lossQuestion(const QStringList &expressionRows, const QStringList &resultRows)
{
    const qsizetype rows = qMin(expressionRows.size(), resultRows.size());
    for (qsizetype i = 0; i < rows; ++i) {
        for (const QString *row : {&expressionRows[i], &resultRows[i]}) {
            const qsizetype at = shared::firstOutsideWindows1252(*row);
            if (at < 0)
                continue;
            const char32_t code = QStringView(*row).mid(at).toUcs4().value(0);
            const QString character = QString::fromUcs4(&code, 1);
            return QStringLiteral("History files are Windows-1252 text, which cannot hold \"%1\" "
                                  "(U+%2) in row %3 nor any other character outside that code "
                                  "page: each would be saved as \"?\".\r\n\r\nSave anyway?")
                .arg(character, QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper())
                .arg(i + 1);
        }
    }
    return {};
}

QString cannotLoad(const QString &path, const QString &why)
{
    return QStringLiteral("Cannot load \"%1\": %2").arg(QDir::toNativeSeparators(path), why);
}

// Reads the file whole before the lists see any of it: a file refused half-way adds nothing.
// Returns what to tell the user, or empty text.
QString loadHistoryFile(platform::FileSystem &fileSystem, history::HistoryLists &lists,
                        const QString &path)
{
    QString error;
    std::unique_ptr<QIODevice> file = fileSystem.openForReading(path, error);
    if (!file)
        return error;
    const history::HistoryFileLimits limits;
    const QString mostMegabytes = QString::number(limits.maxBytes >> 20);
    if (file->size() > limits.maxBytes)
        return cannotLoad(path,
                          QStringLiteral("the file is larger than %1 MB, the most one load takes.")
                              .arg(mostMegabytes));
    history::HistoryFileReading reading = history::readHistoryFile(*file, limits);
    QString problem;
    switch (reading.stop) {
    case history::HistoryFileReading::Ended:
        break;
    case history::HistoryFileReading::TooLarge:
        return cannotLoad(
            path,
            QStringLiteral(
                "the file grew larger than %1 MB while it was read, more than one load takes.")
                .arg(mostMegabytes));
    case history::HistoryFileReading::TooManyEntries:
        return cannotLoad(
            path, QStringLiteral("the file holds more than %1 entries, the most one load takes.")
                      .arg(QLocale(QLocale::English).toString(qlonglong(limits.maxEntries))));
    case history::HistoryFileReading::LineTooLong:
        return cannotLoad(
            path,
            QStringLiteral("line %1 is longer than %2 MB; no history entry is that long.")
                .arg(QLocale(QLocale::English).toString(qulonglong(reading.entries.size() + 1)))
                .arg(limits.maxLineBytes >> 20));
    case history::HistoryFileReading::ReadFailed:
        // What was read stays, as with a file that ends early; the user learns why it ended.
        problem =
            QStringLiteral(
                "The history file \"%1\" could not be read to its end (%2); the entries before "
                "that point were loaded.")
                .arg(QDir::toNativeSeparators(path), file->errorString());
        break;
    }
    file.reset();
    QStringList expressions, numbers;
    expressions.reserve(qsizetype(reading.entries.size()));
    numbers.reserve(qsizetype(reading.entries.size()));
    for (history::LoadedEntry &entry : reading.entries) {
        expressions << std::move(entry.expression);
        numbers << std::move(entry.numberText);
    }
    reading.entries = {};
    lists.appendLoadedEntries(expressions, numbers);
    return problem;
}

} // namespace

void FormTallix::connectHistoryFile()
{
    c_.mnuSave->onClick = [this] { mnuSave_Click(); };
    c_.mnuLoad->onClick = [this] { mnuLoad_Click(); };
}

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
    request.filter = saveFileFilter;
    request.folder = dialogFolder();
    request.name =
        QStringLiteral("Tallix_") + c_.fileSystem->today().toString(QStringLiteral("yyyyMMdd"));
    request.defaultSuffix = QStringLiteral("txt");
    return shared::trimSpaces(c_.fileDialogs->saveFileName(request));
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
    // Refused before the overwrite question, which is about replacing a file.
    if (const QString refusal = c_.fileSystem->replaceRefusal(path); !refusal.isEmpty()) {
        c_.messages->show(refusal, platform::msgbox::OkOnly);
        return;
    }
    if (c_.fileSystem->fileExists(path) &&
        c_.messages->show(QStringLiteral("This file is exists, overwrite it?      "),
                          int(platform::msgbox::YesNo) + int(platform::msgbox::Information),
                          QStringLiteral("Save as")) == platform::msgbox::No)
        return;
    if (const QString question = lossQuestion(history_.expressionRows(), history_.resultRows());
        !question.isEmpty() &&
        c_.messages->show(question, int(platform::msgbox::YesNo) + int(platform::msgbox::Exclamation),
                          QStringLiteral("Save as")) == platform::msgbox::No)
        return;
    // Written whole to a new file that then takes the old one's place: a failing save never
    // destroys the file it was to replace.
    QString error;
    try {
        const QByteArray contents =
            history::historyFileContents(history_.expressionRows(), history_.resultRows());
        if (c_.fileSystem->replaceFile(path, contents, error))
            return;
    } catch (const std::bad_alloc &) {
        error = QStringLiteral("Out of memory: the history was not saved to \"%1\".")
                    .arg(QDir::toNativeSeparators(path));
    }
    c_.messages->show(error, platform::msgbox::OkOnly);
}

void FormTallix::mnuLoad_Click()
{
    if (history_.instructionRowsShown())
        history_.emptyBoth();
    const QString path = shared::trimSpaces(ChooseOpenFile());
    if (path.isEmpty())
        return;
    // Every refusal says why; what the lists held before stays. An allocation failure ends
    // this command, not the program.
    QString problem;
    const int expressionRowsBefore = history_.expressions().count();
    try {
        problem = loadHistoryFile(*c_.fileSystem, history_, path);
    } catch (const std::bad_alloc &) {
        problem = cannotLoad(path, QStringLiteral("Out of memory."));
        if (history_.expressions().count() != expressionRowsBefore) {
            // It struck while the lists took the entries: keep them in pairs and say so.
            while (history_.expressions().count() > history_.results().count())
                history_.results().addItem(QString());
            while (history_.results().count() > history_.expressions().count())
                history_.expressions().addItem(QString());
            problem = QStringLiteral("Out of memory: \"%1\" was loaded only in part.")
                          .arg(QDir::toNativeSeparators(path));
        }
    }
    if (!problem.isEmpty())
        c_.messages->show(problem, platform::msgbox::OkOnly);
}

} // namespace app
